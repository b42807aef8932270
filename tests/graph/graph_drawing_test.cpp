// The drawing of a graph, checked on a canvas that records what it is given.
#include "graph_fixture.h"

#include "shell/errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace vendrak {
namespace {

using test::GraphFixture;
using test::setPowerSeries;
using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;

class GraphDrawingTest : public ::testing::Test, public GraphFixture {
protected:
    // Sets the mapping up, forgets it on the canvas and returns the drawing.
    GraphDrawing mapped()
    {
        GraphDrawing d = drawing();
        d.SetUpMapping();
        canvas.ops.clear();
        return d;
    }

    std::vector<QString> texts(Colour colour) const
    {
        std::vector<QString> out;
        for (const Op& op : canvas.of(Kind::Text, colour))
            out.push_back(op.text);
        return out;
    }

    const Op* textAt(const QString& text) const
    {
        for (const Op& op : canvas.ops)
            if (op.kind == Kind::Text && op.text == text)
                return &op;
        return nullptr;
    }
};

// ---------------------------------------------------------------- mapping

TEST_F(GraphDrawingTest, InitialWindowGivesTenthOfAUnitPerPixelAndGridLongTicks)
{
    mapped();
    EXPECT_EQ(work.PixelX, 0.1f);
    EXPECT_EQ(work.PixelY, 0.1f);
    EXPECT_EQ(work.SampleStep, 0.1f);
    EXPECT_EQ(work.TickLenX, 40.0f);
    EXPECT_EQ(work.TickLenY, 30.0f);
    EXPECT_EQ(canvas.scaleLeft(), -20);
    EXPECT_EQ(canvas.scaleRight(), 20);
    EXPECT_EQ(canvas.scaleTop(), 15);
    EXPECT_EQ(canvas.scaleBottom(), -15);

    dim.GridOn = false;
    mapped();
    EXPECT_EQ(work.TickLenX, 2.0f);
    EXPECT_EQ(work.TickLenY, 1.5f);
}

TEST_F(GraphDrawingTest, PlotStepWidensTheSampleStepByWholePixels)
{
    dim.PlotStep = 80;
    mapped();
    EXPECT_EQ(work.SampleStep, 8.0f);
    EXPECT_EQ(work.PixelX, 0.1f);
}

// ---------------------------------------------------------------- curve

TEST_F(GraphDrawingTest, CurveSamplesFromTheLeftEdgeToTheFirstSampleBeyondTheRight)
{
    setPowerSeries(dim, {0, 0.5}); // stays inside the window
    GraphDrawing d = mapped();
    d.PlotCurve();
    ASSERT_FALSE(canvas.ops.empty());
    EXPECT_EQ(canvas.ops.front().kind, Kind::Point);
    EXPECT_DOUBLE_EQ(canvas.ops.front().x1, -20.0);

    const std::vector<Op> lines = canvas.of(Kind::Line, colours::Black);
    ASSERT_EQ(lines.size(), canvas.ops.size() - 1);
    ASSERT_EQ(lines.size(), 401u); // 402 samples: -20, -19.9, ..., 20, 20.1
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_NEAR(lines[i].x2, -20.0 + 0.1 * static_cast<double>(i + 1), 1e-4) << i;
        EXPECT_DOUBLE_EQ(lines[i].y2, lines[i].x2 / 2);
        if (i > 0) {
            EXPECT_EQ(lines[i].x1, lines[i - 1].x2); // joined from the pen
        }
    }
    EXPECT_GT(lines.back().x2, 20.0);
    EXPECT_EQ(work.DrawColour, 0u);
}

