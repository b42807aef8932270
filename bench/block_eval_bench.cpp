// Points per second over a grid of 2^20 points, one point at a time against
// the block evaluators, and the scans over as many subintervals either way. The label names the vector unit the block path was
// dispatched to. The one-point trigonometric series of 5,000 harmonics runs
// on every 16th grid point only (a whole grid would take minutes); points
// per second do not depend on how many.
#include "core/analysis/extrema.h"
#include "core/analysis/grid_lookahead.h"
#include "core/analysis/roots.h"
#include "core/series/block_eval.h"
#include "core/series/evaluators.h"
#include "core/study/dimension.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

using namespace vendrak;

constexpr int kPoints = 1 << 20;
// Points per call of the block evaluator: a slice as a scan would hand over.
constexpr std::size_t kSlice = 1 << 14;

// Power series on [-1, 1] with coefficients (-1)^k / (k + 1): finite
// everywhere at any degree. Trigonometric series on [-8, 8] with amplitudes
// 1/j and 1/j^2 and period 2 pi.
Series makeSeries(bool power, int size)
{
    Series s;
    if (power) {
        s.Kind = SeriesKind::Power;
        s.TermCount = size;
        for (int k = 0; k <= size; ++k)
            s.Coeffs.push_back((k % 2 ? -1.0 : 1.0) / (k + 1));
        return s;
    }
    s.Kind = SeriesKind::Trigonometric;
    s.TermCount = 2 * size;
    s.Coeffs.push_back(0.1);
    for (int j = 1; j <= size; ++j) {
        s.Coeffs.push_back(1.0 / j);
        s.Coeffs.push_back(1.0 / (static_cast<double>(j) * j));
    }
    s.Centre = 0.25;
    s.Period = 2 * std::acos(-1.0);
    return s;
}

// The grid as the scans form it: repeated sums of the step.
std::vector<double> grid(bool power, int stride)
{
    const double lower = power ? -1 : -8;
    const double h = (power ? 2.0 : 16.0) / kPoints;
    std::vector<double> xs;
    double x = lower;
    for (int i = 0; i < kPoints; ++i, x += h) {
        if (i % stride == 0)
            xs.push_back(x);
    }
    return xs;
}

void report(benchmark::State& state, std::size_t points)
{
    state.counters["points/s"] = benchmark::Counter(static_cast<double>(points) * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}

// Arguments: 1 power, 0 trigonometric; degree or harmonics.
void BM_OnePoint(benchmark::State& state)
{
    const bool power = state.range(0) == 1;
    const Series s = makeSeries(power, static_cast<int>(state.range(1)));
    const std::vector<double> xs = grid(power, !power && state.range(1) > 1000 ? 16 : 1);
    for (auto _ : state) {
        double sum = 0;
        for (double x : xs) {
            if (const SeriesValue f = TryEvalSeries(s, x); !f.fault)
                sum += f.value;
        }
        benchmark::DoNotOptimize(sum);
    }
    report(state, xs.size());
}

void BM_Block(benchmark::State& state)
{
    const bool power = state.range(0) == 1;
    const Series s = makeSeries(power, static_cast<int>(state.range(1)));
    const std::vector<double> xs = grid(power, 1);
    const BlockEvaluator block(s);
    std::size_t settled = 0;
    for (auto _ : state) {
        double sum = 0;
        settled = 0;
        for (std::size_t i = 0; i < xs.size(); i += kSlice) {
            const BlockValues v = block(std::span(xs).subspan(i, std::min(kSlice, xs.size() - i)));
            for (std::size_t k = 0; k < v.values.size(); ++k) {
                sum += v.values[k];
                settled += v.signCertain(k);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    report(state, xs.size());
    // The share of points whose sign the block path decides alone.
    state.counters["signs_settled"] = static_cast<double>(settled) / static_cast<double>(xs.size());
    state.SetLabel(BlockTargetName());
}

void cases(benchmark::internal::Benchmark* b)
{
    b->Args({1, 50})->Args({1, 1000})->Args({0, 50})->Args({0, 5000})->Unit(benchmark::kMillisecond);
}

// Roots and Extrema over 2^20 subintervals, grid points per second of wall
// time (the grid is shared out over the cores), with the grid values from
// the block evaluators (third argument 1) or one point at a time (0).
void scan(benchmark::State& state, bool extrema)
{
    const bool power = state.range(0) == 1;
    Dimension d;
    d.initialise();
    d.series = makeSeries(power, static_cast<int>(state.range(1)));
    d.study.XLower = power ? -1 : -8;
    d.study.XUpper = power ? 1 : 8;
    d.study.Subintervals = kPoints;
    d.study.ErrorBound = 1e-9;
    d.study.MaxCycles = 20;
    scan::GridLookahead::use = state.range(2) == 1 ? scan::GridLookahead::Use::WhereItPays : scan::GridLookahead::Use::Never;
    std::size_t found = 0;
    for (auto _ : state)
        found = (extrema ? FindExtrema : FindRoots)(d.series, d.study, nullptr).entries.size();
    scan::GridLookahead::use = scan::GridLookahead::Use::WhereItPays;
    state.counters["points/s"] = benchmark::Counter(static_cast<double>(kPoints) * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
    state.counters["found"] = static_cast<double>(found);
}
void BM_RootsScan(benchmark::State& state) { scan(state, false); }
void BM_ExtremaScan(benchmark::State& state) { scan(state, true); }

void scanCases(benchmark::internal::Benchmark* b)
{
    for (int ahead : {0, 1})
        b->Args({1, 50, ahead})->Args({1, 1000, ahead})->Args({0, 50, ahead});
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_OnePoint)->Apply(cases);
BENCHMARK(BM_Block)->Apply(cases);
BENCHMARK(BM_RootsScan)->Apply(scanCases);
BENCHMARK(BM_ExtremaScan)->Apply(scanCases);

} // namespace

BENCHMARK_MAIN();
