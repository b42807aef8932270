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
    double value = 0.0;
    QString label;
    // On failure: the message box text, empty when the error has no message
    // (and no box is shown). lblIntegral, IntegralValue and IntegralDone keep
    // what they held.
    QString message;
    // On failure: the error number, for the window's ierr.
    std::optional<ErrorNumber> error;
    // The study specifications the command read from the fields; none when
    // they could not be read.
    std::optional<StudySpecs> study;
};

// Integrates the series over the study interval. Numeric failures come back
// as IntegralFailure describes them.
IntegralOutcome ComputeIntegral(const Series& s, const StudySpecs& study);

// The command's error trap: the error's number and its message ("overflow",
// "Invalid procedure call or argument", "division by zero", or none).
IntegralOutcome IntegralFailure(ErrorNumber number);

// The message text for an error number; empty for numbers without one.
QString IntegralErrorText(ErrorNumber number);

} // namespace vendrak
