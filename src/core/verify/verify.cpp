#include "core/verify/verify.h"

#include "core/ball/ball.h"
#include "core/study/number_text.h"

#include <acb.h>
#include <arb.h>
#include <flint/flint.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>

namespace vendrak {

namespace {

constexpr slong kPrec = 64;
// Balls at a point that still hold 0 are tried again this precise, then given
// up as undecided.
constexpr slong kPointPrecs[] = {512, 2048};
// Above this degree a polynomial is not evaluated exactly at a point (the
// exact numbers grow with the degree).
constexpr int kExactDegree = 2000;
// Boxes examined before a search is cut short.
constexpr long kMaxBoxes = 2000000;
// Threads settling boxes at once, at most.
constexpr unsigned kSettlingMost = 4;
constexpr int kUndecided = 2;

int signOf(const arb_t x)
{
    if (arb_is_zero(x))
        return 0;
    if (arb_is_positive(x))
        return 1;
    if (arb_is_negative(x))
        return -1;
    return kUndecided;
}

Span outward(const arb_t x)
{
    Arf lo, hi;
    arb_get_interval_arf(lo.v, hi.v, x, kPrec);
    return {arf_get_d(lo.v, ARF_RND_FLOOR), arf_get_d(hi.v, ARF_RND_CEIL)};
}

// No more than four doubles from a to b: nothing left to split.
bool tiny(double a, double b)
{
    double x = a;
    for (int i = 0; i < 4; ++i) {
        x = std::nextafter(x, b);
        if (x >= b)
            return true;
    }
    return false;
}

// A double strictly inside (a, b) at the given fraction, or NaN.
double splitAt(double a, double b, double fraction)
{
    const double m = a + (b * 0.5 - a * 0.5) * (2 * fraction);
    return a < m && m < b ? m : std::numeric_limits<double>::quiet_NaN();
}

// cos(j theta) and sin(j theta) for j = 1, 2, ... on a ball theta. Powers of
// e^{i theta} as complex balls grow their radius like (1 + r)^j times a
// factor up to sqrt 2 per step, which ruins any harmonic count worth
// having; instead the powers are taken at the midpoint (refreshed from a
// direct sine and cosine every few steps, so rounding cannot pile up) and the
// radius added as j r, the most a shift of r can move j theta.
template <class Use>
void harmonics(const arb_t theta, int count, slong prec, Use&& use)
{
    Ball mid, spread, err, angle, c, s;
    arb_set_arf(mid.v, arb_midref(theta));
    arb_get_rad_arb(spread.v, theta);
    const bool point = arb_is_zero(spread.v);
    Complex z, zj;
    arb_sin_cos(acb_imagref(z.v), acb_realref(z.v), mid.v, prec);
    acb_one(zj.v);
    for (int j = 1; j <= count; ++j) {
        if (j % 32 == 0) {
            arb_mul_si(angle.v, mid.v, j, prec);
            arb_sin_cos(acb_imagref(zj.v), acb_realref(zj.v), angle.v, prec);
        } else {
            acb_mul(zj.v, zj.v, z.v, prec);
        }
        arb_set(c.v, acb_realref(zj.v));
        arb_set(s.v, acb_imagref(zj.v));
        if (!point) {
            arb_mul_si(err.v, spread.v, j, prec);
            if (arf_cmp_si(arb_midref(err.v), 2) >= 0) {
                arb_zero_pm_one(c.v);
                arb_zero_pm_one(s.v);
            } else {
                arb_add_error(c.v, err.v);
                arb_add_error(s.v, err.v);
            }
        }
        use(j, c.v, s.v);
    }
}

// f and its derivatives as the stored numbers define them, on balls.
class Function {
public:
    explicit Function(const Series& s) : s_(s), n_(s.TermCount)
    {
        if (s.Kind == SeriesKind::Power) {
            for (int d = 0; d < 4; ++d) {
                coef_[d] = BallVec(n_ + 1);
                for (int k = d; k <= n_; ++k) {
                    arb_set_d(coef_[d].v + k, s.Coeffs[static_cast<size_t>(k)]);
                    for (int i = 0; i < d; ++i)
                        arb_mul_si(coef_[d].v + k, coef_[d].v + k, k - i, ARF_PREC_EXACT);
                }
            }
        } else {
            coef_[0] = BallVec(n_ + 1);
            for (int k = 0; k <= n_; ++k)
                arb_set_d(coef_[0].v + k, s.Coeffs[static_cast<size_t>(k)]);
        }
    }

