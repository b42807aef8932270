// Writes the example series files of this folder. Run once after a change,
// from the top of the source tree:
//   cmake --build build --target vendrak_core
//   g++ -std=c++20 -fPIC examples/generate_examples.cpp -Isrc build/libvendrak_core.a $(pkg-config --cflags --libs Qt6Core Qt6Gui) -o /tmp/generate_examples
//   /tmp/generate_examples examples
// The saved study of sine_study.txt is computed the way the Roots, Extrema and
// Integral commands compute it, through the program's own evaluators.
#include "core/series/evaluators.h"
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

int sign(double v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

// The Roots command's grid scan with Newton refinement (no faults can occur
// for a polynomial, so the error trap is not needed here).
void findRoots(Dimension& d)
{
    const double h = (d.XUpper - d.XLower) / d.Subintervals;
    double x = d.XLower - h;
    d.RootCount = 0;
    auto record = [&](double r) { d.Roots[static_cast<size_t>(++d.RootCount)] = r; };
    for (;;) {
        x += h; // A
        if (!(x < d.XUpper))
            return;
        int left = sign(EvalSeries(d, x));
        if (left == 0) {
            record(x);
            continue;
        }
        for (;;) {
            x += h; // B
            if (x > d.XUpper)
                return;
            const int right = sign(EvalSeries(d, x)); // C
            if (right == 0) {
                record(x);
                break;
            }
            if (right == left)
                continue;
            left = right; // D
            const double bracket = x;
            x -= h / 2;
            double prev = x;
            int cycles = 0;
            do {
                ++cycles;
                prev = x;
                const double f = EvalSeries(d, x);
                x -= f / EvalDeriv1(d, x);
            } while (!(std::fabs(prev - x) <= d.ErrorBound || cycles >= d.MaxCycles));
            if (std::fabs(prev - x) <= d.ErrorBound)
                record(x);
            x = bracket;
            // C again at the bracket: same sign as left, so on to B.
        }
    }
}

// The Extrema command: central-difference slope signs on the grid, Newton
// on five-point differences for each sign change.
void findExtrema(Dimension& d)
{
    const double sd = 0.0045;
    const double h = (d.XUpper - d.XLower) / d.Subintervals;
    d.MaxCount = d.MinCount = d.PossibleRootCount = 0;
    auto f = [&](double x) { return EvalSeries(d, x); };
    auto slope = [&](double x) {
        const double lo = f(x - sd);
        return sign(f(x + sd) - lo);
    };
    auto add = [&](std::array<double, kResultCapacity + 1>& table, int& count, double x) {
        for (int i = 1; i <= count; ++i)
            if (std::fabs(x - table[static_cast<size_t>(i)]) < d.ErrorBound)
                return;
        table[static_cast<size_t>(++count)] = x;
    };
    auto flat = [&](double x) {
        if (std::fabs(f(x)) <= d.ErrorBound)
            ++d.PossibleRootCount;
        if (f(x + sd) > f(x)) {
            d.Minima[static_cast<size_t>(++d.MinCount)] = x;
            return true;
        }
        if (f(x + sd) < f(x)) {
            d.Maxima[static_cast<size_t>(++d.MaxCount)] = x;
            return true;
        }
        return false;
    };
    double x = d.XLower - h;
    for (;;) {
        x += h; // A
        if (!(x < d.XUpper))
            return;
        int left = slope(x);
        if (left == 0 && flat(x))
            continue;
        bool newRun = false;
        while (!newRun) {
            x += h; // B
            if (x > d.XUpper)
                return;
            for (;;) {
                const int right = slope(x); // C
                if (right == 0 && flat(x)) {
                    newRun = true;
                    break;
                }
                if (right == left) // D
                    break;
                const double bracket = x;
                x -= h / 2;
                double prev = x;
                int cycles = 0;
                do {
                    ++cycles;
                    prev = x;
                    const double s0 = f(x - 2 * sd), s1 = f(x - sd), s2 = f(x), s3 = f(x + sd), s4 = f(x + 2 * sd);
                    const double num = s0 - 8 * s1 + 8 * s3 - s4;
                    const double den = -s0 + 16 * s1 - 30 * s2 + 16 * s3 - s4;
                    x -= sd * num / den;
                } while (!(std::fabs(prev - x) <= d.ErrorBound || cycles >= d.MaxCycles));
                if (std::fabs(f(x)) <= d.ErrorBound)
                    ++d.PossibleRootCount;
                if (std::fabs(prev - x) <= d.ErrorBound) {
                    const double s1 = f(x - sd), s2 = f(x);
                    if (s2 < s1)
                        add(d.Minima, d.MinCount, x);
                    if (s2 > s1)
                        add(d.Maxima, d.MaxCount, x);
                }
                left = right;
                x = bracket; // back to C at the bracket
            }
        }
    }
}

// The Integral command for a power series: Horner on the antiderivative.
void integrate(Dimension& d)
{
    const double t1 = d.XLower - d.Centre, t2 = d.XUpper - d.Centre;
    double lo = 0, hi = 0;
    for (int k = d.TermCount; k >= 0; --k) {
        const double c = d.Coeffs[static_cast<size_t>(k)] / (k + 1);
        lo = (c + lo) * t1;
        hi = (c + hi) * t2;
    }
    d.IntegralValue = hi - lo;
    d.IntegralDone = true;
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
    d.XLower = LeadingNumber(t.xlower);
    d.XUpper = LeadingNumber(t.xupper);
    d.Subintervals = LeadingInt32(t.subintervals);
    d.ErrorBound = LeadingNumber(t.error);
    d.MaxCycles = LeadingInt32(t.maxcy);
    d.SourceText = "sin(x), Taylor series about 0, degree 25, with a saved study";
    findRoots(d);
    findExtrema(d);
    integrate(d);
    const WriteResult w = WriteSeriesFile(d, dir + "/sine_study.txt", t);
    if (!w.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(w.message));
        return 1;
    }
    std::printf("roots %d, maxima %d, minima %d, possible roots %d, integral %s\n", d.RootCount, d.MaxCount,
                d.MinCount, d.PossibleRootCount, qPrintable(NumberText(d.IntegralValue)));
    return ok ? 0 : 1;
}
