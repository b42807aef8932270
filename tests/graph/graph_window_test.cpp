// The graph through the window: the Plot command and its fields, navigation
// with the exact field texts, the graph area's mouse and the clipboard.
#include "graph_fixture.h"

#include "graph/navigation.h"
#include "graph/picture_box.h"
#include "shell/shown_window.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace vendrak {
namespace {

using test::ShownWindow;

const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

struct Window {
    Dimension dim;
    test::FakeDialogs dlg;
    MainWindow w{dim, dlg};

    Window() { test::setPowerSeries(dim, {0, 0.5}); }

    QStringList windowTexts() const
    {
        return {w.txtWindowlx->text(), w.txtWindowgx->text(), w.txtWindowly->text(),
                w.txtWindowgy->text()};
    }
    void setWindowTexts(const char* lx, const char* gx, const char* ly, const char* gy)
    {
        w.txtWindowlx->setText(QString::fromLatin1(lx));
        w.txtWindowgx->setText(QString::fromLatin1(gx));
        w.txtWindowly->setText(QString::fromLatin1(ly));
        w.txtWindowgy->setText(QString::fromLatin1(gy));
    }
    bool pictureIsBlank() const
    {
        const QImage& image = w.Picture1->image();
        const QRgb first = image.pixel(0, 0);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != first)
                    return false;
        return true;
    }
    QColor pixel(int x, int y) const { return w.Picture1->image().pixelColor(x, y); }
};

QStringList texts(const char* lx, const char* gx, const char* ly, const char* gy)
{
    return {QString::fromLatin1(lx), QString::fromLatin1(gx), QString::fromLatin1(ly),
            QString::fromLatin1(gy)};
}

// ---------------------------------------------------------------- Plot

