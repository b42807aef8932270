#pragma once
// What a grid scan (roots, extrema) hands back to the window.
#include <QString>
#include <QStringList>

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
    // Series evaluations made, failed ones included (for the benchmark and
    // for tests that check no point was examined).
    long long evaluations = 0;
};

} // namespace vendrak
