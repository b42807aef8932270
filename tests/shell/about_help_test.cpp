// Help and About.
#include "shell/about_window.h"
#include "shell/help_viewer.h"
#include "shell/shown_window.h"

#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <gtest/gtest.h>

using namespace vendrak;
using vendrak::test::ShownWindow;

namespace {

QString helpSource() { return QStringLiteral(VENDRAK_SOURCE_DIR "/help/index.html"); }

} // namespace

TEST(About, ShowsTheTitleAndNoticeInLargeOrangeOnBlack)
{
    ShownWindow s;
    s.w.mnuAbout->trigger();
    AboutWindow* about = s.w.aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->objectName(), "frmAbout");
    EXPECT_EQ(about->size(), QSize(640, 480));
    EXPECT_EQ(about->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(about->palette().color(QPalette::WindowText), QColor(255, 192, 128));
    EXPECT_TRUE(about->font().bold());
    EXPECT_EQ(about->font().pixelSize(), 32);
    const QStringList lines = about->lines();
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines.mid(0, 5), QStringList({"", "", "", "Vendrak", ""}));
    EXPECT_FALSE(lines[5].isEmpty());
    EXPECT_TRUE(lines[6].isEmpty());
    EXPECT_FALSE(lines[7].isEmpty());
    EXPECT_TRUE(lines[8].isEmpty());
    EXPECT_EQ(lines[9], "https://vendrak.example.org");
    // Every line fits the window's width.
    const QFontMetrics fm(about->font());
    for (const QString& line : lines)
        EXPECT_LE(fm.horizontalAdvance(line), about->width()) << line.toStdString();
}

TEST(About, OpeningAgainWritesBelowAndAClickCloses)
{
    ShownWindow s;
    s.w.mnuAbout->trigger();
    s.w.mnuAbout->trigger();
    AboutWindow* about = s.w.aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->lines().size(), 20);
    EXPECT_EQ(about->lines().mid(10), about->lines().mid(0, 10));

    QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(300, 300));
    s.settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(s.w.aboutWindow(), nullptr);
    EXPECT_TRUE(s.w.isVisible());

    s.w.mnuAbout->trigger(); // a new window starts at the top again
    ASSERT_NE(s.w.aboutWindow(), nullptr);
    EXPECT_EQ(s.w.aboutWindow()->lines().size(), 10);
}

TEST(Help, AMissingDocumentIsSaidInTheViewerAndTheProgramGoesOn)
{
    ShownWindow s;
    s.w.setHelpFile("/nonexistent/help/index.html");
    s.w.mnuHelp->trigger();
    HelpViewer* help = s.w.helpViewer();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->fileMissing());
    EXPECT_TRUE(help->toPlainText().contains("missing"));
    EXPECT_TRUE(help->toPlainText().contains("/nonexistent/help/index.html"));
    EXPECT_TRUE(s.dlg.messages.empty());
    EXPECT_TRUE(s.w.isVisible());
    help->close();
}

TEST(Help, ByDefaultTheDocumentBesideTheProgramIsShown)
{
    ShownWindow s;
    EXPECT_EQ(s.w.helpFile(), QCoreApplication::applicationDirPath() + "/help/index.html");
}

TEST(Help, TheDocumentOpensAtItsContents)
{
    ShownWindow s;
    s.w.setHelpFile(helpSource());
    s.w.mnuHelp->trigger();
    HelpViewer* help = s.w.helpViewer();
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(help->fileMissing());
    const QString text = help->toPlainText();
    EXPECT_TRUE(text.contains("Contents"));
    EXPECT_LT(help->verticalScrollBar()->value(), help->viewport()->height() / 4);
    // Help again reuses the one viewer.
    s.w.mnuHelp->trigger();
    EXPECT_EQ(s.w.helpViewer(), help);
    help->close();
}

TEST(Help, TheDocumentCoversTheFileFormatEveryCommandAndTheFields)
{
    QFile f(helpSource());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(f.readAll());
    for (const char* topic :
         {"series file", "#TRUE#", "coefficients", "Roots", "Extrema", "Integral", "Value=", "Plot",
          "File, Open", "File, Save", "Save As", "Copy graph to clipboard", "Print", "About",
          "Zoom", "Pan", "# of subintervals", "Approx. error bound", "Max. # of iterations",
          "Plot step", "x-divisions", "decimal"})
        EXPECT_TRUE(html.contains(QString::fromUtf8(topic))) << topic;
    // Every link inside the document leads somewhere.
    QSet<QString> anchors;
    for (const auto& m : QRegularExpression(R"re(name="([^"]+)")re").globalMatch(html))
        anchors.insert(m.captured(1));
    int links = 0;
    for (const auto& m : QRegularExpression(R"re(href="#([^"]+)")re").globalMatch(html)) {
        ++links;
        EXPECT_TRUE(anchors.contains(m.captured(1))) << m.captured(1).toStdString();
    }
    EXPECT_GT(links, 10);
    EXPECT_TRUE(anchors.contains("contents"));
}
