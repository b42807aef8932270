#include "core/builder/fourier_proof.h"

#include "core/ball/ball.h"
#include "core/series/series_file.h"

#include <acb_calc.h>
#include <acb_hypgeom.h>

#include <cmath>
#include <limits>
#include <unordered_map>

namespace vendrak {

namespace {

constexpr slong kPrec = 128;
// Each coefficient to this many bits of the largest |f|: far below the
// file's 15 digits, so the bound is the rounding and little else.
constexpr slong kGoalBits = 70;

// True where the ball z may lie on the part of the real axis outside the
// open interval (lo, hi): a branch cut there makes the function not
// holomorphic on z.
bool touchesRealCut(const acb_t z, double lo, double hi)
{
    if (!arb_contains_zero(acb_imagref(z)))
        return false;
    Ball b;
    bool inside = true;
    if (std::isfinite(lo)) {
        arb_set_d(b.v, lo);
        inside = arb_gt(acb_realref(z), b.v);
    }
    if (inside && std::isfinite(hi)) {
        arb_set_d(b.v, hi);
        inside = arb_lt(acb_realref(z), b.v);
    }
    return !inside;
}

// The same for cuts on the imaginary axis beyond ±i.
bool touchesImaginaryCut(const acb_t z)
{
    if (!arb_contains_zero(acb_realref(z)))
        return false;
    Ball m, one;
    arb_abs(m.v, acb_imagref(z));
    arb_one(one.v);
    return !arb_lt(m.v, one.v);
}

} // namespace

// The expression on complex balls: each real function by its analytic
// continuation, and an indeterminate value wherever `analytic` asks for
// holomorphy on the ball and the function has a branch cut, pole of a kind
// Arb does not see, jump or kink there.
class ComplexEvaluator {
public:
    explicit ComplexEvaluator(const Expression& e) : e_(e)
    {
        arb_const_pi(pi_.v, kPrec);
        arb_const_e(e_const_.v, kPrec);
        arb_set_ui(ten_.v, 10);
        arb_log(ten_.v, ten_.v, kPrec);
    }

    void operator()(acb_t out, const acb_t z, bool analytic)
    {
        Complex r = FoldExpression<Complex>(e_.root(), [&](const ExprNode& n, Complex* c) {
            Complex v;
            node(v.v, n, c, z, analytic);
            return v;
        });
        acb_swap(out, r.v);
    }

private:
    const arb_struct* number(const ExprNode& n)
    {
        auto it = numbers_.find(&n);
        if (it == numbers_.end()) {
            it = numbers_.try_emplace(&n).first;
            if (arb_set_str(it->second.v, n.literal.toLatin1().constData(), kPrec) != 0)
                arb_set_d(it->second.v, n.value);
        }
        return it->second.v;
    }

