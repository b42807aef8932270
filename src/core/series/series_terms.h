#pragma once
// The terms of the loaded series as every computation on it reads them: its
// kind, its coefficients, and for a trigonometric series the walk over the
// harmonics. The evaluators and the integral must form the angles alike, or
// the integral would not match what the graph shows in the last bit.
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace vendrak {

// Coefficient k; an index outside the table is error 9, as a file whose
// term count and coefficients disagree must fail rather than read stray memory.
inline double coeff(const Series& ser, long k)
{
    if (k < 0 || k >= static_cast<long>(ser.Coeffs.size()))
        raise(ErrorNumber::Subscript);
    return ser.Coeffs[static_cast<size_t>(k)];
}

// theta = 2 pi (x - centre) / P, formed as ((x - centre) * atan(1)) * 8 / P.
inline double harmonicAngle(const Series& ser, double x)
{
    const double t = checked(checked(checked(x - ser.Centre) * std::atan(1.0)) * 8);
    return checkedDiv(t, ser.Period);
}

// 2 pi / P, formed as atan(1) * 8 / P.
inline double angularFrequency(const Series& ser) { return checkedDiv(std::atan(1.0) * 8, ser.Period); }

// One harmonic j of a trigonometric series: its sine coefficient has index k,
// its cosine coefficient k + 1 unless the series ends on a lone sine.
struct Harmonic {
    long k;
    double j;
    bool hasCosine;
};

// Calls term(harmonic, angles) for j = 1, 2, ... up to the highest index
// `top`. Each angle is j times its step, grown by repeated (checked) addition
// rather than multiplied, so that every caller sees the same angles.
template <std::size_t N, class Term>
void forEachHarmonic(long top, const std::array<double, N>& steps, Term&& term)
{
    std::array<double, N> angles{};
    Harmonic h{1, 0, true};
    const auto advance = [&] {
        for (std::size_t i = 0; i < N; ++i)
            angles[i] = checked(angles[i] + steps[i]);
        h.j += 1;
    };
    for (; h.k <= top - 1; h.k += 2) {
        advance();
        term(static_cast<const Harmonic&>(h), static_cast<const std::array<double, N>&>(angles));
    }
    if (h.k == top) {
        advance();
        h.hasCosine = false;
        term(static_cast<const Harmonic&>(h), static_cast<const std::array<double, N>&>(angles));
    }
}

// The same walk at one angle step.
template <class Term>
void forEachHarmonic(long top, double step, Term&& term)
{
    forEachHarmonic(top, std::array<double, 1>{step},
                    [&](const Harmonic& h, const std::array<double, 1>& angle) { term(h, angle[0]); });
}

} // namespace vendrak
