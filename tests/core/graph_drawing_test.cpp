// The drawing of a graph: on a canvas that records what it is given, and as painted into the real image; the
// navigation steps.
#include "core/figure/figure.h"
#include "core/graph/graph_drawing.h"
#include "core/graph/image_canvas.h"
#include "core/graph/navigation.h"
#include "core/series/block_eval.h"
#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "support/recording_canvas.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <random>
#include <tuple>

namespace vendrak {
namespace {

using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;
const QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0), kGreen = qRgb(0, 255, 0), kRed = qRgb(255, 0, 0);

// A freshly started window's plot: -20..20 x -15..15, divisions 1, grid and shading on, study -8..8, f(x) = x.
class GraphDrawingTest : public ::testing::Test {
protected:
    GraphDrawingTest()
    {
        dim.initialise();
        std::tie(dim.plot.WindowLX, dim.plot.WindowGX, dim.plot.WindowLY, dim.plot.WindowGY) = std::tuple(-20.f, 20.f, -15.f, 15.f);
        std::tie(dim.plot.DivX, dim.plot.DivY, dim.plot.PlotStep, dim.plot.GridOn) = std::tuple(1.f, 1.f, 1, true);
        std::tie(dim.study.XLower, dim.study.XUpper, dim.series.Kind) = std::tuple(-8., 8., SeriesKind::Power);
        setSeries({0, 1});
    }
    void setSeries(std::vector<double> c) { std::tie(dim.series.TermCount, dim.series.Coeffs) = std::pair(int(c.size()) - 1, c); }
    // A drawing with its mapping set up; the canvas forgets what that drew.
    GraphDrawing mapped() { GraphDrawing d(dim.series, dim.study, dim.plot, canvas); d.SetUpMapping(); canvas.ops.clear(); return d; }
    bool drawAll()
    {
        canvas.ops.clear();
        GraphDrawing d(dim.series, dim.study, dim.plot, canvas);
        const bool drawn = d.draw(GraphOptions());
        std::tie(work, ierr) = std::pair(d.work(), d.ierr());
        return drawn;
    }
    std::vector<Op> lines(Colour c) const { return canvas.of(Kind::Line, c); }
    long ticks(double lo = -1e30, double hi = 1e30) const
    { return std::ranges::count_if(lines(colours::Green), [&](auto& o) { return o.x1 == o.x2 && o.x1 >= lo && o.x1 <= hi; }); }
    static void expectLine(const Op& o, double x1, double y1, double x2, double y2)
    {
        EXPECT_LT(std::max({std::fabs(o.x1 - x1), std::fabs(o.y1 - y1), std::fabs(o.x2 - x2), std::fabs(o.y2 - y2)}), 1e-5)
            << o.x1 << ", " << o.y1 << " -> " << o.x2 << ", " << o.y2;
    }
    void paint(bool shade) { image.fill(Qt::white); ImageCanvas c(image); GraphDrawing(dim.series, dim.study, dim.plot, c).draw(GraphOptions{shade, false, false}); }
    // The pixel of user point (x, y) in the initial window: 10 pixels a unit.
    QRgb at(double x, double y) const { return image.pixel(int(std::lround((x + 20) * 10)), int(std::lround((15 - y) * 10))); }
    Dimension dim;
    GraphWork work; // what the last drawAll() worked out, and the error number it met
    int ierr = 0;
    RecordingCanvas canvas;
    QImage image{400, 300, QImage::Format_RGB32};
};

TEST_F(GraphDrawingTest, CurveSamplesFromTheLeftEdgeToTheFirstBeyondTheRightSkippingStretchesOutside)
{
    setSeries({0, 0.5}); // stays inside the window
    for (const auto& [step, sample, count] : {std::tuple{80, 8.0, 6u}, {1, 0.1, 401u}}) { // 1 is a pixel
        dim.plot.PlotStep = step;
        mapped().PlotCurve();
        const std::vector<Op> l = lines(colours::Black);
        ASSERT_EQ(std::tuple(canvas.ops.front().kind, canvas.ops.size(), l.size()), std::tuple(Kind::Point, count + 1, count));
        for (size_t i = 0; i < l.size(); ++i) {
            EXPECT_NEAR(l[i].x2, -20.0 + sample * double(i + 1), 1e-4) << i;
            EXPECT_DOUBLE_EQ(l[i].y2, l[i].x2 / 2);
            EXPECT_EQ(l[i].x1, i > 0 ? l[i - 1].x2 : -20.0) << i; // joined from the pen
        }
        EXPECT_GT(l.back().x2, 20.0);
    }
    setSeries({-5, 0, 1}); // x^2 - 5 leaves the top at |x| ~ 4.47
    mapped().PlotCurve();
    const std::vector<Op> l = canvas.of(Kind::Line);
    EXPECT_FALSE(std::ranges::any_of(l, [](auto& o) { return (o.y1 > 15 && o.y2 > 15) || (o.y1 < -15 && o.y2 < -15); }));
    EXPECT_EQ(std::ranges::count_if(l, [](auto& o) { return (o.y1 > 15) != (o.y2 > 15); }), 2); // in and back out
    EXPECT_EQ(canvas.of(Kind::Point).size(), 1u); // the pen moved on above it
}

TEST_F(GraphDrawingTest, FailedSamplesLeaveGapsAndAnUnrecoverableErrorEndsTheCurve)
{
    GraphDrawing d = mapped();
    d.setEvaluator([](double x) { return std::fabs(x) < 1.05 ? raise(ErrorNumber::DivisionByZero), 0 : x / 2; });
    d.PlotCurve();
    ASSERT_EQ(canvas.of(Kind::Point).size(), 2u); // one run each side of the gap, never joined
    EXPECT_NEAR(canvas.of(Kind::Point)[1].x1, 1.1, 1e-4);
    EXPECT_TRUE(std::ranges::all_of(canvas.of(Kind::Line), [](auto& o) { return o.x1 > 1.05 ? o.x2 > 1.05 : o.x2 < -1.05; }));
    EXPECT_GT(canvas.of(Kind::Line).back().x2, 20.0);
    canvas.ops.clear();
    d.ShadeArea(true); // stops at the first failure
    EXPECT_LT(lines(colours::Shade).back().x2, -1.05);
    EXPECT_EQ(d.ierr(), errorCode(ErrorNumber::DivisionByZero));
    // Raised directly, or recoverably while the math object holds a script error: its number decides, then is cleared.
    const int mismatch = errorCode(ErrorNumber::TypeMismatch);
    for (const auto& [raised, scriptError] : {std::pair{ErrorNumber::Subscript, 0}, {ErrorNumber::InvalidCall, mismatch}}) {
        GraphDrawing e = mapped();
        e.setEvaluator([&, r = raised, s = scriptError](double x) { return x > 0.05 ? dim.errors.ScriptMath.ierr = s, raise(r), 0 : x; });
        e.setScriptErrors([&] { return std::exchange(dim.errors.ScriptMath.ierr, 0); });
        e.PlotCurve();
        EXPECT_LT(canvas.of(Kind::Line).back().x2, 0.06);
        EXPECT_EQ(std::pair(e.ierr(), dim.errors.ScriptMath.ierr), std::pair(scriptError ? scriptError : errorCode(raised), 0));
    }
}

TEST_F(GraphDrawingTest, ShadingFillsTheStudyIntervalAndMarkersRunFromTheAxisToTheCurve)
{
    mapped().ShadeArea(true);
    const std::vector<Op> shade = lines(colours::Shade);
    ASSERT_GT(shade.size(), 150u);
    // Strokes up from the axis 0.999 of a sample apart, the pen back on the axis between them, a last one to f(XUpper).
    for (size_t i = 0; i + 1 < shade.size(); ++i)
        expectLine(shade[i], -8.0 + 0.1f * 0.999 * double(i), 0, shade[i].x1, shade[i].x1);
    EXPECT_EQ(canvas.of(Kind::Point, colours::Blue).size(), shade.size() - 2);
    expectLine(shade.back(), shade.back().x1, shade.back().y1, 8, 8);
    // +-64 at the ends clamped to the window; no shading when unchecked, nor ever for a derivative (f'' = -2).
    for (const auto& [sign, order] : {std::pair{1.0, 0}, {-1.0, 0}, {-1.0, 2}}) {
        setSeries({0, 0, sign});
        dim.study.DerivOrder = order;
        GraphDrawing d = mapped();
        d.ShadeArea(order > 0);
        EXPECT_TRUE(canvas.ops.empty());
        d.DrawIntervalMarkers();
        ASSERT_EQ(lines(colours::Blue).size(), 2u);
        expectLine(lines(colours::Blue)[0], -8, 0, -8, order ? -2 : 15 * sign);
        expectLine(lines(colours::Blue)[1], 8, 0, 8, order ? -2 : 15 * sign);
    }
}

TEST_F(GraphDrawingTest, LabelsSitBesideTheirMarksInTheirFontsAndFollowTheDivisionText)
{
    GraphDrawing d = mapped();
    d.LabelDivisions(QStringLiteral("1"), QStringLiteral("1"));
    d.LabelWindow();
    const std::vector<Op> t = canvas.of(Kind::Text, colours::Black), l = canvas.of(Kind::Text, colours::WindowLabel);
    ASSERT_EQ(std::pair(t.size(), l.size()), std::pair(70ul, 4ul)); // every division on both sides of both axes, up y first
    // Right of the y-axis centred on the division, or ending 7.5 pixels left of it; turned along the x-axis. Window:
    // bottom centred, its cell ending a pixel above the edge; top from 4 pixels beyond it; left and right turned.
    const struct { const Op& op; const char* text; double x, y; LabelFont font; } cases[] = {
        {t[2], "3", 0.75, 3.35, {7, 5, false}},      {t[24], "-10", -2.25, -9.65, {7, 5, false}},
        {t[50], "-1", -0.45, 1.75, {7, 5, true}},    {l[0], "-15 ", -3.2, -12.9, {20, 16, false}},
        {l[1], " 15 ", -2.4, 15.4, {20, 16, false}}, {l[2], "-20 ", -17.8, 3.2, {20, 16, true}},
        {l[3], " 20 ", 20.4, 2.4, {20, 16, true}}};
    for (const auto& c : cases) {
        EXPECT_EQ(std::tuple(c.op.text, c.op.font), std::tuple(QString(c.text), std::optional(c.font)));
        EXPECT_LT(std::hypot(c.op.x1 - c.x, c.op.y1 - c.y), 1e-5) << c.text;
    }
    EXPECT_EQ(canvas.font(), std::nullopt); // the canvas's own font is back
    for (const auto& [v, text, want] : {std::tuple{-0.001, ".25", ".00"}, {2.5, "1", "3"}, {2.0, "1.", "2."}, // no sign on 0
                                        {1e20, "1e-2", "100000000000000000000"}}) // halves away from zero
        EXPECT_EQ(FormatLabel(v, LabelPattern(QLatin1String(text))), QLatin1String(want)) << v;

    const struct { float divX, divY, yOrigin; const char* text; int every, ticks; std::vector<QString> first; } sizes[] = {
        {0.5f, 0.5f, 0, "0.5", 2, 82, {"1.0", "2.0", "3.0"}}, {0.05f, 0.05f, 0, ".05", 8, 400, {".80", "1.60"}}, // a tick every pixel
        {1, 2.5f, 0, " 2.50 ", 1, 42, {"2.50", "5.00", "7.50"}}, {1, 1, -1, "1", 1, 42, {"", "1"}}}; // "######" at 0
    for (const auto& c : sizes) {
        std::tie(dim.plot.DivX, dim.plot.DivY, dim.plot.YOrigin) = std::tuple(c.divX, c.divY, c.yOrigin);
        GraphDrawing e = mapped();
        e.LabelDivisions(c.divX == 1 ? QStringLiteral("1") : QLatin1String(c.text), QLatin1String(c.text));
        EXPECT_EQ(e.work().LabelEveryX, c.every) << c.text;
        for (size_t i = 0; i < c.first.size(); ++i)
            EXPECT_EQ(canvas.of(Kind::Text, colours::Black).at(i).text, c.first[i]);
        canvas.ops.clear();
        e.DrawTicks();
        EXPECT_TRUE(ticks() >= c.ticks && ticks() <= c.ticks + (c.divX < 0.1f ? 4 : 0)) << c.text << ": " << ticks();
    }
}

TEST_F(GraphDrawingTest, SettingsThatCannotBeDrawnAreRefusedAndOddOnesFinishPromptly)
{
    const std::tuple<float, float, float, int, QString> cases[] = {
        {5, 5, -15, 1, kEmptyWindowMessage}, {-20, 20, 16, 1, kEmptyWindowMessage}, {-20, 20, -15, 0, kPlotStepMessage},
        {-20, 20, -15, -3, kPlotStepMessage}, {-3e38f, 3e38f, -15, 1, kHugeWindowMessage},
        {0, 1e-44f, -15, 1, kTinyWindowMessage}, {1, std::nextafter(1.0f, 2.0f), -15, 1, QString()}}; // one ulp draws
    for (const auto& [lx, gx, ly, step, problem] : cases) {
        std::tie(dim.plot.WindowLX, dim.plot.WindowGX, dim.plot.WindowLY, dim.plot.PlotStep) = std::tuple(lx, gx, ly, step);
        EXPECT_EQ(plotSettingsProblem(dim.plot, 400, 300), problem) << gx;
        EXPECT_EQ(drawAll(), problem.isEmpty()) << gx;
        EXPECT_EQ(canvas.ops.empty(), !problem.isEmpty()) << gx;
    }
    const auto start = std::chrono::steady_clock::now();
    std::tie(dim.plot.WindowLX, dim.plot.WindowGX, dim.plot.WindowLY, dim.plot.PlotStep) = std::tuple(-20.f, 20.f, -15.f, 1);
    std::tie(dim.plot.DivX, dim.plot.DivY) = std::pair(0.f, -0.5f); // zero and negative divisions do not hang
    ASSERT_TRUE(drawAll());
    EXPECT_EQ(std::pair(work.DivStepY, work.LabelEveryX), std::pair(0.5f, 0)); // counted by its size; no x labels
    EXPECT_TRUE(std::ranges::none_of(canvas.of(Kind::Text, colours::Black), [](auto& o) { return o.font && o.font->turned; }));
    dim.plot.DivX = dim.plot.DivY = 1;
    for (const float origin : {-1e9f, 30.0f}) { // the marks still land in the window
        dim.plot.XOrigin = origin;
        EXPECT_TRUE(drawAll() && ticks(-20, 20) == 41) << origin;
    }
    // Where a tenth no longer moves a single, and the largest window there is.
    std::tie(dim.plot.WindowLX, dim.plot.WindowGX, dim.plot.WindowLY, dim.plot.WindowGY) = std::tuple(1e8f, 1e8f + 40, 1e8f, 1e8f + 64);
    std::tie(dim.study.XLower, dim.study.XUpper) = std::pair(1e8, 1e8 + 100);
    EXPECT_TRUE(drawAll() && lines(colours::Black).size() > 390u);
    std::tie(dim.plot.WindowLX, dim.plot.WindowGX, dim.plot.WindowLY, dim.plot.WindowGY) = std::tuple(-1.7e38f, 1.7e38f, -1.7e38f, 1.7e38f);
    EXPECT_TRUE(drawAll() && !lines(colours::Black).empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(GraphDrawingTest, PaintedPartsHaveTheirColoursAndSteepCurvesAreClippedNotWrapped)
{
    const QRgb yellow = qRgb(255, 255, 0), shade = qRgb(255, 160, 160), blue = qRgb(0, 0, 255);
    paint(true);
    // The frame one pixel inside the window; axes over the grid, grid over the shading (up to f(x) = x over -8..8),
    // the curve on top, the upper marker up to the curve only, the origin disc in a magenta ring.
    const std::tuple<double, double, QRgb> expected[] = {{19.9, 4.5, yellow}, {-9.5, -14.9, yellow},
        {5.5, 0, kRed},      {0, -7.5, kRed},    {5.5, 5, kGreen},   {-12.5, 3, kGreen},     {5.5, 2.5, shade},
        {-5.5, -2.5, shade}, {9.5, 2.5, kWhite}, {5.5, 7.5, kWhite}, {-12.5, -12.5, kBlack}, {3.4, 3.4, kBlack},
        {8, 4.5, blue},      {0.1, 0.2, kRed},   {0.4, 0, qRgb(255, 0, 255)}, {8, 8.5, kGreen}}; // grid above the marker
    for (const auto& [x, y, colour] : expected)
        EXPECT_EQ(at(x, y), colour) << x << ", " << y;
    dim.plot.GridOn = false; // short ticks only
    paint(false);
    for (const auto& [x, y, colour] : {std::tuple{5.0, 0.5, kGreen}, {5.0, 2.0, kWhite}, {-0.5, 5.0, kGreen}, {-3.0, 5.0, kWhite}})
        EXPECT_EQ(at(x, y), colour) << x << ", " << y;
    std::vector<double> c(22, 0.0); // values far beyond the window and single precision
    c[21] = 1e20;
    setSeries(c);
    paint(false);
    EXPECT_EQ(std::tuple(at(10.5, 14.5), at(-10.5, -14.5), image.pixel(201, 1), image.pixel(199, 298)),
              std::tuple(kWhite, kWhite, kBlack, kBlack)); // nothing wrapped into the window; steep runs to the edges
}

// Random power series, derivatives, windows and study intervals, drawn with the values from the block evaluators
// and from the one-point evaluator alone: windows wide enough to overflow, derivatives whose weights do.
TEST_F(GraphDrawingTest, ValuesFromTheBlockEvaluatorsChangeNoDrawing)
{
    std::mt19937_64 rng(26);
    std::uniform_real_distribution<double> unit(-1, 1);
    const auto dump = [](const std::vector<Op>& ops) {
        std::vector<std::tuple<Kind, std::uint64_t, std::uint64_t, std::uint64_t, std::uint64_t, Colour, QString>> out;
        for (const Op& o : ops)
            out.emplace_back(o.kind, std::bit_cast<std::uint64_t>(o.x1), std::bit_cast<std::uint64_t>(o.y1),
                             std::bit_cast<std::uint64_t>(o.x2), std::bit_cast<std::uint64_t>(o.y2), o.colour, o.text);
        return out;
    };
    int failed = 0;
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<double> c(1 + rng() % 60);
        for (double& v : c) // a quarter of them overflow wherever |x - centre| > 1 or so
            v = unit(rng) * std::pow(10.0, 3 * unit(rng) + (trial % 4 == 1 ? 303 : 0));
        setSeries(c);
        dim.series.Centre = 4 * unit(rng);
        const double lx = unit(rng) * std::pow(10.0, 3 * unit(rng)), w = std::pow(10.0, 5 * unit(rng) + 3);
        std::tie(dim.plot.WindowLX, dim.plot.WindowGX, dim.plot.PlotStep) = std::tuple(float(lx), float(lx + w), 1 + int(rng() % 3));
        std::tie(dim.study.XLower, dim.study.XUpper) = std::pair(lx + w * unit(rng), lx + w * 1.2 * (1 + unit(rng)) / 2);
        dim.study.DerivOrder = trial % 3 == 0 ? 0 : int(rng() % 10);
        FigureInput in{dim.series, lx, lx + w, -1e3, 1e3, {0}, trial % 2 == 0, true, true, dim.study.XLower, dim.study.XUpper, {}, {}};
        if (dim.study.DerivOrder > 0)
            in.orders.push_back(dim.study.DerivOrder);
        std::vector<decltype(dump({}))> drawn;
        std::vector<int> errors;
        std::vector<QImage> figures;
        std::vector<std::tuple<double, double, bool>> fits;
        for (const bool on : {false, true}) {
            KnownValues::enabled = on;
            drawAll();
            drawn.push_back(dump(canvas.ops));
            errors.push_back(ierr);
            const std::optional<YRange> fit = FitYLimits(dim.series, dim.study.DerivOrder, dim.plot.WindowLX, dim.plot.WindowGX, dim.plot.PlotStep, 400);
            fits.emplace_back(fit ? fit->low : 0, fit ? fit->high : 0, fit.has_value());
            figures.emplace_back(QSize(240, 160), QImage::Format_RGB32);
            QPainter p(&figures.back());
            PaintFigure(p, in, QSizeF(240, 160), FigureStyle::Print(11));
        }
        KnownValues::enabled = true;
        ASSERT_EQ(std::tuple(drawn[0], errors[0], fits[0]), std::tuple(drawn[1], errors[1], fits[1])) << trial;
        ASSERT_EQ(figures[0], figures[1]) << trial;
        try {
            EvalSelected(dim.series, dim.study.DerivOrder, lx + w);
        } catch (const Error&) {
            ++failed; // the curve has gaps or ends early
        }
    }
    EXPECT_GT(failed, 30);
    EXPECT_EQ(KnownValues(dim.series, 0, {dim.study.XLower})[0], EvalSeries(dim.series, dim.study.XLower)); // on the block path
}

// Each step from the window [-8, 8] x [-4, 4]; the size steps pass thirds through the field text (2.666667, not 8/3).
TEST(Navigation, EachStepFromTheWindowAndTheClickCentre)
{
    const ViewLimits from{-8, 8, -4, 4};
    const std::pair<ViewAction, ViewLimits> steps[] = {
        {ViewAction::ZoomOut, {-16, 16, -8, 8}},  {ViewAction::ZoomIn, {-4, 4, -2, 2}},
        {ViewAction::Quadrant1, {0, 8, 0, 4}},    {ViewAction::Quadrant2, {-8, 0, 0, 4}},
        {ViewAction::Quadrant3, {-8, 0, -4, 0}},  {ViewAction::Quadrant4, {0, 8, -4, 0}},
        {ViewAction::PanRight, {-4, 12, -4, 4}},  {ViewAction::PanLeft, {-12, 4, -4, 4}},
        {ViewAction::PanUp, {-8, 8, -2, 6}},      {ViewAction::PanDown, {-8, 8, -6, 2}},
        {ViewAction::WiderX, {-12, 12, -4, 4}},   {ViewAction::NarrowerX, {-5.333333f, 5.333333f, -4, 4}},
        {ViewAction::WiderY, {-8, 8, -6, 6}},     {ViewAction::NarrowerY, {-8, 8, -2.666667f, 2.666667f}},
    };
    const auto tuple = [](const ViewLimits& v) { return std::tuple(v.lx, v.gx, v.ly, v.gy); };
    for (const auto& [action, expected] : steps)
        EXPECT_EQ(tuple(ChangeViewLimits(from, action)), tuple(expected)) << int(action);
    EXPECT_EQ(tuple(ReadView("-8", "8x", "-4", "4")), tuple(from));
    EXPECT_EQ(tuple(ShownView({16.f / 3, 3e38f, -4, 4})), tuple(ViewLimits{5.333333f, 3e38f, -4, 4})); // as the fields read
    EXPECT_THROW(ReadView("0", "1e39", "0", "1"), Error); // beyond single precision
    EXPECT_THROW(ChangeViewLimits({-3e38f, 3e38f, 0, 1}, ViewAction::ZoomOut), Error);
    PlotSetup plot;
    std::tie(plot.WindowLX, plot.WindowGX, plot.WindowLY, plot.WindowGY) = tuple(from);
    EXPECT_EQ(tuple(CentreOnClickLimits(plot, 1, -1)), tuple(ViewLimits{-7, 9, -5, 3}));
}

} // namespace
} // namespace vendrak
