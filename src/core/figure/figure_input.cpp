#include "core/figure/figure_input.h"

#include <QFileInfo>

#include <algorithm>

namespace vendrak {

namespace {

bool madeFor(const VerifyReport& r, const Dimension& d)
{
    return r.valid && r.lower == d.study.XLower && r.upper == d.study.XUpper;
}

bool within(double x, const Span& s, double slack) { return x >= s.lo - slack && x <= s.hi + slack; }

} // namespace

FigureInput FigureInputOf(const Dimension& d, const std::vector<int>& orders, bool fitY, bool shade,
                          const VerifyReport* proven)
{
    FigureInput in;
    in.series = d.series;
    in.xLow = d.plot.WindowLX;
    in.xHigh = d.plot.WindowGX;
    in.yLow = d.plot.WindowLY;
    in.yHigh = d.plot.WindowGY;
    in.orders = orders;
    in.fitY = fitY;
    in.shade = shade;
    in.hasInterval = d.study.XLower <= d.study.XUpper;
    in.intervalLow = d.study.XLower;
    in.intervalHigh = d.study.XUpper;
    in.title = !d.series.SourceText.trimmed().isEmpty() ? d.series.SourceText.trimmed()
                                                         : QFileInfo(d.window.FileName).fileName();

    const VerifyReport* r = proven && madeFor(*proven, d) ? proven : nullptr;
    const double slack = r ? r->errorBound : 0;
    auto add = [&](FigureMark::Kind kind, const std::vector<double>& found) {
        for (double x : found) {
            // A listed point that Verify proved is drawn once, as proven.
            bool shownProven = false;
            if (r && kind == FigureMark::Kind::Root)
                shownProven = std::any_of(r->roots.begin(), r->roots.end(), [&](const Span& s) { return within(x, s, slack); });
            else if (r)
                shownProven = std::any_of(r->extrema.begin(), r->extrema.end(), [&](const ProvenExtremum& e) {
                    return within(x, e.x, slack);
                });
            if (!shownProven)
                in.marks.push_back({kind, x, false});
        }
    };
    add(FigureMark::Kind::Root, d.results.Roots);
    add(FigureMark::Kind::Maximum, d.results.Maxima);
    add(FigureMark::Kind::Minimum, d.results.Minima);
    if (r) {
        for (const Span& s : r->roots)
            in.marks.push_back({FigureMark::Kind::Root, s.lo + (s.hi - s.lo) / 2, true});
        for (const ProvenExtremum& e : r->extrema)
            in.marks.push_back({e.maximum ? FigureMark::Kind::Maximum : FigureMark::Kind::Minimum,
                                e.x.lo + (e.x.hi - e.x.lo) / 2, true});
    }
    return in;
}

} // namespace vendrak
