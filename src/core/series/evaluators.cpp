#include "core/series/evaluators.h"

#include "core/series/series_terms.h"
#include "core/study/errors.h"

#include <cmath>
#include <limits>
#include <optional>

namespace vendrak {

namespace {

double factorial(long k)
{
    if (k < 0 || k > kFactorialTop)
        raise(ErrorNumber::Subscript);
    return Factorials()[static_cast<size_t>(k)];
}

// Counted power with the general power function, as the derivative weights use.
double power(double base, double exponent) { return checked(std::pow(base, exponent)); }

// The trigonometric sum at x: start() (taken after the angle step, whose
// errors come first), then s = term(s, harmonic, cos, sin) harmonic by harmonic.
template <class Start, class Term>
double harmonicSum(const Series& ser, double x, Start&& start, Term&& term)
{
    const double th = harmonicAngle(ser, x);
    double s = start();
    forEachHarmonic(ser.TermCount, th, [&](const Harmonic& h, double angle) {
        s = term(s, h, std::cos(angle), std::sin(angle));
    });
    return s;
}

double zero() { return 0.0; }

// How the value of the series meets a fault. RaiseFaults raises it at once;
// NoteFaults keeps the first and lets the sum run on to a value nobody reads,
// so a grid scan can skip a failing point without the cost of an exception.
// Both see the faults in the same order, so the first one noted is the one
// raised.

struct NoteFaults {
    ErrorNumber first{}; // 0 until a fault is met

    void note(ErrorNumber number)
    {
        if (first == ErrorNumber{})
            first = number;
    }
    double operator()(double v)
    {
        if (!std::isfinite(v))
            note(ErrorNumber::Overflow);
        return v;
    }
    double div(double a, double b)
    {
        if (b == 0.0) {
            note(a == 0.0 || std::isnan(a) ? ErrorNumber::Overflow : ErrorNumber::DivisionByZero);
            return 0;
        }
        return (*this)(a / b);
    }
    double coefficient(const Series& ser, long k)
    {
        if (k < 0 || k >= static_cast<long>(ser.Coeffs.size())) {
            note(ErrorNumber::Subscript);
            return 0;
        }
        return ser.Coeffs[static_cast<size_t>(k)];
    }
};

// f(x), each step as harmonicAngle, harmonicSum and forEachHarmonic take it.
template <class Faults>
double seriesValue(const Series& ser, double x, Faults& check)
{
    const long n = ser.TermCount;
    if (ser.Kind == SeriesKind::Trigonometric) {
        const double step = harmonicAngle(ser, x, check);
        double s = check.coefficient(ser, 0);
        forEachHarmonic(
            n, step,
            [&](const Harmonic& h, double angle) {
                const double c = std::cos(angle);
                const double sn = std::sin(angle);
                s = h.hasCosine ? check(check(s + check.coefficient(ser, h.k) * sn) + check.coefficient(ser, h.k + 1) * c)
                                : check(s + check.coefficient(ser, h.k) * sn);
            },
            check);
        return s;
    }
    if (ser.Kind == SeriesKind::Power) {
        const double t = check(x - ser.Centre);
        double s = 0;
        for (long k = n; k >= 0; --k)
            s = check(t * s + check.coefficient(ser, k));
        return s;
    }
    return 0;
}

// Horner's rule in t = x - centre from the top coefficient down to `lowest`,
// coefficient k weighted by weight(k) (taken first: its errors come first).
template <class Weight>
double powerSum(const Series& ser, double x, long lowest, Weight&& weight)
{
    const double t = checked(x - ser.Centre);
    double s = 0;
    for (long k = ser.TermCount; k >= lowest; --k) {
        const double w = weight(k);
        s = checked(w * coeff(ser, k) + t * s);
    }
    return s;
}

} // namespace

double EvalSeries(const Series& ser, double x)
{
    RaiseFaults raise;
    return seriesValue(ser, x, raise);
}

detail::NotedValue detail::seriesValueNoted(const Series& ser, double x)
{
    NoteFaults note;
    const double value = seriesValue(ser, x, note);
    return {value, note.first};
}

double EvalDeriv1(const Series& ser, double x)
{
    if (ser.Kind == SeriesKind::Trigonometric) {
        const double s = harmonicSum(ser, x, zero, [&](double sum, const Harmonic& h, double c, double sn) {
            if (h.hasCosine)
                return checked(checked(c * coeff(ser, h.k) - sn * coeff(ser, h.k + 1)) * h.j + sum);
            return checked(checked(h.j * coeff(ser, h.k)) * c + sum);
        });
        return checked(angularFrequency(ser) * s);
    }
    if (ser.Kind == SeriesKind::Power)
        return powerSum(ser, x, 1, [](long k) { return static_cast<double>(k); });
    return 0;
}

double EvalDeriv2(const Series& ser, double x)
{
    if (ser.Kind == SeriesKind::Trigonometric) {
        const double s = harmonicSum(ser, x, zero, [&](double sum, const Harmonic& h, double c, double sn) {
            if (h.hasCosine)
                return checked(sum - power(h.j, 2.0) * checked(c * coeff(ser, h.k + 1) + sn * coeff(ser, h.k)));
            return checked(sum - checked(power(h.j, 2.0) * coeff(ser, h.k)) * sn);
        });
        return checked(power(angularFrequency(ser), 2.0) * s);
    }
    if (ser.Kind == SeriesKind::Power) {
        return powerSum(ser, x, 2, [](long k) {
            // (k-1)*k in 32-bit integer arithmetic: a product beyond it overflows.
            const long long w = static_cast<long long>(k - 1) * k;
            if (w > std::numeric_limits<int>::max())
                raise(ErrorNumber::Overflow);
            return static_cast<double>(w);
        });
    }
    return 0;
}

double EvalDerivN(const Series& ser, int order, double x)
{
    const int n = ser.TermCount;
    if (ser.Kind == SeriesKind::Trigonometric) {
        const bool odd = order % 2 != 0;
        double s = harmonicSum(ser, x, zero, [&](double sum, const Harmonic& h, double c, double sn) {
            if (!h.hasCosine)
                return checked(checked(power(h.j, order) * coeff(ser, h.k)) * (odd ? c : sn) + sum);
            const double p = power(h.j, order);
            if (odd)
                return checked(p * checked(c * coeff(ser, h.k) - sn * coeff(ser, h.k + 1)) + sum);
            return checked(p * checked(c * coeff(ser, h.k + 1) + sn * coeff(ser, h.k)) + sum);
        });
        const int m = order % 4;
        if (m == 2 || m == 3)
            s = -s;
        return checked(power(angularFrequency(ser), order) * s);
    }
    if (ser.Kind == SeriesKind::Power) {
        if (n <= kFactorialTop)
            return powerSum(ser, x, order, [&](long k) { return checkedDiv(factorial(k), factorial(k - order)); });
        // Beyond 170! the weights k!/(k-n)! come from a running product.
        double p = 1;
        for (long i = static_cast<long>(n) + 2 - order; i <= static_cast<long>(n) + 1; ++i)
            p = checked(static_cast<double>(i) * p);
        return powerSum(ser, x, order, [&](long k) {
            return p = checked(checkedDiv(p, static_cast<double>(k + 1)) * static_cast<double>((k + 1) - order));
        });
    }
    return 0;
}

double EvalSelected(const Series& ser, int order, double x)
{
    switch (order) {
    case 0: return EvalSeries(ser, x);
    case 1: return EvalDeriv1(ser, x);
    case 2: return EvalDeriv2(ser, x);
    default: return EvalDerivN(ser, order, x);
    }
}

} // namespace vendrak
