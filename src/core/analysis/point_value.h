#pragma once
// The Value= command's computation, without the window: the function or one
// of its derivatives at a point.
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <QString>
#include <optional>

namespace vendrak {

// Orders from this one up have no factorial in the table and give no value.
constexpr int kFirstOrderTooHigh = kFactorialTop + 1;

struct PointValue {
    // What lblDerVal shows: NumberText of the value, or empty when there is
    // none (an order of 171 or more, a negative order, any evaluation error;
    // no message is ever shown).
    QString text;
    // The order typed, when it could be read.
    std::optional<int> order;
    // The value behind the text.
    std::optional<double> value;
    // The error met on the way, if one was: the window's ierr.
    std::optional<ErrorNumber> error;
    // The study specifications the command read from the fields, if it could.
    std::optional<StudySpecs> study;
};

// The value of the derivative of `order` (0: the function) at x.
PointValue PointValueOf(const Series& s, int order, double x);

// The value for the order text of txtDerNum and the point text of txtXeval.
PointValue PointValueText(const Series& s, const QString& orderText, const QString& pointText);

} // namespace vendrak
