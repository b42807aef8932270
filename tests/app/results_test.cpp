// Working with the results beside what the window specifies: Ctrl+C in a
// result list copies its entries, and the file dialogs start where the
// user's series are.
#include "support/shown_window.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace vendrak;
using vendrak::test::ShownWindow;

TEST(Results, CtrlCCopiesTheSelectedEntriesOrAllAndDialogsStartBesideTheFile)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    s.w.mnuOpen->trigger(); // cancelled: nothing open yet, the examples are offered
    EXPECT_EQ(QFileInfo(s.dlg.startFolder).fileName(), "examples");
    const QString file = QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_taylor.txt");
    s.w.OpenSeriesFileNamed(file);
    s.w.cmdRoots->click();
    ASSERT_EQ(s.w.lstRoots->count(), 5);

    QGuiApplication::clipboard()->clear();
    s.focus(s.w.lstRoots);
    QTest::keyClick(s.w.lstRoots, Qt::Key_C, Qt::ControlModifier);
    QStringList all;
    for (int i = 0; i < 5; ++i)
        all << s.w.lstRoots->item(i)->text();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), all.join('\n'));
    s.w.lstRoots->item(3)->setSelected(true);
    QTest::keyClick(s.w.lstRoots, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), all[3]);

    s.w.mnuSaveAs->trigger(); // cancelled
    EXPECT_EQ(s.dlg.startFolder, QFileInfo(file).absolutePath());
}
