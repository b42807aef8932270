// The roots and extrema scans (texts, counts, where each stops), the integral and the value at a point.
#include "core/analysis/extrema.h"
#include "core/analysis/grid_lookahead.h"
#include "core/analysis/integral.h"
#include "core/analysis/point_value.h"
#include "core/analysis/roots.h"
#include "core/analysis/slope_sign.h"
#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"
#include "support/analysis_fixtures.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

namespace vendrak {
namespace {

using test::on;
using test::powerSeries;
using test::trigSeries;

Dimension limited(Dimension d, double bound, int cycles)
{
    std::tie(d.study.ErrorBound, d.study.MaxCycles) = std::pair(bound, cycles);
    return d;
}

TEST(Scans, ExactTextsAtGridPointsAndIntervalEnds)
{
    const QString one = "1 possible root(s).";
    const struct { const char* name; bool roots; Dimension d; QStringList entries; QString label; } cases[] = {
        // An exact zero on the grid is listed unrefined; the next run starts after it, so it is not met again.
        {"f = x", true, powerSeries({0, 1}), {"0"}, "1 roots"},
        {"x^2", true, powerSeries({0, 0, 1}), {"0"}, "1 roots"}, // no sign change: found only on a grid point
        {"x^2 off the grid", true, on(powerSeries({0, 0, 1}), -7.99, 8), {}, "0 roots"},
        {"upper end inside a run", true, powerSeries({-8, 1}), {"8"}, "1 roots"},
        {"lower end starts the first run", true, powerSeries({8, 1}), {"-8"}, "1 roots"},
        // After the zero at 7.9375 the next run would start at the upper end.
        {"upper end starting a run", true, on(powerSeries({7.9375 * 8, -15.9375, 1}), 7.9375, 8, 1), {"7.9375"}, "1 roots"},
        {"root refinement misses the bound", true, limited(powerSeries({-2, 0, 1}), 1e-12, 1), {}, "0 roots"},
        {"top of the range", true, on(powerSeries({0, 1}), 1e308, 1.7976e308, 1), {}, "0 roots"}, // the next step overflows
        // Bound 0: Newton from 0.125 reaches 0 exactly, and the step 0 is within the bound.
        {"root exactly within a bound of 0", true, limited(on(powerSeries({0, 1}), -1, 2, 4), 0, 20), {"0"}, "1 roots"},
        // The central slope at 0 is exactly 0, f rises beside it, |f(0)| is within the bound: a possible root.
        {"flat x^2", false, powerSeries({0, 0, 1}), {"MIN: [0 , 0]"}, "0 max. 1 min. " + one},
        {"x^2 from 0", false, on(powerSeries({0, 0, 1}), 0, 8), {"MIN:[0 , 0]"}, "0 max. 1 min. " + one}, // no space
        {"-x^2 from 0", false, on(powerSeries({0, 0, -1}), 0, 8), {"MAX:[0 , 0]"}, "1 max. 0 min. " + one},
        // A refinement that misses the bound adds nothing but still counts.
        {"extremum refinement misses", false, limited(powerSeries({0, 0, 1}, 0.1), 1e-9, 1), {}, "0 max. 0 min. " + one},
        {"constant", false, powerSeries({3}), {}, "0 max. 0 min. "}, // flat everywhere, never rising or falling
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dimension d = c.d;
        d.results.PossibleRootCount = 3; // left from an earlier run
        const ScanOutcome scan = c.roots ? test::roots(d) : test::extrema(d);
        EXPECT_TRUE(scan.completed);
        EXPECT_EQ(std::pair(scan.entries, scan.label), std::pair(c.entries, c.label));
        EXPECT_EQ(c.roots ? d.results.Roots.size() : d.results.Maxima.size() + d.results.Minima.size(), size_t(c.entries.size()));
    }
    // Refined by Newton: one step from the bracket's middle already lands within 3e-5; (x - 0.1)^2 to 0.1 at once.
    Dimension d = powerSeries({-2, 0, 1});
    QStringList entries = test::roots(d).entries;
    ASSERT_EQ(d.results.Roots.size(), 2u);
    EXPECT_EQ(entries, QStringList({NumberText(d.results.Roots[0]), NumberText(d.results.Roots[1])}));
    EXPECT_LT(std::max(std::fabs(d.results.Roots[0] + std::sqrt(2.0)), std::fabs(d.results.Roots[1] - std::sqrt(2.0))), 1e-4);
    d = powerSeries({0, 0, 1}, 0.1);
    entries = test::extrema(d).entries;
    EXPECT_EQ(entries, QStringList{"MIN: [" + NumberText(d.results.Minima.at(0)) + " , " + NumberText(EvalSeries(d.series, d.results.Minima[0])) + "]"});
    EXPECT_NEAR(d.results.Minima[0], 0.1, 1e-12);
    d = powerSeries({5, 0, -1}, 0.1); // without possible roots the label ends with a space
    const ScanOutcome hill = test::extrema(d);
    EXPECT_EQ(hill.label, "1 max. 0 min. ");
    EXPECT_TRUE(hill.entries.value(0).startsWith("MAX: [0.1") && hill.entries.value(0).endsWith(" , 5]"));
}

TEST(Scans, EmptyGridsAndErrorsEndQuietly)
{
    Dimension missing = powerSeries({0, 0, 1});
    missing.series.TermCount = 5; // coefficients missing: error 9
    const struct { const char* name; Dimension d; bool completed; long long evaluations; } cases[] = {
        {"empty interval", on(powerSeries({0, 0, 1}), -8, -8), true, 0},
        {"reversed interval", on(powerSeries({0, 0, 1}), -8, -9), true, 0},
        {"0 subintervals", on(powerSeries({0, 0, 1}), -8, 8, 0), true, 0}, // below 1 only from a saved study
        {"-256 subintervals", on(powerSeries({0, 0, 1}), -8, 8, -256), true, 0},
        {"no series", test::startUp(), true, 256}, // every failure starts a new run: each point up to 8 a first one
        {"width overflows", on(powerSeries({0, 1}), -1e308, 1e308), false, 0},
        {"x + h == x", on(powerSeries({0, 0, 1}, 1e20), 1e20, 1e20 + 65536, 1 << 20), true, 0},
        {"missing coefficients", missing, false, 1},
    };
    for (const auto& c : cases)
        for (const bool roots : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (roots ? ", roots" : ", extrema"));
            Dimension d = c.d;
            d.results.Roots = d.results.Minima = {1, 2, 3}; // left from an earlier run
            d.results.PossibleRootCount = 3;
            const ScanOutcome scan = roots ? test::roots(d) : test::extrema(d);
            EXPECT_EQ(std::pair(scan.completed, scan.evaluations), std::pair(c.completed, c.evaluations));
            EXPECT_TRUE(scan.entries.isEmpty());
            EXPECT_EQ(scan.label, !c.completed ? "" : roots ? "0 roots" : "0 max. 0 min. ");
            EXPECT_EQ(roots ? d.results.Roots.size() : d.results.Minima.size(), 0u);
        }
}

// Random studies scanned with the grid values from the block evaluators and from the one-point evaluator alone:
// wide intervals that overflow, periods of 0, exact zeros at grid points, tables that fill up, and power series
// even or odd about a centre just off a grid point, whose slope there is within rounding of 0.
TEST(Scans, GridValuesFromTheBlockEvaluatorsChangeNothing)
{
    std::mt19937_64 rng(26);
    std::uniform_real_distribution<double> unit(-1, 1);
    const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    int entries = 0, errors = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        // A grid through the half periods m P / 2. Cosines alone: the slope's two values there agree within
        // rounding. Sines alone: sin(j theta) is about (-1)^(jm) j m times the error of pi, and with sum (+-1)^j j
        // C[2j-1] = 0 the sums are within rounding of 0.
        const bool power = trial % 2 == 0, halves = pick(3) == 0, alternate = pick(2) == 0, sines = pick(2) == 0;
        const bool lengthy = trial % 100 == 98; // long enough for the grid values to be shared out over threads
        std::vector<double> c(size_t(halves ? 3 + pick(38) : lengthy ? 1500 + pick(1000) : pick(40)) + 1);
        for (size_t k = 0; k < c.size(); ++k)
            c[k] = halves && k % 2 == size_t(!sines) ? 0 : unit(rng) * std::pow(10.0, 2 * unit(rng));
        for (size_t k = 3; halves && sines && k < c.size(); k += 2)
            c[1] += (alternate && k % 4 == 3 ? 1.0 : -1.0) * double(k + 1) / 2 * c[k] - (k == 3 ? c[1] : 0);
        const double period = halves ? std::ldexp(1, pick(4) - 1) : pick(10) == 0 ? 0 : std::pow(10.0, 1.5 * unit(rng) - 0.5);
        const double lower = halves ? -period * pick(4) : unit(rng) * 8;
        const double width = halves ? period * (1 << pick(5)) : std::pow(10.0, 1.5 * unit(rng) + (pick(8) == 0 ? 2.5 : 0.5));
        Dimension d = on(power ? powerSeries(c, halves ? std::ldexp(unit(rng), -30 - pick(20)) : lower) : trigSeries(c, 0, period), lower, lower + width,
                         halves ? 1 << pick(11) : lengthy ? 1 << 13 : 1 + pick(2000));
        d = limited(d, std::pow(10.0, -pick(12)), 1 + pick(30));
        for (auto scan : {&test::roots, &test::extrema}) {
            Dimension one = d, block = d;
            scan::GridLookahead::use = scan::GridLookahead::Use::Never;
            const ScanOutcome expected = scan(one);
            scan::GridLookahead::use = scan::GridLookahead::Use::Always;
            const ScanOutcome got = scan(block);
            ASSERT_EQ(std::tuple(got.entries.join("|").toStdString(), got.label.toStdString(), got.completed, got.error, got.evaluations, block.errors.ierr),
                      std::tuple(expected.entries.join("|").toStdString(), expected.label.toStdString(), expected.completed, expected.error,
                                 expected.evaluations, one.errors.ierr)) << trial;
            const Results &r = block.results, &e = one.results;
            ASSERT_EQ(std::tuple(r.Roots, r.Maxima, r.Minima, r.PossibleRootCount),
                      std::tuple(e.Roots, e.Maxima, e.Minima, e.PossibleRootCount)) << trial;
            entries += int(got.entries.size());
            errors += got.error.has_value() + (one.errors.ierr != 0);
        }
    }
    scan::GridLookahead::use = scan::GridLookahead::Use::WhereItPays;
    EXPECT_GT(entries, 40000);
    EXPECT_GT(errors, 400);
}

