#pragma once
// Verify: the roots and extrema of the series as it is stored, proven with
// ball arithmetic, and the scans' lists held against them.
//
// The function is the mathematical one the stored numbers define: the
// coefficients, centre and period as the doubles they are, and the true pi.
// Every interval below has doubles as its ends, so a written interval holds
// what it claims.
#include "core/analysis/scan_outcome.h"
#include "core/study/dimension.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace vendrak {

// A closed interval of doubles; lo == hi for a point.
struct Span {
    double lo = 0;
    double hi = 0;
};

struct ProvenExtremum {
    Span x;        // holds exactly one zero of f', a simple one unless lo == hi
    Span value;    // f on x
    bool maximum = false;
};

struct VerifyReport {
    double lower = 0, upper = 0, errorBound = 0;
    // False when there is no function to verify (say a zero period) or no
    // interval: `message` says why and the lists are empty.
    bool valid = false;
    bool cancelled = false;
    QString message;

    // Each holds exactly one root of f; in ascending order.
    std::vector<Span> roots;
    // Where f could not be decided: a multiple root, a cluster closer than the
    // precision allows, f vanishing there. Adjacent ones are merged.
    std::vector<Span> rootsUndecided;
    bool rootsComplete = false; // every root is in `roots`
    QString rootsMessage;       // why not, when the search was cut short

    std::vector<ProvenExtremum> extrema; // interior ones, ascending
    std::vector<Span> extremaUndecided;
    bool extremaComplete = false;
    QString extremaMessage;

    bool integralDone = false;
    double integral = 0;
    double integralRadius = 0; // |true integral - integral| <= integralRadius
};

// At most this many roots (or zeros of f') are isolated; the search stops
// there, incomplete, rather than running on.
constexpr int kVerifyRootCap = 10000;

// Proves the roots, extrema and integral of `series` on [lower, upper], ends
// included. Proven intervals are narrowed to the error bound or to a few
// spacings of doubles when that is smaller. The control, when given, follows
// progress and may cancel (the report then only says so).
VerifyReport Verify(const Series& series, double lower, double upper, double errorBound,
                    ScanControl* control = nullptr);

// What the scans listed, as their result tables hold it.
struct ScanLists {
    std::vector<double> roots;
    struct Extremum {
        double x = 0;
        bool maximum = false;
    };
    std::vector<Extremum> extrema;
};

// The tables of a study's results, in list order (extrema: minima then
// maxima by abscissa, as the tables keep no scan order).
ScanLists ScanListsOf(const Results& results);

enum class ScanMark { Proven, Undecided, NotFound, WrongKind, Duplicate, Outside };

struct ScanCheck {
    std::vector<ScanMark> rootMarks;    // one per listed root
    std::vector<ScanMark> extremumMarks; // one per listed extremum
    std::vector<double> rootsMissed;    // proven roots no listed one matched (midpoints)
    std::vector<double> extremaMissed;
    std::vector<bool> rootProvenFound;     // per proven root: a listed one matched it
    std::vector<bool> extremumProvenFound; // per proven extremum
    std::vector<double> rootsWrong;     // listed roots not matched to a proven one
    std::vector<double> extremaWrong;
    QStringList summary;                // "5 roots in [-8, 8], all proven; the scan found 5", ...
};

// A listed point matches a proven one when it lies within the error bound of
// its interval; each proven one is matched once.
ScanCheck CheckScans(const ScanLists& lists, const VerifyReport& report);

QString MarkText(ScanMark mark);
// An interval as written: "[lo, hi]" with 17 significant digits.
QString SpanText(const Span& s);
// The whole outcome as lines of text, the scans' lists with their marks.
QStringList VerifyLines(const ScanLists& lists, const VerifyReport& report, const ScanCheck& check);

} // namespace vendrak
