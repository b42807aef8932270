#include "core/series/series_file.h"
#include "core/study/number_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <tuple>

using namespace vendrak;

namespace {

// A study that differs from the start-up state in every group, so that a
// reader that touches anything is caught.
const QByteArray kOldStudy = "0,\"old\",-4,5,0.5,1,7,2,#TRUE#\r\n1\r\n-2\r\n3\r\n"
                             "-1,2,64,.001,30,#TRUE#,2,3,1,1\r\n-3,3,-2,2,2,0.5,-0.5,0.25,0.5\r\n"
                             "9.5\r\n0.25\r\n0.75\r\n1.5\r\n-0.5\r\n";

class SeriesFile : public ::testing::Test {
protected:
    void SetUp() override { d.initialise(); }

    QString put(const QString& name, const QByteArray& content) const
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    }
    static QByteArray slurp(const QString& p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : "<missing>";
    }
    ReadStatus read(const QByteArray& content) { return ReadSeriesFile(d, put("s.txt", content)).status; }
    void loadOld()
    {
        ASSERT_EQ(read(kOldStudy), ReadStatus::Ok);
        d.RestoringStudy = false;
        d.DerivOrder = 2;
        d.FileName = "earlier.txt";
        d.ScratchText = "scratch";
        d.ierr = 4;
        d.ScriptMath.ierr = 3;
    }
    QTemporaryDir dir;
    Dimension d;
};

// The saved study in one text: settings | integral | roots | maxima | minima,
// possible roots | plot.
QString study(const Dimension& d)
{
    const auto list = [](const auto& table, int count) {
        QStringList out;
        for (int i = 1; i <= count; ++i)
            out << NumberText(table[static_cast<size_t>(i)]);
        return out.join(' ');
    };
    QStringList s{QStringList{NumberText(d.XLower), NumberText(d.XUpper), NumberText(d.Subintervals),
                              NumberText(d.ErrorBound), NumberText(d.MaxCycles)}.join(' '),
                  (d.IntegralDone ? "done " : "stale ") + NumberText(d.IntegralValue), list(d.Roots, d.RootCount),
                  list(d.Maxima, d.MaxCount), list(d.Minima, d.MinCount) + ", " + NumberText(d.PossibleRootCount)};
    for (float v : {d.WindowLX, d.WindowGX, d.WindowLY, d.WindowGY, float(d.PlotStep), d.XOrigin, d.YOrigin, d.DivX, d.DivY})
        s << NumberText(v);
    return s.join(" | ");
}

// kind, top index, count shown | validity, centre, period, period text | coefficients | source
QString series(const Dimension& d)
{
    QStringList c;
    for (double v : d.Coeffs)
        c << NumberText(v);
    return QString("%1 %2 %3 | %4 %5 %6 %7 %8 | %9 | %10")
        .arg(d.SeriesType).arg(d.TermCount).arg(ShownTermCount(d))
        .arg(NumberText(d.XLvalid), NumberText(d.XUvalid), NumberText(d.Centre), NumberText(d.Period), d.PeriodText,
             c.join(' '), d.SourceText);
}

// Everything a reader could touch.
QString state(const Dimension& d)
{
    return series(d) + " | " + study(d) + QString(" | %1 %2 %3 %4 %5 %6 %7 %8 %9")
        .arg(d.CoeffsFollow).arg(d.StudyLoaded).arg(d.RestoringStudy).arg(d.DerivOrder).arg(d.ierr)
        .arg(d.ScriptMath.ierr).arg(d.MultiVarFlag).arg(d.FileName, d.ScratchText);
}

const StudySettingsTexts kTexts{"-2", "3.5", "128", ".001", "25", "-10", "10.1",
                                "-5", "5", "2", "0", "-1.5", "2", ".5"};

} // namespace

