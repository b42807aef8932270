// The evaluators against sums formed independently, their error numbers, and the texts numbers are shown and read as.
#include "core/ball/ball.h"
#include "core/series/block_eval.h"
#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"
#include "support/analysis_fixtures.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

using namespace vendrak;
using test::powerSeries;
using test::trigSeries;

namespace {

int errorOf(const auto& f)
{
    try { f(); } catch (const Error& e) { return errorCode(e.number()); }
    return 0;
}

double derivN(const Dimension& d, int n, double x) { return EvalDerivN(d.series, n, x); }
double deriv3(const Series& s, double x) { return EvalDerivN(s, 3, x); }
double selected3(const Series& s, double x) { return EvalSelected(s, 3, x); }

// Each order through its own evaluator (0, 1, 2) and the general one (n >= 1).
void expectOrders(const Dimension& d, double x, std::initializer_list<int> orders, const auto& reference, double rel)
{
    for (int n : orders) {
        const double r = reference(n), tolerance = rel * std::max(1.0, std::fabs(r));
        const auto own = n == 0 ? EvalSeries : n == 1 ? EvalDeriv1 : EvalDeriv2;
        EXPECT_NEAR(n <= 2 ? own(d.series, x) : r, r, tolerance) << n << " at " << x;
        EXPECT_NEAR(n >= 1 ? derivN(d, n, x) : r, r, tolerance) << n << " at " << x;
    }
}

// The n-th derivative of sum c_k t^k in long double, the weights k!/(k-n)! built as products, not from the table.
double powerDirect(const std::vector<double>& c, int n, long double t)
{
    long double s = 0;
    for (size_t k = size_t(n); k < c.size(); ++k) {
        long double w = 1;
        for (int i = 0; i < n; ++i)
            w *= static_cast<long double>(k - size_t(i));
        s += w * c[k] * std::pow(t, static_cast<long double>(k) - n);
    }
    return double(s);
}

// From the closed form d^n/dθ^n sin(jθ) = j^n sin(jθ + nπ/2), times ω^n.
double trigDirect(const std::vector<double>& c, double centre, double period, int n, double x)
{
    const long double pi = std::numbers::pi_v<long double>, w = 2 * pi / period;
    long double s = n == 0 ? c[0] : 0;
    for (size_t j = 1; 2 * j - 1 < c.size(); ++j) {
        const long double a = j * w * (x - centre) + n * pi / 2, scale = std::pow(j * w, static_cast<long double>(n));
        s += scale * c[2 * j - 1] * std::sin(a) + (2 * j < c.size() ? scale * c[2 * j] * std::cos(a) : 0);
    }
    return double(s);
}

// The block values on each vector unit of this machine, which must all agree to the bit.
BlockValues onEveryTarget(const Series& s, int order, const std::vector<double>& xs)
{
    std::optional<BlockValues> first;
    for (int64_t target : hwy::SupportedAndGeneratedTargets()) {
        hwy::SetSupportedTargetsForTest(target);
        BlockValues v = BlockEvaluator(s, order)(xs);
        if (!first)
            first = std::move(v);
        else
            EXPECT_TRUE(std::memcmp(v.values.data(), first->values.data(), xs.size() * sizeof(double)) == 0) << target;
    }
    hwy::SetSupportedTargetsForTest(0);
    return *first;
}

} // namespace

