#pragma once
// The result texts the window lists and labels, whether a command has just
// found the results or a saved study brings them back: both must read alike.
#include "core/analysis/scan_outcome.h"
#include "core/study/dimension.h"

#include <QString>
#include <QStringList>

namespace vendrak {

enum class ExtremumKind { Min, Max };

// The roots label: "2 roots" (also "1 roots", "0 roots").
QString RootCountText(int count);

// The extrema label: "2 max. 1 min. 1 possible root(s)." or, without
// possible roots, "2 max. 1 min. " (with its trailing space).
QString ExtremaSummaryText(int maxCount, int minCount, int possibleRoots);

// An extrema list entry, "MIN: [x , y]" or "MAX: [x , y]". A flat grid point
// that starts a run of the scan is listed without the space: "MIN:[x , y]".
QString ExtremumEntryText(ExtremumKind kind, double x, double y, bool runStart = false);

// The entry of a restored study, y evaluated afresh: a value that cannot be
// computed is named ("MIN: [2 , Overflow]") rather than aborting the restore.
QString RestoredExtremumEntryText(const Series& s, ExtremumKind kind, double x);

// Said when a scan stopped because a result table holds its 255 entries; empty
// for any other ending.
QString TableFullText(const ScanOutcome& scan);

// The result labels and lists as a restored study shows them: minima before
// maxima, each evaluated afresh.
struct ResultTexts {
    QString integral, rootsLabel, extremaLabel;
    QStringList roots, extrema;
};
ResultTexts RestoredResults(const Series& series, const Results& results);

} // namespace vendrak
