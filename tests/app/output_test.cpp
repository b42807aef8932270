// What leaves the window: Export graph (PNG at a chosen scale, SVG, PDF), the
// graph on a high-density screen, the printed report, and a new series file
// made from an expression.
#include "app/new_series_dialog.h"
#include "support/shown_window.h"
#include "support/watchdog.h"

#include <QtWidgets>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <optional>
#include <unistd.h>

namespace vendrak {
namespace {

// f(x) = x/2 plotted in the initial window, ready to export into a fresh folder.
struct Exporting : ::testing::Test, test::Window {
    QTemporaryDir dir;

    void SetUp() override
    {
        std::tie(dim.series.Kind, dim.series.Coeffs, dim.series.TermCount) = std::tuple(SeriesKind::Power, std::vector<double>{0, 0.5}, 1);
        button("cmdPlot")->click();
        ASSERT_TRUE(dim.window.GraphShown);
    }
    // Exports under `name` with the filter at `filter` and, for a PNG, the
    // scale at `scaleItem`; the path the file should have.
    QString exportAs(const QString& name, int filter = 0, int scaleItem = 0)
    {
        static const char* filters[] = {"PNG image (*.png)", "SVG image (*.svg)", "PDF document (*.pdf)"};
        dlg.exportNames.push_back({dir.filePath(name), QString::fromLatin1(filters[filter])});
        dlg.itemAnswers = {scaleItem};
        action("mnuExport")->trigger();
        return dir.filePath(name);
    }
    QImage shown() const { return picture()->image().convertToFormat(QImage::Format_RGB32); }
};

int differingPixels(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

TEST_F(Exporting, PngAtOneAndFourTimesIsTheShownGraphDrawnAtThatResolution)
{
    const QImage before = shown();
    const QImage one(exportAs("one.png", 0, 0));
    const QImage four(exportAs("four.png", 0, 2));
    EXPECT_EQ(dlg.itemsOffered.size(), 4);
    EXPECT_TRUE(dlg.messages.empty());
    EXPECT_EQ(one.convertToFormat(QImage::Format_RGB32), before);
    ASSERT_EQ(four.size(), QSize(396 * 4, 296 * 4));
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(dim.window.GraphShown);
    // Every pixel of a line colour in the 1x picture has its colour in its
    // 4x4 block (or the next one, where rounding moved a line by a pixel).
    const QRgb lineColours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0), qRgb(0, 0, 255)};
    int lines = 0, found = 0;
    for (int y = 1; y < 295; ++y)
        for (int x = 1; x < 395; ++x) {
            const QRgb c = before.pixel(x, y);
            if (std::find(std::begin(lineColours), std::end(lineColours), c) == std::end(lineColours))
                continue;
            ++lines;
            bool there = false;
            for (int v = 4 * y - 4; v < 4 * y + 8 && !there; ++v)
                for (int u = 4 * x - 4; u < 4 * x + 8 && !there; ++u)
                    there = four.pixel(u, v) == c;
            found += there;
        }
    EXPECT_GT(lines, 2000);
    EXPECT_GE(found, lines * 99 / 100) << found << " of " << lines;
    // The curve stays a thin line where it crosses the column x = -12.5.
    ASSERT_EQ(before.pixel(79, 207), qRgb(0, 0, 0));
    int thickness = 0;
    for (int v = 4 * 195; v < 4 * 220; ++v)
        thickness += four.pixel(4 * 79 + 2 - 2 * 4, v) == qRgb(0, 0, 0);
    EXPECT_GE(thickness, 1);
    EXPECT_LE(thickness, 2);
}

TEST_F(Exporting, SvgAndPdfHoldLinesAndTextAsSuch)
{
    const QString svgPath = exportAs("vector", 1) + ".svg"; // no extension typed: the filter gives it
    ASSERT_TRUE(dlg.messages.empty());
    const QByteArray svg = test::slurp(svgPath);
    EXPECT_TRUE(svg.contains("<polyline") || svg.contains("<path"));
    EXPECT_TRUE(svg.contains(">-20") || svg.contains("> -20")) << "window label as text";
    QSvgRenderer renderer(svgPath);
    ASSERT_TRUE(renderer.isValid());
    QImage rendered(396, 296, QImage::Format_RGB32);
    rendered.fill(Qt::black);
    {
        QPainter p(&rendered);
        renderer.render(&p, QRectF(0, 0, 396, 296));
    }
    EXPECT_LT(differingPixels(rendered, shown()), 396 * 296 / 16); // text antialiased a little differently

    const QString pdfPath = exportAs("graph.PDF", 0); // the typed extension wins over the filter
    ASSERT_GT(QFileInfo(pdfPath).size(), 0);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QProcess text;
    text.start(pdftotext, {pdfPath, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* label : {"-20", "20", "-15", "15"})
        EXPECT_TRUE(words.contains(QString::fromLatin1(label))) << label << " in " << words.toStdString();
}

TEST_F(Exporting, NothingIsWrittenWithoutAGraphACancelOrAWritableFolder)
{
    exportAs("cancelled.png", 0, -1); // the scale question cancelled
    ASSERT_TRUE(test::put(dir.filePath("file"), {}));
    exportAs("file/unwritable.svg", 1); // a file where a folder should be
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_TRUE(dlg.messages[0].text.contains("unwritable.svg")) << dlg.messages[0].text.toStdString();
    field("txtDivx")->setText("2"); // the graph is gone
    exportAs("nograph.png");
    ASSERT_EQ(dlg.messages.size(), 2u);
    EXPECT_EQ(dlg.exportNames.size(), 1u); // not even asked for a name
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"file"});
}

