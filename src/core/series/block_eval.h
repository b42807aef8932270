#pragma once
// The loaded series at many points at once, on the machine's vector units.
// Power series give every value bit for bit as the one-point evaluators do;
// trigonometric series give each value with a bound on how far it can lie
// from the one-point value, so that a caller needing the exact value (or
// its sign) near zero can ask the one-point evaluator there.
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <atomic>
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

    // Room for n points, in all three.
    void resize(std::size_t n)
    {
        values.resize(n);
        bounds.resize(n);
        faults.resize(n);
    }

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
    // Whether the values come from the vector units rather than from the
    // one-point evaluator point by point.
    bool vectorised() const { return path_ != Path::OnePoint; }

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

// The values a drawing needs at abscissas it has gathered before it walks
// them, from the block path where that gives the one-point evaluator's own
// finite value bit for bit (power series and their derivatives); unknown
// everywhere else (a point where the one-point evaluator fails, every point
// of a trigonometric series), where the drawing asks that evaluator itself,
// for its value or its error.
class KnownValues {
public:
    KnownValues() = default; // knows nothing
    KnownValues(const Series& series, int order, std::vector<double> xs);

    // The value at the i-th abscissa, when known.
    std::optional<double> operator[](std::size_t i) const
    {
        return i < known_.size() && known_[i] ? std::optional<double>(values_[i]) : std::nullopt;
    }
    // The value at x for a walk through the abscissas in order: known when x
    // is the next abscissa (the same double).
    std::optional<double> next(double x);

    // Off, nothing is known, so that the two paths can be compared. On from
    // the start.
    static std::atomic<bool> enabled;

private:
    std::vector<double> xs_;
    std::vector<double> values_;
    std::vector<char> known_;
    std::size_t next_ = 0;
};

// The vector unit the block evaluators were dispatched to ("AVX3", "AVX2",
// "SSE4", ...).
const char* BlockTargetName();

} // namespace vendrak
