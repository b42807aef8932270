// The File menu through the real window: open, study, save, open again.
#include "app/picture_box.h"
#include "app/main_window.h"
#include "support/fake_dialogs.h"

#include <QAction>
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

namespace {

QString example(const char* name)
{
    return QFileInfo(VENDRAK_SOURCE_DIR "/examples/" + QString(name)).absoluteFilePath();
}

QByteArray slurp(const QString& p)
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Window {
    Dimension dim;
    test::FakeDialogs dlg;
    MainWindow w{dim, dlg};

    void open(const QString& path)
    {
        dlg.openNames.push_back(path);
        w.mnuOpen->trigger();
    }
    // Everything the study shows: the series labels, the fourteen setting
    // boxes in the order a saved study restores them, the results.
    QStringList shown() const
    {
        QStringList out;
        for (const QLabel* l : {w.lblType, w.lblTerm, w.lblTerms, w.lblXLvalid, w.lblXUvalid, w.lblExpansion})
            out << l->text();
        for (const QLineEdit* e : {w.txtXlower, w.txtXupper, w.txtSubintervals, w.txtError, w.txtMaxcy, w.txtWindowlx,
                                   w.txtWindowgx, w.txtWindowly, w.txtWindowgy, w.txtXorigin, w.txtYorigin,
                                   w.txtPlotStep, w.txtDivx, w.txtDivy})
            out << e->text();
        out << w.lblRoots->text() << w.lblExtrema->text() << w.lblIntegral->text();
        for (const QListWidget* list : {w.lstRoots, w.lstExtrema})
            for (int i = 0; i < list->count(); ++i)
                out << list->item(i)->text();
        return out;
    }
    // Pixels unlike a spot the examples leave blank: something was drawn.
    int drawnPixels() const
    {
        const QImage image = w.Picture1->image();
        int n = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                n += image.pixel(x, y) != image.pixel(200, 290);
        return n;
    }
};

} // namespace

TEST(OpenSave, OpenStudySaveAsAndReopenInAFreshWindow)
{
    QTemporaryDir dir;
    const QString saved = dir.filePath("study.txt");
    QStringList before;
    {
        Window win;
        MainWindow& w = win.w;
        w.lstRoots->addItem("stale");
        win.open(example("sine_taylor.txt"));
        ASSERT_TRUE(win.dlg.messages.empty());
        // The intervals are preset from the interval of validity; no results.
        EXPECT_EQ(win.shown(), QStringList({"Power", "Degree:", "25", "-8", "8", "0", "-8", "8", "256", ".01", "20",
                                            "-8", "8", "-15", "15", "0", "0", "1", "1", "1", "", "", ""}));
        EXPECT_FALSE(w.lblPeriod->isVisibleTo(&w));
        EXPECT_TRUE(win.dim.GraphShown);
        EXPECT_GT(win.drawnPixels(), 500);

        w.txtXlower->setText("-7");
        w.txtXupper->setText("7.5");
        w.txtWindowly->setText("-1.5");
        w.txtDivy->setText(".5");
        for (QPushButton* b : {w.cmdPlot, w.cmdRoots, w.cmdExtrema, w.cmdIntegrate})
            b->click();
        ASSERT_TRUE(win.dlg.messages.empty());
        EXPECT_EQ(w.lblRoots->text(), "5 roots");
        before = win.shown();

        win.dlg.saveNames.push_back(saved);
        w.mnuSaveAs->trigger();
        EXPECT_EQ(win.dlg.saveAsked, 1);
        EXPECT_EQ(QImage(saved + ".bmp", "BMP").size(), QSize(396, 296));
        EXPECT_EQ(w.txtEquation->text(), saved);
        EXPECT_EQ(win.shown(), before);
        QFile::remove(saved); // with a file in hand, Save writes without asking
        w.mnuSave->trigger();
        EXPECT_EQ(win.dlg.saveAsked, 1);
        EXPECT_TRUE(QFileInfo::exists(saved));
    }
    Window again;
    again.open(saved);
    ASSERT_TRUE(again.dlg.messages.empty());
    QStringList restored = again.shown();
    EXPECT_EQ(restored.mid(6, 14), QStringList({"-7", "7.5", "256", ".01", "20", "-8", "8", "-1.5", "15", "0", "0",
                                                "1", "1", ".5"}));
    // A restore lists the minima first, always with the space; the same
    // entries otherwise. Their values are evaluated again at the abscissae
    // as the file keeps them (15 digits), so rounding noise of the series
    // may show in the last digit.
    EXPECT_TRUE(again.w.lstExtrema->item(0)->text().startsWith("MIN: ["));
    for (QString& s : before)
        s.replace("MIN:[", "MIN: [").replace("MAX:[", "MAX: [");
    std::sort(restored.begin(), restored.end());
    std::sort(before.begin(), before.end());
    ASSERT_EQ(restored.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const qsizetype value = before[i].indexOf(" , ") + 3;
        if (!before[i].startsWith("M") || value < 3) {
            EXPECT_EQ(restored[i], before[i]);
            continue;
        }
        const auto number = [value](const QString& entry) { return entry.mid(value).remove(']').toDouble(); };
        EXPECT_EQ(restored[i].left(value), before[i].left(value));
        EXPECT_NEAR(number(restored[i]), number(before[i]), 1e-12) << before[i].toStdString();
    }
    EXPECT_GT(again.drawnPixels(), 500);
}

