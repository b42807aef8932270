#pragma once
// The graph area's picture without the window: the whole graph drawn into an
// image of the graph area's size, for the batch front end's bitmap and graph
// export.
#include "core/graph/graph_drawing.h"
#include "core/graph/graph_specs.h"
#include "core/graph/graph_work.h"
#include "core/graph/image_canvas.h"
#include "core/series/series_file.h"
#include "core/study/dimension.h"

#include <QImage>
#include <QString>
#include <optional>

namespace vendrak {

struct GraphPicture {
    QImage image;    // the interior of the graph area; null when refused
    QString problem; // the window's message when the graph cannot be drawn
    int ierr = 0;    // the error number the drawing met last; 0 for none
    GraphWork work;  // what the drawing worked out
};

// The graph of the plot and study specifications drawn into a fresh picture
// of the graph area.
GraphPicture DrawGraphPicture(const Series& series, const StudySpecs& study, const PlotSetup& plot,
                              const GraphOptions& options);

// The same drawing onto any canvas (an export at another size or as
// vectors); false when the settings cannot be drawn on it.
bool DrawGraphOn(PainterCanvas& canvas, const Series& series, const StudySpecs& study, const PlotSetup& plot,
                 const GraphOptions& options);

} // namespace vendrak