TEST_F(SeriesFile, HeaderCases)
{
    const char* const cases[][2] = {
        // "*": the centre is the middle of the interval of validity, the period 2 pi.
        {"0,\"square wave\",-2,6,*,0,*,3,#TRUE#\r\n1\r\n2\r\n3\r\n", "0 2 3 | -2 6 2 6.28318530717959 * | 1 2 3 | square wave"},
        {"0,\"\",-2,6,\"*\",0,\"*\",1,#TRUE#\r\n4\r\n", "0 0 1 | -2 6 2 6.28318530717959 * | 4 | "},
        // Anything else counts by its leading number; no number gives 0.
        {"0,\"\",-2,6,\"1.5abc\",0,\"2.5 units\",1,#TRUE#\r\n4\r\n", "0 0 1 | -2 6 1.5 2.5 2.5 units | 4 | "},
        {"0,\"\",-2,6,centre,1,,0,#TRUE#\r\n4\r\n", "1 0 0 | -2 6 0 0  | 4 | "},
        // Trigonometric: the number of coefficients. Power: the degree.
        {"0,\"t\",0,1,0,0,1,5,#TRUE#\r\n1\r\n2\r\n3\r\n4\r\n5\r\n", "0 4 5 | 0 1 0 1 1 | 1 2 3 4 5 | t"},
        {"0,\"p\",0,1,0,1,1,5,#TRUE#\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n", "1 5 5 | 0 1 0 1 1 | 1 2 3 4 5 6 | p"},
        // Integer fields take number notation, rounded half to even.
        {"0,\"\",0,1,0,1.0,0,2.5,#TRUE#\r\n1\r\n2\r\n3\r\n", "1 2 2 | 0 1 0 0 0 | 1 2 3 | "},
        // Fields spread over lines, bare line feeds, blank lines (no study part).
        {"0 , \"a, b\" ,\n -1.5e0\n2.5E+0,  *  \n1,\n  0,2,#true#\n\n  1.25 \n-3e-2\n3\n\n",
         "1 2 2 | -1.5 2.5 0.5 0 0 | 1.25 -0.03 3 | a, b"},
    };
    for (const auto& [content, expected] : cases) {
        ASSERT_EQ(read(content), ReadStatus::Ok) << content;
        EXPECT_EQ(series(d), expected);
        EXPECT_TRUE(d.CoeffsFollow && d.RestoringStudy && !d.StudyLoaded);
    }
    ASSERT_EQ(read(cases[0][0]), ReadStatus::Ok);
    EXPECT_EQ(d.Period, d.PiValue + d.PiValue);
}

TEST_F(SeriesFile, TheStudyPartRestoresSettingsAndResults)
{
    const QByteArray x2 = "0,\"\",-3,3,0,1,0,2,#TRUE#\r\n-2\r\n0\r\n1\r\n";
    const char* const cases[][2] = {
        {"-3,3,100,.01,20,#TRUE#,2,1,0,1\r\n-4,4.1,-3,7,2,0.5,-0.5,1,2\r\n6\r\n-1.4142135623731\r\n1.4142135623731\r\n0\r\n",
         "-3 3 100 0.01 20 | done 6 | -1.4142135623731 1.4142135623731 |  | 0, 1 | -4 | 4.1 | -3 | 7 | 2 | 0.5 | -0.5 | 1 | 2"},
        // Without the integral the roots follow the plot record; the old
        // value stays, only the flag says it is stale.
        {"-3,3,100,.01,20,#FALSE#,1,0,1,2\r\n-4,4,-3,7,1,0,0,1,1\r\n0.5\r\n1.5\r\n-1\r\n-2\r\n",
         "-3 3 100 0.01 20 | stale 9.5 | 0.5 | 1.5 | -1 -2, 0 | -4 | 4 | -3 | 7 | 1 | 0 | 0 | 1 | 1"},
        {"-3,3,100,.01,20,#FALSE#,0,0,0,0\r\n-4,4,-3,7,1,0,0,1,1\r\n", // zero counts need no lines
         "-3 3 100 0.01 20 | stale 9.5 |  |  | , 0 | -4 | 4 | -3 | 7 | 1 | 0 | 0 | 1 | 1"},
        // No study part: the results are cleared, the settings kept.
        {"", "-1 2 64 0.001 30 | stale 9.5 |  |  | , 0 | -3 | 3 | -2 | 2 | 2 | 0.5 | -0.5 | 0.25 | 0.5"},
    };
    for (const auto& [part, expected] : cases) {
        loadOld();
        ASSERT_EQ(read(x2 + part), ReadStatus::Ok) << part;
        EXPECT_EQ(study(d), expected);
        EXPECT_EQ(d.StudyLoaded, *part != 0);
        EXPECT_TRUE(d.RestoringStudy);
        EXPECT_EQ(d.DerivOrder, 2); // not carried by the file
        EXPECT_EQ(d.FileName, "earlier.txt");
    }
    ASSERT_EQ(read(x2 + cases[0][0]), ReadStatus::Ok);
    EXPECT_EQ(d.WindowGX, 4.1f); // held in single precision

    // A header without coefficients reuses loaded ones of the same count.
    ASSERT_EQ(read("0,\"\",-1,1,0,1,0,2,#FALSE#\r\n"), ReadStatus::Ok);
    EXPECT_EQ(d.Coeffs, (std::vector<double>{-2, 0, 1}));
    EXPECT_FALSE(d.CoeffsFollow);
    ASSERT_EQ(read("0,\"\",-1,1,0,0,2,3,#FALSE#\r\n"), ReadStatus::Ok); // trigonometric, 3 terms
    EXPECT_EQ(d.TermCount, 2);
}

