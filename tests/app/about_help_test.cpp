// Help and About.
#include "app/about_window.h"
#include "app/help_viewer.h"
#include "support/shown_window.h"

#include <QScrollBar>
#include <gtest/gtest.h>

using namespace vendrak;

TEST(About, LargeOrangeLinesOnBlackWrittenBelowEachOtherUntilAClickCloses)
{
    test::ShownWindow s;
    s.w.mnuAbout->trigger();
    AboutWindow* about = s.w.aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->objectName(), "frmAbout");
    EXPECT_EQ(about->size(), QSize(640, 480));
    EXPECT_EQ(about->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(about->palette().color(QPalette::WindowText), QColor(255, 192, 128));
    EXPECT_TRUE(about->font().bold());
    EXPECT_EQ(about->font().pixelSize(), 32); // 24 points
    const QStringList lines{"", "", "", "Vendrak", "", "Studies functions given as series", "",
                            "Free software, MIT License", "", "Version " VENDRAK_VERSION};
    EXPECT_EQ(about->lines(), lines);
    s.w.mnuAbout->trigger(); // again: the same window, written further down
    EXPECT_EQ(s.w.aboutWindow()->lines(), lines + lines);
    QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(300, 300));
    s.settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(s.w.aboutWindow(), nullptr);
    EXPECT_TRUE(s.w.isVisible());
}

TEST(Help, OpensTheDocumentAtItsContentsAndSaysSoWhenItIsMissing)
{
    test::ShownWindow s;
    EXPECT_EQ(s.w.helpFile(), QCoreApplication::applicationDirPath() + "/help/index.html"); // beside the program
    s.w.setHelpFile(QStringLiteral(VENDRAK_SOURCE_DIR "/help/index.html"));
    s.w.mnuHelp->trigger();
    HelpViewer* help = s.w.helpViewer();
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(help->fileMissing());
    EXPECT_TRUE(help->toPlainText().contains("Contents"));
    EXPECT_LT(help->verticalScrollBar()->value(), help->viewport()->height() / 4);
    s.w.setHelpFile("/nonexistent/help/index.html");
    s.w.mnuHelp->trigger();
    EXPECT_EQ(s.w.helpViewer(), help); // one viewer, reused
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->fileMissing());
    EXPECT_TRUE(help->toPlainText().contains("missing"));
    EXPECT_TRUE(help->toPlainText().contains("/nonexistent/help/index.html"));
    EXPECT_TRUE(s.dlg.messages.empty());
    EXPECT_TRUE(s.w.isVisible());
    help->close();
}
