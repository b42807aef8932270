#include "analysis/integral.h"
#include "analysis_fixtures.h"
#include "shell/errors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vendrak {
namespace {

using test::powerSeries;
using test::startUp;
using test::trigSeries;

IntegralOutcome integrate(Dimension& d, double lower, double upper)
{
    d.XLower = lower;
    d.XUpper = upper;
    return ComputeIntegral(d);
}

TEST(Integral, ClosedFormCases)
{
    // 1 + 2 (x - 1) from 0 to 2: F(-1) = 0, F(1) = 2.
    Dimension line = powerSeries({1, 2}, 1);
    IntegralOutcome out = integrate(line, 0, 2);
    ASSERT_TRUE(out.done);
    EXPECT_EQ(out.label, "2");
    EXPECT_EQ(line.IntegralValue, 2.0);
    EXPECT_TRUE(line.IntegralDone);
    EXPECT_TRUE(out.message.isEmpty());

    // A constant trigonometric series: 3 over [0, 1].
    Dimension constant = trigSeries({3}, 0, 2);
    out = integrate(constant, 0, 1);
    EXPECT_EQ(out.label, "3");

    // Constant 0.5 and a lone sine term over one full period: the sine part
    // integrates to 0.
    Dimension loneSine = trigSeries({0.5, 4}, 0.3, 2.5);
    out = integrate(loneSine, 0.3, 2.8);
    EXPECT_NEAR(loneSine.IntegralValue, 0.5 * 2.5, 1e-14);
}

TEST(Integral, LimitsAreTakenAsGiven)
{
    Dimension d = powerSeries({1, -3, 0.5}, 0.25);
    EXPECT_EQ(integrate(d, 1.5, 1.5).label, "0");
    integrate(d, -2, 3);
    const double forward = d.IntegralValue;
    integrate(d, 3, -2);
    EXPECT_DOUBLE_EQ(d.IntegralValue, -forward);

    Dimension t = trigSeries({1, 2, -1, 0.5}, 0.4, 3);
    integrate(t, -1, 2);
    const double tForward = t.IntegralValue;
    integrate(t, 2, -1);
    EXPECT_NEAR(t.IntegralValue, -tForward, 1e-14);
}

TEST(Integral, FailuresShowTheirMessageAndKeepThePreviousResult)
{
    struct Case {
        const char* name;
        Dimension d;
        QString message;
        int number;
    };
    Dimension noSeries = startUp(); // kind 0, period 0: x / 0
    Dimension zeroPeriodAtCentre = trigSeries({1, 2, 3}, 0, 0);
    zeroPeriodAtCentre.XLower = 0; // 0 / 0
    Dimension huge = powerSeries({1e308, 1e308});
    Dimension malformed = powerSeries({1, 2});
    malformed.TermCount = 4; // coefficients missing: error 9, no message
    const Case cases[] = {
        {"no series", noSeries, "division by zero", ErrDivisionByZero},
        {"period 0 at the centre", zeroPeriodAtCentre, "overflow", ErrOverflow},
        {"overflow", huge, "overflow", ErrOverflow},
        {"missing coefficients", malformed, "", ErrSubscript},
    };
    for (Case c : cases) {
        c.d.IntegralValue = 42;
        c.d.IntegralDone = false;
        const IntegralOutcome out = ComputeIntegral(c.d);
        EXPECT_FALSE(out.done) << c.name;
        EXPECT_EQ(out.message, c.message) << c.name;
        EXPECT_EQ(c.d.ScratchText, c.message) << c.name;
        EXPECT_EQ(c.d.ierr, c.number) << c.name;
        EXPECT_EQ(c.d.IntegralValue, 42) << c.name;
        EXPECT_FALSE(c.d.IntegralDone) << c.name;
    }
    // Codes no integral raises today still have their message.
    Dimension d;
    EXPECT_EQ(IntegralFailure(d, ErrInvalidCall).message, "Invalid procedure call or argument");
    EXPECT_EQ(IntegralFailure(d, ErrScriptReported).message, "Invalid procedure call or argument");
}

TEST(Integral, UnknownSeriesKindComputesNothingButCountsAsDone)
{
    Dimension d = powerSeries({1, 2});
    d.SeriesType = 7;
    d.IntegralValue = 1.5;
    const IntegralOutcome out = ComputeIntegral(d);
    EXPECT_TRUE(out.done);
    EXPECT_EQ(out.label, "1.5");
    EXPECT_TRUE(d.IntegralDone);
}

} // namespace
} // namespace vendrak
