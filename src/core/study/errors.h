#pragma once
// Failures travel in one exception, Error. Numeric faults carry run-time
// error numbers, the same numbers the commands test in their error traps.
#include <QString>
#include <cmath>
#include <exception>
#include <string>
#include <utility>
#include <variant>

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

// Every failure the core reports, of one type: a numeric fault carries its
// run-time error number (and the standard text of it unless told another);
// a file that cannot be read or written, a series that cannot be built and a
// command line that cannot be obeyed carry the message the user is shown.
// Undecided is a build step that more precision may settle: the builder
// tries again and shows the message only when it gives up.
class Error : public std::exception {
public:
    enum class Kind { Numeric, File, Build, Usage, Undecided };

    explicit Error(ErrorNumber number, QString message = {});
    Error(Kind kind, QString message, int line = 0);
    static Error file(QString message, int line = 0) { return {Kind::File, std::move(message), line}; }
    static Error build(QString message) { return {Kind::Build, std::move(message)}; }
    static Error usage(QString message) { return {Kind::Usage, std::move(message)}; }

    Kind kind() const noexcept { return kind_; }
    bool numeric() const noexcept { return kind_ == Kind::Numeric; }
    // The run-time error number; 0 for a failure that has none.
    ErrorNumber number() const noexcept { return number_; }
    const QString& message() const noexcept { return message_; }
    // The 1-based line of a file the failure was met on; 0 when none.
    int line() const noexcept { return line_; }
    // "Run-time error 6: Overflow", or the message.
    const char* what() const noexcept override { return what_.c_str(); }

private:
    Kind kind_;
    ErrorNumber number_{};
    QString message_;
    int line_ = 0;
    std::string what_;
};

// A value, or the Error that kept it from being made: for work whose failure
// is an answer the caller goes on with (a file that cannot be read).
template <class T>
class Outcome {
public:
    Outcome(T value) : v_(std::in_place_index<0>, std::move(value)) {}
    Outcome(Error error) : v_(std::in_place_index<1>, std::move(error)) {}

    explicit operator bool() const noexcept { return v_.index() == 0; }
    T& operator*() { return std::get<0>(v_); }
    const T& operator*() const { return std::get<0>(v_); }
    T* operator->() { return &std::get<0>(v_); }
    const T* operator->() const { return &std::get<0>(v_); }
    const Error& error() const { return std::get<1>(v_); }

private:
    std::variant<T, Error> v_;
};

// Thrown out of long work (a scan, a build, a verification) that was asked to
// stop; it is no failure, and nothing the work found is kept.
struct Cancelled {};

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
