// Series files at the edges of the number range through the real window:
// plot, navigation, the graph's mouse, copy, every analysis command, print and
// save, each ending in bounded time without a run-time error escaping, and a
// study saved without a word reads back.
#include "app/picture_box.h"
#include "support/extreme_series.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace vendrak;
using namespace vendrak::test;

namespace {

class EdgeFiles : public ::testing::TestWithParam<ExtremeFile> {};

TEST_P(EdgeFiles, EveryCommandEnds)
{
    ExtremeWindow x(GetParam());
    MainWindow& w = x.w;
    const bool heavy = GetParam().heavy; // a drawing takes seconds: one of each
    x.run("open", [&] { w.OpenSeriesFileNamed(x.path); });
    ASSERT_EQ(x.dim.window.FileName, x.path) << "the file was not accepted";
    for (int order : {1, 2, 9})
        if (!heavy || order == 1) {
            w.cboDerivative->setCurrentIndex(order);
            x.run("plot of derivative " + std::to_string(order), [&] { w.cmdPlot->click(); });
        }
    w.cboDerivative->setCurrentIndex(0);
    for (QCheckBox* option : {w.chkGrid, w.chkShade, w.chkPersist})
        if (!heavy || option == w.chkShade) {
            option->toggle();
            x.run("plot with " + option->objectName().toStdString() + " toggled", [&] { w.cmdPlot->click(); });
        }
    // Several times in a row: the view runs into the edges of the number
    // range and must stop there with its message.
    for (QPushButton* b : {w.cmdZoomOut, w.cmdZoomIn, w.cmdZoomQ1, w.cmdZoomQ3, w.cmdPanRight, w.cmdPanDown,
                           w.cmdIncWindX, w.cmdDecWindY})
        if (!heavy || b == w.cmdZoomOut || b == w.cmdPanRight) {
            const int times = heavy ? 1 : (b == w.cmdZoomOut || b == w.cmdZoomIn ? 40 : 5);
            x.run(b->objectName().toStdString(), [&] {
                for (int i = 0; i < times; ++i)
                    b->click();
            });
        }
    x.run("clicks and moves on the graph, copy", [&] {
        for (QPoint p : {QPoint(200, 150), QPoint(0, 0), QPoint(399, 299)}) {
            emit w.Picture1->mouseMove(Qt::NoButton, Qt::NoModifier, p);
            QTest::mouseClick(w.Picture1, Qt::LeftButton, {}, p);
            if (heavy)
                break;
        }
        w.mnuCopy->trigger();
    });
    EXPECT_EQ(w.Picture1->image().size(), QSize(396, 296));

    x.run("roots", [&] { w.cmdRoots->click(); });
    EXPECT_EQ(w.lstRoots->count(), x.dim.results.RootCount);
    for (int i = 1; i <= x.dim.results.RootCount; ++i)
        EXPECT_TRUE(std::isfinite(x.dim.results.Roots[size_t(i)]));
    x.run("extrema", [&] { w.cmdExtrema->click(); });
    EXPECT_LE(std::max(x.dim.results.MaxCount, x.dim.results.MinCount), kResultCapacity);
    x.run("integral", [&] { w.cmdIntegrate->click(); });
    EXPECT_TRUE(x.dim.results.IntegralDone ? std::isfinite(x.dim.results.IntegralValue) : w.lblIntegral->text().isEmpty());
    for (const char* order : {"0", "1", "9"})
        for (const QString& at : {w.lblXLvalid->text(), w.lblXUvalid->text()}) {
            w.txtDerNum->setText(order);
            w.txtXeval->setText(at);
            x.run(std::string("value of derivative ") + order, [&] { w.cmdDerVal->click(); });
        }

    x.run("print", [&] { w.mnuPrint->trigger(); });
    EXPECT_GT(QFileInfo(x.dlg.pdfPath).size(), 0) << "no report was printed";
    const std::size_t before = x.dlg.messages.size();
    x.run("save", [&] { w.mnuSave->trigger(); });
    if (x.dlg.messages.size() == before) {
        Dimension back;
        back.initialise();
        const ReadResult r = ReadSeriesFile(back, x.path);
        ASSERT_EQ(r.status, ReadStatus::Ok) << r.message.toStdString();
        EXPECT_EQ(std::tuple(back.series.Coeffs.size(), back.results.RootCount, back.results.MaxCount, back.results.MinCount, back.results.IntegralDone),
                  std::tuple(x.dim.series.Coeffs.size(), x.dim.results.RootCount, x.dim.results.MaxCount, x.dim.results.MinCount, x.dim.results.IntegralDone));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, EdgeFiles, ::testing::ValuesIn(extremeFiles()), extremeFileName);

} // namespace
