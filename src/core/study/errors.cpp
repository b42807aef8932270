#include "core/study/errors.h"

#include <cfenv>
#include <limits>

namespace vendrak {

RunTimeError::RunTimeError(int number, QString description)
    : number_(number)
    , description_(description.isEmpty() ? errorDescription(number) : std::move(description))
{
    what_ = "Run-time error " + std::to_string(number_) + ": " + description_.toStdString();
}

QString errorDescription(int number)
{
    switch (number) {
    case ErrInvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case ErrOverflow: return QStringLiteral("Overflow");
    case ErrSubscript: return QStringLiteral("Subscript out of range");
    case ErrDivisionByZero: return QStringLiteral("Division by zero");
    case ErrTypeMismatch: return QStringLiteral("Type mismatch");
    case ErrScriptReported: return QStringLiteral("Error already reported by the script host");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

bool isRecoverableEvalError(int number)
{
    return number == ErrInvalidCall || number == ErrOverflow || number == ErrDivisionByZero
        || number == ErrScriptReported;
}

void raise(int number)
{
    throw RunTimeError(number);
}

int toInt32(double v)
{
    if (!std::isfinite(v))
        raise(ErrOverflow);
    // nearbyint honours the current rounding mode, which we never change from
    // round-to-nearest-even.
    const double r = std::nearbyint(v);
    if (r < static_cast<double>(std::numeric_limits<int>::min())
        || r > static_cast<double>(std::numeric_limits<int>::max()))
        raise(ErrOverflow);
    return static_cast<int>(r);
}

} // namespace vendrak
