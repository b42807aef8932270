// The graph through the window: the Plot command and its fields, navigation
// with the exact field texts, the graph area's mouse and the clipboard.
#include "core/graph/graph_drawing.h"
#include "core/graph/navigation.h"
#include "app/picture_box.h"
#include "app/main_window.h"
#include "support/fake_dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <tuple>

namespace vendrak {
namespace {

struct Window {
    Dimension dim;
    test::FakeDialogs dlg;
    MainWindow w{dim, dlg};

    Window() { dim.SeriesType = 1; dim.Coeffs = {0, 0.5}; dim.TermCount = 1; } // f(x) = x/2

    // The four window limit fields as one text, "lx gx ly gy".
    std::string limits() const
    {
        QStringList t;
        for (const QLineEdit* f : {w.txtWindowlx, w.txtWindowgx, w.txtWindowly, w.txtWindowgy})
            t << f->text();
        return t.join(u' ').toStdString();
    }
    void setLimits(const char* texts)
    {
        const QStringList t = QString::fromLatin1(texts).split(u' ');
        for (int i = 0; QLineEdit* f : {w.txtWindowlx, w.txtWindowgx, w.txtWindowly, w.txtWindowgy})
            f->setText(t[i++]);
    }
    bool blank() const
    {
        QImage plain = w.Picture1->image();
        plain.fill(plain.pixel(0, 0));
        return w.Picture1->image() == plain;
    }
};

TEST(GraphWindow, PlotFromTheFieldsAndTheImageTakenOrCopiedWhateverThePersistSetting)
{
    Window win;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("something else"));
    win.w.mnuCopy->trigger();
    EXPECT_EQ(clipboard->image().size(), QSize(396, 296)); // the blank canvas, inside its border
    EXPECT_TRUE(clipboard->text().isEmpty());

    win.w.cmdPlot->click(); // the initial window, study fields read too
    EXPECT_EQ(std::tuple(win.dim.GraphShown, win.dim.WindowLX, win.dim.WindowGY, win.dim.XLower),
              std::tuple(true, -20.0f, 15.0f, -8.0));
    EXPECT_EQ(win.w.Picture1->image().pixel(79, 207), qRgb(0, 0, 0)); // f(x) = x/2 at x = -12
    EXPECT_FALSE(win.w.DrawingGraph);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const QImage plain = win.w.graphImage();
    EXPECT_FALSE(win.w.Picture1->autoRedraw());
    win.w.chkPersist->setChecked(true);
    win.w.cmdPlot->click();
    EXPECT_TRUE(win.w.Picture1->autoRedraw());
    EXPECT_EQ(win.w.graphImage(), plain);
    win.w.mnuCopy->trigger();
    EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB32), plain.convertToFormat(QImage::Format_RGB32));
}

