#pragma once
// Numeric and file faults travel as run-time error numbers, the same numbers
// the commands test in their error traps.
#include <QString>
#include <cmath>
#include <exception>
#include <string>

namespace vendrak {

enum ErrorNumber : int {
    ErrInvalidCall = 5,        // a function outside its domain
    ErrOverflow = 6,           // overflow, invalid operation, too large for 32 bits
    ErrSubscript = 9,          // index out of range
    ErrDivisionByZero = 11,
    ErrTypeMismatch = 13,
    ErrScriptReported = -2147352319, // 0x80020101: already reported by the script host
};

class RunTimeError : public std::exception {
public:
    explicit RunTimeError(int number, QString description = {});
    int number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString description_;
    std::string what_;
};

// The standard text of an error number ("Overflow", "Division by zero", ...).
QString errorDescription(int number);

// The errors a scan skips over and resumes after.
bool isRecoverableEvalError(int number);

[[noreturn]] void raise(int number);

// Checked floating point: a fault never travels on as an infinity or a NaN.
inline double checked(double v)
{
    if (!std::isfinite(v))
        raise(ErrOverflow);
    return v;
}

inline double checkedDiv(double a, double b)
{
    if (b == 0.0)
        raise(a == 0.0 || std::isnan(a) ? ErrOverflow : ErrDivisionByZero);
    return checked(a / b);
}

// Single precision stores: a value beyond the float range overflows.
inline float toSingle(double v)
{
    checked(v);
    const float f = static_cast<float>(v);
    if (!std::isfinite(f))
        raise(ErrOverflow);
    return f;
}

// Rounds to the nearest whole number, halves to even, into a 32-bit integer;
// a value outside the 32-bit range (or not a number) raises error 6.
int toInt32(double v);

} // namespace vendrak
