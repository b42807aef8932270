#include "core/study/dimension.h"

#include <cmath>

namespace vendrak {

const std::array<double, kFactorialTop + 1>& Factorials()
{
    static const auto table = [] {
        std::array<double, kFactorialTop + 1> f{};
        f[0] = 1;
        for (int i = 1; i <= kFactorialTop; ++i)
            f[i] = i * f[i - 1];
        return f;
    }();
    return table;
}

double PiValue() { return 4 * std::atan(1.0); }

void Dimension::initialise()
{
    results.IntegralDone = false;
    results.Roots.clear();
    results.Maxima.clear();
    results.Minima.clear();
    results.PossibleRootCount = 0;
    window.FileName.clear();
}

} // namespace vendrak