TEST_F(GraphDrawingTest, FailedSamplesLeaveGapsThatAreNeverJoined)
{
    GraphDrawing d = mapped();
    d.setEvaluator([](const Dimension&, double x) {
        if (x > -1.05 && x < 1.05)
            raise(ErrDivisionByZero);
        return x / 2;
    });
    d.PlotCurve();
    const std::vector<Op> points = canvas.of(Kind::Point);
    ASSERT_EQ(points.size(), 2u); // one run each side of the gap
    EXPECT_NEAR(points[1].x1, 1.1, 1e-4);
    for (const Op& op : canvas.of(Kind::Line)) {
        const bool left = op.x1 < 0 && op.x2 < 0;
        const bool right = op.x1 > 0 && op.x2 > 0;
        EXPECT_TRUE(left || right) << "segment " << op.x1 << " -> " << op.x2 << " crosses the gap";
        EXPECT_FALSE(std::fabs(op.x2) < 1.05);
    }
    EXPECT_GT(canvas.of(Kind::Line).back().x2, 20.0);
}

TEST_F(GraphDrawingTest, OverflowingSeriesIsDrawnOnlyWhereItCanBeEvaluated)
{
    // x^300 overflows a double beyond |x| of about 10.6.
    dim.Coeffs.assign(301, 0.0);
    dim.Coeffs[300] = 1;
    dim.Coeffs[0] = 1;
    dim.TermCount = 300;
    GraphDrawing d = mapped();
    d.PlotCurve();
    const std::vector<Op> points = canvas.of(Kind::Point);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_LT(points[0].x1, -10.0);
    for (const Op& op : canvas.of(Kind::Line))
        EXPECT_LT(std::fabs(op.x2), 11.0);
}

TEST_F(GraphDrawingTest, AnErrorThatCannotBeRecoveredEndsTheCurveQuietly)
{
    GraphDrawing d = mapped();
    d.setEvaluator([](const Dimension&, double x) {
        if (x > 0.05)
            raise(ErrSubscript);
        return x;
    });
    d.PlotCurve();
    for (const Op& op : canvas.ops)
        EXPECT_LT(op.x2, 0.06);
    EXPECT_EQ(dim.ierr, ErrSubscript);
}

TEST_F(GraphDrawingTest, TheMathObjectsErrorNumberDecidesAndIsCleared)
{
    GraphDrawing d = mapped();
    // A recoverable raise whose math object reports a script error that is
    // not recoverable ends the curve; the object's number is reset.
    d.setEvaluator([](const Dimension& dim, double x) {
        if (x > 0.05) {
            const_cast<Dimension&>(dim).ScriptMath.ierr = ErrTypeMismatch;
            raise(ErrInvalidCall);
        }
        return x;
    });
    d.PlotCurve();
    EXPECT_EQ(dim.ierr, ErrTypeMismatch);
    EXPECT_EQ(dim.ScriptMath.ierr, 0);
    EXPECT_LT(canvas.of(Kind::Line).back().x2, 0.06);
}

TEST_F(GraphDrawingTest, StretchesWhollyAboveOrBelowTheWindowAreNotDrawn)
{
    setPowerSeries(dim, {-5, 0, 1}); // x^2 - 5 leaves the top at |x| ~ 4.47
    GraphDrawing d = mapped();
    d.PlotCurve();
    int crossings = 0;
    for (const Op& op : canvas.of(Kind::Line)) {
        const bool above = op.y1 > 15 && op.y2 > 15;
        const bool below = op.y1 < -15 && op.y2 < -15;
        EXPECT_FALSE(above || below) << op.x1 << " -> " << op.x2;
        if ((op.y1 > 15) != (op.y2 > 15))
            ++crossings;
    }
    EXPECT_EQ(crossings, 2); // down into the window and back out through the top
    // The whole curve is one run: the pen moved on while above the window.
    EXPECT_EQ(canvas.of(Kind::Point).size(), 1u);
    EXPECT_LT(canvas.of(Kind::Line).size(), 100u);
}

// ---------------------------------------------------------------- shading and markers

