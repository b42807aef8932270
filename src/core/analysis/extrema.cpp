#include "core/analysis/extrema.h"

#include "core/analysis/error_trap.h"
#include "core/analysis/scan_grid.h"
#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <climits>
#include <cmath>
#include <limits>

namespace vendrak {

namespace {

enum class End { Finished, Stalled, Full };

enum class Kind { Min, Max };

// The outcome of the flat-point test.
enum class Flat { Listed, Unclassified, Full };

class ExtremaScanner {
public:
    ExtremaScanner(Dimension& d, ScanOutcome& out, double h)
        : d_(d), out_(out), h_(h), xUpper_(d.XUpper), errorBound_(d.ErrorBound), maxCycles_(d.MaxCycles)
    {
    }

    End run();

    double workX = 0;
    double gridX = 0;

private:
    double f(double x)
    {
        ++out_.evaluations;
        return EvalSeries(d_, x);
    }
    double df(double x)
    {
        ++out_.evaluations;
        return EvalDeriv1(d_, x);
    }
    double d2f(double x)
    {
        ++out_.evaluations;
        return EvalDeriv2(d_, x);
    }
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
    // sign(f(x + d) - f(x - d)), the left value first.
    double slope(double x)
    {
        const double left = f(checked(x - kSlopeStep));
        const double right = f(checked(x + kSlopeStep));
        return scan::sign(checked(right - left));
    }
    void countPossibleRoot()
    {
        if (d_.PossibleRootCount < INT_MAX)
            ++d_.PossibleRootCount;
    }
    Flat flatPoint(double x, bool runStart);
    bool store(Kind kind, double x, const char* prefix);
    bool add(Kind kind, double x);