    void node(acb_t r, const ExprNode& n, Complex* c, const acb_t z, bool analytic)
    {
        const slong p = kPrec;
        switch (n.op) {
        case ExprOp::Number: acb_set_arb(r, number(n)); return;
        case ExprOp::X: acb_set(r, z); return;
        case ExprOp::Pi: acb_set_arb(r, pi_.v); return;
        case ExprOp::E: acb_set_arb(r, e_const_.v); return;
        case ExprOp::Neg: acb_neg(r, c[0].v); return;
        case ExprOp::Add: acb_add(r, c[0].v, c[1].v, p); return;
        case ExprOp::Sub: acb_sub(r, c[0].v, c[1].v, p); return;
        case ExprOp::Mul: acb_mul(r, c[0].v, c[1].v, p); return;
        case ExprOp::Div: acb_div(r, c[0].v, c[1].v, p); return;
        case ExprOp::Pow: power(r, n, c[0].v, c[1].v, analytic); return;
        case ExprOp::Call: break;
        }
        const acb_struct* v = c[0].v;
        const auto cut = [&](bool touches) {
            if (analytic && touches)
                acb_indeterminate(r);
            return analytic && touches;
        };
        switch (n.fn) {
        case ExprFn::Sin: acb_sin(r, v, p); return;
        case ExprFn::Cos: acb_cos(r, v, p); return;
        case ExprFn::Tan: acb_tan(r, v, p); return;
        case ExprFn::Cot: acb_cot(r, v, p); return;
        case ExprFn::Sec: acb_cos(r, v, p); acb_inv(r, r, p); return;
        case ExprFn::Csc: acb_sin(r, v, p); acb_inv(r, r, p); return;
        case ExprFn::Sinh: acb_sinh(r, v, p); return;
        case ExprFn::Cosh: acb_cosh(r, v, p); return;
        case ExprFn::Tanh: acb_tanh(r, v, p); return;
        case ExprFn::Exp: acb_exp(r, v, p); return;
        case ExprFn::Erf: acb_hypgeom_erf(r, v, p); return;
        case ExprFn::Gamma: acb_gamma(r, v, p); return;
        case ExprFn::Asin: if (!cut(touchesRealCut(v, -1, 1))) acb_asin(r, v, p); return;
        case ExprFn::Acos: if (!cut(touchesRealCut(v, -1, 1))) acb_acos(r, v, p); return;
        case ExprFn::Atanh: if (!cut(touchesRealCut(v, -1, 1))) acb_atanh(r, v, p); return;
        case ExprFn::Acosh: if (!cut(touchesRealCut(v, 1, INFINITY))) acb_acosh(r, v, p); return;
        case ExprFn::Atan: if (!cut(touchesImaginaryCut(v))) acb_atan(r, v, p); return;
        case ExprFn::Asinh: if (!cut(touchesImaginaryCut(v))) acb_asinh(r, v, p); return;
        case ExprFn::Log: acb_log_analytic(r, v, analytic, p); return;
        case ExprFn::Log10:
            acb_log_analytic(r, v, analytic, p);
            acb_div_arb(r, r, ten_.v, p);
            return;
        case ExprFn::Sqrt: acb_sqrt_analytic(r, v, analytic, p); return;
        case ExprFn::Cbrt: oddRoot(r, v, 1, 3, analytic); return;
        case ExprFn::Lgamma: logAbsGamma(r, v, analytic); return;
        case ExprFn::Abs: acb_real_abs(r, v, analytic, p); return;
        case ExprFn::Sign: acb_real_sgn(r, v, analytic, p); return;
        case ExprFn::Heaviside: acb_real_heaviside(r, v, analytic, p); return;
        case ExprFn::Floor: acb_real_floor(r, v, analytic, p); return;
        case ExprFn::Min: acb_real_min(r, v, c[1].v, analytic, p); return;
        case ExprFn::Max: acb_real_max(r, v, c[1].v, analytic, p); return;
        case ExprFn::Mod: {
            // floored: a - b floor(a / b)
            Complex q;
            acb_div(q.v, v, c[1].v, p);
            acb_real_floor(q.v, q.v, analytic, p);
            acb_mul(q.v, q.v, c[1].v, p);
            acb_sub(r, v, q.v, p);
            return;
        }
        }
        acb_indeterminate(r);
    }

    // The real root of a negative base where the exponent is p/q with q odd:
    // -(-a)^b for odd p, (-a)^b for even p; decided only where the sign of
    // the base's real part is.
    void oddRoot(acb_t r, const acb_t a, long long p, long long q, bool analytic)
    {
        Complex b, m;
        acb_set_si(b.v, p);
        acb_div_si(b.v, b.v, q, kPrec);
        if (arb_is_positive(acb_realref(a))) {
            acb_pow_analytic(r, a, b.v, 1, kPrec);
        } else if (arb_is_negative(acb_realref(a))) {
            acb_neg(m.v, a);
            acb_pow_analytic(r, m.v, b.v, 1, kPrec);
            if (p % 2)
                acb_neg(r, r);
        } else if (!analytic && p > 0 && arb_is_zero(acb_imagref(a))) {
            // Across 0 on the real line, where no holomorphy is asked: the
            // root is at most the largest |a| to the power.
            Ball m;
            arb_abs(m.v, acb_realref(a));
            Arf top;
            arb_get_ubound_arf(top.v, m.v, kPrec);
            arb_set_arf(m.v, top.v);
            arb_pow(m.v, m.v, acb_realref(b.v), kPrec);
            acb_zero(r);
            arb_get_ubound_arf(top.v, m.v, kPrec);
            arf_get_mag(arb_radref(acb_realref(r)), top.v);
        } else {
            acb_indeterminate(r);
        }
    }

