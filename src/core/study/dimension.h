#pragma once
// The study record: everything that outlives one event handler, in the parts
// the computations read. One instance lives from start-up to exit; functions
// take the parts they need, read-only unless they produce into them.
#include "core/study/class1.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cmath>
#include <vector>

namespace vendrak {

constexpr int kResultCapacity = 255;   // the most roots, maxima or minima kept
constexpr int kFactorialTop = 170;     // 170! is the largest finite double factorial

// 0!, 1!, ... 170!, each the product of the one before and its index.
const std::array<double, kFactorialTop + 1>& Factorials();
// 4 atan(1): pi to the last bit of a double.
double PiValue();
// 8 atan(1): 2 pi, the period "*" stands for and the angle of a whole turn.
inline double TwoPi() { return 8 * std::atan(1.0); }

// The stored numbers of the series kinds in a series file.
enum class SeriesKind { Trigonometric = 0, Power = 1 };

// The loaded series, as its file gives it.
struct Series {
    SeriesKind Kind = SeriesKind::Trigonometric;
    int TermCount = 0;         // highest coefficient index
    double Centre = 0.0;
    double Period = 0.0;
    QString PeriodText;
    double XLvalid = 0.0;
    double XUvalid = 0.0;
    std::vector<double> Coeffs;
    int MultiVarFlag = 0;
    QByteArray SourceText;     // the file's bytes, carried unchanged
};

// What the study fields hold, as last read.
struct StudySpecs {
    double XLower = 0.0, XUpper = 0.0;
    int Subintervals = 0;
    double ErrorBound = 0.0;
    int MaxCycles = 0;
    int DerivOrder = 0;
    double ErrorBoundOnEntry = 0.0;
};

// What Roots, Extrema and Integral found: at most kResultCapacity of each
// kind, in the order found.
struct Results {
    std::vector<double> Roots;
    std::vector<double> Maxima;
    std::vector<double> Minima;
    int PossibleRootCount = 0;
    double IntegralValue = 0.0;
    bool IntegralDone = false;
};

// The plot set-up (single precision, as typed values are drawn).
struct PlotSetup {
    float WindowLX = 0.0f, WindowGX = 0.0f;
    float WindowLY = 0.0f, WindowGY = 0.0f;
    float XOrigin = 0.0f, YOrigin = 0.0f;
    float DivX = 0.0f, DivY = 0.0f;
    int PlotStep = 0;
    bool GridOn = false;
};

// The window's bookkeeping.
struct WindowState {
    QString FileName;
    bool StudyLoaded = false;
    bool RestoringStudy = false;
    bool GraphShown = false;
    QString SavedDecimalSeparator;
    QString SavedPrinterFont;
};

// The error numbers: the window's ierr and the math object's own.
struct ErrorState {
    int ierr = 0;
    Class1 ScriptMath;
};

struct Dimension {
    Series series;
    StudySpecs study;
    Results results;
    PlotSetup plot;
    WindowState window;
    ErrorState errors;

    // Start-up values of the results and the file name (window load).
    void initialise();
};

} // namespace vendrak
