// Feeds arbitrary bytes to the series file reader. Whatever the bytes, the
// reader must come back with a status (never crash, hang or run away with
// memory), leave the study untouched unless it accepts the file, and a file it
// accepts must survive a save and a second read.
#include "core/series/series_file.h"
#include "core/study/dimension.h"
#include "core/study/number_text.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace vendrak;

namespace {

// The reader takes a path; a file in shared memory costs next to nothing.
QString scratchPath(const char* what)
{
    return QStringLiteral("/dev/shm/vendrak-fuzz-%1-%2.txt").arg(getpid()).arg(QLatin1String(what));
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

[[noreturn]] void fail(const char* what, const QString& detail = {})
{
    std::fprintf(stderr, "property broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

// A study that a rejected file must leave exactly as it was.
void presetStudy(Dimension& d)
{
    d.initialise();
    d.SeriesType = 1;
    d.TermCount = 2;
    d.Coeffs = {1.0, -2.0, 0.5};
    d.XLvalid = -3;
    d.XUvalid = 3;
    d.RootCount = 2;
    d.Roots[1] = 0.5;
    d.Roots[2] = 1.5;
    d.FileName = QStringLiteral("before.txt");
}

bool sameStudy(const Dimension& a, const Dimension& b)
{
    return a.SeriesType == b.SeriesType && a.TermCount == b.TermCount && a.Coeffs == b.Coeffs
        && a.XLvalid == b.XLvalid && a.XUvalid == b.XUvalid && a.RootCount == b.RootCount && a.Roots == b.Roots
        && a.RestoringStudy == b.RestoringStudy && a.StudyLoaded == b.StudyLoaded;
}

// The setting boxes as a restore would fill them.
StudySettingsTexts textsOf(const Dimension& d)
{
    return {SettingsText(d.XLower),   SettingsText(d.XUpper),   SettingsText(d.Subintervals),
            SettingsText(d.ErrorBound), SettingsText(d.MaxCycles), SettingsText(d.WindowLX),
            SettingsText(d.WindowGX), SettingsText(d.WindowLY), SettingsText(d.WindowGY),
            SettingsText(d.PlotStep), SettingsText(d.XOrigin),  SettingsText(d.YOrigin),
            SettingsText(d.DivX),     SettingsText(d.DivY)};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // QString and QFile need no application object, but the locale-independent
    // number text must see the C locale as the program does.
    static int argc = 1;
    static char name[] = "fuzz_series_file";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    std::atexit([] {
        QFile::remove(scratchPath("in"));
        QFile::remove(scratchPath("out"));
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 64 * 1024)
        return -1; // not a series file anyone would write; keep the corpus small
    const QString in = scratchPath("in");
    writeFile(in, QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

    Dimension d;
    presetStudy(d);
    Dimension untouched;
    presetStudy(untouched);

    const ReadResult r = ReadSeriesFile(d, in);
    if (r.status != ReadStatus::Ok) {
        if (!sameStudy(d, untouched))
            fail("a rejected file changed the study");
        if (r.message.isEmpty())
            fail("a rejected file gave no message");
        if (r.status == ReadStatus::Failed && !r.message.contains(in))
            fail("the message does not name the file", r.message);
        return 0;
    }
    if (static_cast<qint64>(d.Coeffs.size()) != static_cast<qint64>(d.TermCount) + 1)
        fail("coefficients do not match the term count");
    if (d.RootCount < 0 || d.RootCount > kResultCapacity || d.MaxCount < 0 || d.MaxCount > kResultCapacity
        || d.MinCount < 0 || d.MinCount > kResultCapacity)
        fail("a result count is outside the tables");

    // What is accepted can be saved, and what is saved reads back.
    const QString out = scratchPath("out");
    const WriteResult w = WriteSeriesFile(d, out, textsOf(d));
    if (!w.ok)
        return 0; // refused with a message: a value the writer cannot put into text
    Dimension again;
    again.initialise();
    const ReadResult back = ReadSeriesFile(again, out);
    if (back.status != ReadStatus::Ok)
        fail("a saved file does not read back", back.message);
    if (again.SeriesType != d.SeriesType || again.TermCount != d.TermCount || again.Coeffs.size() != d.Coeffs.size()
        || again.RootCount != d.RootCount || again.MaxCount != d.MaxCount || again.MinCount != d.MinCount
        || again.IntegralDone != d.IntegralDone || !again.StudyLoaded)
        fail("a saved file reads back as a different study");
    return 0;
}