    bool power() const { return s_.Kind == SeriesKind::Power; }

    // f^(d), f^(d+1), ... (count of them, up to the third derivative) on
    // the ball x, in one pass over the terms.
    void direct(arb_ptr out, int d, int count, const arb_t x, slong prec) const
    {
        Ball t;
        arb_set_d(t.v, s_.Centre);
        arb_sub(t.v, x, t.v, prec);
        if (power()) {
            for (int o = d; o < d + count; ++o) {
                arb_ptr r = out + (o - d);
                arb_zero(r);
                for (int k = n_; k >= o; --k) {
                    arb_mul(r, r, t.v, prec);
                    arb_add(r, r, coef_[o].v + k, prec);
                }
            }
            return;
        }
        Ball omega, theta, even, odd, term;
        arb_const_pi(omega.v, prec);
        arb_mul_2exp_si(omega.v, omega.v, 1);
        arb_div_arf(omega.v, omega.v, Arf(s_.Period).v, prec);
        arb_mul(theta.v, t.v, omega.v, prec);
        for (int o = d; o < d + count; ++o)
            o == 0 ? arb_set(out, coef_[0].v) : arb_zero(out + (o - d));
        harmonics(theta.v, (n_ + 1) / 2, prec, [&](int j, const arb_t cosj, const arb_t sinj) {
            const arb_srcptr a = coef_[0].v + (2 * j - 1);
            const bool hasCos = 2 * j <= n_;
            // The derivatives of A sin + B cos go round A sin + B cos,
            // A cos - B sin and their negatives, times (j omega)^o.
            arb_mul(even.v, a, sinj, prec);
            arb_mul(odd.v, a, cosj, prec);
            if (hasCos) {
                arb_addmul(even.v, coef_[0].v + 2 * j, cosj, prec);
                arb_submul(odd.v, coef_[0].v + 2 * j, sinj, prec);
            }
            slong power = 1;
            for (int i = 0; i < d; ++i)
                power *= j;
            for (int o = d; o < d + count; ++o, power *= j) {
                arb_mul_si(term.v, o % 2 ? odd.v : even.v, power, prec);
                if (o % 4 >= 2)
                    arb_sub(out + (o - d), out + (o - d), term.v, prec);
                else
                    arb_add(out + (o - d), out + (o - d), term.v, prec);
            }
        });
        Ball scale;
        arb_pow_ui(scale.v, omega.v, static_cast<ulong>(d), prec);
        for (int o = d; o < d + count; ++o) {
            arb_mul(out + (o - d), out + (o - d), scale.v, prec);
            arb_mul(scale.v, scale.v, omega.v, prec);
        }
    }

    void at(arb_t out, int d, double x, slong prec) const
    {
        Ball p;
        arb_set_d(p.v, x);
        direct(out, d, 1, p.v, prec);
    }

    // f^(d) and f^(d+1) on [a, b] (d at most 1): the plain enclosures and
    // the mean-value forms about the midpoint, intersected (the latter are
    // far tighter on narrow intervals).
    void on(arb_t value, arb_t slope, int d, double a, double b) const
    {
        if (a == b) {
            at(value, d, a, kPrec);
            at(slope, d + 1, a, kPrec);
            return;
        }
        Ball x, m, dx, mv, both;
        BallVec onX(3), atM(2);
        arb_set_interval_arf(x.v, Arf(a).v, Arf(b).v, kPrec);
        arb_set_arf(m.v, arb_midref(x.v));
        arb_sub(dx.v, x.v, m.v, kPrec);
        direct(onX.v, d, 3, x.v, kPrec);
        direct(atM.v, d, 2, m.v, kPrec);
        for (int i = 0; i < 2; ++i) {
            arb_mul(mv.v, dx.v, onX.v + i + 1, kPrec);
            arb_add(mv.v, mv.v, atM.v + i, kPrec);
            if (arb_intersection(both.v, onX.v + i, mv.v, kPrec))
                arb_swap(onX.v + i, both.v);
        }
        arb_swap(value, onX.v);
        arb_swap(slope, onX.v + 1);
    }

    // The sign of f^(d) at x: -1, 0, +1, or kUndecided.
    int signAt(int d, double x) const
    {
        Ball v;
        at(v.v, d, x, kPrec);
        int s = signOf(v.v);
        if (s != kUndecided)
            return s;
        if (power() && n_ <= kExactDegree) {
            at(v.v, d, x, ARF_PREC_EXACT);
            return signOf(v.v);
        }
        for (const slong prec : kPointPrecs) {
            at(v.v, d, x, prec);
            if ((s = signOf(v.v)) != kUndecided)
                return s;
        }
        return s;
    }