    void power(acb_t r, const ExprNode& n, const acb_t a, const acb_t b, bool analytic)
    {
        long long p = 0, q = 1;
        if (!n.b->dependsOnX() && OddRootExponent(*n.b, p, q) && q != 1)
            oddRoot(r, a, p, q, analytic);
        else
            acb_pow_analytic(r, a, b, analytic, kPrec);
    }

    // log|Γ|: log Γ right of 0; between two poles on the left, the log of
    // Γ with the sign it has there.
    void logAbsGamma(acb_t r, const acb_t v, bool analytic)
    {
        if (arb_is_positive(acb_realref(v))) {
            acb_lgamma(r, v, kPrec);
            return;
        }
        const double lo = arf_get_d(arb_midref(acb_realref(v)), ARF_RND_FLOOR) - mag_get_d(arb_radref(acb_realref(v)));
        const double hi = arf_get_d(arb_midref(acb_realref(v)), ARF_RND_CEIL) + mag_get_d(arb_radref(acb_realref(v)));
        const double cell = std::floor(lo);
        if (!(std::isfinite(lo) && std::isfinite(hi) && lo > cell && hi < cell + 1 && hi < 0)) {
            acb_indeterminate(r);
            return;
        }
        acb_gamma(r, v, kPrec);
        // Γ is negative between -1 and 0, positive between -2 and -1, ...
        if (static_cast<long long>(-cell) % 2)
            acb_neg(r, r);
        acb_log_analytic(r, r, analytic, kPrec);
    }

