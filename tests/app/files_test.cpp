// The File menu through the real window: open, study, save, open again; and
// what a save that cannot do its work leaves behind: the files on disk byte
// for byte, the file the study belongs to, everything the window shows.
#include "support/analysis_fixtures.h"
#include "support/shown_window.h"
#include "support/watchdog.h"

#include <QtWidgets>
#include <QCryptographicHash>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/resource.h>

using namespace vendrak;
using namespace vendrak::test;

namespace {

// The series labels, the fourteen setting boxes in the order a saved study
// restores them, the results.
QStringList shown(const Window& s)
{
    QStringList out;
    for (const char* l : {"lblType", "lblTerm", "lblTerms", "lblXLvalid", "lblXUvalid", "lblExpansion"})
        out << s.label(l)->text();
    for (const char* e : {"txtXlower", "txtXupper", "txtSubintervals", "txtError", "txtMaxcy", "txtWindowlx", "txtWindowgx",
                          "txtWindowly", "txtWindowgy", "txtXorigin", "txtYorigin", "txtPlotStep", "txtDivx", "txtDivy"})
        out << s.field(e)->text();
    return out << s.label("lblRoots")->text() << s.label("lblExtrema")->text() << s.label("lblIntegral")->text()
               << items(s.list("lstRoots")) << items(s.list("lstExtrema"));
}

// All the window shows and what the study holds beyond it.
QStringList state(const Window& s)
{
    QStringList out = shown(s) << s.field("txtEquation")->text() << s.label("lblDerVal")->text() << s.dim.window.FileName;
    for (const QCheckBox* c : s.w.findChildren<QCheckBox*>())
        out << c->objectName() + (c->isChecked() ? "=on" : "=off");
    for (double v : std::initializer_list<double>{double(s.dim.window.GraphShown), double(s.dim.results.Roots.size()), double(s.dim.results.Maxima.size()),
                                                  double(s.dim.results.Minima.size()), double(s.dim.results.IntegralDone), s.dim.results.IntegralValue,
                                                  double(s.dim.series.Coeffs.size()), s.dim.results.Roots.empty() ? 0.0 : s.dim.results.Roots[0], double(s.dim.study.Subintervals)})
        out << QString::number(v, 'g', 17);
    return out;
}

// Names and digests of everything in a folder.
QStringList folderContents(const QString& dir)
{
    QStringList out;
    for (const QFileInfo& e : QDir(dir).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
        out << e.fileName() + ' '
                   + (e.isFile() ? QCryptographicHash::hash(slurp(e.filePath()), QCryptographicHash::Sha1).toHex() : "dir");
    return out;
}

int drawnPixels(const Window& s) // unlike a spot the examples leave blank
{
    const QImage image = s.picture()->image();
    int n = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            n += image.pixel(x, y) != image.pixel(200, 290);
    return n;
}

// sine_study.txt in `dir`, its study line's counts replaced.
QString studyWithCounts(const QTemporaryDir& dir, const QByteArray& subintervals = "256", const QByteArray& iterations = "20")
{
    QByteArray text = slurp(example("sine_study.txt"));
    EXPECT_TRUE(text.contains("-7,7,256,1E-09,20,"));
    text.replace("-7,7,256,1E-09,20,", "-7,7," + subintervals + ",1E-09," + iterations + ",");
    EXPECT_TRUE(put(dir.filePath("study.txt"), text));
    return dir.filePath("study.txt");
}

} // namespace

TEST(OpenSave, OpenStudySaveAsAndReopenInAFreshWindow)
{
    QTemporaryDir dir;
    const QString saved = dir.filePath("study.txt");
    QStringList before;
    {
        Window win;
        win.list("lstRoots")->addItem("stale");
        win.open(example("sine_taylor.txt"));
        ASSERT_TRUE(win.dlg.messages.empty());
        // The intervals are preset from the interval of validity; no results.
        EXPECT_EQ(shown(win), QStringList({"Power", "Degree:", "25", "-8", "8", "0", "-8", "8", "256", ".01", "20",
                                         "-8", "8", "-15", "15", "0", "0", "1", "1", "1", "", "", ""}));
        EXPECT_FALSE(win.label("lblPeriod")->isVisibleTo(&win.w));
        EXPECT_GT(drawnPixels(win), 500);

        win.field("txtXlower")->setText("-7");
        win.field("txtXupper")->setText("7.5");
        win.field("txtWindowly")->setText("-1.5");
        win.field("txtDivy")->setText(".5");
        win.click({"cmdPlot", "cmdRoots", "cmdExtrema", "cmdIntegrate"});
        ASSERT_TRUE(win.dlg.messages.empty());
        EXPECT_EQ(win.label("lblRoots")->text(), "5 roots");
        before = shown(win);
        win.dlg.saveNames.push_back(saved);
        win.action("mnuSaveAs")->trigger();
        EXPECT_EQ(QImage(saved + ".bmp", "BMP").size(), QSize(396, 296));
        EXPECT_EQ(win.field("txtEquation")->text(), saved);
        EXPECT_EQ(shown(win), before);
        QFile::remove(saved); // with a file in hand, Save writes without asking
        win.action("mnuSave")->trigger();
        EXPECT_EQ(win.dlg.saveAsked, 1);
        EXPECT_TRUE(QFileInfo::exists(saved));
    }
    Window again;
    again.open(saved);
    ASSERT_TRUE(again.dlg.messages.empty());
    QStringList restored = shown(again);
    EXPECT_EQ(restored.mid(6, 14), QStringList({"-7", "7.5", "256", ".01", "20", "-8", "8", "-1.5", "15", "0", "0",
                                                "1", "1", ".5"}));
    // A restore lists the minima first, always with the space; the values are
    // evaluated again at the abscissae as the file keeps them (15 digits), so
    // rounding noise may show in the last digit.
    EXPECT_TRUE(again.list("lstExtrema")->item(0)->text().startsWith("MIN: ["));
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
    EXPECT_GT(drawnPixels(again), 500);
}

// The source text is carried byte for byte, whatever its encoding and over
// however many lines it was quoted; a period " * " shows as the 2π it means.
// A study whose results were cleared saves no possible roots.
TEST(OpenSave, SourceTextBytesStarPeriodAndClearedResultsSurviveASave)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.txt");
    ASSERT_TRUE(put(path, "0,\"caf\xE9 \x93sq\x94\r\nsecond line\",-4,4,0,0,\" * \",3,#TRUE#\r\n0.5\r\n0\r\n0.5\r\n"));
    Window win;
    win.w.OpenSeriesFileNamed(QDir::current().relativeFilePath(path)); // as named on the command line
    ASSERT_TRUE(win.dlg.messages.empty());
    EXPECT_EQ(win.dim.window.FileName, path);
    EXPECT_EQ(shown(win).mid(0, 3), QStringList({"Trig", "# of terms:", "3"}));
    EXPECT_TRUE(win.label("lblPeriod")->isVisibleTo(&win.w));
    EXPECT_EQ(win.label("lblPeriod")->text(), QStringLiteral("2π"));
    EXPECT_DOUBLE_EQ(win.dim.series.Period, 2 * M_PI);
    win.field("txtXlower")->setText("-3.5");
    win.field("txtXupper")->setText("3.5");
    win.button("cmdExtrema")->click(); // f touches 0 at ±π
    ASSERT_GT(win.dim.results.PossibleRootCount, 0);
    win.field("txtXlower")->setText("-1"); // a new study: the results go
    win.action("mnuSave")->trigger();
    const QList<QByteArray> lines = slurp(path).split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], "0,\"caf\xE9 \x93sq\x94 second line\",-4,4,0,0,6.28318530717959,3,#TRUE#\r");
    EXPECT_EQ(lines[4].split(',').mid(6), QList<QByteArray>({"0", "0", "0", "0\r"}));
}

