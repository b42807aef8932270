// Print to PDF and Save on series files at the edges of the number range:
// each ends in bounded time; a saved study reads back as what was shown.
#include "support/extreme_series.h"

#include <QAction>
#include <QFileInfo>
#include <QPushButton>

#include <cstdlib>
#include <iostream>

using namespace vendrak;
using namespace vendrak::test;

namespace {

class PrintSaveExtremes : public ::testing::TestWithParam<ExtremeFile> {};

} // namespace

TEST_P(PrintSaveExtremes, PrintAndSaveEnd)
{
    ExtremeWindow x(GetParam());
    MainWindow& w = x.w;
    x.open();
    // Results to print and save, whatever they turn out to be.
    x.run("roots", [&] { w.cmdRoots->click(); });
    x.run("extrema", [&] { w.cmdExtrema->click(); });
    x.run("integral", [&] { w.cmdIntegrate->click(); });

    x.run("print", [&] { w.mnuPrint->trigger(); });
    EXPECT_EQ(x.dlg.printAsked, 1);
    EXPECT_GT(QFileInfo(x.dlg.pdfPath).size(), 0) << "no report was printed";

    const std::size_t before = x.dlg.messages.size();
    x.run("save", [&] { w.mnuSave->trigger(); });
    if (x.dlg.messages.size() == before) {
        // Saved without a word: it must open again as the same study.
        Dimension back;
        back.initialise();
        const ReadResult r = ReadSeriesFile(back, x.path);
        ASSERT_EQ(r.status, ReadStatus::Ok) << r.message.toStdString();
        EXPECT_EQ(back.Coeffs.size(), x.dim.Coeffs.size());
        EXPECT_EQ(back.RootCount, x.dim.RootCount);
        EXPECT_EQ(back.MaxCount, x.dim.MaxCount);
        EXPECT_EQ(back.MinCount, x.dim.MinCount);
        EXPECT_EQ(back.IntegralDone, x.dim.IntegralDone);
    }
    if (std::getenv("VENDRAK_EXTREMES_LOG"))
        std::cout << x.log;
}

INSTANTIATE_TEST_SUITE_P(Files, PrintSaveExtremes, ::testing::ValuesIn(extremeFiles()), extremeFileName);