TEST(Evaluators, PowerDerivativesMatchTheDirectSumAndOrdersAboveTheDegreeGiveZero)
{
    for (const Dimension& d : {powerSeries({4.5}, 2), trigSeries({4.5}, 2, 3)})
        expectOrders(d, -3, {0, 1, 2, 4}, [](int n) { return n == 0 ? 4.5 : 0.0; }, 0);
    const Dimension cubic = powerSeries({1, -2, 3, 7}, 0.5);
    EXPECT_EQ(std::pair(derivN(cubic, 3, 10.25), derivN(cubic, 4, 10.25)), std::pair(42.0, 0.0)); // 3! * 7

    const std::vector<double> c{1, 2, 3, 4, 5, 6};
    const Dimension d = powerSeries(c, 1.5);
    for (double x : {-2.0, 1.5, 2.25, 7.0})
        expectOrders(d, x, {0, 1, 2, 4}, [&](int n) { return powerDirect(c, n, x - 1.5); }, 1e-14);
    EXPECT_EQ(derivN(d, 5, 1.5), 720.0); // k! C[k] at the centre
    // Degrees at and beyond the factorial table: with t near 1 the top coefficients carry real weight, so a wrong
    // weight at 170 or 171 shows.
    for (int degree : {170, 171, 200}) {
        std::vector<double> big(size_t(degree) + 1);
        for (size_t k = 0; k < big.size(); ++k)
            big[k] = (k % 3 == 0 ? -1.0 : 1.0) / (1 + double(k) / 50);
        for (double x : {0.74, -1.2})
            expectOrders(powerSeries(big, -0.25), x, {0, 3, 4, 9}, [&](int n) { return powerDirect(big, n, x + 0.25L); }, 1e-11);
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
            expectOrders(d, x + 2.5, {0, 1}, [&](int n) { return (n ? EvalDeriv1 : EvalSeries)(d.series, x); }, 1e-12); // a period on
        }
    }
}

TEST(Evaluators, FailuresRaiseTheirErrorNumbers)
{
    const int overflow = errorCode(ErrorNumber::Overflow);
    // Period 0: x / 0 is 11, and 0 / 0 at the centre is 6, for every evaluator; at start-up before the empty
    // coefficients are touched.
    for (Dimension d : {trigSeries({1, 2, 3}, 0, 0), test::startUp()}) {
        for (auto f : {&EvalSeries, &EvalDeriv1, &EvalDeriv2, &deriv3, &selected3}) {
            EXPECT_EQ(errorOf([&] { return f(d.series, 2.0); }), errorCode(ErrorNumber::DivisionByZero));
            EXPECT_EQ(errorOf([&] { return f(d.series, 0.0); }), overflow);
        }
    }
    for (auto f : {&EvalSeries, &EvalDeriv1, +[](const Series& s, double x) { return EvalDerivN(s, 0, x); }})
        EXPECT_EQ(errorOf([&] { return f(powerSeries({0, 0, 1e300}).series, 1e10); }), overflow);
    EXPECT_EQ(errorOf([&] { return EvalSeries(trigSeries({1e308, 1e308, 1e308}, 0, 4).series, 0.5); }), overflow);
    EXPECT_EQ(errorOf([&] { return EvalSeries(powerSeries({1, 1}, -1e308).series, 1e308); }), overflow); // x - centre
    // (k-1)*k is formed in 32-bit arithmetic: 46341 * 46342 no longer fits.
    EXPECT_EQ(errorOf([&] { return EvalDeriv2(powerSeries(std::vector<double>(46343)).series, 0.5); }), overflow);
    EXPECT_EQ(errorOf([&] { return EvalDeriv2(powerSeries(std::vector<double>(46342)).series, 0.5); }), 0);
}