TEST(OpenSave, CancelsAndBadFilesChangeNothing)
{
    QTemporaryDir dir;
    const QString file = studyWithCounts(dir);
    Window win;
    win.open(file);
    const QStringList before = state(win);
    ASSERT_GT(win.list("lstRoots")->count(), 0);
    win.action("mnuSaveAs")->trigger(); // no name given: cancelled
    win.action("mnuOpen")->trigger();   // cancelled too
    ASSERT_TRUE(put(dir.filePath("broken.txt"), "0,\"x\",-1,1,0,1,0,3,#TRUE#\r\n1\r\n2\r\n")); // four promised
    ASSERT_TRUE(put(dir.filePath("multi.txt"), "1,\"xy\",-1,1,0,0,*,3,#TRUE#\r\n1\r\n2\r\n3\r\n"));
    for (const char* name : {"broken.txt", "multi.txt", "missing.txt"})
        win.open(dir.filePath(name));
    ASSERT_EQ(win.dlg.messages.size(), 3u);
    EXPECT_EQ(win.dlg.messages[0].title, "Vendrak");
    EXPECT_TRUE(win.dlg.messages[0].text.contains("broken.txt"));
    EXPECT_EQ(win.dlg.messages[1].text, "SERIES IS MULTIVARIABLE.");
    EXPECT_TRUE(win.dlg.messages[2].text.contains("missing.txt"));
    EXPECT_EQ(state(win), before);
    EXPECT_EQ(slurp(file), slurp(example("sine_study.txt")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3); // no bitmap, nothing else

    Window fresh; // a first Save without a file asks; a cancel writes nothing and names nothing
    fresh.action("mnuSave")->trigger();
    EXPECT_EQ(fresh.dlg.saveAsked, 1);
    EXPECT_TRUE(fresh.dim.window.FileName.isEmpty());
    EXPECT_TRUE(fresh.dlg.messages.empty());
}

// sine_study opened and every command run, so a failed save has much to lose.
struct Saving : ::testing::Test, Window {
    QTemporaryDir dir;
    QString file, bitmap;
    QStringList before;
    Watchdog watchdog;

    void openStudy(const QString& path)
    {
        dlg.messages.clear();
        file = path;
        bitmap = path + ".bmp";
        ASSERT_TRUE(QFileInfo::exists(file) || QFile::copy(example("sine_study.txt"), file));
        open(file);
        click({"cmdRoots", "cmdExtrema", "cmdIntegrate", "cmdDerVal", "cmdPlot"});
        ASSERT_TRUE(dim.window.GraphShown);
        ASSERT_TRUE(dlg.messages.empty()) << dlg.messages.front().text.toStdString();
        before = state(*this);
    }
    // One save command, which must come back within its time.
    void save(QAction* command, const QString& name = {})
    {
        dlg.messages.clear();
        if (!name.isEmpty())
            dlg.saveNames.push_back(name);
        QElapsedTimer t;
        t.start();
        watchdog.arm("saving with " + command->objectName().toStdString(), std::chrono::seconds(30));
        command->trigger();
        watchdog.disarm();
        EXPECT_LT(t.elapsed(), 5000) << "the save blocked";
        EXPECT_EQ(state(*this), before);
    }
    // Reported with the file named, the folder as it was.
    void expectReported(const QStringList& onDisk, const QString& folder, const QString& name)
    {
        ASSERT_FALSE(dlg.messages.empty()) << "the failure went unreported";
        for (const auto& m : dlg.messages)
            EXPECT_TRUE(m.text.contains(QDir::toNativeSeparators(name))) << m.text.toStdString();
        EXPECT_EQ(folderContents(folder), onDisk);
    }
};

// A small tmpfs over a folder, needing the right to mount (root in a sandbox
// that allows it); the tests skip otherwise.
class TmpfsMount {
public:
    explicit TmpfsMount(const QString& where) : where_(QFile::encodeName(where))
    {
        ok = QDir().mkpath(where) && ::mount("vendrak-test", where_.constData(), "tmpfs", 0, "size=1m") == 0;
        why = std::strerror(errno);
    }
    ~TmpfsMount()
    {
        if (ok)
            ::umount2(where_.constData(), MNT_DETACH);
    }
    bool makeReadOnly() { return ::mount("vendrak-test", where_.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0; }
    bool ok = false;
    std::string why;

private:
    QByteArray where_;
};

TEST_F(Saving, AReadOnlyFolderOrAFullDiskKeepsTheFilesAndTheStudy)
{
    for (const bool full : {false, true}) {
        SCOPED_TRACE(full ? "full disk" : "read-only folder");
        const QString folder = dir.filePath(full ? "full" : "ro");
        TmpfsMount disk(folder);
        if (!disk.ok)
            GTEST_SKIP() << "cannot mount a tmpfs here (" << disk.why << ")";
        ASSERT_TRUE(put(folder + "/study.txt.bmp", "an earlier picture"));
        openStudy(folder + "/study.txt");
        if (full) {
            QFile filler(folder + "/filler");
            ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
            while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) {
            }
        } else {
            ASSERT_TRUE(disk.makeReadOnly());
        }
        const QStringList onDisk = folderContents(folder);
        save(action("mnuSave"));
        expectReported(onDisk, folder, "study.txt"); // and no half-written temporary left behind
        save(action("mnuSaveAs"), folder + "/copy.txt");
        expectReported(onDisk, folder, "copy.txt");
        if (full) { // once there is room again, the same Save goes through
            QFile::remove(folder + "/filler");
            save(action("mnuSave"));
            EXPECT_TRUE(dlg.messages.empty());
            EXPECT_EQ(readBack(file).series.Coeffs, dim.series.Coeffs);
        }
    }
}

// A file-size limit stops writes like a quota or a full disk, and needs no
// privilege: past it a write fails with EFBIG instead of the signal ending the
// program. Smaller than the study file, both stay; a few bytes short of the
// bitmap, the study is saved and the earlier bitmap stays.
TEST_F(Saving, AFileSizeLimitKeepsTheEarlierFiles)
{
    openStudy(dir.filePath("study.txt"));
    action("mnuSave")->trigger();
    const qint64 bitmapSize = QFileInfo(bitmap).size();
    ASSERT_GT(bitmapSize, 1000);
    for (const rlim_t limit : {rlim_t(200), rlim_t(bitmapSize - 10)}) {
        SCOPED_TRACE(limit);
        ASSERT_TRUE(put(bitmap, "an earlier picture") && put(file, slurp(example("sine_study.txt"))));
        const QStringList onDisk = folderContents(dir.path());
        rlimit old{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit small = old;
        small.rlim_cur = limit;
        struct sigaction ignore{}, previous{};
        ignore.sa_handler = SIG_IGN;
        ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previous), 0);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        save(action("mnuSave"));
        QString exported; // an export past the limit says why, too
        if (limit == 200) {
            const auto saved = dlg.messages;
            dlg.exportNames.push_back({dir.filePath("graph.png"), "PNG image (*.png)"});
            dlg.itemAnswers = {0};
            save(action("mnuExport"));
            exported = dlg.messages.empty() ? "" : dlg.messages[0].text;
            dlg.messages = saved;
        }
        setrlimit(RLIMIT_FSIZE, &old);
        sigaction(SIGXFSZ, &previous, nullptr);
        EXPECT_EQ(slurp(bitmap), "an earlier picture");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"study.txt", "study.txt.bmp"}));
        if (limit == 200) {
            expectReported(onDisk, dir.path(), "study.txt");
            EXPECT_TRUE(exported.contains(std::strerror(EFBIG))) << exported.toStdString();
        } else {
            ASSERT_EQ(dlg.messages.size(), 1u);
            EXPECT_TRUE(dlg.messages[0].text.contains(QDir::toNativeSeparators(bitmap) + ": " + std::strerror(EFBIG)))
                << dlg.messages[0].text.toStdString();
            EXPECT_EQ(readBack(file).results.Roots.size(), dim.results.Roots.size());
        }
    }
}

