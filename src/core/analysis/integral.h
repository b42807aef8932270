#pragma once
// The Integral command's computation, without the window: the definite
// integral of the series from XLower to XUpper, term by term in closed form.
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <QString>
#include <optional>

namespace vendrak {

// Integrates the series over the study interval; a numeric failure comes
// back as its Error.
Outcome<double> ComputeIntegral(const Series& s, const StudySpecs& study);

// The message box text for an error number ("overflow", "Invalid procedure
// call or argument", "division by zero"); empty for numbers without one, for
// which no box is shown.
QString IntegralErrorText(ErrorNumber number);

// What the Integral command found. On failure lblIntegral, IntegralValue and
// IntegralDone keep what they held, and the error's number goes to the
// window's ierr.
struct IntegralOutcome {
    // The study specifications the command read from the fields; none when
    // they could not be read.
    std::optional<StudySpecs> study;
    Outcome<double> value;

    bool done() const { return bool(value); }
    // The label's text; empty without a value.
    QString label() const;
    // The message box text; empty when done or for an error without one.
    QString message() const;
};

} // namespace vendrak
