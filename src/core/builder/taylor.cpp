#include "core/ball/ball.h"
#include "core/builder/series_builder.h"
#include "core/series/evaluators.h"
#include "core/study/number_text.h"

#include <arb.h>
#include <arb_hypgeom.h>
#include <arb_poly.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vendrak {

namespace {

constexpr slong kStartPrecision = 160;
constexpr slong kMaxPrecision = 16384;

// A ball that straddles a point we must be on one side of: more precision
// may settle it, so the whole computation is tried again.
Error doubt(const QString& message) { return {Error::Kind::Undecided, message}; }

// A truncated series and how many of its leading coefficients can be
// trusted: a division through a zero of the divisor shifts terms out of the
// far end.
struct Ser {
    arb_poly_t p;
    slong valid = 0;
    Ser() { arb_poly_init(p); }
    ~Ser() { arb_poly_clear(p); }
    Ser(Ser&& o) noexcept : valid(o.valid)
    {
        arb_poly_init(p);
        arb_poly_swap(p, o.p);
    }
    Ser& operator=(Ser&& o) noexcept
    {
        arb_poly_swap(p, o.p);
        valid = o.valid;
        return *this;
    }
    Ser(const Ser&) = delete;
    Ser& operator=(const Ser&) = delete;
};

bool isOdd(ExprFn f)
{
    switch (f) {
    case ExprFn::Sin: case ExprFn::Tan: case ExprFn::Asin: case ExprFn::Atan: case ExprFn::Sinh:
    case ExprFn::Tanh: case ExprFn::Asinh: case ExprFn::Atanh: case ExprFn::Erf: case ExprFn::Cbrt:
        return true;
    default:
        return false;
    }
}

class TaylorEngine {
public:
    TaylorEngine(const Expression& e, double centre, slong len, slong prec, const BuildControl* control)
        : e_(e), c_(centre), len_(len), prec_(prec), where_(NumberText(centre)), control_(control) {}

    // Children before their node, so only the series still waiting for a
    // sibling are alive: a sum of any length holds two or three at a time.
    Ser eval(const ExprNode& root)
    {
        return FoldExpression<Ser>(root, [this](const ExprNode& n, Ser* c) { return node(n, c); });
    }

private:
    // One node from its children's series c (a, then b), which it may take.
    Ser node(const ExprNode& n, Ser* c)
    {
        if (control_ && control_->cancel.load(std::memory_order_relaxed))
            throw Cancelled{};
        switch (n.op) {
        case ExprOp::Number: {
            Ser s = constant();
            Ball b;
            if (arb_set_str(b.v, n.literal.toLatin1().constData(), prec_) != 0)
                arb_set_d(b.v, n.value);
            arb_poly_set_arb(s.p, b.v);
            return s;
        }
        case ExprOp::X: {
            Ser s = constant();
            Ball b;
            arb_set_d(b.v, c_);
            arb_poly_set_coeff_arb(s.p, 0, b.v);
            if (len_ > 1)
                arb_poly_set_coeff_si(s.p, 1, 1);
            return s;
        }
        case ExprOp::Pi:
            return constantOf(arb_const_pi);
        case ExprOp::E:
            return constantOf(arb_const_e);
        case ExprOp::Neg: {
            Ser s = std::move(c[0]);
            arb_poly_neg(s.p, s.p);
            return s;
        }
        case ExprOp::Add:
        case ExprOp::Sub: {
            const Ser &a = c[0], &b = c[1];
            Ser r = like(a, b);
            if (n.op == ExprOp::Add)
                arb_poly_add(r.p, a.p, b.p, prec_);
            else
                arb_poly_sub(r.p, a.p, b.p, prec_);
            zeroRange(r, 0, std::min(zeros(a), zeros(b)));
            return r;
        }
        case ExprOp::Mul: return multiply(c[0], c[1]);
        case ExprOp::Div: return divide(c[0], c[1], n);
        case ExprOp::Pow: return power(n, c[0], c[1]);
        case ExprOp::Call: return n.b ? twoArgs(n, c[0], c[1]) : call(n, c[0]);
        }
        return constant();
    }

    // A named constant (pi, e) as a series, to the working precision.
    Ser constantOf(void (*value)(arb_t, slong)) const
    {
        Ser s = constant();
        Ball b;
        value(b.v, prec_);
        arb_poly_set_arb(s.p, b.v);
        return s;
    }

    Ser constant() const
    {
        Ser s;
        s.valid = len_;
        return s;
    }

    Ser like(const Ser& a, const Ser& b) const
    {
        Ser s;
        s.valid = std::min(a.valid, b.valid);
        return s;
    }

