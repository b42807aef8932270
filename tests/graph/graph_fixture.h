#pragma once
// A study state with the window's initial plot settings and a small power
// series, for drawing tests that need no window.
#include "graph/graph_drawing.h"
#include "graph/recording_canvas.h"
#include "shell/dimension.h"

#include <initializer_list>

namespace vendrak::test {

// The plot and study settings of a freshly started window.
inline void setInitialPlot(Dimension& dim)
{
    dim.WindowLX = -20;
    dim.WindowGX = 20;
    dim.WindowLY = -15;
    dim.WindowGY = 15;
    dim.XOrigin = 0;
    dim.YOrigin = 0;
    dim.DivX = 1;
    dim.DivY = 1;
    dim.PlotStep = 1;
    dim.GridOn = true;
    dim.ShadeOn = true;
    dim.XLower = -8;
    dim.XUpper = 8;
    dim.DerivOrder = 0;
}

// A power series about 0 with the given coefficients (constant first).
inline void setPowerSeries(Dimension& dim, std::initializer_list<double> coeffs)
{
    dim.SeriesType = 1;
    dim.Centre = 0;
    dim.Coeffs.assign(coeffs.begin(), coeffs.end());
    dim.TermCount = static_cast<int>(dim.Coeffs.size()) - 1;
}

// Options with nothing optional drawn, for tests that look at one part only.
inline GraphOptions bareOptions()
{
    GraphOptions o;
    o.shade = false;
    o.labelWindow = false;
    o.labelDivisions = false;
    return o;
}

struct GraphFixture {
    GraphFixture()
    {
        dim.initialise();
        setInitialPlot(dim);
        setPowerSeries(dim, {0, 1}); // f(x) = x
    }

    GraphDrawing drawing() { return GraphDrawing(dim, work, canvas); }

    Dimension dim;
    GraphWork work;
    RecordingCanvas canvas;
};

} // namespace vendrak::test