    Dimension& d_;
    ScanOutcome& out_;
    const double h_;
    const double xUpper_;
    const double errorBound_;
    const int maxCycles_;
};

// Lists the extremum (its value evaluated now) and stores its abscissa;
// false when that kind's table is full, and then nothing is listed.
bool ExtremaScanner::store(Kind kind, double x, const char* prefix)
{
    int& count = kind == Kind::Min ? d_.MinCount : d_.MaxCount;
    auto& table = kind == Kind::Min ? d_.Minima : d_.Maxima;
    if (count >= kResultCapacity)
        return false;
    const double y = f(x);
    out_.entries.append(QLatin1String(prefix) + NumberText(x) + QStringLiteral(" , ") + NumberText(y)
                        + QStringLiteral("]"));
    ++count;
    table[static_cast<size_t>(count)] = x;
    return true;
}

// A grid point whose slope sign is 0: a possible root when |f| is small, an
// extremum when f rises or falls beside it. The entry has no space after the
// colon when the point starts a run.
Flat ExtremaScanner::flatPoint(double x, bool runStart)
{
    if (std::fabs(f(x)) <= errorBound_)
        countPossibleRoot();
    const double xd = checked(x + kSlopeStep);
    {
        const double beside = f(xd);
        const double here = f(x);
        if (beside > here)
            return store(Kind::Min, x, runStart ? "MIN:[" : "MIN: [") ? Flat::Listed : Flat::Full;
    }
    const double beside = f(xd);
    const double here = f(x);
    if (beside < here)
        return store(Kind::Max, x, runStart ? "MAX:[" : "MAX: [") ? Flat::Listed : Flat::Full;
    return Flat::Unclassified;
}

// A Newton-refined extremum, listed unless one of its kind already lies
// strictly closer than the error bound.
bool ExtremaScanner::add(Kind kind, double x)
{
    const int count = kind == Kind::Min ? d_.MinCount : d_.MaxCount;
    const auto& table = kind == Kind::Min ? d_.Minima : d_.Maxima;
    for (int i = 1; i <= count; ++i) {
        if (std::fabs(checked(x - table[static_cast<size_t>(i)])) < errorBound_)
            return true;
    }
    return store(kind, x, kind == Kind::Min ? "MIN: [" : "MAX: [");
}

End ExtremaScanner::run()
{
    for (;;) {
        // A. A new run.
        double previous = workX;
        workX = scan::advance(workX, h_);
        gridX = workX;
        if (!(workX < xUpper_))
            return End::Finished;
        if (workX == previous)
            return End::Stalled;
        double signLeft = slope(workX);
        if (signLeft == 0) {
            const Flat flat = flatPoint(workX, true);
            if (flat == Flat::Full)
                return End::Full;
            if (flat == Flat::Listed)
                continue;
            // unclassified: the run goes on with a reference slope of 0
        }

        bool stepFirst = true;
        for (;;) {
            if (stepFirst) {
                // B.
                previous = workX;
                workX = scan::advance(workX, h_);
                gridX = workX;
                if (workX > xUpper_)
                    return End::Finished;
                if (workX == previous)
                    return End::Stalled;
            }
            stepFirst = true;

            // C.
            const double signRight = slope(workX);
            if (signRight == 0) {
                const Flat flat = flatPoint(workX, false);
                if (flat == Flat::Full)
                    return End::Full;
                if (flat == Flat::Listed)
                    break; // a new run
            }

            // D. A change of the slope's sign, to or from 0 included.
            if (signRight == signLeft)
                continue;
            const double bracketX = workX;
            workX = checked(workX - h_ / 2);
            int cycles = 0;
            double prevX = 0;
            scan::CycleSkipper repeats(workX);
            do {
                ++cycles;
                prevX = workX;
                const double slope1 = df(workX);
                const double slope2 = d2f(workX);
                workX = checked(workX - checkedDiv(slope1, slope2));
                cycles += repeats.skip(workX, cycles, maxCycles_);
            } while (!settled(checked(prevX - workX), workX) && cycles < maxCycles_);

            if (std::fabs(f(workX)) <= errorBound_)
                countPossibleRoot();
            if (settled(prevX - workX, workX)) {
                const double below = f(checked(workX - kSlopeStep));
                const double here = f(workX);
                if (here < below && !add(Kind::Min, workX))
                    return End::Full;
                if (here > below && !add(Kind::Max, workX))
                    return End::Full;
            }
            signLeft = signRight;
            // Back to C at the bracket's right end.
            workX = bracketX;
            stepFirst = false;
        }
    }
}

} // namespace

QString ExtremaLabel(int maxCount, int minCount, int possibleRoots)
{
    QString text = QString::number(maxCount) + QStringLiteral(" max. ") + QString::number(minCount)
        + QStringLiteral(" min. ");
    if (possibleRoots != 0)
        text += QString::number(possibleRoots) + QStringLiteral(" possible root(s).");
    return text;
}

ScanOutcome FindExtrema(Dimension& d)
{
    ScanOutcome out;
    d.ScriptMath.ierr = 0;
    d.MaxCount = 0;
    d.MinCount = 0;
    d.PossibleRootCount = 0;

    double h = 0;
    switch (scan::layOutGrid(d, h)) {
    case scan::Layout::Ready:
        break;
    case scan::Layout::Empty:
        out.completed = true;
        out.label = ExtremaLabel(0, 0, 0);
        return out;
    case scan::Layout::Broken:
        TrapError(d, ErrOverflow);
        return out;
    }

    ExtremaScanner scanner(d, out, h);
    scanner.workX = d.XLower - h;
    scanner.gridX = scanner.workX;
    for (;;) {
        try {
            switch (scanner.run()) {
            // A grid that cannot advance has no further point to examine;
            // saying nothing would look as if the command had not run.
            case End::Stalled:
            case End::Finished:
                out.completed = true;
                out.label = ExtremaLabel(d.MaxCount, d.MinCount, d.PossibleRootCount);
                break;
            case End::Full:
                d.ierr = ErrSubscript;
                break;
            }
            return out;
        } catch (const RunTimeError& err) {
            if (!isRecoverableEvalError(TrapError(d, err.number())))
                return out;
            scanner.workX = scanner.gridX;
        }
    }
}

} // namespace vendrak
