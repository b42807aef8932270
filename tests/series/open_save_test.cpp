// The File menu through the real window: open, study, save, open again.
#include "graph/picture_box.h"
#include "series/series_file.h"
#include "shell/dimension.h"
#include "shell/main_window.h"
#include "support/fake_dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vendrak;
using vendrak::test::FakeDialogs;

namespace {

QString example(const QString& name)
{
    return QStringLiteral(VENDRAK_SOURCE_DIR "/examples/") + name;
}

QByteArray slurp(const QString& p)
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// The fourteen setting boxes, in the order a saved study restores them.
QStringList settings(const MainWindow& w)
{
    return {w.txtXlower->text(),   w.txtXupper->text(),   w.txtSubintervals->text(), w.txtError->text(),
            w.txtMaxcy->text(),    w.txtWindowlx->text(), w.txtWindowgx->text(),     w.txtWindowly->text(),
            w.txtWindowgy->text(), w.txtXorigin->text(),  w.txtYorigin->text(),      w.txtPlotStep->text(),
            w.txtDivx->text(),     w.txtDivy->text()};
}

// Pixels that are neither the background nor the frame: something was drawn.
int drawnPixels(const QImage& image)
{
    const QRgb background = image.pixel(200, 150 + 140);  // a spot the first sample files leave blank
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (image.pixel(x, y) != background)
                ++n;
    return n;
}

struct Window {
    Dimension dim;
    FakeDialogs dlg;
    MainWindow w{dim, dlg};

    void open(const QString& path)
    {
        dlg.openNames.push_back(path);
        w.mnuOpen->trigger();
    }
};

} // namespace

TEST(OpenSave, OpeningAnExampleWithoutStudyPresetsTheIntervalsAndPlots)
{
    Window win;
    win.w.lstRoots->addItem("stale");
    win.open(example("sine_taylor.txt"));
    MainWindow& w = win.w;
    ASSERT_TRUE(win.dlg.messages.empty()) << win.dlg.messages.front().text.toStdString();
    EXPECT_EQ(w.lblType->text(), "Power");
    EXPECT_EQ(w.lblTerm->text(), "Degree:");
    EXPECT_EQ(w.lblTerms->text(), "25");
    EXPECT_EQ(w.lblXLvalid->text(), "-8");
    EXPECT_EQ(w.lblXUvalid->text(), "8");
    EXPECT_EQ(w.lblExpansion->text(), "0");
    EXPECT_FALSE(w.lblPeriod->isVisibleTo(&w));
    EXPECT_EQ(w.txtXlower->text(), "-8");
    EXPECT_EQ(w.txtWindowlx->text(), "-8");
    EXPECT_EQ(w.txtXupper->text(), "8");
    EXPECT_EQ(w.txtWindowgx->text(), "8");
    EXPECT_EQ(w.txtEquation->text(), QFileInfo(example("sine_taylor.txt")).absoluteFilePath());
    EXPECT_EQ(w.lstRoots->count(), 0);
    EXPECT_TRUE(w.lblRoots->text().isEmpty());
    EXPECT_TRUE(win.dim.GraphShown);
    EXPECT_FALSE(win.dim.RestoringStudy);
    EXPECT_GT(drawnPixels(w.Picture1->image()), 500);
}

TEST(OpenSave, TrigonometricPeriodShowsTwoPiAndAPowerSeriesHidesIt)
{
    Window win;
    win.open(example("square_wave.txt"));
    EXPECT_EQ(win.w.lblType->text(), "Trig");
    EXPECT_EQ(win.w.lblTerm->text(), "# of terms:");
    EXPECT_TRUE(win.w.lblPeriod->isVisibleTo(&win.w));
    EXPECT_EQ(win.w.lblPeriod->text(), "2π");
    EXPECT_EQ(win.w.lblTerms->text(), QString::number(win.dim.TermCount + 1));

    win.open(example("sine_taylor.txt"));
    EXPECT_FALSE(win.w.lblPer->isVisibleTo(&win.w));
    EXPECT_FALSE(win.w.lblPeriod->isVisibleTo(&win.w));
}

