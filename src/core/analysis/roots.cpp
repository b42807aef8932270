#include "core/analysis/roots.h"

#include "core/analysis/result_texts.h"
#include "core/analysis/scan_grid.h"
#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <cmath>

namespace vendrak {

namespace {

class RootScanner : public scan::GridScanner {
public:
    using GridScanner::GridScanner;
    scan::End run();

private:
    bool record(double r);
};

// Lists and stores one root; false when the table is full (nothing is
// listed then, so the list never shows a root the table lacks).
bool RootScanner::record(double r)
{
    if (out_.roots.size() >= kResultCapacity)
        return false;
    out_.entries.append(NumberText(r));
    out_.roots.push_back(r);
    return true;
}

// Sign changes of f, each refined by Newton from the middle of its
// subinterval; a grid point where f is 0 is a root by itself.
scan::End RootScanner::run()
{
    using scan::Next;
    double signLeft = 0;
    const auto atZero = [&](double x) { return record(x) ? Next::NewRun : Next::Full; };
    return walk(
        [&](double x) {
            const std::optional<double> fx = fAt(x);
            if (!fx)
                return Next::Failed;
            signLeft = scan::sign(*fx);
            return signLeft == 0 ? atZero(x) : Next::Advance;
        },
        [&](double x) {
            const std::optional<double> fx = fAt(x);
            if (!fx)
                return Next::Failed;
            const double signRight = scan::sign(*fx);
            if (signRight == 0)
                return atZero(x);
            if (signRight == signLeft) {
                stepOverQuiet(signLeft);
                return Next::Advance;
            }
            signLeft = signRight;
            const auto newton = refine(
                [&](double at) {
                    const double fx = f(at);
                    const double dfx = df(at);
                    return checkedDiv(fx, dfx);
                },
                [&](double step, double) { return std::fabs(step) <= errorBound_; });
            if (std::fabs(newton.prevX - newton.x) <= errorBound_ && !record(newton.x))
                return Next::Full;
            return Next::Again;
        });
}

} // namespace

ScanOutcome FindRoots(const Series& series, const StudySpecs& study, ScanControl* control)
{
    ScanOutcome out;
    out.kind = ScanKind::Roots;
    return scan::walkGrid<RootScanner>(
        {series, study}, std::move(out),
        [](const ScanOutcome& found) { return RootCountText(static_cast<int>(found.roots.size())); }, control);
}

} // namespace vendrak
