#include "core/study/class1.h"

#include "core/study/errors.h"

#include <cmath>

namespace vendrak {

namespace {

// A comparison counts -1 when true, 0 when false: the formulas lean on it to
// avoid dividing by zero at |x| = 1 in one expression.
double truth(bool b) { return b ? -1.0 : 0.0; }

double checkedSqrt(double v)
{
    if (v < 0)
        raise(ErrorNumber::InvalidCall);
    return std::sqrt(v);
}

double checkedLog(double v)
{
    if (v <= 0)
        raise(ErrorNumber::InvalidCall);
    return std::log(v);
}

double checkedExp(double v) { return checked(std::exp(v)); }

} // namespace

template <class F> double Class1::guarded(F f)
{
    try {
        return f();
    } catch (const Error& err) {
        ierr = errorCode(err.number());
        return 0.0;
    }
}

double Class1::Asin(double v)
{
    return guarded([&] {
        const double ne1 = truth(std::fabs(v) != 1);
        const double s = checkedSqrt(checked(1 + checked(ne1 * v * v)));
        const double a = std::atan(checkedDiv(v, s));
        return checked(-ne1 * a - halfpi * (truth(v == 1) - truth(v == -1)));
    });
}

double Class1::Acos(double v)
{
    return guarded([&] {
        const double ne1 = truth(std::fabs(v) != 1);
        const double s = checkedSqrt(checked(1 + checked(ne1 * v * v)));
        const double a = std::atan(checkedDiv(v, s));
        return checked((ne1 * a + halfpi * (truth(v == 1) - truth(v == -1))) + halfpi);
    });
}

double Class1::Sinh(double v)
{
    return guarded([&] { return checked((checkedExp(v) - checkedExp(-v)) * 0.5); });
}

double Class1::Cosh(double v)
{
    return guarded([&] { return checked((checkedExp(v) + checkedExp(-v)) * 0.5); });
}

double Class1::Tanh(double v)
{
    return guarded([&] {
        const double num = checked(-2 * checkedExp(-v));
        return checked(1 + checkedDiv(num, checked(checkedExp(-v) + checkedExp(v))));
    });
}

double Class1::Asinh(double v)
{
    return guarded([&] { return checkedLog(checked(v + checkedSqrt(checked(v * v + 1)))); });
}

double Class1::Acosh(double v)
{
    return guarded([&] { return checkedLog(checked(v + checkedSqrt(checked(v * v - 1)))); });
}

double Class1::Atanh(double v)
{
    return guarded([&] { return checked(checkedLog(checkedDiv(1 + v, 1 - v)) * 0.5); });
}

} // namespace vendrak