TEST(OpenSave, StudyRoundTripsThroughSaveAsAndAFreshWindow)
{
    QTemporaryDir dir;
    const QString saved = dir.filePath("study.txt");
    QStringList settingsBefore;
    QStringList rootsBefore, extremaBefore;
    QString integralBefore, rootLabelBefore, extremaLabelBefore;
    {
        Window win;
        win.open(example("sine_taylor.txt"));
        MainWindow& w = win.w;
        w.txtXlower->setText("-7");
        w.txtXupper->setText("7.5");
        w.txtWindowly->setText("-1.5");
        w.txtWindowgy->setText("1.5");
        w.txtDivy->setText("0.5");
        w.cmdPlot->click();
        w.cmdRoots->click();
        w.cmdExtrema->click();
        w.cmdIntegrate->click();
        ASSERT_TRUE(win.dlg.messages.empty());
        EXPECT_EQ(w.lblRoots->text(), "5 roots");
        settingsBefore = settings(w);
        rootsBefore = items(w.lstRoots);
        extremaBefore = items(w.lstExtrema);
        integralBefore = w.lblIntegral->text();
        rootLabelBefore = w.lblRoots->text();
        extremaLabelBefore = w.lblExtrema->text();

        win.dlg.saveNames.push_back(saved);
        w.mnuSaveAs->trigger();
        EXPECT_EQ(win.dlg.saveAsked, 1);
        ASSERT_TRUE(QFileInfo::exists(saved));
        QImage bitmap(saved + ".bmp", "BMP");
        EXPECT_EQ(bitmap.size(), QSize(400, 300));
        EXPECT_EQ(win.dim.FileName, saved);
        EXPECT_EQ(w.txtEquation->text(), saved);
        EXPECT_TRUE(win.dim.GraphShown);
        EXPECT_EQ(w.lblRoots->text(), "5 roots");

        // With a file in hand, Save writes without asking.
        QFile::remove(saved);
        w.mnuSave->trigger();
        EXPECT_EQ(win.dlg.saveAsked, 1);
        EXPECT_TRUE(QFileInfo::exists(saved));
    }
    Window again;
    again.open(saved);
    ASSERT_TRUE(again.dlg.messages.empty());
    MainWindow& w = again.w;
    EXPECT_EQ(settings(w), (QStringList{"-7", "7.5", "256", ".01", "20", "-8", "8", "-1.5", "1.5", "0", "0", "1",
                                        "1", ".5"}));
    // The texts typed before saving come back as the same numbers.
    for (int i = 0; i < settingsBefore.size(); ++i)
        EXPECT_EQ(settings(w)[i].toDouble(), settingsBefore[i].toDouble()) << i;
    EXPECT_EQ(items(w.lstRoots), rootsBefore);
    EXPECT_EQ(w.lblRoots->text(), rootLabelBefore);
    EXPECT_EQ(w.lblIntegral->text(), integralBefore);
    EXPECT_EQ(w.lblExtrema->text(), extremaLabelBefore);
    // Minima come first after a restore; the same entries otherwise.
    QStringList restored = items(w.lstExtrema);
    QStringList before = extremaBefore;
    for (QString& s : before)
        s.replace("MIN:[", "MIN: [").replace("MAX:[", "MAX: [");
    std::sort(restored.begin(), restored.end());
    std::sort(before.begin(), before.end());
    EXPECT_EQ(restored, before);
    EXPECT_TRUE(items(w.lstExtrema).first().startsWith("MIN: ["));
    EXPECT_TRUE(again.dim.GraphShown);
    EXPECT_FALSE(again.dim.RestoringStudy);
}

TEST(OpenSave, CancelledDialogsChangeNothing)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("sine.txt");
    ASSERT_TRUE(QFile::copy(example("sine_study.txt"), file));
    const QByteArray before = slurp(file);

    Window win;
    win.open(file);
    ASSERT_EQ(win.dim.FileName, file);
    const QStringList roots = items(win.w.lstRoots);

    win.w.mnuSaveAs->trigger();  // no name given: cancelled
    EXPECT_EQ(win.dlg.saveAsked, 1);
    EXPECT_EQ(win.dim.FileName, file);
    win.w.mnuOpen->trigger();  // cancelled too
    EXPECT_EQ(win.dim.FileName, file);
    EXPECT_EQ(items(win.w.lstRoots), roots);
    EXPECT_EQ(slurp(file), before);
    EXPECT_FALSE(QFileInfo::exists(file + ".bmp"));

    // A first Save without a file asks, and a cancel writes nothing.
    Window fresh;
    fresh.w.mnuSave->trigger();
    EXPECT_EQ(fresh.dlg.saveAsked, 1);
    EXPECT_TRUE(fresh.dim.FileName.isEmpty());
}

