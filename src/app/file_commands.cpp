// Open, Save and Save As: the series file in and out of the window.
#include "core/analysis/extrema.h"
#include "app/picture_box.h"
#include "core/series/evaluators.h"
#include "core/series/series_file.h"
#include "core/study/errors.h"
#include "app/main_window.h"
#include "app/new_series_dialog.h"
#include "core/study/number_text.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSaveFile>
#include <QSignalBlocker>

namespace vendrak {

namespace {

const QString kTitle = QStringLiteral("Vendrak");

// Keeps RestoringStudy up while a saved study goes back into the fields, and
// clears it on every way out, so a failure half-way can never leave the
// results immune to later edits.
class RestoringGuard {
public:
    explicit RestoringGuard(Dimension& d) : d_(d) { d_.RestoringStudy = true; }
    ~RestoringGuard() { d_.RestoringStudy = false; }
    RestoringGuard(const RestoringGuard&) = delete;
    RestoringGuard& operator=(const RestoringGuard&) = delete;

private:
    Dimension& d_;
};

// "MIN: [x , y]" with y evaluated afresh; a value that cannot be computed is
// named rather than aborting the whole restore.
QString extremumEntry(const Dimension& d, const QString& prefix, double x)
{
    QString y;
    try {
        y = NumberText(EvalSeries(d, x));
    } catch (const RunTimeError& e) {
        y = e.description();
    }
    return prefix + NumberText(x) + QStringLiteral(" , ") + y + u']';
}

} // namespace

void MainWindow::mnuNewSeries_Click()
{
    // One dialog at a time; a second Ctrl+N brings the open one forward.
    if (auto* open = findChild<NewSeriesDialog*>(QStringLiteral("frmNewSeries"))) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto* dialog = new NewSeriesDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->askSaveFileName = [this] { return dialogs_.saveFileName(); };
    dialog->opened = [this](const QString& path) { runGuarded([&] { OpenSeriesFileNamed(path); }); };
    dialog->open();
}

void MainWindow::OpenSeriesFile()
{
    const QString name = dialogs_.openFileName();
    // A cancelled dialog leaves the study and its file as they were.
    if (name.isEmpty())
        return;
    OpenSeriesFileNamed(name);
}

void MainWindow::OpenSeriesFileNamed(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).absoluteFilePath();
    const ReadResult read = ReadSeriesFile(dim_, name);
    if (read.status != ReadStatus::Ok) {
        dialogs_.message(kTitle, read.message,
                         read.status == ReadStatus::MultiVariable ? Dialogs::Icon::None : Dialogs::Icon::Warning);
        return;
    }
    dim_.FileName = name;
    RestoringGuard restoring(dim_);

    // The series description.
    if (dim_.SeriesType == 0) {
        lblType->setText(QStringLiteral("Trig"));
        lblTerm->setText(QStringLiteral("# of terms:"));
        lblPer->setVisible(true);
        lblPeriod->setVisible(true);
        lblPeriod->setText(dim_.PeriodText == u"*" ? QStringLiteral("2π") : dim_.PeriodText);
    } else {
        lblType->setText(QStringLiteral("Power"));
        lblTerm->setText(QStringLiteral("Degree:"));
        // A power series has no period to show; the previous series' would mislead.
        lblPer->setVisible(false);
        lblPeriod->setVisible(false);
    }
    lblXLvalid->setText(NumberText(dim_.XLvalid));
    lblXUvalid->setText(NumberText(dim_.XUvalid));
    lblExpansion->setText(NumberText(dim_.Centre));
    lblTerms->setText(NumberText(ShownTermCount(dim_)));

    // The interval of validity is the natural first study and plot window.
    txtXlower->setText(NumberText(dim_.XLvalid));
    txtWindowlx->setText(NumberText(dim_.XLvalid));
    txtXupper->setText(NumberText(dim_.XUvalid));
    txtWindowgx->setText(NumberText(dim_.XUvalid));

    // RestoreStudySettings
    txtEquation->setText(dim_.FileName);
    if (dim_.StudyLoaded) {
        txtXlower->setText(SettingsText(dim_.XLower));
        txtXupper->setText(SettingsText(dim_.XUpper));
        txtSubintervals->setText(SettingsText(dim_.Subintervals));
        txtError->setText(SettingsText(dim_.ErrorBound));
        txtMaxcy->setText(SettingsText(dim_.MaxCycles));
        txtWindowlx->setText(SettingsText(dim_.WindowLX));
        txtWindowgx->setText(SettingsText(dim_.WindowGX));
        txtWindowly->setText(SettingsText(dim_.WindowLY));
        txtWindowgy->setText(SettingsText(dim_.WindowGY));
        txtXorigin->setText(SettingsText(dim_.XOrigin));
        txtYorigin->setText(SettingsText(dim_.YOrigin));
        txtPlotStep->setText(SettingsText(dim_.PlotStep));
        txtDivx->setText(SettingsText(dim_.DivX));
        txtDivy->setText(SettingsText(dim_.DivY));
        // A file can carry counts the fields would never take typed (a
        // count above 2^30 does not even survive doubling); they get the
        // fields' own corrections, as if typed and left.
        bool refused = false;
        txtSubintervals_Validate(refused);
        txtSubintervals_LostFocus();
        txtMaxcy_Validate(refused);
        dim_.Subintervals = LeadingInt32(txtSubintervals->text());
        dim_.MaxCycles = LeadingInt32(txtMaxcy->text());
    }

