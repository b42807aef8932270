#include "series/series_file.h"
#include "shell/number_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

using namespace vendrak;

namespace {

class SeriesFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        d.initialise();
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    QString put(const QString& name, const QByteArray& content) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path(name);
    }

    static QByteArray slurp(const QString& p)
    {
        QFile f(p);
        if (!f.open(QIODevice::ReadOnly))
            return "<missing>";
        return f.readAll();
    }

    ReadResult read(const QByteArray& content) { return ReadSeriesFile(d, put("s.txt", content)); }

    QTemporaryDir dir;
    Dimension d;
};

// A study state that differs from the start-up one in every group, so that
// a reader that touches anything is caught.
Dimension loadedState()
{
    Dimension s;
    s.initialise();
    s.SeriesType = 1;
    s.TermCount = 2;
    s.Coeffs = {1, -2, 3};
    s.Centre = 0.5;
    s.Period = 7;
    s.PeriodText = "7";
    s.XLvalid = -4;
    s.XUvalid = 5;
    s.SourceText = "old";
    s.CoeffsFollow = true;
    s.XLower = -1;
    s.XUpper = 2;
    s.Subintervals = 64;
    s.ErrorBound = 0.001;
    s.MaxCycles = 30;
    s.DerivOrder = 2;
    s.RootCount = 2;
    s.Roots[1] = 0.25;
    s.Roots[2] = 0.75;
    s.MaxCount = 1;
    s.Maxima[1] = 1.5;
    s.MinCount = 1;
    s.Minima[1] = -0.5;
    s.PossibleRootCount = 3;
    s.IntegralValue = 9.5;
    s.IntegralDone = true;
    s.WindowLX = -3;
    s.WindowGX = 3;
    s.WindowLY = -2;
    s.WindowGY = 2;
    s.XOrigin = 0.5f;
    s.YOrigin = -0.5f;
    s.DivX = 0.25f;
    s.DivY = 0.5f;
    s.PlotStep = 2;
    s.FileName = "earlier.txt";
    s.StudyLoaded = true;
    s.ScratchText = "scratch";
    s.ierr = 4;
    s.ScriptMath.ierr = 3;
    return s;
}

void expectSameState(const Dimension& a, const Dimension& b)
{
#define SAME(f) EXPECT_EQ(a.f, b.f) << #f
    SAME(PiValue); SAME(HalfPi); SAME(EValue); SAME(Factorials);
    SAME(SeriesType); SAME(TermCount); SAME(Centre); SAME(Period); SAME(PeriodText);
    SAME(XLvalid); SAME(XUvalid); SAME(Coeffs); SAME(MultiVarFlag); SAME(SourceText); SAME(CoeffsFollow);
    SAME(XLower); SAME(XUpper); SAME(Subintervals); SAME(ErrorBound); SAME(MaxCycles); SAME(DerivOrder);
    SAME(ErrorBoundOnEntry);
    SAME(Roots); SAME(RootCount); SAME(Maxima); SAME(Minima); SAME(MaxCount); SAME(MinCount);
    SAME(PossibleRootCount); SAME(IntegralValue); SAME(IntegralDone);
    SAME(WindowLX); SAME(WindowGX); SAME(WindowLY); SAME(WindowGY); SAME(XOrigin); SAME(YOrigin);
    SAME(DivX); SAME(DivY); SAME(PlotStep); SAME(GridOn); SAME(ShadeOn); SAME(GraphShown);
    SAME(FileName); SAME(StudyLoaded); SAME(RestoringStudy); SAME(ScratchText);
    SAME(ierr); SAME(ScriptMath.ierr); SAME(ScriptMath.pi); SAME(ScriptMath.halfpi);
    SAME(SavedDecimalSeparator); SAME(SavedPrinterFont);
#undef SAME
}

StudySettingsTexts sampleTexts()
{
    StudySettingsTexts t;
    t.xlower = "-2";
    t.xupper = "3.5";
    t.subintervals = "128";
    t.error = ".001";
    t.maxcy = "25";
    t.windowlx = "-10";
    t.windowgx = "10.1";
    t.windowly = "-5";
    t.windowgy = "5";
    t.plotStep = "2";
    t.xorigin = "0";
    t.yorigin = "-1.5";
    t.divx = "2";
    t.divy = ".5";
    return t;
}

} // namespace

