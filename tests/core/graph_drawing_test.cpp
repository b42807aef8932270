// The drawing of a graph: on a canvas that records what it is given, and as
// painted into the real image.
#include "core/graph/graph_drawing.h"
#include "core/graph/image_canvas.h"
#include "support/recording_canvas.h"
#include "core/study/errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <tuple>

namespace vendrak {
namespace {

using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;

// A power series about 0 with the given coefficients, constant first.
void setPowerSeries(Dimension& dim, std::initializer_list<double> coeffs)
{
    dim.Coeffs.assign(coeffs.begin(), coeffs.end());
    dim.TermCount = static_cast<int>(dim.Coeffs.size()) - 1;
}

// A freshly started window's plot settings: -20..20 x -15..15, divisions 1,
// grid and shading on, study interval -8..8; f(x) = x.
struct InitialPlot {
    InitialPlot()
    {
        dim.initialise();
        dim.WindowLX = -20; dim.WindowGX = 20; dim.WindowLY = -15; dim.WindowGY = 15;
        dim.DivX = dim.DivY = 1; dim.PlotStep = 1; dim.GridOn = dim.ShadeOn = true;
        dim.XLower = -8; dim.XUpper = 8; dim.SeriesType = 1;
        setPowerSeries(dim, {0, 1});
    }
    Dimension dim;
    GraphWork work;
};

class GraphDrawingTest : public ::testing::Test, protected InitialPlot {
protected:
    // A drawing with its mapping set up; the canvas forgets what that drew.
    GraphDrawing mapped()
    {
        GraphDrawing d(dim, work, canvas);
        d.SetUpMapping();
        canvas.ops.clear();
        return d;
    }
    bool drawAll()
    {
        canvas.ops.clear();
        return GraphDrawing(dim, work, canvas).draw(GraphOptions());
    }
    std::vector<Op> lines(Colour c) const { return canvas.of(Kind::Line, c); }
    int verticalGreen(double from = -1e30, double to = 1e30) const
    {
        int n = 0;
        for (const Op& op : lines(colours::Green))
            n += op.x1 == op.x2 && op.x1 >= from && op.x1 <= to;
        return n;
    }
    static void expectLine(const Op& op, double x1, double y1, double x2, double y2)
    {
        EXPECT_NEAR(op.x1, x1, 1e-5);
        EXPECT_NEAR(op.y1, y1, 1e-5);
        EXPECT_NEAR(op.x2, x2, 1e-5);
        EXPECT_NEAR(op.y2, y2, 1e-5);
    }