    // Leading coefficients that are exactly zero: the order of the zero at
    // the centre as far as it is known for certain.
    slong zeros(const Ser& s, slong from = 0) const
    {
        slong k = from;
        while (k < s.valid && (k >= s.p->length || arb_is_zero(s.p->coeffs + k)))
            ++k;
        return k;
    }

    // Coefficients known to vanish are made exact zeros, so that later
    // quotients can cancel them; Arb may carry them as tiny balls around 0.
    void zeroRange(Ser& s, slong from, slong to) const
    {
        to = std::min(to, s.p->length);
        for (slong k = from; k < to; ++k)
            arb_zero(s.p->coeffs + k);
        _arb_poly_normalise(s.p);
    }

    const arb_struct* at(const Ser& s, slong k) const
    {
        return k < s.p->length ? s.p->coeffs + k : zero_.v;
    }

    QString term(const ExprNode& n) const { return e_.termText(n); }

    [[noreturn]] void singular(const ExprNode& n) const
    {
        throw Error::build(QStringLiteral("%1 is singular at x = %2").arg(term(n), where_));
    }
    [[noreturn]] void noSeries(const ExprNode& n) const
    {
        throw Error::build(QStringLiteral("%1 has no Taylor series at x = %2").arg(term(n), where_));
    }
    [[noreturn]] void undefined(const ExprNode& n) const
    {
        throw Error::build(QStringLiteral("%1 is not defined at x = %2").arg(term(n), where_));
    }
    [[noreturn]] void undecided(const ExprNode& n) const
    {
        throw doubt(QStringLiteral("cannot tell whether %1 is singular at x = %2").arg(term(n), where_));
    }

    Ser multiply(const Ser& a, const Ser& b) const
    {
        Ser r = like(a, b);
        arb_poly_mullow(r.p, a.p, b.p, len_, prec_);
        zeroRange(r, 0, zeros(a) + zeros(b));
        return r;
    }

    // a/b through a zero of b at the centre: both lose the same number of
    // leading (exactly zero) terms, so sin(x)/x and the like are fine.
    Ser divide(Ser& a, Ser& b, const ExprNode& n) const
    {
        const slong v = zeros(b);
        if (v >= b.valid)
            throw Error::build(QStringLiteral("%1 divides by zero").arg(term(n)));
        if (arb_contains_zero(at(b, v)))
            undecided(n);
        if (v > 0) {
            if (zeros(a) < v)
                singular(n);
            arb_poly_shift_right(a.p, a.p, v);
            arb_poly_shift_right(b.p, b.p, v);
            a.valid -= v;
            b.valid -= v;
        }
        Ser r = like(a, b);
        arb_poly_div_series(r.p, a.p, b.p, len_, prec_);
        zeroRange(r, 0, zeros(a));
        return r;
    }

    // F(g) keeps the zero structure of g: coefficients 1..w-1 vanish when
    // g - g(c) starts at (x - c)^w, twice as many for an even F at 0.
    void composed(Ser& r, const Ser& g, ExprFn f) const
    {
        const bool atZero = arb_is_zero(at(g, 0));
        const slong w = zeros(g, 1);
        slong upto = w;
        if (atZero && (f == ExprFn::Cos || f == ExprFn::Cosh || f == ExprFn::Sec))
            upto = std::min(r.valid, 2 * w);
        zeroRange(r, 1, upto);
        if (atZero && isOdd(f))
            zeroRange(r, 0, 1);
    }

    // -1 below, 0 exactly at, +1 above the point t; undecided when the ball
    // straddles it.
    int compare(const arb_struct* v, slong t, const ExprNode& n) const
    {
        Ball d;
        arb_sub_si(d.v, v, t, prec_);
        if (arb_is_zero(d.v))
            return 0;
        if (arb_is_positive(d.v))
            return 1;
        if (arb_is_negative(d.v))
            return -1;
        undecided(n);
    }

    // Value at the centre strictly above t, as log and sqrt need.
    void requireAbove(const Ser& g, slong t, const ExprNode& n, bool zeroIsSingular) const
    {
        const int s = compare(at(g, 0), t, n);
        if (s == 0) {
            if (zeroIsSingular)
                singular(n);
            noSeries(n);
        }
        if (s < 0)
            undefined(n);
    }

    void requireInsideUnit(const Ser& g, const ExprNode& n, bool edgeIsSingular) const
    {
        const int lo = compare(at(g, 0), -1, n), hi = compare(at(g, 0), 1, n);
        if (lo == 0 || hi == 0) {
            if (edgeIsSingular)
                singular(n);
            noSeries(n);
        }
        if (lo < 0 || hi > 0)
            undefined(n);
    }

