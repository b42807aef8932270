// The bundled example files are meant to be opened at once: each must read
// and be the function its header names.
#include "core/series/evaluators.h"
#include "core/series/series_file.h"
#include "core/study/number_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace vendrak;

namespace {

const QString kDir = QStringLiteral(VENDRAK_SOURCE_DIR "/examples/");

QByteArray slurp(const QString& p)
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Examples, EachReadsAndIsTheFunctionItNames)
{
    using std::numbers::pi;
    // The period of the waves shows at pi/2 + 3 pi and at 1.75.
    const struct { const char* file; double x, value, tolerance; } cases[] = {
        {"sine_taylor.txt", 1, std::sin(1.0), 1e-15}, {"sine_taylor.txt", -3, std::sin(-3.0), 1e-12},
        {"sine_taylor.txt", 8, std::sin(8.0), 3e-4}, // end of the interval of validity
        {"sine_study.txt", 2, std::sin(2.0), 1e-12}, {"bessel_j0.txt", 0, 1, 0},
        {"bessel_j0.txt", 2.404825557695773, 0, 1e-13}, // first zero
        {"bessel_j0.txt", 10, -0.245935764451348, 1e-9}, {"square_wave.txt", pi / 2, 1, 0.05},
        {"square_wave.txt", 3.5 * pi, -1, 0.05}, {"square_wave.txt", 0, 0, 1e-15},
        {"triangle_wave.txt", 0.5, 0.5, 0.01}, {"triangle_wave.txt", 1.75, 0.25, 0.02},
    };
    for (const auto& c : cases) {
        Dimension d;
        d.initialise();
        const ReadResult r = ReadSeriesFile(d, kDir + c.file);
        ASSERT_EQ(r.status, ReadStatus::Ok) << c.file << r.message.toStdString();
        EXPECT_NEAR(EvalSeries(d, c.x), c.value, c.tolerance) << c.file << " at " << c.x;
    }
    const QStringList files = QDir(kDir).entryList({"*.txt"}, QDir::Files);
    EXPECT_EQ(files.size(), 5);
    for (const QString& f : files) {
        const QByteArray bytes = slurp(kDir + f);
        EXPECT_TRUE(bytes.endsWith("\r\n")) << f.toStdString();
        EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n")) << f.toStdString();
    }
}

TEST(Examples, TheSavedStudyIsInTheWritersOwnFormat)
{
    Dimension d;
    d.initialise();
    ASSERT_EQ(ReadSeriesFile(d, kDir + "sine_study.txt").status, ReadStatus::Ok);
    ASSERT_TRUE(d.StudyLoaded);
    // Saved again with its own settings texts it is the same file, byte for byte.
    const StudySettingsTexts t{SettingsText(d.XLower),   SettingsText(d.XUpper),   SettingsText(d.Subintervals),
                               SettingsText(d.ErrorBound), SettingsText(d.MaxCycles), SettingsText(d.WindowLX),
                               SettingsText(d.WindowGX), SettingsText(d.WindowLY), SettingsText(d.WindowGY),
                               SettingsText(d.PlotStep), SettingsText(d.XOrigin),  SettingsText(d.YOrigin),
                               SettingsText(d.DivX),     SettingsText(d.DivY)};
    QTemporaryDir dir;
    ASSERT_TRUE(WriteSeriesFile(d, dir.filePath("saved.txt"), t).ok);
    EXPECT_EQ(slurp(dir.filePath("saved.txt")), slurp(kDir + "sine_study.txt"));
}
