#pragma once
// The command line of both programs: which way the program starts, and what
// a batch run is asked to do. Qt Core only, so the program that runs studies
// without pictures reads it without the graphical side.
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

} // namespace vendrak
