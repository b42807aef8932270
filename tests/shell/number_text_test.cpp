#include "shell/errors.h"
#include "shell/number_text.h"

#include <gtest/gtest.h>
#include <cmath>

using namespace vendrak;

TEST(NumberText, DoubleShowsShortestTextWithFifteenDigits)
{
    EXPECT_EQ(NumberText(std::sqrt(2.0)), "1.4142135623731");
    EXPECT_EQ(NumberText(0.5), "0.5");
    EXPECT_EQ(NumberText(-0.5), "-0.5");
    EXPECT_EQ(NumberText(1e20), "1E+20");
    EXPECT_EQ(NumberText(1.5e-7), "1.5E-07");
    EXPECT_EQ(NumberText(-3.0), "-3");
    EXPECT_EQ(NumberText(0.0), "0");
    EXPECT_EQ(NumberText(100.0), "100");
    EXPECT_EQ(NumberText(123456789012345.0), "123456789012345");
    EXPECT_EQ(NumberText(1e15), "1E+15");
    EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
}

TEST(NumberText, SingleShowsSevenDigits)
{
    EXPECT_EQ(NumberText(1e-7f), "1E-07");
    EXPECT_EQ(NumberText(0.1f), "0.1");
    EXPECT_EQ(NumberText(-40.0f / 3.0f), "-13.33333");
    EXPECT_EQ(NumberText(1e7f), "1E+07");
}

TEST(NumberText, SettingsTextDropsLeadingZero)
{
    EXPECT_EQ(SettingsText(0.01), ".01");
    EXPECT_EQ(SettingsText(-0.5), "-.5");
    EXPECT_EQ(SettingsText(-20.0f), "-20");
    EXPECT_EQ(SettingsText(256), "256");
}

TEST(NumberText, PrintNumberTextHasSignPlaceAndTrailingSpace)
{
    EXPECT_EQ(PrintNumberText(2.5), " 2.5 ");
    EXPECT_EQ(PrintNumberText(-1.5), "-1.5 ");
    EXPECT_EQ(PrintNumberText(0.0), " 0 ");
}

TEST(LeadingNumber, StopsAtFirstCharacterThatCannotContinue)
{
    EXPECT_EQ(LeadingNumber("12abc"), 12);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber("  -1.5e2x"), -150);
    EXPECT_EQ(LeadingNumber("1,5"), 1);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);
    EXPECT_EQ(LeadingNumber("3e"), 3);
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(LeadingNumber("."), 0);
    EXPECT_EQ(LeadingNumberLength("1e5z"), 3);
    EXPECT_EQ(LeadingNumberLength("x1"), 0);
}

TEST(LeadingNumber, OverflowRaisesErrorSix)
{
    try {
        LeadingNumber("1e999");
        FAIL();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), ErrOverflow);
    }
}

TEST(LeadingInt32, RoundsHalvesToEvenAndGuardsTheRange)
{
    EXPECT_EQ(LeadingInt32("2.5"), 2);
    EXPECT_EQ(LeadingInt32("3.5"), 4);
    EXPECT_EQ(LeadingInt32("-2.5"), -2);
    EXPECT_EQ(LeadingInt32("2147483647"), 2147483647);
    EXPECT_THROW(LeadingInt32("2147483648"), RunTimeError);
    EXPECT_THROW(LeadingInt32("-2147483649"), RunTimeError);
}
