// The four analysis commands in the window: each reads the study fields,
// runs its computation and shows the result.
#include "core/analysis/extrema.h"
#include "core/analysis/error_trap.h"
#include "core/analysis/integral.h"
#include "core/analysis/point_value.h"
#include "core/analysis/roots.h"
#include "app/busy_cursor.h"
#include "core/study/errors.h"
#include "app/main_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace vendrak {

void MainWindow::cmdRoots_Click()
{
    dim_.ScriptMath.ierr = 0;
    BusyCursor busy;
    lstRoots->clear();
    try {
        ReadStudySpecs();
    } catch (const RunTimeError& err) {
        // Without readable study fields there is no grid to walk: the command ends
        // quietly, its list and table both empty.
        TrapError(dim_, err.number());
        dim_.RootCount = 0;
        return;
    }
    const ScanOutcome scan = FindRoots(dim_);
    lstRoots->addItems(scan.entries);
    if (scan.completed)
        lblRoots->setText(scan.label);
}

void MainWindow::cmdExtrema_Click()
{
    dim_.ScriptMath.ierr = 0;
    BusyCursor busy;
    lstExtrema->clear();
    try {
        ReadStudySpecs();
    } catch (const RunTimeError& err) {
        TrapError(dim_, err.number());
        dim_.MaxCount = 0;
        dim_.MinCount = 0;
        return;
    }
    const ScanOutcome scan = FindExtrema(dim_);
    lstExtrema->addItems(scan.entries);
    if (scan.completed)
        lblExtrema->setText(scan.label);
}

void MainWindow::cmdIntegrate_Click()
{
    BusyCursor busy;
    IntegralOutcome result;
    try {
        ReadStudySpecs();
        result = ComputeIntegral(dim_);
    } catch (const RunTimeError& err) {
        result = IntegralFailure(dim_, err.number());
    }
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
    dim_.ScriptMath.ierr = 0;
    try {
        ReadStudySpecs();
    } catch (const RunTimeError& err) {
        TrapError(dim_, err.number());
        return;
    }
    lblDerVal->setText(PointValueText(dim_, txtDerNum->text(), txtXeval->text()));
}

} // namespace vendrak
