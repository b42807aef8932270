// Compiled once per vector unit: foreach_target.h includes this file again
// for each target. Built with -ffp-contract=off: a multiply and an add fused
// into one instruction would round once where the one-point evaluator
// rounds twice, and the values would no longer agree to the last bit.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "core/series/block_kernels.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/highway.h>

#include "core/series/block_kernels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

HWY_BEFORE_NAMESPACE();
namespace vendrak::kernels::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D = hn::ScalableTag<double>;
using V = hn::Vec<D>;

// Independent chains per loop step: enough to hide the latency of a
// multiply followed by an add, few enough to stay in registers.
constexpr std::size_t kHornerChains = HWY_TARGET <= HWY_AVX3 ? 8 : 4;
constexpr std::size_t kHarmonicChains = HWY_TARGET <= HWY_AVX3 ? 4 : 2;
// Room for the widest group of any x86 target (8 lanes of double).
constexpr std::size_t kMaxGroup = 8 * 8;
static_assert(kHornerChains * HWY_MAX_BYTES / sizeof(double) <= kMaxGroup &&
              kHarmonicChains * HWY_MAX_BYTES / sizeof(double) <= kMaxGroup);

template <std::size_t U>
HWY_INLINE void hornerGroup(const double* xs, double centre, const double* addends, std::size_t count, double* values)
{
    const D d;
    const std::size_t n = hn::Lanes(d);
    const V c = hn::Set(d, centre);
    V t[U];
    V s[U];
    for (std::size_t u = 0; u < U; ++u) {
        t[u] = hn::Sub(hn::LoadU(d, xs + u * n), c);
        s[u] = hn::Zero(d);
    }
    for (std::size_t k = 0; k < count; ++k) {
        const V a = hn::Set(d, addends[k]);
        for (std::size_t u = 0; u < U; ++u)
            s[u] = hn::Add(hn::Mul(t[u], s[u]), a);
    }
    for (std::size_t u = 0; u < U; ++u)
        hn::StoreU(s[u], d, values + u * n);
}

template <std::size_t U>
HWY_INLINE void harmonicGroup(const double* xs, double centre, double period, const HarmonicTerms& terms,
                              double* values, double* lastAngles)
{
    const D d;
    const std::size_t n = hn::Lanes(d);
    V theta[U], c1[U], s1[U], c[U], sn[U], angle[U], sum[U];
    HWY_ALIGN double buffer[kMaxGroup];
    HWY_ALIGN double sines[kMaxGroup];
    for (std::size_t u = 0; u < U; ++u) {
        const V t = hn::Sub(hn::LoadU(d, xs + u * n), hn::Set(d, centre));
        theta[u] = hn::Div(hn::Mul(hn::Mul(t, hn::Set(d, std::atan(1.0))), hn::Set(d, 8.0)), hn::Set(d, period));
        angle[u] = hn::Add(hn::Zero(d), theta[u]);
        hn::StoreU(angle[u], d, buffer + u * n);
    }
    // The first harmonic's cosine and sine, from the library as the
    // one-point evaluator has them; every later one is rotated from these.
    for (std::size_t i = 0; i < U * n; ++i) {
        sines[i] = std::sin(buffer[i]);
        buffer[i] = std::cos(buffer[i]);
    }
    for (std::size_t u = 0; u < U; ++u) {
        c[u] = c1[u] = hn::LoadU(d, buffer + u * n);
        sn[u] = s1[u] = hn::LoadU(d, sines + u * n);
        sum[u] = hn::Set(d, terms.constant);
    }
    const std::size_t harmonics = terms.pairs + (terms.loneSine ? 1 : 0);
    for (std::size_t j = 1; j <= harmonics; ++j) {
        if (j > 1) {
            for (std::size_t u = 0; u < U; ++u) {
                // The accumulated angle advances by theta - lost, where lost
                // is the rounding error of the addition, exact here because
                // |angle| >= |theta| (both have theta's sign).
                const V next = hn::Add(angle[u], theta[u]);
                const V lost = hn::Sub(theta[u], hn::Sub(next, angle[u]));
                angle[u] = next;
                // cos and sin of theta - lost to first order; lost is below
                // one rounding of the angle, so the square is far below that.
                const V cs = hn::Add(c1[u], hn::Mul(lost, s1[u]));
                const V ss = hn::Sub(s1[u], hn::Mul(lost, c1[u]));
                const V cn = hn::Sub(hn::Mul(c[u], cs), hn::Mul(sn[u], ss));
                sn[u] = hn::Add(hn::Mul(sn[u], cs), hn::Mul(c[u], ss));
                c[u] = cn;
            }
        }
        const V a = hn::Set(d, terms.sines[j - 1]);
        if (j <= terms.pairs) {
            const V b = hn::Set(d, terms.cosines[j - 1]);
            for (std::size_t u = 0; u < U; ++u)
                sum[u] = hn::Add(hn::Add(sum[u], hn::Mul(a, sn[u])), hn::Mul(b, c[u]));
        } else {
            for (std::size_t u = 0; u < U; ++u)
                sum[u] = hn::Add(sum[u], hn::Mul(a, sn[u]));
        }
    }
    for (std::size_t u = 0; u < U; ++u) {
        hn::StoreU(sum[u], d, values + u * n);
        hn::StoreU(angle[u], d, lastAngles + u * n);
    }
}