TEST_F(SeriesFile, BadInputFailsNamingTheFileAndLeavesTheStudyUntouched)
{
    const QByteArray head = "0,\"\",-3,3,0,1,0,2,#TRUE#\r\n1\r\n2\r\n3\r\n";
    const QByteArray coeffs = "1\r\n2\r\n3\r\n";
    const QByteArray plot = "-4,4,-3,7,1,0,0,1,1\r\n";
    const auto study = [&](const char* counts) { return head + "-3,3,100,.01,20,#FALSE#," + counts + "\r\n" + plot; };
    const struct { QByteArray content; const char* mentions; } cases[] = {
        {"", "multivariable flag"},
        {"0,\"\",abc,3,0,1,0,2,#TRUE#\r\n" + coeffs, "\"abc\" is not a number"},
        {"0,\"\",-3,3x,0,1,0,2,#TRUE#\r\n" + coeffs, "not a number"},
        {"0,\"\",,3,0,1,0,2,#TRUE#\r\n" + coeffs, "empty"},
        {"0,\"\",-3,3,0,1\r\n", "where the period should be"},
        {"0,\"abc,-3,3,0,1,0,2,#TRUE#\r\n" + coeffs, "closing quote"},
        {"0,\"\",-3,3,0,1,0,2,maybe\r\n" + coeffs, "#TRUE#"},
        {"0,\"\",-3,3,0,2,0,2,#TRUE#\r\n" + coeffs, "series type"},
        {"0,\"\",-3,3,0,0,1,0,#TRUE#\r\n" + coeffs, "at least 1"},
        {"0,\"\",-3,3,0,0,1,-3,#TRUE#\r\n" + coeffs, "at least 1"},
        {"0,\"\",-3,3,0,1,0,-1,#TRUE#\r\n" + coeffs, "negative"},
        {"0,\"\",-3,3,0,1,0,3e9,#TRUE#\r\n" + coeffs, "range of whole numbers"},
        {"0,\"\",-3,3,0,1,0,2,#TRUE#\r\n1\r\n2\r\n", "after 2 of 3"},
        {"0,\"\",-3,3,0,1,0,2,#TRUE#\r\n1\r\nx\r\n3\r\n", "C[1]"},
        {"0,\"\",-3,3,0,1,0,2,#TRUE#\r\n1\r\n1e999\r\n3\r\n", "beyond the range"},
        {"0,\"\",-3,3,1e400,1,0,2,#TRUE#\r\n" + coeffs, "centre"},
        {"0,\"\",1e308,1.7e308,*,1,0,2,#TRUE#\r\n" + coeffs, "midpoint"},
        {"0,\"\",-3,3,0,1,0,5,#FALSE#\r\n", "no coefficients"},
        {head + "-3,3,100\r\n", "error bound"},
        {head + "-3,3,100,.01,20,#FALSE#,0,0,0,0\r\n-4,4\r\n", "plot"},
        {study("256,0,0,0"), "number of roots"},
        {study("-1,0,0,0"), "number of roots"},
        {study("0,0,300,0"), "number of maxima"},
        {study("0,-2,0,0"), "possible roots"},
        {head + "-3,3,1e10,.01,20,#FALSE#,0,0,0,0\r\n" + plot, "subintervals"},
        {head + "-3,3,100,.01,20,#FALSE#,0,0,0,0\r\n-4,1e39,-3,7,1,0,0,1,1\r\n", "right plot limit"},
        {head + "-3,3,100,.01,20,#TRUE#,1,0,1,1\r\n" + plot, "integral"},
        {head + "-3,3,100,.01,20,#TRUE#,1,0,1,1\r\n" + plot + "6\r\n0.5\r\n", "maximum 1"},
        {"0,\"\",-3,3,0,1,0,2000000000,#TRUE#\r\n1\r\n2\r\n3\r\n", "after 3 of 2000000001 coefficients"},
        {"0,\"" + QByteArray(200000, 'x'), "longer than"},
        {"0,\"\"," + QByteArray(200000, '7'), ""},
    };
    loadOld();
    const QString before = state(d);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content.left(60).toStdString());
        const QString p = put("bad.txt", c.content);
        const auto start = std::chrono::steady_clock::now();
        const ReadResult r = ReadSeriesFile(d, p);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)); // nothing huge allocated
        EXPECT_EQ(r.status, ReadStatus::Failed);
        EXPECT_TRUE(r.message.contains(QDir::toNativeSeparators(p))) << r.message.toStdString();
        EXPECT_TRUE(r.message.contains(QString::fromLatin1(c.mentions))) << r.message.toStdString();
        EXPECT_EQ(state(d), before);
    }

    // A missing file, a folder, a device that never ends; a multivariable series.
    EXPECT_TRUE(ReadSeriesFile(d, dir.filePath("nowhere.txt")).message.contains("nowhere.txt"));
    EXPECT_TRUE(ReadSeriesFile(d, dir.path()).message.contains("folder"));
    EXPECT_TRUE(!QFileInfo::exists("/dev/zero")
                || ReadSeriesFile(d, "/dev/zero").message.contains("not a regular file"));
    const ReadResult multi = ReadSeriesFile(d, put("m.txt", "1,\"f(x,y)\",0,1,0,1,0,3,#TRUE#\r\n1\r\n2\r\n"));
    EXPECT_EQ(multi.status, ReadStatus::MultiVariable);
    EXPECT_EQ(multi.message, "SERIES IS MULTIVARIABLE.");
    EXPECT_EQ(state(d), before);
}

