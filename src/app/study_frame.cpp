#include "app/study_frame.h"

#include "app/frame_host.h"
#include "app/window_controls.h"
#include "core/study/dimension.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

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
    } catch (const Error&) {
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

StudySpecsFrame::StudySpecsFrame(QWidget* client, const ControlFactory& make, FrameHost& host)
    : host_(host)
{
    build(client, make);
    wire();
}

void StudySpecsFrame::build(QWidget* client, const ControlFactory& make)
{
    fraStudySpecs = make.frame(client, "fraStudySpecs", "Study specifications", 6000, 0, 3495, 1380);
    txtXlower = make.textBox(fraStudySpecs, "txtXlower", "-8", "Lower limit of interval to be studied",
                             0, 195, 1425, 285);
    lblXinterval = make.label(fraStudySpecs, "lblXinterval", "<=x<=", "Defines interval to be studied",
                              1410, 195, 630, 285);
    txtXupper = make.textBox(fraStudySpecs, "txtXupper", "8", "Upper limit of interval to be studied",
                             2030, 195, 1425, 285);
    lblSubintervals = make.label(fraStudySpecs, "lblSubintervals", " # of subintervals:", "", 0, 495,
                                 2040, 285);
    txtSubintervals = make.textBox(fraStudySpecs, "txtSubintervals", "256", "Minimum # of subintervals",
                                   2030, 495, 1425, 285);
    lblError = make.label(fraStudySpecs, "lblError", "Approx. error bound:", "", 0, 795, 2040, 285);
    txtError = make.textBox(fraStudySpecs, "txtError", ".01", "Error MUST be >0", 2030, 795, 1425, 285);
    lblMaxcy = make.label(fraStudySpecs, "lblMaxcy", "Max. # of iterations:", "", 0, 1090, 2040, 285);
    txtMaxcy = make.textBox(fraStudySpecs, "txtMaxcy", "20", "Limits number of main loop iterations",
                            2030, 1090, 1425, 285);
}

void StudySpecsFrame::wire()
{
    // The error bound has no change handler: a looser bound keeps the
    // results, so it is judged when the field is left.
    for (QLineEdit* e : {txtXlower, txtXupper, txtSubintervals, txtMaxcy})
        connect(e, &QLineEdit::textChanged, this,
                [this] { host_.runGuarded([this] { host_.ClearResults(); }); });

    const auto selectAll = [this](QLineEdit* e) {
        return std::function<void()>([this, e] { host_.SelectAllText(e); });
    };
    host_.addField(txtXlower, selectAll(txtXlower), {}, [this] { txtXlower_LostFocus(); });
    host_.addField(txtXupper, selectAll(txtXupper), {}, [this] { txtXupper_LostFocus(); });
    host_.addField(txtSubintervals, selectAll(txtSubintervals),
                   [this](bool& cancel) { txtSubintervals_Validate(cancel); },
                   [this] { txtSubintervals_LostFocus(); });
    host_.addField(txtError, [this] { txtError_GotFocus(); },
                   [this](bool& cancel) { txtError_Validate(cancel); },
                   [this] { txtError_LostFocus(); });
    host_.addField(txtMaxcy, selectAll(txtMaxcy), [this](bool& cancel) { txtMaxcy_Validate(cancel); },
                   {});

    for (QLineEdit* e : {txtXlower, txtXupper, txtError})
        host_.addDecimalField(e);
}

StudySpecTexts StudySpecsFrame::texts() const
{
    return {txtXlower->text(), txtXupper->text(), txtSubintervals->text(), txtError->text(),
            txtMaxcy->text()};
}

void StudySpecsFrame::showInterval(const QString& lower, const QString& upper)
{
    txtXlower->setText(lower);
    txtXupper->setText(upper);
}

void StudySpecsFrame::restore(const StudySettingsTexts& saved)
{
    txtXlower->setText(saved.xlower);
    txtXupper->setText(saved.xupper);
    txtSubintervals->setText(saved.subintervals);
    txtError->setText(saved.error);
    txtMaxcy->setText(saved.maxcy);
}

void StudySpecsFrame::correctRestoredCounts()
{
    // A file can carry counts the fields would never take typed (a count
    // above 2^30 does not even survive doubling).
    bool refused = false;
    txtSubintervals_Validate(refused);
    txtSubintervals_LostFocus();
    txtMaxcy_Validate(refused);
    host_.dim().study.Subintervals = LeadingInt32(txtSubintervals->text());
    host_.dim().study.MaxCycles = LeadingInt32(txtMaxcy->text());
}

// An empty or reversed interval sends the focus to the other limit; the
// texts stay as typed.
void StudySpecsFrame::txtXlower_LostFocus()
{
    if (guardNumber(txtXupper->text()) <= guardNumber(txtXlower->text()))
        host_.setFocusLater(txtXupper);
}

void StudySpecsFrame::txtXupper_LostFocus()
{
    if (guardNumber(txtXupper->text()) <= guardNumber(txtXlower->text()))
        host_.setFocusLater(txtXlower);
}

void StudySpecsFrame::txtError_GotFocus()
{
    host_.SelectAllText(txtError);
    host_.dim().study.ErrorBoundOnEntry = guardNumber(txtError->text());
}

// The bound must be a positive number; one beyond the double range is no
// usable bound either.
void StudySpecsFrame::txtError_Validate(bool& cancel)
{
    try {
        cancel = LeadingNumber(txtError->text()) <= 0;
    } catch (const Error&) {
        cancel = true;
    }
}

// A looser bound leaves the results standing; a tighter one clears them.
void StudySpecsFrame::txtError_LostFocus()
{
    StudySpecs& study = host_.dim().study;
    study.ErrorBound = guardNumber(txtError->text());
    if (study.ErrorBound < study.ErrorBoundOnEntry)
        host_.ClearResults();
}

// Whole number of at least 2 (and at most 2^30).
void StudySpecsFrame::txtSubintervals_Validate(bool&)
{
    const int n = wholeCount(guardNumber(txtSubintervals->text()), 2);
    setFieldText(txtSubintervals, NumberText(n));
}

// Up to the next power of two; the iteration limit must allow the halvings
// that reach one subinterval.
void StudySpecsFrame::txtSubintervals_LostFocus()
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

void StudySpecsFrame::txtMaxcy_Validate(bool&)
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

std::vector<QWidget*> StudySpecsFrame::tabOrder() const
{
    return {txtXlower, txtXupper, txtSubintervals, txtError, txtMaxcy};
}

void StudySpecsFrame::setSubintervalsTip(const QString& tip) { txtSubintervals->setToolTip(tip); }

} // namespace vendrak