    RecordingCanvas canvas;
};

TEST_F(GraphDrawingTest, CurveSamplesFromTheLeftEdgeToTheFirstSampleBeyondTheRight)
{
    setPowerSeries(dim, {0, 0.5}); // stays inside the window
    // Plot step 1 is a tenth of a unit here (a pixel), 80 is 8 units.
    for (const auto& [step, sample, count] : {std::tuple{1, 0.1, 401u}, {80, 8.0, 6u}}) {
        dim.PlotStep = step;
        mapped().PlotCurve();
        EXPECT_EQ(canvas.ops.front().kind, Kind::Point);
        const std::vector<Op> l = lines(colours::Black);
        ASSERT_EQ(canvas.ops.size(), count + 1);
        ASSERT_EQ(l.size(), count);
        for (size_t i = 0; i < l.size(); ++i) {
            EXPECT_NEAR(l[i].x2, -20.0 + sample * static_cast<double>(i + 1), 1e-4) << i;
            EXPECT_DOUBLE_EQ(l[i].y2, l[i].x2 / 2);
            EXPECT_EQ(l[i].x1, i > 0 ? l[i - 1].x2 : -20.0) << i; // joined from the pen
        }
        EXPECT_GT(l.back().x2, 20.0);
    }
}

TEST_F(GraphDrawingTest, FailedSamplesLeaveGapsAndAnUnrecoverableErrorEndsTheCurve)
{
    GraphDrawing d = mapped();
    d.setEvaluator([](const Dimension&, double x) {
        if (std::fabs(x) < 1.05)
            raise(ErrorNumber::DivisionByZero);
        return x / 2;
    });
    d.PlotCurve();
    const std::vector<Op> points = canvas.of(Kind::Point);
    ASSERT_EQ(points.size(), 2u); // one run each side of the gap, never joined
    EXPECT_NEAR(points[1].x1, 1.1, 1e-4);
    for (const Op& op : canvas.of(Kind::Line))
        EXPECT_TRUE(op.x1 > 1.05 ? op.x2 > 1.05 : op.x2 < -1.05) << op.x1 << " -> " << op.x2;
    EXPECT_GT(canvas.of(Kind::Line).back().x2, 20.0);
    canvas.ops.clear();
    d.ShadeArea(true); // stops at the first failure
    for (const Op& op : lines(colours::Shade))
        EXPECT_LT(op.x2, -1.05);
    EXPECT_EQ(dim.ierr, errorCode(ErrorNumber::DivisionByZero));

    // Raised directly, or a recoverable raise while the math object reports a
    // script error: the object's number decides and is then cleared.
    for (const auto& [raised, scriptError] : {std::pair{ErrorNumber::Subscript, 0}, {ErrorNumber::InvalidCall, errorCode(ErrorNumber::TypeMismatch)}}) {
        GraphDrawing e = mapped();
        e.setEvaluator([&, raised, scriptError](const Dimension&, double x) {
            if (x > 0.05) {
                dim.ScriptMath.ierr = scriptError;
                raise(raised);
            }
            return x;
        });
        e.PlotCurve();
        EXPECT_LT(canvas.of(Kind::Line).back().x2, 0.06);
        EXPECT_EQ(dim.ierr, scriptError != 0 ? scriptError : errorCode(raised));
        EXPECT_EQ(dim.ScriptMath.ierr, 0);
    }
}

TEST_F(GraphDrawingTest, StretchesWhollyAboveOrBelowTheWindowAreNotDrawn)
{
    setPowerSeries(dim, {-5, 0, 1}); // x^2 - 5 leaves the top at |x| ~ 4.47
    mapped().PlotCurve();
    int crossings = 0;
    for (const Op& op : canvas.of(Kind::Line)) {
        EXPECT_FALSE((op.y1 > 15 && op.y2 > 15) || (op.y1 < -15 && op.y2 < -15)) << op.x1;
        crossings += (op.y1 > 15) != (op.y2 > 15);
    }
    EXPECT_EQ(crossings, 2); // into the window and back out through the top
    EXPECT_EQ(canvas.of(Kind::Point).size(), 1u); // the pen moved on above it
    EXPECT_LT(canvas.of(Kind::Line).size(), 100u);
}

TEST_F(GraphDrawingTest, ShadingFillsTheStudyIntervalAndMarkersRunFromTheAxisToTheCurve)
{
    mapped().ShadeArea(true);
    const std::vector<Op> shade = lines(colours::Shade);
    ASSERT_GT(shade.size(), 150u);
    // Strokes up from the axis 0.999 of a sample apart, the pen back on the
    // axis between them, and a closing stroke to f(XUpper).
    for (size_t i = 0; i + 1 < shade.size(); ++i)
        expectLine(shade[i], -8.0 + 0.1f * 0.999 * static_cast<double>(i), 0, shade[i].x1, shade[i].x1);
    EXPECT_EQ(canvas.of(Kind::Point, colours::Blue).size(), shade.size() - 2);
    expectLine(shade.back(), shade.back().x1, shade.back().y1, 8, 8);

    for (const double sign : {1.0, -1.0}) { // clamped to the window
        setPowerSeries(dim, {0, 0, sign}); // +-64 at the ends of -8..8
        mapped().DrawIntervalMarkers();
        ASSERT_EQ(lines(colours::Blue).size(), 2u);
        expectLine(lines(colours::Blue)[0], -8, 0, -8, 15 * sign);
        expectLine(lines(colours::Blue)[1], 8, 0, 8, 15 * sign);
    }
    // No shading when unchecked, nor ever for a derivative; its markers stay.
    mapped().ShadeArea(false);
    EXPECT_TRUE(canvas.ops.empty());
    dim.DerivOrder = 2; // f''(x) = -2
    GraphDrawing d = mapped();
    d.ShadeArea(true);
    EXPECT_TRUE(canvas.ops.empty());
    d.DrawIntervalMarkers();
    ASSERT_EQ(lines(colours::Blue).size(), 2u);
    expectLine(lines(colours::Blue)[1], 8, 0, 8, -2);
}

TEST_F(GraphDrawingTest, InitialLabelsSitBesideTheirMarksInTheirFonts)
{
    GraphDrawing d = mapped();
    d.LabelDivisions(QStringLiteral("1"), QStringLiteral("1"));
    d.LabelWindow();
    const std::vector<Op> t = canvas.of(Kind::Text, colours::Black), l = canvas.of(Kind::Text, colours::WindowLabel);
    ASSERT_EQ(t.size(), 70u); // every division on both sides of both axes
    ASSERT_EQ(l.size(), 4u);
    for (size_t i = 0; i < 15; ++i) { // up, then down the y-axis
        EXPECT_EQ(t[i].text, QString::number(i + 1));
        EXPECT_EQ(t[15 + i].text, QString::number(-static_cast<int>(i + 1)));
    }
    // Division labels right of the y-axis centred on the division, or ending
    // 7.5 pixels left of it; turned along the x-axis, below it or above it.
    // Window labels: bottom centred, its cell ending a pixel above the edge;
    // top from 4 pixels beyond the edge; left and right turned, reading down.
    const struct { const Op& op; const char* text; double x, y; LabelFont font; } cases[] = {
        {t[2], "3", 0.75, 3.35, {7, 5, false}},        {t[24], "-10", -2.25, -9.65, {7, 5, false}},
        {t[50], "-1", -0.45, 1.75, {7, 5, true}},      {l[0], "-15 ", -3.2, -12.9, {20, 16, false}},
        {l[1], " 15 ", -2.4, 15.4, {20, 16, false}},   {l[2], "-20 ", -17.8, 3.2, {20, 16, true}},
        {l[3], " 20 ", 20.4, 2.4, {20, 16, true}}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.op.text, QLatin1String(c.text));
        EXPECT_NEAR(c.op.x1, c.x, 1e-5) << c.text;
        EXPECT_NEAR(c.op.y1, c.y, 1e-5) << c.text;
        EXPECT_EQ(c.op.font, c.font) << c.text;
    }
    EXPECT_EQ(canvas.font(), std::nullopt); // the canvas's own font is back
}

TEST_F(GraphDrawingTest, DivisionSizeAndTextDecideWhichLabelsAndHowTheyRead)
{
    const struct {
        float divX, divY, yOrigin;
        const char* text;
        int labelEvery, ticksMin, ticksMax;
        std::vector<const char*> firstLabels; // up the y-axis
    } cases[] = {
        {0.5f, 0.5f, 0, "0.5", 2, 82, 82, {"1.0", "2.0", "3.0"}},
        {0.05f, 0.05f, 0, ".05", 8, 400, 404, {".80", "1.60"}}, // a tick every pixel
        {1, 2.5f, 0, " 2.50 ", 1, 42, 42, {"2.50", "5.00", "7.50"}},
        {1, 1, -1, "1", 1, 42, 42, {"", "1"}}, // y = 0 under "######" shows nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::tie(dim.DivX, dim.DivY, dim.YOrigin) = std::tuple(c.divX, c.divY, c.yOrigin);
        GraphDrawing d = mapped();
        d.LabelDivisions(c.divX == 1 ? QStringLiteral("1") : QLatin1String(c.text), QLatin1String(c.text));
        EXPECT_EQ(work.LabelEveryX, c.labelEvery);
        const std::vector<Op> t = canvas.of(Kind::Text, colours::Black);
        ASSERT_GE(t.size(), c.firstLabels.size());
        for (size_t i = 0; i < c.firstLabels.size(); ++i)
            EXPECT_EQ(t[i].text, QLatin1String(c.firstLabels[i]));
        canvas.ops.clear();
        d.DrawTicks();
        EXPECT_GE(verticalGreen(), c.ticksMin);
        EXPECT_LE(verticalGreen(), c.ticksMax);
    }
}

TEST(LabelFormat, DecimalsFollowTheDivisionTextAndHashesDropAZeroWholePart)
{
    const std::tuple<double, const char*, QString> cases[] = {
        {-0.25, ".25", "-.25"},
        {-0.001, ".25", ".00"}, // no sign on a zero
        {2.5, "1", "3"},        // halves away from zero
        {1e20, "1e-2", "100000000000000000000"},
        {2, "1.", "2."},
        {0.5, "1.00000000000000000000", QStringLiteral(".5") + QString(19, u'0')},
    };
    for (const auto& [value, divisionText, expected] : cases)
        EXPECT_EQ(FormatLabel(value, LabelPattern(QLatin1String(divisionText))), expected) << value;
}

TEST_F(GraphDrawingTest, SettingsThatCannotBeDrawnAreRefusedAndNothingDrawn)
{
    const std::tuple<float, float, float, int, QString> cases[] = {
        {5, 5, -15, 1, kEmptyWindowMessage},
        {-20, 20, 16, 1, kEmptyWindowMessage}, // reversed
        {-20, 20, -15, 0, kPlotStepMessage},
        {-20, 20, -15, -3, kPlotStepMessage},
        {-3e38f, 3e38f, -15, 1, kHugeWindowMessage},
        {0, 1e-44f, -15, 1, kTinyWindowMessage},
        {1, std::nextafter(1.0f, 2.0f), -15, 1, QString()}, // one ulp wide still draws
    };
    for (const auto& [lx, gx, ly, step, problem] : cases) {
        SCOPED_TRACE(gx);
        std::tie(dim.WindowLX, dim.WindowGX, dim.WindowLY, dim.PlotStep) = std::tuple(lx, gx, ly, step);
        EXPECT_EQ(plotSettingsProblem(dim, 400, 300), problem);
        EXPECT_EQ(drawAll(), problem.isEmpty());
        EXPECT_EQ(canvas.ops.empty(), !problem.isEmpty());
    }
}

TEST_F(GraphDrawingTest, OddSettingsFromAFileOrFarOffWindowsFinishPromptly)
{
    const auto start = std::chrono::steady_clock::now();
    std::tie(dim.DivX, dim.DivY) = std::pair(0.0f, -0.5f); // zero and negative divisions: no hang
    ASSERT_TRUE(drawAll());
    EXPECT_EQ(work.DivStepY, 0.5f); // counted by its size
    EXPECT_EQ(work.LabelEveryX, 0);
    for (const Op& op : canvas.of(Kind::Text, colours::Black))
        EXPECT_FALSE(op.font && op.font->turned); // no x labels

    dim.DivX = dim.DivY = 1;
    for (const float origin : {-1e9f, 30.0f}) { // the marks still land in the window
        dim.XOrigin = origin;
        ASSERT_TRUE(drawAll());
        EXPECT_EQ(verticalGreen(-20, 20), 41) << origin;
    }

    // Where a tenth no longer moves a single, and the largest window there is.
    std::tie(dim.WindowLX, dim.WindowGX, dim.WindowLY, dim.WindowGY) = std::tuple(1e8f, 1e8f + 40, 1e8f, 1e8f + 64);
    std::tie(dim.XLower, dim.XUpper) = std::pair(1e8, 1e8 + 100);
    ASSERT_TRUE(drawAll());
    EXPECT_GT(lines(colours::Black).size(), 390u);
    dim.WindowLX = dim.WindowLY = -1.7e38f;
    dim.WindowGX = dim.WindowGY = 1.7e38f;
    ASSERT_TRUE(drawAll());
    EXPECT_FALSE(lines(colours::Black).empty());
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
}

// The same drawing painted into the image the window shows.
const QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0), kGreen = qRgb(0, 255, 0), kRed = qRgb(255, 0, 0);