// Run in a child process whose screen has a pixel ratio of 2.
TEST(HighDensityScreen, DISABLED_ChildShowsTheGraphAtTheScreenRatio)
{
    test::ShownWindow s;
    ASSERT_EQ(s.picture()->devicePixelRatioF(), 2.0);
    std::tie(s.dim.series.Kind, s.dim.series.Coeffs, s.dim.series.TermCount) = std::tuple(SeriesKind::Power, std::vector<double>{0, 0.5}, 1);
    s.button("cmdPlot")->click();
    const QImage grabbed = s.picture()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(grabbed.size(), QSize(800, 600));
    EXPECT_EQ(s.picture()->image().size(), QSize(396, 296)); // the 1x picture stays
    const QImage doubled = s.picture()->image().scaled(792, 592).convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(differingPixels(grabbed.copy(4, 4, 792, 592), doubled), 5000); // drawn anew, not scaled up
}

TEST(HighDensityScreen, GraphAreaIsDrawnAtTheScreenResolution)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=HighDensityScreen.DISABLED_*"});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

TEST(PrintReport, WithAndWithoutTheGraphCancelledAndFailing)
{
    QTemporaryDir dir;
    test::Window t;
    t.dlg.pdfPath = dir.filePath("report.pdf");
    t.open(test::example("sine_study.txt"));
    ASSERT_TRUE(t.dim.window.GraphShown);
    t.action("mnuPrint")->trigger();
    EXPECT_TRUE(t.dlg.messages.empty());
    const qint64 withGraph = QFileInfo(t.dlg.pdfPath).size();
    EXPECT_GT(withGraph, 0);
    QFile::remove(t.dlg.pdfPath);
    t.field("txtDivx")->setText("2"); // a changed setting blanks the graph: the report is text only
    t.action("mnuPrint")->trigger();
    EXPECT_GT(QFileInfo(t.dlg.pdfPath).size(), 0);
    EXPECT_LT(QFileInfo(t.dlg.pdfPath).size() * 2, withGraph);
    QFile::remove(t.dlg.pdfPath);
    t.dlg.printAccept = false; // cancelled: nothing is printed
    t.action("mnuPrint")->trigger();
    EXPECT_EQ(t.dlg.printAsked, 3);
    EXPECT_FALSE(QFileInfo::exists(t.dlg.pdfPath));
    t.dlg.printAccept = true;
    t.dlg.pdfPath = dir.filePath("no/such/folder/report.pdf");
    t.action("mnuPrint")->trigger();
    ASSERT_EQ(t.dlg.messages.size(), 1u);
    EXPECT_TRUE(t.dlg.messages[0].text.contains("report.pdf"));
    t.button("cmdRoots")->click(); // the program goes on
    EXPECT_FALSE(t.label("lblRoots")->text().isEmpty());
}

