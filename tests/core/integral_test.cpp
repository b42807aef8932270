// The two commands that give one number: the integral and the value of a
// derivative at a point.
#include "core/analysis/integral.h"
#include "core/analysis/point_value.h"
#include "support/analysis_fixtures.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <gtest/gtest.h>

namespace vendrak {
namespace {

using test::on;
using test::trigSeries;

TEST(Integral, ClosedFormsWithTheLimitsTakenAsGiven)
{
    // 1 + 2 (x - 1) from 0 to 2: F(-1) = 0, F(1) = 2.
    Dimension line = on(test::powerSeries({1, 2}, 1), 0, 2);
    const IntegralOutcome out = ComputeIntegral(line);
    ASSERT_TRUE(out.done);
    EXPECT_EQ(out.label, "2");
    EXPECT_EQ(line.IntegralValue, 2.0);
    EXPECT_TRUE(line.IntegralDone);
    EXPECT_TRUE(out.message.isEmpty());
    Dimension constant = on(trigSeries({3}, 0, 2), 0, 1);
    EXPECT_EQ(ComputeIntegral(constant).label, "3");
    Dimension empty = on(line, 1.5, 1.5);
    EXPECT_EQ(ComputeIntegral(empty).label, "0");
    // Reversed limits; a lone sine term over a full period gives nothing.
    Dimension sine = on(trigSeries({0.5, 4}, 0.3, 2.5), 2.8, 0.3);
    ComputeIntegral(sine);
    EXPECT_NEAR(sine.IntegralValue, -0.5 * 2.5, 1e-14);
}

TEST(Integral, FailuresShowTheirMessageAndKeepThePreviousResult)
{
    Dimension malformed = test::powerSeries({1, 2});
    malformed.TermCount = 4; // coefficients missing: error 9, no message
    const struct { const char* name; Dimension d; QString message; int number; } cases[] = {
        {"no series", test::startUp(), "division by zero", errorCode(ErrorNumber::DivisionByZero)}, // x / 0
        {"period 0 at the centre", on(trigSeries({1, 2, 3}, 0, 0), 0, 8), "overflow", errorCode(ErrorNumber::Overflow)}, // 0 / 0
        {"overflow", test::powerSeries({1e308, 1e308}), "overflow", errorCode(ErrorNumber::Overflow)},
        {"missing coefficients", malformed, "", errorCode(ErrorNumber::Subscript)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dimension d = c.d;
        d.IntegralValue = 42;
        d.IntegralDone = false;
        const IntegralOutcome out = ComputeIntegral(d);
        EXPECT_FALSE(out.done);
        EXPECT_EQ(out.message, c.message);
        EXPECT_EQ(d.ierr, c.number);
        EXPECT_EQ(d.IntegralValue, 42);
        EXPECT_FALSE(d.IntegralDone);
    }
}

TEST(PointValue, FunctionAndDerivativesWithTheOrderRoundedHalfToEven)
{
    Dimension d = test::powerSeries({0, 0, 1}); // x^2
    const char* const cases[][3] = {
        {"0", "3", "9"}, {"1", "3", "6"}, {"2", "3", "2"}, {"3", "3", "0"},
        {"", "3", "9"}, {"0", "3abc", "9"}, {"0", "1e3", "1000000"}, // far outside any interval
    };
    for (const auto& [order, at, shown] : cases)
        EXPECT_EQ(PointValueText(d, order, at), shown) << order << " at " << at;
    Dimension quartic = test::powerSeries({0, 0, 0, 0, 1}); // at 1: f'' = 12, f'''' = 24
    EXPECT_EQ(PointValueText(quartic, "2.5", "1"), "12");
    EXPECT_EQ(quartic.DerivOrder, 2); // until the next reading of the study fields
    EXPECT_EQ(PointValueText(quartic, "3.5", "1"), "24");
}

TEST(PointValue, OrdersOutsideZeroTo170AndNoSeriesGiveNoValue)
{
    std::vector<double> c(171, 0.0);
    c[170] = 1; // x^170: its 170th derivative is 170!
    Dimension d = test::powerSeries(c);
    EXPECT_EQ(PointValueText(d, "170", "0"), NumberText(d.Factorials[170]));
    d.ierr = 0;
    EXPECT_EQ(PointValueText(d, "171", "0"), "");
    EXPECT_EQ(d.ierr, 0); // not an error, simply no value
    EXPECT_EQ(PointValueText(d, "1e10", "0"), ""); // beyond 32 bits
    EXPECT_EQ(PointValueText(d, "-1", "2"), "");
    // A trigonometric series would produce a number, but it is no derivative.
    Dimension trig = test::trigSeries({0, 1}, 0, 6.283185307179586);
    EXPECT_EQ(PointValueText(trig, "-1", "1"), "");
    EXPECT_EQ(PointValueText(trig, "-2147483648", "1"), "");

    Dimension none = test::startUp();
    EXPECT_EQ(PointValueText(none, "0", "0"), ""); // 0/0 at the centre
    EXPECT_EQ(none.ierr, errorCode(ErrorNumber::Overflow));
    EXPECT_EQ(PointValueText(none, "0", "1"), "");
    EXPECT_EQ(none.ierr, errorCode(ErrorNumber::DivisionByZero));
}

} // namespace
} // namespace vendrak
