#include "core/analysis/extrema.h"

#include "core/analysis/result_texts.h"
#include "core/analysis/scan_grid.h"
#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <climits>
#include <cmath>
#include <limits>

namespace vendrak {

namespace {

// The outcome of the flat-point test.
enum class Flat { Listed, Unclassified, Full };

class ExtremaScanner : public scan::GridScanner {
public:
    using GridScanner::GridScanner;
    scan::End run();

private:
    // Rounding noise in f' can keep the Newton step above a bound smaller
    // than a double resolves at x; a step within one spacing of doubles is
    // as settled as the iterate can get.
    bool settled(double step, double x) const
    {
        step = std::fabs(step);
        if (step <= errorBound_)
            return true;
        const double ax = std::fabs(x);
        return step <= std::nextafter(ax, std::numeric_limits<double>::infinity()) - ax;
    }
    // sign(f(x + d) - f(x - d)), the left value first, and f(x + d); none
    // when f fails (see fAt). A sign of 0 comes only from two values that
    // are the one-point evaluator's own, so the flat-point test may reuse the
    // right one.
    struct Slope {
        double sign;
        double right;
    };
    std::optional<Slope> slope(double x)
    {
        const std::optional<double> left = fAt(checked(x - kSlopeStep));
        if (!left)
            return std::nullopt;
        const std::optional<double> right = fAt(checked(x + kSlopeStep));
        if (!right)
            return std::nullopt;
        return Slope{scan::sign(checked(*right - *left)), *right};
    }
    void countPossibleRoot()
    {
        int& count = *out_.possibleRoots;
        if (count < INT_MAX)
            ++count;
    }
    std::vector<double>& table(ExtremumKind kind) const { return kind == ExtremumKind::Min ? out_.minima : out_.maxima; }
    Flat flatPoint(double x, double beside, bool runStart);
    bool store(ExtremumKind kind, double x, std::optional<double> y = {}, bool runStart = false);
    bool add(ExtremumKind kind, double x);
};

// Lists the extremum (its value y, evaluated now unless known) and stores
// its abscissa; false when that kind's table is full, and then nothing is
// listed.
bool ExtremaScanner::store(ExtremumKind kind, double x, std::optional<double> y, bool runStart)
{
    std::vector<double>& found = table(kind);
    if (found.size() >= kResultCapacity)
        return false;
    out_.entries.append(ExtremumEntryText(kind, x, y ? *y : f(x), runStart));
    found.push_back(x);
    return true;
}

// A grid point whose slope sign is 0: a possible root when |f| is small, an
// extremum when f rises or falls beside it. The entry has no space after the
// colon when the point starts a run.
Flat ExtremaScanner::flatPoint(double x, double beside, bool runStart)
{
    const double here = f(x);
    if (std::fabs(here) <= errorBound_)
        countPossibleRoot();
    if (beside > here)
        return store(ExtremumKind::Min, x, here, runStart) ? Flat::Listed : Flat::Full;
    if (beside < here)
        return store(ExtremumKind::Max, x, here, runStart) ? Flat::Listed : Flat::Full;
    return Flat::Unclassified;
}

// A Newton-refined extremum, listed unless one of its kind already lies
// strictly closer than the error bound.
bool ExtremaScanner::add(ExtremumKind kind, double x)
{
    for (const double listed : table(kind)) {
        if (std::fabs(checked(x - listed)) < errorBound_)
            return true;
    }
    return store(kind, x);
}

// Changes of the slope's sign, to or from 0 included, each refined by Newton
// on f' from the middle of its subinterval.
scan::End ExtremaScanner::run()
{
    using scan::Next;
    double signLeft = 0;
    return walk(
        [&](double x) {
            const std::optional<Slope> sign = slope(x);
            if (!sign)
                return Next::Failed;
            signLeft = sign->sign;
            if (signLeft != 0)
                return Next::Advance;
            // Unclassified, the run goes on with a reference slope of 0.
            switch (flatPoint(x, sign->right, true)) {
            case Flat::Full: return Next::Full;
            case Flat::Listed: return Next::NewRun;
            case Flat::Unclassified: break;
            }
            return Next::Advance;
        },
        [&](double x) {
            const std::optional<Slope> sign = slope(x);
            if (!sign)
                return Next::Failed;
            const double signRight = sign->sign;
            if (signRight == 0) {
                const Flat flat = flatPoint(x, sign->right, false);
                if (flat == Flat::Full)
                    return Next::Full;
                if (flat == Flat::Listed)
                    return Next::NewRun;
            }
            if (signRight == signLeft) {
                stepOverQuiet(signLeft);
                return Next::Advance;
            }
            const auto newton = refine(
                [&](double at) {
                    const double slope1 = df(at);
                    const double slope2 = d2f(at);
                    return checkedDiv(slope1, slope2);
                },
                [&](double step, double at) { return settled(step, at); });
            const double xr = newton.x;
            if (std::fabs(f(xr)) <= errorBound_)
                countPossibleRoot();
            if (settled(newton.prevX - xr, xr)) {
                const double below = f(checked(xr - kSlopeStep));
                const double here = f(xr);
                if (here < below && !add(ExtremumKind::Min, xr))
                    return Next::Full;
                if (here > below && !add(ExtremumKind::Max, xr))
                    return Next::Full;
            }
            signLeft = signRight;
            return Next::Again;
        });
}

} // namespace

ScanOutcome FindExtrema(const Series& series, const StudySpecs& study, ScanControl* control)
{
    ScanOutcome out;
    out.kind = ScanKind::Extrema;
    out.possibleRoots = 0;
    return scan::walkGrid<ExtremaScanner>(
        {series, study}, std::move(out),
        [](const ScanOutcome& found) {
            return ExtremaSummaryText(static_cast<int>(found.maxima.size()), static_cast<int>(found.minima.size()),
                                      *found.possibleRoots);
        },
        control);
}

} // namespace vendrak
