// The roots and extrema scans: texts, counts and where each scan stops.
#include "core/analysis/extrema.h"
#include "core/analysis/roots.h"
#include "support/analysis_fixtures.h"
#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace vendrak {
namespace {

using test::on;
using test::powerSeries;

TEST(Roots, SignChangesAreRefinedByNewton)
{
    Dimension d = powerSeries({-2, 0, 1}); // x^2 - 2
    const ScanOutcome scan = FindRoots(d);
    EXPECT_EQ(scan.label, "2 roots");
    ASSERT_EQ(d.RootCount, 2);
    // Newton stops once a step is within the bound: one step from the
    // bracket's middle already lands within 3e-5.
    EXPECT_NEAR(d.Roots[1], -1.41421356, 1e-4);
    EXPECT_NEAR(d.Roots[2], 1.41421356, 1e-4);
    EXPECT_EQ(scan.entries, QStringList({NumberText(d.Roots[1]), NumberText(d.Roots[2])}));
}

TEST(Scans, ExactTextsAtGridPointsAndIntervalEnds)
{
    const auto oneCycle = [](Dimension d, double bound) {
        d.MaxCycles = 1;
        d.ErrorBound = bound;
        return d;
    };
    const QString one = "1 possible root(s).";
    const struct {
        const char* name;
        bool roots; // or extrema
        Dimension d;
        QStringList entries;
        QString label;
    } cases[] = {
        // An exact zero on the grid is listed unrefined; the next run starts
        // after it, so it is not met again as a sign change.
        {"f = x", true, powerSeries({0, 1}), {"0"}, "1 roots"},
        // x^2 touches zero without a sign change: found only on a grid point.
        {"x^2", true, powerSeries({0, 0, 1}), {"0"}, "1 roots"},
        {"x^2 off the grid", true, on(powerSeries({0, 0, 1}), -7.99, 8), {}, "0 roots"},
        {"upper end inside a run", true, powerSeries({-8, 1}), {"8"}, "1 roots"},
        {"lower end starts the first run", true, powerSeries({8, 1}), {"-8"}, "1 roots"},
        // After the zero at 7.9375 the next run would start at the upper end.
        {"upper end starting a run", true, on(powerSeries({7.9375 * 8, -15.9375, 1}), 7.9375, 8, 1), {"7.9375"}, "1 roots"},
        {"root refinement misses the bound", true, oneCycle(powerSeries({-2, 0, 1}), 1e-12), {}, "0 roots"},
        // The step after the last grid point overflows: that is past XUpper.
        {"top of the range", true, on(powerSeries({0, 1}), 1e308, 1.7976e308, 1), {}, "0 roots"},
        // The central slope at the grid point 0 is exactly 0, f rises beside
        // it, and |f(0)| is within the bound: a possible root.
        {"flat x^2", false, powerSeries({0, 0, 1}), {"MIN: [0 , 0]"}, "0 max. 1 min. " + one},
        // A flat point that starts a run is written without the space.
        {"x^2 from 0", false, on(powerSeries({0, 0, 1}), 0, 8), {"MIN:[0 , 0]"}, "0 max. 1 min. " + one},
        {"-x^2 from 0", false, on(powerSeries({0, 0, -1}), 0, 8), {"MAX:[0 , 0]"}, "1 max. 0 min. " + one},
        // A refinement that misses the bound adds nothing but still counts.
        {"extremum refinement misses", false, oneCycle(powerSeries({0, 0, 1}, 0.1), 1e-9), {}, "0 max. 0 min. " + one},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dimension d = c.d;
        d.PossibleRootCount = 3; // left from an earlier run
        const ScanOutcome scan = c.roots ? FindRoots(d) : FindExtrema(d);
        EXPECT_TRUE(scan.completed);
        EXPECT_EQ(scan.entries, c.entries);
        EXPECT_EQ(scan.label, c.label);
        EXPECT_EQ(c.roots ? d.RootCount : d.MaxCount + d.MinCount, c.entries.size());
    }
}

TEST(Scans, EmptyGridsAndErrorsEndQuietly)
{
    Dimension missing = powerSeries({0, 0, 1});
    missing.TermCount = 5; // coefficients missing: error 9
    const struct { const char* name; Dimension d; bool completed; int evaluations; } cases[] = {
        {"empty interval", on(powerSeries({0, 0, 1}), -8, -8), true, 0},
        {"reversed interval", on(powerSeries({0, 0, 1}), -8, -9), true, 0},
        // Counts below 1 only come from a saved study.
        {"0 subintervals", on(powerSeries({0, 0, 1}), -8, 8, 0), true, 0},
        {"-256 subintervals", on(powerSeries({0, 0, 1}), -8, 8, -256), true, 0},
        // Every failure starts a new run: each point from -8 up to but not
        // including 8 is a run's first point.
        {"no series", test::startUp(), true, 256},
        {"width overflows", on(powerSeries({0, 1}), -1e308, 1e308), false, 0},
        {"x + h == x", on(powerSeries({0, 0, 1}, 1e20), 1e20, 1e20 + 65536, 1 << 20), true, 0},
        {"missing coefficients", missing, false, 1},
    };
    for (const auto& c : cases) {
        for (const bool roots : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (roots ? ", roots" : ", extrema"));
            Dimension d = c.d;
            d.RootCount = d.MinCount = d.PossibleRootCount = 3; // left from an earlier run
            const ScanOutcome scan = roots ? FindRoots(d) : FindExtrema(d);
            EXPECT_EQ(scan.completed, c.completed);
            EXPECT_EQ(scan.evaluations, c.evaluations);
            EXPECT_TRUE(scan.entries.isEmpty());
            EXPECT_EQ(scan.label, !c.completed ? "" : roots ? "0 roots" : "0 max. 0 min. ");
            EXPECT_EQ(roots ? d.RootCount : d.MinCount, 0);
        }
    }
}

