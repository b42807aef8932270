// Open, Save and Save As: the series file in and out of the window.
#include "core/analysis/result_texts.h"
#include "app/picture_box.h"
#include "core/series/series_file.h"
#include "core/series/series_terms.h"
#include "app/main_window.h"
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

} // namespace

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
    if (dim_.SeriesType == kTrigSeries) {
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
        lblRoots->setText(RootCountText(dim_.RootCount));
        for (int i = 1; i <= dim_.RootCount; ++i)
            lstRoots->addItem(NumberText(dim_.Roots[static_cast<size_t>(i)]));
    }
    if (dim_.MaxCount + dim_.MinCount + dim_.PossibleRootCount != 0) {
        dim_.ScratchText = ExtremaSummaryText(dim_.MaxCount, dim_.MinCount, dim_.PossibleRootCount);
        lblExtrema->setText(dim_.ScratchText);
        for (int i = 1; i <= dim_.MinCount; ++i)
            lstExtrema->addItem(RestoredExtremumEntryText(dim_, ExtremumKind::Min, dim_.Minima[static_cast<size_t>(i)]));
        for (int i = 1; i <= dim_.MaxCount; ++i)
            lstExtrema->addItem(RestoredExtremumEntryText(dim_, ExtremumKind::Max, dim_.Maxima[static_cast<size_t>(i)]));
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
    dim_.FileName = QFileInfo(name).absoluteFilePath();
    SaveStudy();
    // The window names the file the study now belongs to. The study itself
    // has not changed, so this is not an edit that clears results or graph.
    const QSignalBlocker quiet(txtEquation);
    txtEquation->setText(dim_.FileName);
}

void MainWindow::SaveStudy()
{
    if (dim_.FileName.isEmpty())
        return;
    if (dim_.GraphShown) {
        const QString bitmap = dim_.FileName + QStringLiteral(".bmp");
        const QImage picture = graphImage();
        QSaveFile out(bitmap);
        bool ok = out.open(QIODevice::WriteOnly);
        if (ok) {
            QImageWriter writer(&out, "BMP");
            // commit() alone would not notice buffered bytes that never
            // reached the disk, and would replace the earlier bitmap.
            ok = writer.write(picture) && out.flush() && out.commit();
        }
        if (!ok) {
            // The study itself is still worth saving: go on with the file.
            dialogs_.message(kTitle,
                             QStringLiteral("The graph could not be saved as %1: %2")
                                 .arg(QDir::toNativeSeparators(bitmap), out.errorString()),
                             Dialogs::Icon::Warning);
        }
    }
    const StudySettingsTexts texts{txtXlower->text(),   txtXupper->text(),   txtSubintervals->text(),
                                   txtError->text(),    txtMaxcy->text(),    txtWindowlx->text(),
                                   txtWindowgx->text(), txtWindowly->text(), txtWindowgy->text(),
                                   txtPlotStep->text(), txtXorigin->text(),  txtYorigin->text(),
                                   txtDivx->text(),     txtDivy->text()};
    const WriteResult written = WriteSeriesFile(dim_, dim_.FileName, texts);
    if (!written.ok)
        dialogs_.message(kTitle, written.message, Dialogs::Icon::Warning);
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
