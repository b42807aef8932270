#include "support/analysis_fixtures.h"
#include "core/series/evaluators.h"
#include "core/study/errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace vendrak;
using test::powerSeries;
using test::trigSeries;

namespace {

int errorOf(const auto& f)
{
    try {
        f();
    } catch (const RunTimeError& e) {
        return errorCode(e.number());
    }
    return 0;
}

double derivN(Dimension d, int n, double x)
{
    d.DerivOrder = n;
    return EvalDerivN(d, x);
}

// Each order through its own evaluator (0, 1, 2) and the general one (n >= 1).
void expectOrders(const Dimension& d, double x, std::initializer_list<int> orders, const auto& reference, double rel)
{
    for (int n : orders) {
        const double r = reference(n);
        const double tolerance = rel * std::max(1.0, std::fabs(r));
        const auto own = n == 0 ? EvalSeries : n == 1 ? EvalDeriv1 : EvalDeriv2;
        EXPECT_NEAR(n <= 2 ? own(d, x) : r, r, tolerance) << n << " at " << x;
        EXPECT_NEAR(n >= 1 ? derivN(d, n, x) : r, r, tolerance) << n << " at " << x;
    }
}

// The n-th derivative of sum c_k t^k in long double, the weights k!/(k-n)!
// built as products, independent of the factorial table.
double powerDirect(const std::vector<double>& c, int n, long double t)
{
    long double s = 0;
    for (size_t k = static_cast<size_t>(n); k < c.size(); ++k) {
        long double w = 1;
        for (int i = 0; i < n; ++i)
            w *= static_cast<long double>(k - static_cast<size_t>(i));
        s += w * c[k] * std::pow(t, static_cast<long double>(k) - n);
    }
    return static_cast<double>(s);
}

// From the closed form d^n/dθ^n sin(jθ) = j^n sin(jθ + nπ/2), times ω^n.
double trigDirect(const std::vector<double>& c, double centre, double period, int n, double x)
{
    const long double pi = std::numbers::pi_v<long double>;
    const long double w = 2 * pi / period;
    long double s = n == 0 ? c[0] : 0;
    for (size_t j = 1; 2 * j - 1 < c.size(); ++j) {
        const long double a = j * w * (x - centre) + n * pi / 2;
        const long double scale = std::pow(j * w, static_cast<long double>(n));
        s += scale * c[2 * j - 1] * std::sin(a) + (2 * j < c.size() ? scale * c[2 * j] * std::cos(a) : 0);
    }
    return static_cast<double>(s);
}

} // namespace

TEST(Evaluators, DegreeZeroAndOrdersAboveTheDegreeGiveExactlyZero)
{
    for (const Dimension& d : {powerSeries({4.5}, 2), trigSeries({4.5}, 2, 3)})
        expectOrders(d, -3, {0, 1, 2, 4}, [](int n) { return n == 0 ? 4.5 : 0.0; }, 0);
    const Dimension d = powerSeries({1, -2, 3, 7}, 0.5);
    EXPECT_EQ(derivN(d, 3, 10.25), 42.0); // 3! * 7
    EXPECT_EQ(derivN(d, 4, 10.25), 0.0);
}

TEST(Evaluators, PowerDerivativesMatchTheDirectSum)
{
    const std::vector<double> c{1, 2, 3, 4, 5, 6};
    const Dimension d = powerSeries(c, 1.5);
    for (double x : {-2.0, 1.5, 2.25, 7.0})
        expectOrders(d, x, {0, 1, 2, 4}, [&](int n) { return powerDirect(c, n, x - 1.5); }, 1e-14);
    EXPECT_EQ(derivN(d, 5, 1.5), 720.0); // k! C[k] at the centre

    // Degrees at and beyond the factorial table: with t near 1 the top
    // coefficients carry real weight, so a wrong weight at 170 or 171 shows.
    for (int degree : {170, 171, 200}) {
        std::vector<double> big(static_cast<size_t>(degree) + 1);
        for (size_t k = 0; k < big.size(); ++k)
            big[k] = (k % 3 == 0 ? -1.0 : 1.0) / (1 + static_cast<double>(k) / 50);
        SCOPED_TRACE(degree);
        for (double x : {0.74, -1.2})
            expectOrders(powerSeries(big, -0.25), x, {0, 3, 4, 9},
                         [&](int n) { return powerDirect(big, n, x + 0.25L); }, 1e-11);
    }
}

TEST(Evaluators, TrigonometricSeriesOfEitherParityMatchTheClosedForm)
{
    // Top index even: every harmonic complete. Odd: C[N] is a lone sine.
    for (const std::vector<double>& c : {std::vector<double>{0.5, 1, -2, 3, 0.25, -0.75, 1.25},
                                         std::vector<double>{0.5, 1, -2, 3, 0.25, -0.75}, std::vector<double>{0.5, 1.5}}) {
        const Dimension d = trigSeries(c, -0.4, 2.5);
        for (double x : {-3.0, -0.4, 0.77, 5.5}) {
            expectOrders(d, x, {0, 1, 2, 3, 4, 9}, [&](int n) { return trigDirect(c, -0.4, 2.5, n, x); }, 1e-11);
            // one period on
            expectOrders(d, x + 2.5, {0, 1}, [&](int n) { return (n ? EvalDeriv1 : EvalSeries)(d, x); }, 1e-12);
        }
    }
}

TEST(Evaluators, FailuresRaiseTheirErrorNumbers)
{
    // Period 0: x / 0 is 11, and 0 / 0 at the centre is 6, for every
    // evaluator; at start-up before the empty coefficients are touched.
    for (Dimension d : {trigSeries({1, 2, 3}, 0, 0), test::startUp()}) {
        d.DerivOrder = 3;
        for (auto f : {&EvalSeries, &EvalDeriv1, &EvalDeriv2, &EvalDerivN, &EvalSelected}) {
            EXPECT_EQ(errorOf([&] { return f(d, 2.0); }), errorCode(ErrorNumber::DivisionByZero));
            EXPECT_EQ(errorOf([&] { return f(d, 0.0); }), errorCode(ErrorNumber::Overflow));
        }
    }
    const Dimension p = powerSeries({0, 0, 1e300});
    for (auto f : {&EvalSeries, &EvalDeriv1, &EvalDerivN})
        EXPECT_EQ(errorOf([&] { return f(p, 1e10); }), errorCode(ErrorNumber::Overflow));
    EXPECT_EQ(errorOf([&] { return EvalSeries(trigSeries({1e308, 1e308, 1e308}, 0, 4), 0.5); }), errorCode(ErrorNumber::Overflow));
    // x - centre beyond the double range.
    EXPECT_EQ(errorOf([&] { return EvalSeries(powerSeries({1, 1}, -1e308), 1e308); }), errorCode(ErrorNumber::Overflow));
    // (k-1)*k is formed in 32-bit arithmetic: 46341 * 46342 no longer fits.
    EXPECT_EQ(errorOf([&] { return EvalDeriv2(powerSeries(std::vector<double>(46343)), 0.5); }), errorCode(ErrorNumber::Overflow));
    EXPECT_EQ(errorOf([&] { return EvalDeriv2(powerSeries(std::vector<double>(46342)), 0.5); }), 0);
}
