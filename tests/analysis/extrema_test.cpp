#include "analysis/extrema.h"
#include "analysis_fixtures.h"
#include "series/evaluators.h"
#include "shell/errors.h"
#include "shell/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vendrak {
namespace {

using test::powerSeries;
using test::startUp;
using test::trigSeries;

TEST(Extrema, FlatGridPointInsideARun)
{
    // x^2: the central slope at the grid point 0 is exactly 0 and f rises
    // beside it; |f(0)| is within the bound, a possible root.
    Dimension d = powerSeries({0, 0, 1});
    const ScanOutcome scan = FindExtrema(d);
    ASSERT_TRUE(scan.completed);
    EXPECT_EQ(scan.entries, QStringList{"MIN: [0 , 0]"});
    EXPECT_EQ(scan.label, "0 max. 1 min. 1 possible root(s).");
    EXPECT_EQ(d.MinCount, 1);
    EXPECT_EQ(d.Minima[1], 0.0);
    EXPECT_EQ(d.MaxCount, 0);
    EXPECT_EQ(d.PossibleRootCount, 1);
}

TEST(Extrema, FlatGridPointStartingARunHasNoSpace)
{
    Dimension up = powerSeries({0, 0, 1}); // x^2
    up.XLower = 0;
    EXPECT_EQ(FindExtrema(up).entries, QStringList{"MIN:[0 , 0]"});

    Dimension down = powerSeries({0, 0, -1}); // -x^2
    down.XLower = 0;
    const ScanOutcome scan = FindExtrema(down);
    EXPECT_EQ(scan.entries, QStringList{"MAX:[0 , 0]"});
    EXPECT_EQ(scan.label, "1 max. 0 min. 1 possible root(s).");
}

TEST(Extrema, SlopeChangeRefinedByFivePointNewton)
{
    // (x - 0.1)^2: the slope changes sign between 0.0625 and 0.125; the
    // five-point formulas are exact for a quadratic.
    Dimension d = powerSeries({0, 0, 1}, 0.1);
    const ScanOutcome scan = FindExtrema(d);
    ASSERT_EQ(scan.entries.size(), 1);
    EXPECT_TRUE(scan.entries[0].startsWith("MIN: [")) << scan.entries[0].toStdString();
    EXPECT_EQ(scan.label, "0 max. 1 min. 1 possible root(s).");
    ASSERT_EQ(d.MinCount, 1);
    EXPECT_NEAR(d.Minima[1], 0.1, 1e-12);
    EXPECT_EQ(scan.entries[0],
              "MIN: [" + NumberText(d.Minima[1]) + " , " + NumberText(EvalSeries(d, d.Minima[1])) + "]");
}

TEST(Extrema, WithoutPossibleRootsTheLabelEndsWithASpace)
{
    Dimension d = powerSeries({5, 0, -1}, 0.1); // 5 - (x - 0.1)^2
    const ScanOutcome scan = FindExtrema(d);
    EXPECT_EQ(scan.label, "1 max. 0 min. ");
    EXPECT_EQ(d.PossibleRootCount, 0);
    ASSERT_EQ(d.MaxCount, 1);
    EXPECT_TRUE(scan.entries[0].startsWith("MAX: [0.1"));
    EXPECT_TRUE(scan.entries[0].endsWith(" , 5]"));
}

TEST(Extrema, RefinementsCloserThanTheBoundAreOneEntry)
{
    // cos(2 pi x): minima at 0.5 and 1.5, a maximum at 1. With a bound this
    // large every refinement stops after its first Newton step, so the two
    // refined minima are the same whatever the bound; only the distance test
    // decides.
    Dimension d = trigSeries({0, 0, 1}, 0, 1);
    d.XLower = 0.13;
    d.XUpper = 1.93;
    d.Subintervals = 16;
    d.ErrorBound = 0.9;
    FindExtrema(d);
    ASSERT_EQ(d.MinCount, 2);
    ASSERT_EQ(d.MaxCount, 1);
    const double first = d.Minima[1];
    const double second = d.Minima[2];
    const double distance = std::fabs(second - first);
    EXPECT_NEAR(distance, 1.0, 0.01);

    // At exactly the bound: still two.
    d.ErrorBound = distance;
    ScanOutcome scan = FindExtrema(d);
    ASSERT_EQ(d.MinCount, 2);
    EXPECT_EQ(d.Minima[1], first);
    EXPECT_EQ(d.Minima[2], second);
    EXPECT_EQ(scan.entries.size(), 3);

    // Just above it: the second is the first again.
    d.ErrorBound = std::nextafter(distance, 2.0);
    scan = FindExtrema(d);
    EXPECT_EQ(d.MinCount, 1);
    EXPECT_EQ(d.Minima[1], first);
    EXPECT_EQ(scan.entries.size(), 2);
}

TEST(Extrema, RefinementMissingTheBoundAddsNothingButCountsAPossibleRoot)
{
    Dimension d = powerSeries({0, 0, 1}, 0.1);
    d.MaxCycles = 1;
    d.ErrorBound = 1e-9;
    const ScanOutcome scan = FindExtrema(d);
    EXPECT_TRUE(scan.entries.isEmpty());
    EXPECT_EQ(scan.label, "0 max. 0 min. 1 possible root(s).");
}

TEST(Extrema, NoSeriesLoadedTheScanRunsThroughAndFindsNothing)
{
    Dimension d = startUp();
    const ScanOutcome scan = FindExtrema(d);
    EXPECT_TRUE(scan.completed);
    EXPECT_TRUE(scan.entries.isEmpty());
    EXPECT_EQ(scan.label, "0 max. 0 min. ");
    EXPECT_EQ(scan.evaluations, 256); // one failing slope evaluation per point
}

TEST(Extrema, EmptyIntervalAndDegenerateGrids)
{
    Dimension d = powerSeries({0, 0, 1});
    d.XUpper = -8;
    ScanOutcome scan = FindExtrema(d);
    EXPECT_TRUE(scan.completed);
    EXPECT_EQ(scan.evaluations, 0);
    EXPECT_EQ(scan.label, "0 max. 0 min. ");

    for (const int n : {0, -4}) {
        Dimension e = powerSeries({0, 0, 1});
        e.Subintervals = n;
        e.PossibleRootCount = 3;
        scan = FindExtrema(e);
        EXPECT_TRUE(scan.completed);
        EXPECT_EQ(scan.evaluations, 0);
        EXPECT_EQ(scan.label, "0 max. 0 min. ");
        EXPECT_EQ(e.PossibleRootCount, 0);
    }

    Dimension narrow = powerSeries({0, 0, 1}, 1e20);
    narrow.XLower = 1e20;
    narrow.XUpper = 1e20 + 65536;
    narrow.Subintervals = 1 << 20;
    scan = FindExtrema(narrow);
    EXPECT_FALSE(scan.completed);
    EXPECT_EQ(scan.evaluations, 0);
}

TEST(Extrema, AnErrorThatIsNotRecoverableEndsQuietly)
{
    Dimension d = powerSeries({0, 0, 1});
    d.TermCount = 3; // one coefficient missing: error 9
    d.MinCount = 4;
    const ScanOutcome scan = FindExtrema(d);
    EXPECT_FALSE(scan.completed);
    EXPECT_TRUE(scan.entries.isEmpty());
    EXPECT_EQ(d.MinCount, 0);
    EXPECT_EQ(d.ierr, ErrSubscript);
}

TEST(Extrema, TablesHoldAt255AndTheListAgrees)
{
    // cos(2 pi x / 0.05): 320 maxima and 320 minima in [-8, 8].
    Dimension d = trigSeries({0, 0, 1}, 0, 0.05);
    d.Subintervals = 4096;
    const ScanOutcome scan = FindExtrema(d);
    EXPECT_FALSE(scan.completed);
    EXPECT_EQ(std::max(d.MaxCount, d.MinCount), kResultCapacity);
    ASSERT_EQ(scan.entries.size(), d.MaxCount + d.MinCount);
    int maxima = 0;
    int minima = 0;
    for (const QString& entry : scan.entries) {
        const bool isMax = entry.startsWith("MAX");
        const double x = isMax ? d.Maxima[static_cast<size_t>(++maxima)] : d.Minima[static_cast<size_t>(++minima)];
        EXPECT_TRUE(entry.contains("[" + NumberText(x) + " , ")) << entry.toStdString();
    }
    EXPECT_EQ(maxima, d.MaxCount);
    EXPECT_EQ(minima, d.MinCount);
}

} // namespace
} // namespace vendrak