TEST_F(SeriesFile, WritesTheExactFormatAndReadsItBack)
{
    ASSERT_EQ(read("0,\"sq\",-1,1,*,0,*,3,#TRUE#\r\n0.5\r\n1.27323954473516\r\n0\r\n"), ReadStatus::Ok);
    d.SourceText = "say \"sq\", twice"; // a double quote cannot be stored: it becomes a single one
    std::tie(d.IntegralDone, d.IntegralValue, d.RootCount, d.MaxCount, d.PossibleRootCount) = std::tuple(true, 1.0 / 3, 1, 1, 4);
    d.Roots[1] = -0.5;
    d.Maxima[1] = 0.25;
    const QString out = put("out.txt", "old content");
    ASSERT_TRUE(WriteSeriesFile(d, out, kTexts).ok);
    EXPECT_EQ(slurp(out).toStdString(), "0,\"say 'sq', twice\",-1,1,0,0,6.28318530717959,3,#TRUE#\r\n"
                                        "0.5\r\n1.27323954473516\r\n0\r\n"
                                        "-2,3.5,128,0.001,25,#TRUE#,1,4,1,0\r\n"
                                        "-10,10.1,-5,5,2,0,-1.5,2,0.5\r\n"
                                        "0.333333333333333\r\n-0.5\r\n0.25\r\n");

    // Round trip: full tables, numbers that need exponent notation, settings
    // as the boxes show them. Saving what was read gives the same file.
    d.Coeffs = {1, std::sqrt(2.0) * 1e-20, -0.25, -1.0 / 3 * 1e25};
    d.TermCount = 3;
    d.IntegralValue = -2.0 / 7;
    d.RootCount = 255;
    for (int i = 1; i <= 255; ++i)
        d.Roots[static_cast<size_t>(i)] = i / 7.0;
    std::tie(d.MaxCount, d.Maxima[1], d.Maxima[2], d.MinCount, d.PossibleRootCount) = std::tuple(2, -1e-9, 123456.789, 1, 1000);
    const StudySettingsTexts t{"-2", "3.5", "128", ".001", "25", "-10", "0.1", "-5", "5", "2", "0", "-1.5", "2", "1e-3"};
    std::tie(d.XLower, d.XUpper, d.Subintervals, d.ErrorBound, d.MaxCycles) = std::tuple(-2, 3.5, 128, 0.001, 25);
    std::tie(d.WindowLX, d.WindowGX, d.WindowLY, d.WindowGY, d.PlotStep) = std::tuple(-10.f, 0.1f, -5.f, 5.f, 2);
    std::tie(d.XOrigin, d.YOrigin, d.DivX, d.DivY) = std::tuple(0.f, -1.5f, 2.f, 1e-3f);
    ASSERT_TRUE(WriteSeriesFile(d, out, t).ok);
    Dimension back;
    back.initialise();
    ASSERT_EQ(ReadSeriesFile(back, out).status, ReadStatus::Ok);
    EXPECT_EQ(study(back), study(d));
    EXPECT_TRUE(back.StudyLoaded);
    EXPECT_EQ(back.SourceText, "say 'sq', twice");
    EXPECT_EQ(back.PeriodText, "6.28318530717959"); // "*" is now a number
    for (size_t k = 0; k < 4; ++k)
        EXPECT_EQ(NumberText(back.Coeffs[k]), NumberText(d.Coeffs[k])) << k;
    ASSERT_TRUE(WriteSeriesFile(back, dir.filePath("again.txt"), t).ok);
    EXPECT_EQ(slurp(dir.filePath("again.txt")), slurp(out));
}

