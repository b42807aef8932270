#include "core/report/line_printer.h"
#include "core/report/report_body.h"

#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vendrak;

namespace {

// The example study: f = 3 - x^2 on [-8, 8], 256 subintervals, 20 iterations,
// bound .01, integral 2.5, one root at 1.5, one maximum at 0.
struct ReportBodyTest : ::testing::Test {
    Dimension d;
    ReportTexts t{"/tmp/study.txt", "-8", "8", "256", "20", ".01", "0", "0", "1", "1", "-20", "20", "-15", "15"};
    void SetUp() override
    {
        d.initialise();
        d.SeriesType = 1;
        d.TermCount = 2;
        d.Coeffs = {3, 0, -1};
        d.ErrorBound = 0.01;
        d.IntegralDone = true;
        d.IntegralValue = 2.5;
        d.RootCount = d.MaxCount = 1;
        d.Roots[1] = 1.5;
        d.Maxima[1] = 0;
    }
    // Each line, its red part after a bar.
    QStringList lines() const
    {
        QStringList out;
        for (const auto& l : ReportBody(d, t))
            out << l.text + (l.redTail.isEmpty() ? QString() : u'|' + l.redTail);
        return out;
    }
};

} // namespace

TEST_F(ReportBodyTest, ExampleStudyLinesAreExactAndTitlesNameTheCurve)
{
    EXPECT_EQ(lines(), QStringList({"", "FUNCTION:", "/tmp/study.txt", "", "    INTERVAL STUDIED: [-8,8]",
                                    "   # OF SUBINTERVALS: 256", "MAX. # OF ITERATIONS: 20", "       MAXIMUM ERROR: .01",
                                    "", "INTEGRAL=  2.5 ", "", "ROOTS:", " 1.5 ", "", "MAXIMA:", "[ 0 , 3 ]", "",
                                    "PLOT SETUP:", "", "     AXES: [0,0]", "DIVISIONS: [1,1]", " X-WINDOW: [-20,20]",
                                    " Y-WINDOW: [-15,15]"}));
    EXPECT_EQ(ReportTitle(0), "Plot of Function");
    EXPECT_EQ(ReportTitle(2), "Plot of derivative # 2 ");
    d.IntegralDone = false; // no results: one empty line between the two blocks
    d.RootCount = d.MaxCount = 0;
    ASSERT_EQ(lines().size(), 15);
    EXPECT_EQ(lines().mid(7, 3), QStringList({"       MAXIMUM ERROR: .01", "", "PLOT SETUP:"}));
}

TEST_F(ReportBodyTest, MinimaUpToTheBoundInclusiveAreFlaggedAndAFailingValueIsNamed)
{
    d.Coeffs = {0.01, 0, 1}; // minimum 0.01 at 0: exactly the bound
    d.RootCount = d.MaxCount = 0;
    d.MinCount = 2;
    d.Minima[1] = 0;
    d.Minima[2] = 2;
    EXPECT_EQ(lines().mid(11, 3), QStringList({"MINIMA:", "[ 0 , 0.01 ]|***POSSIBLE ROOT", "[ 2 , 4.01 ]"}));
    d.SeriesType = 0; // trigonometric with period 0: every evaluation divides by zero
    d.Period = 0;
    EXPECT_EQ(lines().at(13), "[ 2 , Division by zero ]");
}

TEST_F(ReportBodyTest, TwoHundredFiftyFiveRootsSpillOntoASecondPage)
{
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath("report.pdf"));
    d.RootCount = 255;
    for (std::size_t i = 1; i <= 255; ++i) d.Roots[i] = static_cast<double>(i);
    LinePrinter printer(pdf);
    ASSERT_TRUE(printer.isActive());
    printer.setFontName("Courier New");
    for (const auto& l : ReportBody(d, t))
        printer.printLine(l.text);
    EXPECT_GE(printer.pageCount(), 2);
    EXPECT_TRUE(printer.end());
}
