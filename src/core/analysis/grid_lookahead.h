#pragma once
// f at the grid points ahead of a scan, and at the slope step beside them,
// evaluated in blocks on the vector units and split across the cores. The
// scan still decides point by point in grid order; it takes a value from
// here only where it is the one-point evaluator's (every value of a power
// series, every error), or where the decision cannot come out otherwise: a
// sign, or the sign of the difference of the two values beside a point,
// that the bound on a trigonometric value settles. For a power series the
// slope's sign comes from one Horner sum wherever its bound settles it
// (SlopeSign), and the two values are evaluated only where it does not.
#include "core/analysis/shared_work.h"
#include "core/analysis/slope_sign.h"
#include "core/series/block_eval.h"
#include "core/study/dimension.h"
#include "core/study/errors.h"

#include <array>
#include <atomic>
#include <bit>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace vendrak::scan {

// -1, 0 or 1: what the scans decide by.
inline double sign(double v) { return v < 0 ? -1.0 : (v > 0 ? 1.0 : 0.0); }

class GridLookahead {
public:
    // step: the grid's step h; beside: the distance of the slope's two
    // values from the grid point; upper: where the grid ends.
    GridLookahead(const Series& series, double step, double beside, double upper);
    ~GridLookahead();
    GridLookahead(const GridLookahead&) = delete;
    GridLookahead& operator=(const GridLookahead&) = delete;

    // The walk has reached grid point x, one step on from the last (or
    // anywhere, after which the values ahead are evaluated afresh).
    void reached(double x)
    {
        x_ = x;
        if (on_)
            reachedAhead(x);
    }

    struct Found {
        double value;
        std::optional<ErrorNumber> fault;
    };
    // f at arg, asked at the current grid point, when arg is the point
    // itself or lies the slope's distance beside it and its value (or
    // fault) is known here and can be taken for the one-point value.
    std::optional<Found> find(double arg) { return on_ ? findAhead(arg) : std::nullopt; }

    // How many grid points after the current one the walk may step over:
    // their values ahead are known, decide as the one-point values would,
    // and read as the nonzero sign `same` (of f for Roots, of the slope
    // f(x + d) - f(x - d) for Extrema), so the scan would only advance there.
    std::size_t quietRun(double same) const { return ahead_ ? quietRunAhead(same) : 0; }
    // Makes the grid point `count` points on the current one, and returns it.
    double stepOver(std::size_t count);
    // Values the scan asks for at each grid point.
    int probesPerPoint() const { return std::popcount(wanted_); }

    // A block being evaluated stops early once *cancel is set (and none of
    // it is used); none: it runs to its end.
    void stopWhen(const std::atomic<bool>* cancel) { cancel_ = cancel; }

    // Where the grid values may come from the block evaluators: never (every
    // value from the one-point evaluator, so that the two paths can be
    // compared), where the series is long enough for blocks to pay for the
    // bookkeeping of walking them, or always.
    enum class Use { Never, WhereItPays, Always };
    static std::atomic<Use> use; // read when a scan begins

private:
    enum Probe { Here, Below, Above, kProbes };
    // What Extrema asks for at each grid point: the two values beside it.
    static constexpr unsigned kSlopeProbes = (1u << Below) | (1u << Above);
    // As the scans form them: the point itself, x - d and x + d.
    double argument(int probe, double x) const
    {
        return probe == Here ? x : probe == Below ? x - beside_ : x + beside_;
    }
    // The above where the values ahead are in use (kept out of line: a scan
    // that does not use them pays only the test).
    void reachedAhead(double x);
    std::optional<Found> findAhead(double arg);
    std::size_t quietRunAhead(double same) const;
    // Each job is an evaluator over arguments into values.
    struct Job {
        const BlockEvaluator* evaluator;
        const std::vector<double>* args;
        BlockValues* out;
    };
    void evaluate(const std::vector<Job>& jobs);
    void evaluateWanted();
    bool evaluateSlopes();
    void fill(double x);

    const Series& series_;
    BlockEvaluator block_;
    double step_;
    double beside_;
    double upper_;
    double x_ = 0;        // the current grid point
    unsigned wanted_ = 0; // probes the scan has asked for
    unsigned filled_ = 0; // probes evaluated ahead
    std::vector<double> xs_;
    std::array<std::vector<double>, kProbes> args_; // each probe's arguments
    std::array<BlockValues, kProbes> values_;
    // Extrema of a power series: the difference polynomial, once asked for
    // (none when it does not apply or stopped paying), and its values at the
    // block's points when they stand in for the two probes'.
    std::unique_ptr<SlopeSign> slope_;
    bool slopeTried_ = false;
    bool slopesOnly_ = false;
    BlockValues slopes_;
    double slopeBound_ = 0; // over the block
    bool slopeSettled(std::size_t i) const
    {
        const double v = slopes_.values[i];
        return !slopes_.faults[i] && std::isfinite(v) && std::fabs(v) > slopeBound_;
    }
    std::vector<char> settled_; // Extrema's two values there decide as the exact ones would
    std::size_t at_ = 0;        // index of x_ in xs_, when ahead_
    bool ahead_ = false;
    std::size_t nextSize_;
    std::size_t largest_; // points in a block, fewer the longer the series
    std::size_t pointsPerThread_ = 1;
    bool on_ = true; // the use in force when the scan began, for this series
    bool always_ = false;
    const std::atomic<bool>* cancel_ = nullptr;
    std::unique_ptr<SharedWork> helpers_; // once a block is worth sharing
};

} // namespace vendrak::scan
