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

PlotSetup ReadPlotSpecsFrom(const StudySettingsTexts& t, bool grid)
{
    PlotSetup plot;
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
    return plot;
}

GraphSpecs ReadGraphSpecs(const StudySettingsTexts& settings, const StudySpecTexts& studyTexts,
                          const StudySpecs& before, bool grid)
{
    GraphSpecs read;
    try {
        read.plot = ReadPlotSpecsFrom(settings, grid);
    } catch (const Error&) {
        read.problem = kPlotNumberMessage;
        return read;
    }
    read.problem = plotSettingsProblem(*read.plot, kGraphAreaWidth, kGraphAreaHeight);
    if (!read.problem.isEmpty())
        return read;
    try {
        read.study = ReadStudySpecsFrom(studyTexts, before);
    } catch (const Error&) {
        read.problem = kStudyNumberMessage;
    }
    return read;
}

GraphPicture DrawGraphPicture(const Series& series, const StudySpecs& study, const PlotSetup& plot,
                              const GraphOptions& options)
{
    GraphPicture out;
    out.problem = plotSettingsProblem(plot, kGraphAreaWidth, kGraphAreaHeight);
    if (!out.problem.isEmpty())
        return out;
    QImage image(kGraphAreaWidth - 2 * kGraphAreaBorder, kGraphAreaHeight - 2 * kGraphAreaBorder,
                 QImage::Format_RGB32);
    // The colour of a window's content, as the graph area is filled.
    image.fill(QGuiApplication::palette().color(QPalette::Base));
    {
        ImageCanvas canvas(image, kGraphAreaBorder);
        GraphDrawing drawing(series, study, plot, canvas);
        const bool drawn = drawing.draw(options);
        out.ierr = drawing.ierr();
        out.work = drawing.work();
        if (!drawn)
            return out;
        canvas.flush();
    }
    out.image = image;
    return out;
}

bool DrawGraphOn(PainterCanvas& canvas, const Series& series, const StudySpecs& study, const PlotSetup& plot,
                 const GraphOptions& options)
{
    canvas.fillBackground(QGuiApplication::palette().color(QPalette::Base));
    GraphDrawing drawing(series, study, plot, canvas);
    const bool drawn = drawing.draw(options);
    canvas.flush();
    return drawn;
}

} // namespace vendrak
