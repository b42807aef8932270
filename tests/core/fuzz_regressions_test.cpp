// Files the fuzzer of the series file reader found a fault with, kept as
// tests. Each: what the file did, and the property it broke.
#include "core/series/series_file.h"
#include "core/study/dimension.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

using namespace vendrak;

namespace {

class FuzzRegression : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        d.initialise();
    }

    QString put(const QString& name, const QByteArray& content)
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    }

    static QByteArray slurp(const QString& p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // Saves d with the given setting texts, then reads the saved file into a
    // fresh study, which must succeed.
    Dimension saveAndReadBack(const StudySettingsTexts& texts)
    {
        const QString out = dir.filePath("saved.txt");
        const WriteResult w = WriteSeriesFile(d, out, texts);
        EXPECT_TRUE(w.ok) << w.message.toStdString();
        Dimension back;
        back.initialise();
        const ReadResult r = ReadSeriesFile(back, out);
        EXPECT_EQ(r.status, ReadStatus::Ok) << r.message.toStdString() << "\n" << slurp(out).toStdString();
        return back;
    }

    static StudySettingsTexts plainTexts()
    {
        return {"-1", "1", "64", ".01", "20", "-1", "1", "-1", "1", "1", "0", "0", "1", "1"};
    }

    QTemporaryDir dir;
    Dimension d;
};

} // namespace

// The largest coefficient a file may hold was written with 15 digits, which
// round it up past the double range: the saved file could not be opened again,
// so a Save destroyed a study that had opened fine.
TEST_F(FuzzRegression, TheLargestNumbersSurviveASave)
{
    const double big = std::numeric_limits<double>::max();
    ASSERT_EQ(ReadSeriesFile(d, put("max.txt", "0,\"x\",-1.7976931348623157E+308,1.7976931348623157e308,0,1,0,1,#TRUE#\r\n"
                                               "1.7976931348623157e308\r\n-1.7976931348623157e308\r\n"))
                  .status,
              ReadStatus::Ok);
    const Dimension back = saveAndReadBack(plainTexts());
    EXPECT_EQ(back.Coeffs, (std::vector<double>{big, -big}));
    EXPECT_EQ(back.XLvalid, -big);
    EXPECT_EQ(back.XUvalid, big);
    // Ordinary values keep their short text.
    EXPECT_TRUE(slurp(dir.filePath("saved.txt")).contains("\r\n-1,1,64,0.01,20,"));
}

// The same carry in the settings: a whole-number box or a plot limit typed
// with more digits than the file keeps, right at the edge of its range.
TEST_F(FuzzRegression, SettingsAtTheEdgeOfTheirRangeSurviveASave)
{
    ASSERT_EQ(ReadSeriesFile(d, put("s.txt", "0,\"x\",-1,1,0,1,0,0,#TRUE#\r\n2\r\n")).status, ReadStatus::Ok);
    StudySettingsTexts t = plainTexts();
    t.subintervals = "2147483647.499996";  // 15 digits: 2147483647.5, which rounds to 2^31
    t.windowlx = "-3.402823567797336E+38";  // 15 digits: beyond the float range
    t.windowgx = "3.402823567797336E+38";
    const Dimension back = saveAndReadBack(t);
    EXPECT_EQ(back.Subintervals, 2147483647);
    EXPECT_EQ(back.WindowLX, -FLT_MAX);
    EXPECT_EQ(back.WindowGX, FLT_MAX);
}