    const Expression& e_;
    Ball pi_, e_const_, ten_;
    std::unordered_map<const ExprNode*, Ball> numbers_;
};

namespace {

struct Integrand {
    ComplexEvaluator* f;
    Ball kw;      // k 2π/P
    Complex centre;
    const BuildControl* control;
    bool stopped = false;
    long evaluations = 0;
};

// f(z) e^(-ik 2π (z - c)/P)
int integrand(acb_ptr out, const acb_t z, void* param, slong order, slong prec)
{
    auto& in = *static_cast<Integrand*>(param);
    if (in.stopped || (in.control && in.control->cancel.load(std::memory_order_relaxed))) {
        in.stopped = true;
        acb_indeterminate(out);
        return 0;
    }
    ++in.evaluations;
    (*in.f)(out, z, order != 0);
    if (!arb_is_zero(in.kw.v)) {
        Complex t;
        acb_sub(t.v, z, in.centre.v, prec);
        acb_mul_arb(t.v, t.v, in.kw.v, prec);
        acb_mul_onei(t.v, t.v);
        acb_neg(t.v, t.v);
        acb_exp(t.v, t.v, prec);
        acb_mul(out, out, t.v, prec);
    }
    return 0;
}

} // namespace

std::optional<ProvenCoefficients> ProveCoefficients(const Expression& e, double centre, double period, bool twoPi,
                                                     int harmonics, double scale, const BuildControl* control)
{
    if (harmonics < 1 || !std::isfinite(scale))
        return std::nullopt;
    ComplexEvaluator f(e);
    Ball P, half;
    if (twoPi) {
        arb_const_pi(P.v, kPrec);
        arb_mul_2exp_si(P.v, P.v, 1);
    } else {
        arb_set_d(P.v, period);
    }
    Complex a, b;
    arb_mul_2exp_si(half.v, P.v, -1);
    arb_set_d(acb_realref(a.v), centre);
    arb_sub(acb_realref(a.v), acb_realref(a.v), half.v, kPrec);
    arb_set_d(acb_realref(b.v), centre);
    arb_add(acb_realref(b.v), acb_realref(b.v), half.v, kPrec);

    Integrand in{&f, {}, {}, control};
    arb_set_d(acb_realref(in.centre.v), centre);
    Ball w; // 2π/P
    arb_const_pi(w.v, kPrec);
    arb_mul_2exp_si(w.v, w.v, 1);
    arb_div(w.v, w.v, P.v, kPrec);

    acb_calc_integrate_opt_t options;
    acb_calc_integrate_opt_init(options);
    // The budget is for an expression of a few dozen characters; a longer
    // one costs more at each point, so it gets fewer.
    const long budget = (control ? control->proofEvaluations : kProofEvaluations) * 32
        / std::max<long>(32, static_cast<long>(e.text().size()));
    if (budget <= 0)
        return std::nullopt;
    Arf tol;
    arf_set_d(tol.v, std::max(scale, std::numeric_limits<double>::min()));
    arf_mul_2exp_si(tol.v, tol.v, -kGoalBits);
    mag_t tolMag;
    mag_init(tolMag);
    arf_get_mag(tolMag, tol.v);

    ProvenCoefficients proven;
    proven.coeffs.resize(static_cast<size_t>(2 * harmonics + 1));
    Complex integral;
    Ball coef, err;
    Arf up;
    // A coefficient is proven when its enclosure is far inside the file's
    // 15 digits of the largest: then the double nearest its centre is
    // written, and the bound is its distance from the enclosure.
    const double enough = std::max(scale, std::numeric_limits<double>::min()) * 1e-18;
    const auto take = [&](size_t i, const arb_struct* part, int factor) {
        arb_mul_si(coef.v, part, factor, kPrec);
        arb_div(coef.v, coef.v, P.v, kPrec);
        if (!(mag_cmp_2exp_si(arb_radref(coef.v), std::ilogb(enough)) <= 0))
            return false;
        proven.coeffs[i] = arf_get_d(arb_midref(coef.v), ARF_RND_NEAR);
        arb_set_d(err.v, AsWritten(proven.coeffs[i]));
        arb_sub(err.v, err.v, coef.v, kPrec);
        arb_abs(err.v, err.v);
        arb_get_ubound_arf(up.v, err.v, kPrec);
        proven.bound = std::max(proven.bound, arf_get_d(up.v, ARF_RND_UP));
        return std::isfinite(proven.coeffs[i]) && std::isfinite(proven.bound);
    };
    bool ok = true;
    for (int k = 0; k <= harmonics && ok; ++k) {
        arb_mul_si(in.kw.v, w.v, k, kPrec);
        // A high harmonic needs a high quadrature degree on each piece.
        options->deg_limit = std::max<slong>(128, 4 * k + 64);
        options->eval_limit = std::max<long>(1, budget - in.evaluations);
        acb_calc_integrate(integral.v, integrand, &in, a.v, b.v, kGoalBits, tolMag, options, kPrec);
        if (in.stopped) {
            mag_clear(tolMag);
            throw Cancelled{};
        }
        // Constant: (1/P) ∫ f; harmonic k: sine -(2/P) Im, cosine (2/P) Re.
        ok = in.evaluations < budget && acb_is_finite(integral.v)
            && (k == 0 ? take(0, acb_realref(integral.v), 1)
                       : take(size_t(2 * k - 1), acb_imagref(integral.v), -2) && take(size_t(2 * k), acb_realref(integral.v), 2));
    }
    mag_clear(tolMag);
    if (!ok)
        return std::nullopt;
    return proven;
}

} // namespace vendrak
