#pragma once
// What a grid scan (roots, extrema) hands back to the window.
#include "core/study/errors.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <optional>

namespace vendrak {

struct ScanOutcome {
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
    // The error that ended the scan early, if one did (9 for a full table);
    // the window's ierr holds it too. A grid that cannot advance ends early
    // without one.
    std::optional<ErrorNumber> error;
    // Series evaluations made, failed ones included (for the benchmark and
    // for tests that check no point was examined).
    long long evaluations = 0;
};

// Lets another thread follow a scan and stop it. The scan looks at it only
// every few thousand grid points or Newton steps, so it costs next to nothing.
struct ScanControl {
    std::atomic<bool> cancel{false};
    // Share of [XLower, XUpper] walked so far, 0 to 1.
    std::atomic<double> fraction{0.0};
};

} // namespace vendrak