class GraphPixelsTest : public ::testing::Test, protected InitialPlot {
protected:
    void draw(bool shade, bool labels)
    {
        image.fill(Qt::white);
        ImageCanvas canvas(image);
        GraphDrawing(dim, work, canvas).draw(GraphOptions{shade, labels, labels});
    }
    // The pixel of user point (x, y) in the initial window: 10 pixels a unit.
    QRgb at(double x, double y) const { return image.pixel(int(std::lround((x + 20) * 10)), int(std::lround((15 - y) * 10))); }
    // Pixels in a rectangle that lean clearly to the ink of antialiased text.
    int ink(int x0, int y0, int x1, int y1, QRgb ink) const
    {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const QRgb p = image.pixel(x, y);
                n += std::max({std::abs(qRed(p) - qRed(ink)), std::abs(qGreen(p) - qGreen(ink)),
                               std::abs(qBlue(p) - qBlue(ink))}) < 96;
            }
        return n;
    }

    QImage image{400, 300, QImage::Format_RGB32};
};

TEST_F(GraphPixelsTest, EachPartHasItsColourWhereItMustBe)
{
    const QRgb yellow = qRgb(255, 255, 0), shade = qRgb(255, 160, 160), blue = qRgb(0, 0, 255);
    draw(true, false);
    EXPECT_EQ(image.pixel(399, 105), yellow); // the frame's right and bottom sides,
    EXPECT_EQ(image.pixel(105, 299), yellow); // one pixel inside the window
    // Axes over the grid, grid over the shading (0xA0A0FF up to f(x) = x, over
    // -8..8 only), the curve on top of everything, the upper marker up to the
    // curve only, the origin disc in a magenta ring.
    const std::tuple<double, double, QRgb> expected[] = {
        {5.5, 0, kRed},      {0, -7.5, kRed},       {5.5, 5, kGreen},        {-12.5, 3, kGreen}, {5.5, 2.5, shade},
        {-5.5, -2.5, shade}, {9.5, 2.5, kWhite},    {5.5, 7.5, kWhite},      {-12.5, -12.5, kBlack},
        {3.4, 3.4, kBlack},  {8, 4.5, blue},        {0.1, 0.2, kRed},        {0.4, 0, qRgb(255, 0, 255)}};
    for (const auto& [x, y, colour] : expected)
        EXPECT_EQ(at(x, y), colour) << x << ", " << y;
    EXPECT_NE(at(8, 8.5), blue);

    dim.GridOn = false; // short ticks only
    draw(false, false);
    for (const auto& [x, y, colour] : {std::tuple{5.0, 0.5, kGreen}, {5.0, 2.0, kWhite}, {-0.5, 5.0, kGreen},
                                       {-3.0, 5.0, kWhite}})
        EXPECT_EQ(at(x, y), colour) << x << ", " << y;
}

TEST_F(GraphPixelsTest, LabelsPutInkNearTheirPlacesAndSteepCurvesAreClippedNotWrapped)
{
    dim.GridOn = false;
    setPowerSeries(dim, {-100}); // the curve stays out of the way
    draw(false, true);
    const QRgb teal = toQColor(colours::WindowLabel).rgb();
    EXPECT_GT(ink(207, 44, 220, 56, kBlack), 5); // "10" right of the y-axis
    EXPECT_GT(ink(160, 275, 240, 298, teal), 20); // "-15" at the bottom
    EXPECT_EQ(ink(160, 30, 240, 40, teal), 0); // the top label's cell ends above

    // Values far beyond the window and single precision.
    setPowerSeries(dim, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1e20});
    draw(false, false);
    EXPECT_EQ(at(10.5, 14.5), kWhite);
    EXPECT_EQ(at(-10.5, -14.5), kWhite);
    EXPECT_EQ(image.pixel(201, 1), kBlack); // steep runs to the edges
    EXPECT_EQ(image.pixel(199, 298), kBlack);
}

} // namespace
} // namespace vendrak