// A failure is said in the dialog and writes nothing; Create saves the series
// (built first when no preview of it is ready) and the window opens it as Open
// does, ready to study.
TEST(NewSeries, FailuresStayInTheDialogAndCreateOpensTheSeriesReadyToStudy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sinc.txt");
    test::Window t;
    t.action("mnuNewSeries")->trigger();
    auto* d = t.w.findChild<NewSeriesDialog*>("frmNewSeries");
    ASSERT_NE(d, nullptr);
    auto field = [&](const char* name) { return d->findChild<QLineEdit*>(name); };
    d->findChild<QComboBox*>("cboKind")->setCurrentIndex(0); // Taylor
    for (const auto& [name, text] : {std::pair{"txtCentre", "0"}, {"txtTerms", "60"}, {"txtLower", "-10"},
                                     {"txtUpper", "10"}, {"txtExpression", "sin(x)/(x"}})
        field(name)->setText(text);
    for (bool create : {false, true}) {
        t.dlg.saveNames = {path};
        create ? d->findChild<QPushButton*>("cmdCreate")->click() : d->refreshPreview();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !d->errorText().isEmpty(); }, 5000));
        EXPECT_EQ(d->errorText(), "column 10: expected ')'"); // at the end of the text
    }
    EXPECT_EQ(t.dlg.saveAsked, 0); // nothing is asked, nothing written
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(field("txtExpression")->text(), "sin(x)/(x");

    field("txtExpression")->setText("sin(x)/x");
    const auto preview = [&] { return d->findChild<QLabel*>("lblPreview")->text(); };
    field("txtCentre")->setText("0.1234567890123456789"); // more digits than the file keeps: made about what it keeps, and said
    d->refreshPreview();
    EXPECT_TRUE(QTest::qWaitFor([&] { return preview().contains("\nThe centre 0.12345678901234568 is written as 0.123456789012346;"); }, 5000));
    field("txtCentre")->setText("pi/2"); // a constant expression: cos(x)/x about pi/2 starts at 0
    field("txtExpression")->setText("cos(x)/x");
    d->refreshPreview();
    EXPECT_TRUE(QTest::qWaitFor([&] { return preview().contains("The centre 1.5707963267948966 is written as 1.5707963267949;"); }, 5000));
    field("txtExpression")->setText("sin(x)/x");
    field("txtCentre")->setText("0");
    d->refreshPreview();
    EXPECT_TRUE(QTest::qWaitFor([&] { return preview().contains("-0.166666666666667"); }, 5000));
    EXPECT_TRUE(preview().contains("\nLargest difference from the expression there: ") && preview().contains(" (largest |f|: 1)"))
        << preview().toStdString();
    EXPECT_TRUE(d->errorText().isEmpty());
    d->findChild<QPushButton*>("cmdCreate")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path); }, 5000));
    EXPECT_NEAR(t.dim.series.Coeffs[2], -1.0 / 6, 1e-15);
    EXPECT_EQ(t.field("txtEquation")->text(), path);
    EXPECT_EQ(t.label("lblTerms")->text(), "60");
    EXPECT_TRUE(t.dim.window.GraphShown);
    t.field("txtXlower")->setText("-10");
    t.field("txtXupper")->setText("10");
    t.field("txtError")->setText("1E-12");
    t.button("cmdRoots")->click();
    ASSERT_TRUE(t.dlg.messages.empty());
    ASSERT_EQ(t.dim.results.Roots.size(), 6u);
    std::vector<double> roots = t.dim.results.Roots;
    std::sort(roots.begin(), roots.end());
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(roots[size_t(i)], (i < 3 ? i - 3 : i - 2) * M_PI, 1e-10) << i; // -3π..-π, π..3π
}

