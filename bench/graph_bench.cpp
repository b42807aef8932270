// A full redraw of the graph into the real 400 x 300 image: frame, shading,
// grid, markers, axes, labels and the curve, for long series.
#include "core/graph/graph_drawing.h"
#include "core/graph/image_canvas.h"
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
    dim.WindowLX = -20;
    dim.WindowGX = 20;
    dim.WindowLY = -15;
    dim.WindowGY = 15;
    dim.XOrigin = 0;
    dim.YOrigin = 0;
    dim.DivX = 1;
    dim.DivY = 1;
    dim.PlotStep = 1;
    dim.GridOn = true;
    dim.XLower = -8;
    dim.XUpper = 8;
    dim.DerivOrder = 0;
}

// sin x as a power series of the given degree; the terms past about 170 are
// zero in double precision but are still summed.
void sinePowerSeries(Dimension& dim, int degree)
{
    dim.SeriesType = 1;
    dim.Centre = 0;
    dim.TermCount = degree;
    dim.Coeffs.assign(static_cast<size_t>(degree) + 1, 0.0);
    for (int k = 1; k <= degree; k += 2) {
        const double magnitude = std::exp(-std::lgamma(k + 1.0));
        dim.Coeffs[static_cast<size_t>(k)] = ((k - 1) / 2) % 2 == 0 ? magnitude : -magnitude;
    }
}

// A square wave of amplitude 5 and period 10 from the given number of harmonics.
void squareWaveSeries(Dimension& dim, int harmonics)
{
    dim.SeriesType = 0;
    dim.Centre = 0;
    dim.Period = 10;
    dim.TermCount = 2 * harmonics;
    dim.Coeffs.assign(static_cast<size_t>(dim.TermCount) + 1, 0.0);
    for (int j = 1; j <= harmonics; j += 2)
        dim.Coeffs[static_cast<size_t>(2 * j - 1)] = 20.0 / (dim.PiValue * j);
}

void redraw(benchmark::State& state, Dimension& dim)
{
    QImage image(400, 300, QImage::Format_RGB32);
    vendrak::GraphWork work;
    vendrak::GraphOptions options;
    for (auto _ : state) {
        image.fill(Qt::white);
        vendrak::ImageCanvas canvas(image);
        vendrak::GraphDrawing drawing(dim, work, canvas);
        dim.XLower = -8; // the shading may clamp it
        benchmark::DoNotOptimize(drawing.draw(options));
        canvas.flush();
        benchmark::ClobberMemory();
    }
}

void BM_RedrawPowerSeriesDegree10000(benchmark::State& state)
{
    Dimension dim;
    initialPlot(dim);
    sinePowerSeries(dim, 10000);
    redraw(state, dim);
}
BENCHMARK(BM_RedrawPowerSeriesDegree10000)->Unit(benchmark::kMillisecond);

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
    dim.SeriesType = 1;
    dim.TermCount = 1;
    dim.Coeffs = {0, 0.5};
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
