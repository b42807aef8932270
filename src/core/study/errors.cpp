#include "core/study/errors.h"

#include <cfenv>
#include <limits>

namespace vendrak {

Error::Error(ErrorNumber number, QString message)
    : kind_(Kind::Numeric)
    , number_(number)
    , message_(message.isEmpty() ? errorDescription(number) : std::move(message))
{
    what_ = "Run-time error " + std::to_string(errorCode(number_)) + ": " + message_.toStdString();
}

Error::Error(Kind kind, QString message, int line)
    : kind_(kind)
    , message_(std::move(message))
    , line_(line)
    , what_(message_.toStdString())
{
}

QString errorDescription(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::InvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case ErrorNumber::Overflow: return QStringLiteral("Overflow");
    case ErrorNumber::Subscript: return QStringLiteral("Subscript out of range");
    case ErrorNumber::DivisionByZero: return QStringLiteral("Division by zero");
    case ErrorNumber::TypeMismatch: return QStringLiteral("Type mismatch");
    case ErrorNumber::ScriptReported: return QStringLiteral("Error already reported by the script host");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

bool isRecoverableEvalError(ErrorNumber number)
{
    return number == ErrorNumber::InvalidCall || number == ErrorNumber::Overflow
        || number == ErrorNumber::DivisionByZero || number == ErrorNumber::ScriptReported;
}

void raise(ErrorNumber number)
{
    throw Error(number);
}

int toInt32(double v)
{
    if (!std::isfinite(v))
        raise(ErrorNumber::Overflow);
    // nearbyint honours the current rounding mode, which we never change from
    // round-to-nearest-even.
    const double r = std::nearbyint(v);
    if (r < static_cast<double>(std::numeric_limits<int>::min())
        || r > static_cast<double>(std::numeric_limits<int>::max()))
        raise(ErrorNumber::Overflow);
    return static_cast<int>(r);
}

} // namespace vendrak
