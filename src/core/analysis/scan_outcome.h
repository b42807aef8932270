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
    // True when the scan walked its whole grid (or had no grid point to
    // walk); false when it ended early and quietly: an error that is not
    // recoverable, a full result table, or a grid that cannot advance.
    bool completed = false;
    // Series evaluations made, failed ones included (for the benchmark and
    // for tests that check no point was examined).
    long long evaluations = 0;
};

} // namespace vendrak
