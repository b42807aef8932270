#include "series/evaluators.h"
#include "shell/errors.h"

#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <vector>

using namespace vendrak;

namespace {

constexpr double kPi = 3.14159265358979323846;

Dimension powerSeries(std::vector<double> c, double centre = 0)
{
    Dimension d;
    d.initialise();
    d.SeriesType = 1;
    d.TermCount = static_cast<int>(c.size()) - 1;
    d.Coeffs = std::move(c);
    d.Centre = centre;
    return d;
}

Dimension trigSeries(std::vector<double> c, double period, double centre = 0)
{
    Dimension d;
    d.initialise();
    d.SeriesType = 0;
    d.TermCount = static_cast<int>(c.size()) - 1;
    d.Coeffs = std::move(c);
    d.Period = period;
    d.Centre = centre;
    return d;
}

int errorOf(const std::function<double()>& f)
{
    try {
        f();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

double derivN(Dimension d, int n, double x)
{
    d.DerivOrder = n;
    return EvalDerivN(d, x);
}

// The n-th derivative of sum c_k t^k, summed directly in long double with the
// weights k!/(k-n)! built as a product, independent of the factorial table.
long double powerDerivDirect(const std::vector<double>& c, int n, long double t)
{
    long double s = 0;
    for (size_t k = static_cast<size_t>(n); k < c.size(); ++k) {
        long double w = 1;
        for (int i = 0; i < n; ++i)
            w *= static_cast<long double>(k - static_cast<size_t>(i));
        s += w * c[k] * std::pow(t, static_cast<long double>(k) - n);
    }
    return s;
}

// The n-th derivative of the trigonometric series, from the closed form
// d^n/dθ^n sin(jθ) = j^n sin(jθ + nπ/2), times ω^n.
double trigDerivDirect(const std::vector<double>& c, double period, double centre, int n, double x)
{
    const long double w = 2 * static_cast<long double>(kPi) / period;
    const long double th = w * (x - centre);
    long double s = n == 0 ? c[0] : 0;
    const size_t N = c.size() - 1;
    for (size_t j = 1; 2 * j - 1 <= N; ++j) {
        const long double a = static_cast<long double>(j) * th + n * static_cast<long double>(kPi) / 2;
        const long double scale = std::pow(static_cast<long double>(j) * w, static_cast<long double>(n));
        s += scale * c[2 * j - 1] * std::sin(a);
        if (2 * j <= N)
            s += scale * c[2 * j] * std::cos(a);
    }
    return static_cast<double>(s);
}

void expectRelNear(double actual, double expected, double rel)
{
    EXPECT_NEAR(actual, expected, rel * std::max(1.0, std::fabs(expected))) << "expected " << expected;
}

} // namespace

TEST(Factorials, TableHas171FiniteEntries)
{
    Dimension d;
    d.initialise();
    EXPECT_EQ(d.Factorials[0], 1.0);
    EXPECT_EQ(d.Factorials[1], 1.0);
    EXPECT_EQ(d.Factorials[5], 120.0);
    EXPECT_TRUE(std::isfinite(d.Factorials[170]));
    EXPECT_NEAR(d.Factorials[170] / 7.257415615307994e306, 1.0, 1e-13);
    // 171! would overflow, so 170! is the largest entry the table can hold.
    EXPECT_FALSE(std::isfinite(d.Factorials[170] * 171));
}

TEST(PowerSeries, DegreeZeroIsConstantWithZeroDerivatives)
{
    Dimension d = powerSeries({4.5}, 2);
    EXPECT_EQ(EvalSeries(d, -3), 4.5);
    EXPECT_EQ(EvalDeriv1(d, -3), 0.0);
    EXPECT_EQ(EvalDeriv2(d, -3), 0.0);
    EXPECT_EQ(derivN(d, 3, -3), 0.0);
    EXPECT_EQ(derivN(d, 9, -3), 0.0);
}

TEST(PowerSeries, OrderAboveDegreeGivesExactlyZero)
{
    Dimension d = powerSeries({1, -2, 3, 7}, 0.5);
    EXPECT_EQ(derivN(d, 4, 10.25), 0.0);
    EXPECT_EQ(derivN(d, 9, -1e6), 0.0);
    EXPECT_EQ(derivN(d, 3, 10.25), 42.0); // 3! * 7
}

TEST(PowerSeries, ValueAndDerivativesMatchClosedForms)
{
    const std::vector<double> c{1, 2, 3, 4, 5, 6};
    Dimension d = powerSeries(c, 1.5);
    for (double x : {-2.0, 1.5, 2.25, 7.0}) {
        const long double t = x - 1.5;
        expectRelNear(EvalSeries(d, x), static_cast<double>(powerDerivDirect(c, 0, t)), 1e-14);
        expectRelNear(EvalDeriv1(d, x), static_cast<double>(powerDerivDirect(c, 1, t)), 1e-14);
        expectRelNear(EvalDeriv2(d, x), static_cast<double>(powerDerivDirect(c, 2, t)), 1e-14);
        expectRelNear(derivN(d, 4, x), static_cast<double>(powerDerivDirect(c, 4, t)), 1e-14);
        // The general evaluator agrees with the dedicated ones.
        expectRelNear(derivN(d, 1, x), EvalDeriv1(d, x), 1e-14);
        expectRelNear(derivN(d, 2, x), EvalDeriv2(d, x), 1e-14);
    }
    // At the centre each derivative is k! C[k].
    EXPECT_EQ(derivN(d, 5, 1.5), 720.0);
    EXPECT_EQ(EvalDeriv2(d, 1.5), 6.0);
}

TEST(PowerSeries, DegreesAtAndBeyondTheFactorialTableAgreeWithDirectSums)
{
    // With t near 1 the top coefficients carry real weight, so a wrong weight
    // at k = 170 or 171 would show.
    for (int degree : {170, 171, 200}) {
        std::vector<double> c(static_cast<size_t>(degree) + 1);
        for (size_t k = 0; k < c.size(); ++k)
            c[k] = (k % 3 == 0 ? -1.0 : 1.0) / (1 + static_cast<double>(k) / 50);
        Dimension d = powerSeries(c, -0.25);
        for (double x : {0.74, -1.2}) {
            const long double t = static_cast<long double>(x) + 0.25L;
            for (int n : {0, 3, 4, 7, 9})
                expectRelNear(derivN(d, n, x), static_cast<double>(powerDerivDirect(c, n, t)), 1e-11);
        }
    }
}

TEST(PowerSeries, RunningProductBeyond170MatchesTableAtTheBoundary)
{
    // Same series once of degree 170 and once padded with a zero top
    // coefficient to degree 171: the two weight paths must give the same value.
    std::vector<double> c(171);
    for (size_t k = 0; k < c.size(); ++k)
        c[k] = 1.0 / (1 + static_cast<double>(k));
    Dimension a = powerSeries(c, 0);
    c.push_back(0.0);
    Dimension b = powerSeries(c, 0);
    for (int n : {3, 6, 9})
        expectRelNear(derivN(b, n, 0.9), derivN(a, n, 0.9), 1e-12);
}

TEST(TrigSeries, DegreeZeroIsConstantWithZeroDerivatives)
{
    Dimension d = trigSeries({2.5}, 3);
    EXPECT_EQ(EvalSeries(d, 1.7), 2.5);
    EXPECT_EQ(EvalDeriv1(d, 1.7), 0.0);
    EXPECT_EQ(EvalDeriv2(d, 1.7), 0.0);
    EXPECT_EQ(derivN(d, 4, 1.7), 0.0);
}

TEST(TrigSeries, EvenAndOddTermCountsUseTheRightCoefficients)
{
    // N even: harmonics 1 and 2 complete. N odd: C[N] is the lone sine of
    // harmonic (N+1)/2.
    const std::vector<double> even{0.5, 1, -2, 3, 0.25};
    const std::vector<double> odd{0.5, 1, -2, 3};
    const std::vector<double> single{0.5, 1.5}; // N = 1: constant and one sine
    for (double x : {-1.1, 0.3, 0.5, 2.9}) {
        expectRelNear(EvalSeries(trigSeries(even, 3, 0.5), x), trigDerivDirect(even, 3, 0.5, 0, x), 1e-13);
        expectRelNear(EvalSeries(trigSeries(odd, 3, 0.5), x), trigDerivDirect(odd, 3, 0.5, 0, x), 1e-13);
        expectRelNear(EvalSeries(trigSeries(single, 3, 0.5), x), trigDerivDirect(single, 3, 0.5, 0, x), 1e-13);
    }
    // A quarter period past the centre: sin θ = 1, cos θ = 0, sin 2θ = 0.
    expectRelNear(EvalSeries(trigSeries(odd, 4, 0), 1), 0.5 + 1, 1e-14);
}

TEST(TrigSeries, DerivativesMatchClosedFormsForBothParities)
{
    const std::vector<double> even{0.5, 1, -2, 3, 0.25, -0.75, 1.25};
    const std::vector<double> odd{0.5, 1, -2, 3, 0.25, -0.75};
    for (const auto* c : {&even, &odd}) {
        Dimension d = trigSeries(*c, 2.5, -0.4);
        for (double x : {-3.0, -0.4, 0.77, 5.5}) {
            expectRelNear(EvalDeriv1(d, x), trigDerivDirect(*c, 2.5, -0.4, 1, x), 1e-12);
            expectRelNear(EvalDeriv2(d, x), trigDerivDirect(*c, 2.5, -0.4, 2, x), 1e-12);
            for (int n : {1, 2, 3, 4, 5, 9})
                expectRelNear(derivN(d, n, x), trigDerivDirect(*c, 2.5, -0.4, n, x), 1e-11);
        }
    }
}

TEST(TrigSeries, FourthDerivativeIsScaledOriginalHarmonic)
{
    // One harmonic j = 2: f = A sin 2θ + B cos 2θ, so f'''' = (2ω)^4 f and
    // f'' = -(2ω)^2 f.
    Dimension d = trigSeries({0, 0, 0, 1.5, -0.5}, 3, 0.25);
    const double w = 2 * kPi / 3;
    for (double x : {0.1, 1.3}) {
        const double f = EvalSeries(d, x);
        expectRelNear(derivN(d, 4, x), std::pow(2 * w, 4) * f, 1e-12);
        expectRelNear(EvalDeriv2(d, x), -std::pow(2 * w, 2) * f, 1e-12);
    }
}

TEST(TrigSeries, RepeatsAfterOnePeriod)
{
    Dimension d = trigSeries({0.5, 1, -2, 3, 0.25, -0.75}, 1.75, 0.3);
    expectRelNear(EvalSeries(d, 0.3 + 1.75), EvalSeries(d, 0.3), 1e-13);
    for (double x : {-2.0, 0.9, 4.4}) {
        expectRelNear(EvalSeries(d, x + 1.75), EvalSeries(d, x), 1e-12);
        expectRelNear(EvalDeriv1(d, x + 1.75), EvalDeriv1(d, x), 1e-12);
    }
}

TEST(Evaluators, ZeroPeriodFailsEveryTrigEvaluation)
{
    Dimension d = trigSeries({1, 2, 3}, 0, 1);
    using Fn = double (*)(const Dimension&, double);
    for (Fn f : {&EvalSeries, &EvalDeriv1, &EvalDeriv2, &EvalDerivN, &EvalSelected}) {
        d.DerivOrder = 3;
        EXPECT_EQ(errorOf([&] { return f(d, 2.0); }), ErrDivisionByZero);
        EXPECT_EQ(errorOf([&] { return f(d, 1.0); }), ErrOverflow) << "0/0 at the centre";
    }
}

TEST(Evaluators, StartUpStateFailsBeforeTouchingTheEmptyCoefficients)
{
    Dimension d;
    d.initialise();
    EXPECT_EQ(errorOf([&] { return EvalSeries(d, 1.0); }), ErrDivisionByZero);
    EXPECT_EQ(errorOf([&] { return EvalSeries(d, 0.0); }), ErrOverflow);
}

TEST(Evaluators, OverflowRaisesErrorSix)
{
    Dimension p = powerSeries({0, 0, 1e300});
    EXPECT_EQ(errorOf([&] { return EvalSeries(p, 1e10); }), ErrOverflow);
    EXPECT_EQ(errorOf([&] { return EvalDeriv1(p, 1e10); }), ErrOverflow);
    EXPECT_EQ(errorOf([&] { return derivN(p, 0, 1e10); }), ErrOverflow);

    Dimension t = trigSeries({1e308, 1e308, 1e308}, 4);
    EXPECT_EQ(errorOf([&] { return EvalSeries(t, 0.5); }), ErrOverflow);

    // x - centre beyond the double range.
    Dimension far = powerSeries({1, 1}, -1e308);
    EXPECT_EQ(errorOf([&] { return EvalSeries(far, 1e308); }), ErrOverflow);

    // (k-1)*k is formed in 32-bit arithmetic: 46341 * 46342 no longer fits.
    Dimension big = powerSeries(std::vector<double>(46343, 0.0));
    EXPECT_EQ(errorOf([&] { return EvalDeriv2(big, 0.5); }), ErrOverflow);
    Dimension fits = powerSeries(std::vector<double>(46342, 0.0));
    EXPECT_EQ(errorOf([&] { return EvalDeriv2(fits, 0.5); }), 0);
}

TEST(Evaluators, CoefficientsShorterThanTermCountGiveSubscriptError)
{
    Dimension d = powerSeries({1, 2});
    d.TermCount = 3;
    EXPECT_EQ(errorOf([&] { return EvalSeries(d, 1); }), ErrSubscript);
}

TEST(Evaluators, UnknownSeriesTypeGivesZero)
{
    Dimension d = powerSeries({1, 2, 3});
    d.SeriesType = 2;
    EXPECT_EQ(EvalSeries(d, 2), 0.0);
    EXPECT_EQ(EvalDeriv1(d, 2), 0.0);
    EXPECT_EQ(EvalDeriv2(d, 2), 0.0);
    EXPECT_EQ(derivN(d, 4, 2), 0.0);
}

TEST(EvalSelected, DispatchesByDerivativeOrder)
{
    for (Dimension d : {powerSeries({1, -2, 3, 0.5, 0.125, -1}, 0.2), trigSeries({1, -2, 3, 0.5, 0.125}, 2.2, 0.2)}) {
        const double x = 1.37;
        d.DerivOrder = 0;
        EXPECT_EQ(EvalSelected(d, x), EvalSeries(d, x));
        d.DerivOrder = 1;
        EXPECT_EQ(EvalSelected(d, x), EvalDeriv1(d, x));
        d.DerivOrder = 2;
        EXPECT_EQ(EvalSelected(d, x), EvalDeriv2(d, x));
        for (int n = 3; n <= 9; ++n) {
            d.DerivOrder = n;
            EXPECT_EQ(EvalSelected(d, x), EvalDerivN(d, x));
        }
        // Order 1 through the general evaluator agrees with the first-derivative one.
        d.DerivOrder = 1;
        expectRelNear(EvalDerivN(d, x), EvalSelected(d, x), 1e-13);
    }
}
