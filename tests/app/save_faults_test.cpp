// Saving when the disk will not take the file: a read-only folder, a full
// disk, a file-size limit, and the file or its folder changed behind the
// program's back between the Save dialog and the write. Each time the user
// hears about it with the file named, what was on disk before is still there
// byte for byte, and the study in the window is exactly as it was.
#include "app/picture_box.h"
#include "core/series/series_file.h"
#include "core/study/dimension.h"
#include "app/main_window.h"
#include "support/fake_dialogs.h"
#include "support/watchdog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

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
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool put(const QString& p, const QByteArray& content)
{
    QFile f(p);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size() && f.flush();
}

// Names, sizes and digests of the contents of everything in a folder.
std::vector<std::string> folderContents(const QString& dir)
{
    std::vector<std::string> out;
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& e : entries) {
        QString line = e.fileName();
        if (e.isFile()) {
            const QByteArray content = slurp(e.filePath());
            line += QStringLiteral(": %1 bytes, sha1 %2")
                        .arg(content.size())
                        .arg(QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex()));
        } else {
            line += QStringLiteral(": not a file");
        }
        out.push_back(line.toStdString());
    }
    return out;
}

// Everything the user sees and everything the study holds, as text.
QStringList windowState(MainWindow& w, const Dimension& d)
{
    QStringList s;
    for (QLineEdit* e : w.findChildren<QLineEdit*>())
        s << e->objectName() + '=' + e->text();
    for (QLabel* l : w.findChildren<QLabel*>())
        s << l->objectName() + '=' + l->text() + (l->isVisibleTo(&w) ? "" : " (hidden)");
    for (QListWidget* l : w.findChildren<QListWidget*>())
        for (int i = 0; i < l->count(); ++i)
            s << l->objectName() + '[' + QString::number(i) + "]=" + l->item(i)->text();
    for (QCheckBox* c : w.findChildren<QCheckBox*>())
        s << c->objectName() + '=' + (c->isChecked() ? "on" : "off");
    s << "cboDerivative=" + QString::number(w.cboDerivative->currentIndex());

    auto num = [](double v) { return QString::number(v, 'g', 17); };
#define FIELD(f) s << QStringLiteral(#f "=") + num(static_cast<double>(d.f))
    FIELD(SeriesType); FIELD(TermCount); FIELD(Centre); FIELD(Period); FIELD(XLvalid); FIELD(XUvalid);
    FIELD(MultiVarFlag); FIELD(CoeffsFollow); FIELD(XLower); FIELD(XUpper); FIELD(Subintervals);
    FIELD(ErrorBound); FIELD(MaxCycles); FIELD(DerivOrder); FIELD(RootCount); FIELD(MaxCount); FIELD(MinCount);
    FIELD(PossibleRootCount); FIELD(IntegralValue); FIELD(IntegralDone); FIELD(WindowLX); FIELD(WindowGX);
    FIELD(WindowLY); FIELD(WindowGY); FIELD(XOrigin); FIELD(YOrigin); FIELD(DivX); FIELD(DivY); FIELD(PlotStep);
    FIELD(GridOn); FIELD(ShadeOn); FIELD(GraphShown); FIELD(StudyLoaded); FIELD(RestoringStudy); FIELD(ierr);
#undef FIELD
    s << "PeriodText=" + d.PeriodText << "SourceText=" + d.SourceText << "FileName=" + d.FileName;
    for (double c : d.Coeffs)
        s << "C=" + num(c);
    for (int i = 1; i <= 255; ++i)
        s << "R=" + num(d.Roots[size_t(i)]) + ',' + num(d.Maxima[size_t(i)]) + ',' + num(d.Minima[size_t(i)]);
    return s;
}

// The lines that differ, so a failure shows what changed and nothing else.
std::string changes(const QStringList& before, const QStringList& after)
{
    std::string out;
    for (qsizetype i = 0; i < std::max(before.size(), after.size()); ++i) {
        const QString b = i < before.size() ? before[i] : QStringLiteral("<none>");
        const QString a = i < after.size() ? after[i] : QStringLiteral("<none>");
        if (a != b)
            out += "  was: " + b.toStdString() + "\n  now: " + a.toStdString() + "\n";
    }
    return out;
}

#define EXPECT_SAME_STATE(before, after) EXPECT_EQ(changes((before), (after)), "")

// A Save dialog that does something to the disk while it is "open", as another
// program could while the user picks the name.
class MeddlingDialogs : public FakeDialogs {
public:
    std::function<void()> meanwhile;
    QString saveFileName() override
    {
        const QString name = FakeDialogs::saveFileName();
        if (meanwhile)
            meanwhile();
        return name;
    }
};

