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

namespace vendrak {

// The graph area on screen: outer size and the sunken border inside it.
constexpr int kGraphAreaWidth = 400;
constexpr int kGraphAreaHeight = 300;
constexpr int kGraphAreaBorder = 2;

// Why Plot refuses when a setting's number cannot be used at all.
extern const QString kPlotNumberMessage;
extern const QString kStudyNumberMessage;

// Leading numbers of the plot boxes into the plot set-up, in single
// precision; raises the run-time error of a number beyond its range.
void ReadPlotSpecsFrom(PlotSetup& plot, const StudySettingsTexts& t, bool grid);

struct GraphPicture {
    QImage image;    // the interior of the graph area; null when refused
    QString problem; // the window's message when the graph cannot be drawn
};

// Plot as the window runs it, into a fresh picture: reads the plot settings
// and the study specifications, checks them and draws. GraphShown tells
// afterwards whether a graph stands.
GraphPicture DrawGraphPicture(Dimension& d, GraphWork& work, const StudySettingsTexts& settings,
                              const StudySpecTexts& studyTexts, const GraphOptions& options, bool grid);

// The same drawing onto any canvas (an export at another size or as
// vectors). The study state is a copy: nothing of the caller's changes.
bool DrawGraphOn(PainterCanvas& canvas, Dimension d, const StudySettingsTexts& settings,
                 const StudySpecTexts& studyTexts, const GraphOptions& options, bool grid);

} // namespace vendrak