    // F(g) = F(g(c)) + integral of g' * dF, for the inverse functions Arb
    // has no series of its own for.
    Ser integrate(const Ser& g, const Ser& dF, const arb_t f0) const
    {
        Ser dg = like(g, dF), prod = like(g, dF), r = like(g, dF);
        arb_poly_derivative(dg.p, g.p, prec_);
        arb_poly_mullow(prod.p, dg.p, dF.p, len_ - 1, prec_);
        arb_poly_integral(r.p, prod.p, prec_);
        arb_poly_set_coeff_arb(r.p, 0, f0);
        return r;
    }

    Ser square(const Ser& g, slong add, bool negate) const
    {
        Ser r = like(g, g);
        arb_poly_mullow(r.p, g.p, g.p, len_, prec_);
        if (negate)
            arb_poly_neg(r.p, r.p);
        Ser one = constant();
        arb_poly_set_si(one.p, add);
        arb_poly_add(r.p, r.p, one.p, prec_);
        return r;
    }

    Ser call(const ExprNode& n, const Ser& g)
    {
        Ser r = like(g, g);
        Ser tmp = like(g, g);
        Ball f0;
        switch (n.fn) {
        case ExprFn::Exp: arb_poly_exp_series(r.p, g.p, len_, prec_); break;
        case ExprFn::Log:
        case ExprFn::Log10:
            requireAbove(g, 0, n, true);
            arb_poly_log_series(r.p, g.p, len_, prec_);
            if (n.fn == ExprFn::Log10) {
                arb_set_ui(f0.v, 10);
                arb_log(f0.v, f0.v, prec_);
                arb_poly_scalar_div(r.p, r.p, f0.v, prec_);
            }
            break;
        case ExprFn::Sqrt:
            requireAbove(g, 0, n, false);
            arb_poly_sqrt_series(r.p, g.p, len_, prec_);
            break;
        case ExprFn::Sin: arb_poly_sin_cos_series(r.p, tmp.p, g.p, len_, prec_); break;
        case ExprFn::Cos: arb_poly_sin_cos_series(tmp.p, r.p, g.p, len_, prec_); break;
        case ExprFn::Tan:
            arb_cos(f0.v, at(g, 0), prec_);
            if (arb_contains_zero(f0.v))
                undecided(n);
            arb_poly_tan_series(r.p, g.p, len_, prec_);
            break;
        case ExprFn::Sinh: arb_poly_sinh_cosh_series(r.p, tmp.p, g.p, len_, prec_); break;
        case ExprFn::Cosh: arb_poly_sinh_cosh_series(tmp.p, r.p, g.p, len_, prec_); break;
        case ExprFn::Tanh: {
            Ser s = like(g, g);
            arb_poly_sinh_cosh_series(s.p, tmp.p, g.p, len_, prec_);
            arb_poly_div_series(r.p, s.p, tmp.p, len_, prec_);
            break;
        }
        case ExprFn::Atan: arb_poly_atan_series(r.p, g.p, len_, prec_); break;
        case ExprFn::Asin:
        case ExprFn::Acos:
            requireInsideUnit(g, n, false);
            if (n.fn == ExprFn::Asin)
                arb_poly_asin_series(r.p, g.p, len_, prec_);
            else
                arb_poly_acos_series(r.p, g.p, len_, prec_);
            break;
        case ExprFn::Asinh: {
            Ser q = square(g, 1, false);
            arb_poly_rsqrt_series(tmp.p, q.p, len_, prec_);
            arb_asinh(f0.v, at(g, 0), prec_);
            r = integrate(g, tmp, f0.v);
            break;
        }
        case ExprFn::Acosh: {
            requireAbove(g, 1, n, false);
            Ser q = square(g, -1, false);
            arb_poly_rsqrt_series(tmp.p, q.p, len_, prec_);
            arb_acosh(f0.v, at(g, 0), prec_);
            r = integrate(g, tmp, f0.v);
            break;
        }
        case ExprFn::Atanh: {
            requireInsideUnit(g, n, true);
            Ser q = square(g, 1, true);
            arb_poly_inv_series(tmp.p, q.p, len_, prec_);
            arb_atanh(f0.v, at(g, 0), prec_);
            r = integrate(g, tmp, f0.v);
            break;
        }
        case ExprFn::Cot:
        case ExprFn::Sec:
        case ExprFn::Csc: {
            Ser s = like(g, g);
            arb_poly_sin_cos_series(s.p, tmp.p, g.p, len_, prec_);
            const Ser& den = n.fn == ExprFn::Sec ? tmp : s;
            if (arb_is_zero(at(den, 0)))
                singular(n);
            if (arb_contains_zero(at(den, 0)))
                undecided(n);
            Ser one = constant();
            arb_poly_one(one.p);
            arb_poly_div_series(r.p, n.fn == ExprFn::Cot ? tmp.p : one.p, den.p, len_, prec_);
            break;
        }
        case ExprFn::Cbrt: {
            // The real cube root: odd, so a negative g is -cbrt(-g).
            const int s = compare(at(g, 0), 0, n);
            if (s == 0)
                noSeries(n);
            arb_set_si(f0.v, 1);
            arb_div_ui(f0.v, f0.v, 3, prec_);
            rootOf(r, g, f0.v, s < 0, s < 0);
            break;
        }
        case ExprFn::Lgamma: lgamma(r, g, n); break;
        case ExprFn::Floor: {
            floorConstant(g, n, f0.v);
            arb_poly_set_arb(r.p, f0.v);
            r.valid = len_;
            return r;
        }
        case ExprFn::Mod: case ExprFn::Min: case ExprFn::Max: break; // two arguments: twoArgs
        case ExprFn::Abs:
        case ExprFn::Sign:
        case ExprFn::Heaviside: {
            // Away from a zero, or at an even-order zero for abs, the
            // function is ±g or a constant; at an odd zero it has a kink.
            const slong v = zeros(g);
            int s = 0;
            if (v < g.valid) {
                const int lead = compare(at(g, v), 0, n);
                if (v > 0 && (n.fn != ExprFn::Abs || v % 2 != 0))
                    noSeries(n);
                s = lead;
            }
            if (n.fn == ExprFn::Abs) {
                arb_poly_set(r.p, g.p);
                if (s < 0)
                    arb_poly_neg(r.p, r.p);
            } else if (n.fn == ExprFn::Sign) {
                arb_poly_set_si(r.p, s);
                r.valid = len_;
            } else { // the mean of its sides at the jump, though a series never sees it there
                arb_set_si(f0.v, s + 1);
                arb_mul_2exp_si(f0.v, f0.v, -1);
                arb_poly_set_arb(r.p, f0.v);
                r.valid = len_;
            }
            return r;
        }
        case ExprFn::Erf: arb_hypgeom_erf_series(r.p, g.p, len_, prec_); break;
        case ExprFn::Gamma: {
            if (arb_is_int(at(g, 0)) && compare(at(g, 0), 0, n) <= 0)
                singular(n);
            arb_poly_gamma_series(r.p, g.p, len_, prec_);
            break;
        }
        }
        composed(r, g, n.fn);
        requireFinite(r, n);
        return r;
    }

