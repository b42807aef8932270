// Print through the real window, into a PDF file instead of a printer.
#include "shell/dimension.h"
#include "shell/main_window.h"
#include "support/fake_dialogs.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vendrak;

namespace {

// Answers the printer dialog by sending the job to a PDF file.
class PdfDialogs : public test::FakeDialogs {
public:
    QString pdfPath;
    bool printerSetup(QPrinter& printer) override
    {
        ++printAsked;
        if (!printAccept)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return true;
    }
};

struct PrintWindow {
    QTemporaryDir dir;
    Dimension dim;
    PdfDialogs dlg;
    MainWindow w{dim, dlg};

    PrintWindow()
    {
        dlg.pdfPath = dir.filePath("report.pdf");
        dlg.openNames.push_back(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_study.txt"));
        w.mnuOpen->trigger();
    }
    qint64 pdfSize() const { return QFileInfo(dlg.pdfPath).size(); }
};

} // namespace

TEST(PrintReport, PrintsTheStudyWithItsGraph)
{
    PrintWindow p;
    ASSERT_TRUE(p.dim.GraphShown);
    p.w.mnuPrint->trigger();
    EXPECT_EQ(p.dlg.printAsked, 1);
    EXPECT_TRUE(p.dlg.messages.empty());
    EXPECT_GT(p.pdfSize(), 0);
    if (const char* keep = std::getenv("VENDRAK_KEEP_REPORT"))
        QFile::copy(p.dlg.pdfPath, QString::fromLocal8Bit(keep));
}

TEST(PrintReport, CancellingThePrinterDialogPrintsNothing)
{
    PrintWindow p;
    p.dlg.printAccept = false;
    p.w.mnuPrint->trigger();
    EXPECT_EQ(p.dlg.printAsked, 1);
    EXPECT_FALSE(QFileInfo::exists(p.dlg.pdfPath));
}

TEST(PrintReport, AnUnwritableDestinationIsReportedAndTheProgramGoesOn)
{
    PrintWindow p;
    p.dlg.pdfPath = p.dir.filePath("no/such/folder/report.pdf");
    p.w.mnuPrint->trigger();
    ASSERT_EQ(p.dlg.messages.size(), 1u);
    EXPECT_TRUE(p.dlg.messages[0].text.contains("report.pdf"));
    // The window still works.
    p.w.cmdRoots->click();
    EXPECT_FALSE(p.w.lblRoots->text().isEmpty());
}

TEST(PrintReport, WithoutAGraphTheReportIsTextOnly)
{
    PrintWindow p;
    p.w.mnuPrint->trigger();
    const qint64 withGraph = p.pdfSize();
    QFile::remove(p.dlg.pdfPath);
    p.w.txtDivx->setText("2");
    ASSERT_FALSE(p.dim.GraphShown);
    p.w.mnuPrint->trigger();
    EXPECT_GT(p.pdfSize(), 0);
    EXPECT_LT(p.pdfSize() * 2, withGraph);
}
