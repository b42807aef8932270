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
        raise(ErrSubscript);
    return d.Factorials[static_cast<size_t>(k)];
}

// Counted power with the general power function, as the derivative weights use.
double power(double base, double exponent) { return checked(std::pow(base, exponent)); }

} // namespace

double EvalSeries(const Dimension& d, double x)
{
    const int n = d.TermCount;
    if (d.SeriesType == kTrigSeries) {
        const double th = harmonicAngle(d, x);
        double s = coeff(d, 0);
        forEachHarmonic(n, th, [&](const Harmonic& h, double angle) {
            if (h.hasCosine)
                s = checked(checked(s + coeff(d, h.k) * std::sin(angle)) + coeff(d, h.k + 1) * std::cos(angle));
            else
                s = checked(s + coeff(d, h.k) * std::sin(angle));
        });
        return s;
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
    const int n = d.TermCount;
    if (d.SeriesType == kTrigSeries) {
        const double th = harmonicAngle(d, x);
        double s = 0;
        forEachHarmonic(n, th, [&](const Harmonic& h, double angle) {
            if (h.hasCosine) {
                const double c = std::cos(angle);
                const double sn = std::sin(angle);
                s = checked(checked(c * coeff(d, h.k) - sn * coeff(d, h.k + 1)) * h.j + s);
            } else {
                s = checked(checked(h.j * coeff(d, h.k)) * std::cos(angle) + s);
            }
        });
        return checked(angularFrequency(d) * s);
    }
    if (d.SeriesType == kPowerSeries) {
        const double t = checked(x - d.Centre);
        double s = 0;
        for (long k = n; k >= 1; --k)
            s = checked(static_cast<double>(k) * coeff(d, k) + t * s);
        return s;
    }
    return 0;
}

double EvalDeriv2(const Dimension& d, double x)
{
    const int n = d.TermCount;
    if (d.SeriesType == kTrigSeries) {
        const double th = harmonicAngle(d, x);
        double s = 0;
        forEachHarmonic(n, th, [&](const Harmonic& h, double angle) {
            if (h.hasCosine) {
                const double c = std::cos(angle);
                const double sn = std::sin(angle);
                s = checked(s - power(h.j, 2.0) * checked(c * coeff(d, h.k + 1) + sn * coeff(d, h.k)));
            } else {
                s = checked(s - checked(power(h.j, 2.0) * coeff(d, h.k)) * std::sin(angle));
            }
        });
        return checked(power(angularFrequency(d), 2.0) * s);
    }
    if (d.SeriesType == kPowerSeries) {
        const double t = checked(x - d.Centre);
        double s = 0;
        for (long k = n; k >= 2; --k) {
            // (k-1)*k in 32-bit integer arithmetic: a product beyond it overflows.
            const long long w = static_cast<long long>(k - 1) * k;
            if (w > std::numeric_limits<int>::max())
                raise(ErrOverflow);
            s = checked(static_cast<double>(w) * coeff(d, k) + t * s);
        }
        return s;
    }
    return 0;
}

double EvalDerivN(const Dimension& d, double x)
{
    const int n = d.TermCount;
    const int order = d.DerivOrder;
    if (d.SeriesType == kTrigSeries) {
        const double th = harmonicAngle(d, x);
        const bool odd = order % 2 != 0;
        double s = 0;
        forEachHarmonic(n, th, [&](const Harmonic& h, double angle) {
            if (h.hasCosine) {
                const double p = power(h.j, order);
                const double c = std::cos(angle);
                const double sn = std::sin(angle);
                if (odd)
                    s = checked(p * checked(c * coeff(d, h.k) - sn * coeff(d, h.k + 1)) + s);
                else
                    s = checked(p * checked(c * coeff(d, h.k + 1) + sn * coeff(d, h.k)) + s);
            } else {
                const double q = checked(power(h.j, order) * coeff(d, h.k));
                s = checked(q * (odd ? std::cos(angle) : std::sin(angle)) + s);
            }
        });
        const int m = order % 4;
        if (m == 2 || m == 3)
            s = -s;
        return checked(power(angularFrequency(d), order) * s);
    }
    if (d.SeriesType == kPowerSeries) {
        const double t = checked(x - d.Centre);
        double s = 0;
        if (n <= kFactorialTop) {
            for (long k = n; k >= order; --k)
                s = checked(checkedDiv(factorial(d, k), factorial(d, k - order)) * coeff(d, k) + t * s);
            return s;
        }
        // Beyond 170! the weights k!/(k-n)! come from a running product.
        double p = 1;
        for (long i = static_cast<long>(n) + 2 - order; i <= static_cast<long>(n) + 1; ++i)
            p = checked(static_cast<double>(i) * p);
        for (long k = n; k >= order; --k) {
            p = checked(checkedDiv(p, static_cast<double>(k + 1)) * static_cast<double>((k + 1) - order));
            s = checked(p * coeff(d, k) + t * s);
        }
        return s;
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
