#include "core/analysis/point_value.h"

#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

namespace vendrak {

PointValue PointValueOf(const Series& s, int order, double x)
{
    PointValue out;
    out.order = order;
    if (order >= kFirstOrderTooHigh)
        return out;
    try {
        const double value = EvalSelected(s, order, x);
        // A negative order is no derivative: for a power series the evaluation
        // fails anyway, but a trigonometric series would yield a number with
        // no meaning, which must not be shown as a value.
        if (order < 0)
            return out;
        out.value = value;
        out.text = NumberText(value);
    } catch (const Error& err) {
        out.error = err.number();
    }
    return out;
}

PointValue PointValueText(const Series& s, const QString& orderText, const QString& pointText)
{
    PointValue out;
    try {
        const int order = LeadingInt32(orderText); // halves to even: 2.5 -> 2, 3.5 -> 4
        out.order = order;
        if (order >= kFirstOrderTooHigh)
            return out;
        const double x = LeadingNumber(pointText);
        out = PointValueOf(s, order, x);
    } catch (const Error& err) {
        out.error = err.number();
    }
    return out;
}

} // namespace vendrak
