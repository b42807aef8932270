#pragma once
// The inner loops of the block evaluators, compiled once for each vector unit
// Highway knows and chosen at run time for the machine's widest. No checks
// here: a fault shows as a value that is not finite, and the caller decides.
#include <cstddef>

namespace vendrak::kernels {

// values[i] = Horner's rule at t = xs[i] - centre over addends[0..count),
// the top one first: s = 0, then s = t * s + addend for each, a separate
// multiply and add as the one-point evaluator has them.
void horner(const double* xs, std::size_t points, double centre, const double* addends, std::size_t count,
            double* values);

// The trigonometric sum at each xs[i]: the angle step theta formed as the
// one-point evaluator forms it, the angles j * theta accumulated by the same
// additions, but their cosines and sines carried from harmonic to harmonic by
// the angle-addition rule, each step rotating by the angle the accumulated
// sum really advanced. sines[j - 1] and cosines[j - 1] are harmonic j's
// coefficients for j = 1..pairs; a lone sine, if any, is sines[pairs].
// lastAngles[i] receives the last accumulated angle.
struct HarmonicTerms {
    double constant;
    const double* sines;
    const double* cosines;
    std::size_t pairs;
    bool loneSine;
};
void harmonics(const double* xs, std::size_t points, double centre, double period, const HarmonicTerms& terms,
               double* values, double* lastAngles);

// The name of the vector unit the kernels run on here ("AVX3", "AVX2", ...).
const char* targetName();

} // namespace vendrak::kernels
