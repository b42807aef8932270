// The command line as a user meets it: the built program run without a
// display, its results checked against the window and the core, and its
// installation.
#include "core/analysis/study_commands.h"
#include "core/report/report_body.h"
#include "core/series/evaluators.h"
#include "core/series/study_texts.h"
#include "support/shown_window.h"

#include <QtWidgets>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace vendrak;
using test::example;
using test::items;
using test::slurp;

namespace {

struct Ran {
    int status = -1;
    QString out, err;
};

// As from a terminal with no display at all.
Ran run(const QString& program, const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(240000))
        p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

Ran runVendrak(const QStringList& args) { return run(QStringLiteral(VENDRAK_EXE), args); }

// What the program itself said on standard error (not Qt's own notes about
// the environment).
QString said(const Ran& r)
{
    QStringList lines = r.err.split(u'\n');
    lines.removeIf([](const QString& l) { return !l.startsWith(u"vendrak: "); });
    return lines.join(u'\n');
}

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
    ASSERT_EQ(roots.size(), d.results.RootCount);
    for (int i = 0; i < d.results.RootCount; ++i)
        EXPECT_EQ(roots[i].toDouble(), d.results.Roots[static_cast<size_t>(i + 1)]);
    for (const auto& [key, table, count] : {std::tuple{"maxima", &d.results.Maxima, d.results.MaxCount}, {"minima", &d.results.Minima, d.results.MinCount}}) {
        const QJsonArray pairs = o[key].toArray();
        ASSERT_EQ(pairs.size(), count) << key;
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(pairs[i][0].toDouble(), (*table)[size_t(i + 1)]);
            EXPECT_EQ(pairs[i][1].toDouble(), EvalSeries(d.series, (*table)[size_t(i + 1)]));
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
    for (QPushButton* b : {w.cmdRoots, w.cmdExtrema, w.cmdIntegrate})
        b->click();
    w.evaluationFrame->txtDerNum->setText("1");
    w.evaluationFrame->txtXeval->setText("-0.5");
    w.evaluationFrame->cmdDerVal->click();
    w.mnuSave->trigger();
    ASSERT_TRUE(dlg.messages.empty());
    ASSERT_FALSE(w.lblRoots->text().isEmpty());

    const QStringList commands{"--roots", "--extrema", "--integral", "--value", "1", "-0.5"};
    const Ran batch = runVendrak(QStringList{"--batch", batchCopy, "--json", "--save"} + commands);
    ASSERT_EQ(batch.status, 0) << batch.err.toStdString();
    EXPECT_EQ(said(batch), "") << batch.err.toStdString();
    const QJsonObject o = json(batch);
    EXPECT_EQ(o["series"]["label"].toString(), w.lblType->text());
    EXPECT_EQ(o["series"]["degree"].toInt(), w.lblTerms->text().toInt());
    EXPECT_EQ(o["intervalTexts"].toArray(), QJsonArray({w.studySpecsFrame->txtXlower->text(), w.studySpecsFrame->txtXupper->text()}));
    EXPECT_EQ(o["roots"]["label"].toString(), w.lblRoots->text());
    EXPECT_EQ(strings(o["roots"]["entries"]), items(w.lstRoots));
    EXPECT_EQ(o["extrema"]["label"].toString(), w.lblExtrema->text());
    EXPECT_EQ(strings(o["extrema"]["entries"]), items(w.lstExtrema));
    EXPECT_EQ(o["integral"]["label"].toString(), w.lblIntegral->text());
    EXPECT_EQ(o["values"][0]["label"].toString(), w.evaluationFrame->lblDerVal->text());
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
    const ReportTexts texts{dim.window.FileName,          w.studySpecsFrame->txtXlower->text(),   w.studySpecsFrame->txtXupper->text(),
                            w.studySpecsFrame->txtSubintervals->text(), w.studySpecsFrame->txtMaxcy->text(), w.studySpecsFrame->txtError->text(),
                            w.plotSetupFrame->txtXorigin->text(),  w.plotSetupFrame->txtYorigin->text(),  w.plotSetupFrame->txtDivx->text(),
                            w.plotSetupFrame->txtDivy->text(),     w.plotSetupFrame->txtWindowlx->text(), w.plotSetupFrame->txtWindowgx->text(),
                            w.plotSetupFrame->txtWindowly->text(), w.plotSetupFrame->txtWindowgy->text()};
    for (const ReportLine& line : ReportBody(dim.series, dim.study, dim.results, texts))
        expected << line.text + line.redTail;
    expected << "" << "VALUES:" << "ORDER 1 AT -0.5: " + w.evaluationFrame->lblDerVal->text() << "";
    EXPECT_EQ(report.out.split('\n'), expected);
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
        ASSERT_EQ(ReadSeriesFile(d, example(c.file)).status, ReadStatus::Ok);
        const StudySettingsTexts s = OpenedSettings(d, StartUpSettings());
        const StudySpecTexts studyTexts{s.xlower, s.xupper, s.subintervals, s.error, s.maxcy};
        const ScanOutcome roots = RootsCommand(d, studyTexts);
        const ScanOutcome extrema = ExtremaCommand(d, studyTexts);
        ASSERT_TRUE(IntegralCommand(d, studyTexts).done);
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
            EXPECT_EQ(o["values"][0]["label"].toString(), PointValueCommand(d, studyTexts, "2", "-1.25").text);
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
    const struct {
        QStringList args;
        int status;
        QString inError;  // part of the message on standard error
        QString inOutput; // part of what is still printed
    } cases[] = {
        {{"--batch", example("sine_taylor.txt"), "--integral"}, 0, "", "INTEGRAL= "},
        {{"--batch", dir.filePath("missing.txt")}, 3, "missing.txt", ""},
        {{"--batch", zeroPeriod, "--value", "0", "0.5", "--integral"}, 4, "integral: division by zero", "ORDER 0 AT 0.5: "},
        {{"--batch", example("sine_taylor.txt"), "--value", "171", "1"}, 4, "no derivative of that order", "FUNCTION:"},
        {{"--batch", example("sine_taylor.txt"), "--bogus"}, 2, "bogus", ""},
        {{"--batch", example("sine_taylor.txt"), "--export-graph", dir.filePath("g.gif")}, 4, ".png, .svg or .pdf", "FUNCTION:"},
        {{"--batch", example("sine_taylor.txt"), "--export-graph", dir.filePath("no/such/g.pdf")}, 4, "g.pdf", "FUNCTION:"},
        {{"--roots", example("sine_taylor.txt")}, 2, "--roots needs --batch", ""},
        // Verify after the report; a scan run for it lists nothing in the report.
        {{"--batch", example("sine_taylor.txt"), "--integral", "--verify"}, 0, "",
         "\nVERIFIED:\n5 roots in [-8, 8], all proven; the scan found 5\n6 extrema (3 max., 3 min.) in [-8, 8], "
         "all proven; the scan found 6\nROOT IN [-6.2890625, -6.28125]\n"},
        {{"--batch", zeroPeriod, "--roots", "--verify"}, 4, "verify: the period of the series is 0", "PLOT SETUP:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Ran r = runVendrak(c.args);
        EXPECT_EQ(r.status, c.status) << r.err.toStdString();
        EXPECT_TRUE(said(r).contains(c.inError)) << r.err.toStdString();
        EXPECT_EQ(said(r).isEmpty(), c.inError.isEmpty()) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(c.inOutput)) << r.out.toStdString();
    }

    // The graph export writes the graph area's picture, in the format its
    // extension names; the PNG is the picture the window shows.
    for (const char* name : {"graph.png", "graph.svg", "graph.pdf"}) {
        const QString out = dir.filePath(name);
        EXPECT_EQ(runVendrak({"--batch", example("sine_taylor.txt"), "--export-graph", out, "--roots"}).status, 0);
        EXPECT_GT(QFileInfo(out).size(), 1000) << name;
    }
    EXPECT_EQ(QImage(dir.filePath("graph.png")).size(), QSize(396, 296));
    EXPECT_TRUE(slurp(dir.filePath("graph.svg")).contains("<text"));
}

TEST(Cli, HelpAndVersionNeedNoDisplay)
{
    const Ran help = runVendrak({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("--batch FILE")) << help.out.toStdString();
    const Ran version = runVendrak({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.trimmed(), "vendrak 1.0");
}

TEST(Cli, InstallsProgramsHelpDesktopEntryMetadataIconAndManualPages)
{
    QTemporaryDir prefix;
    const Ran install = run(VENDRAK_CMAKE, {"--install", VENDRAK_BUILD_DIR, "--prefix", prefix.path()});
    ASSERT_EQ(install.status, 0) << install.err.toStdString() << install.out.toStdString();
    const QString id = QStringLiteral(VENDRAK_APP_ID);
    const QStringList files{"bin/vendrak",
                            "bin/vendrak-series",
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

    // The checkers the desktops use; the set-up installs them, so CI runs them.
    const struct {
        const char* tool;
        QStringList args;
    } checks[] = {
        {"desktop-file-validate", {prefix.filePath(files[3])}},
        {"appstreamcli", {"validate", "--no-net", prefix.filePath(files[4])}},
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