// Random series and points, many of them overflowing, every derivative order the window offers; odd point counts
// leave a partial vector group at the end.
TEST(BlockEvaluator, PowerValuesAndErrorsAreTheOnePointOnesBitForBit)
{
    std::mt19937_64 rng(26);
    std::uniform_real_distribution<double> unit(-1, 1);
    int failed = 0, agreed = 0;
    for (int degree : {0, 1, 7, 50, 170, 171, 400}) {
        std::vector<double> c(size_t(degree) + 1);
        for (double& v : c)
            v = unit(rng) * std::pow(10.0, 30 * unit(rng));
        const Dimension d = powerSeries(c, unit(rng) * 10);
        std::vector<double> xs{1e308, -1e308, d.series.Centre};
        for (int i = 0; i < 98; ++i)
            xs.push_back(d.series.Centre + unit(rng) * std::pow(10.0, 3 * unit(rng)));
        for (int order = 0; order <= 9; ++order) {
            const BlockValues got = onEveryTarget(d.series, order, xs);
            for (size_t i = 0; i < xs.size(); ++i) {
                double want = 0;
                const int error = errorOf([&] { want = EvalSelected(d.series, order, xs[i]); });
                ASSERT_EQ(got.faults[i] ? errorCode(*got.faults[i]) : 0, error) << degree << " " << order << " " << xs[i];
                ASSERT_EQ(error ? 0 : std::bit_cast<uint64_t>(got.values[i]), error ? 0 : std::bit_cast<uint64_t>(want))
                    << degree << " " << order << " " << xs[i];
                (error ? failed : agreed) += 1;
            }
        }
    }
    EXPECT_GT(failed, 300);
    EXPECT_GT(agreed, 3000);
}

// The bound on the rotated harmonics holds against the one-point evaluator and against the sum at the same angles
// in 128-bit balls; errors are those of the one-point evaluator (a period of 0, coefficients too large to sum).
TEST(BlockEvaluator, TrigonometricValuesLieWithinTheirBoundOfTheOnePointOnesAndOfTheExactSum)
{
    std::mt19937_64 rng(2026);
    std::uniform_real_distribution<double> unit(-1, 1);
    int bounded = 0;
    for (const auto& [top, period, size] : {std::tuple{1, 2.5, 1.0}, {2, 1e-3, 1.0}, {101, 7.0, 1.0}, {600, 0.3, 1e3},
                                           {10001, 6.25, 1.0}, {40, 0.0, 1.0}, {12, 2.0, 1e306}}) {
        std::vector<double> c(size_t(top) + 1);
        for (double& v : c)
            v = unit(rng) * size;
        const Dimension d = trigSeries(c, unit(rng), period);
        std::vector<double> xs{d.series.Centre};
        for (int i = 0; i < (top > 1000 ? 20 : 200); ++i)
            xs.push_back(d.series.Centre + unit(rng) * std::pow(10.0, 3 * unit(rng)) * period);
        const BlockValues got = onEveryTarget(d.series, 0, xs);
        double absSum = 0;
        for (double v : c)
            absSum += std::fabs(v);
        for (size_t i = 0; i < xs.size(); ++i) {
            double want = 0;
            const int error = errorOf([&] { want = EvalSeries(d.series, xs[i]); });
            ASSERT_EQ(got.faults[i] ? errorCode(*got.faults[i]) : 0, error) << top << " " << xs[i];
            if (error)
                continue;
            EXPECT_LE(std::fabs(got.values[i] - want), got.bounds[i]) << top << " " << xs[i];
            EXPECT_LE(got.bounds[i], 1e-10 * absSum);
            if (got.bounds[i] == 0) // evaluated by the one-point evaluator: angles beyond the bound's reach
                continue;
            ++bounded;
            // The angles as the evaluators accumulate them, the sum of their sines and cosines in balls.
            const double theta = (xs[i] - d.series.Centre) * std::atan(1.0) * 8 / period;
            Ball sum, angle, sn, cs;
            arb_set_d(sum.v, c[0]);
            double a = 0;
            for (size_t k = 1; k < c.size(); k += 2) {
                arb_set_d(angle.v, a += theta);
                arb_sin_cos(sn.v, cs.v, angle.v, 128);
                Arf coefficient(c[k]);
                arb_addmul_arf(sum.v, sn.v, coefficient.v, 128);
                if (k + 1 < c.size()) {
                    Arf cosine(c[k + 1]);
                    arb_addmul_arf(sum.v, cs.v, cosine.v, 128);
                }
            }
            const double exact = arf_get_d(arb_midref(sum.v), ARF_RND_NEAR);
            EXPECT_LE(std::fabs(got.values[i] - exact), got.bounds[i] + std::fabs(exact) * 0x1p-52) << top << " " << xs[i];
        }
    }
    EXPECT_GT(bounded, 500);
}

