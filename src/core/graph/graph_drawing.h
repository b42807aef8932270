#pragma once
// Drawing one graph of the loaded series on a canvas: mapping, frame,
// shading, ticks or grid, interval markers, axes, origin mark, labels and the
// curve, from the plot set-up of the study.
#include "core/graph/canvas.h"
#include "core/graph/graph_work.h"
#include "core/series/block_eval.h"
#include "core/study/dimension.h"

#include <QString>
#include <functional>

namespace vendrak {

// The options read from the window at the moment of drawing.
struct GraphOptions {
    bool shade = true;            // chkShade
    bool labelWindow = true;      // chkWindow
    bool labelDivisions = true;   // chkDivisions
    QString divxText = QStringLiteral("1"); // txtDivx, for the x label pattern
    QString divyText = QStringLiteral("1"); // txtDivy, for the y label pattern
};

// Messages of the plot settings that cannot be drawn.
extern const QString kEmptyWindowMessage;
extern const QString kHugeWindowMessage;
extern const QString kTinyWindowMessage;
extern const QString kPlotStepMessage;
extern const QString kBadSettingMessage;

// Why the stored plot settings cannot be drawn on a canvas of this size, or
// an empty text when they can.
QString plotSettingsProblem(const PlotSetup& plot, int width, int height);

// The number pattern of the division labels for a division text: "######"
// or "######." followed by one "0" per character after the first point.
QString LabelPattern(const QString& divisionText);
// A value written with such a pattern: "#" shows a digit only when it counts
// (nothing for a zero whole part), "0" always; rounded to the pattern's
// decimals, halves away from zero. 0.25 with "######.00" gives ".25".
QString FormatLabel(double value, const QString& pattern);

// A single precision value; values beyond its range become infinities
// instead of undefined conversions.
float single(double v);

class GraphDrawing {
public:
    // The study part is a copy: shading moves its lower limit into the
    // window, and the interval markers drawn after it see that.
    GraphDrawing(const Series& series, const StudySpecs& study, const PlotSetup& plot, Canvas& canvas)
        : series_(series)
        , study_(study)
        , plot_(plot)
        , canvas_(canvas)
    {
    }

    // What the drawing worked out (see GraphWork).
    const GraphWork& work() const { return work_; }
    // The error number the steps left: each starts again from 0 and keeps
    // the number of its failed evaluation; 0 for none.
    int ierr() const { return ierr_; }

    // What is plotted: the selected function of the series unless a test
    // puts something else here.
    using Evaluator = std::function<double(double)>;
    void setEvaluator(Evaluator evaluator) { evaluator_ = std::move(evaluator); }
    // The math object's error number, handed over and cleared there, which
    // the curve's error trap prefers to the raised one; none when not set.
    using ScriptErrorTaker = std::function<int()>;
    void setScriptErrors(ScriptErrorTaker take) { takeScriptError_ = std::move(take); }

    // Everything after the study specifications have been read. `handOver`
    // runs once between the static parts and the curve (the window lets
    // pending events through there); when it returns false the curve is not
    // drawn. False when the settings cannot be drawn (nothing is drawn then).
    bool draw(const GraphOptions& options, const std::function<bool()>& handOver = {});

    // The steps, in the order draw() runs them.
    void SetUpMapping();
    void DrawFrame();
    void ShadeArea(bool shadeChecked);
    void DrawTicks();
    void DrawIntervalMarkers();
    void DrawAxes();
    void MarkOrigin();
    void LabelWindow();
    void LabelDivisions(const QString& divxText, const QString& divyText);
    void PlotCurve();
    // The curve from the pen on to (x, y).
    void CurveSegmentTo(double x, double y);

private:
    // The selected function at x, or the raised error number.
    struct Sample {
        double y = 0;
        int error = 0;
    };
    Sample evaluate(double x);
    double clampToWindow(double y) const;

    const Series& series_;
    StudySpecs study_;
    const PlotSetup& plot_;
    Canvas& canvas_;
    GraphWork work_;
    int ierr_ = 0;
    Evaluator evaluator_;
    ScriptErrorTaker takeScriptError_;
    KnownValues samples_; // ahead of the loop that walks them
};

} // namespace vendrak