// The slope's bound: at every point of a block, the difference polynomial's block value lies within it of the
// difference of the two one-point values, for short and long series, far from the centre (where forming x + d and
// x - c rounds) and near it. The values are the one-point evaluator's, the reference the scans must agree with.
TEST(Scans, TheSlopeBoundHoldsAtEveryPoint)
{
    std::mt19937_64 rng(2026);
    std::uniform_real_distribution<double> unit(-1, 1);
    int settled = 0, points = 0;
    for (int trial = 0; trial < 300; ++trial) {
        // Every fifth is (t - a)^m expanded, near a: its sums cancel down to their rounding.
        const bool power = trial % 5 == 0;
        const double a = 0.5 + std::fabs(unit(rng)) / 2;
        std::vector<double> c(size_t(power ? 10 + rng() % 30 : trial % 50 == 7 ? 1000 : 1 + rng() % 60) + 1, 0);
        c[0] = 1;
        for (size_t m = 1; m < c.size(); ++m)
            for (size_t k = m + 1; k-- > 0;)
                c[k] = (k > 0 ? c[k - 1] : 0) - (power ? a * c[k] : 0);
        for (double& v : c)
            v = power ? v : unit(rng) * std::pow(10.0, 3 * unit(rng));
        const double centre = trial % 3 == 0 || power ? 0 : trial % 3 == 1 ? 10 * unit(rng) : 1e6 * (1 + unit(rng));
        const Series s = powerSeries(c, centre).series;
        const auto slope = scan::SlopeSign::of(s, kSlopeStep);
        ASSERT_TRUE(slope);
        std::vector<double> xs{centre + (power ? a - 0.01 : unit(rng) * (trial % 4 == 0 ? 0.01 : 1.5))};
        const double h = power ? 0.02 / 512 : std::pow(10.0, -1 - 4 * std::fabs(unit(rng)));
        while (xs.size() < 512)
            xs.push_back(xs.back() + h);
        const double bound = slope->bound(xs.front(), xs.back());
        const BlockValues g = slope->evaluator()(xs);
        for (size_t i = 0; i < xs.size() && std::isfinite(bound); ++i) {
            const double above = EvalSeries(s, xs[i] + kSlopeStep), below = EvalSeries(s, xs[i] - kSlopeStep);
            ASSERT_LE(std::fabs((static_cast<long double>(above) - below) - g.values[i]), bound) << trial << " at " << i;
            settled += std::fabs(g.values[i]) > bound;
            ++points;
        }
    }
    EXPECT_GT(settled, points / 2); // the bound is not so wide as to settle nothing
}

