// The bundled example files are meant to be opened at once: each must read,
// and each must be the function its header names.
#include "analysis/extrema.h"
#include "analysis/integral.h"
#include "analysis/roots.h"
#include "series/evaluators.h"
#include "series/series_file.h"
#include "shell/number_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using namespace vendrak;

namespace {

const double kPi = 4 * std::atan(1.0);

QString examplePath(const char* name)
{
    return QStringLiteral(VENDRAK_SOURCE_DIR "/examples/") + QString::fromLatin1(name);
}

Dimension load(const char* name)
{
    Dimension d;
    d.initialise();
    const ReadResult r = ReadSeriesFile(d, examplePath(name));
    EXPECT_EQ(r.status, ReadStatus::Ok) << r.message.toStdString();
    return d;
}

QByteArray slurp(const QString& p)
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Examples, EveryFileReadsAndUsesCrLfLineEnds)
{
    const QStringList files = QDir(QStringLiteral(VENDRAK_SOURCE_DIR "/examples")).entryList({"*.txt"}, QDir::Files);
    ASSERT_GE(files.size(), 5);
    EXPECT_TRUE(files.contains("sine_taylor.txt")) << "the run command opens it";
    for (const QString& f : files) {
        SCOPED_TRACE(f.toStdString());
        Dimension d;
        d.initialise();
        const QString p = examplePath(f.toLatin1().constData());
        const ReadResult r = ReadSeriesFile(d, p);
        EXPECT_EQ(r.status, ReadStatus::Ok) << r.message.toStdString();
        const QByteArray bytes = slurp(p);
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
    }
}

TEST(Examples, SineTaylorSeries)
{
    const Dimension d = load("sine_taylor.txt");
    EXPECT_EQ(d.SeriesType, 1);
    EXPECT_EQ(d.TermCount, 25);
    EXPECT_FALSE(d.StudyLoaded);
    EXPECT_NEAR(EvalSeries(d, 1), std::sin(1.0), 1e-15);
    EXPECT_NEAR(EvalSeries(d, -3), std::sin(-3.0), 1e-12);
    EXPECT_NEAR(EvalSeries(d, 8), std::sin(8.0), 3e-4); // end of the interval of validity
    EXPECT_NEAR(EvalDeriv1(d, 2), std::cos(2.0), 1e-12);
}

TEST(Examples, BesselJ0Series)
{
    const Dimension d = load("bessel_j0.txt");
    EXPECT_EQ(d.TermCount, 40);
    EXPECT_EQ(EvalSeries(d, 0), 1.0);
    EXPECT_NEAR(EvalSeries(d, 2.404825557695773), 0.0, 1e-13); // first zero
    EXPECT_NEAR(EvalSeries(d, 10), -0.245935764451348, 1e-9);
    // J0' = -J1; J1(1) = 0.440050585744933.
    EXPECT_NEAR(EvalDeriv1(d, 1), -0.440050585744933, 1e-13);
}

TEST(Examples, SquareWaveWithStarPeriod)
{
    const Dimension d = load("square_wave.txt");
    EXPECT_EQ(d.SeriesType, 0);
    EXPECT_EQ(d.PeriodText, "*");
    EXPECT_EQ(d.Period, 2 * kPi);
    EXPECT_EQ(d.Centre, 0.0);
    EXPECT_EQ(d.TermCount, 29) << "harmonic 15 ends on a lone sine coefficient";
    EXPECT_EQ(ShownTermCount(d), 30);
    EXPECT_NEAR(EvalSeries(d, kPi / 2), 1.0, 0.05);
    EXPECT_NEAR(EvalSeries(d, -kPi / 2 + 4 * kPi), -1.0, 0.05);
    EXPECT_NEAR(EvalSeries(d, 0), 0.0, 1e-15);
}

TEST(Examples, TriangleWaveWithNumericPeriod)
{
    const Dimension d = load("triangle_wave.txt");
    EXPECT_EQ(d.SeriesType, 0);
    EXPECT_EQ(d.PeriodText, "2");
    EXPECT_EQ(d.Period, 2.0);
    EXPECT_NEAR(EvalSeries(d, 0.5), 0.5, 0.01);
    EXPECT_NEAR(EvalSeries(d, -0.25 + 2), 0.25, 0.02);
    EXPECT_NEAR(EvalSeries(d, 0), 0.0, 0.03);
}

