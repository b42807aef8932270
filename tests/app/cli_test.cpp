// The command line as a user meets it: the built program run without a
// display, its results checked against the window and the core, and its
// installation.
#include "core/analysis/study_commands.h"
#include "core/report/report_body.h"
#include "core/series/evaluators.h"
#include "core/series/study_texts.h"
#include "support/analysis_fixtures.h"
#include "support/shown_window.h"

#include <QtWidgets>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cerrno>
#include <cstring>

using namespace vendrak;
using test::example;
using test::items;
using test::slurp;

namespace {

struct Ran {
    int status = -1;
    QString out, err;
};

// As from cron or ssh: no display, no desktop session. Standard output goes
// to `out` when one is named.
Ran run(const QString& program, const QStringList& args, const QString& out = {})
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        env.remove(QString::fromLatin1(name));
    QProcess p;
    p.setProcessEnvironment(env);
    if (!out.isEmpty())
        p.setStandardOutputFile(out);
    p.start(program, args);
    if (!p.waitForFinished(240000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

Ran runVendrak(const QStringList& args) { return run(QStringLiteral(VENDRAK_EXE), args); }

QJsonObject json(const Ran& r)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
}

QStringList strings(const QJsonValue& v) { return v.toVariant().toStringList(); }

// The doubles of the results in the JSON object are the study state's, bit for bit.
void expectSameNumbers(const QJsonObject& o, Dimension& d)
{
    const QJsonArray roots = o["roots"]["x"].toArray();
    ASSERT_EQ(size_t(roots.size()), d.results.Roots.size());
    for (qsizetype i = 0; i < roots.size(); ++i)
        EXPECT_EQ(roots[i].toDouble(), d.results.Roots[size_t(i)]);
    for (const auto& [key, found] : {std::pair{"maxima", &d.results.Maxima}, {"minima", &d.results.Minima}}) {
        const QJsonArray pairs = o[key].toArray();
        ASSERT_EQ(size_t(pairs.size()), found->size()) << key;
        for (qsizetype i = 0; i < pairs.size(); ++i) {
            EXPECT_EQ(pairs[i][0].toDouble(), (*found)[size_t(i)]);
            EXPECT_EQ(pairs[i][1].toDouble(), EvalSeries(d.series, (*found)[size_t(i)]));
        }
    }
    EXPECT_EQ(o["possibleRoots"].toInt(), d.results.PossibleRootCount);
    EXPECT_EQ(o["integral"]["value"].toDouble(), d.results.IntegralValue);
    EXPECT_EQ(o["interval"][0].toDouble(), d.study.XLower);
    EXPECT_EQ(o["interval"][1].toDouble(), d.study.XUpper);
    EXPECT_EQ(o["errorBound"].toDouble(), d.study.ErrorBound);
    EXPECT_EQ(o["subintervals"].toInt(), d.study.Subintervals);
    EXPECT_EQ(o["iterations"].toInt(), d.study.MaxCycles);
}

} // namespace

TEST(Cli, BatchShowsAndSavesWhatTheWindowDoesAfterTheSameCommands)
{
    QTemporaryDir dir;
    const QString windowCopy = dir.filePath("window.txt");
    const QString batchCopy = dir.filePath("batch.txt");
    ASSERT_TRUE(QFile::copy(example("sine_study.txt"), windowCopy));
    ASSERT_TRUE(QFile::copy(example("sine_study.txt"), batchCopy));

    test::Window win;
    auto& [dim, dlg, w] = win;
    win.open(windowCopy);
    win.click({"cmdRoots", "cmdExtrema", "cmdIntegrate"});
    win.field("txtDerNum")->setText("1");
    win.field("txtXeval")->setText("-0.5");
    win.button("cmdDerVal")->click();
    win.action("mnuSave")->trigger();
    ASSERT_TRUE(dlg.messages.empty());
    ASSERT_FALSE(win.label("lblRoots")->text().isEmpty());

    const QStringList commands{"--roots", "--extrema", "--integral", "--value", "1", "-0.5"};
    const Ran batch = runVendrak(QStringList{"--batch", batchCopy, "--json", "--save"} + commands);
    ASSERT_EQ(batch.status, 0) << batch.err.toStdString();
    EXPECT_EQ(batch.err, ""); // not even Qt's notes about the missing session
    const QJsonObject o = json(batch);
    EXPECT_EQ(o["series"]["label"].toString(), win.label("lblType")->text());
    EXPECT_EQ(o["series"]["degree"].toInt(), win.label("lblTerms")->text().toInt());
    EXPECT_EQ(o["intervalTexts"].toArray(), QJsonArray({win.field("txtXlower")->text(), win.field("txtXupper")->text()}));
    EXPECT_EQ(o["roots"]["label"].toString(), win.label("lblRoots")->text());
    EXPECT_EQ(strings(o["roots"]["entries"]), items(win.list("lstRoots")));
    EXPECT_EQ(o["extrema"]["label"].toString(), win.label("lblExtrema")->text());
    EXPECT_EQ(strings(o["extrema"]["entries"]), items(win.list("lstExtrema")));
    EXPECT_EQ(o["integral"]["label"].toString(), win.label("lblIntegral")->text());
    EXPECT_EQ(o["values"][0]["label"].toString(), win.label("lblDerVal")->text());
    EXPECT_EQ(o["values"][0]["value"].toDouble(), EvalSelected(dim.series, 1, -0.5));
    expectSameNumbers(o, dim);

    // Saved alike: the study file byte for byte, the graph the same picture.
    EXPECT_EQ(slurp(batchCopy), slurp(windowCopy));
    const QImage batchGraph(batchCopy + ".bmp", "BMP");
    EXPECT_EQ(batchGraph.size(), QSize(396, 296));
    EXPECT_EQ(batchGraph, QImage(windowCopy + ".bmp", "BMP"));

    // By default the lines of the report the window prints, values after it.
    const Ran report = runVendrak(QStringList{"--batch", windowCopy} + commands);
    ASSERT_EQ(report.status, 0) << report.err.toStdString();
    dim.window.FileName = QFileInfo(windowCopy).absoluteFilePath();
    QStringList expected{ReportTitle(0)};
    const ReportTexts texts{dim.window.FileName,          win.field("txtXlower")->text(),   win.field("txtXupper")->text(),
                            win.field("txtSubintervals")->text(), win.field("txtMaxcy")->text(), win.field("txtError")->text(),
                            win.field("txtXorigin")->text(),  win.field("txtYorigin")->text(),  win.field("txtDivx")->text(),
                            win.field("txtDivy")->text(),     win.field("txtWindowlx")->text(), win.field("txtWindowgx")->text(),
                            win.field("txtWindowly")->text(), win.field("txtWindowgy")->text()};
    for (const ReportLine& line : ReportBody(dim.series, dim.study, dim.results, texts))
        expected << line.text + line.redTail;
    expected << "" << "VALUES:" << "ORDER 1 AT -0.5: " + win.label("lblDerVal")->text() << "";
    EXPECT_EQ(report.out.split('\n'), expected);

    // A run that takes no picture does not draw, yet reports the graph as one that draws would: shown, or (plot
    // step 0) not.
    QByteArray unplottable = slurp(example("sine_study.txt"));
    unplottable.replace("-8,8,-1.5,1.5,1,", "-8,8,-1.5,1.5,0,");
    const QString stepless = dir.filePath("stepless.txt");
    QFile file(stepless);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(unplottable) == unplottable.size());
    file.close();
    for (const QString& f : {windowCopy, stepless}) {
        const Ran text = runVendrak({"--batch", f, "--json"});
        const Ran drawn = runVendrak({"--batch", f, "--json", "--export-graph", dir.filePath("g.png")});
        EXPECT_EQ(text.out, drawn.out);
        EXPECT_EQ(runVendrak({"--batch", f}).out.startsWith(ReportTitle(0)), f == windowCopy);
    }
}