TEST(Roots, NewtonMeetingZeroSlopeSkipsBracketAndNextSubinterval)
{
    // f(t) = t^3 (t - 0.06)(t - 1) - 6e-8, t = x - centre: roots near t =
    // 0.01, 0.06 and 1, and f'(0) = 0 exactly. With the centre in the middle
    // of the bracket [0, 0.0625] the first Newton step divides by 0; the scan
    // resumes after 0.0625, so the root in [0.0625, 0.125] is lost too, but
    // the one near 1.03125 is found.
    const std::vector<double> c{-6e-8, 0, 0, 0.06, -1.06, 1};
    Dimension d = powerSeries(c, 0.03125);
    EXPECT_EQ(FindRoots(d).label, "1 roots");
    ASSERT_EQ(d.RootCount, 1);
    EXPECT_NEAR(d.Roots[1], 1.03125, 1e-6);
    EXPECT_EQ(d.ierr, errorCode(ErrorNumber::DivisionByZero));

    // Shifted so that Newton starts beside the first root: all three found.
    Dimension control = powerSeries(c, 0.02125);
    EXPECT_EQ(FindRoots(control).label, "3 roots");
}

TEST(Roots, TheTableHoldsAt255AndTheListAgrees)
{
    // sin(2 pi x / 0.05) has 640 roots in [-8, 8].
    Dimension d = on(test::trigSeries({0, 1}, 0, 0.05), -8, 8, 4096);
    const ScanOutcome scan = FindRoots(d);
    EXPECT_FALSE(scan.completed); // stopped at the 256th root, label untouched
    ASSERT_EQ(d.RootCount, kResultCapacity);
    ASSERT_EQ(scan.entries.size(), kResultCapacity);
    for (int i = 1; i <= kResultCapacity; ++i)
        EXPECT_EQ(scan.entries[i - 1], NumberText(d.Roots[static_cast<size_t>(i)])) << i;
}

TEST(Extrema, SlopeChangeRefinedByNewton)
{
    // (x - 0.1)^2: the slope changes sign between 0.0625 and 0.125; one
    // Newton step lands on 0.1, the next confirms it.
    Dimension d = powerSeries({0, 0, 1}, 0.1);
    ScanOutcome scan = FindExtrema(d);
    EXPECT_EQ(scan.label, "0 max. 1 min. 1 possible root(s).");
    ASSERT_EQ(d.MinCount, 1);
    EXPECT_NEAR(d.Minima[1], 0.1, 1e-12);
    EXPECT_EQ(scan.entries,
              QStringList{"MIN: [" + NumberText(d.Minima[1]) + " , " + NumberText(EvalSeries(d, d.Minima[1])) + "]"});

    // Without possible roots the label ends with a space.
    Dimension hill = powerSeries({5, 0, -1}, 0.1);
    scan = FindExtrema(hill);
    EXPECT_EQ(scan.label, "1 max. 0 min. ");
    EXPECT_TRUE(scan.entries.value(0).startsWith("MAX: [0.1") && scan.entries.value(0).endsWith(" , 5]"));
}