TEST(Examples, SavedStudyHoldsTheResultsOfItsSeries)
{
    const Dimension d = load("sine_study.txt");
    ASSERT_TRUE(d.StudyLoaded);
    EXPECT_EQ(d.XLower, -7);
    EXPECT_EQ(d.XUpper, 7);
    EXPECT_EQ(d.Subintervals, 256);
    EXPECT_EQ(d.ErrorBound, 1e-9);
    ASSERT_EQ(d.RootCount, 5);
    for (int i = 1; i <= d.RootCount; ++i)
        EXPECT_NEAR(EvalSeries(d, d.Roots[static_cast<size_t>(i)]), 0.0, 1e-12) << i;
    EXPECT_EQ(d.Roots[3], 0.0) << "0 is a grid point where the series is exactly 0";
    EXPECT_NEAR(d.Roots[4], kPi, 1e-13);
    ASSERT_EQ(d.MaxCount, 2);
    ASSERT_EQ(d.MinCount, 2);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_NEAR(EvalSeries(d, d.Maxima[static_cast<size_t>(i)]), 1.0, 1e-9);
        EXPECT_NEAR(EvalSeries(d, d.Minima[static_cast<size_t>(i)]), -1.0, 1e-9);
        EXPECT_NEAR(EvalDeriv1(d, d.Maxima[static_cast<size_t>(i)]), 0.0, 1e-6);
    }
    EXPECT_TRUE(d.IntegralDone);
    EXPECT_NEAR(d.IntegralValue, 0.0, 1e-12); // odd function over a symmetric interval
    EXPECT_EQ(d.WindowLY, -1.5f);
    EXPECT_EQ(d.DivY, 0.5f);

    // Saving the opened study with its settings texts gives the file back
    // byte for byte: the example is in the writer's own format.
    StudySettingsTexts t{SettingsText(d.XLower), SettingsText(d.XUpper), SettingsText(d.Subintervals),
                         SettingsText(d.ErrorBound), SettingsText(d.MaxCycles), SettingsText(d.WindowLX),
                         SettingsText(d.WindowGX), SettingsText(d.WindowLY), SettingsText(d.WindowGY),
                         SettingsText(d.PlotStep), SettingsText(d.XOrigin), SettingsText(d.YOrigin),
                         SettingsText(d.DivX), SettingsText(d.DivY)};
    QTemporaryDir dir;
    const QString out = dir.filePath("saved.txt");
    ASSERT_TRUE(WriteSeriesFile(d, out, t).ok);
    EXPECT_EQ(slurp(out), slurp(examplePath("sine_study.txt")));
}

TEST(Examples, SavedStudyIsWhatTheCommandsComputeAgain)
{
    const Dimension saved = load("sine_study.txt");
    Dimension d = saved;
    ASSERT_TRUE(FindRoots(d).completed);
    ASSERT_TRUE(FindExtrema(d).completed);
    ASSERT_TRUE(ComputeIntegral(d).done);
    ASSERT_EQ(d.RootCount, saved.RootCount);
    for (int i = 1; i <= d.RootCount; ++i)
        EXPECT_EQ(NumberText(d.Roots[static_cast<size_t>(i)]), NumberText(saved.Roots[static_cast<size_t>(i)]));
    ASSERT_EQ(d.MaxCount, saved.MaxCount);
    for (int i = 1; i <= d.MaxCount; ++i)
        EXPECT_EQ(NumberText(d.Maxima[static_cast<size_t>(i)]), NumberText(saved.Maxima[static_cast<size_t>(i)]));
    ASSERT_EQ(d.MinCount, saved.MinCount);
    for (int i = 1; i <= d.MinCount; ++i)
        EXPECT_EQ(NumberText(d.Minima[static_cast<size_t>(i)]), NumberText(saved.Minima[static_cast<size_t>(i)]));
    EXPECT_EQ(d.PossibleRootCount, saved.PossibleRootCount);
    EXPECT_EQ(NumberText(d.IntegralValue), NumberText(saved.IntegralValue));
}
