#include "core/figure/figure_input.h"

#include <QFileInfo>

#include <algorithm>

namespace vendrak {

namespace {

bool madeFor(const VerifyReport& r, const StudySpecs& study)
{
    return r.valid && r.lower == study.XLower && r.upper == study.XUpper;
}

bool within(double x, const Span& s, double slack) { return x >= s.lo - slack && x <= s.hi + slack; }

} // namespace

FigureInput FigureInputOf(const Series& series, const PlotSetup& plot, const StudySpecs& study,
                          const Results& results, const QString& fileName, const std::vector<int>& orders,
                          bool fitY, bool shade, const VerifyReport* proven)
{
    FigureInput in;
    in.series = series;
    in.xLow = plot.WindowLX;
    in.xHigh = plot.WindowGX;
    in.yLow = plot.WindowLY;
    in.yHigh = plot.WindowGY;
    in.orders = orders;
    in.fitY = fitY;
    in.shade = shade;
    in.hasInterval = study.XLower <= study.XUpper;
    in.intervalLow = study.XLower;
    in.intervalHigh = study.XUpper;
    in.title = !series.SourceText.trimmed().isEmpty() ? series.SourceText.trimmed() : QFileInfo(fileName).fileName();

    const VerifyReport* r = proven && madeFor(*proven, study) ? proven : nullptr;
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
    add(FigureMark::Kind::Root, results.Roots);
    add(FigureMark::Kind::Maximum, results.Maxima);
    add(FigureMark::Kind::Minimum, results.Minima);
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
