#pragma once
// Studies with the window's initial settings (-8 <= x <= 8, 256 subintervals, bound 0.01, 20 iterations).
#include "core/study/dimension.h"

#include <cmath>
#include <tuple>
#include <vector>

namespace vendrak::test {

inline Dimension on(Dimension d, double lower, double upper, int subintervals = 256)
{
    std::tie(d.XLower, d.XUpper, d.Subintervals) = std::tuple(lower, upper, subintervals);
    return d;
}

// No series: the trigonometric kind with period 0.
inline Dimension startUp()
{
    Dimension d;
    d.initialise();
    std::tie(d.ErrorBound, d.MaxCycles) = std::pair(0.01, 20);
    return on(d, -8, 8);
}

// Kind 1: sum c[k] (x - centre)^k. Kind 0: c[0] + sum c[2j-1] sin(j theta) + c[2j] cos(j theta), theta = 2 pi (x -
// centre) / period.
inline Dimension series(int kind, std::vector<double> c, double centre, double period)
{
    Dimension d = startUp();
    std::tie(d.SeriesType, d.TermCount, d.Centre, d.Period) = std::tuple(kind, int(c.size()) - 1, centre, period);
    d.Coeffs = std::move(c);
    return d;
}
inline Dimension powerSeries(std::vector<double> c, double centre = 0) { return series(1, std::move(c), centre, 0); }
inline Dimension trigSeries(std::vector<double> c, double centre, double period) { return series(0, std::move(c), centre, period); }

// The Taylor series of sin x about 0 up to the given odd degree.
inline Dimension sineTaylor(int degree)
{
    std::vector<double> c(size_t(degree) + 1, 0.0);
    for (int k = 1; k <= degree; k += 2)
        c[size_t(k)] = (k % 4 == 1 ? 1 : -1) / std::tgamma(k + 1.0);
    return powerSeries(std::move(c));
}

} // namespace vendrak::test
