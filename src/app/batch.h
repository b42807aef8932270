#pragma once
// The command line: which way the program starts, and the batch front end
// that studies a series file without a window.
#include "core/analysis/study_commands.h"
#include "core/graph/graph_drawing.h"
#include "core/series/series_file.h"
#include "core/study/dimension.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

namespace vendrak {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;
constexpr int kExitUnreadable = 3;
constexpr int kExitCommandFailed = 4;

struct BatchStep {
    enum class Kind { Roots, Extrema, Integral, Value } kind = Kind::Roots;
    QString order, point; // Value only, as typed
    int orderValue = 0;   // and as read, once
    double pointValue = 0;
};

struct BatchOptions {
    QString file;
    std::vector<BatchStep> steps; // in the order given; all three analyses when none
    QString exportGraph;
    bool json = false;
    bool save = false;
    bool verify = false; // prove roots, extrema and integral after the steps
    // The figure: written to `figure` when named, by its extension.
    QString figure;
    QSize figureSize;             // pixels for PNG, points for SVG and PDF
    std::vector<int> figureCurves{0};
    bool figureFitY = false;
};

struct CommandLine {
    enum class Mode { Window, Help, Version, HelpPath, Batch, UsageError } mode = Mode::Window;
    QString file;    // the series file to open in the window
    BatchOptions batch;
    QString error;   // the usage error
};

// True when the arguments ask for no window at all (help, version, batch),
// so that no display is needed: decided before any application object.
bool RunsWithoutWindow(const QStringList& arguments);

// The arguments, program name first.
CommandLine ParseCommandLine(const QStringList& arguments);

QString CommandLineHelp();

// Whether the run makes a picture (Save's bitmap, a graph export, a
// figure), which needs the graphical side of Qt and its fonts.
bool TakesPictures(const BatchOptions& options);

// Opens the file as Open does, runs the steps as the window's commands do,
// saves when asked and prints the results. Needs a QGuiApplication when it
// takes pictures (they are drawn off screen), a QCoreApplication otherwise.
// Returns the exit status.
int RunBatch(const BatchOptions& options);

// Writes the graph of the study's series and plot specification, with the
// study specification given, to `path`, as PNG, SVG or PDF by its extension.
// Returns why it failed, empty on success.
QString exportGraph(const Dimension& d, const StudySpecs& study, const GraphOptions& options, const QString& path);

} // namespace vendrak
