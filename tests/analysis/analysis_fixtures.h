#pragma once
// Study states with a series loaded and the window's initial study settings
// (-8 <= x <= 8, 256 subintervals, error bound 0.01, 20 iterations).
#include "shell/dimension.h"

#include <vector>

namespace vendrak::test {

inline Dimension withSpecs(Dimension d)
{
    d.XLower = -8;
    d.XUpper = 8;
    d.Subintervals = 256;
    d.ErrorBound = 0.01;
    d.MaxCycles = 20;
    return d;
}

// Start-up state: no series (trigonometric kind, period 0).
inline Dimension startUp()
{
    Dimension d;
    d.initialise();
    return withSpecs(d);
}

// sum c[k] (x - centre)^k
inline Dimension powerSeries(std::vector<double> coeffs, double centre = 0)
{
    Dimension d;
    d.initialise();
    d.SeriesType = 1;
    d.TermCount = static_cast<int>(coeffs.size()) - 1;
    d.Coeffs = std::move(coeffs);
    d.Centre = centre;
    return withSpecs(d);
}

// c[0] + sum c[2j-1] sin(j theta) + c[2j] cos(j theta), theta = 2 pi (x - centre) / period
inline Dimension trigSeries(std::vector<double> coeffs, double centre, double period)
{
    Dimension d;
    d.initialise();
    d.SeriesType = 0;
    d.TermCount = static_cast<int>(coeffs.size()) - 1;
    d.Coeffs = std::move(coeffs);
    d.Centre = centre;
    d.Period = period;
    return withSpecs(d);
}

// The Taylor series of sin x about 0 up to the given (odd) degree.
inline Dimension sineTaylor(int degree)
{
    std::vector<double> c(static_cast<size_t>(degree) + 1, 0.0);
    double term = 1; // 1/k! with the sign of the sine series
    for (int k = 1; k <= degree; ++k) {
        term /= k;
        if (k % 2 == 1)
            c[static_cast<size_t>(k)] = (k % 4 == 1) ? term : -term;
    }
    return powerSeries(std::move(c));
}

} // namespace vendrak::test