TEST(Cli, JsonHoldsTheCoreResultsAtFullPrecision)
{
    // A trigonometric series without a saved study (the Open defaults) and a
    // power series; the commands in a different order each time.
    const struct {
        const char* file;
        QStringList commands;
    } cases[] = {
        {"square_wave.txt", {"--value", "2", "-1.25", "--integral", "--extrema", "--roots"}},
        {"bessel_j0.txt", {"--verify"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Ran r = runVendrak(QStringList{"--batch", example(c.file), "--json"} + c.commands);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QJsonObject o = json(r);

        Dimension d;
        d.initialise();
        ASSERT_EQ(test::openSeries(d, example(c.file)), "");
        const StudySettingsTexts s = OpenedSettings(d, StartUpSettings());
        const StudySpecTexts studyTexts{s.xlower, s.xupper, s.subintervals, s.error, s.maxcy};
        const ScanOutcome roots = RootsCommand(d.series, d.study, studyTexts);
        const ScanOutcome extrema = ExtremaCommand(d.series, d.study, studyTexts);
        d.results = WithScan(WithScan(d.results, roots), extrema);
        const IntegralOutcome integral = IntegralCommand(d.series, d.study, studyTexts);
        ASSERT_TRUE(integral.done());
        d.study = *integral.study;
        d.results = WithIntegral(d.results, integral);
        EXPECT_EQ(o["roots"]["label"].toString(), roots.label);
        EXPECT_EQ(strings(o["extrema"]["entries"]), extrema.entries);
        expectSameNumbers(o, d);
        if (c.commands.contains("--verify")) {
            // Verify adds its object and changes nothing else.
            QJsonObject without = json(runVendrak({"--batch", example(c.file), "--json"}));
            without.insert("verified", o["verified"]);
            EXPECT_EQ(o, without);
            const QJsonObject v = o["verified"].toObject();
            EXPECT_EQ(v["roots"]["proven"].toArray().size(), 6);
            EXPECT_EQ(v["extrema"]["maxima"][1], (QJsonArray{0, 0}));
            EXPECT_EQ(v["extrema"]["values"]["maxima"][1], (QJsonArray{1, 1}));
            EXPECT_TRUE(v["roots"]["complete"].toBool() && v["extrema"]["complete"].toBool());
            EXPECT_EQ(v["scan"]["rootsMissed"].toArray().size() + v["scan"]["extremaWrong"].toArray().size(), 0);
            for (const QJsonValue root : v["roots"]["proven"].toArray())
                EXPECT_LT(EvalSeries(d.series, root[0].toDouble()) * EvalSeries(d.series, root[1].toDouble()), 0);
        } else if (!c.commands.isEmpty()) {
            EXPECT_EQ(o["values"][0]["label"].toString(), PointValueCommand(d.series, d.study, studyTexts, "2", "-1.25").text);
            EXPECT_EQ(o["values"][0]["value"].toDouble(), EvalSelected(d.series, 2, -1.25));
            EXPECT_EQ(o["series"]["kind"].toString(), "trigonometric");
        }
    }
}

TEST(Cli, ExitStatusesAndMessages)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath("broken.txt"), zeroPeriod = dir.filePath("zero_period.txt");
    ASSERT_TRUE(test::put(broken, "0,\"cut short\",-1,1,0,1,0,3,#TRUE#\r\n1\r\n"));
    ASSERT_TRUE(test::put(zeroPeriod, "0,\"period 0\",-1,1,0,0,0,3,#TRUE#\r\n1\r\n0.5\r\n0.25\r\n"));
    const auto study = [&](const char* name, const QByteArray& settings) { // x^2 - 1, results saved
        test::put(dir.filePath(name), "0,\"x^2-1\",-8,8,0,1,0,2,#TRUE#\r\n-1\r\n0\r\n1\r\n" + settings +
                                          ",.001,30,#FALSE#,2,2,0,1\r\n-8,8,-5,5,1,0,0,1,1\r\n-1\r\n1\r\n0\r\n");
        return dir.filePath(name);
    };
    // Nothing that is not a regular file is read or replaced, whatever it is called.
    const QString pipe = dir.filePath("pipe.png"), copy = dir.filePath("copy.txt");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::copy(example("sine_taylor.txt"), copy) && QFile::link(pipe, copy + ".bmp"));
    const QString series = QStringLiteral(VENDRAK_SERIES_EXE), sine = example("sine_taylor.txt");
    // The launcher alone says it cannot start the program it picked; the
    // command-line program alone runs what takes no picture and says it
    // cannot start the window's program for the rest.
    const QString alone = dir.filePath("alone/vendrak"), cliAlone = dir.filePath("cli/vendrak-cli");
    ASSERT_TRUE(QDir(dir.path()).mkdir("alone") && QFile::copy(VENDRAK_EXE, alone));
    ASSERT_TRUE(QDir(dir.path()).mkdir("cli") && QFile::copy(VENDRAK_CLI_EXE, cliAlone));
    const auto cannotStart = [&](const QString& path) {
        return QStringLiteral("vendrak: cannot start %1: %2\n").arg(path, std::strerror(ENOENT));
    };
    const struct {
        QStringList args;
        int status;
        QString inError;  // part of the message on standard error
        QString inOutput; // part of what is still printed
        QString program = QStringLiteral(VENDRAK_EXE);
    } cases[] = {
        {{"--batch", sine, "--integral"}, 0, "", "INTEGRAL= "},
        {{"--batch", dir.filePath("missing.txt")}, 3, "missing.txt", ""},
        {{"--batch", pipe}, 3, "not a regular file", ""},
        {{"--batch", zeroPeriod, "--value", "0", "0.5", "--integral"}, 4, "integral: division by zero", "ORDER 0 AT 0.5: "},
        {{"--batch", sine, "--value", "171", "1"}, 4, "no derivative of that order", "FUNCTION:"},
        {{"--batch", study("reversed.txt", "7,-7,64"), "--roots", "--integral", "--extrema"}, 4,
         "roots: the study interval is empty or reversed: its lower limit 7 is not below its upper limit -7\n"
         "vendrak: extrema: the study interval", "INTEGRAL= "},
        {{"--batch", study("none.txt", "-7,7,-3"), "--extrema", "--roots"}, 4, "extrema: the number of subintervals is -3", "FUNCTION:"},
        {{"--batch", study("one.txt", "-7,7,1"), "--roots"}, 0, "", ""},
        {{"--batch", sine, "--bogus"}, 2, "bogus", ""},
        {{"--batch", sine, "--value", "0", "nan"}, 2, "not \"nan\"", ""},
        {{"--batch", sine, "--value", "0", "inf"}, 2, "not \"inf\"", ""},
        {{"--batch", sine, "--value", "0", "-inf"}, 2, "not \"-inf\"", ""},
        {{"--batch", sine, "--export-graph", dir.filePath("g.gif")}, 2, ".png, .svg or .pdf", ""},
        {{"--batch", sine, "--export-graph", dir.filePath("no/such/g.pdf")}, 4, "g.pdf", "FUNCTION:"},
        {{"--batch", sine, "--export-graph", pipe}, 4, "pipe.png: it is not a regular file", "FUNCTION:"},
        {{"--batch", copy, "--save"}, 4, "copy.txt.bmp: it is not a regular file", "FUNCTION:"},
        {{"--batch", sine, "--figure", dir.filePath("f.gif")}, 2, "--figure: " + dir.filePath("f.gif") + " does not end in", ""},
        {{"--batch", sine, "--fit-y"}, 2, "--fit-y needs --figure", ""},
        {{"--figure", dir.filePath("f.png"), sine}, 2, "--figure needs --batch", ""},
        {{"--batch", sine, "--figure", dir.filePath("f.png"), "--size", "800"}, 2, "--size needs a width and a height", ""},
        {{"--batch", sine, "--figure", dir.filePath("f.png"), "--size", "20", "20"}, 2, "--size: the size must be between 50 and 10000 pixels", ""},
        {{"--batch", sine, "--figure", dir.filePath("f.pdf"), "--size", "6000", "200"}, 2, "between 50 and 5000 points", ""},
        {{"--batch", sine, "--figure", dir.filePath("f.svg"), "--curves", "0,1,1"}, 2, "--curves names order 1 twice", ""},
        {{"--batch", sine, "--figure", dir.filePath("f.svg"), "--curves", "0,10"}, 2, "orders from 0 to 9, not \"10\"", ""},
        {{"--batch", sine, "--figure", dir.filePath("no/such/f.pdf")}, 4, "figure: the figure could not be written", "FUNCTION:"},
        {{"--batch", sine, "--figure", pipe}, 4, "pipe.png: it is not a regular file", "FUNCTION:"},
        {{"--roots", sine}, 2, "--roots needs --batch", ""},
        {{"taylor", "sin(x)", "--centre", "0", "--degree", "5", "-o", pipe}, 3, "not a regular file", "", series},
        {{"taylor", "sin(x)", "--centre", "0", "--degree", "2", "--degree", "3"}, 2, "--degree is given more than once", "", series},
        {{"fourier", "x", "--period", "1", "--harmonics", "2", "--center", "0", "--centre", "1"}, 2, "more than once", "", series},
        {{"taylor", "sin(x)", "--centre", "0", "--degree", "2", "-o", ""}, 2, "-o needs a file name", "", series},
        {{"taylor", "sin(x)", "--centre", "1e308", "--degree", "5"}, 0, "", "9.99999999999986E+307,1.00000000000001E+308,1E+308", series},
        {{"fourier", "x", "--period", "1", "--harmonics", "2", "--centre", "1e300"}, 3, "too short to be sampled", "", series},
        // Number options are constant expressions; one that does not evaluate is a usage error.
        {{"taylor", "x", "--centre", "pi/2", "--degree", "1"}, 0, "the centre 1.5707963267948966 is written", "\r\n1.5707963267949\r\n1\r\n", series},
        {{"taylor", "x", "--centre", "-pi", "--degree", "1", "--interval", "-2pi", "pi"}, 0, "written as -3.14159265358979;",
         "-6.28318530717959,3.14159265358979,-3.14159265358979,1,", series},
        {{"fourier", "1", "--period", "2*pi", "--harmonics", "1"}, 0, "the period 6.283185307179586 is written", "period 6.28318530717959,", series},
        {{"taylor", "x", "--centre", "1+", "--degree", "1"}, 2, "--centre needs a number, not \"1+\": column 3", "", series},
        {{"fourier", "x", "--period", "2x", "--harmonics", "1"}, 2, "must not contain x", "", series},
        {{"taylor", "x", "--centre", "0", "--degree", "1", "--interval", "0", "log(0)"}, 2, "not a finite number", "", series},
        {{"taylor", "tan(x)", "--centre", "1.5707963267948966", "--degree", "1"}, 0,
         "the centre 1.5707963267948966 is written as 1.5707963267949; the series is about that centre", "\r\n-286411383293069\r\n", series},
        // Verify after the report; a scan run for it lists nothing in the report.
        {{"--batch", sine, "--integral", "--verify"}, 0, "",
         "\nVERIFIED:\n5 roots in [-8, 8], all proven; the scan found 5\n6 extrema (3 max., 3 min.) in [-8, 8], "
         "all proven; the scan found 6\nROOT IN [-6.2890625, -6.28125]\n"},
        {{"--batch", zeroPeriod, "--roots", "--verify"}, 4, "verify: the period of the series is 0", "PLOT SETUP:"},
        {{"--batch", sine, "--integral", "--json"}, 0, "", "\"integral\": {", cliAlone},
        {{"--batch", sine, "--figure", dir.filePath("alone.svg")}, 127, cannotStart(dir.filePath("cli/vendrak-gui")), "", cliAlone},
        {{"--version"}, 127, cannotStart(dir.filePath("alone/" VENDRAK_BIN_TO_LIBEXEC "/vendrak-cli")), "", alone},
        {{sine}, 127, cannotStart(dir.filePath("alone/" VENDRAK_BIN_TO_LIBEXEC "/vendrak-gui")), "", alone},
        // Handed a picture, the command-line program hands the run on.
        {{"--batch", sine, "--figure", dir.filePath("handed.svg")}, 0, "", "FUNCTION:", VENDRAK_CLI_EXE},
        // The window without a display: a message, not Qt's abort.
        {{}, 2, "vendrak: there is no display to open the window on", ""},
        {{"--bogus", sine}, 2, "vendrak --batch FILE (see --help)", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Ran r = run(c.program, c.args);
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
        // Standard error holds the program's own messages and nothing else.
        EXPECT_TRUE(r.err.contains(c.inError)) << r.err.toStdString();
        EXPECT_EQ(r.err.isEmpty(), c.inError.isEmpty()) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(c.inOutput)) << r.out.toStdString();
    }
    EXPECT_FALSE(QFileInfo(pipe).isFile());
    EXPECT_TRUE(QFileInfo(copy + ".bmp").isSymLink());

    // The graph export writes the graph area's picture, in the format its
    // extension names; the PNG is the picture the window shows.
    // A link is written through: it stays, and the file it names is the graph.
    ASSERT_TRUE(test::put(dir.filePath("graph.svg"), "old") && QFile::link(dir.filePath("graph.svg"), dir.filePath("link.svg")));
    for (const char* name : {"graph.png", "link.svg", "graph.pdf"}) {
        const QString out = dir.filePath(name);
        EXPECT_EQ(runVendrak({"--batch", example("sine_taylor.txt"), "--export-graph", out, "--roots"}).status, 0);
        EXPECT_GT(QFileInfo(out).size(), 1000) << name;
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("link.svg")).isSymLink());
    EXPECT_EQ(QImage(dir.filePath("graph.png")).size(), QSize(396, 296));
    EXPECT_TRUE(slurp(dir.filePath("graph.svg")).contains("<text"));

    // The figure, in each format; its marks are this run's scans (and proofs),
    // else none for a file without a saved study. The shading is one path.
    const struct { QStringList extra; QString out; int circles; } figures[] = {
        {{"--integral"}, "fig.svg", 0}, {{"--roots"}, "roots.svg", 6}, {{"--verify"}, "proven.svg", 7},
        {{"--curves", "2,0", "--fit-y", "--size", "640", "400"}, "fig.png", -1}, {{}, "fig.pdf", -1}};
    for (const auto& f : figures) {
        const QString out = dir.filePath(f.out);
        const Ran r = runVendrak(QStringList{"--batch", sine, "--figure", out} + f.extra);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_GT(QFileInfo(out).size(), 1000) << f.out.toStdString();
        if (f.circles >= 0) {
            const QByteArray svg = slurp(out);
            EXPECT_EQ(svg.count("<circle"), f.circles) << f.out.toStdString();
            EXPECT_LT(svg.count("<path"), 20) << f.out.toStdString();
        }
    }
    EXPECT_EQ(QImage(dir.filePath("fig.png")).size(), QSize(640, 400));
}