TEST_F(GraphDrawingTest, ShadingFillsTheStudyIntervalWithTouchingVerticalLines)
{
    GraphDrawing d = mapped();
    d.ShadeArea(true);
    const std::vector<Op> shade = canvas.of(Kind::Line, colours::Shade);
    ASSERT_GT(shade.size(), 150u);
    EXPECT_DOUBLE_EQ(canvas.ops.front().x1, -8.0);
    EXPECT_EQ(canvas.ops.front().colour, colours::Shade);
    // Vertical strokes from the axis, 0.999 of a sample apart...
    for (size_t i = 0; i + 1 < shade.size(); ++i) {
        EXPECT_EQ(shade[i].x1, shade[i].x2);
        EXPECT_DOUBLE_EQ(shade[i].y2, shade[i].x2);
        EXPECT_NEAR(shade[i].x1, -8.0 + 0.1f * 0.999 * static_cast<double>(i), 1e-6);
    }
    EXPECT_EQ(shade.front().y1, 0.0);
    // ...and the closing stroke from the last top to f(XUpper).
    EXPECT_DOUBLE_EQ(shade.back().x2, 8.0);
    EXPECT_DOUBLE_EQ(shade.back().y2, 8.0);
    // Between the strokes the pen goes back to the axis with a blue point.
    EXPECT_EQ(canvas.of(Kind::Point, colours::Blue).size(), shade.size() - 2);
}

TEST_F(GraphDrawingTest, DerivativesAreNeverShadedButStillMarked)
{
    dim.DerivOrder = 1;
    GraphDrawing d = mapped();
    d.ShadeArea(true);
    EXPECT_TRUE(canvas.ops.empty());
    d.DrawIntervalMarkers();
    const std::vector<Op> markers = canvas.of(Kind::Line, colours::Blue);
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_DOUBLE_EQ(markers[0].y2, 1.0); // f'(x) = 1
    EXPECT_DOUBLE_EQ(markers[1].y2, 1.0);
}

TEST_F(GraphDrawingTest, UncheckedShadeDrawsNoShading)
{
    GraphDrawing d = mapped();
    d.ShadeArea(false);
    EXPECT_TRUE(canvas.ops.empty());
}

TEST_F(GraphDrawingTest, MarkersRunFromTheAxisToTheCurveClampedToTheWindow)
{
    setPowerSeries(dim, {0, 0, 1}); // x^2: 64 at the ends of -8..8
    GraphDrawing d = mapped();
    d.DrawIntervalMarkers();
    const std::vector<Op> markers = canvas.of(Kind::Line, colours::Blue);
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[0].x1, -8.0);
    EXPECT_EQ(markers[0].y1, 0.0);
    EXPECT_EQ(markers[0].y2, 15.0);
    EXPECT_EQ(markers[1].x1, 8.0);
    EXPECT_EQ(markers[1].y2, 15.0);
}

TEST_F(GraphDrawingTest, StudyIntervalLeftOfTheWindowIsShadedAndMarkedFromTheEdge)
{
    dim.XLower = -30;
    GraphDrawing d = mapped();
    d.ShadeArea(true);
    EXPECT_EQ(canvas.of(Kind::Line, colours::Shade).front().x1, -20.0);
    canvas.ops.clear();
    d.DrawIntervalMarkers();
    ASSERT_EQ(canvas.of(Kind::Line, colours::Blue).size(), 2u);
    EXPECT_EQ(canvas.of(Kind::Line, colours::Blue)[0].x1, -20.0);

    // Without the shading nothing clamps the lower end: no lower marker.
    dim.XLower = -30;
    canvas.ops.clear();
    d.DrawIntervalMarkers();
    ASSERT_EQ(canvas.of(Kind::Line, colours::Blue).size(), 1u);
    EXPECT_EQ(canvas.of(Kind::Line, colours::Blue)[0].x1, 8.0);
}

TEST_F(GraphDrawingTest, StudyIntervalRightOfTheWindowGetsNeitherShadingNorMarkers)
{
    dim.XLower = 25;
    dim.XUpper = 30;
    GraphDrawing d = mapped();
    d.ShadeArea(true);
    d.DrawIntervalMarkers();
    for (const Op& op : canvas.ops)
        EXPECT_GE(op.x1, 20.0); // only the unseen start of the shading
    EXPECT_TRUE(canvas.of(Kind::Line, colours::Blue).empty());
}