// Save As, Export and the bitmap of Save refuse what is not a regular file and
// leave it as it is; Open refuses a pipe at once instead of waiting on it. A
// link to a regular file is written through.
TEST_F(Saving, OnlyRegularFilesAreWrittenOrOpenedAndLinksAreWrittenThrough)
{
    openStudy(dir.filePath("study.txt"));
    const QString pipe = dir.filePath("pipe.png");
    ASSERT_TRUE(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0 && QFile::link(pipe, bitmap));
    const QStringList onDisk = folderContents(dir.path());
    dlg.openNames.push_back(pipe);
    dlg.saveNames.push_back(pipe);
    dlg.exportNames.push_back({pipe, "PNG image (*.png)"});
    dlg.itemAnswers = {0};
    for (QAction* command : {action("mnuOpen"), action("mnuSaveAs"), action("mnuExport")}) {
        save(command);
        expectReported(onDisk, dir.path(), "pipe.png");
        EXPECT_TRUE(dlg.messages.size() == 1u && dlg.messages[0].text.contains("it is not a regular file"));
    }
    save(action("mnuSave"));
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_TRUE(dlg.messages[0].text.contains("study.txt.bmp: it is not a regular file")) << dlg.messages[0].text.toStdString();
    EXPECT_TRUE(QFileInfo(bitmap).isSymLink() && QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile());

    const QString other = dir.filePath("other.txt"), link = dir.filePath("link.txt");
    ASSERT_TRUE(put(other, "old") && QFile::link(other, link));
    dlg.saveNames.push_back(link);
    action("mnuSaveAs")->trigger();
    EXPECT_TRUE(dlg.messages.size() == 1u && QFileInfo(link).isSymLink());
    EXPECT_EQ(slurp(other), slurp(file));
}