// Blocks shared out over more threads than before, fewer, and more again: every part runs once a run, and a
// part's exception reaches the caller.
TEST(Scans, SharedWorkRunsEachPartOnceWhateverTheThreadsBefore)
{
    scan::SharedWork work;
    for (const std::size_t parts : {2, 4, 1, 3, 6, 2}) {
        std::vector<std::atomic<int>> ran(parts);
        work.run(parts, [&](std::size_t i) { ++ran.at(i); });
        for (std::size_t i = 0; i < parts; ++i)
            ASSERT_EQ(ran[i].load(), 1) << parts << " parts, part " << i;
    }
    EXPECT_THROW(work.run(3, [](std::size_t i) { if (i == 2) throw Error(ErrorNumber::Overflow); }), Error);
}

TEST(Roots, NewtonMeetingZeroSlopeSkipsBracketAndNextSubintervalAndTheTableHoldsAt255)
{
    // f(t) = t^3 (t - 0.06)(t - 1) - 6e-8, t = x - centre: roots near t = 0.01, 0.06 and 1, and f'(0) = 0 exactly.
    // Centred in the bracket [0, 0.0625] the first Newton step divides by 0; the scan resumes after 0.0625, so the
    // root in [0.0625, 0.125] is lost too, but the one near 1.03125 is found.
    const std::vector<double> c{-6e-8, 0, 0, 0.06, -1.06, 1};
    Dimension d = powerSeries(c, 0.03125);
    EXPECT_EQ(test::roots(d).label, "1 roots");
    EXPECT_NEAR(d.results.Roots.at(0), 1.03125, 1e-6);
    EXPECT_EQ(d.errors.ierr, errorCode(ErrorNumber::DivisionByZero));
    Dimension control = powerSeries(c, 0.02125); // Newton starts beside the first root: all three found
    EXPECT_EQ(test::roots(control).label, "3 roots");

    Dimension many = on(trigSeries({0, 1}, 0, 0.05), -8, 8, 4096); // 640 roots in [-8, 8]
    const ScanOutcome scan = test::roots(many);
    EXPECT_FALSE(scan.completed); // stopped at the 256th root, label untouched
    ASSERT_EQ(std::pair(many.results.Roots.size(), scan.entries.size()), std::pair(size_t(kResultCapacity), qsizetype(kResultCapacity)));
    for (int i = 0; i < kResultCapacity; ++i)
        EXPECT_EQ(scan.entries[i], NumberText(many.results.Roots[size_t(i)])) << i;
}

