// Writes the example series files of this folder (built with the program;
// `build/generate_examples examples` after a change). The saved study of
// sine_study.txt is what the Roots, Extrema and Integral commands find.
#include "core/analysis/extrema.h"
#include "core/analysis/roots.h"
#include "core/analysis/study_commands.h"
#include "core/series/series_file.h"
#include "core/study/number_text.h"

#include <QFile>
#include <QStringList>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace vendrak;

namespace {

const double kPi = 4 * std::atan(1.0);

bool writeSeriesOnly(const QString& path, const QString& header, const std::vector<double>& c)
{
    QString out = header + QStringLiteral("\r\n");
    for (double v : c)
        out += NumberText(v) + QStringLiteral("\r\n");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    return f.write(out.toUtf8()) == out.toUtf8().size();
}

std::vector<double> sineTaylor(int degree)
{
    std::vector<double> c(static_cast<size_t>(degree) + 1, 0.0);
    double fact = 1;
    for (int k = 1; k <= degree; ++k) {
        fact *= k;
        if (k % 2 == 1)
            c[static_cast<size_t>(k)] = ((k / 2) % 2 == 0 ? 1.0 : -1.0) / fact;
    }
    return c;
}

// J0(x) = sum (-1)^m (x/2)^(2m) / (m!)^2.
std::vector<double> besselJ0(int degree)
{
    std::vector<double> c(static_cast<size_t>(degree) + 1, 0.0);
    double term = 1;
    for (int m = 0; 2 * m <= degree; ++m) {
        if (m > 0)
            term /= -4.0 * m * m;
        c[static_cast<size_t>(2 * m)] = term;
    }
    return c;
}

// Square wave of height 1 and period 2π: (4/π) sum over odd j of sin(jθ)/j.
// Harmonics 1..15, so the last coefficient is a lone sine.
std::vector<double> squareWave(int harmonics)
{
    std::vector<double> c(static_cast<size_t>(2 * harmonics), 0.0);
    for (int j = 1; j <= harmonics; j += 2)
        c[static_cast<size_t>(2 * j - 1)] = 4 / (kPi * j);
    return c;
}

// Triangle wave |x| on [-1, 1], period 2: 1/2 - (4/π²) sum over odd j of cos(jθ)/j².
std::vector<double> triangleWave(int harmonics)
{
    std::vector<double> c(static_cast<size_t>(2 * harmonics) + 1, 0.0);
    c[0] = 0.5;
    for (int j = 1; j <= harmonics; j += 2)
        c[static_cast<size_t>(2 * j)] = -4 / (kPi * kPi * j * j);
    return c;
}

} // namespace

int main(int argc, char** argv)
{
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("examples");
    bool ok = true;

    ok &= writeSeriesOnly(dir + "/sine_taylor.txt",
                          QStringLiteral("0,\"sin(x), Taylor series about 0, degree 25\",-8,8,0,1,0,25,#TRUE#"),
                          sineTaylor(25));
    ok &= writeSeriesOnly(dir + "/bessel_j0.txt",
                          QStringLiteral("0,\"Bessel function J0(x), power series about 0, degree 40\",-10,10,0,1,0,40,#TRUE#"),
                          besselJ0(40));
    const std::vector<double> square = squareWave(15);
    ok &= writeSeriesOnly(dir + "/square_wave.txt",
                          QStringLiteral("0,\"Square wave of height 1, period 2 pi, harmonics 1 to 15\",-10,10,*,0,*,%1,#TRUE#")
                              .arg(square.size()),
                          square);
    const std::vector<double> triangle = triangleWave(9);
    ok &= writeSeriesOnly(dir + "/triangle_wave.txt",
                          QStringLiteral("0,\"Triangle wave |x| on [-1, 1], period 2, harmonics 1 to 9\",-3,3,0,0,2,%1,#TRUE#")
                              .arg(triangle.size()),
                          triangle);

    // A saved study of the sine series over [-7, 7].
    Dimension d;
    d.initialise();
    Outcome<SeriesFile> r = ReadSeriesFile(d, dir + "/sine_taylor.txt");
    if (!r) {
        std::fprintf(stderr, "%s\n", qPrintable(r.error().message()));
        return 1;
    }
    d = Opened(std::move(d), std::move(*r));
    StudySettingsTexts t;
    t.xlower = "-7";
    t.xupper = "7";
    t.subintervals = "256";
    t.error = "1E-09";
    t.maxcy = "20";
    t.windowlx = "-8";
    t.windowgx = "8";
    t.windowly = "-1.5";
    t.windowgy = "1.5";
    t.plotStep = "1";
    t.xorigin = "0";
    t.yorigin = "0";
    t.divx = "1";
    t.divy = ".5";
    d.series.SourceText = "sin(x), Taylor series about 0, degree 25, with a saved study";
    const StudySpecTexts fields{t.xlower, t.xupper, t.subintervals, t.error, t.maxcy};
    d.study = ReadStudySpecsFrom(fields, d.study);
    d.results = WithScan(d.results, FindRoots(d.series, d.study));
    d.results = WithScan(d.results, FindExtrema(d.series, d.study));
    d.results = WithIntegral(d.results, IntegralOutcome{d.study, ComputeIntegral(d.series, d.study)});
    if (const std::optional<Error> failed = WriteSeriesFile(d, dir + "/sine_study.txt", t)) {
        std::fprintf(stderr, "%s\n", qPrintable(failed->message()));
        return 1;
    }
    std::printf("roots %zu, maxima %zu, minima %zu, possible roots %d, integral %s\n", d.results.Roots.size(),
                d.results.Maxima.size(), d.results.Minima.size(), d.results.PossibleRootCount,
                qPrintable(NumberText(d.results.IntegralValue)));
    return ok ? 0 : 1;
}
