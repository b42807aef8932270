#include "app/main_window.h"

#include "core/analysis/study_commands.h"

#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QComboBox>

#include <cfloat>
#include <cmath>

namespace vendrak {

namespace {

// The guards correct a count to at most 2^30: every power of two up to it
// fits a 32-bit integer, and a count one above it would round up to 2^31,
// which does not.
constexpr int kLargestCount = 1 << 30;

// The leading number of a text, for the guards: a magnitude beyond the
// double range counts as the largest double of its sign instead of raising
// an overflow, so the field can still be corrected.
double guardNumber(const QString& text)
{
    try {
        return LeadingNumber(text);
    } catch (const RunTimeError&) {
        return text.trimmed().startsWith(u'-') ? -DBL_MAX : DBL_MAX;
    }
}

// Nearest whole number, halves to even, held to the range a count may take.
int wholeCount(double value, int lowest)
{
    const double r = std::nearbyint(value);
    if (!(r >= lowest))
        return lowest;
    if (r > kLargestCount)
        return kLargestCount;
    return static_cast<int>(r);
}

// Assigning the text a field already holds is not a change.
void setFieldText(QLineEdit* field, const QString& text)
{
    if (field->text() != text)
        field->setText(text);
}

} // namespace

StudySpecTexts MainWindow::studySpecTexts() const
{
    return {txtXlower->text(), txtXupper->text(), txtSubintervals->text(),
            txtError->text(),  txtMaxcy->text(),  cboDerivative->currentText()};
}

StudySettingsTexts MainWindow::studySettingsTexts() const
{
    return {txtXlower->text(),   txtXupper->text(),   txtSubintervals->text(), txtError->text(),
            txtMaxcy->text(),    txtWindowlx->text(), txtWindowgx->text(),     txtWindowly->text(),
            txtWindowgy->text(), txtPlotStep->text(), txtXorigin->text(),      txtYorigin->text(),
            txtDivx->text(),     txtDivy->text()};
}

void MainWindow::ReadStudySpecs() { ReadStudySpecsFrom(dim_.study, studySpecTexts()); }

void MainWindow::ClearResults()
{
    if (dim_.window.RestoringStudy)
        return;
    dim_.results.IntegralDone = false;
    dim_.results.RootCount = 0;
    dim_.results.MaxCount = 0;
    dim_.results.MinCount = 0;
    // The possible roots belong to the extrema found; a study whose results
    // are gone must not save or show a count of them.
    dim_.results.PossibleRootCount = 0;
    lblIntegral->clear();
    lstRoots->clear();
    lstExtrema->clear();
    lblRoots->clear();
    lblExtrema->clear();
}

void MainWindow::txtXlower_Change() { ClearResults(); }
void MainWindow::txtXupper_Change() { ClearResults(); }
void MainWindow::txtSubintervals_Change() { ClearResults(); }
void MainWindow::txtMaxcy_Change() { ClearResults(); }

// An empty or reversed interval sends the focus to the other limit; the
// texts stay as typed.
void MainWindow::txtXlower_LostFocus()
{
    if (guardNumber(txtXupper->text()) <= guardNumber(txtXlower->text()))
        setFocusLater(txtXupper);
}

void MainWindow::txtXupper_LostFocus()
{
    if (guardNumber(txtXupper->text()) <= guardNumber(txtXlower->text()))
        setFocusLater(txtXlower);
}

void MainWindow::txtError_GotFocus()
{
    SelectAllText(txtError);
    dim_.study.ErrorBoundOnEntry = guardNumber(txtError->text());
}

// The bound must be a positive number; one beyond the double range is no
// usable bound either.
void MainWindow::txtError_Validate(bool& cancel)
{
    try {
        cancel = LeadingNumber(txtError->text()) <= 0;
    } catch (const RunTimeError&) {
        cancel = true;
    }
}

// A looser bound leaves the results standing; a tighter one clears them.
void MainWindow::txtError_LostFocus()
{
    dim_.study.ErrorBound = guardNumber(txtError->text());
    if (dim_.study.ErrorBound < dim_.study.ErrorBoundOnEntry)
        ClearResults();
}

// Whole number of at least 2 (and at most 2^30).
void MainWindow::txtSubintervals_Validate(bool&)
{
    const int n = wholeCount(guardNumber(txtSubintervals->text()), 2);
    setFieldText(txtSubintervals, NumberText(n));
}

// Up to the next power of two; the iteration limit must allow the halvings
// that reach one subinterval.
void MainWindow::txtSubintervals_LostFocus()
{
    const int n = wholeCount(guardNumber(txtSubintervals->text()), 2);
    // log2 is exact at powers of two, where ln(n)/ln(2) is not always
    // (2^29 would come out just above 29 and be doubled).
    double k = std::log2(static_cast<double>(n));
    if (k != std::floor(k))
        k = std::floor(k) + 1;
    setFieldText(txtSubintervals, NumberText(static_cast<int>(std::ldexp(1.0, static_cast<int>(k)))));
    if (k - 1 > guardNumber(txtMaxcy->text()))
        setFieldText(txtMaxcy, NumberText(k - 1));
}

void MainWindow::txtMaxcy_Validate(bool&)
{
    // The floor follows the subinterval count as it stands; a count that is
    // not positive (never validated yet) gives no floor.
    const double n = guardNumber(txtSubintervals->text());
    if (n > 0) {
        const double k = std::log2(n);
        if (k - 1 > guardNumber(txtMaxcy->text()))
            setFieldText(txtMaxcy, NumberText(k - 1));
    }
    setFieldText(txtMaxcy, NumberText(wholeCount(guardNumber(txtMaxcy->text()), 1)));
}

} // namespace vendrak