// Standard output on a full device: nothing may pass for a finished run, short
// output that fits the buffer or long output that does not.
TEST(Cli, AFullStandardOutputIsAFailure)
{
    QStringList values{"--batch", example("sine_taylor.txt"), "--json"};
    for (int i = 0; i < 300; ++i)
        values << "--value" << "0" << "0.5";
    const struct { QString program; QStringList args; int status; } cases[] = {
        {VENDRAK_EXE, values, 4}, {VENDRAK_EXE, {"--batch", example("sine_taylor.txt")}, 4}, {VENDRAK_EXE, {"--help"}, 4},
        {VENDRAK_SERIES_EXE, {"taylor", "sin(x)", "--centre", "0", "--degree", "600"}, 3}, {VENDRAK_SERIES_EXE, {"--help"}, 3}};
    for (const auto& c : cases) {
        const Ran r = run(c.program, c.args, "/dev/full");
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(std::strerror(ENOSPC))) << r.err.toStdString();
    }
}

TEST(Cli, HelpAndVersionNeedNoDisplay)
{
    const Ran help = runVendrak({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("--batch FILE")) << help.out.toStdString();
    const Ran version = runVendrak({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.trimmed(), "vendrak 1.0");
    // The launcher loads the C library alone; what takes no picture starts
    // without Qt's graphical libraries.
    const QString readelf = QStandardPaths::findExecutable("readelf");
    if (readelf.isEmpty()) {
        std::printf("note: readelf is not installed; the libraries vendrak needs are not checked\n");
        return;
    }
    const struct { const char* program; QString needs; QStringList never; } programs[] = {
        {VENDRAK_EXE, "[libc.so", {"[libQt6", "[libstdc++"}},
        {VENDRAK_CLI_EXE, "[libQt6Core.so", {"[libQt6Gui", "[libQt6Widgets", "[libQt6PrintSupport", "[libQt6Svg", "[libQt6OpenGL"}}};
    for (const auto& p : programs) {
        const Ran needed = run(readelf, {"-d", p.program});
        EXPECT_TRUE(needed.out.contains(p.needs)) << needed.out.toStdString();
        for (const QString& library : p.never)
            EXPECT_FALSE(needed.out.contains(library)) << p.program << ": " << library.toStdString();
    }
}

TEST(Cli, InstallsProgramsHelpDesktopEntryMetadataIconAndManualPages)
{
    QTemporaryDir prefix;
    const Ran install = run(VENDRAK_CMAKE, {"--install", VENDRAK_BUILD_DIR, "--prefix", prefix.path()});
    ASSERT_EQ(install.status, 0) << install.err.toStdString() << install.out.toStdString();
    const QString id = QStringLiteral(VENDRAK_APP_ID);
    const QStringList files{"bin/vendrak",
                            "bin/vendrak-series",
                            VENDRAK_CLI_INSTALLED,
                            VENDRAK_GUI_INSTALLED,
                            "share/vendrak/help/index.html",
                            "share/applications/" + id + ".desktop",
                            "share/metainfo/" + id + ".metainfo.xml",
                            "share/icons/hicolor/scalable/apps/" + id + ".svg",
                            "share/man/man1/vendrak.1",
                            "share/man/man1/vendrak-series.1"};
    for (const QString& f : files)
        EXPECT_TRUE(QFileInfo::exists(prefix.filePath(f))) << f.toStdString();

    // The installed program finds the installed help, not the build tree's.
    const Ran where = run(prefix.filePath("bin/vendrak"), {"--help-path"});
    EXPECT_EQ(where.status, 0);
    EXPECT_EQ(QFileInfo(where.out.trimmed()).canonicalFilePath(),
              QFileInfo(prefix.filePath("share/vendrak/help/index.html")).canonicalFilePath());
    EXPECT_EQ(run(prefix.filePath("bin/vendrak-series"), {"--help"}).status, 0);
    // The window's program, from its place, finds the same help; `vendrak`
    // finds it there for the pictures.
    const Ran guiWhere = run(prefix.filePath(VENDRAK_GUI_INSTALLED), {"--help-path"});
    EXPECT_EQ(QFileInfo(guiWhere.out.trimmed()).canonicalFilePath(),
              QFileInfo(prefix.filePath("share/vendrak/help/index.html")).canonicalFilePath());
    const Ran figure = run(prefix.filePath("bin/vendrak"), {"--batch", example("sine_taylor.txt"), "--figure",
                                                            prefix.filePath("figure.svg")});
    EXPECT_EQ(figure.status, 0) << figure.err.toStdString();
    EXPECT_GT(QFileInfo(prefix.filePath("figure.svg")).size(), 1000);

    // The checkers the desktops use; the set-up installs them, so CI runs them.
    const struct {
        const char* tool;
        QStringList args;
    } checks[] = {
        {"desktop-file-validate", {prefix.filePath(files[5])}},
        {"appstreamcli", {"validate", "--no-net", prefix.filePath(files[6])}},
    };
    for (const auto& c : checks) {
        const QString tool = QStandardPaths::findExecutable(c.tool);
        if (tool.isEmpty()) {
            std::printf("note: %s is not installed; not checked\n", c.tool);
            continue;
        }
        const Ran r = run(tool, c.args);
        EXPECT_EQ(r.status, 0) << c.tool << ": " << r.out.toStdString() << r.err.toStdString();
    }
}