// A window with a study worth keeping: sine_study opened, every command run.
struct StudyWindow {
    Dimension dim;
    MeddlingDialogs dlg;
    MainWindow w{dim, dlg};

    void openStudy(const QString& file)
    {
        w.OpenSeriesFileNamed(file);
        ASSERT_TRUE(dlg.messages.empty()) << dlg.messages.front().text.toStdString();
        w.cmdRoots->click();
        w.cmdExtrema->click();
        w.cmdIntegrate->click();
        w.txtXeval->setText("1.5");
        w.cmdDerVal->click();
        w.cmdPlot->click();
        ASSERT_TRUE(dim.GraphShown);
        ASSERT_GT(w.lstRoots->count(), 0);
        ASSERT_TRUE(dlg.messages.empty());
    }

    // Runs one save command; true when it ended within the time allowed. One
    // that never ends stops the test program with a message.
    bool save(QAction* command)
    {
        QElapsedTimer t;
        t.start();
        watchdog.arm("saving with " + command->objectName().toStdString(), std::chrono::seconds(30));
        command->trigger();
        watchdog.disarm();
        return t.elapsed() < 5000;
    }
    vendrak::test::Watchdog watchdog;
};

// The messages shown, each checked to name a file among those given.
void expectMessagesNaming(const FakeDialogs& dlg, const QStringList& names)
{
    ASSERT_FALSE(dlg.messages.empty()) << "the failure went unreported";
    for (const auto& m : dlg.messages) {
        EXPECT_EQ(m.title, "Vendrak");
        bool named = false;
        for (const QString& n : names)
            named = named || m.text.contains(QDir::toNativeSeparators(n));
        EXPECT_TRUE(named) << m.text.toStdString();
    }
}

