// Built with -ffp-contract=off, as the kernels are: the addends and the
// bounds must round where the source says.
#include "core/series/block_eval.h"

#include "core/series/block_kernels.h"
#include "core/series/evaluators.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <utility>

namespace vendrak {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The Horner addends weight(k) * C[k], top first, as the one-point
// derivative evaluators form them; empty when forming them faults (the
// one-point evaluator then raises the error at every point).
std::vector<double> hornerAddends(const Series& ser, int order)
{
    const long n = ser.TermCount;
    std::vector<double> addends;
    addends.reserve(static_cast<std::size_t>(n - order + 1));
    try {
        double p = 1; // the running product beyond the factorial table
        if (order >= 3 && n > kFactorialTop) {
            for (long i = n + 2 - order; i <= n + 1; ++i)
                p = checked(static_cast<double>(i) * p);
        }
        for (long k = n; k >= order; --k) {
            const double c = ser.Coeffs[static_cast<std::size_t>(k)];
            double w = 1;
            if (order == 0) {
                addends.push_back(c);
                continue;
            }
            if (order == 1) {
                w = static_cast<double>(k);
            } else if (order == 2) {
                const long long product = static_cast<long long>(k - 1) * k;
                if (product > std::numeric_limits<int>::max())
                    return {};
                w = static_cast<double>(product);
            } else if (n <= kFactorialTop) {
                w = checkedDiv(Factorials()[static_cast<std::size_t>(k)],
                               Factorials()[static_cast<std::size_t>(k - order)]);
            } else {
                w = p = checked(checkedDiv(p, static_cast<double>(k + 1)) * static_cast<double>((k + 1) - order));
            }
            addends.push_back(w * c);
        }
    } catch (const Error&) {
        return {};
    }
    return addends;
}

} // namespace

BlockEvaluator::BlockEvaluator(const Series& series, int order) : series_(series), order_(order)
{
    const long n = series.TermCount;
    if (n < 0 || series.Coeffs.size() < static_cast<std::size_t>(n) + 1)
        return;
    if (series.Kind == SeriesKind::Power && order >= 0 && order <= n) {
        addends_ = hornerAddends(series, order);
        if (!addends_.empty())
            path_ = Path::Horner;
        return;
    }
    if (series.Kind != SeriesKind::Trigonometric || order != 0 || n < 1)
        return;
    double sum = 0;
    for (long k = 0; k <= n; ++k)
        sum += std::fabs(series.Coeffs[static_cast<std::size_t>(k)]);
    // Up from the rounding of the sum itself. Beyond 1e300 a partial sum
    // could overflow on one path and not the other.
    absSum_ = sum * (1 + 2 * static_cast<double>(n + 1) * 0x1p-53);
    if (!(absSum_ <= 1e300))
        return;
    for (long k = 1; k + 1 <= n; k += 2) {
        sines_.push_back(series.Coeffs[static_cast<std::size_t>(k)]);
        cosines_.push_back(series.Coeffs[static_cast<std::size_t>(k + 1)]);
    }
    loneSine_ = n % 2 == 1;
    if (loneSine_)
        sines_.push_back(series.Coeffs[static_cast<std::size_t>(n)]);
    path_ = Path::Harmonics;
}

void BlockEvaluator::onePoint(double x, double& value, std::optional<ErrorNumber>& fault) const
{
    if (order_ == 0) {
        const SeriesValue f = TryEvalSeries(series_, x);
        value = f.value;
        fault = f.fault;
        return;
    }
    try {
        value = EvalSelected(series_, order_, x);
    } catch (const Error& e) {
        fault = e.number();
    }
}

