#include "app/batch_pictures.h"

#include "app/figure_export.h"
#include "app/graph_export.h"
#include "core/figure/figure_input.h"
#include "core/graph/graph_image.h"

#include <QFileInfo>

namespace vendrak {

BatchPictures::Graph DrawnPictures::drawGraph(const Dimension& d, const GraphOptions& options)
{
    GraphPicture picture = DrawGraphPicture(d.series, d.study, d.plot, options);
    graph_ = picture.image;
    return {picture.problem, picture.ierr, picture.work};
}

QString DrawnPictures::exportGraph(const Dimension& d, const StudySpecs& study, const GraphOptions& options,
                                   const QString& path)
{
    const std::optional<ExportFormat> format = ExportFormatOf(path);
    if (!format)
        return QStringLiteral("%1 does not end in .png, .svg or .pdf").arg(path);
    const QString why = WriteGraphExport(path, *format, 1, QFileInfo(d.window.FileName).fileName(),
                                         [&](PainterCanvas& canvas) {
                                             return DrawGraphOn(canvas, d.series, study, d.plot, options);
                                         });
    return why.isEmpty() ? why : QStringLiteral("the graph could not be written to %1: %2").arg(path, why);
}

QStringList DrawnPictures::save(const Dimension& d, const StudySettingsTexts& settings)
{
    return SaveStudyFiles(d, graph_, settings).warnings;
}

QString DrawnPictures::writeFigure(const BatchOptions& options, const Dimension& d, const GraphOptions& graphOptions,
                                   const VerifyReport* proven)
{
    // Scans of this run are in the results; else those the file saved.
    const FigureInput input = FigureInputOf(d.series, d.plot, d.study, d.results, d.window.FileName,
                                            options.figureCurves, options.figureFitY, graphOptions.shade, proven);
    return WriteFigureFile(options.figure, *ExportFormatOf(options.figure), options.figureSize, input);
}

} // namespace vendrak