    // |g|^t, negated when asked: the real odd roots of a negative g.
    void rootOf(Ser& r, const Ser& g, const arb_t t, bool flipBase, bool negate) const
    {
        Ser m = like(g, g);
        arb_poly_set(m.p, g.p);
        if (flipBase)
            arb_poly_neg(m.p, m.p);
        arb_poly_pow_arb_series(r.p, m.p, t, len_, prec_);
        if (negate)
            arb_poly_neg(r.p, r.p);
    }

    // log|gamma(g)|. Arb's log-gamma is the real one only for positive
    // arguments; below 0 the reflection gamma(g) gamma(1-g) = pi / sin(pi g)
    // brings it back there.
    void lgamma(Ser& r, const Ser& g, const ExprNode& n) const
    {
        if (arb_is_int(at(g, 0)) && compare(at(g, 0), 0, n) <= 0)
            singular(n);
        if (compare(at(g, 0), 0, n) > 0) {
            arb_poly_lgamma_series(r.p, g.p, len_, prec_);
            return;
        }
        Ball pi;
        arb_const_pi(pi.v, prec_);
        Ser pg = like(g, g), s = like(g, g), c = like(g, g), ls = like(g, g), h = like(g, g), lh = like(g, g);
        arb_poly_scalar_mul(pg.p, g.p, pi.v, prec_);
        arb_poly_sin_cos_series(s.p, c.p, pg.p, len_, prec_);
        if (arb_contains_zero(at(s, 0)))
            undecided(n);
        if (arb_is_negative(at(s, 0)))
            arb_poly_neg(s.p, s.p);
        arb_poly_log_series(ls.p, s.p, len_, prec_);
        arb_poly_neg(h.p, g.p);
        arb_poly_add_si(h.p, h.p, 1, prec_);
        arb_poly_lgamma_series(lh.p, h.p, len_, prec_);
        arb_log(pi.v, pi.v, prec_);
        arb_poly_add(r.p, ls.p, lh.p, prec_);
        arb_poly_neg(r.p, r.p);
        Ser lp = constant();
        arb_poly_set_arb(lp.p, pi.v);
        arb_poly_add(r.p, r.p, lp.p, prec_);
    }

