// Files the fuzzer of the series file reader found a fault with. 15 digits rounded the largest numbers past their
// range, so a file that opened fine could not be opened again once saved: a Save destroyed the study.
#include "core/series/series_file.h"

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
        EXPECT_EQ(ReadSeriesFile(d, f.fileName()).status, ReadStatus::Ok);
        const WriteResult w = WriteSeriesFile(d, dir.filePath("saved.txt"), texts);
        EXPECT_TRUE(w.ok) << w.message.toStdString();
        const ReadResult r = ReadSeriesFile(back, dir.filePath("saved.txt"));
        EXPECT_EQ(r.status, ReadStatus::Ok) << r.message.toStdString();
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