TEST_F(GraphDrawingTest, ShadingStopsAtTheFirstFailedEvaluation)
{
    GraphDrawing d = mapped();
    d.setEvaluator([](const Dimension&, double x) {
        if (x > 0)
            raise(ErrOverflow);
        return x;
    });
    d.ShadeArea(true);
    for (const Op& op : canvas.of(Kind::Line, colours::Shade))
        EXPECT_LE(op.x2, 0.0);
    EXPECT_EQ(dim.ierr, ErrOverflow);
}

// ---------------------------------------------------------------- static parts

TEST_F(GraphDrawingTest, FrameAxesAndOriginMark)
{
    GraphDrawing d = mapped();
    d.DrawFrame();
    d.DrawAxes();
    d.MarkOrigin();
    const std::vector<Op> frame = canvas.of(Kind::Rect, colours::Yellow);
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0].x1, -20.0);
    EXPECT_NEAR(frame[0].y1, -14.9, 1e-6);
    EXPECT_NEAR(frame[0].x2, 19.9, 1e-6);
    EXPECT_EQ(frame[0].y2, 15.0);
    const std::vector<Op> axes = canvas.of(Kind::Line, colours::Red);
    ASSERT_EQ(axes.size(), 2u);
    EXPECT_EQ(axes[0].y1, 0.0);
    EXPECT_EQ(axes[0].x2, 20.0);
    EXPECT_EQ(axes[1].x1, 0.0);
    EXPECT_EQ(axes[1].y2, 15.0);
    const std::vector<Op> disc = canvas.of(Kind::Circle);
    ASSERT_EQ(disc.size(), 1u);
    EXPECT_EQ(disc[0].colour, colours::Magenta);
    EXPECT_EQ(disc[0].fill, colours::Red);
    EXPECT_TRUE(disc[0].filled);
    EXPECT_FLOAT_EQ(static_cast<float>(disc[0].x2), 0.4f);
}

TEST_F(GraphDrawingTest, GridLinesSpanTheWindowAndTheOriginIsDrawnTwice)
{
    GraphDrawing d = mapped();
    d.DrawTicks();
    const std::vector<Op> marks = canvas.of(Kind::Line, colours::Green);
    int vertical = 0;
    int horizontal = 0;
    for (const Op& op : marks) {
        if (op.x1 == op.x2) {
            ++vertical;
            EXPECT_EQ(op.y1, -15.0);
            EXPECT_EQ(op.y2, 15.0);
        } else {
            ++horizontal;
            EXPECT_EQ(op.x1, -20.0);
            EXPECT_EQ(op.x2, 20.0);
        }
    }
    EXPECT_EQ(vertical, 21 + 21);
    EXPECT_EQ(horizontal, 16 + 16);
}

TEST_F(GraphDrawingTest, WithoutGridTicksAreShortCrossStrokesOnTheAxes)
{
    dim.GridOn = false;
    GraphDrawing d = mapped();
    d.DrawTicks();
    for (const Op& op : canvas.of(Kind::Line, colours::Green)) {
        if (op.x1 == op.x2) {
            EXPECT_EQ(op.y1, -0.75);
            EXPECT_EQ(op.y2, 0.75);
        } else {
            EXPECT_EQ(op.x1, -1.0);
            EXPECT_EQ(op.x2, 1.0);
        }
    }
}

TEST_F(GraphDrawingTest, DivisionsBelowOnePixelTickEveryPixel)
{
    dim.DivX = 0.05f;
    GraphDrawing d = mapped();
    d.DrawTicks();
    EXPECT_EQ(work.DivStepX, 0.1f);
    int vertical = 0;
    for (const Op& op : canvas.of(Kind::Line, colours::Green))
        vertical += op.x1 == op.x2;
    EXPECT_GE(vertical, 400);
    EXPECT_LE(vertical, 404);
}