// A small tmpfs mounted over a folder for the length of a test. Needs the
// right to mount (root in a sandbox that allows it); tests skip otherwise.
class TmpfsMount {
public:
    TmpfsMount(const QString& where, const char* options) : where_(QFile::encodeName(where))
    {
        if (::mount("vendrak-test", where_.constData(), "tmpfs", 0, options) == 0)
            mounted_ = true;
        else
            why_ = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~TmpfsMount()
    {
        if (mounted_)
            ::umount2(where_.constData(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool ok() const { return mounted_; }
    QString why() const { return why_; }
    bool makeReadOnly()
    {
        return ::mount("vendrak-test", where_.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QByteArray where_;
    bool mounted_ = false;
    QString why_;
};

#define SKIP_UNLESS_MOUNTED(m)                                                                          \
    if (!(m).ok())                                                                                      \
    GTEST_SKIP() << "cannot mount a tmpfs here (" << (m).why().toStdString()                            \
                 << "); the read-only and full-disk cases need a sandbox that allows mounting"

// A folder on its own small tmpfs holding a copy of the saved sine study and
// an earlier companion bitmap.
struct Disk {
    QTemporaryDir base;
    QString folder = base.filePath("disk");
    bool made = QDir().mkdir(folder);
    TmpfsMount mount;
    QString file = folder + "/study.txt";
    QString bitmap = file + ".bmp";

    explicit Disk(const char* options) : mount(folder, options) {}

    void fill()
    {
        ASSERT_TRUE(QFile::copy(example("sine_study.txt"), file));
        ASSERT_TRUE(put(bitmap, "an earlier picture"));
    }
};

} // namespace

TEST(SaveFaults, AReadOnlyFolderKeepsTheFileAndTheStudy)
{
    Disk disk("size=1m");
    SKIP_UNLESS_MOUNTED(disk.mount);
    disk.fill();
    StudyWindow sw;
    sw.openStudy(disk.file);
    ASSERT_TRUE(disk.mount.makeReadOnly());
    const auto onDisk = folderContents(disk.folder);
    const QStringList state = windowState(sw.w, sw.dim);

    ASSERT_TRUE(sw.save(sw.w.mnuSave));
    expectMessagesNaming(sw.dlg, {disk.file, disk.bitmap});
    EXPECT_TRUE(sw.dlg.messages.back().text.contains("study.txt"));
    EXPECT_EQ(folderContents(disk.folder), onDisk);
    EXPECT_SAME_STATE(state, windowState(sw.w, sw.dim));

    // Save As to a new name in the same folder: reported, nothing made, and
    // the study still belongs to its file, so the window is exactly as it was.
    sw.dlg.messages.clear();
    const QString other = disk.folder + "/copy.txt";
    sw.dlg.saveNames.push_back(other);
    ASSERT_TRUE(sw.save(sw.w.mnuSaveAs));
    expectMessagesNaming(sw.dlg, {other, other + ".bmp"});
    EXPECT_EQ(folderContents(disk.folder), onDisk);
    EXPECT_SAME_STATE(state, windowState(sw.w, sw.dim));
}

TEST(SaveFaults, AFullDiskKeepsTheFileTheBitmapAndTheStudy)
{
    Disk disk("size=1m");
    SKIP_UNLESS_MOUNTED(disk.mount);
    disk.fill();
    StudyWindow sw;
    sw.openStudy(disk.file);
    // Take every block that is left.
    {
        QFile filler(disk.folder + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    ASSERT_FALSE(put(disk.folder + "/probe", QByteArray(4096, 'y'))) << "the disk is not full";
    QFile::remove(disk.folder + "/probe");
    const auto onDisk = folderContents(disk.folder);
    const QStringList state = windowState(sw.w, sw.dim);

    ASSERT_TRUE(sw.save(sw.w.mnuSave));
    expectMessagesNaming(sw.dlg, {disk.file, disk.bitmap});
    EXPECT_TRUE(sw.dlg.messages.back().text.contains("study.txt"));
    // No half-written temporary is left behind either.
    EXPECT_EQ(folderContents(disk.folder), onDisk);
    EXPECT_SAME_STATE(state, windowState(sw.w, sw.dim));

    // Once there is room again, the same Save goes through.
    QFile::remove(disk.folder + "/filler");
    sw.dlg.messages.clear();
    ASSERT_TRUE(sw.save(sw.w.mnuSave));
    EXPECT_TRUE(sw.dlg.messages.empty());
    Dimension back;
    back.initialise();
    ASSERT_EQ(ReadSeriesFile(back, disk.file).status, ReadStatus::Ok);
    EXPECT_EQ(back.RootCount, sw.dim.RootCount);
    EXPECT_EQ(back.Coeffs, sw.dim.Coeffs);
}

// Runs a save with writes limited to the given size, as a quota or a full
// disk would. Past the limit a write fails with EFBIG instead of the signal
// ending the program.
bool saveUnderFileSizeLimit(StudyWindow& sw, QAction* command, rlim_t limit)
{
    rlimit old{};
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = limit;
    struct sigaction ignore{}, previous{};
    ignore.sa_handler = SIG_IGN;
    EXPECT_EQ(sigaction(SIGXFSZ, &ignore, &previous), 0);
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool inTime = sw.save(command);
    setrlimit(RLIMIT_FSIZE, &old);
    sigaction(SIGXFSZ, &previous, nullptr);
    return inTime;
}

// A file-size limit stops writes like a full disk, and needs no privilege.
TEST(SaveFaults, AFileSizeLimitKeepsTheFileAndTheStudy)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("study.txt");
    ASSERT_TRUE(QFile::copy(example("sine_study.txt"), file));
    ASSERT_TRUE(put(file + ".bmp", "an earlier picture"));
    StudyWindow sw;
    sw.openStudy(file);
    const auto onDisk = folderContents(dir.path());
    const QStringList state = windowState(sw.w, sw.dim);

    // Smaller than the study file and than any bitmap.
    ASSERT_TRUE(saveUnderFileSizeLimit(sw, sw.w.mnuSave, 200));
    expectMessagesNaming(sw.dlg, {file, file + ".bmp"});
    EXPECT_TRUE(sw.dlg.messages.back().text.contains("study.txt"));
    EXPECT_EQ(folderContents(dir.path()), onDisk);
    EXPECT_SAME_STATE(state, windowState(sw.w, sw.dim));
}

// The last bytes of the bitmap are the ones that do not fit: the earlier
// bitmap stays, the study file itself is still saved.
TEST(SaveFaults, ABitmapThatDoesNotFitKeepsTheEarlierOne)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("study.txt");
    const QString bitmap = file + ".bmp";
    ASSERT_TRUE(QFile::copy(example("sine_study.txt"), file));
    StudyWindow sw;
    sw.openStudy(file);
    sw.w.mnuSave->trigger();
    ASSERT_TRUE(sw.dlg.messages.empty());
    const qint64 bitmapSize = QFileInfo(bitmap).size();
    ASSERT_GT(bitmapSize, 1000);
    ASSERT_TRUE(put(bitmap, "an earlier picture"));
    const QStringList state = windowState(sw.w, sw.dim);

    ASSERT_TRUE(saveUnderFileSizeLimit(sw, sw.w.mnuSave, rlim_t(bitmapSize - 10)));
    ASSERT_EQ(sw.dlg.messages.size(), 1u);
    EXPECT_TRUE(sw.dlg.messages[0].text.contains(QDir::toNativeSeparators(bitmap))) << sw.dlg.messages[0].text.toStdString();
    EXPECT_EQ(slurp(bitmap), "an earlier picture");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"study.txt", "study.txt.bmp"}));
    Dimension back;
    back.initialise();
    ASSERT_EQ(ReadSeriesFile(back, file).status, ReadStatus::Ok);
    EXPECT_EQ(back.Coeffs, sw.dim.Coeffs);
    EXPECT_SAME_STATE(state, windowState(sw.w, sw.dim));
}

// The file vanishes while the user picks its name: the save makes it anew,
// complete, and it reads back as the study.
TEST(SaveFaults, AFileDeletedBeforeTheWriteIsWrittenWhole)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("study.txt");
    ASSERT_TRUE(QFile::copy(example("sine_study.txt"), file));
    StudyWindow sw;
    sw.openStudy(file);
    const QStringList state = windowState(sw.w, sw.dim);

    sw.dlg.saveNames.push_back(file);
    sw.dlg.meanwhile = [&] { ASSERT_TRUE(QFile::remove(file)); };
    ASSERT_TRUE(sw.save(sw.w.mnuSaveAs));
    EXPECT_TRUE(sw.dlg.messages.empty());
    EXPECT_SAME_STATE(state, windowState(sw.w, sw.dim));
    Dimension back;
    back.initialise();
    ASSERT_EQ(ReadSeriesFile(back, file).status, ReadStatus::Ok);
    EXPECT_EQ(back.Coeffs, sw.dim.Coeffs);
    EXPECT_EQ(back.RootCount, sw.dim.RootCount);
    EXPECT_EQ(back.IntegralDone, sw.dim.IntegralDone);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"study.txt", "study.txt.bmp"}));
}

