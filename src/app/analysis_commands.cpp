// The four analysis commands in the window: each reads the study fields,
// runs its computation and shows the result.
#include "core/analysis/study_commands.h"
#include "app/busy_cursor.h"
#include "app/main_window.h"
#include "core/analysis/result_texts.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace vendrak {

// A full table cuts the list short without a word in the labels; the user
// must hear that the rest of the interval was not listed.
void MainWindow::tellTableFull(const QString& text, BusyCursor& busy)
{
    if (text.isEmpty())
        return;
    busy.release();
    dialogs().message(QStringLiteral("Vendrak"), text, Dialogs::Icon::Information);
}

void MainWindow::cmdRoots_Click()
{
    BusyCursor busy;
    lstRoots->clear();
    const ScanOutcome scan = RootsCommand(dim_, studySpecTexts());
    lstRoots->addItems(scan.entries);
    if (scan.completed)
        lblRoots->setText(scan.label);
    tellTableFull(TableFullText(dim_, scan, true), busy);
}

void MainWindow::cmdExtrema_Click()
{
    BusyCursor busy;
    lstExtrema->clear();
    const ScanOutcome scan = ExtremaCommand(dim_, studySpecTexts());
    lstExtrema->addItems(scan.entries);
    if (scan.completed)
        lblExtrema->setText(scan.label);
    tellTableFull(TableFullText(dim_, scan, false), busy);
}

void MainWindow::cmdIntegrate_Click()
{
    BusyCursor busy;
    const IntegralOutcome result = IntegralCommand(dim_, studySpecTexts());
    if (result.done) {
        lblIntegral->setText(result.label);
        return;
    }
    // The pointer is back to normal before the message box appears.
    busy.release();
    if (!result.message.isEmpty())
        dialogs().message(QStringLiteral("Vendrak"), result.message);
}

void MainWindow::cmdDerVal_Click()
{
    lblDerVal->clear();
    lblDerVal->setText(PointValueCommand(dim_, studySpecTexts(), txtDerNum->text(), txtXeval->text()));
}

} // namespace vendrak
