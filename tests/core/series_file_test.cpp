// The series file: what the reader takes from each field, what it refuses, and the exact bytes the writer produces.
#include "core/series/series_file.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"
#include "core/study/whole_file.h"
#include "support/analysis_fixtures.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <random>
#include <cmath>
#include <cstring>
#include <span>
#include <tuple>

using namespace vendrak;

namespace {

// A study that differs from the start-up state in every group, so that a reader that touches anything is caught.
const QByteArray kOldStudy = "0,\"old\",-4,5,0.5,1,7,2,#TRUE#\r\n1\r\n-2\r\n3\r\n-1,2,64,.001,30,#TRUE#,2,3,1,1\r\n"
                             "-3,3,-2,2,2,0.5,-0.5,0.25,0.5\r\n9.5\r\n0.25\r\n0.75\r\n1.5\r\n-0.5\r\n";
const StudySettingsTexts kTexts{"-2", "3.5", "128", ".001", "25", "-10", "10.1", "-5", "5", "2", "0", "-1.5", "2", ".5"};

Dimension fresh() { Dimension d; d.initialise(); return d; }
template <typename... T> QString nums(T... v) { return QStringList{NumberText(v)...}.join(' '); }
QString list(std::span<const double> v) { QStringList out; for (double x : v) out << NumberText(x); return out.join(' '); }
// All a reader could touch in one text. The series: kind, top index, count shown | validity, centre, period, period
// text | coefficients | source. The study: settings | integral | roots | maxima | minima, possible roots | plot.
QString state(const Dimension& d)
{
    return QStringList{nums(static_cast<int>(d.series.Kind), d.series.TermCount, ShownTermCount(d.series)),
                       nums(d.series.XLvalid, d.series.XUvalid, d.series.Centre, d.series.Period) + ' ' + d.series.PeriodText, list(d.series.Coeffs), d.series.SourceText,
                       nums(d.study.XLower, d.study.XUpper, d.study.Subintervals, d.study.ErrorBound, d.study.MaxCycles),
                       (d.results.IntegralDone ? "done " : "stale ") + NumberText(d.results.IntegralValue), list(d.results.Roots),
                       list(d.results.Maxima), list(d.results.Minima) + ", " + NumberText(d.results.PossibleRootCount),
                       nums(d.plot.WindowLX, d.plot.WindowGX, d.plot.WindowLY, d.plot.WindowGY, d.plot.PlotStep, d.plot.XOrigin, d.plot.YOrigin, d.plot.DivX, d.plot.DivY),
                       d.window.FileName + ' ' + nums(d.window.StudyLoaded, d.window.RestoringStudy,
                                                                     d.study.DerivOrder, d.errors.ierr, d.errors.ScriptMath.ierr, d.series.MultiVarFlag)}
        .join(" | ");
}
QString series(const Dimension& d) { return state(d).section(" | ", 0, 3); }
QString study(const Dimension& d) { return state(d).section(" | ", 4, 9); }

class SeriesFile : public ::testing::Test {
protected:
    QString put(const QString& name, const QByteArray& content) const
    {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
        return f.fileName();
    }
    static QByteArray slurp(const QString& p) { QFile f(p); return f.open(QIODevice::ReadOnly) ? f.readAll() : "<missing>"; }
    bool read(const QByteArray& content) { return test::openSeries(d, put("s.txt", content)).isEmpty(); }
    void loadOld()
    {
        ASSERT_TRUE(read(kOldStudy));
        std::tie(d.window.RestoringStudy, d.study.DerivOrder, d.window.FileName, d.errors.ierr, d.errors.ScriptMath.ierr) =
            std::tuple(false, 2, "earlier.txt", 4, 3);
    }
    QTemporaryDir dir;
    Dimension d = fresh();
};

TEST_F(SeriesFile, HeaderCasesAndTheStudyPart)
{
    const char* const cases[][2] = {
        {"0,\"square wave\",-2,6,*,0,*,3,#TRUE#\r\n1\r\n2\r\n3\r\n", "0 2 3 | -2 6 2 6.28318530717959 * | 1 2 3 | square wave"},
        {"0,\"\",-2,6,\"*\",0,\"*\",1,#TRUE#\r\n4\r\n", "0 0 1 | -2 6 2 6.28318530717959 * | 4 | "}, // mid-validity, 2 pi
        {"0,\"\",-2,6,\"1.5abc\",0,\"2.5 units\",1,#TRUE#\r\n4\r\n", "0 0 1 | -2 6 1.5 2.5 2.5 units | 4 | "}, // leading number
        {"0,\"\",-2,6,centre,1,,0,#TRUE#\r\n4\r\n", "1 0 0 | -2 6 0 0  | 4 | "}, // no number gives 0
        {"0,\"t\",0,1,0,0,1,5,#TRUE#\r\n1\r\n2\r\n3\r\n4\r\n5\r\n", "0 4 5 | 0 1 0 1 1 | 1 2 3 4 5 | t"}, // trig: terms
        {"0,\"p\",0,1,0,1,1,5,#TRUE#\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n", "1 5 5 | 0 1 0 1 1 | 1 2 3 4 5 6 | p"}, // power: degree
        {"0,\"\",0,1,0,1.0,0,2.5,#TRUE#\r\n1\r\n2\r\n3\r\n", "1 2 2 | 0 1 0 0 0 | 1 2 3 | "}, // integers: half to even
        // Fields spread over lines, bare line feeds, blank lines (no study part).
        {"0 , \"a, b\" ,\n -1.5e0\n2.5E+0,  *  \n1,\n  0,2,#true#\n\n  1.25 \n-3e-2\n3\n\n",
         "1 2 2 | -1.5 2.5 0.5 0 0 | 1.25 -0.03 3 | a, b"},
    };
    for (const auto& [content, expected] : cases) {
        EXPECT_EQ(read(content) ? series(d) : "unread", expected);
        EXPECT_TRUE(d.window.RestoringStudy && !d.window.StudyLoaded);
    }
    EXPECT_TRUE(read(cases[0][0]) && d.series.Period == PiValue() + PiValue()); // exactly

    // The study part restores settings and results.
    const QByteArray x2 = "0,\"\",-3,3,0,1,0,2,#TRUE#\r\n-2\r\n0\r\n1\r\n";
    const char* const studies[][2] = {
        {"-3,3,100,.01,20,#TRUE#,2,1,0,1\r\n-4,4.1,-3,7,2,0.5,-0.5,1,2\r\n6\r\n-1.4142135623731\r\n1.4142135623731\r\n0\r\n",
         "-3 3 100 0.01 20 | done 6 | -1.4142135623731 1.4142135623731 |  | 0, 1 | -4 4.1 -3 7 2 0.5 -0.5 1 2"},
        // Without the integral the roots follow the plot record; the old value stays, only the flag says it is stale.
        {"-3,3,100,.01,20,#FALSE#,1,0,1,2\r\n-4,4,-3,7,1,0,0,1,1\r\n0.5\r\n1.5\r\n-1\r\n-2\r\n",
         "-3 3 100 0.01 20 | stale 9.5 | 0.5 | 1.5 | -1 -2, 0 | -4 4 -3 7 1 0 0 1 1"},
        {"-3,3,100,.01,20,#FALSE#,0,0,0,0\r\n-4,4,-3,7,1,0,0,1,1\r\n", // zero counts need no lines
         "-3 3 100 0.01 20 | stale 9.5 |  |  | , 0 | -4 4 -3 7 1 0 0 1 1"},
        {"", "-1 2 64 0.001 30 | stale 9.5 |  |  | , 0 | -3 3 -2 2 2 0.5 -0.5 0.25 0.5"}, // results cleared, settings kept
    };
    for (const auto& [part, expected] : studies) {
        loadOld();
        EXPECT_EQ(read(x2 + part) ? study(d) : "unread", expected);
        EXPECT_EQ(std::tuple(d.window.StudyLoaded, d.window.RestoringStudy, d.study.DerivOrder, d.window.FileName),
                  std::tuple(*part != 0, true, 2, "earlier.txt")); // the last two are not in the file
    }
    ASSERT_TRUE(read("0,\"\",-1,1,0,1,0,2,#FALSE#\r\n")); // no coefficients: the loaded ones of the same count
    EXPECT_EQ(d.series.Coeffs, (std::vector<double>{-2, 0, 1}));
    ASSERT_TRUE(read("0,\"\",-1,1,0,0,2,3,#FALSE#\r\n")); // trigonometric, 3 terms
    EXPECT_EQ(d.series.TermCount, 2);
}

TEST_F(SeriesFile, BadInputFailsNamingTheFileAndLeavesTheStudyUntouched)
{
    const QByteArray coeffs = "1\r\n2\r\n3\r\n", h2 = "0,\"\",-3,3,0,1,0,2,#TRUE#\r\n", head = h2 + coeffs;
    const QByteArray plot = "-4,4,-3,7,1,0,0,1,1\r\n";
    const auto header = [&](const char* fields) { return "0,\"\"," + QByteArray(fields) + "\r\n" + coeffs; };
    const auto study = [&](const char* counts) { return head + "-3,3,100,.01,20,#FALSE#," + counts + "\r\n" + plot; };
    const QByteArray zeros = head + "-3,3,100,.01,20,#FALSE#,0,0,0,0\r\n", ok1 = head + "-3,3,100,.01,20,#TRUE#,1,0,1,1\r\n" + plot;
    const struct { QByteArray content; const char* mentions; } cases[] = {
        {"", "multivariable flag"},                     {header("abc,3,0,1,0,2,#TRUE#"), "\"abc\" is not a number"},
        {header("-3,3x,0,1,0,2,#TRUE#"), "not a number"}, {header(",3,0,1,0,2,#TRUE#"), "empty"},
        {"0,\"\",-3,3,0,1\r\n", "where the period should be"}, {"0,\"abc,-3,3,0,1,0,2,#TRUE#\r\n" + coeffs, "closing quote"},
        {header("-3,3,0,1,0,2,maybe"), "#TRUE#"},       {header("-3,3,0,2,0,2,#TRUE#"), "series type"},
        {header("-3,3,0,0,1,0,#TRUE#"), "at least 1"},  {header("-3,3,0,0,1,-3,#TRUE#"), "at least 1"},
        {header("-3,3,0,1,0,-1,#TRUE#"), "negative"},   {header("-3,3,0,1,0,3e9,#TRUE#"), "range of whole numbers"},
        {h2 + "1\r\n2\r\n", "after 2 of 3"}, {h2 + "1\r\nx\r\n3\r\n", "C[1]"}, {h2 + "1\r\n1e999\r\n3\r\n", "beyond the range"},
        {header("-3,3,1e400,1,0,2,#TRUE#"), "centre"},
        {header("1e308,1.7e308,*,1,0,2,#TRUE#"), "midpoint"}, {"0,\"\",-3,3,0,1,0,5,#FALSE#\r\n", "no coefficients"},
        {head + "-3,3,100\r\n", "error bound"},         {zeros + "-4,4\r\n", "plot"},
        {study("256,0,0,0"), "number of roots"},        {study("-1,0,0,0"), "number of roots"},
        {study("0,0,300,0"), "number of maxima"},       {study("0,-2,0,0"), "possible roots"},
        {head + "-3,3,1e10,.01,20,#FALSE#,0,0,0,0\r\n" + plot, "subintervals"}, {ok1, "integral"},
        {zeros + "-4,1e39,-3,7,1,0,0,1,1\r\n", "right plot limit"}, {ok1 + "6\r\n0.5\r\n", "maximum 1"},
        {header("-3,3,0,1,0,9999999,#TRUE#"), "after 3 of 10000000 coefficients"}, // nothing huge allocated
        {header("-3,3,0,1,0,1e7,#TRUE#"), "10000001 coefficients; Vendrak reads at most 10000000"},
        {"0,\"" + QByteArray(200000, 'x'), "longer than"}, {"0,\"\"," + QByteArray(200000, '7'), ""},
    };
    loadOld();
    const QString before = state(d);
    for (const auto& c : cases) {
        const QString p = put("bad.txt", c.content);
        const auto start = std::chrono::steady_clock::now();
        const auto r = ReadSeriesFile(d, p);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
        ASSERT_FALSE(r);
        EXPECT_FALSE(IsMultiVariable(r.error()));
        const QString message = r.error().message();
        EXPECT_TRUE(message.contains(QDir::toNativeSeparators(p)) && message.contains(c.mentions)) << message.toStdString();
        EXPECT_EQ(state(d), before) << c.content.left(60).toStdString();
    }
    // Over the size limit: refused before reading, so a sparse file of that size is quick.
    QFile big(put("big.txt", kOldStudy));
    ASSERT_TRUE(big.resize((qint64(256) << 20) + 1));
    EXPECT_TRUE(test::openSeries(d, big.fileName()).endsWith("could not be read: it is larger than 256 MiB, the most Vendrak reads."));
    EXPECT_EQ(state(d), before);
    // A missing file, a folder, a device that never ends; a multivariable series.
    EXPECT_TRUE(test::openSeries(d, dir.filePath("nowhere.txt")).contains("nowhere.txt"));
    EXPECT_TRUE(test::openSeries(d, dir.path()).contains("folder"));
    EXPECT_TRUE(!QFileInfo::exists("/dev/zero") || test::openSeries(d, "/dev/zero").contains("not a regular file"));
    const auto multi = ReadSeriesFile(d, put("m.txt", "1,\"f(x,y)\",0,1,0,1,0,3,#TRUE#\r\n1\r\n2\r\n"));
    ASSERT_FALSE(multi);
    EXPECT_EQ(std::pair(IsMultiVariable(multi.error()), multi.error().message()), std::pair(true, QString(kMultiVariableMessage)));
    EXPECT_EQ(state(d), before);
}

// The reader's quick path for whole-field numbers gives bit for bit the double of the leading-number parse, and is
// taken for every number the writer produces.
TEST(SeriesFileNumbers, TheQuickReadingOfAFieldIsTheLeadingNumberBitForBit)
{
    std::vector<std::string> texts = {"0", "-0", "+0", "1", "+1.5", "-.5", ".5", "5.", ".", "-", "+", "", "1e", "1e+", "1E-",
        "1e5", "1E+05", "-2.5e-3", "1d3", "&H10", "1.2.3", "1e5e5", "--1", "+-1", "1 ", " 1", "1,5", "inf", "nan", "0x1p3",
        "1e308", "1.7976931348623157e308", "1.7976931348623158e308", "1.7976931348623159e308", "2e308", "1e-308",
        "2.2250738585072011e-308", "4.9406564584124654e-324", "2.4703282292062328e-324", "2.4703282292062327e-324",
        "1e-400", "-1e-400", "0e999999999999", "1e-99999999999999999999", "9007199254740993", "123456789012345678901234567890e-10",
        "0.000000000000000000000000000000000000000000001", std::string(400, '9'), "1." + std::string(400, '0') + "1"};
    std::mt19937_64 rng(21);
    const char alphabet[] = "0123456789012345678901234567.+-eE";
    for (int i = 0; i < 20000; ++i) {
        std::string t(rng() % 12 + 1, ' ');
        for (char& c : t)
            c = alphabet[rng() % (sizeof alphabet - 1)];
        texts.push_back(t);
    }
    std::vector<std::string> plain; // texts the quick path must take
    for (int i = 0; i < 50000; ++i) {
        const double v = std::ldexp(std::uniform_real_distribution<double>(-1, 1)(rng), int(rng() % 2100) - 1075);
        char b[40];
        std::snprintf(b, sizeof b, i % 2 ? "%.*g" : "%.*E", int(rng() % 18) + 1, v);
        plain.push_back(b);
        plain.push_back(NumberText(v).toStdString());
    }
    texts.insert(texts.end(), plain.begin(), plain.end());
    for (const std::string& t : texts) {
        const QString q = QString::fromStdString(t);
        std::optional<double> reference;
        if (!q.isEmpty() && LeadingNumberLength(q) == q.size())
            try { reference = LeadingNumber(q); } catch (const Error&) {}
        const std::optional<double> quick = WholeNumber(t);
        EXPECT_TRUE(!quick || (reference && std::bit_cast<quint64>(*quick) == std::bit_cast<quint64>(*reference))) << t;
    }
    for (const std::string& t : plain)
        EXPECT_TRUE(WholeNumber(t).has_value() || LeadingNumber(QString::fromStdString(t)) == 0) << t; // 0: underflow
}

TEST_F(SeriesFile, AMillionCoefficientsReadExactly)
{
    constexpr int n = 1000000;
    QByteArray content = "0,\"big\",-1,1,0,0,*," + QByteArray::number(n) + ",#TRUE#\r\n";
    const char* const eighths[] = {"", ".125", ".25", ".375", ".5", ".625", ".75", ".875"};
    for (int k = 0; k < n; ++k) // k/8 exactly: odd ones negative, in exponent form
        content += (k % 2 ? '-' + QByteArray::number(qint64(k) * 125) + "E-3" : QByteArray::number(k / 8) + eighths[k % 8]) + (k % 3 ? "\r\n" : "\n");
    ASSERT_TRUE(read(content));
    ASSERT_EQ(d.series.Coeffs.size(), size_t(n));
    for (int k = 0; k < n; ++k)
        ASSERT_EQ(d.series.Coeffs[size_t(k)], (k % 2 ? -k : k) / 8.0) << k;
}

TEST_F(SeriesFile, WritesTheExactFormatReadsItBackAndFailuresKeepTheOldFile)
{
    ASSERT_TRUE(read("0,\"sq\",-1,1,*,0,*,3,#TRUE#\r\n0.5\r\n1.27323954473516\r\n0\r\n"));
    d.series.SourceText = "say \"sq\", twice"; // a double quote cannot be stored: it becomes a single one
    std::tie(d.results.IntegralDone, d.results.IntegralValue, d.results.Roots, d.results.Maxima, d.results.PossibleRootCount) =
        std::tuple(true, 1.0 / 3, std::vector<double>{-0.5}, std::vector<double>{0.25}, 4);
    const QString out = put("out.txt", "old content");
    ASSERT_TRUE(!WriteSeriesFile(d, out, kTexts));
    EXPECT_EQ(slurp(out).toStdString(), "0,\"say 'sq', twice\",-1,1,0,0,6.28318530717959,3,#TRUE#\r\n"
                                        "0.5\r\n1.27323954473516\r\n0\r\n-2,3.5,128,0.001,25,#TRUE#,1,4,1,0\r\n"
                                        "-10,10.1,-5,5,2,0,-1.5,2,0.5\r\n0.333333333333333\r\n-0.5\r\n0.25\r\n");

    // Round trip: full tables and numbers that need exponent notation; saving what was read gives the same file.
    d.series.Coeffs = {1, std::sqrt(2.0) * 1e-20, -0.25, -1e25 / 3};
    std::tie(d.series.TermCount, d.results.IntegralValue, d.results.PossibleRootCount) = std::tuple(3, -2.0 / 7, 1000);
    d.results.Roots.clear();
    for (int i = 1; i <= 255; ++i)
        d.results.Roots.push_back(i / 7.0);
    std::tie(d.results.Maxima, d.results.Minima) = std::pair(std::vector<double>{-1e-9, 123456.789}, std::vector<double>{5e-300});
    ASSERT_TRUE(!WriteSeriesFile(d, out, kTexts));
    Dimension back = fresh();
    ASSERT_EQ(test::openSeries(back, out), "");
    EXPECT_TRUE(back.window.StudyLoaded);
    EXPECT_EQ(study(back), "-2 3.5 128 0.001 25 | " + study(d).section(" | ", 1, 4) + " | -10 10.1 -5 5 2 0 -1.5 2 0.5");
    EXPECT_EQ(series(back), series(d).replace(" * |", " 6.28318530717959 |").replace('"', '\'')); // "*" is now a number
    ASSERT_TRUE(!WriteSeriesFile(back, dir.filePath("again.txt"), kTexts));
    EXPECT_EQ(slurp(dir.filePath("again.txt")), slurp(out));

    // Failures keep the old file.
    const QString old = put("old.txt", "old content");
    const QString longName = put(QString(250, u'n'), "old content"); // no temporary file fits beside it
    const Dimension none = fresh();
    StudySettingsTexts lowY = kTexts; // could not be read back
    lowY.windowly = "-1e39";
    Dimension longText = d; // the reader would refuse the field
    longText.series.SourceText = QByteArray(70000, 'x');
    // Only a regular file is written: not a pipe nor a link to one, not a link that leads nowhere.
    const QString pipe = dir.filePath("pipe"), toPipe = dir.filePath("to_pipe"), nowhere = dir.filePath("nowhere");
    ASSERT_TRUE(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0 && QFile::link(pipe, toPipe) && QFile::link(dir.filePath("none"), nowhere));
    const std::tuple<const Dimension&, QString, const StudySettingsTexts&, QString> cases[] = {
        {d, dir.path(), kTexts, QDir::toNativeSeparators(dir.path())}, // a folder
        {d, dir.filePath("no/such/folder/x.txt"), kTexts, "x.txt"}, {d, longName, kTexts, ""},
        {d, old, lowY, "lower plot limit"}, {none, old, kTexts, "no series"}, {longText, old, kTexts, "description is longer than 65536 bytes"},
        {d, pipe, kTexts, "not a regular file"}, {d, toPipe, kTexts, "not a regular file"}, {d, nowhere, kTexts, "leads to no file"}};
    for (const auto& [dim, path, texts, mentions] : cases) {
        const std::optional<Error> failed = WriteSeriesFile(dim, path, texts);
        ASSERT_TRUE(failed) << path.toStdString();
        EXPECT_TRUE(failed->message().contains(mentions)) << failed->message().toStdString();
    }
    EXPECT_EQ(std::pair(slurp(old), slurp(longName)), std::pair(QByteArray("old content"), QByteArray("old content")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 6); // the link to the pipe counts; no temporary leftovers
    EXPECT_TRUE(QFileInfo(pipe).exists() && !QFileInfo(pipe).isFile() && QFileInfo(toPipe).isSymLink() && QFileInfo(nowhere).isSymLink());

    // A link to a regular file is written through: the link stays, the file it names gets the content.
    ASSERT_TRUE(QFile::link(old, dir.filePath("to_old")) && !WriteSeriesFile(d, dir.filePath("to_old"), kTexts));
    EXPECT_TRUE(QFileInfo(dir.filePath("to_old")).isSymLink());
    EXPECT_EQ(slurp(old), slurp(out));
    QFile full("/dev/full"); // a full disk names its reason
    ASSERT_TRUE(full.open(QIODevice::WriteOnly));
    EXPECT_EQ(WriteAll(full, QByteArray(1 << 16, 'x')), QString::fromLocal8Bit(std::strerror(ENOSPC)));
}

// The bundled examples are what their generator writes with today's program: the saved study of sine_study.txt
// holds what Roots, Extrema and Integral find.
TEST_F(SeriesFile, TheBundledExamplesAreWhatTheirGeneratorWrites)
{
    QTemporaryDir dir;
    QProcess generator;
    generator.start(QStringLiteral(GENERATE_EXAMPLES_EXE), {dir.path()});
    ASSERT_TRUE(generator.waitForFinished(60000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
    const QStringList names = QDir(dir.path()).entryList(QDir::Files);
    EXPECT_EQ(names, QDir(QStringLiteral(VENDRAK_SOURCE_DIR "/examples")).entryList({"*.txt"}, QDir::Files));
    for (const QString& name : names)
        EXPECT_EQ(slurp(dir.filePath(name)), slurp(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/") + name))
            << name.toStdString();
}

} // namespace