    // An antiderivative of f at x (exact ball at x).
    void antiderivative(arb_t out, double x, slong prec) const
    {
        Ball t;
        arb_set_d(t.v, x);
        Ball c;
        arb_set_d(c.v, s_.Centre);
        arb_sub(t.v, t.v, c.v, prec);
        if (power()) {
            Ball q;
            arb_zero(out);
            for (int k = n_; k >= 0; --k) {
                arb_div_si(q.v, coef_[0].v + k, k + 1, prec);
                arb_add(out, out, q.v, prec);
                arb_mul(out, out, t.v, prec);
            }
            return;
        }
        Ball omega, theta, term;
        arb_const_pi(omega.v, prec);
        arb_mul_2exp_si(omega.v, omega.v, 1);
        arb_div_arf(omega.v, omega.v, Arf(s_.Period).v, prec);
        arb_mul(theta.v, t.v, omega.v, prec);
        Ball sum;
        harmonics(theta.v, (n_ + 1) / 2, prec, [&](int j, const arb_t cosj, const arb_t sinj) {
            // A sin + B cos integrates to (B sin - A cos) / (j omega).
            arb_mul(term.v, coef_[0].v + (2 * j - 1), cosj, prec);
            arb_neg(term.v, term.v);
            if (2 * j <= n_)
                arb_addmul(term.v, coef_[0].v + 2 * j, sinj, prec);
            arb_div_si(term.v, term.v, j, prec);
            arb_add(sum.v, sum.v, term.v, prec);
        });
        arb_div(sum.v, sum.v, omega.v, prec);
        arb_mul(out, coef_[0].v, t.v, prec);
        arb_add(out, out, sum.v, prec);
    }

private:
    const Series& s_;
    int n_;
    BallVec coef_[4];
};

struct Zero {
    Span x;
    int left = 0; // the sign of the function just left of the zero; 0 for a zero at a point
};

struct Isolated {
    std::vector<Zero> zeros;
    std::vector<Span> undecided;
    bool cut = false;
    QString message;
};

// Isolates the zeros of f^(d) on [lower, upper] by bisection at doubles: a
// box where f^(d) cannot vanish is dropped; one where it is monotone holds
// exactly one zero when its ends' signs differ; an exact zero at a bisection
// point or an end is a zero there. What no precision decides shrinks to a
// few doubles and is kept as undecided.
class Isolator {
public:
    Isolator(const Function& f, int d, double lower, double upper, double errorBound, bool ends, ScanControl* control,
             double progressFrom)
        : f_(f), d_(d), lower_(lower), upper_(upper), bound_(errorBound > 0 ? errorBound : 0), ends_(ends),
          control_(control), from_(progressFrom)
    {
    }

    Isolated run()
    {
        const int sl = f_.signAt(d_, lower_);
        const int su = f_.signAt(d_, upper_);
        if (ends_ && sl == 0)
            out_.zeros.push_back({{lower_, lower_}, 0});
        if (ends_ && su == 0 && upper_ != lower_)
            out_.zeros.push_back({{upper_, upper_}, 0});
        if (lower_ < upper_)
            stack_.push_back({lower_, upper_, sl, su});
        // Every box is settled on its own, so the boxes are shared out among
        // the cores: the zeros found are the same whatever order they come in.
        // The leftmost box is always taken first, so the search sweeps the
        // interval from the left as one search would.
        const unsigned helpers = std::min(kSettlingMost - 1, std::max(1u, std::thread::hardware_concurrency()) - 1);
        std::vector<std::thread> threads;
        std::exception_ptr failure;
        // A failure on any thread stops them all and is raised once they end.
        const auto guardedWork = [this, &failure] {
            try {
                work();
            } catch (...) {
                const std::lock_guard lock(mutex_);
                failure = std::current_exception();
                stop_ = true;
                more_.notify_all();
            }
        };
        for (unsigned i = 0; i < helpers; ++i)
            threads.emplace_back([&guardedWork] {
                guardedWork();
                // Arb keeps caches per thread; this one ends here.
                flint_cleanup();
            });
        guardedWork();
        for (std::thread& t : threads)
            t.join();
        if (failure)
            std::rethrow_exception(failure);
        // A thread held up while the others finished the interval may leave
        // more than the cap: the cap still holds, from the left.
        if (!out_.cut && out_.zeros.size() + out_.undecided.size() > kCap) {
            out_.cut = true;
            frontier_ = upper_;
        }
        keepSearched();
        std::sort(out_.zeros.begin(), out_.zeros.end(), [](const Zero& x, const Zero& y) { return x.x.lo < y.x.lo; });
        std::sort(out_.undecided.begin(), out_.undecided.end(), [](const Span& x, const Span& y) { return x.lo < y.lo; });
        std::vector<Span> merged;
        for (const Span& s : out_.undecided) {
            if (!merged.empty() && merged.back().hi >= s.lo)
                merged.back().hi = std::max(merged.back().hi, s.hi);
            else
                merged.push_back(s);
        }
        out_.undecided = std::move(merged);
        return std::move(out_);
    }

private:
    struct Box {
        double a, b;
        int sa, sb;
    };
    // Orders the boxes to wait as a heap with the leftmost on top.
    static bool rightOf(const Box& x, const Box& y) { return x.a > y.a; }

