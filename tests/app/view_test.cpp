// The View menu, the wheel and the 255-entry limit beside the specified
// window: each goes through the window fields and Plot as navigation does.
#include "app/figure_window.h"
#include "support/shown_window.h"

#include <QSpinBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vendrak;

namespace {

struct ViewWindow : test::Window {
    QStringList limits() const { return Window::limits().split(u' '); }
};

TEST(View, FitYBackForwardAndTheWheelGoThroughTheWindowFields)
{
    ViewWindow v;
    v.w.OpenSeriesFileNamed(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_taylor.txt"));
    ASSERT_TRUE(v.dim.window.GraphShown);
    EXPECT_EQ(v.limits(), QStringList({"-8", "8", "-15", "15"}));
    EXPECT_FALSE(v.action("mnuBack")->isEnabled());

    v.action("mnuFitY")->trigger(); // sin x over -8..8: just around -1..1, readable
    EXPECT_EQ(v.limits(), QStringList({"-8", "8", "-1.2", "1.2"}));
    EXPECT_TRUE(v.dim.window.GraphShown);
    const QStringList fitted = v.limits();

    QTest::mouseClick(v.picture(), Qt::LeftButton, {}, QPoint(300, 100)); // click to centre
    const QStringList centred = v.limits();
    ASSERT_NE(centred, fitted);
    v.action("mnuBack")->trigger();
    EXPECT_EQ(v.limits(), fitted);
    v.action("mnuBack")->trigger();
    EXPECT_EQ(v.limits(), QStringList({"-8", "8", "-15", "15"}));
    EXPECT_FALSE(v.action("mnuBack")->isEnabled());
    v.action("mnuForward")->trigger();
    v.action("mnuForward")->trigger();
    EXPECT_EQ(v.limits(), centred);
    EXPECT_FALSE(v.action("mnuForward")->isEnabled());
    v.action("mnuBack")->trigger();
    v.button("cmdZoomOut")->click(); // a new view after Back drops the forward part
    EXPECT_FALSE(v.action("mnuForward")->isEnabled());

    // The wheel zooms about the point under the pointer, which stays there.
    const QPointF pixel(100, 80);
    const QPointF before = v.picture()->toUser(pixel);
    emit v.picture()->wheelTurned(1, pixel);
    const QPointF after = v.picture()->toUser(pixel);
    EXPECT_NEAR(after.x(), before.x(), 1e-5 * std::abs(before.x()) + 1e-6);
    EXPECT_NEAR(after.y(), before.y(), 1e-5 * std::abs(before.y()) + 1e-6);
    EXPECT_FLOAT_EQ(v.dim.plot.WindowGX - v.dim.plot.WindowLX, 16.0f); // half of 32 after Zoom Out
    EXPECT_TRUE(v.dlg.messages.empty());
}

TEST(View, AFullTableOfRootsIsSaid)
{
    QTemporaryDir dir;
    QFile f(dir.filePath("sin.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0,\"sin\",-500,500,0,0,*,3,#TRUE#\r\n0\r\n1\r\n0\r\n");
    f.close();
    ViewWindow v;
    v.w.OpenSeriesFileNamed(f.fileName());
    v.field("txtSubintervals")->setText("8192");
    v.button("cmdRoots")->click();
    EXPECT_EQ(v.list("lstRoots")->count(), 255);
    ASSERT_EQ(v.dlg.messages.size(), 1u);
    EXPECT_EQ(v.dlg.messages[0].title, "Vendrak");
    EXPECT_TRUE(v.dlg.messages[0].text.startsWith("Only the first 255 roots are kept"));
}

} // namespace

namespace {

// The figure follows every plot, keeps the study last drawn when a field
// edit blanks the graph area, and exports black on white at the sizes set.
TEST(View, TheFigureFollowsThePlotsAndExportsBlackOnWhite)
{
    ViewWindow v;
    FigureWindow& f = *test::Control<FigureWindow>(v.w, "frmFigure");
    EXPECT_FALSE(f.hasStudy());
    v.w.OpenSeriesFileNamed(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_study.txt"));
    FigureInput in = f.figureInput();
    EXPECT_EQ(in.title, "sin(x), Taylor series about 0, degree 25, with a saved study");
    EXPECT_EQ(std::tuple(in.xLow, in.xHigh, in.yLow, in.yHigh, in.intervalLow), std::tuple(-8., 8., -1.5, 1.5, -7.));
    EXPECT_EQ(in.marks.size(), 9u); // the roots and extrema saved with the study
    v.button("cmdZoomIn")->click();
    EXPECT_EQ(f.figureInput().xHigh, 4);
    v.field("txtWindowgx")->setText("100");
    EXPECT_FALSE(v.dim.window.GraphShown);
    EXPECT_EQ(f.figureInput().xHigh, 4);
    // Its marks are the last scans': editing the interval clears the lists,
    // not the figure, until Roots runs again (sin has one root in -1..1).
    v.field("txtXlower")->setText("-1");
    v.field("txtXupper")->setText("1");
    EXPECT_EQ(f.figureInput().marks.size(), 9u);
    v.button("cmdRoots")->click();
    ASSERT_EQ(f.figureInput().marks.size(), 1u);
    EXPECT_NEAR(f.figureInput().marks[0].x, 0, 1e-9);
    f.chkCurve[2]->setChecked(true);
    f.chkFitY->setChecked(true);
    in = f.figureInput();
    EXPECT_EQ(in.orders, (std::vector<int>{0, 2}));
    EXPECT_TRUE(in.fitY);

    // On screen the palette's colours; in the files black on white.
    QPalette dark = f.view->palette();
    dark.setColor(QPalette::Base, QColor(20, 30, 40));
    f.view->setPalette(dark);
    EXPECT_EQ(f.view->grab().toImage().pixel(1, 1), qRgb(20, 30, 40));
    QTemporaryDir dir;
    v.dlg.exportNames = {{dir.filePath("fig.png"), {}}, {dir.filePath("fig"), ExportFilters()[1]},
                         {dir.filePath("fig.pdf"), {}}, {dir.filePath("big.png"), {}}};
    f.spnPixelWidth->setValue(800);
    f.spnPixelHeight->setValue(500);
    for (int i = 0; i < 3; ++i)
        f.cmdFigureExport->click();
    EXPECT_TRUE(v.dlg.messages.empty());
    const QImage png(dir.filePath("fig.png"));
    EXPECT_EQ(png.size(), QSize(800, 500));
    EXPECT_EQ(png.pixel(0, 0), qRgb(255, 255, 255));
    QFile svg(dir.filePath("fig.svg")), pdf(dir.filePath("fig.pdf"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly) && pdf.open(QIODevice::ReadOnly));
    const QByteArray svgText = svg.readAll();
    EXPECT_TRUE(svgText.contains("viewBox=\"0 0 460 290\"") && svgText.contains(">sin(x), Taylor series"));
    EXPECT_TRUE(pdf.readAll().contains("/MediaBox [0 0 460.000000 290.000000]"));
    // Without Fit y the curves leave the window (-0.75..0.75 after Zoom In);
    // they stop at the frame, as SVG keeps no clip.
    f.chkFitY->setChecked(false);
    ASSERT_TRUE(f.exportFigure(dir.filePath("clip.svg"), ExportFormat::Svg, QSize(460, 290)).isEmpty());
    QFile clipped(dir.filePath("clip.svg"));
    ASSERT_TRUE(clipped.open(QIODevice::ReadOnly));
    const QString clippedText = QString::fromUtf8(clipped.readAll());
    QRegularExpressionMatchIterator paths = QRegularExpression(QStringLiteral(" d=\"([^\"]*)\"")).globalMatch(clippedText);
    int points = 0, outside = 0;
    while (paths.hasNext())
        for (const QString& xy : paths.next().captured(1).split(QRegularExpression(QStringLiteral("[MLCZ ]")), Qt::SkipEmptyParts)) {
            const QStringList v = xy.split(u',');
            ASSERT_EQ(v.size(), 2) << xy.toStdString();
            outside += !(v[0].toDouble() >= 0 && v[0].toDouble() <= 460 && v[1].toDouble() >= 0 && v[1].toDouble() <= 290);
            ++points;
        }
    EXPECT_GT(points, 500);
    EXPECT_EQ(outside, 0);
    // A size the spin boxes cannot hold never reaches a file.
    EXPECT_FALSE(f.exportFigure(dir.filePath("big.png"), ExportFormat::Png, QSize(20000, 10)).isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("big.png")));
}

} // namespace
