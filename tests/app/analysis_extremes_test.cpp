// Roots, Extrema, Integral and Value= on series files at the edges of the
// number range: each ends with its message or quietly, in bounded time.
#include "core/analysis/extrema.h"
#include "core/analysis/roots.h"
#include "support/analysis_fixtures.h"
#include "support/extreme_series.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <cstdlib>
#include <iostream>

using namespace vendrak;
using namespace vendrak::test;

namespace {

class AnalysisExtremes : public ::testing::TestWithParam<ExtremeFile> {};

} // namespace

TEST_P(AnalysisExtremes, EveryCommandEnds)
{
    ExtremeWindow x(GetParam());
    MainWindow& w = x.w;
    x.open();
    x.run("roots", [&] { w.cmdRoots->click(); });
    EXPECT_GE(x.dim.RootCount, 0);
    EXPECT_LE(x.dim.RootCount, kResultCapacity);
    EXPECT_EQ(w.lstRoots->count(), x.dim.RootCount);
    for (int i = 1; i <= x.dim.RootCount; ++i)
        EXPECT_TRUE(std::isfinite(x.dim.Roots[size_t(i)]));

    x.run("extrema", [&] { w.cmdExtrema->click(); });
    EXPECT_GE(x.dim.MaxCount, 0);
    EXPECT_GE(x.dim.MinCount, 0);
    EXPECT_LE(x.dim.MaxCount, kResultCapacity);
    EXPECT_LE(x.dim.MinCount, kResultCapacity);

    x.run("integral", [&] { w.cmdIntegrate->click(); });
    if (x.dim.IntegralDone) {
        EXPECT_TRUE(std::isfinite(x.dim.IntegralValue));
    } else {
        EXPECT_TRUE(w.lblIntegral->text().isEmpty());
    }

    // Value= of the function and of every derivative, at both ends of the
    // interval of validity and at its middle.
    for (const char* order : {"0", "1", "2", "5", "9"})
        for (const QString& at : {w.lblXLvalid->text(), w.lblXUvalid->text(), QStringLiteral("0")}) {
            w.txtDerNum->setText(order);
            w.txtXeval->setText(at);
            x.run(std::string("value of derivative ") + order + " at " + at.toStdString(),
                  [&] { w.cmdDerVal->click(); });
        }

    // The study is still whole: the file the window can save reads back.
    for (int i = 1; i <= x.dim.RootCount; ++i)
        EXPECT_FALSE(w.lstRoots->item(i - 1)->text().isEmpty());
    if (std::getenv("VENDRAK_EXTREMES_LOG"))
        std::cout << x.log;
}

INSTANTIATE_TEST_SUITE_P(Files, AnalysisExtremes, ::testing::ValuesIn(extremeFiles()), extremeFileName);

// Newton's method on x^3 - 2x + 2 from 0 alternates between 0 and 1 for
// ever. With the largest cycle limit the fields allow, each bracket took
// 2^30 steps: minutes with the window frozen. The scans now skip whole
// periods of a repetition, which must not change what they find.
namespace {

Dimension cyclingNewton(int maxCycles, std::vector<double> coeffs)
{
    Dimension d = test::powerSeries(std::move(coeffs));
    d.XLower = -2;
    d.XUpper = 2;
    d.Subintervals = 1; // one bracket, [-2, 2], Newton starts at its middle, 0
    d.ErrorBound = 0.01;
    d.MaxCycles = maxCycles;
    return d;
}

} // namespace

TEST(NewtonRepetition, ARootBracketThatNeverConvergesEndsAtOnce)
{
    for (int limit : {20, 21, 1 << 30, (1 << 30) - 1, 2147483647}) {
        Dimension d = cyclingNewton(limit, {2, -2, 0, 1});
        QElapsedTimer t;
        t.start();
        const ScanOutcome out = FindRoots(d);
        EXPECT_LT(t.elapsed(), 1000) << limit;
        EXPECT_TRUE(out.completed) << limit;
        EXPECT_EQ(d.RootCount, 0) << limit;
        EXPECT_LT(out.evaluations, 100) << limit;
    }
    // A bound of 0 (met only when an iterate repeats exactly) or a negative
    // one (never met) leaves the count limit alone to end the iteration.
    for (double bound : {0.0, -1.0}) {
        Dimension d = test::powerSeries({-2, 0, 1});
        d.XLower = -7.99;
        d.ErrorBound = bound;
        d.MaxCycles = 1 << 30;
        const ScanOutcome out = FindRoots(d);
        EXPECT_TRUE(out.completed) << bound;
        EXPECT_LT(out.evaluations, 10000) << bound;
        if (bound < 0) {
            EXPECT_EQ(d.RootCount, 0);
        }
    }
}

// f' = x^3 - 2x + 2 (f = x^4/4 - x^2 + 2x): Newton on the slope alternates
// between 0 and 1 as well. Where the iteration stops still decides whether
// a possible root is counted (|f(0)| = 0, |f(1)| = 1.25), and a large limit
// must stop where the small one of the same parity does.
TEST(NewtonRepetition, AnExtremumBracketEndsWhereTheFullCountWouldHaveEnded)
{
    auto possibleRoots = [](int limit) {
        Dimension d = cyclingNewton(limit, {0, 2, -1, 0, 0.25});
        QElapsedTimer t;
        t.start();
        const ScanOutcome out = FindExtrema(d);
        EXPECT_LT(t.elapsed(), 1000) << limit;
        EXPECT_TRUE(out.completed) << limit;
        EXPECT_EQ(d.MaxCount + d.MinCount, 0) << limit;
        return d.PossibleRootCount;
    };
    EXPECT_EQ(possibleRoots(1 << 30), possibleRoots(64));
    EXPECT_EQ(possibleRoots((1 << 30) - 1), possibleRoots(63));
    EXPECT_NE(possibleRoots(64), possibleRoots(63));
}
