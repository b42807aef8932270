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
#include <utility>

namespace vendrak {

// Coefficient k; an index outside the table is error 9, as a file whose
// term count and coefficients disagree must fail rather than read stray memory.
inline double coeff(const Series& ser, long k)
{
    if (k < 0 || k >= static_cast<long>(ser.Coeffs.size()))
        raise(ErrorNumber::Subscript);
    return ser.Coeffs[static_cast<size_t>(k)];
}

// How the terms meet a floating-point fault: this one raises it at once (the
// evaluators keep another that notes it and runs on).
struct RaiseFaults {
    double operator()(double v) const { return checked(v); }
    double div(double a, double b) const { return checkedDiv(a, b); }
    double coefficient(const Series& ser, long k) const { return coeff(ser, k); }
};

// theta = 2 pi (x - centre) / P, formed as ((x - centre) * atan(1)) * 8 / P.
template <class Faults = RaiseFaults>
double harmonicAngle(const Series& ser, double x, Faults&& check = {})
{
    const double t = check(check(check(x - ser.Centre) * std::atan(1.0)) * 8);
    return check.div(t, ser.Period);
}

// 2 pi / P, formed as atan(1) * 8 / P.
inline double angularFrequency(const Series& ser) { return checkedDiv(TwoPi(), ser.Period); }

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
template <std::size_t N, class Term, class Faults = RaiseFaults>
void forEachHarmonic(long top, const std::array<double, N>& steps, Term&& term, Faults&& check = {})
{
    std::array<double, N> angles{};
    Harmonic h{1, 0, true};
    const auto advance = [&] {
        for (std::size_t i = 0; i < N; ++i)
            angles[i] = check(angles[i] + steps[i]);
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
template <class Term, class Faults = RaiseFaults>
void forEachHarmonic(long top, double step, Term&& term, Faults&& check = {})
{
    forEachHarmonic(
        top, std::array<double, 1>{step},
        [&](const Harmonic& h, const std::array<double, 1>& angle) { term(h, angle[0]); },
        std::forward<Faults>(check));
}

} // namespace vendrak
