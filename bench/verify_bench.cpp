// Verify against the Roots and Extrema scans it checks, on a degree-100
// power series and a 100-harmonic series at 256 subintervals: the proof
// should cost a small multiple of the scans.
#include "core/analysis/extrema.h"
#include "core/analysis/roots.h"
#include "core/study/dimension.h"
#include "core/verify/verify.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace vendrak;

Dimension withSpecs(Dimension d)
{
    d.study.XLower = -8;
    d.study.XUpper = 8;
    d.study.Subintervals = 256;
    d.study.ErrorBound = 0.01;
    d.study.MaxCycles = 20;
    return d;
}

// The Taylor series of cos x to degree 100: five roots and five extrema.
Dimension power100()
{
    Dimension d;
    d.initialise();
    d.series.Kind = SeriesKind::Power;
    d.series.TermCount = 100;
    d.series.Coeffs.assign(101, 0.0);
    double term = 1;
    for (int k = 0; k <= 100; ++k) {
        if (k > 0)
            term /= k;
        if (k % 2 == 0)
            d.series.Coeffs[static_cast<size_t>(k)] = (k % 4 == 0) ? term : -term;
    }
    return withSpecs(d);
}

// 100 harmonics of period 2 pi with amplitudes 1/j^2: a wavy curve with
// dozens of roots and extrema on [-8, 8].
Dimension trig100()
{
    Dimension d;
    d.initialise();
    d.series.Kind = SeriesKind::Trigonometric;
    d.series.TermCount = 200;
    d.series.Period = 2 * M_PI;
    d.series.Coeffs.assign(201, 0.0);
    for (int j = 1; j <= 100; ++j) {
        d.series.Coeffs[static_cast<size_t>(2 * j - 1)] = 1.0 / (j * j);
        d.series.Coeffs[static_cast<size_t>(2 * j)] = 0.5 / (j * j);
    }
    return withSpecs(d);
}

void scan(benchmark::State& state, Dimension d)
{
    for (auto _ : state) {
        d.results = WithScan(WithScan(d.results, FindRoots(d.series, d.study)), FindExtrema(d.series, d.study));
        benchmark::DoNotOptimize(d.results.Roots.data());
    }
    state.counters["roots"] = double(d.results.Roots.size());
    state.counters["extrema"] = double(d.results.Maxima.size() + d.results.Minima.size());
}

void verify(benchmark::State& state, Dimension d)
{
    VerifyReport r;
    for (auto _ : state) {
        r = Verify(d.series, d.study.XLower, d.study.XUpper, d.study.ErrorBound);
        benchmark::DoNotOptimize(r.roots.data());
    }
    state.counters["roots"] = static_cast<double>(r.roots.size());
    state.counters["extrema"] = static_cast<double>(r.extrema.size());
}

BENCHMARK_CAPTURE(scan, power100, power100())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(verify, power100, power100())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scan, trig100, trig100())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(verify, trig100, trig100())->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