// How far the rotated cosines and sines, and the sum built from them, can
// lie from the one-point evaluation, with u = 2^-53 the unit roundoff and
// m harmonics:
// - the library's cos and sin are within 2 ulps, so within L = 2u of the
//   true values (all at most 1 in size);
// - the rotation of each step is off by at most D = (L + u)(1 + 2e) + e^2
//   per entry, e = u |angle| bounding the rounding error of the angle's
//   addition that the step corrects for, and its products and differences
//   add at most 2u + u^2 per entry of a vector of length at most 1 + error;
// - so the error r_j of the rotated (cos, sin) pair, as a vector, obeys
//   r_1 <= sqrt2 L and r_j <= (1 + K) r_(j-1) + K, K = sqrt2 D +
//   sqrt2 (2u + u^2)(1 + sqrt2 D), which gives r_m <= (1 + sqrt2 L)(1 +
//   K)^(m-1) - 1 <= sqrt2 L + X + sqrt2 L X with X = (m-1)K + ((m-1)K)^2
//   while (m-1)K <= 1/64;
// - each cosine and sine differs from the one-point one by at most
//   H = r_m + L, and both sums of 2m + 1 products round by at most
//   gamma = (2m+1)u / (1 - (2m+1)u) times the sum of their terms' sizes,
//   S (1 + H) with S the sum of |coefficients|.
// The bound is S H + 2 gamma (1 + H) S, taken a little up for its own
// rounding; infinite when the angles grow beyond the estimates' reach.
double BlockEvaluator::harmonicBound(double lastAngle) const
{
    constexpr double u = 0x1p-53;
    constexpr double library = 2 * u;
    constexpr double sqrt2 = std::numbers::sqrt2; // rounds up
    const double e = u * std::fabs(lastAngle);
    if (!(e <= 0x1p-20))
        return kInfinity;
    const double m = static_cast<double>(sines_.size());
    const double step = (library + u) * (1 + 2 * e) + e * e + 8 * u * u;
    const double k = sqrt2 * step + sqrt2 * (2 * u + u * u) * (1 + sqrt2 * step);
    const double mk = (m - 1) * k;
    if (!(mk <= 1.0 / 64))
        return kInfinity;
    const double x = mk + mk * mk;
    const double rotation = sqrt2 * library + x + sqrt2 * library * x;
    const double h = rotation + library;
    const double terms = 2 * m + 1;
    const double gamma = terms * u / (1 - terms * u);
    return (absSum_ * h + 2 * gamma * (1 + h) * absSum_) * (1 + 0x1p-40);
}

BlockValues BlockEvaluator::operator()(std::span<const double> xs) const
{
    BlockValues out;
    out.resize(xs.size());
    evaluate(xs, out.values.data(), out.bounds.data(), out.faults.data());
    return out;
}

void BlockEvaluator::evaluate(std::span<const double> xs, double* values, double* bounds,
                              std::optional<ErrorNumber>* faults) const
{
    const std::size_t points = xs.size();
    switch (path_) {
    case Path::Horner:
        kernels::horner(xs.data(), points, series_.Centre, addends_.data(), addends_.size(), values);
        // As below for the harmonics, in one pass over the block.
        for (std::size_t i = 0; i < points; ++i) {
            bounds[i] = 0;
            faults[i] = std::nullopt;
            if (!std::isfinite(values[i]))
                onePoint(xs[i], values[i], faults[i]);
        }
        return;
    case Path::Harmonics:
        std::fill(faults, faults + points, std::nullopt);
        // The last angles go where their bounds will be.
        kernels::harmonics(xs.data(), points, series_.Centre, series_.Period,
                           {series_.Coeffs[0], sines_.data(), cosines_.data(), cosines_.size(), loneSine_}, values,
                           bounds);
        for (std::size_t i = 0; i < points; ++i)
            bounds[i] = harmonicBound(bounds[i]);
        break;
    case Path::OnePoint:
        for (std::size_t i = 0; i < points; ++i) {
            bounds[i] = 0;
            faults[i] = std::nullopt;
            onePoint(xs[i], values[i], faults[i]);
        }
        return;
    }
    // A fault anywhere in the sum leaves it infinite or not a number: the
    // point is evaluated again alone, for the value or the error number the
    // one-point evaluator gives.
    for (std::size_t i = 0; i < points; ++i) {
        if (std::isfinite(values[i]) && std::isfinite(bounds[i]))
            continue;
        bounds[i] = 0;
        onePoint(xs[i], values[i], faults[i]);
    }
}

std::atomic<bool> KnownValues::enabled{true};

KnownValues::KnownValues(const Series& series, int order, std::vector<double> xs) : xs_(std::move(xs))
{
    // Only where the vector units give the exact values is the block path
    // worth its while: elsewhere it would evaluate each point alone anyway.
    if (!enabled.load(std::memory_order_relaxed) || series.Kind != SeriesKind::Power || xs_.empty())
        return;
    const BlockEvaluator block(series, order);
    if (!block.vectorised() || !block.exact())
        return;
    const std::size_t n = xs_.size();
    values_.resize(n);
    std::vector<double> bounds(n);
    std::vector<std::optional<ErrorNumber>> faults(n);
    block.evaluate(xs_, values_.data(), bounds.data(), faults.data());
    known_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        known_[i] = !faults[i] && bounds[i] == 0 && std::isfinite(values_[i]);
}

std::optional<double> KnownValues::next(double x)
{
    // An evaluation off the walk leaves its place where it is.
    if (next_ >= xs_.size() || std::bit_cast<std::uint64_t>(xs_[next_]) != std::bit_cast<std::uint64_t>(x))
        return std::nullopt;
    return (*this)[next_++];
}

const char* BlockTargetName() { return kernels::targetName(); }

} // namespace vendrak