TEST_F(GraphDrawingTest, OriginRightOfTheWindowStillCountsTheMarksFromIt)
{
    dim.XOrigin = 30;
    dim.GridOn = false;
    GraphDrawing d = mapped();
    d.DrawTicks();
    int vertical = 0;
    for (const Op& op : canvas.of(Kind::Line, colours::Green)) {
        if (op.x1 == op.x2) {
            ++vertical;
            EXPECT_LE(op.x1, 20.0);
        }
    }
    EXPECT_EQ(vertical, 41);
    canvas.ops.clear();
    d.LabelDivisions(QStringLiteral("1"), QStringLiteral("1"));
    // The x labels appear where they fall in the window: 20 down to -20.
    EXPECT_NE(textAt(QStringLiteral("20")), nullptr);
    EXPECT_NE(textAt(QStringLiteral("-20")), nullptr);
    EXPECT_EQ(textAt(QStringLiteral("21")), nullptr);
}

// ---------------------------------------------------------------- labels

TEST_F(GraphDrawingTest, InitialDivisionLabelsEveryDivisionOnBothSidesOfTheAxes)
{
    GraphDrawing d = mapped();
    d.LabelDivisions(QStringLiteral("1"), QStringLiteral("1"));
    EXPECT_EQ(work.LabelEveryX, 1);
    EXPECT_EQ(work.LabelEveryY, 1);
    std::vector<Op> upright;
    std::vector<Op> turned;
    for (const Op& op : canvas.of(Kind::Text, colours::Black))
        (op.font && op.font->turned ? turned : upright).push_back(op);
    ASSERT_EQ(upright.size(), 30u);
    ASSERT_EQ(turned.size(), 40u);
    for (int i = 0; i < 15; ++i) {
        // Up the y-axis, right of it, centred on the division.
        EXPECT_EQ(upright[static_cast<size_t>(i)].text, QString::number(i + 1));
        EXPECT_NEAR(upright[static_cast<size_t>(i)].x1, 0.75, 1e-6);
        EXPECT_NEAR(upright[static_cast<size_t>(i)].y1, i + 1 + 0.35, 1e-5);
        // Down the y-axis, ending 7.5 pixels left of it.
        const Op& below = upright[static_cast<size_t>(15 + i)];
        EXPECT_EQ(below.text, QString::number(-(i + 1)));
        EXPECT_NEAR(below.x1, -(below.text.size() + 1.5) * 0.5, 1e-6);
    }
    EXPECT_EQ(upright[0].font, (LabelFont{7, 5, false}));
    EXPECT_EQ(turned[0].font, (LabelFont{7, 5, true}));
    EXPECT_EQ(turned[0].text, QStringLiteral("1"));
    EXPECT_NEAR(turned[0].x1, 1 + 0.35 + 0.2, 1e-5);
    EXPECT_NEAR(turned[0].y1, -0.75, 1e-6);
    EXPECT_EQ(turned[20].text, QStringLiteral("-1"));
    EXPECT_NEAR(turned[20].y1, (2 + 1.5) * 0.5, 1e-6);
    EXPECT_EQ(canvas.font(), std::nullopt); // the canvas's own font is back
}

TEST_F(GraphDrawingTest, HalfDivisionsLabelEverySecondWithOneDecimal)
{
    dim.DivX = 0.5f;
    dim.DivY = 0.5f;
    GraphDrawing d = mapped();
    d.LabelDivisions(QStringLiteral("0.5"), QStringLiteral(".5"));
    EXPECT_EQ(work.LabelEveryX, 2);
    const std::vector<QString> t = texts(colours::Black);
    ASSERT_GE(t.size(), 3u);
    EXPECT_EQ(t[0], QStringLiteral("1.0"));
    EXPECT_EQ(t[1], QStringLiteral("2.0"));
    EXPECT_EQ(t[2], QStringLiteral("3.0"));
    EXPECT_EQ(t.size(), 2u * 15 + 2u * 20);
    canvas.ops.clear();
    d.DrawTicks();
    int vertical = 0;
    for (const Op& op : canvas.of(Kind::Line, colours::Green))
        vertical += op.x1 == op.x2;
    EXPECT_EQ(vertical, 2 * 41); // ticks at every half
}