// The source text is carried byte for byte, whatever its encoding and over
// however many lines it was quoted; a period " * " shows as the 2π it means.
// A study whose results were cleared saves no possible roots.
TEST(OpenSave, SourceTextBytesStarPeriodAndClearedResultsSurviveASave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.txt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("0,\"caf\xE9 \x93sq\x94\r\nsecond line\",-4,4,0,0,\" * \",3,#TRUE#\r\n0.5\r\n0\r\n0.5\r\n");
    f.close();
    Window win;
    win.open(path);
    ASSERT_TRUE(win.dlg.messages.empty());
    EXPECT_EQ(win.w.lblPeriod->text(), QStringLiteral("2π"));
    EXPECT_DOUBLE_EQ(win.dim.Period, 2 * M_PI);
    win.w.txtXlower->setText("-3.5");
    win.w.txtXupper->setText("3.5");
    win.w.cmdExtrema->click(); // f touches 0 at ±π
    ASSERT_GT(win.dim.PossibleRootCount, 0);
    win.w.txtXlower->setText("-1"); // a new study: the results go
    win.w.mnuSave->trigger();
    const QList<QByteArray> lines = slurp(path).split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], "0,\"caf\xE9 \x93sq\x94 second line\",-4,4,0,0,6.28318530717959,3,#TRUE#\r");
    EXPECT_EQ(lines[4].split(',').mid(6), QList<QByteArray>({"0", "0", "0", "0\r"}));
}

TEST(OpenSave, CancelsAndBadFilesChangeNothing)
{
    QTemporaryDir dir;
    const auto put = [&](const char* name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
        return f.fileName();
    };
    const QString file = put("sine.txt", slurp(example("sine_study.txt")));
    Window win;
    win.open(file);
    const QStringList shown = win.shown();
    const std::vector<double> coeffs = win.dim.Coeffs;
    ASSERT_GT(win.w.lstRoots->count(), 0);
    win.w.mnuSaveAs->trigger(); // no name given: cancelled
    win.w.mnuOpen->trigger(); // cancelled too
    EXPECT_EQ(win.dlg.saveAsked, 1);
    win.open(put("broken.txt", "0,\"x\",-1,1,0,1,0,3,#TRUE#\r\n1\r\n2\r\n")); // four promised, two given
    win.open(put("multi.txt", "1,\"xy\",-1,1,0,0,*,3,#TRUE#\r\n1\r\n2\r\n3\r\n"));
    win.open(dir.filePath("missing.txt"));
    ASSERT_EQ(win.dlg.messages.size(), 3u);
    EXPECT_EQ(win.dlg.messages[0].title, "Vendrak");
    EXPECT_TRUE(win.dlg.messages[0].text.contains("broken.txt"));
    EXPECT_EQ(win.dlg.messages[1].text, "SERIES IS MULTIVARIABLE.");
    EXPECT_TRUE(win.dlg.messages[2].text.contains("missing.txt"));
    EXPECT_EQ(win.shown(), shown);
    EXPECT_EQ(win.dim.Coeffs, coeffs);
    EXPECT_EQ(win.dim.FileName, file);
    EXPECT_EQ(slurp(file), slurp(example("sine_study.txt")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3); // no bitmap, nothing else

    Window fresh; // a first Save without a file asks; a cancel writes nothing
    fresh.w.mnuSave->trigger();
    EXPECT_EQ(fresh.dlg.saveAsked, 1);
    EXPECT_TRUE(fresh.dim.FileName.isEmpty());
}

TEST(OpenSave, AFileNamedOnTheCommandLineOpensLikeTheDialog)
{
    Window win;
    win.w.OpenSeriesFileNamed(QDir::current().relativeFilePath(example("square_wave.txt")));
    EXPECT_TRUE(win.dlg.messages.empty());
    EXPECT_EQ(win.dlg.openAsked, 0);
    EXPECT_EQ(win.dim.FileName, example("square_wave.txt"));
    EXPECT_EQ(win.shown().mid(0, 3), QStringList({"Trig", "# of terms:", "30"}));
    EXPECT_TRUE(win.w.lblPeriod->isVisibleTo(&win.w));
    EXPECT_EQ(win.w.lblPeriod->text(), "2π");
}
