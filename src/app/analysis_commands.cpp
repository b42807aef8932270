// The result area: Roots, Extrema and Integral read the study fields, run
// their computation and show the result; an edited study clears them.
#include "core/analysis/study_commands.h"
#include "core/study/errors.h"
#include "app/busy_cursor.h"
#include "app/keep_scan.h"
#include "app/main_window.h"
#include "core/analysis/result_texts.h"
#include "app/figure_window.h"
#include "app/verify_dialog.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QComboBox>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <exception>
#include <thread>

namespace vendrak {

namespace {

// How long a scan runs before its progress dialog appears: shorter scans
// only show the busy pointer, as they always did.
constexpr int kProgressDelayMs = 500;

} // namespace

StudySpecTexts MainWindow::studySpecTexts() const
{
    StudySpecTexts texts = studySpecsFrame->texts();
    texts.derivative = cboDerivative->currentText();
    return texts;
}

StudySettingsTexts MainWindow::studySettingsTexts() const
{
    const StudySpecTexts study = studySpecsFrame->texts();
    const PlotSetupTexts plot = plotSetupFrame->texts();
    return {study.xlower,  study.xupper,  study.subintervals, study.error,   study.maxcy,
            plot.windowlx, plot.windowgx, plot.windowly,      plot.windowgy, plot.plotStep,
            plot.xorigin,  plot.yorigin,  plot.divx,          plot.divy};
}

void MainWindow::ReadStudySpecs() { dim_.study = ReadStudySpecsFrom(studySpecTexts(), dim_.study); }

void MainWindow::ClearResults()
{
    if (dim_.window.RestoringStudy)
        return;
    dim_.results.IntegralDone = false;
    dim_.results.Roots.clear();
    dim_.results.Maxima.clear();
    dim_.results.Minima.clear();
    // The possible roots belong to the extrema found; a study whose results
    // are gone must not save or show a count of them.
    dim_.results.PossibleRootCount = 0;
    lblIntegral->clear();
    lstRoots->clear();
    lstExtrema->clear();
    lblRoots->clear();
    lblExtrema->clear();
}

ScanOutcome MainWindow::scanAside(const QString& labelText, BusyCursor& busy,
                                  const std::function<ScanOutcome(ScanControl*)>& scan)
{
    ScanControl control;
    std::atomic<bool> done{false};
    ScanOutcome outcome;
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            outcome = scan(&control);
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        // A quick scan ends the wait at once rather than at the next poll.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    // No command may start while the scan runs, as during a drawing.
    const bool outer = pumping_;
    pumping_ = true;
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> progress;
    QTimer poll;
    poll.setInterval(15);
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done || (!progress && clock.elapsed() >= kProgressDelayMs))
            loop.quit();
        else if (progress)
            progress->setValue(static_cast<int>(control.fraction.load() * 1000));
    });
    poll.start();
    // Until the dialog shows, clicks and keys wait for the scan to end
    // rather than reach a window whose study is being scanned.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!done) {
        progress = std::make_unique<QProgressDialog>(labelText, QStringLiteral("Cancel"), 0, 1000, this);
        progress->setWindowTitle(QStringLiteral("Vendrak"));
        progress->setWindowModality(Qt::WindowModal);
        progress->setAutoReset(false);
        progress->setAutoClose(false);
        progress->setMinimumDuration(0);
        progress->setValue(static_cast<int>(control.fraction.load() * 1000));
        // Esc may close the dialog as a dialog rather than press Cancel.
        const auto stop = [&] {
            control.cancel = true;
            loop.quit();
        };
        connect(progress.get(), &QProgressDialog::canceled, &loop, stop);
        connect(progress.get(), &QDialog::rejected, &loop, stop);
        busy.release();
        progress->show();
        loop.exec();
    }
    // Left without the scan done, the wait was cancelled or the program is
    // quitting (which ends every event loop): the scan is stopped either way,
    // within a few thousand grid points, rather than awaited.
    if (!done)
        control.cancel = true;
    worker.join();
    progress.reset();
    pumping_ = outer;
    if (failure)
        std::rethrow_exception(failure);
    return outcome;
}