TEST_F(GraphDrawingTest, TwentiethDivisionsLabelATenthStepEveryEighth)
{
    dim.DivX = 0.05f;
    dim.DivY = 0.05f;
    GraphDrawing d = mapped();
    d.LabelDivisions(QStringLiteral(".05"), QStringLiteral(".05"));
    EXPECT_EQ(work.DivStepX, 0.1f); // round(2.5) = 2 divisions, halves to even
    EXPECT_EQ(work.LabelEveryX, 8);
    const std::vector<QString> t = texts(colours::Black);
    ASSERT_GE(t.size(), 2u);
    EXPECT_EQ(t[0], QStringLiteral(".80"));
    EXPECT_EQ(t[1], QStringLiteral("1.60"));
}

TEST_F(GraphDrawingTest, DivisionTextDecidesTheDecimalsShown)
{
    dim.DivY = 2.5f;
    GraphDrawing d = mapped();
    d.LabelDivisions(QStringLiteral("1"), QStringLiteral(" 2.50 "));
    const std::vector<QString> t = texts(colours::Black);
    ASSERT_GE(t.size(), 3u);
    EXPECT_EQ(t[0], QStringLiteral("2.50"));
    EXPECT_EQ(t[1], QStringLiteral("5.00"));
    EXPECT_EQ(t[2], QStringLiteral("7.50"));
    EXPECT_EQ(work.LabelFormat, QStringLiteral("######"));
}

TEST_F(GraphDrawingTest, ZeroDivisionBelowALoweredOriginHasAnEmptyLabel)
{
    dim.YOrigin = -1;
    GraphDrawing d = mapped();
    d.LabelDivisions(QStringLiteral("1"), QStringLiteral("1"));
    const std::vector<QString> t = texts(colours::Black);
    ASSERT_FALSE(t.empty());
    EXPECT_EQ(t[0], QString()); // y = 0 under "######"
    EXPECT_EQ(t[1], QStringLiteral("1"));
}

TEST_F(GraphDrawingTest, WindowLabelsShowTheLimitsAtTheEdges)
{
    GraphDrawing d = mapped();
    d.LabelWindow();
    const std::vector<Op> labels = canvas.of(Kind::Text, colours::WindowLabel);
    ASSERT_EQ(labels.size(), 4u);
    // Bottom: centred, the cell ending a pixel above the bottom edge.
    EXPECT_EQ(labels[0].text, QStringLiteral("-15 "));
    EXPECT_NEAR(labels[0].x1, -3.2, 1e-5);
    EXPECT_NEAR(labels[0].y1, -12.9, 1e-5);
    EXPECT_EQ(labels[0].font, (LabelFont{20, 16, false}));
    // Top: after a blank, the cell from 4 pixels beyond the edge.
    EXPECT_EQ(labels[1].text, QStringLiteral(" 15 "));
    EXPECT_NEAR(labels[1].x1, -2.4, 1e-5);
    EXPECT_NEAR(labels[1].y1, 15.4, 1e-5);
    // Left and right, reading downwards.
    EXPECT_EQ(labels[2].text, QStringLiteral("-20 "));
    EXPECT_NEAR(labels[2].x1, -17.8, 1e-5);
    EXPECT_NEAR(labels[2].y1, 3.2, 1e-5);
    EXPECT_EQ(labels[2].font, (LabelFont{20, 16, true}));
    EXPECT_EQ(labels[3].text, QStringLiteral(" 20 "));
    EXPECT_NEAR(labels[3].x1, 20.4, 1e-5);
    EXPECT_NEAR(labels[3].y1, 2.4, 1e-5);
    EXPECT_EQ(canvas.font(), std::nullopt);
    EXPECT_EQ(work.DrawColour, 0u);
}