TEST(GraphWindow, EditingAPlotFieldBlanksTheGraphButOptionsWaitForThePlot)
{
    Window win;
    win.w.cmdPlot->click();
    win.w.chkGrid->setChecked(false);
    win.w.chkShade->setChecked(false);
    EXPECT_TRUE(win.dim.GraphShown);
    for (QLineEdit* field : {win.w.txtWindowlx, win.w.txtWindowgx, win.w.txtWindowly, win.w.txtWindowgy,
                             win.w.txtXorigin, win.w.txtYorigin, win.w.txtDivx, win.w.txtDivy, win.w.txtPlotStep}) {
        win.w.cmdPlot->click();
        ASSERT_TRUE(win.dim.GraphShown);
        ASSERT_FALSE(win.blank());
        field->setText(field->text() + u'0');
        EXPECT_FALSE(win.dim.GraphShown) << field->objectName().toStdString();
        EXPECT_TRUE(win.blank());
    }
    // The derivative selector only when left changed.
    win.w.cmdPlot->click();
    win.w.cboDerivative_GotFocus();
    win.w.cboDerivative_LostFocus();
    EXPECT_TRUE(win.dim.GraphShown);
    win.w.cboDerivative_GotFocus();
    win.w.cboDerivative->setCurrentIndex(2);
    win.w.cboDerivative_LostFocus();
    EXPECT_FALSE(win.dim.GraphShown);
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

TEST(GraphWindow, WindowThatCannotBeDrawnIsRefusedWithAMessageAndTheWindowStaysUsable)
{
    Window win;
    const std::tuple<const char*, const char*, QString> cases[] = {
        {"5 5 -15 15", "1", kEmptyWindowMessage},
        {"-20 20 -15 15", "0", kPlotStepMessage}, // as a saved study can bring it
        {"-1E+39 20 -15 15", "1", QStringLiteral("Cannot plot: a plot setting holds a number too large for the graph.")},
    };
    for (const auto& [limits, step, message] : cases) {
        win.setLimits(limits);
        win.w.txtPlotStep->setText(QLatin1String(step));
        win.w.cmdPlot->click();
        ASSERT_EQ(win.dlg.messages.size(), 1u) << limits;
        EXPECT_EQ(win.dlg.messages[0].text.toStdString(), message.toStdString());
        EXPECT_EQ(win.dlg.messages[0].title, QStringLiteral("Vendrak"));
        EXPECT_FALSE(win.dim.GraphShown);
        EXPECT_TRUE(win.blank());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        win.dlg.messages.clear();
    }
    // A step to a window a single cannot hold is refused with the plot's
    // message, or with its own when the limits themselves overflow; either
    // way the fields keep the window drawn last, and the graph stays.
    win.w.txtPlotStep->setText(QStringLiteral("1"));
    for (const auto& [limits, message] : {std::pair{"-1E+38 1E+38 -15 15", kHugeWindowMessage},
                                          std::pair{"-3.4E+38 -3.3E+38 -15 15", kViewRangeMessage}}) {
        win.setLimits(limits);
        win.w.cmdPlot->click();
        win.dlg.messages.clear();
        for (int i = 0; i < 2; ++i)
            win.w.cmdZoomOut->click();
        EXPECT_EQ(win.limits(), limits);
        ASSERT_EQ(win.dlg.messages.size(), 2u);
        EXPECT_EQ(win.dlg.messages[1].text, message);
        EXPECT_TRUE(win.dim.GraphShown);
    }
    win.w.cmdZoomIn->click(); // and from there the window is usable again
    EXPECT_EQ(win.limits(), "-3.375E+38 -3.325E+38 -7.5 7.5");
    EXPECT_TRUE(win.dim.GraphShown);
}

TEST(GraphWindow, NothingStartsWhileTheGraphIsBeingDrawn)
{
    Window win;
    win.w.cmdPlot->click();
    // Work that arrives while the drawing lets events through.
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
    EXPECT_EQ(win.dim.WindowLX, -20.0f); // neither plot nor zoom ran
    EXPECT_EQ(win.w.txtWindowlx->text(), QStringLiteral("-10"));
    EXPECT_FALSE(win.dim.GraphShown); // the edit blanked it afterwards
    EXPECT_TRUE(win.blank());
}

TEST(GraphWindow, EveryNavigationButtonFromTheInitialWindow)
{
    Window win;
    const std::tuple<QPushButton*, const char*, const char*> cases[] = {
        {win.w.cmdZoomOut, "-20 20 -15 15", "-40 40 -30 30"},
        {win.w.cmdZoomQ1, "-20 20 -15 15", "0 20 0 15"},
        {win.w.cmdZoomQ2, "-20 20 -15 15", "-20 0 0 15"},
        {win.w.cmdZoomQ3, "-20 20 -15 15", "-20 0 -15 0"},
        {win.w.cmdZoomQ4, "-20 20 -15 15", "0 20 -15 0"},
        {win.w.cmdZoomIn, "-20 20 -15 15", "-10 10 -7.5 7.5"},
        {win.w.cmdPanRight, "-20 20 -15 15", "-10 30 -15 15"},
        {win.w.cmdPanUp, "-20 20 -15 15", "-20 20 -7.5 22.5"},
        {win.w.cmdPanLeft, "-20 20 -15 15", "-30 10 -15 15"},
        {win.w.cmdPanDown, "-20 20 -15 15", "-20 20 -22.5 7.5"},
        {win.w.cmdIncWindX, "-20 20 -15 15", "-30 30 -15 15"},
        {win.w.cmdDecWindX, "-20 20 -15 15", "-13.33333 13.33333 -15 15"},
        {win.w.cmdIncWindY, "-20 20 -15 15", "-20 20 -22.5 22.5"},
        {win.w.cmdDecWindY, "-20 20 -15 15", "-20 20 -10 10"},
        // From the texts as they read, not from the stored window.
        {win.w.cmdIncWindX, "-13.33333 13.33333 -15 15", "-19.99999 19.99999 -15 15"},
        {win.w.cmdPanRight, "0 8abc x 4", "2 10 0 4"},
    };
    for (const auto& [button, from, to] : cases) {
        win.setLimits(from);
        button->click();
        EXPECT_EQ(win.limits(), to) << button->objectName().toStdString();
        EXPECT_TRUE(win.dim.GraphShown); // each step plots the new window
        EXPECT_EQ(win.dim.WindowGX, QString::fromLatin1(to).split(u' ')[1].toFloat());
    }
    EXPECT_TRUE(win.dlg.messages.empty());
}

TEST(GraphWindow, ClickCentresTheLastGraphOnThePointAndTheTipNamesIt)
{
    Window win;
    // Before any graph the scale is in twips, 15 to the pixel: no window at all.
    // Pixels count from the interior, inside the 2-pixel border.
    QTest::mouseClick(win.w.Picture1, Qt::LeftButton, {}, QPoint(102, 52));
    EXPECT_EQ(win.limits(), "1500 1500 750 750");
    ASSERT_EQ(win.dlg.messages.size(), 1u);
    EXPECT_EQ(win.dlg.messages[0].text, kEmptyWindowMessage);

    win.setLimits("-19.8 19.8 -14.8 14.8"); // 0.1 to an interior pixel
    win.w.cmdPlot->click();
    emit win.w.Picture1->mouseMove(Qt::NoButton, Qt::NoModifier, QPointF(213, 168));
    EXPECT_EQ(win.w.Picture1->toolTip(), QStringLiteral("(1.5, -2): Click to center graph here"));
    EXPECT_EQ(CoordinateTip(0.1f, 1e20f), QStringLiteral("(0.1, 1E+20): Click to center graph here"));

    win.setLimits("-1 1 -1 1"); // typed but not plotted: the graph shown counts
    QTest::mouseClick(win.w.Picture1, Qt::LeftButton, {}, QPoint(250, 130)); // (5, 2)
    EXPECT_EQ(win.limits(), "-14.8 24.8 -12.8 16.8");
    QTest::mouseClick(win.w.Picture1, Qt::RightButton, {}, QPoint(200, 150)); // any button
    EXPECT_EQ(win.limits(), "-14.8 24.8 -12.8 16.8");
    // A double-click is two presses, not three: press, release, double-click,
    // release at one point centres once.
    const QPoint at(52, 32); // (-9.8, 13.8)
    QTest::mousePress(win.w.Picture1, Qt::LeftButton, {}, at);
    QTest::mouseRelease(win.w.Picture1, Qt::LeftButton, {}, at);
    QTest::mouseDClick(win.w.Picture1, Qt::LeftButton, {}, at);
    QTest::mouseRelease(win.w.Picture1, Qt::LeftButton, {}, at);
    EXPECT_EQ(win.limits(), "-29.6 9.999999 -1 28.6"); // once: twice would be far off
}

} // namespace
} // namespace vendrak
