// The printed report's lines for the example study, the possible-root flag, and a long report's second page.
#include "core/report/line_printer.h"
#include "core/report/report_body.h"

#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vendrak;

namespace {

// f = 3 - x^2 on [-8, 8], 256 subintervals, 20 iterations, bound .01, integral 2.5, a root at 1.5, a maximum at 0.
struct ReportBodyTest : ::testing::Test {
    Dimension d;
    ReportTexts t{"/tmp/study.txt", "-8", "8", "256", "20", ".01", "0", "0", "1", "1", "-20", "20", "-15", "15"};
    void SetUp() override
    {
        d.initialise();
        std::tie(d.series.Kind, d.series.TermCount, d.series.Coeffs, d.study.ErrorBound) = std::tuple(SeriesKind::Power, 2, std::vector<double>{3, 0, -1}, 0.01);
        std::tie(d.results.IntegralDone, d.results.IntegralValue, d.results.Roots, d.results.Maxima) =
            std::tuple(true, 2.5, std::vector<double>{1.5}, std::vector<double>{0.0});
    }
    QStringList lines() const // each line, its red part after a bar
    {
        QStringList out;
        for (const auto& l : ReportBody(d.series, d.study, d.results, t))
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
    EXPECT_EQ(std::pair(ReportTitle(0), ReportTitle(2)), std::pair(QString("Plot of Function"), QString("Plot of derivative # 2 ")));
    d.results = {}; // no results: one empty line between
    ASSERT_EQ(lines().size(), 15);
    EXPECT_EQ(lines().mid(7, 3), QStringList({"       MAXIMUM ERROR: .01", "", "PLOT SETUP:"}));
}

TEST_F(ReportBodyTest, MinimaUpToTheBoundInclusiveAreFlaggedAFailingValueIsNamedAndLongListsSpill)
{
    d.series.Coeffs = {0.01, 0, 1}; // minimum 0.01 at 0: exactly the bound
    d.results.Roots.clear();
    d.results.Maxima.clear();
    d.results.Minima = {0.0, 2.0};
    EXPECT_EQ(lines().mid(11, 3), QStringList({"MINIMA:", "[ 0 , 0.01 ]|***POSSIBLE ROOT", "[ 2 , 4.01 ]"}));
    std::tie(d.series.Kind, d.series.Period) = std::pair(SeriesKind::Trigonometric, 0.0); // trigonometric with period 0: every evaluation divides by zero
    EXPECT_EQ(lines().at(13), "[ 2 , Division by zero ]");

    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath("report.pdf"));
    for (int i = 1; i <= 255; ++i)
        d.results.Roots.push_back(i);
    LinePrinter printer(pdf);
    ASSERT_TRUE(printer.isActive());
    printer.setFontName("Courier New");
    for (const auto& l : ReportBody(d.series, d.study, d.results, t))
        printer.printLine(l.text);
    EXPECT_GE(printer.pageCount(), 2);
    EXPECT_TRUE(printer.end());
}