TEST(Extrema, RefinementsCloserThanTheBoundAreOneEntry)
{
    // cos(2 pi x): minima at 0.5 and 1.5, a maximum at 1. With a bound this
    // large every refinement stops after its first Newton step, so the
    // refined minima do not depend on the bound; only the distance test does.
    Dimension d = on(test::trigSeries({0, 0, 1}, 0, 1), 0.13, 1.93, 16);
    d.ErrorBound = 0.9;
    FindExtrema(d);
    ASSERT_EQ(d.MinCount, 2);
    const double first = d.Minima[1];
    const double second = d.Minima[2];
    const double distance = std::fabs(second - first);
    EXPECT_NEAR(distance, 1.0, 0.01);

    d.ErrorBound = distance; // exactly the bound: still two
    EXPECT_EQ(FindExtrema(d).entries.size(), 3);
    EXPECT_EQ(d.Minima[2], second);
    d.ErrorBound = std::nextafter(distance, 2.0); // just above: one
    EXPECT_EQ(FindExtrema(d).entries.size(), 2);
    EXPECT_EQ(d.MinCount, 1);
    EXPECT_EQ(d.Minima[1], first);
}

// T15 (Chebyshev) or P20 (Legendre) about 0, by the three-term recurrence on
// coefficient vectors, rounded to double once at the end.
std::vector<double> orthogonalPolynomial(int n, bool legendre)
{
    std::vector<long double> prev{1}, cur{0, 1};
    for (int k = 1; k < n; ++k) {
        const long double a = legendre ? (2 * k + 1.0L) / (k + 1) : 2, b = legendre ? k / (k + 1.0L) : 1;
        std::vector<long double> next(cur.size() + 1, 0);
        for (size_t i = 0; i < cur.size(); ++i)
            next[i + 1] = a * cur[i] - (i + 1 < prev.size() ? b * prev[i + 1] : 0);
        next[0] = -b * prev[0];
        prev = std::exchange(cur, std::move(next));
    }
    return {cur.begin(), cur.end()};
}

// The zeros of p' in (lower, upper), bracketed on a fine grid and bisected in
// long double: references independent of the scan and of its Newton steps.
std::vector<double> slopeZeros(const std::vector<double>& c, double lower, double upper)
{
    const auto slope = [&](long double x) {
        long double s = 0;
        for (size_t k = c.size() - 1; k >= 1; --k)
            s = s * x + k * static_cast<long double>(c[k]);
        return s;
    };
    std::vector<double> zeros;
    const int n = 1 << 14;
    for (int i = 0; i < n; ++i) {
        long double a = lower + (upper - lower) * static_cast<long double>(i) / n;
        long double b = lower + (upper - lower) * static_cast<long double>(i + 1) / n;
        if (slope(b) == 0 && i + 1 < n)
            zeros.push_back(static_cast<double>(b)); // T15 has two, at +-0.5
        if (slope(a) == 0 || slope(b) == 0 || (slope(a) < 0) == (slope(b) < 0))
            continue;
        for (int step = 0; step < 100; ++step) {
            const long double m = (a + b) / 2;
            ((slope(m) < 0) == (slope(a) < 0) ? a : b) = m;
        }
        zeros.push_back(static_cast<double>((a + b) / 2));
    }
    return zeros;
}

