// What a command that cannot do its work leaves behind, through the real
// window: the files on disk, the file the study belongs to, the plot window,
// the restored counts and the scan labels.
#include "app/main_window.h"
#include "support/fake_dialogs.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vendrak;

namespace {

QByteArray slurp(const QString& p)
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// sine_study.txt, copied into `dir` with its study line's counts replaced.
QString studyWithCounts(const QTemporaryDir& dir, const QByteArray& subintervals, const QByteArray& iterations)
{
    QByteArray text = slurp(VENDRAK_SOURCE_DIR "/examples/sine_study.txt");
    const QByteArray line = "-7,7,256,1E-09,20,";
    EXPECT_TRUE(text.contains(line));
    text.replace(line, "-7,7," + subintervals + ",1E-09," + iterations + ",");
    const QString path = dir.filePath("study.txt");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(text) == text.size());
    return path;
}

struct Window {
    Dimension dim;
    test::FakeDialogs dlg;
    MainWindow w{dim, dlg};

    void open(const QString& path)
    {
        dlg.openNames.push_back(path);
        w.mnuOpen->trigger();
        ASSERT_TRUE(dlg.messages.empty()) << dlg.messages.front().text.toStdString();
    }
    QString limits() const
    {
        QStringList t;
        for (const QLineEdit* f : {w.txtWindowlx, w.txtWindowgx, w.txtWindowly, w.txtWindowgy})
            t << f->text();
        return t.join(u' ');
    }
};

} // namespace

TEST(Safety, ASaveRefusedOrFailedLeavesBothFilesAndTheFileName)
{
    QTemporaryDir dir;
    Window win;
    const QString file = studyWithCounts(dir, "256", "20");
    const QString bitmap = file + ".bmp";
    win.open(file);
    win.w.mnuSave->trigger();
    ASSERT_TRUE(win.dlg.messages.empty());
    const QByteArray series = slurp(file), picture = slurp(bitmap);
    ASSERT_TRUE(picture.startsWith("BM"));

    // Another picture and another study, which neither save may write.
    win.w.txtXlower->setText("-6");
    win.w.cmdZoomIn->click();
    const struct { const char* name; QString saveAs; const char* iterations; } cases[] = {
        {"a study field the file could not hold", {}, "1e10"},
        {"Save As into a missing folder", dir.filePath("missing/other.txt"), "20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        win.w.txtMaxcy->setText("20");
        win.w.cmdPlot->click();
        win.w.txtMaxcy->setText(c.iterations); // after the plot, which would refuse it
        ASSERT_TRUE(win.dim.GraphShown);
        win.dlg.messages.clear();
        if (c.saveAs.isEmpty()) {
            win.w.mnuSave->trigger();
        } else {
            win.dlg.saveNames.push_back(c.saveAs);
            win.w.mnuSaveAs->trigger();
        }
        ASSERT_EQ(win.dlg.messages.size(), 1u);
        EXPECT_EQ(slurp(file), series);
        EXPECT_EQ(slurp(bitmap), picture);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList({"study.txt", "study.txt.bmp"}));
        EXPECT_EQ(win.dim.FileName, file);
        EXPECT_EQ(win.w.txtEquation->text(), file);
    }
    // The next Save still goes to the file the study came from.
    win.dlg.messages.clear();
    win.w.mnuSave->trigger();
    EXPECT_TRUE(win.dlg.messages.empty());
    EXPECT_NE(slurp(file), series);
    EXPECT_NE(slurp(bitmap), picture);

    // Without a file, a cancelled dialog writes nothing and names nothing.
    Window fresh;
    fresh.w.mnuSave->trigger();
    EXPECT_EQ(fresh.dlg.saveAsked, 1);
    EXPECT_TRUE(fresh.dim.FileName.isEmpty());
    EXPECT_TRUE(fresh.dlg.messages.empty());
}

TEST(Safety, ZoomingInNeverCollapsesTheWindow)
{
    Window win;
    // Small enough for 100 halvings to go below what a single can hold.
    for (QLineEdit* f : {win.w.txtWindowlx, win.w.txtWindowly})
        f->setText("-1E-25");
    for (QLineEdit* f : {win.w.txtWindowgx, win.w.txtWindowgy})
        f->setText("1E-25");
    win.w.cmdPlot->click();
    ASSERT_TRUE(win.dlg.messages.empty());
    QString drawn = win.limits();
    size_t refusals = 0;
    for (int i = 0; i < 100; ++i) {
        win.w.cmdZoomIn->click();
        if (win.dlg.messages.size() > refusals) {
            refusals = win.dlg.messages.size();
            EXPECT_EQ(win.limits(), drawn) << i;
        } else {
            drawn = win.limits();
        }
        ASSERT_NE(win.limits(), "0 0 0 0") << i;
        ASSERT_TRUE(win.dim.GraphShown) << i;
    }
    ASSERT_GT(refusals, 20u);
    EXPECT_EQ(win.dlg.messages.back().text,
              QStringLiteral("Cannot plot: the plot window is too small to be drawn."));
    // And the way back out is open.
    win.w.cmdZoomOut->click();
    EXPECT_EQ(win.dlg.messages.size(), refusals);
    EXPECT_NE(win.limits(), drawn);
}

TEST(Safety, ARestoredStudyGetsTheCountsTheFieldsWouldTake)
{
    const struct { QByteArray subintervals, iterations; QString fieldSubintervals, fieldIterations; } cases[] = {
        {"2147483647", "20", "1073741824", "29"},
        {"-3", "0", "2", "1"},
        {"300", "2147483647", "512", "1073741824"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.subintervals.toStdString());
        QTemporaryDir dir;
        Window win;
        win.open(studyWithCounts(dir, c.subintervals, c.iterations));
        EXPECT_EQ(win.w.txtSubintervals->text(), c.fieldSubintervals);
        EXPECT_EQ(win.w.txtMaxcy->text(), c.fieldIterations);
        EXPECT_EQ(win.dim.Subintervals, c.fieldSubintervals.toInt());
        EXPECT_EQ(win.w.lblRoots->text(), "5 roots"); // the results still restored
    }
}

TEST(Safety, AScanThatCannotTakeAStepSaysItFoundNothing)
{
    Window win;
    win.open(VENDRAK_SOURCE_DIR "/examples/sine_taylor.txt");
    // 1000 / 256 is below the spacing of doubles at 1e17.
    win.w.txtXlower->setText("100000000000000000");
    win.w.txtXupper->setText("100000000000001000");
    win.w.cmdRoots->click();
    win.w.cmdExtrema->click();
    EXPECT_EQ(win.w.lblRoots->text(), "0 roots");
    EXPECT_EQ(win.w.lblExtrema->text(), "0 max. 0 min. ");
    EXPECT_EQ(win.w.lstRoots->count() + win.w.lstExtrema->count(), 0);
    EXPECT_TRUE(win.dlg.messages.empty());
}