    // What settling one box found: zeros, undecided pieces and the halves
    // still to look at.
    struct Settled {
        std::vector<Zero> zeros;
        std::vector<Span> undecided;
        std::vector<Box> halves;
    };

    // Takes boxes until none is left and no other thread may still split one.
    void work()
    {
        Ball v, slope;
        unsigned looks = 0;
        for (;;) {
            Box box;
            {
                std::unique_lock lock(mutex_);
                more_.wait(lock, [this] { return stop_ || !stack_.empty() || busy_ == 0; });
                if (stop_ || stack_.empty())
                    return;
                std::pop_heap(stack_.begin(), stack_.end(), rightOf);
                box = stack_.back();
                stack_.pop_back();
                if (++boxes_ > kMaxBoxes || (out_.zeros.size() + out_.undecided.size() >= kCap &&
                                              searchedCount(frontier(box.a)) >= kCap)) {
                    cut(box.a);
                    return;
                }
                ++busy_;
                settling_.push_back(box.a);
            }
            look(box.a, looks);
            const Settled found = settle(box, v, slope);
            const std::lock_guard lock(mutex_);
            out_.zeros.insert(out_.zeros.end(), found.zeros.begin(), found.zeros.end());
            out_.undecided.insert(out_.undecided.end(), found.undecided.begin(), found.undecided.end());
            for (const Box& half : found.halves) {
                stack_.push_back(half);
                std::push_heap(stack_.begin(), stack_.end(), rightOf);
            }
            settling_.erase(std::find(settling_.begin(), settling_.end(), box.a));
            --busy_;
            more_.notify_all();
        }
    }

    static constexpr size_t kCap = kVerifyRootCap;

    // The left end of the part not searched completely, with the lock held:
    // the boxes are taken from the left, but other threads may still be
    // settling boxes left of `from`.
    double frontier(double from) const
    {
        if (!stack_.empty())
            from = std::min(from, stack_.front().a);
        for (const double a : settling_)
            from = std::min(from, a);
        return from;
    }

    size_t searchedCount(double to) const
    {
        return static_cast<size_t>(
            std::count_if(out_.zeros.begin(), out_.zeros.end(), [to](const Zero& z) { return z.x.hi <= to; }) +
            std::count_if(out_.undecided.begin(), out_.undecided.end(), [to](const Span& u) { return u.hi <= to; }));
    }

    // Ends the search, with the lock held.
    void cut(double from)
    {
        if (stop_)
            return;
        frontier_ = frontier(from);
        out_.cut = true;
        stop_ = true;
        more_.notify_all();
    }