TEST_F(GraphDrawingTest, FirstPointOfEachRunTakesTheColourTheLabelsLeft)
{
    GraphDrawing d = drawing();
    GraphOptions o = test::bareOptions();
    o.labelWindow = true;
    d.draw(o);
    // Window labels only: the first point is in their colour.
    EXPECT_EQ(canvas.of(Kind::Point, colours::WindowLabel).size(), 1u);
    canvas.ops.clear();
    d.draw(test::bareOptions());
    EXPECT_EQ(canvas.of(Kind::Point, colours::WindowLabel).size(), 1u); // the canvas keeps it
    canvas.setForeColour(colours::InitialFore);
    canvas.ops.clear();
    o.labelDivisions = true;
    d.draw(o);
    EXPECT_EQ(canvas.of(Kind::Point, colours::Black).size(), 1u);
}

TEST(LabelFormat, PatternsFollowTheDivisionText)
{
    EXPECT_EQ(LabelPattern(QStringLiteral("1")), QStringLiteral("######"));
    EXPECT_EQ(LabelPattern(QStringLiteral(" 2.50 ")), QStringLiteral("######.00"));
    EXPECT_EQ(LabelPattern(QStringLiteral(".25")), QStringLiteral("######.00"));
    EXPECT_EQ(LabelPattern(QStringLiteral("1.")), QStringLiteral("######."));
    EXPECT_EQ(LabelPattern(QStringLiteral("1e-2")), QStringLiteral("######"));
}

TEST(LabelFormat, HashDigitsDropAZeroWholePart)
{
    const QString two = QStringLiteral("######.00");
    EXPECT_EQ(FormatLabel(0.25, two), QStringLiteral(".25"));
    EXPECT_EQ(FormatLabel(1.5, two), QStringLiteral("1.50"));
    EXPECT_EQ(FormatLabel(-0.25, two), QStringLiteral("-.25"));
    EXPECT_EQ(FormatLabel(0.0, QStringLiteral("######")), QString());
    EXPECT_EQ(FormatLabel(-3.0, QStringLiteral("######")), QStringLiteral("-3"));
    EXPECT_EQ(FormatLabel(1234567.0, QStringLiteral("######")), QStringLiteral("1234567"));
    EXPECT_EQ(FormatLabel(2.5, QStringLiteral("######")), QStringLiteral("3"));
    EXPECT_EQ(FormatLabel(0.3000000119f, QStringLiteral("######.0")), QStringLiteral(".3"));
    EXPECT_EQ(FormatLabel(-0.001, two), QStringLiteral(".00")); // no sign on a zero
    EXPECT_EQ(FormatLabel(1e20, QStringLiteral("######")), QStringLiteral("100000000000000000000"));
    const QString twenty = QStringLiteral("######.") + QString(20, u'0');
    EXPECT_EQ(FormatLabel(-0.0, twenty), u'.' + QString(20, u'0'));
    EXPECT_EQ(FormatLabel(0.5, twenty), QStringLiteral(".5") + QString(19, u'0'));
}

// ---------------------------------------------------------------- settings that cannot be drawn

TEST_F(GraphDrawingTest, EqualOrReversedWindowIsRefusedAndNothingDrawn)
{
    dim.WindowGX = dim.WindowLX;
    EXPECT_EQ(plotSettingsProblem(dim, 400, 300), kEmptyWindowMessage);
    EXPECT_FALSE(drawing().draw(GraphOptions()));
    EXPECT_TRUE(canvas.ops.empty());
    dim.WindowGX = 20;
    dim.WindowLY = 16;
    EXPECT_EQ(plotSettingsProblem(dim, 400, 300), kEmptyWindowMessage);
    dim.WindowLY = -15;
    EXPECT_EQ(plotSettingsProblem(dim, 400, 300), QString());
}

TEST_F(GraphDrawingTest, PlotStepsBelowOneAreRefused)
{
    for (int step : {0, -3}) {
        dim.PlotStep = step;
        EXPECT_EQ(plotSettingsProblem(dim, 400, 300), kPlotStepMessage);
        EXPECT_FALSE(drawing().draw(GraphOptions()));
    }
}

