// Building a new series from an expression should feel instant in the dialog.
#include "core/builder/series_builder.h"

#include <benchmark/benchmark.h>

namespace {

void TaylorDegree1000(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(vendrak::BuildTaylor(QStringLiteral("exp(sin(x))/(1+x^2)"), 0, 1000));
}
BENCHMARK(TaylorDegree1000)->Unit(benchmark::kMillisecond);

// The README's example: the default interval is searched by evaluating the
// series and the expression in balls; under a second.
void TaylorDefaultIntervalDegree40(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(vendrak::BuildTaylor(QStringLiteral("sin(x)/x"), 0, 40));
}
BENCHMARK(TaylorDefaultIntervalDegree40)->Unit(benchmark::kMillisecond);

// A jump: the samples are doubled to their most, 2^21.
void FourierSquareWave(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(vendrak::BuildFourier(QStringLiteral("sign(sin(x))"), 0, QStringLiteral("*"), 20));
}
BENCHMARK(FourierSquareWave)->Unit(benchmark::kMillisecond);

void Fourier10000Harmonics(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(vendrak::BuildFourier(QStringLiteral("abs(sin(x))"), 0, QStringLiteral("*"), 10000));
}
BENCHMARK(Fourier10000Harmonics)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
