#include "analysis/point_value.h"
#include "analysis_fixtures.h"
#include "shell/errors.h"
#include "shell/number_text.h"

#include <gtest/gtest.h>

namespace vendrak {
namespace {

using test::powerSeries;
using test::startUp;
using test::trigSeries;

TEST(PointValue, FunctionAndDerivatives)
{
    Dimension d = powerSeries({0, 0, 1}); // x^2
    EXPECT_EQ(PointValueText(d, "0", "3"), "9");
    EXPECT_EQ(PointValueText(d, "1", "3"), "6");
    EXPECT_EQ(PointValueText(d, "2", "3"), "2");
    EXPECT_EQ(PointValueText(d, "3", "3"), "0");
    EXPECT_EQ(d.DerivOrder, 3); // the order typed, until the next reading of the study fields
    EXPECT_EQ(PointValueText(d, "", "3"), "9");
    EXPECT_EQ(PointValueText(d, "0", "3abc"), "9");
    EXPECT_EQ(PointValueText(d, "0", "1e3"), "1000000"); // far outside any interval
}

TEST(PointValue, OrderRoundsHalvesToEven)
{
    Dimension d = powerSeries({0, 0, 0, 0, 1}); // x^4 at 1: f'' = 12, f'''' = 24
    EXPECT_EQ(PointValueText(d, "2.5", "1"), "12");
    EXPECT_EQ(d.DerivOrder, 2);
    EXPECT_EQ(PointValueText(d, "3.5", "1"), "24");
    EXPECT_EQ(d.DerivOrder, 4);
}

TEST(PointValue, OrdersUpTo170)
{
    std::vector<double> c(171, 0.0);
    c[170] = 1; // x^170: its 170th derivative is 170!
    Dimension d = powerSeries(c);
    EXPECT_EQ(PointValueText(d, "170", "0"), NumberText(d.Factorials[170]));
    d.ierr = 0;
    EXPECT_EQ(PointValueText(d, "171", "0"), "");
    EXPECT_EQ(d.ierr, 0); // not an error, simply no value
    EXPECT_EQ(PointValueText(d, "1e10", "0"), ""); // beyond 32 bits
    EXPECT_EQ(d.ierr, ErrOverflow);
}

TEST(PointValue, NegativeOrdersGiveNoValue)
{
    Dimension power = powerSeries({1, 2, 3});
    EXPECT_EQ(PointValueText(power, "-1", "2"), "");
    EXPECT_EQ(power.ierr, ErrSubscript);
    // A trigonometric series would produce a number for a negative order,
    // but it is no derivative.
    Dimension trig = trigSeries({0, 1}, 0, 6.283185307179586);
    EXPECT_EQ(PointValueText(trig, "-1", "1"), "");
    EXPECT_EQ(PointValueText(trig, "-2147483648", "1"), "");
    EXPECT_EQ(PointValueText(power, "-2147483648", "1"), "");
}

TEST(PointValue, NoSeriesLoadedGivesNothing)
{
    Dimension d = startUp();
    EXPECT_EQ(PointValueText(d, "0", "0"), ""); // 0/0 at the centre
    EXPECT_EQ(d.ierr, ErrOverflow);
    EXPECT_EQ(PointValueText(d, "0", "1"), "");
    EXPECT_EQ(d.ierr, ErrDivisionByZero);
}

} // namespace
} // namespace vendrak
