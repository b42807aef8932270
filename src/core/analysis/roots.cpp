#include "core/analysis/roots.h"

#include "core/analysis/error_trap.h"
#include "core/analysis/scan_grid.h"
#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <cmath>

namespace vendrak {

namespace {

enum class End {
    Finished, // walked past XUpper
    Stalled,  // the next grid point equals the current one: h is below the spacing of doubles there
    Full      // one root more than the table holds
};

class RootScanner {
public:
    RootScanner(Dimension& d, ScanOutcome& out, double h)
        : d_(d), out_(out), h_(h), xUpper_(d.XUpper), errorBound_(d.ErrorBound), maxCycles_(d.MaxCycles)
    {
    }

    // From a new run (step A) to the end of the scan. Evaluation errors
    // propagate to the trap, which resumes with workX = gridX.
    End run();

    double workX = 0; // current abscissa
    double gridX = 0; // the last grid point reached, where the trap resumes

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
    bool record(double r);

    Dimension& d_;
    ScanOutcome& out_;
    const double h_;
    const double xUpper_;
    const double errorBound_;
    const int maxCycles_;
};

// Lists and stores one root; false when the table is full (nothing is
// listed then, so the list never shows a root the table lacks).
bool RootScanner::record(double r)
{
    if (d_.RootCount >= kResultCapacity)
        return false;
    out_.entries.append(NumberText(r));
    ++d_.RootCount;
    d_.Roots[static_cast<size_t>(d_.RootCount)] = r;
    return true;
}

End RootScanner::run()
{
    for (;;) {
        // A. A new run: the first point is examined only strictly below XUpper.
        double previous = workX;
        workX = scan::advance(workX, h_);
        gridX = workX;
        if (!(workX < xUpper_))
            return End::Finished;
        if (workX == previous)
            return End::Stalled;
        double signLeft = scan::sign(f(workX));
        if (signLeft == 0) {
            if (!record(workX))
                return End::Full;
            continue;
        }

        bool stepFirst = true;
        for (;;) {
            if (stepFirst) {
                // B. Later points of the run, up to and including XUpper.
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
            const double signRight = scan::sign(f(workX));
            if (signRight == 0) {
                if (!record(workX))
                    return End::Full;
                break; // a new run starts after the zero
            }
            if (signRight == signLeft)
                continue;

            // D. Newton from the middle of the subinterval where the sign changed.
            signLeft = signRight;
            const double bracketX = workX;
            workX = checked(workX - h_ / 2);
            int cycles = 0;
            double prevX = 0;
            scan::CycleSkipper repeats(workX);
            do {
                ++cycles;
                prevX = workX;
                const double fx = f(workX);
                const double dfx = df(workX);
                workX = checked(workX - checkedDiv(fx, dfx));
                cycles += repeats.skip(workX, cycles, maxCycles_);
            } while (!(std::fabs(checked(prevX - workX)) <= errorBound_) && cycles < maxCycles_);
            if (std::fabs(prevX - workX) <= errorBound_ && !record(workX))
                return End::Full;
            // Back to C at the bracket's right end, which is examined again.
            workX = bracketX;
            stepFirst = false;
        }
    }
}

} // namespace

QString RootsLabel(int count) { return QString::number(count) + QStringLiteral(" roots"); }

ScanOutcome FindRoots(Dimension& d)
{
    ScanOutcome out;
    d.ScriptMath.ierr = 0;
    d.RootCount = 0;

    double h = 0;
    switch (scan::layOutGrid(d, h)) {
    case scan::Layout::Ready:
        break;
    case scan::Layout::Empty:
        out.completed = true;
        out.label = RootsLabel(0);
        return out;
    case scan::Layout::Broken:
        TrapError(d, ErrOverflow);
        return out;
    }

    RootScanner scanner(d, out, h);
    scanner.workX = d.XLower - h; // unchecked like every grid step
    scanner.gridX = scanner.workX;
    for (;;) {
        try {
            switch (scanner.run()) {
            // A grid that cannot advance has no further point to examine;
            // saying nothing would look as if the command had not run.
            case End::Stalled:
            case End::Finished:
                out.completed = true;
                out.label = RootsLabel(d.RootCount);
                break;
            case End::Full:
                d.ierr = ErrSubscript;
                break;
            }
            return out;
        } catch (const RunTimeError& err) {
            // A failed point or bracket is given up; the scan goes on from
            // the grid point it had reached, starting a new run there.
            if (!isRecoverableEvalError(TrapError(d, err.number())))
                return out;
            scanner.workX = scanner.gridX;
        }
    }
}

} // namespace vendrak