TEST(Extrema, RefinementsCloserThanTheBoundAreOneEntry)
{
    // cos(2 pi x): minima at 0.5 and 1.5, a maximum at 1. With a bound this large every refinement stops after its
    // first Newton step, so the refined minima do not depend on the bound; only the distance test does.
    Dimension d = limited(on(trigSeries({0, 0, 1}, 0, 1), 0.13, 1.93, 16), 0.9, 20);
    test::extrema(d);
    ASSERT_EQ(d.results.Minima.size(), 2u);
    const double first = d.results.Minima[0], second = d.results.Minima[1], distance = std::fabs(second - first);
    EXPECT_NEAR(distance, 1.0, 0.01);
    d.study.ErrorBound = distance; // exactly the bound: still two
    EXPECT_EQ(test::extrema(d).entries.size(), 3);
    EXPECT_EQ(d.results.Minima.at(1), second);
    d.study.ErrorBound = std::nextafter(distance, 2.0); // just above: one
    EXPECT_EQ(test::extrema(d).entries.size(), 2);
    EXPECT_EQ(d.results.Minima, std::vector<double>{first});
}

// T15 (Chebyshev) or P20 (Legendre) by the three-term recurrence in long double, rounded to double once at the end.
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

// The zeros of p' in (lower, upper), bracketed on a fine grid and bisected in long double: references independent
// of the scan and of its Newton steps.
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
    const long double width = upper - lower;
    for (int i = 0; i < n; ++i) {
        long double a = lower + width * i / n, b = lower + width * (i + 1) / n;
        if (slope(b) == 0 && i + 1 < n)
            zeros.push_back(double(b)); // T15 has two, at +-0.5
        if (slope(a) == 0 || slope(b) == 0 || (slope(a) < 0) == (slope(b) < 0))
            continue;
        for (int step = 0; step < 100; ++step)
            ((slope((a + b) / 2) < 0) == (slope(a) < 0) ? a : b) = (a + b) / 2;
        zeros.push_back(double((a + b) / 2));
    }
    return zeros;
}