TEST(Extrema, NewtonWithExactDerivativesFindsEveryExtremumToTheBound)
{
    // With difference quotients, T15's extrema were off by 9e-7 and P20
    // lost the minima at +-0.8793 to rounding noise.
    const struct { const char* name; Dimension d; size_t extrema; } cases[] = {
        {"T15", on(powerSeries(orthogonalPolynomial(15, false)), -1, 1), 14},
        {"P20", on(powerSeries(orthogonalPolynomial(20, true)), -1, 1), 19},
        {"sine, degree 25", test::sineTaylor(25), 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dimension d = c.d;
        d.ErrorBound = 1e-12;
        const ScanOutcome scan = FindExtrema(d);
        std::vector<double> found(d.Maxima.begin() + 1, d.Maxima.begin() + 1 + d.MaxCount);
        found.insert(found.end(), d.Minima.begin() + 1, d.Minima.begin() + 1 + d.MinCount);
        std::sort(found.begin(), found.end());
        const std::vector<double> reference = slopeZeros(d.Coeffs, d.XLower, d.XUpper);
        ASSERT_EQ(reference.size(), c.extrema);
        ASSERT_EQ(found.size(), c.extrema);
        EXPECT_EQ(scan.entries.size(), static_cast<qsizetype>(found.size()));
        for (size_t i = 0; i < found.size(); ++i)
            EXPECT_NEAR(found[i], reference[i], 1e-11) << i;
        if (c.name[0] == 'T') {
            for (int k = 1; k <= 14; ++k)
                EXPECT_NEAR(found[14 - k], std::cos(k * std::numbers::pi / 15), 1e-11) << k;
            for (int i = 1; i <= d.MaxCount; ++i)
                EXPECT_NEAR(EvalSeries(d, d.Maxima[size_t(i)]), 1, 1e-11);
            for (int i = 1; i <= d.MinCount; ++i)
                EXPECT_NEAR(EvalSeries(d, d.Minima[size_t(i)]), -1, 1e-11);
        }
    }
}

// Newton's method on x^3 - 2x + 2 from 0 alternates between 0 and 1 for
// ever. With the largest cycle limit the fields allow, each bracket took
// 2^30 steps: minutes with the window frozen. The scans now skip whole
// periods of a repetition, which must not change what they find.
namespace {

Dimension cyclingNewton(int maxCycles, std::vector<double> coeffs)
{
    Dimension d = test::powerSeries(std::move(coeffs));
    d.XLower = -2;
    d.XUpper = 2;
    d.Subintervals = 1; // one bracket, [-2, 2], Newton starts at its middle, 0
    d.ErrorBound = 0.01;
    d.MaxCycles = maxCycles;
    return d;
}

} // namespace

TEST(NewtonRepetition, ARootBracketThatNeverConvergesEndsAtOnce)
{
    for (int limit : {20, 21, 1 << 30, (1 << 30) - 1, 2147483647}) {
        Dimension d = cyclingNewton(limit, {2, -2, 0, 1});
        QElapsedTimer t;
        t.start();
        const ScanOutcome out = FindRoots(d);
        EXPECT_LT(t.elapsed(), 1000) << limit;
        EXPECT_TRUE(out.completed) << limit;
        EXPECT_EQ(d.RootCount, 0) << limit;
        EXPECT_LT(out.evaluations, 100) << limit;
    }
    // A bound of 0 (met only when an iterate repeats exactly) or a negative
    // one (never met) leaves the count limit alone to end the iteration.
    for (double bound : {0.0, -1.0}) {
        Dimension d = test::powerSeries({-2, 0, 1});
        d.XLower = -7.99;
        d.ErrorBound = bound;
        d.MaxCycles = 1 << 30;
        const ScanOutcome out = FindRoots(d);
        EXPECT_TRUE(out.completed) << bound;
        EXPECT_LT(out.evaluations, 10000) << bound;
        if (bound < 0) {
            EXPECT_EQ(d.RootCount, 0);
        }
    }
}

// f' = x^3 - 2x + 2 (f = x^4/4 - x^2 + 2x): Newton on the slope alternates
// between 0 and 1 as well. Where the iteration stops still decides whether
// a possible root is counted (|f(0)| = 0, |f(1)| = 1.25), and a large limit
// must stop where the small one of the same parity does.
TEST(NewtonRepetition, AnExtremumBracketEndsWhereTheFullCountWouldHaveEnded)
{
    auto possibleRoots = [](int limit) {
        Dimension d = cyclingNewton(limit, {0, 2, -1, 0, 0.25});
        QElapsedTimer t;
        t.start();
        const ScanOutcome out = FindExtrema(d);
        EXPECT_LT(t.elapsed(), 1000) << limit;
        EXPECT_TRUE(out.completed) << limit;
        EXPECT_EQ(d.MaxCount + d.MinCount, 0) << limit;
        return d.PossibleRootCount;
    };
    EXPECT_EQ(possibleRoots(1 << 30), possibleRoots(64));
    EXPECT_EQ(possibleRoots((1 << 30) - 1), possibleRoots(63));
    EXPECT_NE(possibleRoots(64), possibleRoots(63));
}

} // namespace
} // namespace vendrak