// Whole groups straight from the arrays; the last partial group through a
// buffer padded with the centre.
template <std::size_t U, class Group>
HWY_INLINE void inGroups(const double* xs, std::size_t points, double centre, double* values, double* angles,
                         const Group& group)
{
    const std::size_t size = U * hn::Lanes(D());
    std::size_t i = 0;
    for (; i + size <= points; i += size)
        group(xs + i, values + i, angles ? angles + i : nullptr);
    if (i == points)
        return;
    HWY_ALIGN double x[kMaxGroup];
    HWY_ALIGN double v[kMaxGroup];
    HWY_ALIGN double a[kMaxGroup];
    const std::size_t rest = points - i;
    std::fill(x, x + size, centre);
    std::copy(xs + i, xs + points, x);
    group(x, v, a);
    std::copy(v, v + rest, values + i);
    if (angles)
        std::copy(a, a + rest, angles + i);
}

void Horner(const double* xs, std::size_t points, double centre, const double* addends, std::size_t count,
            double* values)
{
    inGroups<kHornerChains>(xs, points, centre, values, nullptr, [&](const double* x, double* v, double*) {
        hornerGroup<kHornerChains>(x, centre, addends, count, v);
    });
}

void Harmonics(const double* xs, std::size_t points, double centre, double period, const HarmonicTerms& terms,
               double* values, double* lastAngles)
{
    inGroups<kHarmonicChains>(xs, points, centre, values, lastAngles, [&](const double* x, double* v, double* a) {
        harmonicGroup<kHarmonicChains>(x, centre, period, terms, v, a);
    });
}

long long Target() { return static_cast<long long>(HWY_TARGET); }

} // namespace vendrak::kernels::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace vendrak::kernels {

HWY_EXPORT(Horner);
HWY_EXPORT(Harmonics);
HWY_EXPORT(Target);

void horner(const double* xs, std::size_t points, double centre, const double* addends, std::size_t count,
            double* values)
{
    HWY_DYNAMIC_DISPATCH(Horner)(xs, points, centre, addends, count, values);
}

void harmonics(const double* xs, std::size_t points, double centre, double period, const HarmonicTerms& terms,
               double* values, double* lastAngles)
{
    HWY_DYNAMIC_DISPATCH(Harmonics)(xs, points, centre, period, terms, values, lastAngles);
}

const char* targetName() { return hwy::TargetName(HWY_DYNAMIC_DISPATCH(Target)()); }

} // namespace vendrak::kernels
#endif
