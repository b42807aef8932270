#include "core/series/evaluators.h"

#include "core/series/series_terms.h"
#include "core/study/errors.h"

#include <cmath>
#include <limits>

namespace vendrak {

namespace {

double factorial(const Dimension& d, long k)
{
    if (k < 0 || k > kFactorialTop)
        raise(ErrorNumber::Subscript);
    return d.Factorials[static_cast<size_t>(k)];
}

// Counted power with the general power function, as the derivative weights use.
double power(double base, double exponent) { return checked(std::pow(base, exponent)); }

// The trigonometric sum at x: start() (taken after the angle step, whose
// errors come first), then s = term(s, harmonic, cos, sin) harmonic by harmonic.
template <class Start, class Term>
double harmonicSum(const Dimension& d, double x, Start&& start, Term&& term)
{
    const double th = harmonicAngle(d, x);
    double s = start();
    forEachHarmonic(d.TermCount, th, [&](const Harmonic& h, double angle) {
        s = term(s, h, std::cos(angle), std::sin(angle));
    });
    return s;
}

double zero() { return 0.0; }

// Horner's rule in t = x - centre from the top coefficient down to `lowest`,
// coefficient k weighted by weight(k) (taken first: its errors come first).
template <class Weight>
double powerSum(const Dimension& d, double x, long lowest, Weight&& weight)
{
    const double t = checked(x - d.Centre);
    double s = 0;
    for (long k = d.TermCount; k >= lowest; --k) {
        const double w = weight(k);
        s = checked(w * coeff(d, k) + t * s);
    }
    return s;
}

} // namespace

double EvalSeries(const Dimension& d, double x)
{
    const int n = d.TermCount;
    if (d.SeriesType == kTrigSeries) {
        const auto constant = [&] { return coeff(d, 0); };
        return harmonicSum(d, x, constant, [&](double sum, const Harmonic& h, double c, double sn) {
            if (h.hasCosine)
                return checked(checked(sum + coeff(d, h.k) * sn) + coeff(d, h.k + 1) * c);
            return checked(sum + coeff(d, h.k) * sn);
        });
    }
    if (d.SeriesType == kPowerSeries) {
        const double t = checked(x - d.Centre);
        double s = 0;
        for (long k = n; k >= 0; --k)
            s = checked(t * s + coeff(d, k));
        return s;
    }
    return 0;
}

double EvalDeriv1(const Dimension& d, double x)
{
    if (d.SeriesType == kTrigSeries) {
        const double s = harmonicSum(d, x, zero, [&](double sum, const Harmonic& h, double c, double sn) {
            if (h.hasCosine)
                return checked(checked(c * coeff(d, h.k) - sn * coeff(d, h.k + 1)) * h.j + sum);
            return checked(checked(h.j * coeff(d, h.k)) * c + sum);
        });
        return checked(angularFrequency(d) * s);
    }
    if (d.SeriesType == kPowerSeries)
        return powerSum(d, x, 1, [](long k) { return static_cast<double>(k); });
    return 0;
}

double EvalDeriv2(const Dimension& d, double x)
{
    if (d.SeriesType == kTrigSeries) {
        const double s = harmonicSum(d, x, zero, [&](double sum, const Harmonic& h, double c, double sn) {
            if (h.hasCosine)
                return checked(sum - power(h.j, 2.0) * checked(c * coeff(d, h.k + 1) + sn * coeff(d, h.k)));
            return checked(sum - checked(power(h.j, 2.0) * coeff(d, h.k)) * sn);
        });
        return checked(power(angularFrequency(d), 2.0) * s);
    }
    if (d.SeriesType == kPowerSeries) {
        return powerSum(d, x, 2, [](long k) {
            // (k-1)*k in 32-bit integer arithmetic: a product beyond it overflows.
            const long long w = static_cast<long long>(k - 1) * k;
            if (w > std::numeric_limits<int>::max())
                raise(ErrorNumber::Overflow);
            return static_cast<double>(w);
        });
    }
    return 0;
}

double EvalDerivN(const Dimension& d, double x)
{
    const int n = d.TermCount;
    const int order = d.DerivOrder;
    if (d.SeriesType == kTrigSeries) {
        const bool odd = order % 2 != 0;
        double s = harmonicSum(d, x, zero, [&](double sum, const Harmonic& h, double c, double sn) {
            if (!h.hasCosine)
                return checked(checked(power(h.j, order) * coeff(d, h.k)) * (odd ? c : sn) + sum);
            const double p = power(h.j, order);
            if (odd)
                return checked(p * checked(c * coeff(d, h.k) - sn * coeff(d, h.k + 1)) + sum);
            return checked(p * checked(c * coeff(d, h.k + 1) + sn * coeff(d, h.k)) + sum);
        });
        const int m = order % 4;
        if (m == 2 || m == 3)
            s = -s;
        return checked(power(angularFrequency(d), order) * s);
    }
    if (d.SeriesType == kPowerSeries) {
        if (n <= kFactorialTop)
            return powerSum(d, x, order, [&](long k) { return checkedDiv(factorial(d, k), factorial(d, k - order)); });
        // Beyond 170! the weights k!/(k-n)! come from a running product.
        double p = 1;
        for (long i = static_cast<long>(n) + 2 - order; i <= static_cast<long>(n) + 1; ++i)
            p = checked(static_cast<double>(i) * p);
        return powerSum(d, x, order, [&](long k) {
            return p = checked(checkedDiv(p, static_cast<double>(k + 1)) * static_cast<double>((k + 1) - order));
        });
    }
    return 0;
}

double EvalSelected(const Dimension& d, double x)
{
    switch (d.DerivOrder) {
    case 0: return EvalSeries(d, x);
    case 1: return EvalDeriv1(d, x);
    case 2: return EvalDeriv2(d, x);
    default: return EvalDerivN(d, x);
    }
}

} // namespace vendrak
