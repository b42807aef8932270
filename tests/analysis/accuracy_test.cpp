// The analysis results against references computed another way: the known
// roots and extrema of sin, antiderivatives evaluated term by term with
// direct powers and angles in extended precision, and numerical quadrature.
#include "analysis/extrema.h"
#include "analysis/integral.h"
#include "analysis/roots.h"
#include "analysis_fixtures.h"
#include "series/evaluators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vendrak {
namespace {

using std::numbers::pi;
using test::powerSeries;
using test::sineTaylor;
using test::trigSeries;

std::vector<double> sorted(const auto& table, int count)
{
    std::vector<double> v(table.begin() + 1, table.begin() + 1 + count);
    std::sort(v.begin(), v.end());
    return v;
}

// Within a tenth of the error bound, although Newton stops at the bound.
constexpr double kTolerance = 1e-3;

TEST(Accuracy, RootsOfTheSineTaylorSeries)
{
    Dimension d = sineTaylor(25);
    const ScanOutcome scan = FindRoots(d);
    EXPECT_EQ(scan.label, "5 roots");
    const std::vector<double> expected{-2 * pi, -pi, 0, pi, 2 * pi};
    const std::vector<double> found = sorted(d.Roots, d.RootCount);
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(found[i], expected[i], kTolerance) << i;
}

TEST(Accuracy, ExtremaOfTheSineTaylorSeries)
{
    Dimension d = sineTaylor(25);
    const ScanOutcome scan = FindExtrema(d);
    EXPECT_EQ(scan.label, "3 max. 3 min. ");
    const std::vector<double> maxima{-1.5 * pi, 0.5 * pi, 2.5 * pi};
    const std::vector<double> minima{-2.5 * pi, -0.5 * pi, 1.5 * pi};
    const std::vector<double> foundMax = sorted(d.Maxima, d.MaxCount);
    const std::vector<double> foundMin = sorted(d.Minima, d.MinCount);
    ASSERT_EQ(foundMax.size(), 3u);
    ASSERT_EQ(foundMin.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(foundMax[i], maxima[i], kTolerance) << i;
        EXPECT_NEAR(foundMin[i], minima[i], kTolerance) << i;
        EXPECT_NEAR(std::sin(foundMax[i]), 1.0, 1e-6);
        EXPECT_NEAR(std::sin(foundMin[i]), -1.0, 1e-6);
    }
}

// sum c[k] t^(k+1) / (k+1), with direct powers in long double.
long double powerAntiderivative(const std::vector<double>& c, long double t)
{
    long double sum = 0;
    for (size_t k = 0; k < c.size(); ++k)
        sum += c[k] * std::pow(t, static_cast<long double>(k + 1)) / static_cast<long double>(k + 1);
    return sum;
}

// c0 x + sum P/(2 pi j) (-a_j cos(j theta) + b_j sin(j theta)), with the
// angles j*theta formed directly.
long double trigAntiderivative(const std::vector<double>& c, double centre, double period, long double x)
{
    const long double w = 2 * std::numbers::pi_v<long double> / period;
    const long double theta = w * (x - centre);
    long double sum = c[0] * (x - centre);
    for (size_t k = 1; k < c.size(); ++k) {
        const long double j = static_cast<long double>((k + 1) / 2);
        if (k % 2 == 1)
            sum -= c[k] * std::cos(j * theta) / (j * w);
        else
            sum += c[k] * std::sin(j * theta) / (j * w);
    }
    return sum;
}

// Composite Simpson over the evaluator, an independent path to the value.
double simpson(const Dimension& d, double a, double b, int n)
{
    const double h = (b - a) / n;
    double sum = EvalSeries(d, a) + EvalSeries(d, b);
    for (int i = 1; i < n; ++i)
        sum += EvalSeries(d, a + i * h) * (i % 2 ? 4 : 2);
    return sum * h / 3;
}

TEST(Accuracy, PowerIntegralAgainstTheAntiderivative)
{
    Dimension sine = sineTaylor(25);
    const std::vector<double> c = sine.Coeffs;
    for (const auto& [a, b] : std::vector<std::pair<double, double>>{{-8, 8}, {0, 3.5}, {-1.25, 7.75}}) {
        sine.XLower = a;
        sine.XUpper = b;
        ASSERT_TRUE(ComputeIntegral(sine).done);
        const long double reference = powerAntiderivative(c, b) - powerAntiderivative(c, a);
        EXPECT_NEAR(sine.IntegralValue, static_cast<double>(reference), 1e-12) << a << " " << b;
        // and the series is sin: cos(a) - cos(b), up to the truncation of the series
        EXPECT_NEAR(sine.IntegralValue, std::cos(a) - std::cos(b), 1e-3) << a << " " << b;
        EXPECT_NEAR(sine.IntegralValue, simpson(sine, a, b, 4096), 1e-9) << a << " " << b;
    }

    // Off-centre, with a large coefficient range.
    const std::vector<double> coeffs{2.5, -1, 0.75, 3, -0.125, 0.01};
    Dimension p = powerSeries(coeffs, 1.75);
    p.XLower = -2.5;
    p.XUpper = 4.25;
    ComputeIntegral(p);
    const long double reference = powerAntiderivative(coeffs, 4.25L - 1.75L) - powerAntiderivative(coeffs, -2.5L - 1.75L);
    EXPECT_NEAR(p.IntegralValue, static_cast<double>(reference), 1e-12 * std::fabs(static_cast<double>(reference)));
}

TEST(Accuracy, TrigonometricIntegralAgainstTheAntiderivative)
{
    // An even top index (every harmonic complete) and an odd one (a lone sine).
    const std::vector<std::vector<double>> series{
        {0.5, 1, -2, 0.25, 0.75, -0.3, 0.1},
        {-1, 0.2, 0.4, -0.6, 0.8, 1.2},
    };
    for (const auto& c : series) {
        Dimension d = trigSeries(c, 0.7, 3.3);
        for (const auto& [a, b] : std::vector<std::pair<double, double>>{{-8, 8}, {0.7, 4}, {2.25, -5.5}}) {
            d.XLower = a;
            d.XUpper = b;
            ASSERT_TRUE(ComputeIntegral(d).done);
            const long double reference = trigAntiderivative(c, 0.7, 3.3, b) - trigAntiderivative(c, 0.7, 3.3, a);
            EXPECT_NEAR(d.IntegralValue, static_cast<double>(reference), 1e-12) << c.size() << ": " << a << " " << b;
            EXPECT_NEAR(d.IntegralValue, simpson(d, a, b, 8192), 1e-9) << c.size() << ": " << a << " " << b;
        }
    }
}

} // namespace
} // namespace vendrak