TEST(Safety, ASaveRefusedOrFailedLeavesBothFilesAndTheFileName)
{
    QTemporaryDir dir;
    Window win;
    const QString file = studyWithCounts(dir), bitmap = file + ".bmp";
    win.open(file);
    win.action("mnuSave")->trigger();
    ASSERT_TRUE(win.dlg.messages.empty());
    const QByteArray series = slurp(file), picture = slurp(bitmap);
    ASSERT_TRUE(picture.startsWith("BM"));
    win.field("txtXlower")->setText("-6"); // another picture and another study, which neither save may write
    win.button("cmdZoomIn")->click();
    for (const auto& [saveAs, iterations] : {std::pair{QString(), "1e10"}, // a field the file could not hold
                                             std::pair{dir.filePath("missing/other.txt"), "20"}}) {
        win.field("txtMaxcy")->setText("20");
        win.button("cmdPlot")->click();
        win.field("txtMaxcy")->setText(iterations); // after the plot, which would refuse it
        win.dlg.messages.clear();
        if (!saveAs.isEmpty())
            win.dlg.saveNames.push_back(saveAs);
        (saveAs.isEmpty() ? win.action("mnuSave") : win.action("mnuSaveAs"))->trigger();
        ASSERT_EQ(win.dlg.messages.size(), 1u) << saveAs.toStdString();
        EXPECT_EQ(slurp(file), series);
        EXPECT_EQ(slurp(bitmap), picture);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList({"study.txt", "study.txt.bmp"}));
        EXPECT_EQ(win.dim.window.FileName, file);
        EXPECT_EQ(win.field("txtEquation")->text(), file);
    }
    win.dlg.messages.clear(); // the next Save still goes to the file the study came from
    win.action("mnuSave")->trigger();
    EXPECT_TRUE(win.dlg.messages.empty());
    EXPECT_NE(slurp(file), series);
    EXPECT_NE(slurp(bitmap), picture);
}

TEST(Safety, ARestoredStudyGetsTheCountsTheFieldsWouldTake)
{
    const struct { QByteArray subintervals, iterations; QString fieldSubintervals, fieldIterations; } cases[] = {
        {"2147483647", "20", "1073741824", "29"}, {"-3", "0", "2", "1"}, {"300", "2147483647", "512", "1073741824"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.subintervals.toStdString());
        QTemporaryDir dir;
        Window win;
        win.open(studyWithCounts(dir, c.subintervals, c.iterations));
        EXPECT_EQ(win.field("txtSubintervals")->text(), c.fieldSubintervals);
        EXPECT_EQ(win.field("txtMaxcy")->text(), c.fieldIterations);
        EXPECT_EQ(win.dim.study.Subintervals, c.fieldSubintervals.toInt());
        EXPECT_EQ(win.label("lblRoots")->text(), "5 roots"); // the results still restored
    }
}