    // floor(g) near the centre, where it is a constant: away from the
    // integers, or at one that g only touches from above. Where g crosses
    // an integer there is a jump.
    void floorConstant(const Ser& g, const ExprNode& n, arb_t out) const
    {
        const arb_struct* g0 = at(g, 0);
        if (arb_is_int(g0)) {
            const slong v = zeros(g, 1);
            if (v < g.valid && (v % 2 != 0 || compare(at(g, v), 0, n) < 0))
                noSeries(n);
            arb_set(out, g0);
            return;
        }
        arb_floor(out, g0, prec_);
        if (!arb_is_exact(out))
            undecided(n);
    }

    // mod, min and max: each is one smooth expression near the centre or
    // has a jump or kink there.
    Ser twoArgs(const ExprNode& n, Ser& a, Ser& b)
    {
        if (n.fn == ExprFn::Mod) { // a - b floor(a/b)
            // divide() may shift its arguments; a and b are still needed.
            Ser aa = like(a, a), bb = like(b, b);
            arb_poly_set(aa.p, a.p);
            arb_poly_set(bb.p, b.p);
            const Ser q = divide(aa, bb, n);
            Ball f;
            floorConstant(q, n, f.v);
            Ser r = like(a, b);
            arb_poly_scalar_mul(r.p, b.p, f.v, prec_);
            arb_poly_sub(r.p, a.p, r.p, prec_);
            return r;
        }
        Ser d = like(a, b);
        arb_poly_sub(d.p, a.p, b.p, prec_);
        zeroRange(d, 0, std::min(zeros(a), zeros(b)));
        const slong v = zeros(d);
        bool takeA = true;
        if (v < d.valid) {
            const int lead = compare(at(d, v), 0, n);
            if (v % 2 != 0)
                noSeries(n);
            takeA = (lead < 0) == (n.fn == ExprFn::Min);
        }
        Ser r = like(a, b);
        arb_poly_set(r.p, takeA ? a.p : b.p);
        return r;
    }

    void requireFinite(const Ser& r, const ExprNode& n) const
    {
        for (slong k = 0; k < std::min(r.p->length, r.valid); ++k)
            if (!arb_is_finite(r.p->coeffs + k))
                undecided(n);
    }

    Ser power(const ExprNode& n, const Ser& a, const Ser& b)
    {
        if (n.b->dependsOnX()) {
            // a^b = exp(b log a) needs a positive base.
            requireAbove(a, 0, n, true);
            Ser l = like(a, a);
            arb_poly_log_series(l.p, a.p, len_, prec_);
            Ser m = multiply(l, b);
            Ser r = like(m, m);
            arb_poly_exp_series(r.p, m.p, len_, prec_);
            return r;
        }
        const arb_struct* ex = at(b, 0);
        if (arb_is_int(ex) && arf_cmpabs_2exp_si(arb_midref(ex), 40) < 0) {
            const slong k = arf_get_si(arb_midref(ex), ARF_RND_NEAR);
            Ser r = like(a, a);
            arb_poly_pow_ui_trunc_binexp(r.p, a.p, static_cast<ulong>(k < 0 ? -k : k), len_, prec_);
            zeroRange(r, 0, std::min(len_, (k < 0 ? -k : k) * zeros(a)));
            if (k >= 0)
                return r;
            Ser one = constant();
            arb_poly_one(one.p);
            return divide(one, r, n);
        }
        const int s = compare(at(a, 0), 0, n);
        if (s == 0) {
            if (arb_is_negative(ex))
                singular(n);
            noSeries(n);
        }
        long long p = 0, q = 1;
        if (s < 0 && !OddRootExponent(*n.b, p, q))
            undefined(n);
        Ser r = like(a, a);
        rootOf(r, a, ex, s < 0, s < 0 && p % 2 != 0); // (-1)^p (-a)^(p/q) below 0
        return r;
    }

