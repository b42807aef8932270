// Verify against series whose roots and extrema are known in closed form.
#include "core/verify/verify.h"
#include "support/analysis_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vendrak {
namespace {

using test::on;
using test::powerSeries;
using test::trigSeries;

bool holds(const Span& s, long double x) { return s.lo <= x && x <= s.hi; }
template <class Spans>
int countHolding(const Spans& spans, long double x)
{
    int n = 0;
    for (const Span& s : spans)
        n += holds(s, x);
    return n;
}
std::vector<Span> spansOf(const std::vector<ProvenExtremum>& extrema, bool maximum)
{
    std::vector<Span> out;
    for (const ProvenExtremum& e : extrema)
        if (e.maximum == maximum)
            out.push_back(e.x);
    return out;
}
VerifyReport verify(const Dimension& d) { return Verify(d.series, d.study.XLower, d.study.XUpper, d.study.ErrorBound); }

// Two roots in one subinterval, a double root off the grid, a root on a grid
// point and on the first bisection point.
TEST(Verify, ProvesWhatTheScanMissesOrFindsOnTheGrid)
{
    constexpr double c = 0.3, gap = 0x1p-13; // 0.3 + gap is a double
    Dimension close = on(powerSeries({0, -gap, 1}, c), -8, 8, 16);
    EXPECT_EQ(test::roots(close).entries.size(), 0);
    VerifyReport r = verify(close);
    ASSERT_EQ(r.roots.size(), 2u);
    EXPECT_TRUE(r.rootsComplete);
    EXPECT_TRUE(holds(r.roots[0], c) && holds(r.roots[1], c + gap));
    for (const Span& s : r.roots)
        EXPECT_LE(s.hi - s.lo, close.study.ErrorBound);
    ScanCheck check = CheckScans(ScanListsOf(close.results), r);
    EXPECT_EQ(check.rootsMissed.size(), 2u);
    EXPECT_EQ(check.summary.value(0).toStdString(), "2 roots in [-8, 8], all proven; the scan found 0");
    // Integral of t (t - gap), t = x - c, in closed form.
    auto prim = [&](long double x) { long double t = x - c; return t * t * t / 3 - gap * t * t / 2; };
    ASSERT_TRUE(r.integralDone);
    EXPECT_LE(std::fabs(r.integral - (prim(8) - prim(-8))), r.integralRadius + 1e-13L);
    EXPECT_LT(r.integralRadius, 1e-13);

    // (x - c)^2 (x - c + k): a double root at c, a simple one at c - k,
    // a minimum at c and a maximum at c - 2k/3.
    constexpr double c2 = 0.31, k = 0.81;
    Dimension twice = powerSeries({0, 0, k, 1}, c2);
    r = verify(twice);
    EXPECT_EQ(countHolding(r.roots, (long double)c2 - k), 1);
    EXPECT_EQ(countHolding(r.roots, c2) + countHolding(r.rootsUndecided, c2), 1) << "the double root is never lost";
    EXPECT_EQ(r.roots.size() + r.rootsUndecided.size(), 2u);
    for (const Span& s : r.rootsUndecided)
        EXPECT_LT(s.hi - s.lo, 1e-14);
    ASSERT_EQ(r.extrema.size(), 2u);
    EXPECT_TRUE(r.extremaComplete);
    EXPECT_TRUE(holds(spansOf(r.extrema, false).at(0), c2));
    EXPECT_NEAR(spansOf(r.extrema, true).at(0).lo, c2 - 2 * k / 3, 0.01);
    EXPECT_TRUE(holds(r.extrema[1].value, 0) && r.extrema[1].value.hi - r.extrema[1].value.lo < 1e-4);

    // x: 0 is a grid point and the midpoint of [-8, 8].
    Dimension x = powerSeries({0, 1});
    test::roots(x);
    r = verify(x);
    ASSERT_EQ(r.roots.size(), 1u);
    EXPECT_EQ(r.roots[0].lo, 0.0);
    EXPECT_EQ(r.roots[0].hi, 0.0);
    check = CheckScans(ScanListsOf(x.results), r);
    EXPECT_EQ(check.rootMarks, std::vector<ScanMark>{ScanMark::Proven});
    EXPECT_EQ(check.summary.value(0).toStdString(), "1 root in [-8, 8], all proven; the scan found 1");
    EXPECT_EQ(check.summary.value(1).toStdString(), "0 extrema (0 max., 0 min.) in [-8, 8], all proven; the scan found 0");
}

// The 20-harmonic Fourier series of x^2 (period 2) from 1024 samples on
// [-1, 1): a tiny maximum at 0 between two minima the scan does not list.
// Sampling aliases the coefficients 4 (-1)^j / (j pi)^2 into
// 4 (-1)^j / (M sin(pi j / M))^2, and the constant into 1/3 + 2 / (3 M^2).
TEST(Verify, FourierSeriesOfXSquaredHasAMaximumAtZeroBetweenTwoMinima)
{
    constexpr double m = 1024;
    std::vector<double> c(41, 0.0);
    c[0] = 1.0 / 3 + 2 / (3 * m * m);
    for (int j = 1; j <= 20; ++j)
        c[size_t(2 * j)] = 4 * (j % 2 ? -1 : 1) / std::pow(m * std::sin(std::numbers::pi * j / m), 2);
    Dimension d = on(trigSeries(c, 0, 2), -1, 1);
    test::extrema(d);
    const VerifyReport r = verify(d);
    EXPECT_TRUE(r.rootsComplete);
    for (const Span& s : r.extremaUndecided) // f' vanishes at the ends, which no ball decides
        EXPECT_TRUE((s.lo == -1 && s.hi < -1 + 1e-15) || (s.hi == 1 && s.lo > 1 - 1e-15)) << SpanText(s).toStdString();
    const std::vector<Span> maxima = spansOf(r.extrema, true), minima = spansOf(r.extrema, false);
    EXPECT_EQ(countHolding(maxima, 0), 1);
    std::vector<Span> nearZero;
    for (const Span& s : minima)
        if (std::fabs(s.lo) < 0.01)
            nearZero.push_back(s);
    ASSERT_EQ(nearZero.size(), 2u);
    EXPECT_TRUE(holds(nearZero[0], -0.00138) && holds(nearZero[1], 0.00138));
    const ScanLists lists = ScanListsOf(d.results);
    const ScanCheck check = CheckScans(lists, r);
    // The scan lists a minimum at 0 and maxima just outside the interval.
    EXPECT_EQ(check.extremumMarks, (std::vector<ScanMark>{ScanMark::Outside, ScanMark::WrongKind, ScanMark::Outside}));
    int missedNearZero = 0;
    for (double x : check.extremaMissed)
        missedNearZero += std::fabs(x) < 0.01;
    EXPECT_EQ(missedNearZero, 3);
    EXPECT_EQ(r.extrema.size(), 3u);
    ASSERT_TRUE(r.integralDone);
    EXPECT_LE(std::fabs(r.integral - 2 * c[0]), r.integralRadius);
    EXPECT_LT(r.integralRadius, 1e-15);
}

// T15 and P20 from their recurrences: every zero and interior extremum.
TEST(Verify, ChebyshevAndLegendreZerosAndExtremaAreAllProven)
{
    std::vector<double> prev{1}, cur{0, 1};
    for (int n = 1; n < 15; ++n) {
        std::vector<double> next(cur.size() + 1, 0.0);
        for (size_t i = 0; i < cur.size(); ++i)
            next[i + 1] += 2 * cur[i];
        for (size_t i = 0; i < prev.size(); ++i)
            next[i] -= prev[i];
        prev = std::exchange(cur, next);
    }
    Dimension t = on(powerSeries(cur), -1, 1);
    t.study.ErrorBound = 1e-12;
    VerifyReport r = verify(t);
    ASSERT_EQ(r.roots.size(), 15u);
    ASSERT_EQ(r.extrema.size(), 14u);
    EXPECT_TRUE(r.rootsComplete && r.extremaComplete);
    for (int k = 1; k <= 15; ++k)
        EXPECT_NEAR(r.roots[size_t(15 - k)].lo, std::cos((2 * k - 1) * std::numbers::pi / 30), 1e-12) << k;
    for (int k = 1; k <= 14; ++k) {
        const ProvenExtremum& e = r.extrema[size_t(14 - k)];
        const double x = std::cos(k * std::numbers::pi / 15);
        EXPECT_NEAR(e.x.lo, x, 1e-12);
        EXPECT_EQ(e.maximum, k % 2 == 0) << k;
        EXPECT_TRUE(holds(e.value, k % 2 ? -1 : 1));
    }
    EXPECT_LE(std::fabs(r.integral), r.integralRadius);

    prev = {1}, cur = {0, 1};
    for (int n = 1; n < 20; ++n) {
        std::vector<double> next(cur.size() + 1, 0.0);
        for (size_t i = 0; i < cur.size(); ++i)
            next[i + 1] += (2 * n + 1) * cur[i] / (n + 1);
        for (size_t i = 0; i < prev.size(); ++i)
            next[i] -= n * prev[i] / (n + 1);
        prev = std::exchange(cur, next);
    }
    // The true P20 and P20' by the three-term recurrence, independent of the coefficients.
    auto legendre = [](long double x, bool slope) {
        long double p0 = 1, p1 = x;
        for (int n = 1; n < 20; ++n)
            p0 = std::exchange(p1, ((2 * n + 1) * x * p1 - n * p0) / (n + 1));
        return slope ? 20 * (x * p1 - p0) / (x * x - 1) : p1;
    };
    Dimension p = on(powerSeries(cur), -1, 1);
    p.study.ErrorBound = 1e-10;
    r = verify(p);
    ASSERT_EQ(r.roots.size(), 20u);
    ASSERT_EQ(r.extrema.size(), 19u);
    EXPECT_TRUE(r.rootsComplete && r.extremaComplete);
    for (const Span& s : r.roots)
        EXPECT_LT(legendre(s.lo - 1e-13L, false) * legendre(s.hi + 1e-13L, false), 0) << SpanText(s).toStdString();
    for (const ProvenExtremum& e : r.extrema)
        EXPECT_LT(legendre(e.x.lo - 1e-13L, true) * legendre(e.x.hi + 1e-13L, true), 0) << SpanText(e.x).toStdString();
}

// sin(2 pi x / 2e-4) has 15001 roots in [0, 1.5]: the search stops at the cap.
TEST(Verify, StopsAtTheRootCapAndSaysSo)
{
    const VerifyReport r = Verify(trigSeries({0, 1}, 0, 2e-4).series, 0, 1.5, 0.01);
    EXPECT_FALSE(r.rootsComplete);
    EXPECT_EQ(r.roots.size(), size_t(kVerifyRootCap));
    EXPECT_FALSE(r.rootsMessage.isEmpty());
    for (size_t i = 0; i < r.roots.size(); i += 997)
        EXPECT_EQ(countHolding(std::vector<Span>{r.roots[i]}, (long double)i * 1e-4L), 1) << i;
    EXPECT_FALSE(Verify(trigSeries({0, 1}, 0, 0).series, 0, 1, 0.01).valid);

    // sin(100 x): complex balls multiplied up to the 100th power would
    // blow their radius up by 2^50; the roots are k pi / 100.
    std::vector<double> c(200, 0.0);
    c[199] = 1;
    const VerifyReport h = Verify(trigSeries(c, 0, 2 * std::numbers::pi).series, 0.001, 1, 1e-6);
    ASSERT_EQ(h.roots.size(), 31u);
    EXPECT_TRUE(h.rootsComplete && h.extremaComplete);
    for (int k = 1; k <= 31; ++k)
        EXPECT_NEAR(h.roots[size_t(k - 1)].lo, k * std::numbers::pi / 100, 1e-6) << k;
    EXPECT_EQ(h.extrema.size(), 32u);
}

} // namespace
} // namespace vendrak
