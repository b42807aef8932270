// Opening a series file of a million coefficients should go at file speed: at
// least as fast as python3 turning the same file's lines into floats.
#include "core/series/series_file.h"
#include "core/study/number_text.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kCoefficients = 1000000;

// Coefficients as the writer puts them (15 significant digits, exponent
// notation for the very large and small), spread over many magnitudes.
const QString& millionFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("million.txt"));
        QByteArray out = "0,\"generated\",-1,1,0,1,*," + QByteArray::number(kCoefficients - 1) + ",#TRUE#\r\n";
        std::mt19937_64 rng(7);
        std::uniform_real_distribution<double> mantissa(-1, 1);
        std::uniform_int_distribution<int> exponent(-30, 30);
        for (int k = 0; k < kCoefficients; ++k)
            out += vendrak::NumberText(std::ldexp(mantissa(rng), exponent(rng))).toLatin1() + "\r\n";
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size())
            return QString();
        return p;
    }();
    return path;
}

void ReadMillionCoefficients(benchmark::State& state)
{
    const QString& path = millionFile();
    for (auto _ : state) {
        vendrak::Dimension d;
        d.initialise();
        vendrak::Outcome<vendrak::SeriesFile> r = vendrak::ReadSeriesFile(d, path);
        if (!r || r->series.Coeffs.size() != kCoefficients) {
            state.SkipWithError(("the file was not read: " + (r ? QString() : r.error().message())).toStdString().c_str());
            break;
        }
        d = vendrak::Opened(std::move(d), std::move(*r));
    }
}
BENCHMARK(ReadMillionCoefficients)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same file read by python3, line by line with float() on each
// coefficient; python times its own reading, so its start-up does not count.
void Python3FloatPerLine(benchmark::State& state)
{
    const QString script = QStringLiteral(
        "import sys, time\n"
        "t = time.perf_counter()\n"
        "with open(sys.argv[1]) as f:\n"
        "    next(f)\n"
        "    c = [float(line) for line in f]\n"
        "assert len(c) == %1\n"
        "print(time.perf_counter() - t)\n")
                               .arg(kCoefficients);
    for (auto _ : state) {
        QProcess python;
        python.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, millionFile()});
        if (!python.waitForFinished(120000) || python.exitCode() != 0) {
            state.SkipWithError("python3 did not run");
            break;
        }
        state.SetIterationTime(python.readAllStandardOutput().trimmed().toDouble());
    }
}
BENCHMARK(Python3FloatPerLine)->Unit(benchmark::kMillisecond)->UseManualTime();

// Twenty million lines whose header asks for more coefficients than are
// read: refused from the first lines, without reading the rest.
void RefuseTwentyMillionLines(benchmark::State& state)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.txt"));
    {
        QFile f(path);
        const QByteArray lines = QByteArray("1.5\r\n").repeated(1000000);
        if (!f.open(QIODevice::WriteOnly) || f.write("0,\"huge\",-1,1,0,1,*,19999999,#TRUE#\r\n") < 0)
            state.SkipWithError("the file could not be written");
        for (int i = 0; i < 20; ++i)
            f.write(lines);
    }
    for (auto _ : state) {
        vendrak::Dimension d;
        d.initialise();
        const vendrak::Outcome<vendrak::SeriesFile> r = vendrak::ReadSeriesFile(d, path);
        if (r || vendrak::IsMultiVariable(r.error())) {
            state.SkipWithError("the file was not refused");
            break;
        }
    }
}
BENCHMARK(RefuseTwentyMillionLines)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