TEST(NumberText, FifteenDigitsForDoublesSevenForSinglesAndReadingStopsWhereTheNumberCannotGoOn)
{
    const std::pair<double, const char*> doubles[] = {
        {std::sqrt(2.0), "1.4142135623731"}, {-0.5, "-0.5"}, {1e20, "1E+20"}, {1.5e-7, "1.5E-07"}, {-0.0, "0"},
        {123456789012345.0, "123456789012345"}, {1e15, "1E+15"}, {0.1 + 0.2, "0.3"}, {0.0001, "0.0001"}, {0.00001, "1E-05"},
        {-1.5e300, "-1.5E+300"}, {5e-324, "4.94065645841247E-324"}, {123456789.123456789, "123456789.123457"},
        {0.99999999999999999, "1"}, {999999999999999.9, "1E+15"}}; // rounding carries into a new digit
    for (const auto& [v, text] : doubles)
        EXPECT_EQ(NumberText(v), text) << v;
    for (const auto& [v, text] : {std::pair{1e-7f, "1E-07"}, {0.1f, "0.1"}, {-40.0f / 3.0f, "-13.33333"}, {1e7f, "1E+07"},
                                  {16777216.0f, "1.677722E+07"}, {123456.7f, "123456.7"}})
        EXPECT_EQ(NumberText(v), text) << v;
    // Settings drop the leading zero; printing keeps a place for the sign and ends in a blank.
    EXPECT_EQ(QStringList({SettingsText(0.01), SettingsText(-0.5), SettingsText(-20.0f), SettingsText(256), PrintNumberText(2.5),
                           PrintNumberText(-1.5), PrintNumberText(-3)}),
              QStringList({".01", "-.5", "-20", "256", " 2.5 ", "-1.5 ", "-3 "}));
    for (double v : {std::sqrt(2.0), -1.0 / 3, 6.02214076e23, 1.602176634e-19, 2.0 / 7 * 1e-5, 1e15 - 1})
        EXPECT_EQ(NumberText(LeadingNumber(NumberText(v))), NumberText(v)); // reads back to the same digits

    const std::pair<const char*, double> leading[] = {
        {"12abc", 12}, {"", 0}, {"abc", 0}, {"  -1.5e2x", -150}, {"1,5", 1}, {".5", 0.5}, {"1.2.3", 1.2}, {"3e", 3},
        {"1e+", 1}, {"-", 0}, {".", 0}, {"+-1", 0}, {"  +7", 7}, {"\t-2", -2}, {"-.5e1", -5}, {"1.E2", 100},
        {"1e-400", 0}}; // too small is zero, not an error
    for (const auto& [text, v] : leading)
        EXPECT_EQ(LeadingNumber(text), v) << text;
    for (const auto& [text, length] : {std::pair{"1e5z", 3}, {"x1", 0}, {"  -1.5e+3,", 9}, {".", 0}, {"-.", 0}})
        EXPECT_EQ(LeadingNumberLength(text), length) << text;
    // Whole numbers: halves to even, and outside the 32-bit range error 6.
    for (const auto& [text, v] : {std::pair{"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"-1.5", -2}, {"0.5", 0}, {"abc", 0},
                                  {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}})
        EXPECT_EQ(LeadingInt32(text), v) << text;
    EXPECT_EQ(errorOf([] { LeadingNumber("1e999"); }), errorCode(ErrorNumber::Overflow));
    for (const char* text : {"2147483648", "-2147483649"})
        EXPECT_EQ(errorOf([&] { LeadingInt32(text); }), errorCode(ErrorNumber::Overflow)) << text;
}
