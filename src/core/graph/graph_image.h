#pragma once
// The graph area's picture without the window: the Plot command's reading of
// the plot settings, and the whole graph drawn into an image of the graph
// area's size, for the batch front end's bitmap and graph export.
#include "core/analysis/study_commands.h"
#include "core/graph/graph_drawing.h"
#include "core/graph/graph_work.h"
#include "core/graph/image_canvas.h"
#include "core/series/series_file.h"
#include "core/study/dimension.h"

#include <QImage>
#include <QString>
#include <optional>

namespace vendrak {

// The graph area on screen: outer size and the sunken border inside it.
constexpr int kGraphAreaWidth = 400;
constexpr int kGraphAreaHeight = 300;
constexpr int kGraphAreaBorder = 2;

// Why Plot refuses when a setting's number cannot be used at all.
extern const QString kPlotNumberMessage;
extern const QString kStudyNumberMessage;

// The plot specification the plot boxes read as: their leading numbers in
// single precision, the plot step rounded to a whole number, and the grid
// option. Throws the run-time error of a number beyond its range.
PlotSetup ReadPlotSpecsFrom(const StudySettingsTexts& t, bool grid);

// What Plot reads from the settings before it draws: the plot specification,
// then (when the graph area can draw it) the study specification, each as far
// as it came; the window's message when the graph cannot be drawn.
struct GraphSpecs {
    std::optional<PlotSetup> plot;
    std::optional<StudySpecs> study;
    QString problem;
};
GraphSpecs ReadGraphSpecs(const StudySettingsTexts& settings, const StudySpecTexts& studyTexts,
                          const StudySpecs& before, bool grid);

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
