#include "core/analysis/slope_sign.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vendrak::scan {

namespace {

// Forming the difference polynomial costs about n^2 steps; beyond this
// degree that is longer than a user would wait for it to pay.
constexpr int kLongestSeries = 1 << 13;

constexpr double kUnit = 0x1p-53; // the unit roundoff
constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

SlopeSign::SlopeSign(const Series& difference, double centre, double beside)
    : evaluator_(difference), centre_(centre), beside_(beside)
{
}

// The difference polynomial's coefficients come from Taylor shifts by d and
// by -d in doubles, the shift of |C| by d beside them for their bound: each
// shifted coefficient sums C[j] binom(j, k) (+-d)^(j-k) along paths of at
// most 2n roundings, so it lies within gamma_2n of those sums taken with
// |C[j]| and d of the exact one (Arb does the same in balls, but ten times
// slower, and the shift already costs as much as evaluating the series at
// a few times n points).
std::unique_ptr<SlopeSign> SlopeSign::of(const Series& series, double beside)
{
    const int n = series.TermCount;
    if (series.Kind != SeriesKind::Power || n < 1 || n > kLongestSeries
        || series.Coeffs.size() < static_cast<std::size_t>(n) + 1 || !std::isfinite(series.Centre)
        || !(beside > 0 && beside < 1))
        return nullptr;
    const auto count = static_cast<std::size_t>(n) + 1;
    std::vector<double> above(series.Coeffs.begin(), series.Coeffs.begin() + static_cast<std::ptrdiff_t>(count));
    std::vector<double> below = above, size(count);
    for (std::size_t k = 0; k < count; ++k) {
        if (!std::isfinite(above[k]))
            return nullptr;
        size[k] = std::fabs(above[k]);
    }
    // Three independent chains in one loop: the shift costs one chain's time.
    for (std::size_t i = 0; i < count - 1; ++i) {
        for (std::size_t k = count - 1; k-- > i;) {
            above[k] = above[k] + beside * above[k + 1];
            below[k] = below[k] - beside * below[k + 1];
            size[k] = size[k] + beside * size[k + 1];
        }
    }
    const double gamma = 2 * n * kUnit / (1 - 2 * n * kUnit);
    // Each of about n^2 steps may lose a smallest subnormal to underflow,
    // carried on with weights below (1 + d)^n.
    const double underflow = static_cast<double>(count) * static_cast<double>(count) * 0x1p-1074 * std::pow(1 + beside, n);
    Series difference;
    difference.Kind = SeriesKind::Power;
    difference.TermCount = n - 1;
    difference.Centre = series.Centre;
    difference.Coeffs.resize(static_cast<std::size_t>(n));
    std::vector<double> roundings(static_cast<std::size_t>(n));
    for (std::size_t k = 0; k + 1 < count; ++k) {
        const double c = above[k] - below[k];
        const double rounding = (2 * gamma * size[k] * (1 + 2 * gamma) + kUnit * std::fabs(c) + 2 * underflow) * (1 + 0x1p-40);
        if (!std::isfinite(c) || !std::isfinite(rounding))
            return nullptr;
        difference.Coeffs[k] = c;
        roundings[k] = rounding;
    }
    std::unique_ptr<SlopeSign> out(new SlopeSign(difference, series.Centre, beside));
    for (int k = n; k >= 0; --k) {
        const double a = std::fabs(series.Coeffs[static_cast<std::size_t>(k)]);
        out->absCoeffs_.push_back(a);
        if (k >= 1)
            out->absWeighted_.push_back(a * k);
    }
    for (int k = n - 1; k >= 0; --k) {
        out->absDifference_.push_back(std::fabs(difference.Coeffs[static_cast<std::size_t>(k)]));
        out->roundings_.push_back(roundings[static_cast<std::size_t>(k)]);
    }
    return out;
}

// With u the unit roundoff, s = fl(x - c) the difference polynomial's
// argument, and s+ = fl(fl(x + d) - c), s- = fl(fl(x - d) - c) those of the
// one-point values F(s+), F(s-):
//  - |s+ - (s + d)| and |s- - (s - d)| are at most D = 2u (|x| + |x - c| + 2d);
//  - |F(s) - p(s)| <= gamma A(|s|) for Horner's rule in degree n with a
//    separate multiply and add, gamma = 2n u / (1 - 2n u) and A(r) the sum
//    of |C[k]| r^k (the difference polynomial's sum the same, with its own
//    coefficients and their rounding from the exact ones besides);
//  - p(s+) - p(s + d) is at most D times the sum of k |C[k]| R^(k-1).
// With every |s| up to R, the two values' difference and the Horner sum of
// the difference polynomial at s lie within the sum of these of each other.
// Underflow adds at most one smallest subnormal a step, as many as there are
// steps times the largest power of max(1, R) met, on each of three sums.
// The partial sums of F stay below A(max(1, R)), so a bound on it below the
// largest double keeps both values finite.
double SlopeSign::bound(double first, double last) const
{
    const double spread = 1 + 0x1p-40; // the roundings of this computation, and more
    const double along = std::max(std::fabs(first - centre_), std::fabs(last - centre_)) * spread;
    const double x = std::max(std::fabs(first), std::fabs(last));
    const double apart = 2 * kUnit * (x + along + 2 * beside_) * spread + 0x1p-1070;
    const double r = (along + beside_ + apart) * spread;
    const double n = static_cast<double>(absCoeffs_.size() - 1);
    const double wide = std::max(1.0, r);
    // Sums of positive terms by Horner's rule in doubles, each within
    // (1 + u)^(2n) of the exact one; independent chains in one loop cost
    // one's time.
    double values = 0, partials = 0;
    for (const double c : absCoeffs_) {
        values = values * r + c;
        partials = partials * wide + c;
    }
    if (!(partials <= 1e300))
        return kInfinity;
    double slopes = 0, difference = 0, roundings = 0;
    for (std::size_t i = 0; i < absWeighted_.size(); ++i) {
        slopes = slopes * r + absWeighted_[i];
        difference = difference * r + absDifference_[i];
        roundings = roundings * r + roundings_[i];
    }
    const double gamma = 2 * (n + 1) * kUnit / (1 - 2 * (n + 1) * kUnit);
    const double underflow = 3 * (2 * n + 2) * 0x1p-1074 * std::pow(wide, n);
    const double sum = gamma * (2 * values + difference) + roundings + 2 * apart * slopes + underflow;
    const double out = sum * (1 + 0x1p-20);
    return std::isfinite(out) ? out : kInfinity;
}

} // namespace vendrak::scan
