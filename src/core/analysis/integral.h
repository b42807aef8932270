#pragma once
// The Integral command's computation, without the window: the definite
// integral of the series from XLower to XUpper, term by term in closed form.
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <QString>
#include <optional>

namespace vendrak {

struct IntegralOutcome {
    // True when the command produced a value; the label then shows `label`.
    bool done = false;
    QString label;
    // On failure: the message box text, empty when the error has no message
    // (and no box is shown). lblIntegral, IntegralValue and IntegralDone keep
    // what they held.
    QString message;
    // On failure: the error number, also left in the window's ierr.
    std::optional<ErrorNumber> error;
};

// Integrates the loaded series over the study interval (the study fields
// already read). On success sets IntegralValue and IntegralDone; a series
// kind other than power or trigonometric computes nothing but still counts
// as done. Numeric failures are trapped as IntegralFailure describes.
IntegralOutcome ComputeIntegral(Dimension& d);

// The command's error trap: ierr and ScratchText take the error's number and
// message ("overflow", "Invalid procedure call or argument", "division by
// zero", or none).
IntegralOutcome IntegralFailure(Dimension& d, ErrorNumber number);

// The message text for an error number; empty for numbers without one.
QString IntegralErrorText(ErrorNumber number);

} // namespace vendrak
