#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <cmath>

using namespace vendrak;

template <typename F> static int errorOf(F f)
{
    try { f(); } catch (const RunTimeError& e) { return errorCode(e.number()); }
    return 0;
}

TEST(NumberText, FifteenDigitsForDoublesSevenForSinglesExponentOutsideTheDisplayRange)
{
    const struct { double v; const char* text; } doubles[] = {
        {std::sqrt(2.0), "1.4142135623731"}, {0.5, "0.5"}, {-0.5, "-0.5"}, {1e20, "1E+20"}, {1.5e-7, "1.5E-07"},
        {0.0, "0"}, {-0.0, "0"}, {-3.0, "-3"}, {123456789012345.0, "123456789012345"}, {1e15, "1E+15"},
        {0.1 + 0.2, "0.3"}, {0.0001, "0.0001"}, {0.00001, "1E-05"}, {-1.5e300, "-1.5E+300"},
        {5e-324, "4.94065645841247E-324"}, {123456789.123456789, "123456789.123457"},
        {0.99999999999999999, "1"}, {999999999999999.9, "1E+15"}}; // rounding carries into a new digit
    for (const auto& c : doubles)
        EXPECT_EQ(NumberText(c.v), c.text) << c.v;
    const struct { float v; const char* text; } singles[] = {
        {1e-7f, "1E-07"}, {0.1f, "0.1"}, {-40.0f / 3.0f, "-13.33333"}, {1e7f, "1E+07"},
        {16777216.0f, "1.677722E+07"}, {123456.7f, "123456.7"}};
    for (const auto& c : singles)
        EXPECT_EQ(NumberText(c.v), c.text) << c.v;
    // Settings drop the leading zero; printing keeps a place for the sign and ends in a blank.
    EXPECT_EQ(QStringList({SettingsText(0.01), SettingsText(-0.5), SettingsText(-20.0f), SettingsText(256)}),
              QStringList({".01", "-.5", "-20", "256"}));
    EXPECT_EQ(QStringList({PrintNumberText(2.5), PrintNumberText(-1.5), PrintNumberText(-3)}),
              QStringList({" 2.5 ", "-1.5 ", "-3 "}));
    for (double v : {std::sqrt(2.0), -1.0 / 3, 6.02214076e23, 1.602176634e-19, 2.0 / 7 * 1e-5, 1e15 - 1})
        EXPECT_EQ(NumberText(LeadingNumber(NumberText(v))), NumberText(v)); // reads back to the same digits
}

TEST(LeadingNumber, StopsWhereTheNumberCannotGoOnRoundsHalvesToEvenAndOverflowIsSix)
{
    const struct { const char* text; double v; } cases[] = {
        {"12abc", 12}, {"", 0}, {"abc", 0}, {"  -1.5e2x", -150}, {"1,5", 1}, {".5", 0.5}, {"1.2.3", 1.2},
        {"3e", 3}, {"1e+", 1}, {"-", 0}, {".", 0}, {"+-1", 0}, {"  +7", 7}, {"\t-2", -2}, {"-.5e1", -5},
        {"1.E2", 100}, {"1e-400", 0}}; // too small is zero, not an error
    for (const auto& c : cases)
        EXPECT_EQ(LeadingNumber(c.text), c.v) << c.text;
    EXPECT_EQ(LeadingNumberLength("1e5z"), 3);
    EXPECT_EQ(LeadingNumberLength("x1"), 0);
    EXPECT_EQ(LeadingNumberLength("  -1.5e+3,"), 9);
    EXPECT_EQ(errorOf([] { LeadingNumber("1e999"); }), errorCode(ErrorNumber::Overflow));
    // Whole numbers: halves to even, and outside the 32-bit range error 6.
    const struct { const char* text; int v; } ints[] = {
        {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"-1.5", -2}, {"0.5", 0}, {"abc", 0},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
    for (const auto& c : ints)
        EXPECT_EQ(LeadingInt32(c.text), c.v) << c.text;
    EXPECT_EQ(errorOf([] { LeadingInt32("2147483648"); }), errorCode(ErrorNumber::Overflow));
    EXPECT_EQ(errorOf([] { LeadingInt32("-2147483649"); }), errorCode(ErrorNumber::Overflow));
}
