#include "core/series/evaluators.h"

#include "core/study/errors.h"

#include <cmath>
#include <limits>

namespace vendrak {

namespace {

constexpr int kTrig = 0;
constexpr int kPower = 1;

double coeff(const Dimension& d, long k)
{
    if (k < 0 || k >= static_cast<long>(d.Coeffs.size()))
        raise(ErrSubscript);
    return d.Coeffs[static_cast<size_t>(k)];
}

double factorial(const Dimension& d, long k)
{
    if (k < 0 || k > kFactorialTop)
        raise(ErrSubscript);
    return d.Factorials[static_cast<size_t>(k)];
}

// 2*pi/P as the evaluators form it: atan(1)*8 / P.
double omega(const Dimension& d) { return checkedDiv(std::atan(1.0) * 8, d.Period); }

// theta = ((x - x0) * atan(1)) * 8 / P, in that order.
double theta(const Dimension& d, double x)
{
    const double t = checked(checked(checked(x - d.Centre) * std::atan(1.0)) * 8);
    return checkedDiv(t, d.Period);
}

// Counted power with the general power function, as the derivative weights use.
double power(double base, double exponent) { return checked(std::pow(base, exponent)); }

} // namespace

double EvalSeries(const Dimension& d, double x)
{
    const int n = d.TermCount;
    if (d.SeriesType == kTrig) {
        const double th = theta(d, x);
        double s = coeff(d, 0);
        double angle = 0;
        long k = 1;
        for (; k <= static_cast<long>(n) - 1; k += 2) {
            angle = checked(angle + th);
            s = checked(checked(s + coeff(d, k) * std::sin(angle)) + coeff(d, k + 1) * std::cos(angle));
        }
        if (k == n) {
            angle = checked(angle + th);
            s = checked(s + coeff(d, n) * std::sin(angle));
        }
        return s;
    }
    if (d.SeriesType == kPower) {
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
    if (d.SeriesType == kTrig) {
        const double th = theta(d, x);
        double s = 0;
        double angle = 0;
        double j = 0;
        long k = 1;
        for (; k <= static_cast<long>(n) - 1; k += 2) {
            angle = checked(angle + th);
            j += 1;
            const double c = std::cos(angle);
            const double sn = std::sin(angle);
            s = checked(checked(c * coeff(d, k) - sn * coeff(d, k + 1)) * j + s);
        }
        if (k == n) {
            angle = checked(angle + th);
            j += 1;
            s = checked(checked(j * coeff(d, n)) * std::cos(angle) + s);
        }
        return checked(omega(d) * s);
    }
    if (d.SeriesType == kPower) {
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
    if (d.SeriesType == kTrig) {
        const double th = theta(d, x);
        double s = 0;
        double angle = 0;
        double j = 0;
        long k = 1;
        for (; k <= static_cast<long>(n) - 1; k += 2) {
            angle = checked(angle + th);
            j += 1;
            const double c = std::cos(angle);
            const double sn = std::sin(angle);
            s = checked(s - power(j, 2.0) * checked(c * coeff(d, k + 1) + sn * coeff(d, k)));
        }
        if (k == n) {
            angle = checked(angle + th);
            j += 1;
            s = checked(s - checked(power(j, 2.0) * coeff(d, n)) * std::sin(angle));
        }
        return checked(power(omega(d), 2.0) * s);
    }
    if (d.SeriesType == kPower) {
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
    if (d.SeriesType == kTrig) {
        const double th = theta(d, x);
        const bool odd = order % 2 != 0;
        double s = 0;
        double angle = 0;
        double j = 0;
        long k = 1;
        for (; k <= static_cast<long>(n) - 1; k += 2) {
            angle = checked(angle + th);
            j += 1;
            const double p = power(j, order);
            const double c = std::cos(angle);
            const double sn = std::sin(angle);
            if (odd)
                s = checked(p * checked(c * coeff(d, k) - sn * coeff(d, k + 1)) + s);
            else
                s = checked(p * checked(c * coeff(d, k + 1) + sn * coeff(d, k)) + s);
        }
        if (k == n) {
            angle = checked(angle + th);
            j += 1;
            const double q = checked(power(j, order) * coeff(d, n));
            s = checked(q * (odd ? std::cos(angle) : std::sin(angle)) + s);
        }
        const int m = order % 4;
        if (m == 2 || m == 3)
            s = -s;
        return checked(power(omega(d), order) * s);
    }
    if (d.SeriesType == kPower) {
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