    const Expression& e_;
    Ball zero_;
    double c_;
    slong len_;
    slong prec_;
    QString where_;
    const BuildControl* control_;
};

// The nearest double when every point of the ball has the same one.
bool nearestDouble(const arb_t v, double& out)
{
    if (!arb_is_finite(v))
        return false;
    arf_t lo, hi;
    arf_init(lo);
    arf_init(hi);
    arb_get_interval_arf(lo, hi, v, std::max<slong>(64, arb_bits(v) + 32));
    const double dl = arf_get_d(lo, ARF_RND_NEAR), dh = arf_get_d(hi, ARF_RND_NEAR);
    arf_clear(lo);
    arf_clear(hi);
    if (dl != dh)
        return false;
    out = dl == 0 ? 0.0 : dl;
    return true;
}

QString sourceText(const QString& expr, double centre, int degree)
{
    return QStringLiteral("Taylor series of %1 about %2, degree %3").arg(DescribedExpression(expr), NumberText(centre)).arg(degree);
}


// log |a_k| for each coefficient; -inf for an exact zero. Logs, because
// the coefficients of an entire function leave the double range long before
// the degree runs out.
Interval intervalFromLogs(double centre, const std::vector<double>& logs, bool* polynomial = nullptr)
{
    // Cauchy–Hadamard root test over the last quarter of the coefficients:
    // R ≈ 1 / max |a_k|^(1/k). The early terms say little about the radius.
    const int n = static_cast<int>(logs.size()) - 1;
    int lastNonZero = 0;
    for (int k = n; k >= 1; --k)
        if (std::isfinite(logs[static_cast<size_t>(k)])) {
            lastNonZero = k;
            break;
        }
    double radius = 10; // a polynomial: any interval works, pick a readable one
    if (polynomial)
        *polynomial = lastNonZero <= n - n / 4;
    if (lastNonZero > n - n / 4) {
        const int from = std::max(1, std::min(n - n / 4, n - 1));
        double worst = -INFINITY;
        for (int k = from; k <= n; ++k)
            worst = std::max(worst, logs[static_cast<size_t>(k)] / k);
        radius = std::exp(-worst);
    }
    const double least = std::max(1e-6, 64 * std::numeric_limits<double>::epsilon() * std::fabs(centre));
    // Far from 0 the least that still leaves the centre outweighs the most.
    radius = std::max(least, std::min(std::isnan(radius) ? least : radius, 100.0));
    // Near the end of the doubles one side may overflow; the other still
    // leaves the centre.
    const double top = std::numeric_limits<double>::max();
    return {std::max(centre - radius, -top), std::min(centre + radius, top)};
}

double logAbs(const arb_struct* v)
{
    const arf_struct* m = arb_midref(v);
    if (arf_is_zero(m))
        return arb_is_zero(v) ? -INFINITY : -1e300;
    if (!arf_is_finite(m))
        return INFINITY;
    arf_t man;
    fmpz_t e;
    arf_init(man);
    fmpz_init(e);
    arf_frexp(man, e, m);
    const double r = std::log(std::fabs(arf_get_d(man, ARF_RND_NEAR))) + std::log(2.0) * fmpz_get_d(e);
    arf_clear(man);
    fmpz_clear(e);
    return r;
}

// f(x) as a ball; false where the expression is not defined or not finite
// there. A gap that can be filled, as sin(x)/x at 0, needs a few terms.
bool pointValue(const Expression& e, double x, arb_t out)
{
    for (const slong len : {1, 4})
        for (const slong prec : {kStartPrecision, 4 * kStartPrecision}) {
            try {
                TaylorEngine engine(e, x, len, prec, nullptr);
                Ser s = engine.eval(e.root());
                if (s.valid < 1)
                    break;
                if (s.p->length == 0)
                    arb_zero(out);
                else
                    arb_set(out, s.p->coeffs);
                return arb_is_finite(out);
            } catch (const Error& e) {
                if (e.kind() != Error::Kind::Undecided)
                    break;
            }
        }
    return false;
}

// The written coefficients, as the file holds them, by Horner in balls: the
// rounding of the sum is in the ball, not in the difference found.
void powerValue(const std::vector<double>& written, double centre, double x, arb_t out)
{
    constexpr slong prec = 320;
    Ball t, a;
    arb_set_d(t.v, x);
    arb_set_d(a.v, centre);
    arb_sub(t.v, t.v, a.v, prec);
    arb_zero(out);
    for (size_t k = written.size(); k-- > 0;) {
        arb_mul(out, out, t.v, prec);
        arb_set_d(a.v, written[k]);
        arb_add(out, out, a.v, prec);
    }
}

// Upper bound of |a - b|, as a double rounded up.
double distance(const arb_t a, const arb_t b)
{
    Ball d;
    arb_sub(d.v, a, b, 2 * kStartPrecision);
    arf_t u;
    arf_init(u);
    arb_get_abs_ubound_arf(u, d.v, 64);
    const double r = arf_get_d(u, ARF_RND_UP);
    arf_clear(u);
    return r;
}

double magnitude(const arb_t a)
{
    arf_t u;
    arf_init(u);
    arb_get_abs_lbound_arf(u, a, 64);
    const double r = arf_get_d(u, ARF_RND_DOWN);
    arf_clear(u);
    return r;
}

// The points an agreement is judged at: fewer for a very long expression,
// whose every evaluation is long too.
int pointsFor(const QString& expression, int most)
{
    return static_cast<int>(std::clamp<qsizetype>(4'000'000 / (expression.size() + 1), 33, most));
}

// Whether the series written agrees with the expression to kDefaultAgreement
// of the largest |f| on [c - r, c + r], judged at the ends and points
// between, where the difference of a truncated series is largest.
bool agreesOn(const Expression& e, const std::vector<double>& written, double centre, double r, int half,
              const BuildControl* control)
{
    Ball f, s;
    double worst = 0, scale = std::fabs(written.empty() ? 0.0 : written[0]);
    for (int j = half; j >= 1; --j)
        for (const double x : {centre - r * j / half, centre + r * j / half}) {
            if (control && control->cancel.load(std::memory_order_relaxed))
                throw Cancelled{};
            if (!std::isfinite(x) || !pointValue(e, x, f.v))
                return false;
            powerValue(written, centre, x, s.v);
            worst = std::max(worst, distance(s.v, f.v));
            scale = std::max(scale, magnitude(f.v));
        }
    return worst <= kDefaultAgreement * scale;
}

// The widest radius, at most the estimate from the coefficients, on which
// the written series agrees with the expression; rounded down to three
// digits so that the interval reads well.
double agreeingRadius(const Expression& e, const QString& text, const std::vector<double>& written, double centre,
                      double estimate, bool polynomial, double least, const BuildControl* control)
{
    const int half = std::max(8, pointsFor(text, 33) / 2);
    // Far from 0 the least that still leaves the centre outweighs the most.
    double hi = std::max(least, std::min(estimate, kWidestDefaultRadius)), lo = 0;
    // The estimate only guides: an entire function's series may agree
    // further out, and past a radius of convergence none agrees for long.
    // A polynomial the series is keeps its readable interval.
    while (agreesOn(e, written, centre, hi, half, control)) {
        lo = hi;
        if (hi >= kWidestDefaultRadius || hi <= least || polynomial)
            return hi;
        hi = std::min(2 * hi, kWidestDefaultRadius);
    }
    if (lo == 0) {
        lo = std::max(least, hi * 1e-9);
        if (!agreesOn(e, written, centre, lo, half, control))
            return lo;
    }
    // Bisection in the logarithm: the difference grows about as a power of r.
    for (int i = 0; i < 40 && hi / lo > 1 + 1e-4; ++i) {
        const double mid = std::sqrt(lo * hi);
        (agreesOn(e, written, centre, mid, half, control) ? lo : hi) = mid;
    }
    const double unit = std::pow(10.0, std::floor(std::log10(lo)) - 2);
    const double rounded = std::floor(lo / unit) * unit;
    return rounded >= least ? rounded : lo;
}

std::vector<double> asWritten(const std::vector<double>& coeffs)
{
    std::vector<double> w;
    w.reserve(coeffs.size());
    for (double a : coeffs)
        w.push_back(AsWritten(a));
    return w;
}

} // namespace

