#include "core/report/report_body.h"

#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <algorithm>
#include <cmath>

namespace vendrak {

namespace {

void extremaBlock(std::vector<ReportLine>& out, const Dimension& d, const QString& heading,
                  const std::array<double, kResultCapacity + 1>& table, int count)
{
    if (count == 0)
        return;
    out.push_back({});
    out.push_back({heading, {}});
    for (int i = 1; i <= std::min(count, kResultCapacity); ++i) {
        const double x = table[static_cast<size_t>(i)];
        ReportLine line;
        try {
            const double y = EvalSeries(d, x);
            line.text = u'[' + PrintNumberText(x) + u',' + PrintNumberText(y) + u']';
            if (std::fabs(y) <= d.ErrorBound)
                line.redTail = QStringLiteral("***POSSIBLE ROOT");
        } catch (const RunTimeError& e) {
            // A value that cannot be computed is named, not left out, so the
            // printed list still matches the saved one.
            line.text = u'[' + PrintNumberText(x) + u',' + u' ' + e.description() + u' ' + u']';
        }
        out.push_back(line);
    }
}

} // namespace

QString ReportTitle(int derivOrder)
{
    if (derivOrder != 0)
        return QStringLiteral("Plot of derivative #") + PrintNumberText(derivOrder);
    return QStringLiteral("Plot of Function");
}

std::vector<ReportLine> ReportBody(const Dimension& d, const ReportTexts& t)
{
    std::vector<ReportLine> out;
    auto line = [&out](const QString& s) { out.push_back({s, {}}); };
    line({});
    line(QStringLiteral("FUNCTION:"));
    line(t.equation);
    line({});
    line(QStringLiteral("    INTERVAL STUDIED: [") + t.xlower + u',' + t.xupper + u']');
    line(QStringLiteral("   # OF SUBINTERVALS: ") + t.subintervals);
    line(QStringLiteral("MAX. # OF ITERATIONS: ") + t.maxcy);
    line(QStringLiteral("       MAXIMUM ERROR: ") + t.error);
    if (d.IntegralDone) {
        line({});
        line(QStringLiteral("INTEGRAL= ") + PrintNumberText(d.IntegralValue));
    }
    if (d.RootCount != 0) {
        line({});
        line(QStringLiteral("ROOTS:"));
        for (int i = 1; i <= std::min(d.RootCount, kResultCapacity); ++i)
            line(PrintNumberText(d.Roots[static_cast<size_t>(i)]));
    }
    extremaBlock(out, d, QStringLiteral("MAXIMA:"), d.Maxima, d.MaxCount);
    extremaBlock(out, d, QStringLiteral("MINIMA:"), d.Minima, d.MinCount);
    line({});
    line(QStringLiteral("PLOT SETUP:"));
    line({});
    line(QStringLiteral("     AXES: [") + t.xorigin + u',' + t.yorigin + u']');
    line(QStringLiteral("DIVISIONS: [") + t.divx + u',' + t.divy + u']');
    line(QStringLiteral(" X-WINDOW: [") + t.windowlx + u',' + t.windowgx + u']');
    line(QStringLiteral(" Y-WINDOW: [") + t.windowly + u',' + t.windowgy + u']');
    return out;
}

} // namespace vendrak
