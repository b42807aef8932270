// Print through the real window, into a PDF file instead of a printer.
#include "app/main_window.h"
#include "support/fake_dialogs.h"

#include <QPrinter>
#include <QtWidgets>
#include <gtest/gtest.h>

using namespace vendrak;

namespace {

// The example study opened; the printer dialog, when accepted, prints to a PDF file.
struct PrintReport : ::testing::Test, test::FakeDialogs {
    QTemporaryDir dir;
    QString pdfPath = dir.filePath("report.pdf");
    Dimension dim;
    MainWindow w{dim, *this};

    void SetUp() override
    {
        openNames.push_back(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_study.txt"));
        w.mnuOpen->trigger();
        ASSERT_TRUE(dim.GraphShown);
    }
    bool printerSetup(QPrinter& printer) override
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return FakeDialogs::printerSetup(printer);
    }
    qint64 pdfSize() const { return QFileInfo(pdfPath).size(); }
};

} // namespace

TEST_F(PrintReport, WithAndWithoutTheGraphCancelledAndFailing)
{
    w.mnuPrint->trigger();
    EXPECT_TRUE(messages.empty());
    const qint64 withGraph = pdfSize();
    EXPECT_GT(withGraph, 0);
    QFile::remove(pdfPath);
    w.txtDivx->setText("2"); // a changed setting blanks the graph: the report is text only
    ASSERT_FALSE(dim.GraphShown);
    w.mnuPrint->trigger();
    EXPECT_GT(pdfSize(), 0);
    EXPECT_LT(pdfSize() * 2, withGraph);
    QFile::remove(pdfPath);
    printAccept = false; // cancelled: nothing is printed
    w.mnuPrint->trigger();
    EXPECT_EQ(printAsked, 3);
    EXPECT_FALSE(QFileInfo::exists(pdfPath));
    printAccept = true;
    pdfPath = dir.filePath("no/such/folder/report.pdf");
    w.mnuPrint->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains("report.pdf"));
    w.cmdRoots->click(); // the program goes on
    EXPECT_FALSE(w.lblRoots->text().isEmpty());
}
