#pragma once
// The batch front end: studies a series file without a window.
#include "app/command_line.h"
#include "core/graph/graph_drawing.h"
#include "core/graph/graph_work.h"
#include "core/series/study_texts.h"
#include "core/study/dimension.h"
#include "core/verify/verify.h"

#include <QString>
#include <QStringList>

namespace vendrak {

// The steps of a batch run that take pictures, drawn with the graphical side
// of Qt: only the program with the window has them, so that the one for runs
// without pictures starts without that side.
class BatchPictures {
public:
    virtual ~BatchPictures() = default;

    struct Graph {
        QString problem; // the window's message when the graph cannot be drawn
        int ierr = 0;    // the error number the drawing met last
        GraphWork work;  // what the drawing worked out
    };
    // Draws the graph area's picture of the study as opened and keeps it
    // for the export and Save.
    virtual Graph drawGraph(const Dimension& d, const GraphOptions& options) = 0;
    // Whether drawGraph made a picture.
    virtual bool hasGraph() const = 0;
    // The graph written to `path` by its extension; why not, empty when written.
    virtual QString exportGraph(const Dimension& d, const StudySpecs& study, const GraphOptions& options,
                                const QString& path) = 0;
    // The study saved with the picture as its bitmap; the warnings.
    virtual QStringList save(const Dimension& d, const StudySettingsTexts& settings) = 0;
    // The figure the options ask for, with the proven roots and extrema when
    // there are any; why not, empty when written.
    virtual QString writeFigure(const BatchOptions& options, const Dimension& d, const GraphOptions& graphOptions,
                                const VerifyReport* proven) = 0;
};

// Opens the file as Open does, runs the steps as the window's commands do,
// saves when asked and prints the results. A run that takes pictures needs
// `pictures` and a QGuiApplication (they are drawn off screen); any other a
// QCoreApplication. Returns the exit status.
int RunBatch(const BatchOptions& options, BatchPictures* pictures = nullptr);

} // namespace vendrak