// A full table cuts the list short without a word in the labels; the user
// must hear that the rest of the interval was not listed.
void MainWindow::tellTableFull(const QString& text, BusyCursor& busy)
{
    if (text.isEmpty())
        return;
    busy.release();
    dialogs().message(QStringLiteral("Vendrak"), text, Dialogs::Icon::Information);
}

// Roots and Extrema alike: the scan runs aside on what the study holds; a
// cancelled one leaves the window as if the command had not run.
void MainWindow::runScan(bool roots)
{
    BusyCursor busy;
    QListWidget* const list = roots ? lstRoots : lstExtrema;
    QLabel* const label = roots ? lblRoots : lblExtrema;
    list->clear();
    const StudySpecTexts texts = studySpecTexts();
    const Series& series = dim_.series;
    const StudySpecs& before = dim_.study;
    const ScanOutcome scan = scanAside(roots ? QStringLiteral("Finding roots…") : QStringLiteral("Finding extrema…"),
                                       busy, [&](ScanControl* control) {
                                           return roots ? RootsCommand(series, before, texts, control)
                                                        : ExtremaCommand(series, before, texts, control);
                                       });
    if (scan.cancelled) {
        label->clear();
        return;
    }
    KeepScan(dim_, scan);
    list->addItems(scan.entries);
    if (scan.completed)
        label->setText(scan.label);
    figureWindow->showResults(dim_.results);
    tellTableFull(TableFullText(scan), busy);
}

// Verify works on a copy of the study, so the window's lists, labels and
// results stay as they are; a list whose scan has not run (its label is
// empty) is scanned for the purpose on that copy.
void MainWindow::mnuVerifyRoots_Click()
{
    BusyCursor busy;
    const StudySpecTexts texts = studySpecTexts();
    const bool scanRoots = lblRoots->text().isEmpty(), scanExtrema = lblExtrema->text().isEmpty();
    const Series& series = dim_.series;
    Results results = dim_.results;
    const StudySpecs& before = dim_.study;
    VerifyReport report;
    const ScanOutcome run = scanAside(QStringLiteral("Verifying roots and extrema…"), busy, [&](ScanControl* control) {
        ScanOutcome out;
        for (const ScanKind kind : {ScanKind::Roots, ScanKind::Extrema}) {
            if (!(kind == ScanKind::Roots ? scanRoots : scanExtrema))
                continue;
            const ScanOutcome scan = kind == ScanKind::Roots ? RootsCommand(series, before, texts, control)
                                                             : ExtremaCommand(series, before, texts, control);
            if ((out.cancelled = scan.cancelled))
                return out;
            results = WithScan(results, scan);
        }
        const StudySpecs study = ReadStudySpecsFrom(texts, before);
        control->fraction = 0;
        report = Verify(series, study.XLower, study.XUpper, study.ErrorBound, control);
        out.cancelled = report.cancelled;
        return out;
    });
    if (run.cancelled)
        return;
    busy.release();
    if (!report.valid) {
        dialogs().message(QStringLiteral("Vendrak"), QStringLiteral("Cannot verify: ") + report.message,
                          Dialogs::Icon::Information);
        return;
    }
    const ScanLists lists = ScanListsOf(results);
    if (verifyDialog_)
        delete verifyDialog_.data();
    auto* dialog = new VerifyDialog(lists, report, CheckScans(lists, report), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    verifyDialog_ = dialog;
    dialog->show();
    figureWindow->showProof(report, series);
}

void MainWindow::cmdRoots_Click() { runScan(true); }
void MainWindow::cmdExtrema_Click() { runScan(false); }

void MainWindow::cmdIntegrate_Click()
{
    BusyCursor busy;
    const IntegralOutcome result = IntegralCommand(dim_.series, dim_.study, studySpecTexts());
    if (result.study)
        dim_.study = *result.study;
    dim_.results = WithIntegral(dim_.results, result);
    if (!result.value)
        dim_.errors.ierr = errorCode(result.value.error().number());
    if (result.done()) {
        lblIntegral->setText(result.label());
        return;
    }
    // The pointer is back to normal before the message box appears.
    busy.release();
    if (const QString message = result.message(); !message.isEmpty())
        dialogs().message(QStringLiteral("Vendrak"), message);
}

} // namespace vendrak
