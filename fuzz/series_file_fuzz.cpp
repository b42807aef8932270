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
#include <algorithm>

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
    d.series.Kind = SeriesKind::Power;
    d.series.TermCount = 2;
    d.series.Coeffs = {1.0, -2.0, 0.5};
    d.series.XLvalid = -3;
    d.series.XUvalid = 3;
    d.results.Roots = {0.5, 1.5};
    d.window.FileName = QStringLiteral("before.txt");
}

bool sameStudy(const Dimension& a, const Dimension& b)
{
    return a.series.Kind == b.series.Kind && a.series.TermCount == b.series.TermCount && a.series.Coeffs == b.series.Coeffs
        && a.series.XLvalid == b.series.XLvalid && a.series.XUvalid == b.series.XUvalid && a.results.Roots == b.results.Roots
        && a.window.RestoringStudy == b.window.RestoringStudy && a.window.StudyLoaded == b.window.StudyLoaded;
}

// The setting boxes as a restore would fill them.
StudySettingsTexts textsOf(const Dimension& d)
{
    return {SettingsText(d.study.XLower),   SettingsText(d.study.XUpper),   SettingsText(d.study.Subintervals),
            SettingsText(d.study.ErrorBound), SettingsText(d.study.MaxCycles), SettingsText(d.plot.WindowLX),
            SettingsText(d.plot.WindowGX), SettingsText(d.plot.WindowLY), SettingsText(d.plot.WindowGY),
            SettingsText(d.plot.PlotStep), SettingsText(d.plot.XOrigin),  SettingsText(d.plot.YOrigin),
            SettingsText(d.plot.DivX),     SettingsText(d.plot.DivY)};
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

    Outcome<SeriesFile> r = ReadSeriesFile(d, in);
    if (!r) {
        if (!sameStudy(d, untouched))
            fail("a rejected file changed the study");
        const QString& message = r.error().message();
        if (message.isEmpty())
            fail("a rejected file gave no message");
        if (!IsMultiVariable(r.error()) && !message.contains(in))
            fail("the message does not name the file", message);
        return 0;
    }
    d = Opened(std::move(d), std::move(*r));
    if (static_cast<qint64>(d.series.Coeffs.size()) != static_cast<qint64>(d.series.TermCount) + 1)
        fail("coefficients do not match the term count");
    if (std::max({d.results.Roots.size(), d.results.Maxima.size(), d.results.Minima.size()}) > size_t(kResultCapacity))
        fail("a result count is outside the tables");

    // What is accepted can be saved, and what is saved reads back.
    const QString out = scratchPath("out");
    if (WriteSeriesFile(d, out, textsOf(d)))
        return 0; // refused with a message: a value the writer cannot put into text
    Dimension again;
    again.initialise();
    Outcome<SeriesFile> back = ReadSeriesFile(again, out);
    if (!back)
        fail("a saved file does not read back", back.error().message());
    again = Opened(std::move(again), std::move(*back));
    if (again.series.Kind != d.series.Kind || again.series.TermCount != d.series.TermCount || again.series.Coeffs.size() != d.series.Coeffs.size()
        || again.results.Roots.size() != d.results.Roots.size() || again.results.Maxima.size() != d.results.Maxima.size()
        || again.results.Minima.size() != d.results.Minima.size()
        || again.results.IntegralDone != d.results.IntegralDone || !again.window.StudyLoaded)
        fail("a saved file reads back as a different study");
    return 0;
}
