#include "shell/errors.h"
#include "shell/number_text.h"

#include <gtest/gtest.h>
#include <clocale>
#include <cmath>
#include <string>

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

TEST(NumberText, SwitchesToExponentFormAtTheSameBoundsAsTheDisplay)
{
    EXPECT_EQ(NumberText(0.0001), "0.0001");
    EXPECT_EQ(NumberText(0.00001), "1E-05");
    EXPECT_EQ(NumberText(-1.5e300), "-1.5E+300");
    EXPECT_EQ(NumberText(5e-324), "4.94065645841247E-324");
    EXPECT_EQ(NumberText(123456789.123456789), "123456789.123457");
    // Rounding to 15 digits can carry into a new leading digit.
    EXPECT_EQ(NumberText(0.99999999999999999), "1");
    EXPECT_EQ(NumberText(999999999999999.9), "1E+15");
    EXPECT_EQ(NumberText(-0.0), "0");
    EXPECT_EQ(NumberText(16777216.0f), "1.677722E+07");
    EXPECT_EQ(NumberText(123456.7f), "123456.7");
    EXPECT_EQ(SettingsText(0.5f), ".5");
    EXPECT_EQ(PrintNumberText(-3), "-3 ");
}

TEST(NumberText, TextReadsBackToTheSameFifteenDigits)
{
    for (double v : {std::sqrt(2.0), -1.0 / 3, 6.02214076e23, 1.602176634e-19, 2.0 / 7 * 1e-5, 1e15 - 1}) {
        const QString t = NumberText(v);
        EXPECT_EQ(LeadingNumberLength(t), t.size()) << t.toStdString();
        EXPECT_EQ(NumberText(LeadingNumber(t)), t);
        EXPECT_NEAR(LeadingNumber(t), v, std::fabs(v) * 1e-14);
    }
}

TEST(LeadingNumber, SignsBlanksAndUnderflow)
{
    EXPECT_EQ(LeadingNumber("  +7"), 7);
    EXPECT_EQ(LeadingNumber("\t-2"), -2);
    EXPECT_EQ(LeadingNumber("1e-400"), 0); // too small is zero, not an error
    EXPECT_EQ(LeadingNumber("-.5e1"), -5);
    EXPECT_EQ(LeadingNumber("1.E2"), 100);
    EXPECT_EQ(LeadingNumber("+-1"), 0);
    EXPECT_EQ(LeadingNumber("1e+"), 1);
    EXPECT_EQ(LeadingNumberLength("  -1.5e+3,"), 9);
    EXPECT_EQ(LeadingInt32("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(LeadingInt32("0.5"), 0);
    EXPECT_EQ(LeadingInt32("-1.5"), -2);
    EXPECT_EQ(LeadingInt32("abc"), 0);
}

TEST(LeadingNumber, ReadsAPointUnderAnyNumericLocale)
{
    // Runs where such locales are installed (LOCPATH may point at them).
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    int tried = 0;
    for (const char* name : {"de_DE.UTF-8", "ps_AF.UTF-8", "fr_FR.UTF-8"}) {
        if (!std::setlocale(LC_NUMERIC, name))
            continue;
        ++tried;
        EXPECT_EQ(LeadingNumber("1.25e1"), 12.5) << name;
        EXPECT_EQ(LeadingNumber("-0.5"), -0.5) << name;
        EXPECT_EQ(NumberText(1.25), "1.25") << name;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
    if (tried == 0)
        GTEST_SKIP() << "no comma-separator locale installed";
}