Agreement MeasureAgreement(const BuiltSeries& s, const QString& expression, const Interval& interval, int points)
{
    const Expression e = Expression::parse(expression);
    points = std::max(2, std::min(points, pointsFor(expression, points)));
    BuiltSeries held = s;
    held.coeffs = asWritten(s.coeffs);
    const Series series = ToSeries(held);
    const std::vector<double>& written = held.coeffs;
    Agreement a;
    Ball f, v;
    for (int j = 0; j < points; ++j) {
        const double x = j + 1 == points ? interval.upper
                                         : interval.lower + (interval.upper - interval.lower) * j / (points - 1);
        if (!pointValue(e, x, f.v)) {
            a.agreement = INFINITY;
            continue;
        }
        if (s.kind == SeriesKind::Power) {
            powerValue(written, s.centre, x, v.v);
        } else {
            const SeriesValue y = TryEvalSeries(series, x);
            if (y.fault) {
                a.agreement = INFINITY;
                continue;
            }
            arb_set_d(v.v, y.value);
        }
        a.agreement = std::max(a.agreement, distance(v.v, f.v));
        a.scale = std::max(a.scale, magnitude(f.v));
    }
    return a;
}

Interval DefaultTaylorInterval(double centre, const std::vector<double>& coeffs)
{
    std::vector<double> logs;
    for (double a : coeffs)
        logs.push_back(a == 0 ? -INFINITY : std::log(std::fabs(a)));
    return intervalFromLogs(centre, logs);
}

