// The figure: round tick steps, texts that never collide at any size, y fitted
// to the curves, marks from the scans and from Verify.
#include "core/figure/figure_input.h"
#include "support/analysis_fixtures.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vendrak {
namespace {

bool isNice(double step)
{
    const double m = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    return std::abs(m - 1) < 1e-9 || std::abs(m - 2) < 1e-9 || std::abs(m - 5) < 1e-9;
}

TEST(Figure, StepsAndTickTexts)
{
    const struct { double least, step; } steps[] = {{0.7, 1}, {1, 1}, {1.01, 2}, {2.5, 5}, {6, 10}, {0.013, 0.02},
                                                    {4.9e-7, 5e-7}, {3e12, 5e12}};
    for (const auto& c : steps)
        EXPECT_DOUBLE_EQ(NiceStepAtLeast(c.least), c.step) << c.least;
    // An axis is written in one form: exponents once its largest value is beyond 1e6 or below 1e-4.
    const struct { double value, step, largest; const char16_t* text; } texts[] = {
        {0, 0.1, 1, u"0"}, {-1, 0.5, 1, u"\u22121.0"}, {0.3000000000000004, 0.1, 1, u"0.3"}, {25, 5, 25, u"25"},
        {2e7, 1e7, 2e7, u"2e7"}, {-1.5e-6, 5e-7, 2e-6, u"\u22121.5e\u22126"}, {1000002, 1, 1000002, u"1.000002e6"},
        {500000, 500000, 1.5e6, u"5e5"}, {1.0000005, 5e-7, 1.000002, u"1.0000005"}};
    for (const auto& c : texts)
        EXPECT_EQ(TickText(c.value, c.step, c.largest), QString::fromUtf16(c.text)) << c.value;
    EXPECT_EQ(TickValues(-0.35, 0.2, 0.1), (std::vector<double>{-0.30000000000000004, -0.2, -0.1, 0, 0.1, 0.2}));
}

// At every size from 300 x 200 to 4000 x 3000, for windows of every scale:
// steps of 1, 2 or 5 x 10^k, at least two values on each axis, and no text
// that touches another or leaves the figure.
TEST(Figure, TicksAreRoundAndTextsNeverOverlap)
{
    FigureInput in;
    in.series = test::series(SeriesKind::Power, {0.5, 1, -0.01}, 0, 0).series;
    in.title = QStringLiteral("A long description of the series that will not fit a small figure at all");
    const struct { double xl, xh, yl, yh; } windows[] = {{-20, 20, -15, 15},      {-8, 8, -1.5, 1.5},
                                                         {1e-7, 3e-7, -2e-9, 5e-9}, {-3e8, 5e8, 1e6, 1e12},
                                                         {1000000, 1000001, -1, 1}, {-0.001, 0.003, 0, 99999}};
    QFont screen = QGuiApplication::font(), page;
    page.setPixelSize(13);
    for (const QFont& font : {screen, page})
        for (const auto& w : windows)
            for (int width : {300, 333, 480, 640, 1000, 1601, 2500, 4000})
                for (int height : {200, 257, 480, 1000, 3000}) {
                    std::tie(in.xLow, in.xHigh, in.yLow, in.yHigh) = std::tuple(w.xl, w.xh, w.yl, w.yh);
                    const QSizeF size(width, height);
                    const FigureLayout L = LayoutFigure(in, size, font);
                    SCOPED_TRACE(QStringLiteral("%1x%2 window %3..%4 font %5")
                                     .arg(width).arg(height).arg(w.xl).arg(w.xh).arg(font.pixelSize()).toStdString());
                    ASSERT_TRUE(L.problem.isEmpty());
                    EXPECT_TRUE(isNice(L.xStep) && isNice(L.yStep)) << L.xStep << " " << L.yStep;
                    EXPECT_GE(L.xTicks.size(), 2u);
                    EXPECT_GE(L.yTicks.size(), 2u);
                    std::vector<QRectF> rects = L.xTextRects;
                    rects.insert(rects.end(), L.yTextRects.begin(), L.yTextRects.end());
                    rects.insert(rects.end(), {L.titleRect, L.xTitleRect, L.yTitleRect});
                    for (std::size_t i = 0; i < rects.size(); ++i) {
                        EXPECT_TRUE(QRectF(QPointF(0, 0), size).contains(rects[i]));
                        for (std::size_t j = i + 1; j < rects.size(); ++j)
                            ASSERT_FALSE(rects[i].intersects(rects[j])) << i << " " << j;
                    }
                    // The ticks' texts read as distinct numbers.
                    EXPECT_EQ(QSet<QString>(L.xTexts.begin(), L.xTexts.end()).size(), L.xTexts.size());
                }
}

Dimension sineStudy()
{
    Dimension d;
    d.initialise();
    EXPECT_EQ(test::openSeries(d, QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_study.txt")), "");
    return d;
}

TEST(Figure, FitsYToTheCurvesAndMarksWhatVerifyProved)
{
    const Dimension d = sineStudy();
    FigureInput in = FigureInputOf(d.series, d.plot, d.study, d.results, d.window.FileName, {0, 2}, true, true, nullptr);
    EXPECT_EQ(in.title, QStringLiteral("sin(x), Taylor series about 0, degree 25, with a saved study"));
    // sin and -sin over -8..8 reach +-1 (at +-pi/2, 3pi/2): the range widened by 5 % of 2 a side. The
    // series is sin cut after degree 25, within 8^26/26! < 1e-3 of it there.
    double lo = 0, hi = 0;
    FitYRange(in, lo, hi);
    EXPECT_NEAR(lo, -1.1, 1e-3);
    EXPECT_NEAR(hi, 1.1, 1e-3);
    // The saved scans over -7..7: 5 roots, 2 maxima, 2 minima, none proven.
    EXPECT_EQ(in.marks.size(), 9u);
    EXPECT_EQ(std::count_if(in.marks.begin(), in.marks.end(), [](auto& m) { return m.proven; }), 0);

    // Verify on the same interval proves them: each is drawn once, proven.
    VerifyReport proof = Verify(d.series, d.study.XLower, d.study.XUpper, d.study.ErrorBound);
    in = FigureInputOf(d.series, d.plot, d.study, d.results, d.window.FileName, {0}, false, true, &proof);
    EXPECT_EQ(in.marks.size(), 9u);
    for (const FigureMark& m : in.marks) {
        EXPECT_TRUE(m.proven);
        const double k = m.x / (std::numbers::pi / 2); // roots at k pi, extrema at (k + 1/2) pi
        EXPECT_NEAR(k, std::round(k), 1e-6);
        EXPECT_EQ(m.kind == FigureMark::Kind::Root, std::lround(k) % 2 == 0);
    }
    // Made for another interval, the proof marks nothing.
    proof.upper = 1;
    EXPECT_EQ(std::count_if(in.marks.begin(), in.marks.end(), [](auto& m) { return m.proven; }), 9);
    in = FigureInputOf(d.series, d.plot, d.study, d.results, d.window.FileName, {0}, false, true, &proof);
    EXPECT_EQ(std::count_if(in.marks.begin(), in.marks.end(), [](auto& m) { return m.proven; }), 0);
}

TEST(Figure, RefusesWhatCannotBeDrawnAndPaintsTheRest)
{
    FigureInput in;
    in.series = sineStudy().series;
    const struct { double xl, xh; std::vector<int> orders; const char* why; } bad[] = {
        {1, 1, {0}, "upper limit"}, {0, INFINITY, {0}, "cannot be drawn"}, {-1.7e308, 1.7e308, {0}, "too large"},
        {0, 1, {10}, "order 10"}, {0, 1, {1, 1}, "twice"}};
    for (const auto& c : bad) {
        std::tie(in.xLow, in.xHigh, in.orders) = std::tuple(c.xl, c.xh, c.orders);
        EXPECT_TRUE(FigureProblem(in).contains(QLatin1String(c.why))) << c.why;
    }
    // Every order at once, on a tiny image: the curves of f (black, solid)
    // cross the middle of the frame.
    std::tie(in.xLow, in.xHigh, in.orders, in.shade) = std::tuple(-8, 8, std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, true);
    for (const QSize size : {QSize(300, 200), QSize(60, 40)}) {
        QImage image(size, QImage::Format_RGB32);
        QPainter p(&image);
        PaintFigure(p, in, QSizeF(size), FigureStyle::Print(13));
        p.end();
        EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    }
}

} // namespace
} // namespace vendrak
