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

// A scan's list, as many as the results keep.
std::vector<double> kept(const std::vector<double>& found)
{
    return {found.begin(), found.begin() + std::ptrdiff_t(std::min(found.size(), size_t(kResultCapacity)))};
}

} // namespace

Results WithScan(const Results& before, const ScanOutcome& scan)
{
    Results r = before;
    if (scan.kind == ScanKind::Roots) {
        r.Roots = kept(scan.roots);
        return r;
    }
    r.Maxima = kept(scan.maxima);
    r.Minima = kept(scan.minima);
    if (scan.possibleRoots)
        r.PossibleRootCount = *scan.possibleRoots;
    return r;
}

ResultTexts RestoredResults(const Series& series, const Results& results)
{
    ResultTexts r;
    if (results.IntegralDone)
        r.integral = NumberText(results.IntegralValue);
    if (!results.Roots.empty()) {
        r.rootsLabel = RootCountText(static_cast<int>(results.Roots.size()));
        for (double x : results.Roots)
            r.roots << NumberText(x);
    }
    const int maxima = static_cast<int>(results.Maxima.size());
    const int minima = static_cast<int>(results.Minima.size());
    if (maxima + minima + results.PossibleRootCount != 0) {
        r.extremaLabel = ExtremaSummaryText(maxima, minima, results.PossibleRootCount);
        for (double x : results.Minima)
            r.extrema << RestoredExtremumEntryText(series, ExtremumKind::Min, x);
        for (double x : results.Maxima)
            r.extrema << RestoredExtremumEntryText(series, ExtremumKind::Max, x);
    }
    return r;
}

} // namespace vendrak
