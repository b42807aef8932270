// Open, Save and Save As: the series file in and out of the window.
#include "app/install_layout.h"
#include "app/picture_box.h"
#include "core/analysis/result_texts.h"
#include "core/series/study_texts.h"
#include "core/series/series_file.h"
#include "core/series/series_terms.h"
#include "app/main_window.h"
#include "app/new_series_dialog.h"
#include "core/study/number_text.h"

#include <QComboBox>
#include <QCoreApplication>
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
    explicit RestoringGuard(Dimension& d) : d_(d) { d_.window.RestoringStudy = true; }
    ~RestoringGuard() { d_.window.RestoringStudy = false; }
    RestoringGuard(const RestoringGuard&) = delete;
    RestoringGuard& operator=(const RestoringGuard&) = delete;

private:
    Dimension& d_;
};

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
    dialog->askSaveFileName = [this] {
        dialogs_.setStartFolder(documentFolder());
        return dialogs_.saveFileName();
    };
    dialog->opened = [this](const QString& path) { runGuarded([&] { OpenSeriesFileNamed(path); }); };
    dialog->open();
}

// File dialogs start where the user's series are: beside the current file,
// or with the bundled examples before any file is open.
QString MainWindow::documentFolder() const
{
    if (!dim_.window.FileName.isEmpty())
        return QFileInfo(dim_.window.FileName).absolutePath();
    const QString installed = InstalledData(QStringLiteral("examples"));
    if (QFileInfo(installed).isDir())
        return installed;
    return QStringLiteral(VENDRAK_SOURCE_DIR "/examples");
}

void MainWindow::OpenSeriesFile()
{
    dialogs_.setStartFolder(documentFolder());
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
    Outcome<SeriesFile> read = ReadSeriesFile(dim_, name);
    if (!read) {
        dialogs_.message(kTitle, read.error().message(),
                         IsMultiVariable(read.error()) ? Dialogs::Icon::None : Dialogs::Icon::Warning);
        return;
    }
    dim_ = Opened(std::move(dim_), std::move(*read));
    dim_.window.FileName = name;
    RestoringGuard restoring(dim_);

    // The series description.
    const SeriesDescriptionTexts series = DescribeSeries(dim_.series);
    lblType->setText(series.type);
    lblTerm->setText(series.termCaption);
    // A power series has no period to show; the previous series' would mislead.
    lblPer->setVisible(series.periodShown);
    lblPeriod->setVisible(series.periodShown);
    if (series.periodShown)
        lblPeriod->setText(series.period);
    lblXLvalid->setText(series.xlvalid);
    lblXUvalid->setText(series.xuvalid);
    lblExpansion->setText(series.expansion);
    lblTerms->setText(series.terms);

    // The interval of validity is the natural first study and plot window.
    const StudySettingsTexts s = OpenedSettings(dim_, studySettingsTexts());
    studySpecsFrame->showInterval(series.xlvalid, series.xuvalid);
    plotSetupFrame->showXWindow(series.xlvalid, series.xuvalid);

    // RestoreStudySettings
    txtEquation->setText(dim_.window.FileName);
    if (dim_.window.StudyLoaded) {
        studySpecsFrame->restore(s);
        plotSetupFrame->restore(s);
        studySpecsFrame->correctRestoredCounts();
    }

    // RestoreStudyResults
    lstRoots->clear();
    lstExtrema->clear();
    lblIntegral->clear();
    evaluationFrame->clearValue();
    lblRoots->clear();
    lblExtrema->clear();
    const ResultTexts results = RestoredResults(dim_.series, dim_.results);
    lblIntegral->setText(results.integral);
    lblRoots->setText(results.rootsLabel);
    lstRoots->addItems(results.roots);
    lblExtrema->setText(results.extremaLabel);
    lstExtrema->addItems(results.extrema);
    cmdPlot_Click();
}

void MainWindow::mnuSave_Click()
{
    if (dim_.window.FileName.isEmpty())
        mnuSaveAs_Click();
    else
        SaveStudy();
}

void MainWindow::mnuSaveAs_Click()
{
    dialogs_.setStartFolder(documentFolder());
    const QString name = dialogs_.saveFileName();
    // Cancelling keeps the file the study belongs to.
    if (name.isEmpty())
        return;
    // Until the study is on disk under the new name it still belongs to the
    // old one: a failed Save As must not send the next Save somewhere the
    // user has just been told nothing was written.
    const QString previous = dim_.window.FileName;
    dim_.window.FileName = QFileInfo(name).absoluteFilePath();
    if (!SaveStudy()) {
        dim_.window.FileName = previous;
        return;
    }
    // The window names the file the study now belongs to. The study itself
    // has not changed, so this is not an edit that clears results or graph.
    const QSignalBlocker quiet(txtEquation);
    txtEquation->setText(dim_.window.FileName);
}

bool MainWindow::SaveStudy()
{
    if (dim_.window.FileName.isEmpty())
        return false;
    // The picture is taken first, as it stands when the command is given.
    takeShownOrder();
    const QImage picture = dim_.window.GraphShown ? graphImage() : QImage();
    const SaveReport saved = SaveStudyFiles(dim_, picture, studySettingsTexts());
    for (const QString& warning : saved.warnings)
        dialogs_.message(kTitle, warning, Dialogs::Icon::Warning);
    return saved.studySaved;
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
    cancel = txtEquation->text().isEmpty() && !dim_.window.FileName.isEmpty();
}

} // namespace vendrak