TEST(Extrema, NewtonWithExactDerivativesFindsEveryExtremumToTheBound)
{
    // With difference quotients, T15's extrema were off by 9e-7 and P20 lost the minima at +-0.8793 to rounding noise.
    const struct { const char* name; Dimension d; size_t extrema; } cases[] = {
        {"T15", on(powerSeries(orthogonalPolynomial(15, false)), -1, 1), 14},
        {"P20", on(powerSeries(orthogonalPolynomial(20, true)), -1, 1), 19},
        {"sine, degree 25", test::sineTaylor(25), 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dimension d = c.d;
        d.study.ErrorBound = 1e-12;
        const ScanOutcome scan = test::extrema(d);
        std::vector<double> found = d.results.Maxima;
        found.insert(found.end(), d.results.Minima.begin(), d.results.Minima.end());
        std::sort(found.begin(), found.end());
        const std::vector<double> reference = slopeZeros(d.series.Coeffs, d.study.XLower, d.study.XUpper);
        ASSERT_EQ(std::pair(reference.size(), found.size()), std::pair(c.extrema, c.extrema));
        EXPECT_EQ(scan.entries.size(), qsizetype(found.size()));
        for (size_t i = 0; i < found.size(); ++i)
            EXPECT_NEAR(found[i], reference[i], 1e-11) << i;
        for (int k = 1; c.name[0] == 'T' && k <= 14; ++k) { // cos(k pi / 15), alternately at -1 and 1
            EXPECT_NEAR(found[size_t(14 - k)], std::cos(k * std::numbers::pi / 15), 1e-11) << k;
            EXPECT_NEAR(EvalSeries(d.series, found[size_t(14 - k)]), k % 2 ? -1 : 1, 1e-11) << k;
        }
    }
}

// Newton on x^3 - 2x + 2 from 0 alternates between 0 and 1 for ever: at the largest cycle limit the fields allow a
// bracket took minutes. Skipping whole periods must not change what the scans find. Newton starts at 0, mid [-2, 2].
Dimension cyclingNewton(int maxCycles, std::vector<double> coeffs)
{
    return limited(on(powerSeries(std::move(coeffs)), -2, 2, 1), 0.01, maxCycles);
}

TEST(NewtonRepetition, ARootBracketThatNeverConvergesEndsAtOnce)
{
    for (int limit : {20, 21, 1 << 30, (1 << 30) - 1, 2147483647}) {
        Dimension d = cyclingNewton(limit, {2, -2, 0, 1});
        QElapsedTimer t;
        t.start();
        const ScanOutcome out = test::roots(d);
        EXPECT_LT(t.elapsed(), 1000) << limit;
        EXPECT_TRUE(out.completed && d.results.Roots.empty() && out.evaluations < 100) << limit << ": " << out.evaluations;
    }
    // A bound of 0 (met only by an exact repeat) or a negative one (never met) leaves the count limit to end it.
    for (double bound : {0.0, -1.0}) {
        Dimension d = limited(on(powerSeries({-2, 0, 1}), -7.99, 8), bound, 1 << 30);
        const ScanOutcome out = test::roots(d);
        EXPECT_TRUE(out.completed && out.evaluations < 10000 && (bound == 0 || d.results.Roots.empty())) << bound;
    }
}

// f' = x^3 - 2x + 2 cycles too; where it stops decides whether a possible root is counted (|f(0)| = 0, |f(1)| =
// 1.25), so a large limit must stop where the small one of the same parity does.
TEST(NewtonRepetition, AnExtremumBracketEndsWhereTheFullCountWouldHaveEnded)
{
    auto possibleRoots = [](int limit) {
        Dimension d = cyclingNewton(limit, {0, 2, -1, 0, 0.25});
        QElapsedTimer t;
        t.start();
        const ScanOutcome out = test::extrema(d);
        EXPECT_LT(t.elapsed(), 1000) << limit;
        EXPECT_TRUE(out.completed && d.results.Maxima.empty() && d.results.Minima.empty()) << limit;
        return d.results.PossibleRootCount;
    };
    EXPECT_EQ(possibleRoots(1 << 30), possibleRoots(64));
    EXPECT_EQ(possibleRoots((1 << 30) - 1), possibleRoots(63));
    EXPECT_NE(possibleRoots(64), possibleRoots(63));
}

TEST(Integral, LimitsAsGivenAndFailuresKeepThePreviousResult)
{
    Dimension line = on(powerSeries({1, 2}, 1), 0, 2); // 1 + 2 (x - 1): F(-1) = 0, F(1) = 2
    const IntegralOutcome out = test::integral(line);
    EXPECT_EQ(std::tuple(out.done(), out.label(), out.message(), line.results.IntegralValue, line.results.IntegralDone),
              std::tuple(true, "2", "", 2.0, true));
    Dimension empty = on(line, 1.5, 1.5); // reversed limits and values against closed forms: in the accuracy checks
    EXPECT_EQ(test::integral(empty).label(), "0");

    Dimension malformed = powerSeries({1, 2});
    malformed.series.TermCount = 4; // coefficients missing: error 9, no message
    const std::tuple<Dimension, QString, ErrorNumber> cases[] = {
        {test::startUp(), "division by zero", ErrorNumber::DivisionByZero}, // no series: x / 0
        {on(trigSeries({1, 2, 3}, 0, 0), 0, 8), "overflow", ErrorNumber::Overflow}, // period 0 at the centre: 0 / 0
        {powerSeries({1e308, 1e308}), "overflow", ErrorNumber::Overflow}, {malformed, "", ErrorNumber::Subscript}};
    for (const auto& [series, message, number] : cases) {
        Dimension d = series;
        std::tie(d.results.IntegralValue, d.results.IntegralDone) = std::pair(42, false);
        const IntegralOutcome failed = test::integral(d);
        EXPECT_EQ(std::tuple(failed.done(), failed.message(), d.errors.ierr, d.results.IntegralValue, d.results.IntegralDone),
                  std::tuple(false, message, errorCode(number), 42.0, false));
    }
}

QString PointValueText(Dimension& d, const QString& order, const QString& at)
{
    const PointValue value = vendrak::PointValueText(d.series, order, at);
    if (value.error)
        d.errors.ierr = errorCode(*value.error);
    return value.text;
}

TEST(PointValue, DerivativesWithTheOrderRoundedHalfToEvenAndNoValueOutsideZeroTo170)
{
    Dimension d = powerSeries({0, 0, 1}); // x^2
    for (const auto& [order, at, shown] : {std::tuple{"0", "3", "9"}, {"1", "3", "6"}, {"2", "3", "2"}, {"3", "3", "0"},
                                           {"", "3", "9"}, {"0", "3abc", "9"}, {"0", "1e3", "1000000"}}) // 1e3: far outside
        EXPECT_EQ(PointValueText(d, order, at), shown) << order << " at " << at;
    Dimension quartic = powerSeries({0, 0, 0, 0, 1}); // at 1: f'' = 12, f'''' = 24
    EXPECT_EQ(PointValueText(quartic, "2.5", "1"), "12");
    EXPECT_EQ(vendrak::PointValueText(quartic.series, "2.5", "1").order, 2); // for the report's title
    EXPECT_EQ(PointValueText(quartic, "3.5", "1"), "24");

    std::vector<double> c(171, 0.0);
    c[170] = 1; // x^170: its 170th derivative is 170!
    Dimension top = powerSeries(c);
    EXPECT_EQ(PointValueText(top, "170", "0"), NumberText(Factorials()[170]));
    top.errors.ierr = 0;
    EXPECT_EQ(PointValueText(top, "171", "0"), "");
    EXPECT_EQ(top.errors.ierr, 0); // not an error, simply no value
    EXPECT_EQ(PointValueText(top, "1e10", "0") + PointValueText(top, "-1", "2"), ""); // beyond 32 bits; negative
    Dimension trig = trigSeries({0, 1}, 0, 6.283185307179586); // it would produce a number, but no derivative
    EXPECT_EQ(PointValueText(trig, "-1", "1") + PointValueText(trig, "-2147483648", "1"), "");
    Dimension none = test::startUp();
    for (const auto& [at, number] : {std::pair{"0", ErrorNumber::Overflow}, {"1", ErrorNumber::DivisionByZero}}) { // 0/0; x/0
        EXPECT_EQ(PointValueText(none, "0", at), "");
        EXPECT_EQ(none.errors.ierr, errorCode(number)) << at;
    }
}

} // namespace
} // namespace vendrak
