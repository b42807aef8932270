#pragma once
// The study state: everything that outlives one event handler. One instance
// lives from start-up to exit and is passed by reference to whoever needs it.
#include "core/script/class1.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <vector>

namespace vendrak {

constexpr int kResultCapacity = 255;   // entries 1..255; entry 0 is never used
constexpr int kFactorialTop = 170;     // 170! is the largest finite double factorial

struct StudyFields {
    // Constants, computed once at start-up.
    double PiValue = 0.0;
    std::array<double, kFactorialTop + 1> Factorials{};

    // The series.
    int SeriesType = 0;        // 0 trigonometric, 1 power
    int TermCount = 0;         // highest coefficient index
    double Centre = 0.0;
    double Period = 0.0;
    QString PeriodText;
    double XLvalid = 0.0;
    double XUvalid = 0.0;
    std::vector<double> Coeffs;
    int MultiVarFlag = 0;
    QByteArray SourceText;     // the file's bytes, carried unchanged

    // Study specifications.
    double XLower = 0.0;
    double XUpper = 0.0;
    int Subintervals = 0;
    double ErrorBound = 0.0;
    int MaxCycles = 0;
    int DerivOrder = 0;
    double ErrorBoundOnEntry = 0.0;

    // Results.
    std::array<double, kResultCapacity + 1> Roots{};
    int RootCount = 0;
    std::array<double, kResultCapacity + 1> Maxima{};
    std::array<double, kResultCapacity + 1> Minima{};
    int MaxCount = 0;
    int MinCount = 0;
    int PossibleRootCount = 0;
    double IntegralValue = 0.0;
    bool IntegralDone = false;

    // Plot set-up (single precision, as typed values are drawn).
    float WindowLX = 0.0f;
    float WindowGX = 0.0f;
    float WindowLY = 0.0f;
    float WindowGY = 0.0f;
    float XOrigin = 0.0f;
    float YOrigin = 0.0f;
    float DivX = 0.0f;
    float DivY = 0.0f;
    int PlotStep = 0;
    bool GridOn = false;
    bool GraphShown = false;

    // File and window bookkeeping.
    QString FileName;
    bool StudyLoaded = false;
    bool RestoringStudy = false;
    QString ScratchText;

    // Error numbers: the main window's public ierr, and the math object's.
    int ierr = 0;
    Class1 ScriptMath;

    // Platform bookkeeping.
    QString SavedDecimalSeparator;
    QString SavedPrinterFont;

};

// The math object's error pointer must follow the record when it is copied
// (tests and the file reader take snapshots), hence the split.
struct Dimension : StudyFields {
    Dimension();
    Dimension(const Dimension& other);
    Dimension& operator=(const Dimension& other);

    // Start-up values of the constants and counters (window load).
    void initialise();
};

} // namespace vendrak
