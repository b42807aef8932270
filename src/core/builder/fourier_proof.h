#pragma once
// A proof, in ball arithmetic, of how far written Fourier coefficients are
// from the true ones: each coefficient is the integral of the expression
// against its harmonic, enclosed by Arb's rigorous quadrature.
#include "core/builder/series_builder.h"

#include <optional>
#include <vector>

namespace vendrak {

struct ProvenCoefficients {
    // The constant, then each harmonic's sine and cosine coefficient: the
    // doubles nearest the enclosures' centres.
    std::vector<double> coeffs;
    // An upper bound on |written - true| over them all, where written is a
    // coefficient as the file's 15 digits hold it.
    double bound = 0;
};

// The Fourier coefficients of e over [c - P/2, c + P/2] (P = 2π exactly when
// twoPi) up to `harmonics`, each enclosed by Arb's rigorous quadrature. None
// where they could not all be enclosed to far below the file's digits within
// the control's budget of quadrature points: the expression is not
// holomorphic near the period except at a few jumps or kinks, or is too
// costly. `scale` is the largest |e| seen on the period, for the absolute
// accuracy asked of Arb. Throws Cancelled when the control asks.
std::optional<ProvenCoefficients> ProveCoefficients(const Expression& e, double centre, double period, bool twoPi,
                                                     int harmonics, double scale, const BuildControl* control);

} // namespace vendrak
