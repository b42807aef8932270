#pragma once
// The Plot command's reading of the plot settings without the window: text
// only, so a run that draws nothing needs no graphical side.
#include "core/analysis/study_commands.h"
#include "core/graph/graph_drawing.h"
#include "core/series/series_file.h"
#include "core/study/dimension.h"

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

} // namespace vendrak