TEST(GraphWindow, PlotDrawsTheInitialWindowFromTheFields)
{
    Window win;
    EXPECT_FALSE(win.dim.GraphShown);
    EXPECT_TRUE(win.pictureIsBlank());
    win.w.cmdPlot->click();
    EXPECT_TRUE(win.dim.GraphShown);
    EXPECT_TRUE(win.dlg.messages.empty());
    EXPECT_EQ(win.dim.WindowLX, -20.0f);
    EXPECT_EQ(win.dim.WindowGY, 15.0f);
    EXPECT_EQ(win.dim.PlotStep, 1);
    EXPECT_TRUE(win.dim.GridOn);
    EXPECT_EQ(win.dim.XLower, -8.0); // the study fields were read
    EXPECT_EQ(win.w.graphWork.PixelX, 0.1f);
    EXPECT_EQ(win.w.graphWork.SampleStep, 0.1f);
    EXPECT_FALSE(win.w.DrawingGraph);
    EXPECT_EQ(win.pixel(399, 105), kYellow);
    EXPECT_EQ(win.pixel(255, 150), kRed);
    EXPECT_EQ(win.pixel(80, 210), kBlack); // f(x) = x/2 at x = -12
    EXPECT_EQ(win.w.graphImage(), win.w.Picture1->image());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(GraphWindow, PersistSettingIsKeptAndTheImageHoldsTheGraphEitherWay)
{
    Window win;
    win.w.cmdPlot->click();
    EXPECT_FALSE(win.w.Picture1->autoRedraw());
    const QImage notPersistent = win.w.graphImage();
    win.w.chkPersist->setChecked(true);
    win.w.cmdPlot->click();
    EXPECT_TRUE(win.w.Picture1->autoRedraw());
    EXPECT_EQ(win.w.graphImage(), notPersistent);
}

TEST(GraphWindow, TakingTheImageNamesTheOrderOfTheGraphShown)
{
    Window win;
    win.w.cboDerivative->setCurrentIndex(2);
    win.w.cmdPlot->click();
    win.dim.DerivOrder = 3; // as a point value of another order leaves it
    win.w.graphImage();
    EXPECT_EQ(win.dim.DerivOrder, 2);
    // With no graph shown there is no order to name.
    win.w.InvalidateGraph();
    win.dim.DerivOrder = 3;
    win.w.graphImage();
    EXPECT_EQ(win.dim.DerivOrder, 3);
}

TEST(GraphWindow, EditingAPlotFieldBlanksTheGraphButOptionsWaitForThePlot)
{
    Window win;
    win.w.cmdPlot->click();
    win.w.chkGrid->setChecked(false);
    win.w.chkShade->setChecked(false);
    EXPECT_TRUE(win.dim.GraphShown);
    EXPECT_FALSE(win.pictureIsBlank());
    win.w.txtDivx->setText(QStringLiteral("12"));
    EXPECT_FALSE(win.dim.GraphShown);
    EXPECT_TRUE(win.pictureIsBlank());

    for (QLineEdit* field : {win.w.txtWindowlx, win.w.txtWindowgy, win.w.txtXorigin,
                             win.w.txtYorigin, win.w.txtDivy, win.w.txtPlotStep}) {
        win.w.cmdPlot->click();
        ASSERT_TRUE(win.dim.GraphShown);
        field->setText(field->text() + u'0');
        EXPECT_FALSE(win.dim.GraphShown) << field->objectName().toStdString();
    }
}

TEST(GraphWindow, PlotStepAndDivisionFieldsRefuseWhatCannotBeDrawn)
{
    Window win;
    const auto refuses = [&](QLineEdit* field, void (MainWindow::*validate)(bool&), const char* text) {
        field->setText(QString::fromLatin1(text));
        bool cancel = false;
        (win.w.*validate)(cancel);
        return cancel;
    };
    for (const char* bad : {"81", "0", "2.5", "-1", "abc", "1E+999"})
        EXPECT_TRUE(refuses(win.w.txtPlotStep, &MainWindow::txtPlotStep_Validate, bad)) << bad;
    for (const char* good : {"1", "80", "40x"})
        EXPECT_FALSE(refuses(win.w.txtPlotStep, &MainWindow::txtPlotStep_Validate, good)) << good;
    for (const char* bad : {"0", "", "-0", "x1"})
        EXPECT_TRUE(refuses(win.w.txtDivx, &MainWindow::txtDivx_Validate, bad)) << bad;
    EXPECT_FALSE(refuses(win.w.txtDivy, &MainWindow::txtDivy_Validate, "-0.5"));
    EXPECT_TRUE(refuses(win.w.txtDivy, &MainWindow::txtDivy_Validate, "0.0"));
}

TEST(GraphWindow, LeavingAWindowLimitOutOfOrderSendsTheFocusToItsPartner)
{
    ShownWindow win;
    ASSERT_TRUE(win.activated);
    win.typeInto(win.w.txtWindowgx, QStringLiteral("-20"));
    win.tab();
    EXPECT_EQ(ShownWindow::focusedName(), QStringLiteral("txtWindowlx"));
    EXPECT_EQ(win.w.txtWindowgx->text(), QStringLiteral("-20")); // the text stays as typed

    win.typeInto(win.w.txtWindowgx, QStringLiteral("20"));
    win.typeInto(win.w.txtWindowly, QStringLiteral("15"));
    win.tab();
    EXPECT_EQ(ShownWindow::focusedName(), QStringLiteral("txtWindowgy"));
}

TEST(GraphWindow, DerivativeSelectorBlanksTheGraphOnlyWhenChanged)
{
    ShownWindow win;
    ASSERT_TRUE(win.activated);
    test::setPowerSeries(win.dim, {0, 0.5});
    win.w.cmdPlot->click();
    ASSERT_TRUE(win.dim.GraphShown);
    win.focus(win.w.cboDerivative);
    win.focus(win.w.txtXorigin);
    EXPECT_TRUE(win.dim.GraphShown);

    win.focus(win.w.cboDerivative);
    win.w.cboDerivative->setCurrentIndex(2);
    win.focus(win.w.txtXorigin);
    EXPECT_FALSE(win.dim.GraphShown);
    win.w.cmdPlot->click();
    EXPECT_EQ(win.dim.DerivOrder, 2);
}

// ---------------------------------------------------------------- settings that cannot be drawn

TEST(GraphWindow, WindowThatCannotBeDrawnIsRefusedWithAMessage)
{
    Window win;
    win.setWindowTexts("5", "5", "-15", "15");
    win.w.cmdPlot->click();
    ASSERT_EQ(win.dlg.messages.size(), 1u);
    EXPECT_EQ(win.dlg.messages[0].text, kEmptyWindowMessage);
    EXPECT_EQ(win.dlg.messages[0].title, QStringLiteral("Vendrak"));
    EXPECT_FALSE(win.dim.GraphShown);
    EXPECT_TRUE(win.pictureIsBlank());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A plot step of 0 that came in with a saved study.
    win.setWindowTexts("-20", "20", "-15", "15");
    win.w.txtPlotStep->setText(QStringLiteral("0"));
    win.w.cmdPlot->click();
    ASSERT_EQ(win.dlg.messages.size(), 2u);
    EXPECT_EQ(win.dlg.messages[1].text, kPlotStepMessage);

    // A limit beyond single precision.
    win.w.txtPlotStep->setText(QStringLiteral("1"));
    win.setWindowTexts("-1E+39", "20", "-15", "15");
    win.w.cmdPlot->click();
    ASSERT_EQ(win.dlg.messages.size(), 3u);
    EXPECT_FALSE(win.dim.GraphShown);

    // And the window is still usable.
    win.setWindowTexts("-20", "20", "-15", "15");
    win.w.cmdPlot->click();
    EXPECT_TRUE(win.dim.GraphShown);
    EXPECT_EQ(win.dlg.messages.size(), 3u);
}

TEST(GraphWindow, NothingStartsWhileTheGraphIsBeingDrawn)
{
    Window win;
    win.w.cmdPlot->click();
    // Work that arrives while the drawing lets events through: a second plot
    // from other limits and an edit of a plot field.
    bool ran = false;
    QTimer::singleShot(0, &win.w, [&] {
        ran = true;
        EXPECT_TRUE(win.w.DrawingGraph);
        win.w.txtWindowlx->setText(QStringLiteral("-10"));
        win.w.cmdPlot_Click();
        win.w.ChangeView(ViewZoomIn);
        win.w.mnuCopy_Click();
    });
    win.w.cmdPlot->click();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(win.w.DrawingGraph);
    EXPECT_EQ(win.dim.WindowLX, -20.0f);                // neither plot nor zoom ran
    EXPECT_EQ(win.w.txtWindowlx->text(), QStringLiteral("-10"));
    EXPECT_FALSE(win.dim.GraphShown);                   // the edit blanked it afterwards
    EXPECT_TRUE(win.pictureIsBlank());
}

// ---------------------------------------------------------------- navigation

TEST(GraphWindow, EveryNavigationButtonFromTheInitialWindow)
{
    Window win;
    struct Case {
        QPushButton* button;
        QStringList expected;
    };
    const Case cases[] = {
        {win.w.cmdZoomOut, texts("-40", "40", "-30", "30")},
        {win.w.cmdZoomQ1, texts("0", "20", "0", "15")},
        {win.w.cmdZoomQ2, texts("-20", "0", "0", "15")},
        {win.w.cmdZoomQ3, texts("-20", "0", "-15", "0")},
        {win.w.cmdZoomQ4, texts("0", "20", "-15", "0")},
        {win.w.cmdZoomIn, texts("-10", "10", "-7.5", "7.5")},
        {win.w.cmdPanRight, texts("-10", "30", "-15", "15")},
        {win.w.cmdPanUp, texts("-20", "20", "-7.5", "22.5")},
        {win.w.cmdPanLeft, texts("-30", "10", "-15", "15")},
        {win.w.cmdPanDown, texts("-20", "20", "-22.5", "7.5")},
        {win.w.cmdIncWindX, texts("-30", "30", "-15", "15")},
        {win.w.cmdDecWindX, texts("-13.33333", "13.33333", "-15", "15")},
        {win.w.cmdIncWindY, texts("-20", "20", "-22.5", "22.5")},
        {win.w.cmdDecWindY, texts("-20", "20", "-10", "10")},
    };
    for (const Case& c : cases) {
        win.setWindowTexts("-20", "20", "-15", "15");
        c.button->click();
        EXPECT_EQ(win.windowTexts(), c.expected) << c.button->objectName().toStdString();
        // Each step plots the new window.
        EXPECT_TRUE(win.dim.GraphShown);
        EXPECT_EQ(win.dim.WindowLX, c.expected[0].toFloat());
        EXPECT_EQ(win.dim.WindowGY, c.expected[3].toFloat());
    }
    EXPECT_TRUE(win.dlg.messages.empty());
}

TEST(GraphWindow, NarrowerThenWiderXLandsOnTheTextsNotOnTwenty)
{
    Window win;
    win.w.cmdDecWindX->click();
    EXPECT_EQ(win.windowTexts(), texts("-13.33333", "13.33333", "-15", "15"));
    win.w.cmdIncWindX->click();
    EXPECT_EQ(win.windowTexts(), texts("-19.99999", "19.99999", "-15", "15"));
}

TEST(GraphWindow, ZoomingOutPastTheSingleRangeIsRefusedAndChangesNothing)
{
    Window win;
    win.setWindowTexts("-1E+38", "1E+38", "-15", "15");
    win.w.cmdPlot->click();
    EXPECT_TRUE(win.dim.GraphShown);
    ASSERT_TRUE(win.dlg.messages.empty());
    // Twice as wide no longer fits a single: the plot says so.
    win.w.cmdZoomOut->click();
    EXPECT_EQ(win.windowTexts(), texts("-2E+38", "2E+38", "-30", "30"));
    ASSERT_EQ(win.dlg.messages.size(), 1u);
    EXPECT_EQ(win.dlg.messages[0].text, kHugeWindowMessage);
    EXPECT_FALSE(win.dim.GraphShown);
    // Once more and the limits themselves would overflow: nothing changes.
    win.w.cmdZoomOut->click();
    ASSERT_EQ(win.dlg.messages.size(), 2u);
    EXPECT_EQ(win.dlg.messages[1].text, kViewRangeMessage);
    EXPECT_EQ(win.windowTexts(), texts("-2E+38", "2E+38", "-30", "30"));
    // Zooming back in works from there.
    win.w.cmdZoomIn->click();
    EXPECT_EQ(win.windowTexts(), texts("-1E+38", "1E+38", "-15", "15"));
    EXPECT_TRUE(win.dim.GraphShown);
}

TEST(GraphWindow, ClickCentresTheLastGraphOnThePoint)
{
    Window win;
    win.w.cmdPlot->click();
    // Typed but not plotted: the click still starts from the graph shown.
    win.setWindowTexts("-1", "1", "-1", "1");
    QTest::mouseClick(win.w.Picture1, Qt::LeftButton, {}, QPoint(250, 130)); // (5, 2)
    EXPECT_EQ(win.windowTexts(), texts("-15", "25", "-13", "17"));
    EXPECT_TRUE(win.dim.GraphShown);
    EXPECT_EQ(win.dim.WindowLX, -15.0f);
    // Any button centres.
    QTest::mouseClick(win.w.Picture1, Qt::RightButton, {}, QPoint(200, 150));
    EXPECT_EQ(win.windowTexts(), texts("-15", "25", "-13", "17"));
}

TEST(GraphWindow, ClickBeforeAnyGraphAsksForAWindowOfNoSizeAndIsRefused)
{
    Window win;
    QTest::mouseClick(win.w.Picture1, Qt::LeftButton, {}, QPoint(100, 50));
    // Twips until a graph sets the window: 15 to the pixel.
    EXPECT_EQ(win.windowTexts(), texts("1500", "1500", "750", "750"));
    ASSERT_EQ(win.dlg.messages.size(), 1u);
    EXPECT_EQ(win.dlg.messages[0].text, kEmptyWindowMessage);
    EXPECT_FALSE(win.dim.GraphShown);
}

TEST(GraphWindow, PointerMovesShowTheirCoordinatesInTheTip)
{
    Window win;
    win.w.cmdPlot->click();
    emit win.w.Picture1->mouseMove(Qt::NoButton, Qt::NoModifier, QPointF(215, 170));
    EXPECT_EQ(win.w.Picture1->toolTip(), QStringLiteral("(1.5, -2): Click to center graph here"));
    emit win.w.Picture1->mouseMove(Qt::NoButton, Qt::NoModifier, QPointF(0, 0));
    EXPECT_EQ(win.w.Picture1->toolTip(), QStringLiteral("(-20, 15): Click to center graph here"));
}

// ---------------------------------------------------------------- clipboard

TEST(GraphWindow, CopyPutsTheGraphOnTheClipboard)
{
    Window win;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("something else"));
    win.w.mnuCopy->trigger();
    QImage copied = clipboard->image();
    ASSERT_EQ(copied.size(), QSize(400, 300)); // the blank canvas before any plot

    win.w.cmdPlot->click();
    win.w.mnuCopy->trigger();
    win.w.mnuCopy->trigger(); // twice: the second copy is what stays
    copied = clipboard->image();
    ASSERT_EQ(copied.size(), QSize(400, 300));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              win.w.Picture1->image().convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(clipboard->text().isEmpty());
}

} // namespace
} // namespace vendrak
