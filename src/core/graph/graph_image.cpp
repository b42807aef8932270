#include "core/graph/graph_image.h"

#include "core/graph/image_canvas.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <QGuiApplication>
#include <QPalette>

namespace vendrak {

const QString kPlotNumberMessage =
    QStringLiteral("Cannot plot: a plot setting holds a number too large for the graph.");
const QString kStudyNumberMessage =
    QStringLiteral("Cannot plot: a study specification holds a number that cannot be used.");

void ReadPlotSpecsFrom(Dimension& d, const StudySettingsTexts& t, bool grid)
{
    d.WindowLX = toSingle(LeadingNumber(t.windowlx));
    d.WindowGX = toSingle(LeadingNumber(t.windowgx));
    d.WindowLY = toSingle(LeadingNumber(t.windowly));
    d.WindowGY = toSingle(LeadingNumber(t.windowgy));
    d.XOrigin = toSingle(LeadingNumber(t.xorigin));
    d.YOrigin = toSingle(LeadingNumber(t.yorigin));
    d.PlotStep = LeadingInt32(t.plotStep);
    d.DivX = toSingle(LeadingNumber(t.divx));
    d.DivY = toSingle(LeadingNumber(t.divy));
    d.GridOn = grid;
}

namespace {

// Reads the settings into d and checks them; the window's message when the
// graph cannot be drawn.
QString readForDrawing(Dimension& d, const StudySettingsTexts& settings, const StudySpecTexts& studyTexts,
                       bool grid)
{
    try {
        ReadPlotSpecsFrom(d, settings, grid);
    } catch (const RunTimeError&) {
        return kPlotNumberMessage;
    }
    const QString problem = plotSettingsProblem(d, kGraphAreaWidth, kGraphAreaHeight);
    if (!problem.isEmpty())
        return problem;
    d.ScriptMath.ierr = 0;
    try {
        ReadStudySpecsFrom(d, studyTexts);
    } catch (const RunTimeError&) {
        return kStudyNumberMessage;
    }
    return {};
}

} // namespace

GraphPicture DrawGraphPicture(Dimension& d, GraphWork& work, const StudySettingsTexts& settings,
                              const StudySpecTexts& studyTexts, const GraphOptions& options, bool grid)
{
    GraphPicture out;
    d.GraphShown = false;
    out.problem = readForDrawing(d, settings, studyTexts, grid);
    if (!out.problem.isEmpty())
        return out;
    QImage image(kGraphAreaWidth - 2 * kGraphAreaBorder, kGraphAreaHeight - 2 * kGraphAreaBorder,
                 QImage::Format_RGB32);
    // The colour of a window's content, as the graph area is filled.
    image.fill(QGuiApplication::palette().color(QPalette::Base));
    {
        ImageCanvas canvas(image, kGraphAreaBorder);
        GraphDrawing drawing(d, work, canvas);
        if (!drawing.draw(options))
            return out;
        canvas.flush();
    }
    d.GraphShown = true;
    d.DerivOrder = work.PlottedOrder;
    out.image = image;
    return out;
}

bool DrawGraphOn(PainterCanvas& canvas, Dimension d, const StudySettingsTexts& settings,
                 const StudySpecTexts& studyTexts, const GraphOptions& options, bool grid)
{
    if (!readForDrawing(d, settings, studyTexts, grid).isEmpty())
        return false;
    GraphWork work;
    canvas.fillBackground(QGuiApplication::palette().color(QPalette::Base));
    GraphDrawing drawing(d, work, canvas);
    const bool drawn = drawing.draw(options);
    canvas.flush();
    return drawn;
}

} // namespace vendrak
