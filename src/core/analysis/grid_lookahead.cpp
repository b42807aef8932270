#include "core/analysis/grid_lookahead.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <span>
#include <thread>

namespace vendrak::scan {

namespace {

// The first block is small, so that a scan ending early (a full table, an
// error it cannot go on from) wastes little; later blocks grow up to a size
// whose handing over to the helpers costs little beside its evaluation.
// Cancel is looked at every kCancelPoints points of a block.
constexpr std::size_t kFirstBlock = 256;
constexpr std::size_t kLargestBlock = std::size_t{1} << 15;
constexpr double kTermsPerBlock = 1 << 22;
constexpr std::size_t kCancelPoints = 256;
// Less work than this (in terms summed) is not worth a thread.
constexpr double kTermsPerThread = 1 << 18;
// Shorter series are evaluated one point at a time: their values cost less
// than looking them up in a block.
constexpr int kShortestPowerSeries = 8;
constexpr int kShortestTrigSeries = 4;
// A block in which more than one point in this many is left unsettled by the
// slope's bound evaluates the two values instead.
constexpr std::size_t kUnsettledShare = 16;
constexpr double kSlopePays = 32;

bool same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

} // namespace

GridLookahead::~GridLookahead() = default;

// The jobs' points shared out over the cores in one run: an Extrema block is
// two probes, and each handing over costs about as much as a few hundred
// terms.
void GridLookahead::evaluate(const std::vector<Job>& jobs)
{
    // Part p takes points [p share, (p + 1) share) of the jobs laid end to end.
    const std::size_t points = xs_.size();
    const std::size_t total = jobs.size() * points;
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t parts = std::min(cores, std::max<std::size_t>(1, total / pointsPerThread_));
    const std::size_t share = (total + parts - 1) / parts;
    const std::function<void(std::size_t)> part = [&](std::size_t index) {
        const std::size_t end = std::min(total, (index + 1) * share);
        for (std::size_t at = index * share; at < end;) {
            const Job& job = jobs[at / points];
            const std::size_t from = at % points;
            const std::size_t count = std::min({end - at, points - from, kCancelPoints});
            if (cancel_ && cancel_->load(std::memory_order_relaxed))
                return;
            BlockValues& v = *job.out;
            job.evaluator->evaluate(std::span(*job.args).subspan(from, count), v.values.data() + from,
                                    v.bounds.data() + from, v.faults.data() + from);
            at += count;
        }
    };
    if (parts == 1) {
        part(0);
        return;
    }
    if (!helpers_)
        helpers_ = std::make_unique<SharedWork>();
    helpers_->run(parts, part);
}

void GridLookahead::evaluateWanted()
{
    std::vector<Job> jobs;
    for (int probe = 0; probe < kProbes; ++probe) {
        if ((wanted_ & (1u << probe)) == 0)
            continue;
        std::vector<double>& args = args_[static_cast<std::size_t>(probe)];
        if (probe != Here) {
            args.resize(xs_.size());
            for (std::size_t i = 0; i < xs_.size(); ++i)
                args[i] = argument(probe, xs_[i]);
        }
        BlockValues& v = values_[static_cast<std::size_t>(probe)];
        v.resize(xs_.size());
        jobs.push_back({&block_, probe == Here ? &xs_ : &args, &v});
    }
    evaluate(jobs);
}

// The slopes' signs from the difference polynomial, where its bound settles
// them. False, and nothing evaluated, where it does not apply; false too when
// it leaves too many points to the two values' own evaluation, and then it
// is not tried again in this scan: such a series, or such an interval, keeps
// its sums too close to their rounding for the bound to tell.
bool GridLookahead::evaluateSlopes()
{
    if (!slopeTried_) {
        slopeTried_ = true;
        // Forming it costs about n^2 steps, a few evaluations of the series
        // at n points: worth it on a grid long beside the series.
        const double ahead = (upper_ - xs_.front()) / step_;
        if (always_ || ahead >= kSlopePays * (series_.TermCount + 1.0))
            slope_ = SlopeSign::of(series_, beside_);
    }
    if (!slope_)
        return false;
    slopes_.resize(xs_.size());
    evaluate({Job{&slope_->evaluator(), &xs_, &slopes_}});
    slopeBound_ = slope_->bound(xs_.front(), xs_.back());
    std::size_t unsettled = 0;
    for (std::size_t i = 0; i < xs_.size(); ++i)
        unsettled += !slopeSettled(i);
    if (unsettled * kUnsettledShare <= xs_.size())
        return true;
    slope_.reset();
    return false;
}

std::atomic<GridLookahead::Use> GridLookahead::use{GridLookahead::Use::WhereItPays};

GridLookahead::GridLookahead(const Series& series, double step, double beside, double upper)
    : series_(series), block_(series), step_(step), beside_(beside), upper_(upper), nextSize_(kFirstBlock),
      largest_(static_cast<std::size_t>(
          std::clamp(kTermsPerBlock / (std::max(series.TermCount, 0) + 1.0), 64.0, double(kLargestBlock))))
{
    nextSize_ = std::min(nextSize_, largest_);
    pointsPerThread_ = static_cast<std::size_t>(std::ceil(kTermsPerThread / (std::max(series.TermCount, 0) + 1.0)));
    // Filling and walking the values ahead costs about as much per point as
    // a power series of degree 6 or one harmonic evaluated alone
    // (BM_RootsShortSeries).
    const bool pays = series.TermCount >= (series.Kind == SeriesKind::Power ? kShortestPowerSeries : kShortestTrigSeries);
    const Use now = use.load(std::memory_order_relaxed);
    always_ = now == Use::Always;
    on_ = always_ || (now == Use::WhereItPays && pays);
}

void GridLookahead::reachedAhead(double x)
{
    if (ahead_ && at_ + 1 < xs_.size() && same(xs_[at_ + 1], x) && (wanted_ & ~filled_) == 0) {
        ++at_;
        return;
    }
    ahead_ = false;
    if (wanted_ != 0)
        fill(x);
}

// The grid points from x on, each the last plus the step as the walk adds
// it, up to the end of the grid, and the values the scan has asked for there.
void GridLookahead::fill(double x)
{
    xs_.clear();
    for (double p = x; xs_.size() < nextSize_; p = p + step_) {
        xs_.push_back(p);
        if (!(p + step_ <= upper_) || p + step_ == p)
            break;
    }
    nextSize_ = std::min(2 * nextSize_, largest_);
    slopesOnly_ = wanted_ == kSlopeProbes && (slope_ || !slopeTried_) && evaluateSlopes();
    if (!slopesOnly_)
        evaluateWanted();
    if (cancel_ && cancel_->load(std::memory_order_relaxed)) {
        // Parts may have stopped short: nothing of this block is used, and
        // the scan stops at its next look.
        ahead_ = false;
        filled_ = 0;
        return;
    }
    filled_ = wanted_;
    at_ = 0;
    ahead_ = true;
    if (slopesOnly_)
        return;
    // Extrema read the sign of the right value less the left, settled where
    // the two values' bounds cannot reverse it.
    if (wanted_ != kSlopeProbes) {
        settled_.clear();
        return;
    }
    settled_.assign(xs_.size(), 0);
    const BlockValues& below = values_[Below];
    const BlockValues& above = values_[Above];
    for (std::size_t i = 0; i < xs_.size(); ++i) {
        const double gap = std::fabs(above.values[i] - below.values[i]);
        settled_[i] = below.faults[i] || above.faults[i] || gap > (below.bounds[i] + above.bounds[i]) * (1 + 0x1p-48);
    }
}

std::size_t GridLookahead::quietRunAhead(double same) const
{
    if (same == 0 || (wanted_ & ~filled_) != 0)
        return 0;
    // One loop per kind of block: the test runs at every point stepped over.
    std::size_t i = at_ + 1;
    const std::size_t end = xs_.size();
    if (slopesOnly_) {
        while (i < end && slopeSettled(i) && sign(slopes_.values[i]) == same)
            ++i;
    } else if (wanted_ == (1u << Here)) {
        const BlockValues& v = values_[Here];
        while (i < end && !v.faults[i] && v.signCertain(i) && sign(v.values[i]) == same)
            ++i;
    } else if (wanted_ == kSlopeProbes) {
        const BlockValues& below = values_[Below];
        const BlockValues& above = values_[Above];
        const auto quiet = [&](std::size_t at) {
            if (below.faults[at] || above.faults[at])
                return false;
            if (!settled_[at] && (below.bounds[at] != 0 || above.bounds[at] != 0))
                return false;
            const double gap = above.values[at] - below.values[at];
            return std::isfinite(gap) && sign(gap) == same;
        };
        while (i < end && quiet(i))
            ++i;
    }
    return i - (at_ + 1);
}

double GridLookahead::stepOver(std::size_t count)
{
    at_ += count;
    x_ = xs_[at_];
    return x_;
}

std::optional<GridLookahead::Found> GridLookahead::findAhead(double arg)
{
    int probe = 0;
    while (probe < kProbes && !same(arg, argument(probe, x_)))
        ++probe;
    if (probe == kProbes)
        return std::nullopt;
    wanted_ |= 1u << probe;
    if (!ahead_ || slopesOnly_ || (filled_ & (1u << probe)) == 0)
        return std::nullopt;
    const BlockValues& v = values_[static_cast<std::size_t>(probe)];
    if (v.faults[at_])
        return Found{0, v.faults[at_]};
    // Roots read only the sign of f at the point itself.
    if (v.bounds[at_] == 0 || (probe == Here ? v.signCertain(at_) : settled_[at_] != 0))
        return Found{v.values[at_], std::nullopt};
    return std::nullopt;
}

} // namespace vendrak::scan