TEST_F(GraphDrawingTest, WindowsBeyondSinglePrecisionAreRefused)
{
    dim.WindowLX = -3e38f;
    dim.WindowGX = 3e38f;
    EXPECT_EQ(plotSettingsProblem(dim, 400, 300), kHugeWindowMessage);
    dim.WindowLX = 1.0f;
    dim.WindowGX = std::nextafter(1.0f, 2.0f);
    EXPECT_EQ(plotSettingsProblem(dim, 400, 300), QString()); // one ulp wide still draws
    dim.WindowLX = 0;
    dim.WindowGX = 1e-44f;
    EXPECT_EQ(plotSettingsProblem(dim, 400, 300), kTinyWindowMessage);
}

TEST_F(GraphDrawingTest, ZeroAndNegativeDivisionsFromAFileNeitherHangNorDivideByZero)
{
    dim.DivX = 0;
    dim.DivY = -0.5f;
    GraphDrawing d = drawing();
    ASSERT_TRUE(d.draw(GraphOptions()));
    EXPECT_EQ(work.DivStepY, 0.5f); // counted by its size
    EXPECT_EQ(work.DivStepX, 0.0f); // no x labels
    EXPECT_EQ(work.LabelEveryX, 0);
    int turned = 0;
    for (const Op& op : canvas.of(Kind::Text, colours::Black))
        turned += op.font && op.font->turned;
    EXPECT_EQ(turned, 0);
}

TEST_F(GraphDrawingTest, FarAwayOriginsAndHugeWindowsFinishPromptly)
{
    const auto start = std::chrono::steady_clock::now();
    // Origin a billion divisions left of the window: the marks still land.
    dim.XOrigin = -1e9f;
    GraphDrawing d = drawing();
    ASSERT_TRUE(d.draw(GraphOptions()));
    int vertical = 0;
    for (const Op& op : canvas.of(Kind::Line, colours::Green))
        vertical += op.x1 == op.x2 && op.x1 >= -20 && op.x1 <= 20;
    EXPECT_EQ(vertical, 41);

    // A window far from 0, where a tenth no longer moves a single.
    setPowerSeries(dim, {0, 1});
    dim.XOrigin = 0;
    dim.WindowLX = 1e8f;
    dim.WindowGX = 1e8f + 40;
    dim.WindowLY = 1e8f;
    dim.WindowGY = 1e8f + 64;
    dim.XLower = 1e8;
    dim.XUpper = 1e8 + 100;
    canvas.ops.clear();
    ASSERT_TRUE(d.draw(GraphOptions()));
    EXPECT_GT(canvas.of(Kind::Line, colours::Black).size(), 390u);

    // The largest window single precision allows.
    dim.WindowLX = -1.7e38f;
    dim.WindowGX = 1.7e38f;
    dim.WindowLY = -1e38f;
    dim.WindowGY = 1e38f;
    canvas.ops.clear();
    ASSERT_TRUE(d.draw(GraphOptions()));
    EXPECT_FALSE(canvas.of(Kind::Line, colours::Black).empty());

    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0);
}

TEST_F(GraphDrawingTest, HandOverComesBetweenTheStaticPartsAndTheCurve)
{
    setPowerSeries(dim, {0, 0.5});
    GraphDrawing d = drawing();
    size_t before = 0;
    ASSERT_TRUE(d.draw(GraphOptions(), [&] {
        before = canvas.ops.size();
        return true;
    }));
    ASSERT_GT(before, 0u);
    EXPECT_EQ(canvas.ops[before].kind, Kind::Point); // the curve starts after it
    EXPECT_GT(canvas.ops.size(), before + 400);

    // A hand-over that says stop leaves the curve out.
    canvas.ops.clear();
    ASSERT_TRUE(d.draw(GraphOptions(), [&] {
        before = canvas.ops.size();
        return false;
    }));
    EXPECT_EQ(canvas.ops.size(), before);
}

} // namespace
} // namespace vendrak
