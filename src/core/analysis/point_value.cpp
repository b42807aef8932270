#include "core/analysis/point_value.h"

#include "core/analysis/error_trap.h"
#include "core/series/evaluators.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

namespace vendrak {

QString PointValueText(Dimension& d, const QString& orderText, const QString& pointText)
{
    d.ScriptMath.ierr = 0;
    try {
        d.DerivOrder = LeadingInt32(orderText); // halves to even: 2.5 -> 2, 3.5 -> 4
        if (d.DerivOrder >= kFirstOrderTooHigh)
            return {};
        const double x = LeadingNumber(pointText);
        const double value = EvalSelected(d, x);
        // A negative order is no derivative: for a power series the evaluation
        // fails anyway, but a trigonometric series would yield a number with
        // no meaning, which must not be shown as a value.
        if (d.DerivOrder < 0)
            return {};
        return NumberText(value);
    } catch (const RunTimeError& err) {
        TrapError(d, err.number());
        return {};
    }
}

} // namespace vendrak
