// Files the fuzzer of the series file reader found a fault with. 15 digits rounded the largest numbers past their
// range, so a file that opened fine could not be opened again once saved: a Save destroyed the study.
// Then what the fuzzer of the builders found, decoded (fuzz/builder_fuzz.cpp says how).
#include "core/builder/series_builder.h"
#include "core/series/series_file.h"
#include "support/analysis_fixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

using namespace vendrak;

TEST(FuzzRegression, TheLargestCoefficientsAndSettingsAtTheEdgeOfTheirRangeSurviveASave)
{
    QTemporaryDir dir;
    const double big = std::numeric_limits<double>::max();
    const auto readBack = [&](const QByteArray& content, const StudySettingsTexts& texts) {
        Dimension d, back;
        d.initialise();
        back.initialise();
        QFile f(dir.filePath("in.txt"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
        f.close();
        EXPECT_EQ(test::openSeries(d, f.fileName()), "");
        const std::optional<Error> failed = WriteSeriesFile(d, dir.filePath("saved.txt"), texts);
        EXPECT_FALSE(failed) << failed->message().toStdString();
        EXPECT_EQ(test::openSeries(back, dir.filePath("saved.txt")), "");
        return back;
    };
    StudySettingsTexts t{"-1", "1", "64", ".01", "20", "-1", "1", "-1", "1", "1", "0", "0", "1", "1"};
    Dimension back = readBack("0,\"x\",-1.7976931348623157E+308,1.7976931348623157e308,0,1,0,1,#TRUE#\r\n"
                              "1.7976931348623157e308\r\n-1.7976931348623157e308\r\n", t);
    EXPECT_EQ(back.series.Coeffs, (std::vector<double>{big, -big}));
    EXPECT_EQ(std::pair(back.series.XLvalid, back.series.XUvalid), std::pair(-big, big));
    QFile saved(dir.filePath("saved.txt"));
    EXPECT_TRUE(saved.open(QIODevice::ReadOnly) && saved.readAll().contains("\r\n-1,1,64,0.01,20,")); // ordinary ones stay short

    // A whole-number box or a plot limit typed with more digits than the file keeps, right at the edge.
    t.subintervals = "2147483647.499996"; // 15 digits: 2147483647.5, which rounds to 2^31
    t.windowlx = "-3.402823567797336E+38"; // 15 digits: beyond the float range
    t.windowgx = "3.402823567797336E+38";
    back = readBack("0,\"x\",-1,1,0,1,0,0,#TRUE#\r\n2\r\n", t);
    EXPECT_EQ(std::tuple(back.study.Subintervals, back.plot.WindowLX, back.plot.WindowGX), std::tuple(2147483647, -FLT_MAX, FLT_MAX));
}

// Far from 0 the default interval of a Taylor series fell onto its centre, and a period lost in the rounding of x
// sampled one point over and over: a series over no interval at all, in a file that did not open. Near the top of
// the doubles the transform's sums overflowed into infinite coefficients.
TEST(FuzzRegression, BuildsFarFromZeroGiveASeriesOverARealIntervalThatOpensOrAMessage)
{
    const double big = std::numeric_limits<double>::max();
    const struct { const char* expr; double centre; const char* period; const char* error; } cases[] = { // no period: Taylor
        {"x", -2.0401819553440926e59, nullptr, nullptr}, {"x^2", big, nullptr, "beyond the range"}, {"x", -big, nullptr, nullptr},
        {"x", 1e300, "1", "the period 1 is too short to be sampled from x = 1E+300"}, {"x", -1e10, "1e-3", "too short"},
        {"x", big, "1e300", "too short"}, {"sin(x)", 1e10, "*", nullptr}, {"1", -1e300, "1e290", nullptr},
        {"(1e308)", 1, "*", nullptr}, {"1.7e308*sign(sin(x))", 0, "*", "harmonic 1 is beyond the range"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        try {
            const BuiltSeries s = c.period ? BuildFourier(c.expr, c.centre, c.period, 3) : BuildTaylor(c.expr, c.centre, 5);
            EXPECT_TRUE(!c.error && std::isfinite(s.lower) && std::isfinite(s.upper) && s.lower < s.upper) << c.expr << " " << c.centre;
            EXPECT_TRUE(!WriteBuiltSeries(s, dir.filePath("s.txt")));
            EXPECT_EQ(test::readBack(dir.filePath("s.txt")).series.Coeffs.size(), s.coeffs.size());
        } catch (const Error& e) {
            EXPECT_TRUE(c.error && e.message().contains(QString::fromLatin1(c.error))) << e.what();
        }
    }
}
