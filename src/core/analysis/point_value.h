#pragma once
// The Value= command's computation, without the window: the function or one
// of its derivatives at a point.
#include "core/study/dimension.h"

#include <QString>

namespace vendrak {

// Orders from this one up have no factorial in the table and give no value.
constexpr int kFirstOrderTooHigh = kFactorialTop + 1;

// The text lblDerVal shows for the order text of txtDerNum and the point text
// of txtXeval (the study fields already read): NumberText of the value, or
// empty when there is none (an order of 171 or more, a negative order, any
// evaluation error; no message is ever shown). Sets DerivOrder to the order
// typed and, on an error, ierr as the numeric commands do.
QString PointValueText(Dimension& d, const QString& orderText, const QString& pointText);

} // namespace vendrak
