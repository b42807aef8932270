// The graph as painted into the image: colours where the parts must be.
#include "graph_fixture.h"

#include "graph/image_canvas.h"

#include <gtest/gtest.h>

namespace vendrak {
namespace {

// Colours as the image holds them (0x00BBGGRR turned into RGB).
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlack(0, 0, 0);
const QColor kShade(255, 160, 160);
const QColor kBlue(0, 0, 255);
const QColor kMagenta(255, 0, 255);
const QColor kWhite(255, 255, 255);

class GraphPixelsTest : public ::testing::Test {
protected:
    GraphPixelsTest()
        : image(400, 300, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        dim.initialise();
        test::setInitialPlot(dim);
        test::setPowerSeries(dim, {0, 1}); // f(x) = x, study -8..8
    }

    void draw(const GraphOptions& options)
    {
        ImageCanvas canvas(image);
        GraphDrawing(dim, work, canvas).draw(options);
    }

    QColor at(int x, int y) const { return image.pixelColor(x, y); }

    // Pixel of user point (x, y) in the initial window: 10 pixels per unit.
    static int px(double x) { return static_cast<int>(std::lround((x + 20) * 10)); }
    static int py(double y) { return static_cast<int>(std::lround((15 - y) * 10)); }

    Dimension dim;
    GraphWork work;
    QImage image;
};

TEST_F(GraphPixelsTest, EachPartHasItsColourWhereItMustBe)
{
    GraphOptions options = test::bareOptions();
    options.shade = true;
    draw(options);
    // Frame: right and bottom sides one pixel inside the window.
    EXPECT_EQ(at(399, 105), kYellow);
    EXPECT_EQ(at(105, 299), kYellow);
    // Axes over the grid, grid over the shading.
    EXPECT_EQ(at(px(5.5), py(0)), kRed);
    EXPECT_EQ(at(px(0), py(-7.5)), kRed);
    EXPECT_EQ(at(px(5.5), py(5)), kGreen);
    EXPECT_EQ(at(px(-12.5), py(3)), kGreen);
    // Shading between the axis and f(x) = x over the study interval only.
    EXPECT_EQ(at(px(5.5), py(2.5)), kShade);
    EXPECT_EQ(at(px(-5.5), py(-2.5)), kShade);
    EXPECT_EQ(at(px(9.5), py(2.5)), kWhite);
    EXPECT_EQ(at(px(5.5), py(7.5)), kWhite);
    // The curve on top of everything.
    EXPECT_EQ(at(px(-12.5), py(-12.5)), kBlack);
    EXPECT_EQ(at(px(3.4), py(3.4)), kBlack);
    // The upper interval marker, from the axis up to the curve.
    EXPECT_EQ(at(px(8), py(4.5)), kBlue);
    EXPECT_NE(at(px(8), py(8.5)), kBlue); // the marker stops at the curve
    // The origin disc: red inside a magenta ring.
    EXPECT_EQ(at(px(0) + 1, py(0) - 2), kRed);
    EXPECT_EQ(at(px(0) + 4, py(0)), kMagenta);
    EXPECT_EQ(at(px(0) - 4, py(0)), kMagenta);
}

TEST_F(GraphPixelsTest, WithoutGridOnlyShortTicksAreGreen)
{
    dim.GridOn = false;
    draw(test::bareOptions());
    EXPECT_EQ(at(px(5), py(0.5)), kGreen);   // tick across the x-axis
    EXPECT_EQ(at(px(5), py(2)), kWhite);     // no grid above it
    EXPECT_EQ(at(px(-0.5), py(5)), kGreen);  // tick across the y-axis
    EXPECT_EQ(at(px(-3), py(5)), kWhite);
}

TEST_F(GraphPixelsTest, LabelsPutInkNearTheirPlaces)
{
    dim.GridOn = false;
    test::setPowerSeries(dim, {-100}); // the curve stays out of the way
    GraphOptions options = test::bareOptions();
    options.labelWindow = true;
    options.labelDivisions = true;
    draw(options);
    // Antialiased text: count the pixels that lean clearly to the ink.
    const auto inkIn = [&](int x0, int y0, int x1, int y1, auto isInk) {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                n += isInk(at(x, y));
        return n;
    };
    const auto grey = [](const QColor& c) {
        return c.red() < 200 && std::abs(c.red() - c.green()) < 20 && std::abs(c.red() - c.blue()) < 20;
    };
    const auto teal = [](const QColor& c) {
        return c.red() < 120 && c.green() > 120 && std::abs(c.green() - c.blue()) < 40;
    };
    // The "10" right of the y-axis at y = 10: a 7-pixel text around row 50.
    EXPECT_GT(inkIn(px(0) + 7, py(10) - 6, px(0) + 20, py(10) + 6, grey), 5);
    // The bottom window label "-15" centred above the bottom edge.
    EXPECT_GT(inkIn(160, 275, 240, 298, teal), 20);
    // Nothing of the top label leaks below its 20-pixel cell.
    EXPECT_EQ(inkIn(160, 30, 240, 40, teal), 0);
}

TEST_F(GraphPixelsTest, CurveLeavingTheWindowIsDrawnToTheEdgeWithoutWrapping)
{
    // Values far beyond the window and single precision: clipped, not wrapped.
    test::setPowerSeries(dim, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1e20});
    draw(test::bareOptions());
    EXPECT_EQ(at(px(10.5), py(14.5)), kWhite);
    EXPECT_EQ(at(px(-10.5), py(-14.5)), kWhite);
    // Steep runs up to the top edge and down to the bottom edge.
    EXPECT_EQ(at(px(0.1), 1), kBlack);
    EXPECT_EQ(at(px(-0.1), 298), kBlack);
}

TEST_F(GraphPixelsTest, MappingRoundTripsBetweenPixelsAndUserUnits)
{
    ImageCanvas canvas(image);
    canvas.setScale(-20, 15, 20, -15);
    const QPointF u = canvas.toUser(QPointF(250, 130));
    EXPECT_DOUBLE_EQ(u.x(), 5.0);
    EXPECT_DOUBLE_EQ(u.y(), 2.0);
    const QPointF p = canvas.toPixel(5, 2);
    EXPECT_DOUBLE_EQ(p.x(), 250.0);
    EXPECT_DOUBLE_EQ(p.y(), 130.0);
    // A mapping that cannot be inverted is not taken.
    canvas.setScale(3, 15, 3, -15);
    EXPECT_EQ(canvas.scaleLeft(), -20);
}

} // namespace
} // namespace vendrak