TEST(OpenSave, SavingWithoutAGraphLeavesAnEarlierBitmapAlone)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("sine.txt");
    ASSERT_TRUE(QFile::copy(example("sine_taylor.txt"), file));
    QFile old(file + ".bmp");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier");
    old.close();

    Window win;
    win.open(file);
    win.w.txtDivx->setText("2");  // a plot field edit blanks the graph
    EXPECT_FALSE(win.dim.GraphShown);
    win.w.mnuSave->trigger();
    EXPECT_EQ(slurp(file + ".bmp"), QByteArray("earlier"));
    EXPECT_TRUE(slurp(file).contains("-8,8,-15,15,1,0,0,2,1"));
}

TEST(OpenSave, BadFilesLeaveThePreviousStudyInPlace)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.txt");
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("0,\"x\",-1,1,0,1,0,3,#TRUE#\r\n1\r\n2\r\n");  // four coefficients promised, two given
    }
    const QString multi = dir.filePath("multi.txt");
    {
        QFile f(multi);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("1,\"xy\",-1,1,0,0,*,3,#TRUE#\r\n1\r\n2\r\n3\r\n");
    }

    Window win;
    win.open(example("sine_study.txt"));
    const QStringList roots = items(win.w.lstRoots);
    const QStringList before = settings(win.w);
    const std::vector<double> coeffs = win.dim.Coeffs;
    ASSERT_FALSE(roots.isEmpty());

    win.open(broken);
    ASSERT_EQ(win.dlg.messages.size(), 1u);
    EXPECT_TRUE(win.dlg.messages[0].text.contains("broken.txt"));
    EXPECT_EQ(win.dlg.messages[0].title, "Vendrak");

    win.open(multi);
    ASSERT_EQ(win.dlg.messages.size(), 2u);
    EXPECT_EQ(win.dlg.messages[1].text, "SERIES IS MULTIVARIABLE.");

    win.open(dir.filePath("missing.txt"));
    ASSERT_EQ(win.dlg.messages.size(), 3u);
    EXPECT_TRUE(win.dlg.messages[2].text.contains("missing.txt"));

    EXPECT_EQ(items(win.w.lstRoots), roots);
    EXPECT_EQ(settings(win.w), before);
    EXPECT_EQ(win.dim.Coeffs, coeffs);
    EXPECT_EQ(win.w.lblType->text(), "Power");
    EXPECT_EQ(win.dim.FileName, QFileInfo(example("sine_study.txt")).absoluteFilePath());
}

TEST(OpenSave, AFailedSaveIsReportedAndTheFileOnDiskIsIntact)
{
    QTemporaryDir dir;
    const QString sub = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(sub));
    const QString file = sub + "/sine.txt";
    ASSERT_TRUE(QFile::copy(example("sine_taylor.txt"), file));
    const QByteArray before = slurp(file);

    Window win;
    win.open(file);
    QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner);
    if (QFileInfo(sub).isWritable())
        GTEST_SKIP() << "running as a user whom permissions do not stop";
    win.w.mnuSave->trigger();
    QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_GE(win.dlg.messages.size(), 1u);
    EXPECT_TRUE(win.dlg.messages.back().text.contains("sine.txt"));
    EXPECT_EQ(slurp(file), before);
}

TEST(OpenSave, SavingWhereNoFileCanBeMadeIsReported)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    Window win;
    win.open(example("sine_taylor.txt"));
    win.dlg.saveNames.push_back(dir.filePath("plain/study.txt"));  // a folder that is a file
    win.w.mnuSaveAs->trigger();
    ASSERT_GE(win.dlg.messages.size(), 1u);
    EXPECT_TRUE(win.dlg.messages.back().text.contains("study.txt"));
    EXPECT_EQ(win.dlg.messages.back().title, "Vendrak");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("plain/study.txt")));
}

TEST(OpenSave, AFileNamedOnTheCommandLineOpensLikeTheDialog)
{
    Window win;
    const QString relative = QDir::current().relativeFilePath(example("square_wave.txt"));
    win.w.OpenSeriesFileNamed(relative);
    EXPECT_TRUE(win.dlg.messages.empty());
    EXPECT_EQ(win.dim.FileName, QFileInfo(example("square_wave.txt")).absoluteFilePath());
    EXPECT_EQ(win.w.lblType->text(), "Trig");
    EXPECT_EQ(win.dlg.openAsked, 0);
}