// The whole folder vanishes: reported, nothing half-written anywhere.
TEST(SaveFaults, AFolderDeletedBeforeTheWriteIsReported)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("gone");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString file = folder + "/study.txt";
    ASSERT_TRUE(QFile::copy(example("sine_study.txt"), file));
    StudyWindow sw;
    sw.openStudy(file);
    const QStringList state = windowState(sw.w, sw.dim);

    sw.dlg.meanwhile = [&] { ASSERT_TRUE(QDir(folder).removeRecursively()); };
    sw.dlg.saveNames.push_back(file);
    ASSERT_TRUE(sw.save(sw.w.mnuSaveAs));
    expectMessagesNaming(sw.dlg, {file, file + ".bmp"});
    EXPECT_TRUE(sw.dlg.messages.back().text.contains("study.txt"));
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    EXPECT_SAME_STATE(state, windowState(sw.w, sw.dim));
}

// Something else takes the file's place: a folder is refused and left as it
// is; a named pipe must not block the program waiting for a reader.
TEST(SaveFaults, AFileReplacedBeforeTheWriteIsHandled)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("study.txt");
    ASSERT_TRUE(QFile::copy(example("sine_study.txt"), file));
    StudyWindow sw;
    sw.openStudy(file);
    const QStringList state = windowState(sw.w, sw.dim);

    sw.dlg.meanwhile = [&] {
        ASSERT_TRUE(QFile::remove(file));
        ASSERT_TRUE(QDir().mkdir(file));
        ASSERT_TRUE(put(file + "/inside.txt", "keep me"));
    };
    sw.dlg.saveNames.push_back(file);
    ASSERT_TRUE(sw.save(sw.w.mnuSaveAs));
    expectMessagesNaming(sw.dlg, {file, file + ".bmp"});
    EXPECT_TRUE(sw.dlg.messages.back().text.contains("study.txt"));
    EXPECT_TRUE(QFileInfo(file).isDir());
    EXPECT_EQ(slurp(file + "/inside.txt"), "keep me");
    EXPECT_SAME_STATE(state, windowState(sw.w, sw.dim));

    // A named pipe: the save must come back within its time.
    ASSERT_TRUE(QDir(file).removeRecursively());
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0644), 0);
    sw.dlg.messages.clear();
    sw.dlg.meanwhile = nullptr;
    EXPECT_TRUE(sw.save(sw.w.mnuSave)) << "the save blocked on a named pipe";
    EXPECT_SAME_STATE(state, windowState(sw.w, sw.dim));
    // Either the pipe was replaced by a complete file or the user was told.
    if (sw.dlg.messages.empty()) {
        Dimension back;
        back.initialise();
        ASSERT_EQ(ReadSeriesFile(back, file).status, ReadStatus::Ok);
        EXPECT_EQ(back.Coeffs, sw.dim.Coeffs);
    } else {
        expectMessagesNaming(sw.dlg, {file, file + ".bmp"});
    }
}
