// Export graph, the graph on a high-density screen and the menu keys,
// through the real window.
#include "app/main_window.h"
#include "app/picture_box.h"
#include "support/shown_window.h"
#include "support/fake_dialogs.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <iostream>

namespace vendrak {
namespace {

// f(x) = x/2 plotted in the initial window, ready to export into a fresh folder.
struct Exporting : ::testing::Test {
    QTemporaryDir dir;
    Dimension dim;
    test::FakeDialogs dlg;
    MainWindow w{dim, dlg};

    void SetUp() override
    {
        dim.SeriesType = 1;
        dim.Coeffs = {0, 0.5};
        dim.TermCount = 1;
        w.cmdPlot->click();
        ASSERT_TRUE(dim.GraphShown);
    }
    // Exports under `name` with the filter at `filter` (and, for a PNG, the
    // scale at `scaleItem`); the path the file should have.
    QString exportAs(const QString& name, int filter = 0, int scaleItem = 0)
    {
        static const char* filters[] = {"PNG image (*.png)", "SVG image (*.svg)", "PDF document (*.pdf)"};
        dlg.exportNames.push_back({dir.filePath(name), QString::fromLatin1(filters[filter])});
        dlg.itemAnswers = {scaleItem};
        w.mnuExport->trigger();
        return dir.filePath(name);
    }
    QImage shown() const { return w.Picture1->image().convertToFormat(QImage::Format_RGB32); }
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
    const Dimension state = dim;
    const QImage one(exportAs("one.png", 0, 0));
    const QImage four(exportAs("four.png", 0, 2));
    if (const QByteArray keep = qgetenv("VENDRAK_EXPORT_KEEP"); !keep.isEmpty())
        four.save(QString::fromLocal8Bit(keep));
    EXPECT_EQ(dlg.itemsOffered.size(), 4);
    EXPECT_TRUE(dlg.messages.empty());
    EXPECT_EQ(one.convertToFormat(QImage::Format_RGB32), before);
    ASSERT_EQ(four.size(), QSize(396 * 4, 296 * 4));
    // Nothing of the study or the screen changed.
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(std::tuple(dim.GraphShown, dim.XLower, dim.DerivOrder, dim.ierr, dim.ScratchText),
              std::tuple(state.GraphShown, state.XLower, state.DerivOrder, state.ierr, state.ScratchText));

    // Every pixel of a line colour in the 1x picture has its colour in its
    // 4x4 block (or the next one, where rounding moved a line by a pixel).
    const QRgb lineColours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0), qRgb(0, 0, 255)};
    int lines = 0;
    int found = 0;
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

    // The curve stays a thin line: f(x) = x/2 crosses the column x = -12.5
    // once, away from grid lines and labels.
    ASSERT_EQ(before.pixel(79, 207), qRgb(0, 0, 0));
    const int column = 4 * 79 + 2 - 2 * 4; // x = -12.5 at 4x
    int thickness = 0;
    for (int v = 4 * 195; v < 4 * 220; ++v)
        thickness += four.pixel(column, v) == qRgb(0, 0, 0);
    std::cout << "curve thickness at 4x: " << thickness << " device pixels\n";
    EXPECT_GE(thickness, 1);
    EXPECT_LE(thickness, 2);
}

