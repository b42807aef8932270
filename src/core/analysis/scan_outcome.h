#pragma once
// What a grid scan (roots, extrema) hands back to the window.
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <optional>
#include <vector>

namespace vendrak {

enum class ScanKind { Roots, Extrema };

struct ScanOutcome {
    ScanKind kind = ScanKind::Roots;
    // The list entries, in the order they were found.
    QStringList entries;
    // The summary for the count label. Only meaningful when `completed`:
    // a scan that ended early leaves the label as it was.
    QString label;
    // True when the scan walked its grid as far as it goes (none at all, or
    // up to where a step no longer moves x); false when it ended early and
    // quietly: an error that is not recoverable or a full result table.
    bool completed = false;
    // True when the scan was stopped through its ScanControl; nothing it
    // found is worth showing then.
    bool cancelled = false;
    // The error that ended the scan early, if one did (9 for a full table).
    // A grid that cannot advance ends early without one.
    std::optional<ErrorNumber> error;
    // The last error the scan met, whether it resumed after it or not: what
    // the window's ierr holds afterwards. None when it met none.
    std::optional<ErrorNumber> trapped;
    // The study specifications the command read from the fields; none when
    // they could not be read (the scan did not run then).
    std::optional<StudySpecs> study;
    // What the scan found, in the order found: the roots, or the abscissae
    // of the maxima and minima and the count of possible roots (none when
    // the extrema scan did not run).
    std::vector<double> roots, maxima, minima;
    std::optional<int> possibleRoots;
    // Series evaluations made, failed ones included (for the benchmark and
    // for tests that check no point was examined).
    long long evaluations = 0;
};

// The results with what a scan found in place of that kind's earlier ones
// (at most kResultCapacity of each kind, as the scans keep).
Results WithScan(const Results& before, const ScanOutcome& scan);

// Lets another thread follow a scan and stop it. The scan looks at it only
// every few thousand grid points or Newton steps, so it costs next to nothing.
struct ScanControl {
    std::atomic<bool> cancel{false};
    // Share of [XLower, XUpper] walked so far, 0 to 1.
    std::atomic<double> fraction{0.0};
};

} // namespace vendrak
