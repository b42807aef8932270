#include "core/report/report_body.h"

#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <algorithm>
#include <cmath>

namespace vendrak {

namespace {

void extremaBlock(std::vector<ReportLine>& out, const Series& series, double errorBound, const QString& heading,
                  const std::vector<double>& found)
{
    if (found.empty())
        return;
    out.push_back({});
    out.push_back({heading, {}});
    for (double x : found) {
        ReportLine line;
        try {
            const double y = EvalSeries(series, x);
            line.text = u'[' + PrintNumberText(x) + u',' + PrintNumberText(y) + u']';
            if (std::fabs(y) <= errorBound)
                line.redTail = QStringLiteral("***POSSIBLE ROOT");
        } catch (const Error& e) {
            // A value that cannot be computed is named, not left out, so the
            // printed list still matches the saved one.
            line.text = u'[' + PrintNumberText(x) + u',' + u' ' + e.message() + u' ' + u']';
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

std::vector<ReportLine> ReportBody(const Series& series, const StudySpecs& study, const Results& results,
                                   const ReportTexts& t)
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
    if (results.IntegralDone) {
        line({});
        line(QStringLiteral("INTEGRAL= ") + PrintNumberText(results.IntegralValue));
    }
    if (!results.Roots.empty()) {
        line({});
        line(QStringLiteral("ROOTS:"));
        for (double x : results.Roots)
            line(PrintNumberText(x));
    }
    extremaBlock(out, series, study.ErrorBound, QStringLiteral("MAXIMA:"), results.Maxima);
    extremaBlock(out, series, study.ErrorBound, QStringLiteral("MINIMA:"), results.Minima);
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
