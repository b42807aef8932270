#include "report/line_printer.h"
#include "report/report_body.h"

#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vendrak;

namespace {

// The example study: [-8, 8], 256 subintervals, 20 iterations, bound .01,
// integral 2.5, one root at 1.5, one maximum at 0 where f = 3.
struct ExampleStudy {
    Dimension d;
    ReportTexts t;
    ExampleStudy()
    {
        d.initialise();
        d.SeriesType = 1;
        d.TermCount = 2;
        d.Coeffs = {3, 0, -1};  // 3 - x^2
        d.ErrorBound = 0.01;
        d.IntegralDone = true;
        d.IntegralValue = 2.5;
        d.RootCount = 1;
        d.Roots[1] = 1.5;
        d.MaxCount = 1;
        d.Maxima[1] = 0;
        t = {"/tmp/study.txt", "-8", "8", "256", "20", ".01", "0", "0", "1", "1", "-20", "20", "-15", "15"};
    }
};

QStringList texts(const std::vector<ReportLine>& lines)
{
    QStringList out;
    for (const auto& l : lines)
        out << l.text + (l.redTail.isEmpty() ? QString() : u'|' + l.redTail);
    return out;
}

} // namespace

TEST(ReportBody, ExampleStudyLinesAreExact)
{
    ExampleStudy s;
    const QStringList expected = {
        "",
        "FUNCTION:",
        "/tmp/study.txt",
        "",
        "    INTERVAL STUDIED: [-8,8]",
        "   # OF SUBINTERVALS: 256",
        "MAX. # OF ITERATIONS: 20",
        "       MAXIMUM ERROR: .01",
        "",
        "INTEGRAL=  2.5 ",
        "",
        "ROOTS:",
        " 1.5 ",
        "",
        "MAXIMA:",
        "[ 0 , 3 ]",
        "",
        "PLOT SETUP:",
        "",
        "     AXES: [0,0]",
        "DIVISIONS: [1,1]",
        " X-WINDOW: [-20,20]",
        " Y-WINDOW: [-15,15]",
    };
    EXPECT_EQ(texts(ReportBody(s.d, s.t)), expected);
}

TEST(ReportBody, ColonsStandInTheirColumns)
{
    ExampleStudy s;
    for (const auto& l : ReportBody(s.d, s.t)) {
        if (l.text.contains(u"INTERVAL") || l.text.contains(u"SUBINTERVALS") || l.text.contains(u"ITERATIONS")
            || l.text.contains(u"MAXIMUM ERROR")) {
            EXPECT_EQ(l.text.indexOf(u':'), 20) << l.text.toStdString();
        }
        if (l.text.contains(u"AXES") || l.text.contains(u"DIVISIONS") || l.text.contains(u"-WINDOW")) {
            EXPECT_EQ(l.text.indexOf(u':'), 9) << l.text.toStdString();
        }
    }
}

TEST(ReportBody, NoResultsGivesTheTwoBlocksSeparatedByOneEmptyLine)
{
    ExampleStudy s;
    s.d.IntegralDone = false;
    s.d.RootCount = s.d.MaxCount = s.d.MinCount = 0;
    const QStringList lines = texts(ReportBody(s.d, s.t));
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines[7], "       MAXIMUM ERROR: .01");
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "PLOT SETUP:");
}

TEST(ReportBody, PossibleRootIsFlaggedInRedUpToTheBoundInclusive)
{
    ExampleStudy s;
    s.d.Coeffs = {0.01, 0, 1};  // minimum 0.01 at 0: exactly the bound
    s.d.MaxCount = 0;
    s.d.MinCount = 2;
    s.d.Minima[1] = 0;
    s.d.Minima[2] = 2;
    const auto lines = ReportBody(s.d, s.t);
    auto it = std::find_if(lines.begin(), lines.end(), [](const ReportLine& l) { return l.text == "MINIMA:"; });
    ASSERT_NE(it, lines.end());
    EXPECT_EQ((it + 1)->text, "[ 0 , 0.01 ]");
    EXPECT_EQ((it + 1)->redTail, "***POSSIBLE ROOT");
    EXPECT_EQ((it + 2)->text, "[ 2 , 4.01 ]");
    EXPECT_TRUE((it + 2)->redTail.isEmpty());
}

TEST(ReportBody, AnExtremumThatCannotBeEvaluatedIsNamedNotFatal)
{
    ExampleStudy s;
    s.d.SeriesType = 0;
    s.d.Period = 0;  // every evaluation divides by zero
    s.d.Maxima[1] = 1;
    const auto lines = ReportBody(s.d, s.t);
    auto it = std::find_if(lines.begin(), lines.end(), [](const ReportLine& l) { return l.text == "MAXIMA:"; });
    ASSERT_NE(it, lines.end());
    EXPECT_EQ((it + 1)->text, "[ 1 , Division by zero ]");
}

TEST(ReportBody, TitleLine)
{
    EXPECT_EQ(ReportTitle(0), "Plot of Function");
    EXPECT_EQ(ReportTitle(2), "Plot of derivative # 2 ");
}

TEST(LinePrinter, ManyRootsSpillOntoFurtherPages)
{
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath("report.pdf"));
    ExampleStudy s;
    s.d.RootCount = 255;
    for (int i = 1; i <= 255; ++i)
        s.d.Roots[static_cast<size_t>(i)] = i;
    LinePrinter printer(pdf);
    ASSERT_TRUE(printer.isActive());
    printer.setFontName("Courier New");
    for (const auto& l : ReportBody(s.d, s.t))
        printer.printLine(l.text);
    EXPECT_GE(printer.pageCount(), 2);
    EXPECT_TRUE(printer.end());
}