TEST_F(SeriesFile, WriteFailuresKeepTheOldFile)
{
    ASSERT_EQ(read("0,\"x\",0,1,0,1,0,1,#TRUE#\r\n1\r\n2\r\n"), ReadStatus::Ok);
    const QString old = put("old.txt", "old content");
    const QString longName = put(QString(250, u'n'), "old content"); // no temporary file fits beside it
    Dimension none;
    none.initialise();
    StudySettingsTexts lowY = kTexts; // could not be read back
    lowY.windowly = "-1e39";
    const struct {
        const Dimension& study;
        QString path;
        const StudySettingsTexts& texts;
        QString mentions;
    } cases[] = {
        {d, dir.path(), kTexts, QDir::toNativeSeparators(dir.path())}, // a folder
        {d, dir.filePath("no/such/folder/x.txt"), kTexts, "x.txt"},
        {d, longName, kTexts, ""},
        {d, old, lowY, "lower plot limit"},
        {none, old, kTexts, "no series"},
    };
    for (const auto& c : cases) {
        const WriteResult w = WriteSeriesFile(c.study, c.path, c.texts);
        EXPECT_FALSE(w.ok) << c.path.toStdString();
        EXPECT_TRUE(w.message.contains(c.mentions)) << w.message.toStdString();
    }
    EXPECT_EQ(slurp(old), "old content");
    EXPECT_EQ(slurp(longName), "old content");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3); // no temporary leftovers
}
