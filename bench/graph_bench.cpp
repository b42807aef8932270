// A full redraw of the graph into the real 400 x 300 image: frame, shading,
// grid, markers, axes, labels and the curve, for long series.
#include "core/graph/graph_drawing.h"
#include "core/graph/image_canvas.h"
#include "core/series/block_eval.h"
#include "core/study/dimension.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

namespace {

using vendrak::Dimension;

void initialPlot(Dimension& dim)
{
    dim.initialise();
    dim.plot.WindowLX = -20;
    dim.plot.WindowGX = 20;
    dim.plot.WindowLY = -15;
    dim.plot.WindowGY = 15;
    dim.plot.XOrigin = 0;
    dim.plot.YOrigin = 0;
    dim.plot.DivX = 1;
    dim.plot.DivY = 1;
    dim.plot.PlotStep = 1;
    dim.plot.GridOn = true;
    dim.study.XLower = -8;
    dim.study.XUpper = 8;
    dim.study.DerivOrder = 0;
}

// sin x as a power series of the given degree; the terms past about 170 are
// zero in double precision but are still summed.
void sinePowerSeries(Dimension& dim, int degree)
{
    dim.series.Kind = vendrak::SeriesKind::Power;
    dim.series.Centre = 0;
    dim.series.TermCount = degree;
    dim.series.Coeffs.assign(static_cast<size_t>(degree) + 1, 0.0);
    for (int k = 1; k <= degree; k += 2) {
        const double magnitude = std::exp(-std::lgamma(k + 1.0));
        dim.series.Coeffs[static_cast<size_t>(k)] = ((k - 1) / 2) % 2 == 0 ? magnitude : -magnitude;
    }
}

// A square wave of amplitude 5 and period 10 from the given number of harmonics.
void squareWaveSeries(Dimension& dim, int harmonics)
{
    dim.series.Kind = vendrak::SeriesKind::Trigonometric;
    dim.series.Centre = 0;
    dim.series.Period = 10;
    dim.series.TermCount = 2 * harmonics;
    dim.series.Coeffs.assign(static_cast<size_t>(dim.series.TermCount) + 1, 0.0);
    for (int j = 1; j <= harmonics; j += 2)
        dim.series.Coeffs[static_cast<size_t>(2 * j - 1)] = 20.0 / (vendrak::PiValue() * j);
}

void redraw(benchmark::State& state, const Dimension& dim)
{
    QImage image(400, 300, QImage::Format_RGB32);
    vendrak::GraphOptions options;
    for (auto _ : state) {
        image.fill(Qt::white);
        vendrak::ImageCanvas canvas(image);
        vendrak::GraphDrawing drawing(dim.series, dim.study, dim.plot, canvas);
        benchmark::DoNotOptimize(drawing.draw(options));
        canvas.flush();
        benchmark::ClobberMemory();
    }
}

// Argument 1: the values from the block evaluators; 0: point by point.
void BM_RedrawPowerSeriesDegree10000(benchmark::State& state)
{
    Dimension dim;
    initialPlot(dim);
    sinePowerSeries(dim, 10000);
    vendrak::KnownValues::enabled = state.range(0) != 0;
    redraw(state, dim);
    vendrak::KnownValues::enabled = true;
}
BENCHMARK(BM_RedrawPowerSeriesDegree10000)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_RedrawTrigSeries5000Harmonics(benchmark::State& state)
{
    Dimension dim;
    initialPlot(dim);
    squareWaveSeries(dim, 5000);
    redraw(state, dim);
}
BENCHMARK(BM_RedrawTrigSeries5000Harmonics)->Unit(benchmark::kMillisecond);

// The drawing without the cost of a long series: what the picture itself costs.
void BM_RedrawStraightLine(benchmark::State& state)
{
    Dimension dim;
    initialPlot(dim);
    dim.series.Kind = vendrak::SeriesKind::Power;
    dim.series.TermCount = 1;
    dim.series.Coeffs = {0, 0.5};
    redraw(state, dim);
}
BENCHMARK(BM_RedrawStraightLine)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Text needs a GUI application; no screen is needed.
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
