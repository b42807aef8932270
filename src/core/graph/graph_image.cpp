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

void ReadPlotSpecsFrom(PlotSetup& plot, const StudySettingsTexts& t, bool grid)
{
    plot.WindowLX = toSingle(LeadingNumber(t.windowlx));
    plot.WindowGX = toSingle(LeadingNumber(t.windowgx));
    plot.WindowLY = toSingle(LeadingNumber(t.windowly));
    plot.WindowGY = toSingle(LeadingNumber(t.windowgy));
    plot.XOrigin = toSingle(LeadingNumber(t.xorigin));
    plot.YOrigin = toSingle(LeadingNumber(t.yorigin));
    plot.PlotStep = LeadingInt32(t.plotStep);
    plot.DivX = toSingle(LeadingNumber(t.divx));
    plot.DivY = toSingle(LeadingNumber(t.divy));
    plot.GridOn = grid;
}

namespace {

// Reads the settings into d and checks them; the window's message when the
// graph cannot be drawn.
QString readForDrawing(Dimension& d, const StudySettingsTexts& settings, const StudySpecTexts& studyTexts,
                       bool grid)
{
    try {
        ReadPlotSpecsFrom(d.plot, settings, grid);
    } catch (const Error&) {
        return kPlotNumberMessage;
    }
    const QString problem = plotSettingsProblem(d.plot, kGraphAreaWidth, kGraphAreaHeight);
    if (!problem.isEmpty())
        return problem;
    d.errors.ScriptMath.ierr = 0;
    try {
        d.study = ReadStudySpecsFrom(studyTexts, d.study);
    } catch (const Error&) {
        return kStudyNumberMessage;
    }
    return {};
}

} // namespace

GraphPicture DrawGraphPicture(Dimension& d, GraphWork& work, const StudySettingsTexts& settings,
                              const StudySpecTexts& studyTexts, const GraphOptions& options, bool grid)
{
    GraphPicture out;
    d.window.GraphShown = false;
    out.problem = readForDrawing(d, settings, studyTexts, grid);
    if (!out.problem.isEmpty())
        return out;
    QImage image(kGraphAreaWidth - 2 * kGraphAreaBorder, kGraphAreaHeight - 2 * kGraphAreaBorder,
                 QImage::Format_RGB32);
    // The colour of a window's content, as the graph area is filled.
    image.fill(QGuiApplication::palette().color(QPalette::Base));
    {
        ImageCanvas canvas(image, kGraphAreaBorder);
        GraphDrawing drawing(d.series, d.study, d.plot, d.errors, work, canvas);
        if (!drawing.draw(options))
            return out;
        canvas.flush();
    }
    d.window.GraphShown = true;
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
    GraphDrawing drawing(d.series, d.study, d.plot, d.errors, work, canvas);
    const bool drawn = drawing.draw(options);
    canvas.flush();
    return drawn;
}

} // namespace vendrak
