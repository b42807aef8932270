// Results against references computed another way: the roots and extrema of sin, antiderivatives term by term in
// extended precision, and the bundled examples against the functions their headers name.
#include "core/analysis/extrema.h"
#include "core/analysis/integral.h"
#include "core/analysis/roots.h"
#include "core/series/evaluators.h"
#include "core/series/series_file.h"
#include "core/study/number_text.h"
#include "support/analysis_fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vendrak {
namespace {

using std::numbers::pi;

// Sorted values, each within a tenth of the error bound of the reference (Newton stops at the bound, but converges
// much closer).
void expectNear(std::vector<double> found, std::vector<double> reference)
{
    std::sort(found.begin(), found.end());
    ASSERT_EQ(found.size(), reference.size());
    for (size_t i = 0; i < found.size(); ++i)
        EXPECT_NEAR(found[i], reference[i], 1e-3) << i;
}

TEST(Accuracy, RootsAndExtremaOfTheSineTaylorSeries)
{
    Dimension d = test::sineTaylor(25);
    EXPECT_EQ(test::roots(d).label, "5 roots");
    expectNear(d.results.Roots, {-2 * pi, -pi, 0, pi, 2 * pi});
    EXPECT_EQ(test::extrema(d).label, "3 max. 3 min. ");
    expectNear(d.results.Maxima, {-1.5 * pi, 0.5 * pi, 2.5 * pi});
    expectNear(d.results.Minima, {-2.5 * pi, -0.5 * pi, 1.5 * pi});
}

// Power: sum c[k] t^(k+1) / (k+1). Trigonometric: c0 t + sum P/(2 pi j) (-a_j cos(j theta) + b_j sin(j theta)),
// the angles j*theta formed directly.
long double antiderivative(const Dimension& d, long double x)
{
    const long double t = x - d.series.Centre;
    const std::vector<double>& c = d.series.Coeffs;
    long double sum = d.series.Kind == SeriesKind::Power ? 0 : c[0] * t;
    for (size_t k = d.series.Kind == SeriesKind::Power ? 0 : 1; k < c.size(); ++k) {
        if (d.series.Kind == SeriesKind::Power) {
            sum += c[k] * std::pow(t, static_cast<long double>(k + 1)) / static_cast<long double>(k + 1);
        } else {
            const long double jw = static_cast<long double>((k + 1) / 2) * 2 * std::numbers::pi_v<long double> / d.series.Period;
            sum += (k % 2 == 1 ? -c[k] * std::cos(jw * t) : c[k] * std::sin(jw * t)) / jw;
        }
    }
    return sum;
}

TEST(Accuracy, IntegralsAgainstTheAntiderivative)
{
    // Off-centre with a large coefficient range; trigonometric with an even top index (every harmonic complete)
    // and an odd one (a lone sine).
    const Dimension series[] = {test::sineTaylor(25), test::powerSeries({2.5, -1, 0.75, 3, -0.125, 0.01}, 1.75),
                                test::trigSeries({0.5, 1, -2, 0.25, 0.75, -0.3, 0.1}, 0.7, 3.3),
                                test::trigSeries({-1, 0.2, 0.4, -0.6, 0.8, 1.2}, 0.7, 3.3)};
    for (const Dimension& s : series) {
        for (const auto& [a, b] : {std::pair{-8.0, 8.0}, {0.7, 4.0}, {-1.25, 7.75}, {2.25, -5.5}}) {
            Dimension d = test::on(s, a, b);
            ASSERT_TRUE(test::integral(d).done());
            const double reference = static_cast<double>(antiderivative(d, b) - antiderivative(d, a));
            EXPECT_NEAR(d.results.IntegralValue, reference, 1e-12 * std::max(1.0, std::fabs(reference)))
                << static_cast<int>(d.series.Kind) << " " << d.series.Coeffs.size() << ": " << a << " " << b;
        }
    }
}

TEST(Examples, EachReadsAndIsTheFunctionItNamesAndTheSavedStudyIsInTheWritersOwnFormat)
{
    const QString dir = QStringLiteral(VENDRAK_SOURCE_DIR "/examples/");
    const auto slurp = [](const QString& p) { QFile f(p); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(); };
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
    Dimension d;
    for (const auto& c : cases) {
        d = Dimension();
        d.initialise();
        ASSERT_EQ(test::openSeries(d, dir + c.file), "") << c.file;
        EXPECT_NEAR(EvalSeries(d.series, c.x), c.value, c.tolerance) << c.file << " at " << c.x;
    }
    const QStringList files = QDir(dir).entryList({"*.txt"}, QDir::Files);
    EXPECT_EQ(files.size(), 5);
    for (const QString& f : files) { // CR LF throughout
        const QByteArray bytes = slurp(dir + f);
        EXPECT_TRUE(bytes.endsWith("\r\n") && bytes.count("\n") == bytes.count("\r\n")) << f.toStdString();
    }
    // Saved again with its own settings texts the study is the same file, byte for byte.
    d = Dimension();
    d.initialise();
    ASSERT_EQ(test::openSeries(d, dir + "sine_study.txt"), "");
    ASSERT_TRUE(d.window.StudyLoaded);
    const StudySettingsTexts t{SettingsText(d.study.XLower),   SettingsText(d.study.XUpper),   SettingsText(d.study.Subintervals),
                               SettingsText(d.study.ErrorBound), SettingsText(d.study.MaxCycles), SettingsText(d.plot.WindowLX),
                               SettingsText(d.plot.WindowGX), SettingsText(d.plot.WindowLY), SettingsText(d.plot.WindowGY),
                               SettingsText(d.plot.PlotStep), SettingsText(d.plot.XOrigin),  SettingsText(d.plot.YOrigin),
                               SettingsText(d.plot.DivX),     SettingsText(d.plot.DivY)};
    QTemporaryDir out;
    ASSERT_TRUE(!WriteSeriesFile(d, out.filePath("saved.txt"), t));
    EXPECT_EQ(slurp(out.filePath("saved.txt")), slurp(dir + "sine_study.txt"));
}

} // namespace
} // namespace vendrak