    // After a cut, keeps what was searched completely, at most the cap of
    // zeros from the left, and says where the search ended.
    void keepSearched()
    {
        if (!out_.cut)
            return;
        std::erase_if(out_.zeros, [this](const Zero& z) { return z.x.hi > frontier_; });
        std::erase_if(out_.undecided, [this](const Span& u) { return u.hi > frontier_; });
        const bool capped = out_.zeros.size() + out_.undecided.size() >= kCap;
        if (capped) {
            std::vector<double> starts;
            for (const Zero& z : out_.zeros)
                starts.push_back(z.x.lo);
            for (const Span& u : out_.undecided)
                starts.push_back(u.lo);
            std::sort(starts.begin(), starts.end());
            if (starts.size() > kCap) {
                // Everything left of the first one dropped was found.
                frontier_ = starts[kCap];
                std::erase_if(out_.zeros, [this](const Zero& z) { return z.x.lo >= frontier_; });
                std::erase_if(out_.undecided, [this](const Span& u) { return u.lo >= frontier_; });
            }
        }
        out_.message = capped ? QStringLiteral("stopped at %1 zeros; the rest of the interval from %2 was not searched")
                                    .arg(out_.zeros.size() + out_.undecided.size())
                                    .arg(NumberText(frontier_))
                              : QStringLiteral("stopped after %1 steps; the rest of the interval from %2 was not searched")
                                    .arg(kMaxBoxes)
                                    .arg(NumberText(frontier_));
    }

    Settled settle(const Box& box, Ball& v, Ball& slope) const
    {
        Settled out;
        f_.on(v.v, slope.v, d_, box.a, box.b);
        if (!arb_contains_zero(v.v))
            return out;
        if (!arb_contains_zero(slope.v)) { // monotone: at most one zero in [a, b]
            const bool decidedA = box.sa == 1 || box.sa == -1;
            const bool decidedB = box.sb == 1 || box.sb == -1;
            if (box.sa == 0 || box.sb == 0)
                return out; // that zero is already recorded
            if (decidedA && decidedB) {
                if (box.sa != box.sb)
                    out.zeros.push_back({refine(box.a, box.b, box.sa), box.sa});
                return out;
            }
        }
        if (tiny(box.a, box.b)) {
            out.undecided.push_back({box.a, box.b});
            return out;
        }
        double m = std::numeric_limits<double>::quiet_NaN();
        int sm = kUndecided;
        pointBetween(box.a, box.b, m, sm);
        if (std::isnan(m)) {
            out.undecided.push_back({box.a, box.b});
            return out;
        }
        if (sm == 0)
            out.zeros.push_back({{m, m}, 0});
        out.halves.push_back({m, box.b, sm, box.sb});
        out.halves.push_back({box.a, m, box.sa, sm});
        return out;
    }

private:
    // A point inside (a, b) whose sign is decided, the midpoint first; the
    // midpoint with an undecided sign when none is.
    void pointBetween(double a, double b, double& m, int& sm) const
    {
        for (const double fraction : {0.5, 0.4375, 0.5625, 0.375, 0.625}) {
            const double x = splitAt(a, b, fraction);
            if (std::isnan(x))
                continue;
            const int s = f_.signAt(d_, x);
            if (std::isnan(m))
                m = x, sm = s;
            if (s != kUndecided) {
                m = x, sm = s;
                return;
            }
        }
    }

    // Narrows a box holding one sign change to the error bound, or to a few
    // doubles when that is smaller.
    Span refine(double a, double b, int sa) const
    {
        while (b - a > bound_ && !tiny(a, b)) {
            double m = std::numeric_limits<double>::quiet_NaN();
            int sm = kUndecided;
            pointBetween(a, b, m, sm);
            if (std::isnan(m) || sm == kUndecided)
                break;
            if (sm == 0)
                return {m, m};
            (sm == sa ? a : b) = m;
        }
        return {a, b};
    }

    void look(double x, unsigned& looks) const
    {
        if (!control_ || (++looks & 63) != 0)
            return;
        if (control_->cancel.load(std::memory_order_relaxed))
            throw Cancelled{};
        control_->fraction.store(from_ + 0.5 * (x - lower_) / (upper_ - lower_), std::memory_order_relaxed);
    }