    // RestoreStudyResults
    lstRoots->clear();
    lstExtrema->clear();
    lblIntegral->clear();
    lblDerVal->clear();
    lblRoots->clear();
    lblExtrema->clear();
    if (dim_.IntegralDone)
        lblIntegral->setText(NumberText(dim_.IntegralValue));
    if (dim_.RootCount != 0) {
        lblRoots->setText(NumberText(dim_.RootCount) + QStringLiteral(" roots"));
        for (int i = 1; i <= dim_.RootCount; ++i)
            lstRoots->addItem(NumberText(dim_.Roots[static_cast<size_t>(i)]));
    }
    if (dim_.MaxCount + dim_.MinCount + dim_.PossibleRootCount != 0) {
        dim_.ScratchText = ExtremaLabel(dim_.MaxCount, dim_.MinCount, dim_.PossibleRootCount);
        lblExtrema->setText(dim_.ScratchText);
        for (int i = 1; i <= dim_.MinCount; ++i)
            lstExtrema->addItem(extremumEntry(dim_, QStringLiteral("MIN: ["), dim_.Minima[static_cast<size_t>(i)]));
        for (int i = 1; i <= dim_.MaxCount; ++i)
            lstExtrema->addItem(extremumEntry(dim_, QStringLiteral("MAX: ["), dim_.Maxima[static_cast<size_t>(i)]));
    }
    cmdPlot_Click();
}

void MainWindow::mnuSave_Click()
{
    if (dim_.FileName.isEmpty())
        mnuSaveAs_Click();
    else
        SaveStudy();
}

void MainWindow::mnuSaveAs_Click()
{
    const QString name = dialogs_.saveFileName();
    // Cancelling keeps the file the study belongs to.
    if (name.isEmpty())
        return;
    // Until the study is on disk under the new name it still belongs to the
    // old one: a failed Save As must not send the next Save somewhere the
    // user has just been told nothing was written.
    const QString previous = dim_.FileName;
    dim_.FileName = QFileInfo(name).absoluteFilePath();
    if (!SaveStudy()) {
        dim_.FileName = previous;
        return;
    }
    // The window names the file the study now belongs to. The study itself
    // has not changed, so this is not an edit that clears results or graph.
    const QSignalBlocker quiet(txtEquation);
    txtEquation->setText(dim_.FileName);
}

bool MainWindow::SaveStudy()
{
    if (dim_.FileName.isEmpty())
        return false;
    // The picture is taken first, as it stands when the command is given.
    const bool withGraph = dim_.GraphShown;
    const QImage picture = withGraph ? graphImage() : QImage();
    const StudySettingsTexts texts{txtXlower->text(),   txtXupper->text(),   txtSubintervals->text(),
                                   txtError->text(),    txtMaxcy->text(),    txtWindowlx->text(),
                                   txtWindowgx->text(), txtWindowly->text(), txtWindowgy->text(),
                                   txtPlotStep->text(), txtXorigin->text(),  txtYorigin->text(),
                                   txtDivx->text(),     txtDivy->text()};
    const WriteResult written = WriteSeriesFile(dim_, dim_.FileName, texts);
    if (!written.ok) {
        // The bitmap belongs to the file: one that was refused or failed
        // leaves the earlier bitmap beside it, not a picture of another study.
        dialogs_.message(kTitle, written.message, Dialogs::Icon::Warning);
        return false;
    }
    if (withGraph) {
        const QString bitmap = dim_.FileName + QStringLiteral(".bmp");
        QSaveFile out(bitmap);
        bool ok = out.open(QIODevice::WriteOnly);
        if (ok) {
            QImageWriter writer(&out, "BMP");
            // commit() alone would not notice buffered bytes that never
            // reached the disk, and would replace the earlier bitmap.
            ok = writer.write(picture) && out.flush() && out.commit();
        }
        if (!ok) {
            // The study itself is saved; only its picture is not.
            dialogs_.message(kTitle,
                             QStringLiteral("The graph could not be saved as %1: %2")
                                 .arg(QDir::toNativeSeparators(bitmap), out.errorString()),
                             Dialogs::Icon::Warning);
        }
    }
    return true;
}

void MainWindow::txtEquation_Click()
{
    OpenSeriesFile();
}

void MainWindow::txtEquation_Change()
{
    ClearResults();
    InvalidateGraph();
}

void MainWindow::txtEquation_Validate(bool& cancel)
{
    // The name cannot be typed away once a file is open; before the first
    // open the empty field must not trap the focus.
    cancel = txtEquation->text().isEmpty() && !dim_.FileName.isEmpty();
}

} // namespace vendrak