// CPU seconds of this process and of its children still about.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    double s = double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
    const QByteArray me = QByteArray::number(getpid());
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        const QByteArray stat = test::slurp("/proc/" + pid + "/stat");
        // After the name: state, parent, ... user and system time at 11 and 12.
        const QList<QByteArray> f = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (f.size() > 12 && f[1] == me)
            s += (f[11].toDouble() + f[12].toDouble()) / double(sysconf(_SC_CLK_TCK));
    }
    return s;
}

// What the longest build leaves running after half a second's grace.
double cpuAfterwards()
{
    QTest::qWait(500);
    const double before = cpuSeconds();
    QTest::qWait(500);
    return cpuSeconds() - before;
}

// The longest build runs aside: the dialog answers while it runs, an edit
// drops it for the new fields, and Cancel, a long Create's Cancel or quitting
// end it at once, leaving nothing at work and nothing written.
TEST(NewSeries, BuildsRunAsideAndStopAtOnce)
{
    test::Watchdog watchdog;
    QTemporaryDir dir;
    std::optional<test::Window> t(std::in_place);
    NewSeriesDialog* d = nullptr;
    auto field = [&](const char* name) { return d->findChild<QLineEdit*>(name); };
    auto preview = [&] { return d->findChild<QLabel*>("lblPreview")->text(); };
    auto longest = [&] {
        if (!d) {
            t->action("mnuNewSeries")->trigger();
            d = t->w.findChild<NewSeriesDialog*>("frmNewSeries");
        }
        field("txtTerms")->setText("10000");
        field("txtExpression")->setText("exp(exp(exp(x)))");
        d->refreshPreview();
        EXPECT_EQ(preview(), "Building…");
        QTest::qWait(300);
    };
    QElapsedTimer clock;
    watchdog.arm("typing while the longest build runs", std::chrono::seconds(10));
    longest();
    clock.start();
    field("txtTerms")->selectAll();
    QTest::keyClicks(field("txtTerms"), "20");
    EXPECT_LT(clock.elapsed(), 100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return preview().startsWith("Coefficients: 15.1542622414793, 41.1935556747161,"); }, 5000))
        << preview().toStdString(); // e^e, e^(e+1), of degree 20

    watchdog.arm("Cancel while the longest build runs", std::chrono::seconds(10));
    longest();
    clock.restart();
    d->findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_LT(clock.elapsed(), 100);
    EXPECT_FALSE(d->isVisible());
    d = nullptr;
    EXPECT_LT(cpuAfterwards(), 0.06);

    watchdog.arm("a long Create, cancelled", std::chrono::seconds(10));
    longest();
    t->dlg.saveNames = {dir.filePath("e.txt")};
    clock.restart();
    d->findChild<QPushButton*>("cmdCreate")->click();
    QProgressDialog* progress = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (progress = d->findChild<QProgressDialog*>("dlgBuildProgress")) && progress->isVisible(); }, 2000));
    EXPECT_GE(clock.elapsed(), 450);
    EXPECT_EQ(progress->labelText(), "Building the series…");
    progress->findChild<QPushButton*>()->click();
    QTest::qWait(50);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(preview(), "Build cancelled.");
    EXPECT_EQ(t->dlg.saveAsked, 0);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_LT(cpuAfterwards(), 0.06);

    watchdog.arm("quitting while the longest build runs", std::chrono::seconds(10));
    longest();
    clock.restart();
    t.reset();
    EXPECT_LT(clock.elapsed(), 500); // the window's own teardown, not the build's 20 s
    EXPECT_LT(cpuAfterwards(), 0.06);
    watchdog.disarm();
}

} // namespace
} // namespace vendrak
