#include "core/analysis/result_texts.h"

#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <algorithm>

namespace vendrak {

namespace {

QString entryText(ExtremumKind kind, bool runStart, double x, const QString& y)
{
    const QString prefix = kind == ExtremumKind::Min ? (runStart ? QStringLiteral("MIN:[") : QStringLiteral("MIN: ["))
                                                     : (runStart ? QStringLiteral("MAX:[") : QStringLiteral("MAX: ["));
    return prefix + NumberText(x) + QStringLiteral(" , ") + y + u']';
}

} // namespace

QString RootCountText(int count) { return QString::number(count) + QStringLiteral(" roots"); }

QString ExtremaSummaryText(int maxCount, int minCount, int possibleRoots)
{
    QString text = QString::number(maxCount) + QStringLiteral(" max. ") + QString::number(minCount)
        + QStringLiteral(" min. ");
    if (possibleRoots != 0)
        text += QString::number(possibleRoots) + QStringLiteral(" possible root(s).");
    return text;
}

QString ExtremumEntryText(ExtremumKind kind, double x, double y, bool runStart)
{
    return entryText(kind, runStart, x, NumberText(y));
}

QString RestoredExtremumEntryText(const Series& s, ExtremumKind kind, double x)
{
    QString y;
    try {
        y = NumberText(EvalSeries(s, x));
    } catch (const Error& e) {
        y = e.message();
    }
    return entryText(kind, false, x, y);
}

QString TableFullText(const ScanOutcome& scan)
{
    if (scan.error != ErrorNumber::Subscript)
        return {};
    const QString what = scan.kind == ScanKind::Roots              ? QStringLiteral("roots")
                         : scan.maxima.size() >= kResultCapacity ? QStringLiteral("maxima")
                                                                 : QStringLiteral("minima");
    return QStringLiteral("Only the first %1 %2 are kept: the list is full. Study a narrower interval to "
                          "list the rest.")
        .arg(kResultCapacity)
        .arg(what);
}

namespace {

// Fills the 1-based table from a scan's list, as many as it holds.
int tabled(std::array<double, kResultCapacity + 1>& table, const std::vector<double>& found)
{
    const size_t n = std::min(found.size(), size_t(kResultCapacity));
    std::copy_n(found.begin(), n, table.begin() + 1);
    return static_cast<int>(n);
}

} // namespace

Results WithScan(const Results& before, const ScanOutcome& scan)
{
    Results r = before;
    if (scan.kind == ScanKind::Roots) {
        r.RootCount = tabled(r.Roots, scan.roots);
        return r;
    }
    r.MaxCount = tabled(r.Maxima, scan.maxima);
    r.MinCount = tabled(r.Minima, scan.minima);
    if (scan.possibleRoots)
        r.PossibleRootCount = *scan.possibleRoots;
    return r;
}

ResultTexts RestoredResults(const Series& series, const Results& results)
{
    ResultTexts r;
    if (results.IntegralDone)
        r.integral = NumberText(results.IntegralValue);
    if (results.RootCount != 0) {
        r.rootsLabel = RootCountText(results.RootCount);
        for (int i = 1; i <= results.RootCount; ++i)
            r.roots << NumberText(results.Roots[static_cast<size_t>(i)]);
    }
    if (results.MaxCount + results.MinCount + results.PossibleRootCount != 0) {
        r.extremaLabel = ExtremaSummaryText(results.MaxCount, results.MinCount, results.PossibleRootCount);
        for (int i = 1; i <= results.MinCount; ++i)
            r.extrema << RestoredExtremumEntryText(series, ExtremumKind::Min, results.Minima[static_cast<size_t>(i)]);
        for (int i = 1; i <= results.MaxCount; ++i)
            r.extrema << RestoredExtremumEntryText(series, ExtremumKind::Max, results.Maxima[static_cast<size_t>(i)]);
    }
    return r;
}

} // namespace vendrak