// ---------------------------------------------------------------- header

TEST_F(SeriesFileTest, StarCentreIsMidpointAndStarPeriodIsTwoPi)
{
    const ReadResult r = read("0,\"square wave\",-2,6,*,0,*,3,#TRUE#\r\n1\r\n2\r\n3\r\n");
    ASSERT_EQ(r.status, ReadStatus::Ok) << r.message.toStdString();
    EXPECT_EQ(d.Centre, 2.0);
    EXPECT_EQ(d.Period, d.PiValue + d.PiValue);
    EXPECT_EQ(d.PeriodText, "*");
    EXPECT_EQ(d.ScratchText, "*");
    EXPECT_EQ(d.SourceText, "square wave");
    EXPECT_EQ(d.SeriesType, 0);
    EXPECT_EQ(d.TermCount, 2);
    EXPECT_EQ(d.Coeffs, (std::vector<double>{1, 2, 3}));
    EXPECT_TRUE(d.CoeffsFollow);
    EXPECT_FALSE(d.StudyLoaded);
    EXPECT_TRUE(d.RestoringStudy);
}

TEST_F(SeriesFileTest, QuotedStarAndNumericTextsForCentreAndPeriod)
{
    ASSERT_EQ(read("0,\"\",-2,6,\"*\",0,\"*\",1,#TRUE#\r\n4\r\n").status, ReadStatus::Ok);
    EXPECT_EQ(d.Centre, 2.0);
    EXPECT_EQ(d.Period, d.PiValue + d.PiValue);

    // Anything but "*" counts by its leading number; no number gives 0.
    ASSERT_EQ(read("0,\"\",-2,6,\"1.5abc\",0,\"2.5 units\",1,#TRUE#\r\n4\r\n").status, ReadStatus::Ok);
    EXPECT_EQ(d.Centre, 1.5);
    EXPECT_EQ(d.Period, 2.5);
    EXPECT_EQ(d.PeriodText, "2.5 units");
    ASSERT_EQ(read("0,\"\",-2,6,centre,1,,0,#TRUE#\r\n4\r\n").status, ReadStatus::Ok);
    EXPECT_EQ(d.Centre, 0.0);
    EXPECT_EQ(d.Period, 0.0);
}

