// Roots and Extrema scans on large series over a fine grid, measured in
// series evaluations per second and compared with a bare loop of the
// evaluator over the same grid.
#include "core/analysis/extrema.h"
#include "core/analysis/grid_lookahead.h"
#include "core/analysis/roots.h"
#include "core/series/evaluators.h"
#include "core/study/dimension.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cmath>
#include <map>
#include <vector>

namespace {

using namespace vendrak;

constexpr int kSubintervals = 1 << 20;

Dimension withSpecs(Dimension d)
{
    d.study.XLower = -8;
    d.study.XUpper = 8;
    d.study.Subintervals = kSubintervals;
    d.study.ErrorBound = 1e-9;
    d.study.MaxCycles = 20;
    return d;
}

// Degree 50: the Taylor series of sin x, so the scans meet a handful of roots
// and extrema as a real study would.
Dimension powerSeries50()
{
    Dimension d;
    d.initialise();
    d.series.Kind = SeriesKind::Power;
    d.series.TermCount = 50;
    d.series.Coeffs.assign(51, 0.0);
    double term = 1;
    for (int k = 1; k <= 50; ++k) {
        term /= k;
        if (k % 2 == 1)
            d.series.Coeffs[static_cast<size_t>(k)] = (k % 4 == 1) ? term : -term;
    }
    return withSpecs(d);
}

// 50 harmonics (101 coefficients) with slowly decaying amplitudes.
Dimension trigSeries50()
{
    Dimension d;
    d.initialise();
    d.series.Kind = SeriesKind::Trigonometric;
    d.series.TermCount = 100;
    d.series.Coeffs.assign(101, 0.0);
    d.series.Coeffs[0] = 0.1;
    for (int j = 1; j <= 50; ++j) {
        d.series.Coeffs[static_cast<size_t>(2 * j - 1)] = 1.0 / j;
        d.series.Coeffs[static_cast<size_t>(2 * j)] = 0.5 / (j * j);
    }
    d.series.Centre = 0.25;
    d.series.Period = 2 * std::acos(-1.0);
    return withSpecs(d);
}

Dimension seriesFor(int kind) { return kind == 0 ? powerSeries50() : trigSeries50(); }

void reportRate(benchmark::State& state, long long evaluations)
{
    state.counters["evals/s"] = benchmark::Counter(static_cast<double>(evaluations), benchmark::Counter::kIsRate);
    state.counters["evals/iter"] = static_cast<double>(evaluations) / static_cast<double>(state.iterations());
}

// One pass of the bare evaluator over the grid points; returns the count.
long long rawPass(const Dimension& d)
{
    const double h = (d.study.XUpper - d.study.XLower) / d.study.Subintervals;
    double x = d.study.XLower;
    double sum = 0;
    for (int i = 0; i <= d.study.Subintervals; ++i, x += h)
        sum += EvalSeries(d.series, x);
    benchmark::DoNotOptimize(sum);
    return d.study.Subintervals + 1;
}

// CPU time of this thread, as the benchmark's own rates use: other programs
// on a shared machine do not distort the ratio.
struct Clock {
    using duration = double;
    static double now()
    {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return static_cast<double>(ts.tv_sec) + 1e-9 * static_cast<double>(ts.tv_nsec);
    }
};

double seconds(double t) { return t; }

// Evaluations per second of the bare loop, measured once per series kind
// (best of three passes) for the scans' ratio.
double rawRate(int kind)
{
    static std::map<int, double> rates;
    if (auto it = rates.find(kind); it != rates.end())
        return it->second;
    const Dimension d = seriesFor(kind);
    double best = 0;
    for (int pass = 0; pass < 3; ++pass) {
        const auto start = Clock::now();
        const long long n = rawPass(d);
        best = std::max(best, static_cast<double>(n) / seconds(Clock::now() - start));
    }
    return rates[kind] = best;
}

// The scan's rate over the bare loop's: 1 means no overhead per evaluation.
void reportRatio(benchmark::State& state, long long evaluations, Clock::duration elapsed)
{
    const double rate = static_cast<double>(evaluations) / seconds(elapsed);
    state.counters["vs_raw"] = rate / rawRate(static_cast<int>(state.range(0)));
}

void BM_RawEvaluator(benchmark::State& state)
{
    const Dimension d = seriesFor(static_cast<int>(state.range(0)));
    long long evaluations = 0;
    for (auto _ : state)
        evaluations += rawPass(d);
    reportRate(state, evaluations);
}

void BM_Roots(benchmark::State& state)
{
    Dimension d = seriesFor(static_cast<int>(state.range(0)));
    long long evaluations = 0;
    int found = 0;
    rawRate(static_cast<int>(state.range(0)));
    const auto start = Clock::now();
    for (auto _ : state) {
        const ScanOutcome scan = FindRoots(d.series, d.study);
        evaluations += scan.evaluations;
        found = static_cast<int>(scan.roots.size());
        benchmark::DoNotOptimize(scan.entries.size());
    }
    const auto elapsed = Clock::now() - start;
    reportRate(state, evaluations);
    reportRatio(state, evaluations, elapsed);
    state.counters["roots"] = found;
}

void BM_Extrema(benchmark::State& state)
{
    Dimension d = seriesFor(static_cast<int>(state.range(0)));
    long long evaluations = 0;
    int found = 0;
    rawRate(static_cast<int>(state.range(0)));
    const auto start = Clock::now();
    for (auto _ : state) {
        const ScanOutcome scan = FindExtrema(d.series, d.study);
        evaluations += scan.evaluations;
        found = static_cast<int>(scan.maxima.size() + scan.minima.size());
        benchmark::DoNotOptimize(scan.entries.size());
    }
    const auto elapsed = Clock::now() - start;
    reportRate(state, evaluations);
    reportRatio(state, evaluations, elapsed);
    state.counters["extrema"] = found;
}

// A Roots scan over 2^20 points where every evaluation fails (argument 0: no
// series loaded, so the period is 0) against one where all succeed (1: a
// constant power series, never 0): a failing point should cost no more than
// a good one.
void BM_RootsFailingOrNot(benchmark::State& state)
{
    Dimension d;
    d.initialise();
    if (state.range(0) == 1) {
        d.series.Kind = SeriesKind::Power;
        d.series.TermCount = 0;
        d.series.Coeffs.assign(1, 1.0);
    }
    d = withSpecs(d);
    long long evaluations = 0;
    int ierr = 0;
    for (auto _ : state) {
        const ScanOutcome scan = FindRoots(d.series, d.study);
        evaluations += scan.evaluations;
        ierr = scan.trapped ? errorCode(*scan.trapped) : 0;
        benchmark::DoNotOptimize(scan.entries.size());
    }
    reportRate(state, evaluations);
    state.counters["ierr"] = ierr;
}

// Short series, where one evaluation costs little beside the scan's own
// work: argument 0 the kind (0 power, 1 trigonometric), 1 the highest
// coefficient index, 2 whether the grid values may come from the block
// evaluators however short the series. Where the one-point evaluator is
// faster the scans use it (the threshold in GridLookahead).
void BM_RootsShortSeries(benchmark::State& state)
{
    Dimension d;
    d.initialise();
    d.series.Kind = state.range(0) == 0 ? SeriesKind::Power : SeriesKind::Trigonometric;
    d.series.TermCount = static_cast<int>(state.range(1));
    d.series.Coeffs.assign(static_cast<size_t>(d.series.TermCount) + 1, 0.0);
    for (size_t k = 0; k < d.series.Coeffs.size(); ++k)
        d.series.Coeffs[k] = (k % 3 == 0 ? -0.5 : 1.0) / static_cast<double>(k + 1);
    d.series.Period = 3;
    d = withSpecs(d);
    scan::GridLookahead::use = state.range(2) != 0 ? scan::GridLookahead::Use::Always : scan::GridLookahead::Use::Never;
    long long evaluations = 0;
    for (auto _ : state) {
        const ScanOutcome scan = FindRoots(d.series, d.study);
        evaluations += scan.evaluations;
        benchmark::DoNotOptimize(scan.entries.size());
    }
    scan::GridLookahead::use = scan::GridLookahead::Use::WhereItPays;
    reportRate(state, evaluations);
}

// Argument 0: degree-50 power series; 1: 50-harmonic trigonometric series.
BENCHMARK(BM_RawEvaluator)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Roots)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Extrema)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RootsFailingOrNot)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RootsShortSeries)
    ->ArgsProduct({{0}, {0, 2, 4, 8, 16, 32}, {0, 1}})
    ->ArgsProduct({{1}, {0, 2, 4, 8}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