    const Function& f_;
    const int d_;
    const double lower_, upper_, bound_;
    const bool ends_;
    ScanControl* control_;
    const double from_;
    std::mutex mutex_;
    std::condition_variable more_;
    std::vector<Box> stack_; // a heap, the leftmost box first
    std::vector<double> settling_; // left ends of the boxes being settled
    double frontier_ = 0;
    long boxes_ = 0;
    int busy_ = 0;
    bool stop_ = false;
    Isolated out_;
};

QString invalidReason(const Series& s, double lower, double upper)
{
    if (!std::isfinite(lower) || !std::isfinite(upper))
        return QStringLiteral("the study interval has no finite ends");
    if (s.TermCount < 0 || s.Coeffs.size() < static_cast<size_t>(s.TermCount) + 1)
        return QStringLiteral("no series is loaded");
    if (!std::isfinite(s.Centre))
        return QStringLiteral("the centre of the series is not a finite number");
    if (s.Kind == SeriesKind::Trigonometric && (!std::isfinite(s.Period) || s.Period == 0))
        return QStringLiteral("the period of the series is 0 or not a finite number: the series has no value");
    for (int k = 0; k <= s.TermCount; ++k)
        if (!std::isfinite(s.Coeffs[static_cast<size_t>(k)]))
            return QStringLiteral("coefficient %1 is not a finite number").arg(k);
    return {};
}

} // namespace

VerifyReport Verify(const Series& series, double lower, double upper, double errorBound, ScanControl* control)
{
    VerifyReport r;
    r.lower = lower;
    r.upper = upper;
    r.errorBound = errorBound;
    r.message = invalidReason(series, lower, upper);
    if (!r.message.isEmpty())
        return r;
    r.valid = true;
    if (lower > upper) {
        r.rootsComplete = r.extremaComplete = true;
        r.message = QStringLiteral("the study interval is empty");
        return r;
    }
    const bool vanishes = std::all_of(series.Coeffs.begin(), series.Coeffs.begin() + series.TermCount + 1,
                                      [](double c) { return c == 0; });
    if (vanishes) {
        r.rootsUndecided = r.extremaUndecided = {{lower, upper}};
        r.message = QStringLiteral("f vanishes identically");
        r.integralDone = true;
        return r;
    }
    const Function f(series);
    try {
        Isolated roots = Isolator(f, 0, lower, upper, errorBound, true, control, 0).run();
        for (const Zero& z : roots.zeros)
            r.roots.push_back(z.x);
        r.rootsUndecided = std::move(roots.undecided);
        r.rootsComplete = !roots.cut && r.rootsUndecided.empty();
        r.rootsMessage = roots.message;

        Isolated slopes = Isolator(f, 1, lower, upper, errorBound, false, control, 0.5).run();
        Ball v, slope;
        for (const Zero& z : slopes.zeros) {
            int kind = z.left; // f' below 0 on the left: a minimum
            if (kind == 0) {
                const int curvature = f.signAt(2, z.x.lo);
                kind = curvature == 1 || curvature == -1 ? -curvature : 0;
            }
            if (kind == 0) {
                slopes.undecided.push_back(z.x);
                continue;
            }
            f.on(v.v, slope.v, 0, z.x.lo, z.x.hi);
            r.extrema.push_back({z.x, outward(v.v), kind == 1});
        }
        std::sort(slopes.undecided.begin(), slopes.undecided.end(),
                  [](const Span& x, const Span& y) { return x.lo < y.lo; });
        r.extremaUndecided = std::move(slopes.undecided);
        r.extremaComplete = !slopes.cut && r.extremaUndecided.empty();
        r.extremaMessage = slopes.message;
    } catch (const Cancelled&) {
        VerifyReport stopped;
        stopped.cancelled = true;
        stopped.message = QStringLiteral("cancelled");
        return stopped;
    }

    constexpr slong prec = 256;
    Ball fa, fb;
    f.antiderivative(fa.v, lower, prec);
    f.antiderivative(fb.v, upper, prec);
    arb_sub(fb.v, fb.v, fa.v, prec);
    const double value = arf_get_d(arb_midref(fb.v), ARF_RND_NEAR);
    if (std::isfinite(value) && arb_is_finite(fb.v)) {
        Ball off;
        arb_set_d(off.v, value);
        arb_sub(off.v, fb.v, off.v, prec);
        Arf bound;
        arb_get_abs_ubound_arf(bound.v, off.v, prec);
        r.integral = value;
        r.integralRadius = arf_get_d(bound.v, ARF_RND_UP);
        r.integralDone = std::isfinite(r.integralRadius);
    }
    return r;
}

ScanLists ScanListsOf(const Results& results)
{
    ScanLists lists;
    lists.roots = results.Roots;
    for (double x : results.Minima)
        lists.extrema.push_back({x, false});
    for (double x : results.Maxima)
        lists.extrema.push_back({x, true});
    std::stable_sort(lists.extrema.begin(), lists.extrema.end(),
                     [](const ScanLists::Extremum& a, const ScanLists::Extremum& b) { return a.x < b.x; });
    return lists;
}

namespace {

bool near(double x, const Span& s, double bound) { return x >= s.lo - bound && x <= s.hi + bound; }

// Marks each listed point against the proven spans; `kindOf` gives the kind
// of a proven span (0 when kinds do not matter) and `kind` that of a listed
// point.
template <class KindOf, class Kind>
std::vector<ScanMark> mark(const std::vector<double>& listed, const std::vector<Span>& proven,
                           const std::vector<Span>& undecided, const VerifyReport& r, KindOf&& kindOf, Kind&& kind,
                           std::vector<bool>& found)
{
    const double bound = r.errorBound > 0 ? r.errorBound : 0;
    found.assign(proven.size(), false);
    std::vector<ScanMark> marks;
    for (size_t i = 0; i < listed.size(); ++i) {
        const double x = listed[i];
        if (!(x >= r.lower && x <= r.upper)) {
            marks.push_back(ScanMark::Outside);
            continue;
        }
        // The nearest proven span decides the kind; of that kind, the
        // nearest one not yet matched is taken.
        auto distance = [x](const Span& s) { return x < s.lo ? s.lo - x : (x > s.hi ? x - s.hi : 0.0); };
        ScanMark m = ScanMark::NotFound;
        size_t nearest = proven.size(), free = proven.size();
        for (size_t j = 0; j < proven.size(); ++j) {
            if (!near(x, proven[j], bound))
                continue;
            if (nearest == proven.size() || distance(proven[j]) < distance(proven[nearest]))
                nearest = j;
            if (kindOf(j) == kind(i) && !found[j] && (free == proven.size() || distance(proven[j]) < distance(proven[free])))
                free = j;
        }
        if (nearest != proven.size()) {
            if (kindOf(nearest) != kind(i))
                m = ScanMark::WrongKind;
            else if (free == proven.size())
                m = ScanMark::Duplicate;
            else {
                m = ScanMark::Proven;
                found[free] = true;
            }
        }
        if (m == ScanMark::NotFound &&
            std::any_of(undecided.begin(), undecided.end(), [&](const Span& s) { return near(x, s, bound); }))
            m = ScanMark::Undecided;
        marks.push_back(m);
    }
    return marks;
}

double middle(const Span& s) { return s.lo + (s.hi * 0.5 - s.lo * 0.5); }

QString countText(qsizetype n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

} // namespace

ScanCheck CheckScans(const ScanLists& lists, const VerifyReport& r)
{
    ScanCheck c;
    if (!r.valid || r.cancelled)
        return c;
    std::vector<Span> extremaSpans;
    for (const ProvenExtremum& e : r.extrema)
        extremaSpans.push_back(e.x);
    std::vector<double> extremaX;
    for (const ScanLists::Extremum& e : lists.extrema)
        extremaX.push_back(e.x);
    c.rootMarks = mark(lists.roots, r.roots, r.rootsUndecided, r, [](size_t) { return 0; }, [](size_t) { return 0; },
                       c.rootProvenFound);
    c.extremumMarks = mark(
        extremaX, extremaSpans, r.extremaUndecided, r, [&](size_t j) { return r.extrema[j].maximum ? 1 : -1; },
        [&](size_t i) { return lists.extrema[i].maximum ? 1 : -1; }, c.extremumProvenFound);
    for (size_t j = 0; j < r.roots.size(); ++j)
        if (!c.rootProvenFound[j])
            c.rootsMissed.push_back(middle(r.roots[j]));
    for (size_t j = 0; j < r.extrema.size(); ++j)
        if (!c.extremumProvenFound[j])
            c.extremaMissed.push_back(middle(r.extrema[j].x));
    for (size_t i = 0; i < lists.roots.size(); ++i)
        if (c.rootMarks[i] != ScanMark::Proven && c.rootMarks[i] != ScanMark::Undecided)
            c.rootsWrong.push_back(lists.roots[i]);
    for (size_t i = 0; i < lists.extrema.size(); ++i)
        if (c.extremumMarks[i] != ScanMark::Proven && c.extremumMarks[i] != ScanMark::Undecided)
            c.extremaWrong.push_back(lists.extrema[i].x);

    const QString where = QStringLiteral("[%1, %2]").arg(NumberText(r.lower), NumberText(r.upper));
    auto state = [](bool complete, qsizetype undecided, const QString& message) {
        if (complete)
            return QStringLiteral("all proven");
        QString s = undecided ? countText(undecided, "region undecided", "regions undecided") : QString();
        if (!message.isEmpty())
            s += (s.isEmpty() ? QString() : QStringLiteral(", ")) + message;
        return s;
    };
    const auto foundRoots = std::count(c.rootProvenFound.begin(), c.rootProvenFound.end(), true);
    c.summary << QStringLiteral("%1 in %2, %3; the scan found %4")
                     .arg(countText(static_cast<qsizetype>(r.roots.size()), "root", "roots"), where,
                          state(r.rootsComplete, static_cast<qsizetype>(r.rootsUndecided.size()), r.rootsMessage))
                     .arg(foundRoots);
    const auto maxima = std::count_if(r.extrema.begin(), r.extrema.end(), [](const ProvenExtremum& e) { return e.maximum; });
    const auto foundExtrema = std::count(c.extremumProvenFound.begin(), c.extremumProvenFound.end(), true);
    c.summary << QStringLiteral("%1 (%2 max., %3 min.) in %4, %5; the scan found %6")
                     .arg(countText(static_cast<qsizetype>(r.extrema.size()), "extremum", "extrema"))
                     .arg(maxima)
                     .arg(static_cast<qsizetype>(r.extrema.size()) - maxima)
                     .arg(where, state(r.extremaComplete, static_cast<qsizetype>(r.extremaUndecided.size()),
                                       r.extremaMessage))
                     .arg(foundExtrema);
    return c;
}

QString MarkText(ScanMark mark)
{
    switch (mark) {
    case ScanMark::Proven: return QStringLiteral("proven");
    case ScanMark::Undecided: return QStringLiteral("in an undecided region");
    case ScanMark::NotFound: return QStringLiteral("not a root");
    case ScanMark::WrongKind: return QStringLiteral("wrongly classified");
    case ScanMark::Duplicate: return QStringLiteral("duplicate");
    case ScanMark::Outside: return QStringLiteral("outside the interval");
    }
    return {};
}

QString SpanText(const Span& s)
{
    return QStringLiteral("[%1, %2]").arg(QString::number(s.lo, 'g', 17), QString::number(s.hi, 'g', 17));
}

QStringList VerifyLines(const ScanLists& lists, const VerifyReport& r, const ScanCheck& c)
{
    QStringList out;
    if (!r.valid || r.cancelled) {
        out << QStringLiteral("not verified: ") + r.message;
        return out;
    }
    if (!r.message.isEmpty())
        out << r.message;
    out << c.summary;
    for (const Span& s : r.roots)
        out << QStringLiteral("ROOT IN ") + SpanText(s);
    for (const Span& s : r.rootsUndecided)
        out << QStringLiteral("ROOTS UNDECIDED IN %1 (width %2)").arg(SpanText(s), NumberText(s.hi - s.lo));
    for (const ProvenExtremum& e : r.extrema)
        out << QStringLiteral("%1 IN %2, f IN %3")
                   .arg(e.maximum ? QStringLiteral("MAX") : QStringLiteral("MIN"), SpanText(e.x), SpanText(e.value));
    for (const Span& s : r.extremaUndecided)
        out << QStringLiteral("EXTREMA UNDECIDED IN %1 (width %2)").arg(SpanText(s), NumberText(s.hi - s.lo));
    for (size_t i = 0; i < lists.roots.size() && i < c.rootMarks.size(); ++i)
        out << QStringLiteral("SCAN ROOT %1: %2").arg(NumberText(lists.roots[i]), MarkText(c.rootMarks[i]));
    for (size_t i = 0; i < lists.extrema.size() && i < c.extremumMarks.size(); ++i) {
        const ScanMark m = c.extremumMarks[i];
        out << QStringLiteral("SCAN %1 %2: %3")
                   .arg(lists.extrema[i].maximum ? QStringLiteral("MAX") : QStringLiteral("MIN"),
                        NumberText(lists.extrema[i].x),
                        m == ScanMark::NotFound ? QStringLiteral("not an extremum") : MarkText(m));
    }
    for (const double x : c.rootsMissed)
        out << QStringLiteral("MISSED ROOT ") + NumberText(x);
    for (size_t j = 0; j < r.extrema.size(); ++j)
        if (!c.extremumProvenFound[j])
            out << QStringLiteral("MISSED %1 %2")
                       .arg(r.extrema[j].maximum ? QStringLiteral("MAX") : QStringLiteral("MIN"),
                            NumberText(middle(r.extrema[j].x)));
    if (r.integralDone)
        out << QStringLiteral("integral: %1 ± %2")
                   .arg(QString::number(r.integral, 'g', 17), QString::number(r.integralRadius, 'g', 3));
    return out;
}

} // namespace vendrak