TEST_F(SeriesFileTest, TrigCountIsNumberOfCoefficientsPowerCountIsDegree)
{
    ASSERT_EQ(read("0,\"t\",0,1,0,0,1,5,#TRUE#\r\n1\r\n2\r\n3\r\n4\r\n5\r\n").status, ReadStatus::Ok);
    EXPECT_EQ(d.TermCount, 4);
    EXPECT_EQ(d.Coeffs.size(), 5u);
    EXPECT_EQ(ShownTermCount(d), 5);
    EXPECT_FALSE(d.StudyLoaded);

    ASSERT_EQ(read("0,\"p\",0,1,0,1,1,5,#TRUE#\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n").status, ReadStatus::Ok);
    EXPECT_EQ(d.TermCount, 5);
    EXPECT_EQ(d.Coeffs, (std::vector<double>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ShownTermCount(d), 5);
    EXPECT_FALSE(d.StudyLoaded);

    // Five coefficients are one too few for a power series of degree 5.
    EXPECT_EQ(read("0,\"p\",0,1,0,1,1,5,#TRUE#\r\n1\r\n2\r\n3\r\n4\r\n5\r\n").status, ReadStatus::Failed);
}

TEST_F(SeriesFileTest, FieldsMaySpreadOverLinesWithBareLineFeedsAndBlanks)
{
    const ReadResult r = read("0 , \"a, b\" ,\n -1.5e0\n2.5E+0,  *  \n1,\n  0,2,#true#\n\n  1.25 \n-3e-2\n3\n\n");
    ASSERT_EQ(r.status, ReadStatus::Ok) << r.message.toStdString();
    EXPECT_EQ(d.SourceText, "a, b");
    EXPECT_EQ(d.XLvalid, -1.5);
    EXPECT_EQ(d.XUvalid, 2.5);
    EXPECT_EQ(d.Centre, 0.5);
    EXPECT_EQ(d.SeriesType, 1);
    EXPECT_EQ(d.TermCount, 2);
    EXPECT_EQ(d.Coeffs, (std::vector<double>{1.25, -0.03, 3}));
    EXPECT_FALSE(d.StudyLoaded) << "trailing blank lines are not a study part";
}

TEST_F(SeriesFileTest, IntegerFieldsTakeNumberNotationRoundedHalfToEven)
{
    ASSERT_EQ(read("0,\"\",0,1,0,1.0,0,2.5,#TRUE#\r\n1\r\n2\r\n3\r\n").status, ReadStatus::Ok);
    EXPECT_EQ(d.SeriesType, 1);
    EXPECT_EQ(d.TermCount, 2); // 2.5 rounds to the even 2
    ASSERT_EQ(read("0,\"\",0,1,0,1,0,1.5,#TRUE#\r\n1\r\n2\r\n3\r\n").status, ReadStatus::Ok);
    EXPECT_EQ(d.TermCount, 2);
}

TEST_F(SeriesFileTest, MultivariableHeaderLeavesTheStudyUntouched)
{
    d = loadedState();
    const Dimension before = d;
    const ReadResult r = read("1,\"f(x,y)\",0,1,0,1,0,3,#TRUE#\r\n1\r\n2\r\n");
    EXPECT_EQ(r.status, ReadStatus::MultiVariable);
    EXPECT_EQ(r.message, "SERIES IS MULTIVARIABLE.");
    expectSameState(d, before);
}

// ---------------------------------------------------------------- study part

TEST_F(SeriesFileTest, StudyPartRestoresSettingsAndResults)
{
    d = loadedState();
    const ReadResult r = read("0,\"x^2-2\",-3,3,0,1,0,2,#TRUE#\r\n"
                              "-2\r\n0\r\n1\r\n"
                              "-3,3,100,.01,20,#TRUE#,2,1,0,1\r\n"
                              "-4,4.1,-3,7,2,0.5,-0.5,1,2\r\n"
                              "6\r\n"
                              "-1.4142135623731\r\n1.4142135623731\r\n"
                              "0\r\n");
    ASSERT_EQ(r.status, ReadStatus::Ok) << r.message.toStdString();
    EXPECT_TRUE(d.StudyLoaded);
    EXPECT_TRUE(d.RestoringStudy);
    EXPECT_EQ(d.XLower, -3);
    EXPECT_EQ(d.XUpper, 3);
    EXPECT_EQ(d.Subintervals, 100);
    EXPECT_EQ(d.ErrorBound, 0.01);
    EXPECT_EQ(d.MaxCycles, 20);
    EXPECT_TRUE(d.IntegralDone);
    EXPECT_EQ(d.IntegralValue, 6);
    EXPECT_EQ(d.RootCount, 2);
    EXPECT_EQ(d.Roots[1], -1.4142135623731);
    EXPECT_EQ(d.Roots[2], 1.4142135623731);
    EXPECT_EQ(d.PossibleRootCount, 1);
    EXPECT_EQ(d.MaxCount, 0);
    EXPECT_EQ(d.MinCount, 1);
    EXPECT_EQ(d.Minima[1], 0.0);
    EXPECT_EQ(d.WindowLX, -4.0f);
    EXPECT_EQ(d.WindowGX, 4.1f); // held in single precision
    EXPECT_NE(static_cast<double>(d.WindowGX), 4.1);
    EXPECT_EQ(d.WindowLY, -3.0f);
    EXPECT_EQ(d.WindowGY, 7.0f);
    EXPECT_EQ(d.PlotStep, 2);
    EXPECT_EQ(d.XOrigin, 0.5f);
    EXPECT_EQ(d.YOrigin, -0.5f);
    EXPECT_EQ(d.DivX, 1.0f);
    EXPECT_EQ(d.DivY, 2.0f);
    // Fields the file does not carry are left alone.
    EXPECT_EQ(d.DerivOrder, 2);
    EXPECT_EQ(d.FileName, "earlier.txt");
}

TEST_F(SeriesFileTest, WithoutIntegralTheRootsFollowThePlotRecord)
{
    d = loadedState();
    const ReadResult r = read("0,\"\",-3,3,0,1,0,1,#TRUE#\r\n0\r\n1\r\n"
                              "-3,3,100,.01,20,#FALSE#,1,0,1,2\r\n"
                              "-4,4,-3,7,1,0,0,1,1\r\n"
                              "0.5\r\n1.5\r\n-1\r\n-2\r\n");
    ASSERT_EQ(r.status, ReadStatus::Ok) << r.message.toStdString();
    EXPECT_FALSE(d.IntegralDone);
    EXPECT_EQ(d.IntegralValue, 9.5) << "kept from before, only the flag says it is stale";
    EXPECT_EQ(d.RootCount, 1);
    EXPECT_EQ(d.Roots[1], 0.5);
    EXPECT_EQ(d.MaxCount, 1);
    EXPECT_EQ(d.Maxima[1], 1.5);
    EXPECT_EQ(d.MinCount, 2);
    EXPECT_EQ(d.Minima[1], -1);
    EXPECT_EQ(d.Minima[2], -2);
}

TEST_F(SeriesFileTest, ZeroCountsNeedNoLines)
{
    d = loadedState();
    const ReadResult r = read("0,\"\",-3,3,0,1,0,0,#TRUE#\r\n7\r\n"
                              "-3,3,100,.01,20,#FALSE#,0,0,0,0\r\n"
                              "-4,4,-3,7,1,0,0,1,1\r\n");
    ASSERT_EQ(r.status, ReadStatus::Ok) << r.message.toStdString();
    EXPECT_TRUE(d.StudyLoaded);
    EXPECT_EQ(d.RootCount + d.MaxCount + d.MinCount + d.PossibleRootCount, 0);
}

TEST_F(SeriesFileTest, FileWithoutStudyPartClearsResultsAndKeepsSettings)
{
    d = loadedState();
    ASSERT_EQ(read("0,\"\",-3,3,0,1,0,1,#TRUE#\r\n0\r\n1\r\n").status, ReadStatus::Ok);
    EXPECT_FALSE(d.StudyLoaded);
    EXPECT_FALSE(d.IntegralDone);
    EXPECT_EQ(d.RootCount, 0);
    EXPECT_EQ(d.MaxCount, 0);
    EXPECT_EQ(d.MinCount, 0);
    EXPECT_EQ(d.PossibleRootCount, 0);
    EXPECT_EQ(d.XLower, -1);
    EXPECT_EQ(d.Subintervals, 64);
    EXPECT_EQ(d.WindowGX, 3.0f);
}

TEST_F(SeriesFileTest, HeaderWithoutCoefficientsReusesMatchingLoadedOnes)
{
    d = loadedState(); // power series with 3 coefficients
    ASSERT_EQ(read("0,\"\",-1,1,0,1,0,2,#FALSE#\r\n").status, ReadStatus::Ok);
    EXPECT_EQ(d.Coeffs, (std::vector<double>{1, -2, 3}));
    EXPECT_FALSE(d.CoeffsFollow);
    EXPECT_EQ(d.XLvalid, -1);
    EXPECT_FALSE(d.StudyLoaded);

    // A trigonometric header with 3 terms also fits 3 coefficients.
    ASSERT_EQ(read("0,\"\",-1,1,0,0,2,3,#FALSE#\r\n").status, ReadStatus::Ok);
    EXPECT_EQ(d.TermCount, 2);
}

// ---------------------------------------------------------------- bad input

TEST_F(SeriesFileTest, BadInputFailsNamingTheFileAndLeavesTheStudyUntouched)
{
    const QByteArray header = "0,\"\",-3,3,0,1,0,2,#TRUE#\r\n";
    const QByteArray coeffs = "1\r\n2\r\n3\r\n";
    const QByteArray study = "-3,3,100,.01,20,#TRUE#,1,0,1,1\r\n-4,4,-3,7,1,0,0,1,1\r\n";
    struct Case {
        const char* name;
        QByteArray content;
        const char* mentions;
    };
    const std::vector<Case> cases{
        {"empty file", "", "multivariable flag"},
        {"non-numeric lower limit", "0,\"\",abc,3,0,1,0,2,#TRUE#\r\n" + coeffs, "\"abc\" is not a number"},
        {"number with trailing text", "0,\"\",-3,3x,0,1,0,2,#TRUE#\r\n" + coeffs, "not a number"},
        {"empty numeric field", "0,\"\",,3,0,1,0,2,#TRUE#\r\n" + coeffs, "empty"},
        {"header ends early", "0,\"\",-3,3,0,1\r\n", "where the period should be"},
        {"unclosed quote", "0,\"abc,-3,3,0,1,0,2,#TRUE#\r\n" + coeffs, "closing quote"},
        {"bad boolean", "0,\"\",-3,3,0,1,0,2,maybe\r\n" + coeffs, "#TRUE#"},
        {"series type 2", "0,\"\",-3,3,0,2,0,2,#TRUE#\r\n" + coeffs, "series type"},
        {"trig count 0", "0,\"\",-3,3,0,0,1,0,#TRUE#\r\n" + coeffs, "at least 1"},
        {"trig count negative", "0,\"\",-3,3,0,0,1,-3,#TRUE#\r\n" + coeffs, "at least 1"},
        {"negative degree", "0,\"\",-3,3,0,1,0,-1,#TRUE#\r\n" + coeffs, "negative"},
        {"term count beyond 32 bits", "0,\"\",-3,3,0,1,0,3e9,#TRUE#\r\n" + coeffs, "range of whole numbers"},
        {"too few coefficients", header + "1\r\n2\r\n", "after 2 of 3"},
        {"non-numeric coefficient", header + "1\r\nx\r\n3\r\n", "C[1]"},
        {"coefficient beyond doubles", header + "1\r\n1e999\r\n3\r\n", "beyond the range"},
        {"centre beyond doubles", "0,\"\",-3,3,1e400,1,0,2,#TRUE#\r\n" + coeffs, "centre"},
        {"midpoint overflows", "0,\"\",1e308,1.7e308,*,1,0,2,#TRUE#\r\n" + coeffs, "midpoint"},
        {"study record ends early", header + coeffs + "-3,3,100\r\n", "error bound"},
        {"plot record ends early", header + coeffs + "-3,3,100,.01,20,#FALSE#,0,0,0,0\r\n-4,4\r\n", "plot"},
        {"root count 256", header + coeffs + "-3,3,100,.01,20,#FALSE#,256,0,0,0\r\n-4,4,-3,7,1,0,0,1,1\r\n",
         "number of roots"},
        {"root count negative", header + coeffs + "-3,3,100,.01,20,#FALSE#,-1,0,0,0\r\n-4,4,-3,7,1,0,0,1,1\r\n",
         "number of roots"},
        {"max count 300", header + coeffs + "-3,3,100,.01,20,#FALSE#,0,0,300,0\r\n-4,4,-3,7,1,0,0,1,1\r\n",
         "number of maxima"},
        {"possible roots negative", header + coeffs + "-3,3,100,.01,20,#FALSE#,0,-2,0,0\r\n-4,4,-3,7,1,0,0,1,1\r\n",
         "possible roots"},
        {"subintervals beyond 32 bits", header + coeffs + "-3,3,1e10,.01,20,#FALSE#,0,0,0,0\r\n-4,4,-3,7,1,0,0,1,1\r\n",
         "subintervals"},
        {"plot limit beyond single", header + coeffs + "-3,3,100,.01,20,#FALSE#,0,0,0,0\r\n-4,1e39,-3,7,1,0,0,1,1\r\n",
         "right plot limit"},
        {"integral missing", header + coeffs + study, "integral"},
        {"result list ends early", header + coeffs + study + "6\r\n0.5\r\n", "maximum 1"},
        {"no coefficients and none loaded fit", "0,\"\",-3,3,0,1,0,5,#FALSE#\r\n", "no coefficients"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        d = loadedState();
        const Dimension before = d;
        const QString p = put("bad.txt", c.content);
        const ReadResult r = ReadSeriesFile(d, p);
        EXPECT_EQ(r.status, ReadStatus::Failed);
        EXPECT_TRUE(r.message.contains(QDir::toNativeSeparators(p))) << r.message.toStdString();
        EXPECT_TRUE(r.message.contains(QString::fromLatin1(c.mentions))) << r.message.toStdString();
        expectSameState(d, before);
    }
}

TEST_F(SeriesFileTest, MissingFileAndFolderFail)
{
    d = loadedState();
    const Dimension before = d;
    ReadResult r = ReadSeriesFile(d, path("nowhere.txt"));
    EXPECT_EQ(r.status, ReadStatus::Failed);
    EXPECT_TRUE(r.message.contains("nowhere.txt"));
    r = ReadSeriesFile(d, dir.path());
    EXPECT_EQ(r.status, ReadStatus::Failed);
    EXPECT_TRUE(r.message.contains("folder"));
    // A device would deliver bytes without end.
    if (QFileInfo::exists("/dev/zero")) {
        r = ReadSeriesFile(d, "/dev/zero");
        EXPECT_EQ(r.status, ReadStatus::Failed);
        EXPECT_TRUE(r.message.contains("not a regular file"));
    }
    expectSameState(d, before);
}

TEST_F(SeriesFileTest, EndlessFieldIsRefusedInsteadOfGrowingWithoutBound)
{
    d = loadedState();
    const Dimension before = d;
    QByteArray huge = "0,\"";
    huge.append(QByteArray(200000, 'x'));
    const ReadResult r = read(huge);
    EXPECT_EQ(r.status, ReadStatus::Failed);
    EXPECT_TRUE(r.message.contains("longer than")) << r.message.toStdString();
    QByteArray unquoted = "0,\"\",";
    unquoted.append(QByteArray(200000, '7'));
    EXPECT_EQ(read(unquoted).status, ReadStatus::Failed);
    expectSameState(d, before);
}

TEST_F(SeriesFileTest, HugeTermCountFailsAtTheEndOfTheDataWithoutAllocatingIt)
{
    d = loadedState();
    const Dimension before = d;
    const auto start = std::chrono::steady_clock::now();
    const ReadResult r = read("0,\"\",-3,3,0,1,0,2000000000,#TRUE#\r\n1\r\n2\r\n3\r\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(r.status, ReadStatus::Failed);
    EXPECT_TRUE(r.message.contains("after 3 of 2000000001 coefficients")) << r.message.toStdString();
    expectSameState(d, before);
}

// ---------------------------------------------------------------- writing

TEST_F(SeriesFileTest, WritesTheExactFormat)
{
    ASSERT_EQ(read("0,\"sq\",-1,1,*,0,*,3,#TRUE#\r\n0.5\r\n1.27323954473516\r\n0\r\n").status, ReadStatus::Ok);
    d.IntegralDone = true;
    d.IntegralValue = 1.0 / 3;
    d.RootCount = 1;
    d.Roots[1] = -0.5;
    d.MaxCount = 1;
    d.Maxima[1] = 0.25;
    d.MinCount = 0;
    d.PossibleRootCount = 4;
    const QString out = path("out.txt");
    const WriteResult w = WriteSeriesFile(d, out, sampleTexts());
    ASSERT_TRUE(w.ok) << w.message.toStdString();
    EXPECT_EQ(slurp(out).toStdString(),
              "0,\"sq\",-1,1,0,0,6.28318530717959,3,#TRUE#\r\n"
              "0.5\r\n"
              "1.27323954473516\r\n"
              "0\r\n"
              "-2,3.5,128,0.001,25,#TRUE#,1,4,1,0\r\n"
              "-10,10.1,-5,5,2,0,-1.5,2,0.5\r\n"
              "0.333333333333333\r\n"
              "-0.5\r\n"
              "0.25\r\n");
}

TEST_F(SeriesFileTest, RoundTripKeepsSeriesSettingsAndResults)
{
    ASSERT_EQ(read("0,\"J0(x)\",-10,10,*,1,*,4,#TRUE#\r\n1\r\n0\r\n-0.25\r\n0\r\n0.015625\r\n").status, ReadStatus::Ok);
    d.Coeffs[1] = std::sqrt(2.0) * 1e-20; // values that need exponent notation
    d.Coeffs[3] = -1.0 / 3 * 1e25;
    d.IntegralDone = true;
    d.IntegralValue = -2.0 / 7;
    d.RootCount = 255;
    for (int i = 1; i <= 255; ++i)
        d.Roots[static_cast<size_t>(i)] = i / 7.0;
    d.MaxCount = 2;
    d.Maxima[1] = -1e-9;
    d.Maxima[2] = 123456.789;
    d.MinCount = 1;
    d.Minima[1] = 0;
    d.PossibleRootCount = 1000;
    const Dimension written = d;
    StudySettingsTexts t = sampleTexts();
    t.windowgx = "0.1";
    t.divy = "1e-3";

    const QString out = path("round.txt");
    ASSERT_TRUE(WriteSeriesFile(d, out, t).ok);
    Dimension back;
    back.initialise();
    ASSERT_EQ(ReadSeriesFile(back, out).status, ReadStatus::Ok);

    EXPECT_EQ(back.SourceText, written.SourceText);
    EXPECT_EQ(back.SeriesType, 1);
    EXPECT_EQ(back.TermCount, 4);
    EXPECT_EQ(back.Centre, 0.0);
    EXPECT_EQ(NumberText(back.Period), NumberText(written.Period)); // "*" now a number
    EXPECT_EQ(back.PeriodText, "6.28318530717959");
    ASSERT_EQ(back.Coeffs.size(), written.Coeffs.size());
    for (size_t k = 0; k < back.Coeffs.size(); ++k)
        EXPECT_EQ(NumberText(back.Coeffs[k]), NumberText(written.Coeffs[k])) << k;
    // The settings come back as the boxes showed them, plot values as floats.
    EXPECT_EQ(back.XLower, -2);
    EXPECT_EQ(back.XUpper, 3.5);
    EXPECT_EQ(back.Subintervals, 128);
    EXPECT_EQ(back.ErrorBound, 0.001);
    EXPECT_EQ(back.MaxCycles, 25);
    EXPECT_EQ(back.WindowLX, -10.0f);
    EXPECT_EQ(back.WindowGX, 0.1f);
    EXPECT_EQ(back.YOrigin, -1.5f);
    EXPECT_EQ(back.DivY, 1e-3f);
    EXPECT_EQ(back.PlotStep, 2);
    EXPECT_TRUE(back.IntegralDone);
    EXPECT_EQ(NumberText(back.IntegralValue), NumberText(written.IntegralValue));
    EXPECT_EQ(back.RootCount, 255);
    for (int i = 1; i <= 255; ++i)
        EXPECT_EQ(NumberText(back.Roots[static_cast<size_t>(i)]), NumberText(written.Roots[static_cast<size_t>(i)]));
    EXPECT_EQ(back.MaxCount, 2);
    EXPECT_EQ(back.Maxima[1], -1e-9);
    EXPECT_EQ(back.Maxima[2], 123456.789);
    EXPECT_EQ(back.MinCount, 1);
    EXPECT_EQ(back.PossibleRootCount, 1000);
    EXPECT_TRUE(back.StudyLoaded);

    // Saving what was read gives the same file again.
    const QString again = path("again.txt");
    ASSERT_TRUE(WriteSeriesFile(back, again, t).ok);
    EXPECT_EQ(slurp(again), slurp(out));
}

TEST_F(SeriesFileTest, DoubleQuoteInSourceTextBecomesSingleQuote)
{
    ASSERT_EQ(read("0,\"x\",0,1,0,1,0,0,#TRUE#\r\n1\r\n").status, ReadStatus::Ok);
    d.SourceText = "say \"hi\", twice";
    const QString out = path("q.txt");
    ASSERT_TRUE(WriteSeriesFile(d, out, sampleTexts()).ok);
    EXPECT_TRUE(slurp(out).startsWith("0,\"say 'hi', twice\",0,1,"));
    Dimension back;
    back.initialise();
    ASSERT_EQ(ReadSeriesFile(back, out).status, ReadStatus::Ok);
    EXPECT_EQ(back.SourceText, "say 'hi', twice");
}

TEST_F(SeriesFileTest, HeaderThatReusedCoefficientsIsSavedWithThem)
{
    d = loadedState();
    ASSERT_EQ(read("0,\"\",-1,1,0,1,0,2,#FALSE#\r\n").status, ReadStatus::Ok);
    const QString out = path("self.txt");
    ASSERT_TRUE(WriteSeriesFile(d, out, sampleTexts()).ok);
    EXPECT_TRUE(slurp(out).startsWith("0,\"\",-1,1,0,1,0,2,#TRUE#\r\n1\r\n-2\r\n3\r\n"));
    Dimension fresh;
    fresh.initialise();
    ASSERT_EQ(ReadSeriesFile(fresh, out).status, ReadStatus::Ok);
    EXPECT_EQ(fresh.Coeffs, (std::vector<double>{1, -2, 3}));
}

TEST_F(SeriesFileTest, WriteFailuresKeepTheOldFile)
{
    ASSERT_EQ(read("0,\"x\",0,1,0,1,0,1,#TRUE#\r\n1\r\n2\r\n").status, ReadStatus::Ok);

    // The target is a folder.
    WriteResult w = WriteSeriesFile(d, dir.path(), sampleTexts());
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(w.message.contains(QDir::toNativeSeparators(dir.path()))) << w.message.toStdString();

    // The folder does not exist.
    w = WriteSeriesFile(d, path("no/such/folder/x.txt"), sampleTexts());
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(w.message.contains("x.txt"));

    // A name so long that no temporary file fits beside it: the new content
    // cannot be put in place, and the old file stays as it was.
    const QString longName = put(QString(250, u'n'), "old content");
    w = WriteSeriesFile(d, longName, sampleTexts());
    EXPECT_FALSE(w.ok);
    EXPECT_EQ(slurp(longName), "old content");

    // A setting that could not be read back is refused before the file is touched.
    const QString old = put("old.txt", "old content");
    StudySettingsTexts t = sampleTexts();
    t.windowly = "-1e39";
    w = WriteSeriesFile(d, old, t);
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(w.message.contains("lower plot limit")) << w.message.toStdString();
    EXPECT_EQ(slurp(old), "old content");
    t = sampleTexts();
    t.subintervals = "1e12";
    EXPECT_FALSE(WriteSeriesFile(d, old, t).ok);
    EXPECT_EQ(slurp(old), "old content");

    // Only the files we made are in the folder: no temporary leftovers.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3) << QDir(dir.path()).entryList(QDir::Files).join(' ').toStdString();
}

TEST_F(SeriesFileTest, NothingIsWrittenWithoutASeries)
{
    const QString old = put("old.txt", "old content");
    Dimension fresh;
    fresh.initialise(); // start-up state: no coefficients
    const WriteResult w = WriteSeriesFile(fresh, old, sampleTexts());
    EXPECT_FALSE(w.ok);
    EXPECT_TRUE(w.message.contains("no series")) << w.message.toStdString();
    EXPECT_EQ(slurp(old), "old content");
}

TEST_F(SeriesFileTest, ReadingAfterASuccessfulWriteReplacesTheOldContent)
{
    ASSERT_EQ(read("0,\"x\",0,1,0,1,0,1,#TRUE#\r\n1\r\n2\r\n").status, ReadStatus::Ok);
    const QString old = put("old.txt", "0,\"x\",0,1,0,1,0,0,#TRUE#\r\n9\r\n");
    ASSERT_TRUE(WriteSeriesFile(d, old, sampleTexts()).ok);
    EXPECT_TRUE(slurp(old).startsWith("0,\"x\",0,1,0,1,0,1,#TRUE#\r\n1\r\n2\r\n"));
}
