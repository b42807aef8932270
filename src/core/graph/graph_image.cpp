#include "core/graph/graph_image.h"

#include "core/graph/image_canvas.h"

#include <QGuiApplication>
#include <QPalette>

namespace vendrak {

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
