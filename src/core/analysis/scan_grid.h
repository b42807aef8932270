#pragma once
// The grid both scans walk: XLower, XLower + h, XLower + 2h, ... built by
// repeated addition of h = (XUpper - XLower) / Subintervals.
#include "core/analysis/extrema.h"
#include "core/analysis/grid_lookahead.h"
#include "core/analysis/scan_outcome.h"
#include "core/series/evaluators.h"
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <cmath>
#include <optional>

namespace vendrak::scan {

// What a scan reads: the series, the study interval and its settings.
struct ScanTarget {
    const Series& series;
    const StudySpecs& study;
};

enum class Layout {
    Ready, // h is a finite step; walk the grid
    Empty, // no subinterval to walk (a restored study may carry 0 or less)
    Broken // the step is not a finite number: the interval is too wide
};

// The step h of the grid, and whether it can be walked.
struct Grid {
    Layout layout;
    double h;
};

inline Grid layOutGrid(const StudySpecs& study)
{
    if (study.Subintervals < 1)
        return {Layout::Empty, 0};
    const double h = (study.XUpper - study.XLower) / study.Subintervals;
    return {std::isfinite(h) ? Layout::Ready : Layout::Broken, h};
}

// The next grid point. Deliberately unchecked: an overflow gives +inf, which
// the scan's bound tests treat as past XUpper instead of an error to resume
// from (resuming would only overflow again).
inline double advance(double x, double h) { return x + h; }

// A Newton iteration that comes back to one of its earlier iterates repeats
// itself from there on (each step depends on the iterate alone), so whole
// periods of the repetition can be skipped without changing where it ends.
// Without this, an error bound below the spacing of doubles (or one that is
// not positive) and a large cycle limit keep the window busy for minutes on
// iterates that go round in a loop. The loop is found as in Brent's method:
// one iterate is kept, replaced after 1, 2, 4, 8, ... steps, until an
// iterate equals it.
class CycleSkipper {
public:
    explicit CycleSkipper(double start) : kept_(start) {}

    // Called with iterate number `cycles` just computed; returns the number
    // of steps (whole periods) to add to the count.
    int skip(double x, int cycles, int maxCycles)
    {
        ++sinceKept_;
        if (x == kept_) {
            const int period = sinceKept_;
            sinceKept_ = 0;
            return maxCycles > cycles ? (maxCycles - cycles) / period * period : 0;
        }
        if (sinceKept_ == keepFor_) {
            kept_ = x;
            keepFor_ = keepFor_ < (1 << 30) ? keepFor_ * 2 : keepFor_;
            sinceKept_ = 0;
        }
        return 0;
    }

private:
    double kept_;
    int keepFor_ = 1;
    int sinceKept_ = 0;
};

// How a walk over the grid ends.
enum class End {
    Finished, // walked past XUpper
    Stalled,  // the next grid point equals the current one: h is below the spacing of doubles there
    Full,     // one result more than the table holds
    Failed    // a grid point failed with an error the scan cannot resume from
};

// What examining a grid point decides.
enum class Next {
    Advance, // on to the next grid point of the run
    Again,   // a bracket was refined: its right end is examined once more
    NewRun,  // a result at the point itself: a new run starts after it
    Full,    // the result table is full
    Failed   // f failed at the point (see fAt)
};

// The walk both scans share: runs of grid points, each run started afresh
// after a result at a grid point, and Newton's method inside each bracket a
// scan finds. The scans differ only in what they examine at a point.
class GridScanner {
public:
    GridScanner(const ScanTarget& t, ScanOutcome& out, double h)
        : t_(t), out_(out), h_(h), xLower_(t.study.XLower), xUpper_(t.study.XUpper), errorBound_(t.study.ErrorBound),
          maxCycles_(t.study.MaxCycles), ahead_(t.series, h, kSlopeStep, t.study.XUpper)
    {
    }

    double workX = 0; // current abscissa
    double gridX = 0; // the last grid point reached, where the trap resumes
    ScanControl* control = nullptr; // who follows the scan, if anyone

    void follow(ScanControl* c)
    {
        control = c;
        ahead_.stopWhen(c ? &c->cancel : nullptr);
    }

protected:
    // From a new run to the end of the walk. startRun examines the first
    // point of a run, point every later one; both answer what comes next.
    // Evaluation errors propagate to the trap, which resumes at gridX.
    template <class StartRun, class Point>
    End walk(StartRun&& startRun, Point&& point)
    {
        for (;;) {
            if (const auto end = nextGridPoint(true))
                return *end;
            Next next = startRun(workX);
            if (const auto end = endOf(next))
                return *end;
            if (endsRun(next))
                continue;
            for (next = Next::Advance;;) {
                if (next == Next::Advance) {
                    if (const auto end = nextGridPoint(false))
                        return *end;
                }
                next = point(workX);
                if (const auto end = endOf(next))
                    return *end;
                if (endsRun(next))
                    break;
            }
        }
    }

    struct Refined {
        double x;     // the last iterate
        double prevX; // the one before it
    };

    // Newton's method from the middle of the subinterval left of workX:
    // x - quotient(x) until converged(previous - x, x) or the cycle limit.
    template <class Quotient, class Converged>
    Refined refine(Quotient&& quotient, Converged&& converged)
    {
        double x = checked(workX - h_ / 2);
        int cycles = 0;
        double prevX = 0;
        CycleSkipper repeats(x);
        do {
            ++cycles;
            prevX = x;
            x = checked(x - quotient(x));
            cycles += repeats.skip(x, cycles, maxCycles_);
            // A cycle limit in the millions can keep one bracket busy for long.
            look();
        } while (!converged(checked(prevX - x), x) && cycles < maxCycles_);
        return {x, prevX};
    }

