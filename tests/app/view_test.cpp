// The View menu, the wheel and the 255-entry limit beside the specified
// window: each goes through the window fields and Plot as navigation does.
#include "app/picture_box.h"
#include "support/fake_dialogs.h"

#include "app/main_window.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace vendrak;

namespace {

struct ViewWindow {
    Dimension dim;
    test::FakeDialogs dlg;
    MainWindow w{dim, dlg};
    QStringList limits() const
    {
        return {w.plotSetupFrame->txtWindowlx->text(), w.plotSetupFrame->txtWindowgx->text(), w.plotSetupFrame->txtWindowly->text(), w.plotSetupFrame->txtWindowgy->text()};
    }
};

TEST(View, FitYBackForwardAndTheWheelGoThroughTheWindowFields)
{
    ViewWindow v;
    v.w.OpenSeriesFileNamed(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_taylor.txt"));
    ASSERT_TRUE(v.dim.window.GraphShown);
    EXPECT_EQ(v.limits(), QStringList({"-8", "8", "-15", "15"}));
    EXPECT_FALSE(v.w.mnuBack->isEnabled());

    v.w.mnuFitY->trigger(); // sin x over -8..8: just around -1..1, readable
    EXPECT_EQ(v.limits(), QStringList({"-8", "8", "-1.2", "1.2"}));
    EXPECT_TRUE(v.dim.window.GraphShown);
    const QStringList fitted = v.limits();

    QTest::mouseClick(v.w.Picture1, Qt::LeftButton, {}, QPoint(300, 100)); // click to centre
    const QStringList centred = v.limits();
    ASSERT_NE(centred, fitted);
    v.w.mnuBack->trigger();
    EXPECT_EQ(v.limits(), fitted);
    v.w.mnuBack->trigger();
    EXPECT_EQ(v.limits(), QStringList({"-8", "8", "-15", "15"}));
    EXPECT_FALSE(v.w.mnuBack->isEnabled());
    v.w.mnuForward->trigger();
    v.w.mnuForward->trigger();
    EXPECT_EQ(v.limits(), centred);
    EXPECT_FALSE(v.w.mnuForward->isEnabled());
    v.w.mnuBack->trigger();
    v.w.navigationFrame->cmdZoomOut->click(); // a new view after Back drops the forward part
    EXPECT_FALSE(v.w.mnuForward->isEnabled());

    // The wheel zooms about the point under the pointer, which stays there.
    const QPointF pixel(100, 80);
    const QPointF before = v.w.Picture1->toUser(pixel);
    emit v.w.Picture1->wheelTurned(1, pixel);
    const QPointF after = v.w.Picture1->toUser(pixel);
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
    v.w.studySpecsFrame->txtSubintervals->setText("8192");
    v.w.cmdRoots->click();
    EXPECT_EQ(v.w.lstRoots->count(), 255);
    ASSERT_EQ(v.dlg.messages.size(), 1u);
    EXPECT_EQ(v.dlg.messages[0].title, "Vendrak");
    EXPECT_TRUE(v.dlg.messages[0].text.startsWith("Only the first 255 roots are kept"));
}

} // namespace