BuiltSeries BuildTaylor(const QString& expression, double centre, int degree, std::optional<Interval> interval,
                        const BuildControl* control)
{
    if (!std::isfinite(centre))
        throw Error::build(QStringLiteral("the centre must be a finite number"));
    if (degree < 0 || degree > kMaxTaylorDegree)
        throw Error::build(QStringLiteral("the degree must be a whole number from 0 to %1, not %2").arg(kMaxTaylorDegree).arg(degree));
    if (interval)
        CheckedInterval(*interval, true);
    QStringList notes;
    centre = AsFileHoldsIt(centre, QStringLiteral("centre"), notes);
    const Expression e = Expression::parse(expression);

    const slong want = degree + 1;
    // Terms past the degree only feed the radius estimate, which needs to see
    // beyond the requested degree to tell a polynomial from a series.
    slong extra = std::max<slong>(16, want / 4);
    std::vector<double> coeffs(static_cast<size_t>(want));
    QString lastDoubt;
    double done = 0;
    for (slong prec = kStartPrecision; prec <= kMaxPrecision; prec *= 2) {
        if (control) {
            if (control->cancel.load(std::memory_order_relaxed))
                throw Cancelled{};
            // Each round at twice the precision costs about as much as all
            // before it, so each is shown as half of what is left.
            control->fraction.store(done, std::memory_order_relaxed);
            done += (1 - done) / 2;
        }
        try {
            TaylorEngine engine(e, centre, want + extra, prec, control);
            Ser s = engine.eval(e.root());
            if (s.valid < want && extra < 4 * want + 64) {
                // Removable zeros ate terms; give them back and try again.
                extra += want - s.valid;
                prec /= 2;
                continue;
            }
            if (s.valid < want)
                throw Error::build(QStringLiteral("the expression divides by zero at x = %1").arg(NumberText(centre)));
            bool decided = true;
            Ball zero;
            for (slong k = 0; k < want && decided; ++k) {
                const arb_struct* c = k < s.p->length ? s.p->coeffs + k : zero.v;
                double d = 0;
                if (!nearestDouble(c, d)) {
                    decided = false;
                    lastDoubt = QStringLiteral("the coefficient of degree %1 could not be computed accurately enough").arg(k);
                } else if (!std::isfinite(d)) {
                    throw Error::build(QStringLiteral("the coefficient of degree %1 is beyond the range of numbers").arg(k));
                }
                coeffs[static_cast<size_t>(k)] = d;
            }
            if (decided) {
                BuiltSeries r;
                r.kind = SeriesKind::Power;
                r.centre = centre;
                r.coeffs = std::move(coeffs);
                std::vector<double> logs;
                for (slong k = 0; k < s.valid; ++k)
                    logs.push_back(k < s.p->length ? logAbs(s.p->coeffs + k) : -INFINITY);
                Interval iv;
                if (interval) {
                    iv = *interval;
                } else {
                    bool polynomial = false;
                    const Interval estimated = intervalFromLogs(centre, logs, &polynomial);
                    const double least = std::max(1e-6, 64 * std::numeric_limits<double>::epsilon() * std::fabs(centre));
                    const double radius = agreeingRadius(e, expression, asWritten(r.coeffs), centre,
                                                         std::max(centre - estimated.lower, estimated.upper - centre),
                                                         polynomial, least, control);
                    const double top = std::numeric_limits<double>::max();
                    iv = CheckedInterval({std::max(centre - radius, -top), std::min(centre + radius, top)}, false);
                }
                r.notes = notes;
                r.lower = iv.lower;
                r.upper = iv.upper;
                r.sourceText = sourceText(expression, centre, degree);
                const Agreement a = MeasureAgreement(r, expression, iv);
                r.agreement = a.agreement;
                r.scale = a.scale;
                return r;
            }
        } catch (const Error& e) {
            if (e.kind() != Error::Kind::Undecided)
                throw;
            lastDoubt = e.message();
        }
    }
    throw Error::build(lastDoubt.isEmpty() ? QStringLiteral("the series could not be computed") : lastDoubt);
}

} // namespace vendrak