    double f(double x)
    {
        ++out_.evaluations;
        return EvalSeries(t_.series, x);
    }
    // f at a grid point, a failure trapped here as walkGrid's trap would:
    // none then, and the walk goes on from the next grid point (or ends with
    // out_.error when the error cannot be resumed from). A series failing
    // over much of the grid would otherwise cost an exception per point.
    // The values ahead come from the block evaluators (GridLookahead says
    // when they decide as this point's own evaluation would).
    // After a point that advanced the walk with the sign `same`: steps over
    // the grid points ahead whose known values would each do the same, as
    // if each had been examined (and counted) in turn.
    void stepOverQuiet(double same)
    {
        const std::size_t count = ahead_.quietRun(same);
        if (count == 0)
            return;
        out_.evaluations += static_cast<long long>(count) * ahead_.probesPerPoint();
        workX = gridX = ahead_.stepOver(count);
        lookNow();
    }

    std::optional<double> fAt(double x)
    {
        ++out_.evaluations;
        SeriesValue f;
        if (const auto found = ahead_.find(x))
            f = {found->value, found->fault};
        else
            f = TryEvalSeries(t_.series, x);
        if (!f.fault)
            return f.value;
        // Stored as the number, not the optional: copying the optional whole
        // stalls on its two parts written just before.
        const ErrorNumber fault = *f.fault;
        out_.trapped = fault;
        if (!isRecoverableEvalError(fault))
            out_.error = fault;
        return std::nullopt;
    }
    double df(double x)
    {
        ++out_.evaluations;
        return EvalDeriv1(t_.series, x);
    }
    double d2f(double x)
    {
        ++out_.evaluations;
        return EvalDeriv2(t_.series, x);
    }

    ScanTarget t_;
    ScanOutcome& out_;
    const double h_;
    const double xLower_;
    const double xUpper_;
    const double errorBound_;
    const int maxCycles_;

private:
    // Every 64th call reports progress and answers a request to stop: often
    // enough that Cancel ends a scan of a long series at once, rarely enough
    // to cost nothing beside the evaluations.
    void look()
    {
        if (!control || (++sinceLook_ & 63) != 0)
            return;
        lookNow();
    }
    void lookNow()
    {
        if (!control)
            return;
        if (control->cancel.load(std::memory_order_relaxed))
            throw Cancelled{};
        const double done = (gridX - xLower_) / (xUpper_ - xLower_);
        control->fraction.store(done >= 0 && done <= 1 ? done : (done > 1 ? 1.0 : 0.0), std::memory_order_relaxed);
    }

    unsigned sinceLook_ = 0;
    GridLookahead ahead_;

    // The end of the walk a point's answer brings, if it brings one.
    std::optional<End> endOf(Next next) const
    {
        if (next == Next::Full)
            return End::Full;
        if (next == Next::Failed && out_.error)
            return End::Failed;
        return std::nullopt;
    }
    // Whether the answer ends the run: a result at the point, or a failure
    // the walk goes on from.
    static bool endsRun(Next next) { return next == Next::NewRun || next == Next::Failed; }

    // A new run's first point is examined only strictly below XUpper; later
    // points of a run up to and including it.
    std::optional<End> nextGridPoint(bool runStart)
    {
        const double previous = workX;
        workX = advance(workX, h_);
        gridX = workX;
        look();
        if (runStart ? !(workX < xUpper_) : workX > xUpper_)
            return End::Finished;
        if (workX == previous)
            return End::Stalled;
        ahead_.reached(workX);
        return std::nullopt;
    }
};

// Lays out the grid, walks it with a Scanner (a GridScanner with run()) and
// resumes after each recoverable error at the grid point reached, adding what
// it finds to `out`. `label` gives the summary of a completed walk.
template <class Scanner, class Label>
ScanOutcome walkGrid(const ScanTarget& t, ScanOutcome out, Label&& label, ScanControl* control)
{
    const auto [layout, h] = layOutGrid(t.study);
    switch (layout) {
    case Layout::Ready:
        break;
    case Layout::Empty:
        out.completed = true;
        out.label = label(out);
        return out;
    case Layout::Broken:
        out.error = out.trapped = ErrorNumber::Overflow;
        return out;
    }

    Scanner scanner(t, out, h);
    scanner.follow(control);
    scanner.workX = t.study.XLower - h; // unchecked like every grid step
    scanner.gridX = scanner.workX;
    for (;;) {
        try {
            switch (scanner.run()) {
            // A grid that cannot advance has no further point to examine;
            // saying nothing would look as if the command had not run.
            case End::Stalled:
            case End::Finished:
                out.completed = true;
                out.label = label(out);
                break;
            case End::Full:
                out.error = out.trapped = ErrorNumber::Subscript;
                break;
            case End::Failed: // trapped where it failed
                break;
            }
            return out;
        } catch (const Error& err) {
            // A failed point or bracket is given up; the scan goes on from
            // the grid point it had reached, starting a new run there.
            out.trapped = err.number();
            if (!isRecoverableEvalError(err.number())) {
                out.error = err.number();
                return out;
            }
            scanner.workX = scanner.gridX;
        } catch (const Cancelled&) {
            out.cancelled = true;
            return out;
        }
    }
}

} // namespace vendrak::scan
