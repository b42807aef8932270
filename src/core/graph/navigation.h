#pragma once
// The arithmetic of zoom, pan, window size and click-to-centre: new plot
// window limits from the old ones. The window code writes them into the four
// window fields and presses Plot, which reads them back as they were.
#include "core/study/dimension.h"

#include <QString>
#include <optional>
#include <tuple>

namespace vendrak {

// The steps of the fourteen navigation buttons.
enum class ViewAction {
    ZoomOut,
    Quadrant1, // upper right
    Quadrant2, // upper left
    Quadrant3, // lower left
    Quadrant4, // lower right
    ZoomIn,
    PanRight,
    PanUp,
    PanLeft,
    PanDown,
    WiderX,
    NarrowerX,
    WiderY,
    NarrowerY,
};

// A plot window, as its four fields read (single precision).
struct ViewLimits {
    float lx = 0;
    float gx = 0;
    float ly = 0;
    float gy = 0;
};

// Shown when a navigation step would take the window out of the range the
// graph can hold.
extern const QString kViewRangeMessage;

// The window the four window texts read as. Raises error 6 when a value
// leaves the single precision range.
ViewLimits ReadView(const QString& lx, const QString& gx, const QString& ly, const QString& gy);

// The four limits in the order of their fields.
inline std::tuple<float, float, float, float> asTuple(const ViewLimits& v) { return {v.lx, v.gx, v.ly, v.gy}; }

// The window the four fields read as once `view` is written into them (seven
// digits each). Raises error 6 when a value leaves the single precision range.
ViewLimits ShownView(const ViewLimits& view);

// The window one navigation step makes of `view`. Raises error 6 when a
// value leaves the single precision range.
ViewLimits ChangeViewLimits(const ViewLimits& view, ViewAction action);

// The window of the stored size centred on (x, y). Raises error 6 when a
// limit leaves the single precision range.
ViewLimits CentreOnClickLimits(const PlotSetup& plot, float x, float y);

// The stored window scaled by `factor` about (x, y), so that the point keeps
// its place in the graph area (the wheel: 0.5 zooms in as Zoom In does, 2 out
// as Zoom Out does). Raises error 6 when a limit leaves the single precision
// range.
ViewLimits ZoomAboutLimits(const PlotSetup& plot, float x, float y, double factor);

// The y-window that holds the function or derivative of `order` over the
// x-window [lx, gx], sampled as a plot of `plotStep` on a graph area of
// `width` pixels samples it: the range of the values, widened by 5 % a side
// and rounded outward to two significant digits of its height. Nothing when
// no sample has a value.
struct YRange {
    double low = 0;
    double high = 0;
};
std::optional<YRange> FitYLimits(const Series& series, int order, float lx, float gx, int plotStep, int width);

// The coordinate tool tip of the graph area at (x, y).
QString CoordinateTip(float x, float y);

} // namespace vendrak