TEST_F(Exporting, SvgAndPdfHoldLinesAndTextAsSuch)
{
    // No extension typed: the chosen filter gives the format and the name.
    const QString svgPath = exportAs("vector", 1) + ".svg";
    ASSERT_TRUE(dlg.messages.empty());
    QFile svgFile(svgPath);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    const QByteArray svg = svgFile.readAll();
    EXPECT_TRUE(svg.contains("<polyline") || svg.contains("<path"));
    EXPECT_TRUE(svg.contains("<text"));
    EXPECT_TRUE(svg.contains(">-20") || svg.contains("> -20")) << "window label as text";
    QSvgRenderer renderer(svgPath);
    ASSERT_TRUE(renderer.isValid());
    QImage rendered(396, 296, QImage::Format_RGB32);
    rendered.fill(Qt::black);
    {
        QPainter p(&rendered);
        renderer.render(&p, QRectF(0, 0, 396, 296));
    }
    const int differing = differingPixels(rendered, shown());
    std::cout << "SVG at 1x differs from the bitmap in " << differing << " of " << 396 * 296 << " pixels\n";
    EXPECT_LT(differing, 396 * 296 / 16); // text antialiased a little differently, the curve unrounded

    const QString pdfPath = exportAs("graph.PDF", 0); // the typed extension wins over the filter
    ASSERT_TRUE(QFileInfo(pdfPath).size() > 0);
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
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    exportAs("file/unwritable.svg", 1); // a file where a folder should be
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_TRUE(dlg.messages[0].text.contains("unwritable.svg")) << dlg.messages[0].text.toStdString();

    w.txtDivx->setText("2"); // the graph is gone
    ASSERT_FALSE(dim.GraphShown);
    exportAs("nograph.png");
    ASSERT_EQ(dlg.messages.size(), 2u);
    EXPECT_EQ(dlg.messages[1].title, "Vendrak");
    EXPECT_EQ(dlg.exportNames.size(), 1u); // not even asked for a name
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"file"});
}

// Run in a child process whose screen has a pixel ratio of 2.
TEST(HighDensityScreen, DISABLED_ChildShowsTheGraphAtTheScreenRatio)
{
    test::ShownWindow s;
    ASSERT_EQ(s.w.Picture1->devicePixelRatioF(), 2.0);
    s.dim.SeriesType = 1;
    s.dim.Coeffs = {0, 0.5};
    s.dim.TermCount = 1;
    s.w.cmdPlot->click();
    const QImage grabbed = s.w.Picture1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(grabbed.size(), QSize(800, 600));
    EXPECT_EQ(s.w.Picture1->image().size(), QSize(396, 296)); // the 1x picture stays
    const QImage interior = grabbed.copy(4, 4, 792, 592);
    const QImage doubled = s.w.Picture1->image().scaled(792, 592).convertToFormat(QImage::Format_RGB32);
    const int differing = differingPixels(interior, doubled);
    std::cout << "screen picture differs from the doubled 1x picture in " << differing << " pixels\n";
    EXPECT_GT(differing, 5000);
    if (const QByteArray out = qgetenv("VENDRAK_GRAB_OUT"); !out.isEmpty())
        grabbed.save(QString::fromLocal8Bit(out));
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
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=HighDensityScreen.DISABLED_*")});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QByteArray output = child.readAll();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

TEST(MenuKeys, EachItemHasItsKeysAndRunsLikeItsMenuItemBesideARefusingField)
{
    test::ShownWindow s;
    ASSERT_TRUE(s.activated);
    MainWindow& w = s.w;
    const std::pair<QAction*, const char*> keys[] = {
        {w.mnuOpen, "Ctrl+O"},  {w.mnuSave, "Ctrl+S"},         {w.mnuSaveAs, "Ctrl+Shift+S"},
        {w.mnuCopy, "Ctrl+Shift+C"}, {w.mnuExport, "Ctrl+E"}, {w.mnuPrint, "Ctrl+P"},
        {w.mnuHelp, "F1"}};
    for (const auto& [action, key] : keys) {
        EXPECT_EQ(action->shortcut().toString(), key) << action->objectName().toStdString();
        EXPECT_TRUE(w.actions().contains(action)) << action->objectName().toStdString();
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("study.txt");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_taylor.txt"), path));
    w.OpenSeriesFileNamed(path);
    ASSERT_TRUE(s.dim.GraphShown);
    s.typeInto(w.txtError, "0"); // refuses to be left
    QGuiApplication::clipboard()->clear();
    s.dlg.printAccept = false;
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(s.focused(), key, modifiers);
        s.settle();
    };
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(path + ".bmp"));
    press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(396, 296));
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(s.dlg.printAsked, 1);
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(s.dlg.openAsked, 1);
    EXPECT_EQ(s.focused(), w.txtError);
    EXPECT_EQ(w.txtError->text(), "0");
    press(Qt::Key_F1, Qt::NoModifier);
    EXPECT_NE(w.helpViewer(), nullptr);
}

} // namespace
} // namespace vendrak
