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
    if (t_.results.RootCount >= kResultCapacity)
        return false;
    out_.entries.append(NumberText(r));
    ++t_.results.RootCount;
    t_.results.Roots[static_cast<size_t>(t_.results.RootCount)] = r;
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
            double fx = 0;
            if (!fAt(x, fx))
                return Next::Failed;
            signLeft = scan::sign(fx);
            return signLeft == 0 ? atZero(x) : Next::Advance;
        },
        [&](double x) {
            double fx = 0;
            if (!fAt(x, fx))
                return Next::Failed;
            const double signRight = scan::sign(fx);
            if (signRight == 0)
                return atZero(x);
            if (signRight == signLeft)
                return Next::Advance;
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

ScanOutcome FindRoots(const Series& series, const StudySpecs& study, Results& results, ErrorState& errors,
                      ScanControl* control)
{
    results.RootCount = 0;
    return scan::walkGrid<RootScanner>({series, study, results, errors},
                                       [&results] { return RootCountText(results.RootCount); }, control);
}

} // namespace vendrak
