#include "analysis/error_trap.h"
#include "analysis/roots.h"
#include "analysis_fixtures.h"
#include "shell/errors.h"
#include "shell/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vendrak {
namespace {

using test::powerSeries;
using test::startUp;
using test::trigSeries;

// The list, the count and the table say the same thing.
void expectListMatchesTable(const ScanOutcome& scan, const Dimension& d)
{
    ASSERT_EQ(scan.entries.size(), d.RootCount);
    for (int i = 1; i <= d.RootCount; ++i)
        EXPECT_EQ(scan.entries[i - 1], NumberText(d.Roots[static_cast<size_t>(i)])) << "root " << i;
}

TEST(Roots, SignChangesAreRefinedByNewton)
{
    Dimension d = powerSeries({-2, 0, 1}); // x^2 - 2
    const ScanOutcome scan = FindRoots(d);
    ASSERT_TRUE(scan.completed);
    EXPECT_EQ(scan.label, "2 roots");
    ASSERT_EQ(d.RootCount, 2);
    // Newton stops once a step is within the error bound: one step from the
    // bracket's middle already lands within 3e-5.
    EXPECT_NEAR(d.Roots[1], -1.41421356, 1e-4);
    EXPECT_NEAR(d.Roots[2], 1.41421356, 1e-4);
    expectListMatchesTable(scan, d);
}

TEST(Roots, ExactZerosAtGridPointsAreListedUnrefined)
{
    // f = x: 0 is a grid point of -8 + k/16; the next run starts after it, so
    // the zero is not met again as a sign change.
    Dimension line = powerSeries({0, 1});
    ScanOutcome scan = FindRoots(line);
    EXPECT_EQ(scan.entries, QStringList{"0"});
    EXPECT_EQ(scan.label, "1 roots");

    // f = x^2 touches zero without a sign change: found only on the grid point.
    Dimension square = powerSeries({0, 0, 1});
    scan = FindRoots(square);
    EXPECT_EQ(scan.entries, QStringList{"0"});
    square.XLower = -7.99;
    scan = FindRoots(square);
    EXPECT_TRUE(scan.entries.isEmpty());
    EXPECT_EQ(scan.label, "0 roots");
    EXPECT_EQ(square.RootCount, 0);
}

TEST(Roots, EndsOfTheIntervalStrictForARunStartInclusiveLater)
{
    // f = x - 8: the upper end is a grid point examined inside a run.
    Dimension d = powerSeries({-8, 1});
    EXPECT_EQ(FindRoots(d).entries, QStringList{"8"});
    // f = x + 8: the lower end starts the first run.
    d = powerSeries({8, 1});
    EXPECT_EQ(FindRoots(d).entries, QStringList{"-8"});
    // A zero at the upper end that would start a run is not examined:
    // (x - 7.9375)(x - 8) on [7.9375, 8] with one subinterval; after the zero
    // at 7.9375 the next run would start at 8.
    d = powerSeries({7.9375 * 8, -(7.9375 + 8), 1});
    d.XLower = 7.9375;
    d.Subintervals = 1;
    EXPECT_EQ(FindRoots(d).entries, QStringList{"7.9375"});
}

TEST(Roots, EmptyOrReversedIntervalExaminesNothing)
{
    for (const double upper : {-8.0, -9.0}) {
        Dimension d = powerSeries({-2, 0, 1});
        d.XUpper = upper;
        const ScanOutcome scan = FindRoots(d);
        EXPECT_TRUE(scan.completed);
        EXPECT_EQ(scan.evaluations, 0);
        EXPECT_EQ(scan.label, "0 roots");
    }
}

TEST(Roots, NewtonThatMissesTheBoundRecordsNothing)
{
    Dimension d = powerSeries({-2, 0, 1});
    d.MaxCycles = 1;
    d.ErrorBound = 1e-12;
    const ScanOutcome scan = FindRoots(d);
    EXPECT_TRUE(scan.completed);
    EXPECT_TRUE(scan.entries.isEmpty());
    EXPECT_EQ(scan.label, "0 roots");
}

// f(t) = t^3 (t - 0.06)(t - 1) - 6e-8 with t = x - centre has roots near
// t = 0.01, 0.06 and 1, and f'(0) = 0 exactly.
Dimension flatStartSeries(double centre)
{
    return powerSeries({-6e-8, 0, 0, 0.06, -1.06, 1}, centre);
}

TEST(Roots, NewtonMeetingZeroSlopeSkipsBracketAndNextSubinterval)
{
    // Centre 0.03125 is the middle of the bracket [0, 0.0625] where f changes
    // sign: the first Newton step divides by f' = 0. The scan resumes after
    // 0.0625, so the root near 0.09125 in [0.0625, 0.125] is not seen either;
    // the root near 1.03125 still is.
    Dimension d = flatStartSeries(0.03125);
    const ScanOutcome scan = FindRoots(d);
    ASSERT_TRUE(scan.completed);
    EXPECT_EQ(scan.label, "1 roots");
    ASSERT_EQ(d.RootCount, 1);
    EXPECT_NEAR(d.Roots[1], 1.03125, 1e-6);
    EXPECT_EQ(d.ierr, ErrDivisionByZero);

    // The same curve placed so that Newton starts next to the first root:
    // all three are found (to within the error bound; they lie near 0.0320,
    // 0.0810 and 1.0213).
    Dimension control = flatStartSeries(0.02125);
    FindRoots(control);
    ASSERT_EQ(control.RootCount, 3);
    EXPECT_NEAR(control.Roots[1], 0.0320, 0.01);
    EXPECT_NEAR(control.Roots[2], 0.0810, 0.01);
    EXPECT_NEAR(control.Roots[3], 1.0213, 0.01);
}

TEST(Roots, NoSeriesLoadedEveryPointFailsAndTheScanRunsThrough)
{
    Dimension d = startUp();
    const ScanOutcome scan = FindRoots(d);
    EXPECT_TRUE(scan.completed);
    EXPECT_TRUE(scan.entries.isEmpty());
    EXPECT_EQ(scan.label, "0 roots");
    // Every failure starts a new run, so each point is a run's first point:
    // -8 up to but not including 8.
    EXPECT_EQ(scan.evaluations, 256);
    EXPECT_TRUE(isRecoverableEvalError(d.ierr));
}

TEST(Roots, AnErrorThatIsNotRecoverableEndsQuietly)
{
    // A malformed series: fewer coefficients than its degree needs (error 9).
    Dimension d = powerSeries({-2, 0, 1});
    d.TermCount = 5;
    d.RootCount = 7;
    const ScanOutcome scan = FindRoots(d);
    EXPECT_FALSE(scan.completed);
    EXPECT_TRUE(scan.label.isEmpty());
    EXPECT_EQ(scan.evaluations, 1);
    EXPECT_EQ(d.RootCount, 0);
    EXPECT_EQ(d.ierr, ErrSubscript);
}

TEST(Roots, MathObjectNumberWinsInTheTrap)
{
    Dimension d;
    d.ScriptMath.ierr = ErrInvalidCall;
    EXPECT_EQ(TrapError(d, ErrDivisionByZero), ErrInvalidCall);
    EXPECT_EQ(d.ierr, ErrInvalidCall);
    EXPECT_EQ(d.ScriptMath.ierr, 0);
    EXPECT_EQ(TrapError(d, ErrSubscript), ErrSubscript);
    EXPECT_EQ(d.ierr, ErrSubscript);
}

TEST(Roots, TheTableHoldsAt255AndTheListAgrees)
{
    // sin(2 pi x / 0.05) has 640 roots in [-8, 8].
    Dimension d = trigSeries({0, 1}, 0, 0.05);
    d.Subintervals = 4096;
    const ScanOutcome scan = FindRoots(d);
    EXPECT_FALSE(scan.completed); // stopped at the 256th root, label untouched
    EXPECT_EQ(d.RootCount, kResultCapacity);
    expectListMatchesTable(scan, d);
    // -8 itself is a root at the grid's first point but f there is a rounding
    // residue, not 0, so the first root listed is the next one.
    EXPECT_NEAR(d.Roots[1], -7.975, 1e-3);
    EXPECT_NEAR(d.Roots[255], -7.975 + 254 * 0.025, 1e-3);
}

TEST(Roots, DegenerateGridsEndWithoutHanging)
{
    // Subinterval counts below 1 can only come from a saved study.
    for (const int n : {0, -1, -256}) {
        Dimension d = powerSeries({-2, 0, 1});
        d.Subintervals = n;
        const ScanOutcome scan = FindRoots(d);
        EXPECT_TRUE(scan.completed) << n;
        EXPECT_EQ(scan.evaluations, 0) << n;
        EXPECT_EQ(scan.label, "0 roots") << n;
    }

    // The width overflows: there is no step to walk by.
    Dimension wide = powerSeries({0, 1});
    wide.XLower = -1e308;
    wide.XUpper = 1e308;
    ScanOutcome scan = FindRoots(wide);
    EXPECT_FALSE(scan.completed);
    EXPECT_EQ(scan.evaluations, 0);
    EXPECT_EQ(wide.ierr, ErrOverflow);

    // The step is below the spacing of doubles near 1e20: x + h == x.
    Dimension narrow = powerSeries({-1e20, 1});
    narrow.XLower = 1e20;
    narrow.XUpper = 1e20 + 65536;
    narrow.Subintervals = 1 << 20;
    scan = FindRoots(narrow);
    EXPECT_FALSE(scan.completed);
    EXPECT_EQ(scan.evaluations, 0);

    // The step after the last grid point overflows: that is past XUpper.
    Dimension top = powerSeries({0, 1});
    top.XLower = 1e308;
    top.XUpper = 1.7976e308;
    top.Subintervals = 1;
    scan = FindRoots(top);
    EXPECT_TRUE(scan.completed);
    EXPECT_EQ(scan.evaluations, 2);
    EXPECT_EQ(scan.label, "0 roots");
}

} // namespace
} // namespace vendrak
