#pragma once
// The loaded series at many points at once, on the machine's vector units.
// Power series give every value bit for bit as the one-point evaluators do;
// trigonometric series give each value with a bound on how far it can lie
// from the one-point value, so that a caller needing the exact value (or
// its sign) near zero can ask the one-point evaluator there.
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <cmath>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace vendrak {

struct BlockValues {
    std::vector<double> values;
    // |values[i] - the one-point value| <= bounds[i]; 0 where they are the
    // same double.
    std::vector<double> bounds;
    // The error the one-point evaluator raises at point i, where it fails
    // (values[i] and bounds[i] mean nothing there).
    std::vector<std::optional<ErrorNumber>> faults;

    // Whether values[i] has the sign of the one-point value.
    bool signCertain(std::size_t i) const { return bounds[i] == 0 || std::fabs(values[i]) > bounds[i]; }
};

class BlockEvaluator {
public:
    // The derivative of the given order (0: the function) as EvalSelected
    // forms it. Trigonometric series go through the block path for the
    // function itself only; everything the block path does not cover (other
    // kinds, derivatives of trigonometric series, weights that overflow)
    // falls back to the one-point evaluator, point by point.
    explicit BlockEvaluator(const Series& series, int order = 0);

    BlockValues operator()(std::span<const double> xs) const;
    // The same into arrays of xs.size() entries the caller keeps, so that a
    // scan reuses them block after block and parts of one block can be
    // filled on several threads at once.
    void evaluate(std::span<const double> xs, double* values, double* bounds,
                  std::optional<ErrorNumber>* faults) const;

    // Whether every value comes out bit for bit as the one-point
    // evaluator's (all bounds 0).
    bool exact() const { return path_ != Path::Harmonics; }

private:
    enum class Path { Horner, Harmonics, OnePoint };

    void onePoint(double x, double& value, std::optional<ErrorNumber>& fault) const;
    double harmonicBound(double lastAngle) const;

    Series series_;
    int order_;
    Path path_ = Path::OnePoint;
    std::vector<double> addends_; // Horner: the top one first
    std::vector<double> sines_;
    std::vector<double> cosines_;
    bool loneSine_ = false;
    double absSum_ = 0; // sum of |coefficients|, rounded up
};

// The vector unit the block evaluators were dispatched to ("AVX3", "AVX2",
// "SSE4", ...).
const char* BlockTargetName();

} // namespace vendrak
