#pragma once
// Numeric and file faults travel as run-time error numbers, the same numbers
// the commands test in their error traps, in one exception, RunTimeError.
#include <QString>
#include <cmath>
#include <exception>
#include <string>

namespace vendrak {

enum class ErrorNumber : int {
    InvalidCall = 5,        // a function outside its domain
    Overflow = 6,           // overflow, invalid operation, too large for 32 bits
    Subscript = 9,          // index out of range
    DivisionByZero = 11,
    TypeMismatch = 13,      // also a function the script host does not know
    ScriptUndefinedName = 500,  // a name the script host does not know
    ScriptSyntax = 1002,        // a statement the script host cannot read
    ScriptReported = -2147352319, // 0x80020101: already reported by the script host
};

// The plain number, as the math object's and the window's ierr hold it (the
// script reads and assigns ierr as a number).
constexpr int errorCode(ErrorNumber number) { return static_cast<int>(number); }

class RunTimeError : public std::exception {
public:
    // Without a description the standard text of the number is used.
    explicit RunTimeError(ErrorNumber number, QString description = {});
    ErrorNumber number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    // "Run-time error 6: Overflow"
    const char* what() const noexcept override { return what_.c_str(); }

private:
    ErrorNumber number_;
    QString description_;
    std::string what_;
};

// The standard text of an error number ("Overflow", "Division by zero", ...).
QString errorDescription(ErrorNumber number);

// The errors a scan skips over and resumes after.
bool isRecoverableEvalError(ErrorNumber number);
// The same for an ierr, which may hold any number a script assigned.
inline bool isRecoverableEvalError(int ierr) { return isRecoverableEvalError(static_cast<ErrorNumber>(ierr)); }

[[noreturn]] void raise(ErrorNumber number);

// Checked floating point: a fault never travels on as an infinity or a NaN.
inline double checked(double v)
{
    if (!std::isfinite(v))
        raise(ErrorNumber::Overflow);
    return v;
}

inline double checkedDiv(double a, double b)
{
    if (b == 0.0)
        raise(a == 0.0 || std::isnan(a) ? ErrorNumber::Overflow : ErrorNumber::DivisionByZero);
    return checked(a / b);
}

// Single precision stores: a value beyond the float range overflows.
inline float toSingle(double v)
{
    checked(v);
    const float f = static_cast<float>(v);
    if (!std::isfinite(f))
        raise(ErrorNumber::Overflow);
    return f;
}

// Rounds to the nearest whole number, halves to even, into a 32-bit integer;
// a value outside the 32-bit range (or not a number) raises error 6.
int toInt32(double v);

} // namespace vendrak
