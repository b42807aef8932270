#include "core/builder/fourier_proof.h"
#include "core/builder/series_builder.h"
#include "core/series/series_terms.h"
#include "core/study/number_text.h"

#include <QLocale>

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <mutex>

namespace vendrak {

namespace {

// FFTW's planner keeps global state.
std::mutex& plannerMutex()
{
    static std::mutex m;
    return m;
}

struct Transform {
    double* in = nullptr;
    fftw_complex* out = nullptr;
    int n = 0;
    int shift = 0;
    explicit Transform(int size) : n(size)
    {
        in = fftw_alloc_real(static_cast<size_t>(n));
        out = fftw_alloc_complex(static_cast<size_t>(n / 2 + 1));
    }
    ~Transform()
    {
        fftw_free(in);
        fftw_free(out);
    }
    Transform(const Transform&) = delete;
    Transform& operator=(const Transform&) = delete;

    void run()
    {
        // Sums of n samples near the top of the doubles overflow: scale by a
        // power of two, exact, and back when the coefficients are read.
        double largest = 0;
        for (int j = 0; j < n; ++j)
            largest = std::max(largest, std::fabs(in[j]));
        if (largest > std::numeric_limits<double>::max() / (4.0 * n)) {
            shift = std::ilogb(n) + 3;
            for (int j = 0; j < n; ++j)
                in[j] = std::ldexp(in[j], -shift);
        }
        fftw_plan plan;
        {
            std::lock_guard lock(plannerMutex());
            plan = fftw_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE);
        }
        fftw_execute(plan);
        std::lock_guard lock(plannerMutex());
        fftw_destroy_plan(plan);
    }

    // Constant, then sine and cosine of each harmonic up to h, for samples
    // `offset` of a step past the grid points.
    std::vector<double> coefficients(int h, double offset) const
    {
        std::vector<double> c(static_cast<size_t>(2 * h + 1));
        c[0] = std::ldexp(out[0][0] / n, shift);
        for (int k = 1; k <= h; ++k) {
            const double scale = 2 * k == n ? 1.0 / n : 2.0 / n;
            std::complex<double> z(out[k][0], out[k][1]);
            if (offset != 0)
                z *= std::polar(1.0, -2 * M_PI * k * offset / n);
            c[static_cast<size_t>(2 * k - 1)] = std::ldexp(-z.imag() * scale, shift);
            c[static_cast<size_t>(2 * k)] = std::ldexp(z.real() * scale, shift);
        }
        return c;
    }
};

double parsePeriod(const QString& text, QString& shown)
{
    const QString t = text.trimmed();
    if (t == u"*") {
        shown = QStringLiteral("*");
        return 8 * std::atan(1.0);
    }
    double p = 0;
    try {
        p = ConstantValue(t);
    } catch (const Error& e) {
        throw Error::build(QStringLiteral("the period \"%1\" is not a number (use * for 2π): %2").arg(t, e.message()));
    }
    if (!std::isfinite(p) || p <= 0)
        throw Error::build(QStringLiteral("the period must be a positive number, not %1").arg(t));
    shown = NumberText(p);
    return p;
}

} // namespace

BuiltSeries BuildFourier(const QString& expression, double centre, const QString& period, int harmonics,
                         std::optional<Interval> interval, const BuildControl* control)
{
    if (!std::isfinite(centre))
        throw Error::build(QStringLiteral("the centre must be a finite number"));
    QString periodText;
    double p = parsePeriod(period, periodText);
    if (harmonics < 1 || harmonics > kMaxHarmonics)
        throw Error::build(QStringLiteral("the number of harmonics must be a whole number from 1 to %1, not %2").arg(kMaxHarmonics).arg(harmonics));
    if (interval)
        CheckedInterval(*interval, true);
    QStringList notes;
    centre = AsFileHoldsIt(centre, QStringLiteral("centre"), notes);
    if (periodText != u"*") {
        p = AsFileHoldsIt(p, QStringLiteral("period"), notes);
        periodText = NumberText(p);
    }
    const Expression e = Expression::parse(expression);

    int base = 64;
    while (base < 32 * harmonics)
        base *= 2;
    // One period centred on the centre, [c - P/2, c + P/2): the series is
    // in harmonics of (x - c), so abs(x) about 0 is the triangle wave.
    // Far from 0 a short period is lost in the rounding of x: the samples
    // must still be where they are meant to be, to a small part of a step.
    const double from = centre - p / 2, to = centre + p / 2;
    const auto placed = [&](int n) {
        return std::max(std::fabs(from), std::fabs(to)) * std::numeric_limits<double>::epsilon() * 1024 * n <= p;
    };
    if (!std::isfinite(from) || !std::isfinite(to) || !placed(base))
        throw Error::build(QStringLiteral("the period %1 is too short to be sampled from x = %2").arg(periodText, NumberText(from)));
    const qsizetype work = std::max<qsizetype>(1, expression.size());
    int most = control ? std::min(control->mostSamples, kMostFourierSamples) : kMostFourierSamples;
    while (most > 2 * base && (!placed(most) || static_cast<qsizetype>(most) * work > (qsizetype(1) << 27)))
        most /= 2;
    most = std::max(most, 2 * base);
    const int first = std::max(base, std::min(kLeastFourierSamples, most / 2));
    const Interval iv = interval ? *interval : CheckedInterval({from, to}, false);
    const auto at = [&](double x) {
        const double y = e(x);
        if (!std::isfinite(y))
            throw Error::build(QStringLiteral("the expression is not finite at x = %1").arg(NumberText(x)));
        return y;
    };
    // The grid starts at 32 samples a harmonic, and at least
    // kLeastFourierSamples so that a narrow peak is seen; it is doubled until
    // the coefficients settle, up to kMostFourierSamples (fewer for a very
    // long expression, whose every sample is long too).
    double done = 0;
    // Sample j of n is at phase 2*pi*(j + offset)/n from the centre; the
    // second half of the grid is taken one period back, inside the window.
    const auto sampled = [&](int n, double& largest, double offset = 0) {
        Transform t(n);
        largest = 0;
        for (int j = 0; j < n; ++j) {
            if (control && j % 1024 == 0) {
                if (control->cancel.load(std::memory_order_relaxed))
                    throw Cancelled{};
                // The samples are nearly all of the work; the transforms are quick.
                control->fraction.store(std::min(0.95, 0.95 * (done + j) / (2.0 * most)), std::memory_order_relaxed);
            }
            double y;
            if (2 * j == n && offset == 0) // the seam: the series converges to the mean of its two sides
                y = at(from) / 2 + at(to) / 2;
            else
                y = at(2 * j < n ? centre + ((j + offset) * p) / n : centre - ((n - j - offset) * p) / n);
            t.in[j] = y;
            largest = std::max(largest, std::fabs(y));
        }
        done += n;
        t.run();
        return t.coefficients(harmonics, offset);
    };

    BuiltSeries r;
    r.kind = SeriesKind::Trigonometric;
    r.centre = centre;
    r.period = p;
    r.periodText = periodText;
    const auto writing = [](const std::vector<double>& c) {
        double most = 0;
        for (double v : c)
            most = std::max(most, std::fabs(AsWritten(v) - v));
        return most;
    };
    double largest = 0;
    std::vector<double> previous = sampled(first, largest);
    // The coefficients are integrals of the expression: where it is
    // analytic (a few jumps and kinks allowed) Arb encloses each far inside
    // the file's digits, and the written ones are those, within a proven
    // bound; the first samples gave the scale and that it is finite.
    if (std::optional<ProvenCoefficients> proven =
            ProveCoefficients(e, centre, p, periodText == u"*", harmonics, largest, control)) {
        r.coeffs = std::move(proven->coeffs);
        r.errorEstimate = std::max(proven->bound, writing(r.coeffs));
        r.errorProven = true;
    } else {
        constexpr double eps = std::numeric_limits<double>::epsilon();
        double moved = 0, rounding = 0;
        int n = first;
        for (n = 2 * first; n <= most; n *= 2) {
            r.coeffs = sampled(n, largest);
            // The samples' own rounding and the transform's, which grows with
            // the logarithm of the length.
            rounding = (8 + 2 * std::log2(double(n))) * eps * largest;
            moved = 0;
            for (size_t k = 0; k < previous.size(); ++k)
                moved = std::max(moved, std::fabs(r.coeffs[k] - previous[k]));
            if (moved <= rounding)
                break;
            previous = r.coeffs;
        }
        n = std::min(n, most);
        for (size_t k = 0; k < r.coeffs.size(); ++k)
            if (!std::isfinite(r.coeffs[k]))
                throw Error::build(QStringLiteral("the coefficient of harmonic %1 is beyond the range of numbers").arg((k + 1) / 2));
        // An estimate: how far they moved when the grid was last doubled
        // (the error of the coarser grid, more than that of the finer once
        // they converge), or how far the same grid a third of a step on moves
        // them, which sees what falls between every grid of a power of two;
        // then the rounding and the file's 15 digits.
        double unused = 0, off = 0;
        const std::vector<double> shifted = sampled(n, unused, 1.0 / 3);
        for (size_t k = 0; k < shifted.size(); ++k)
            off = std::max(off, std::fabs(shifted[k] - r.coeffs[k]));
        // Past the largest double an estimate says no more.
        r.errorEstimate = std::min(std::max(moved, off) + rounding + writing(r.coeffs), std::numeric_limits<double>::max());
    }

    r.notes = notes;
    r.lower = iv.lower;
    r.upper = iv.upper;
    r.sourceText = QStringLiteral("Fourier series of %1, period %2, %3 harmonics")
                       .arg(DescribedExpression(expression), periodText == u"*" ? QStringLiteral("2pi") : periodText)
                       .arg(harmonics);
    const Agreement a = MeasureAgreement(r, expression, iv, 397);
    r.agreement = a.agreement;
    r.scale = a.scale;
    // 397 points fall between the samples of every grid of a power of two.
    r.seriesError = interval ? MeasureAgreement(r, expression, {from, to}, 397).agreement : a.agreement;
    return r;
}

double AsFileHoldsIt(double value, const QString& what, QStringList& notes)
{
    const double held = AsWritten(value);
    if (held != value)
        notes << QStringLiteral("the %1 %2 is written as %3; the series is about that %1")
                     .arg(what, QString::number(value, 'g', QLocale::FloatingPointShortest), NumberText(held));
    return held;
}

QString DescribedExpression(const QString& expression)
{
    // In bytes of UTF-8, as the file holds it; a few thousand is plenty to
    // recognise an expression by.
    constexpr qsizetype kMostBytes = 4000;
    const QString e = expression.simplified();
    if (e.toUtf8().size() <= kMostBytes)
        return e;
    qsizetype bytes = 0, cut = 0;
    while (cut < e.size()) {
        // A surrogate pair is one character: never split.
        const qsizetype n = e[cut].isHighSurrogate() && cut + 1 < e.size() ? 2 : 1;
        const qsizetype size = e.mid(cut, n).toUtf8().size();
        if (bytes + size > kMostBytes)
            break;
        bytes += size;
        cut += n;
    }
    return e.left(cut) + QStringLiteral("…");
}

Interval CheckedInterval(const Interval& interval, bool given)
{
    const QString what = given ? QStringLiteral("the interval") : QStringLiteral("the default interval");
    const QString hint = given ? QString() : QStringLiteral("; give the interval");
    if (!std::isfinite(interval.lower) || !std::isfinite(interval.upper))
        throw Error::build(QStringLiteral("%1's ends must be finite numbers%2").arg(what, hint));
    // Ends that differ only past the file's digits would be written as one.
    const double lower = AsWritten(interval.lower), upper = AsWritten(interval.upper);
    if (!(lower < upper))
        throw Error::build(QStringLiteral("%1's lower end must be below its upper end (written as %2 and %3)%4")
                             .arg(what, NumberText(lower), NumberText(upper), hint));
    return interval;
}

Series ToSeries(const BuiltSeries& s)
{
    Series out;
    out.Kind = s.kind;
    out.TermCount = static_cast<int>(s.coeffs.size()) - 1;
    out.Centre = s.centre;
    out.Period = s.period;
    out.PeriodText = s.kind == SeriesKind::Power ? NumberText(s.period) : s.periodText;
    out.XLvalid = s.lower;
    out.XUvalid = s.upper;
    out.Coeffs = s.coeffs;
    out.SourceText = s.sourceText.toUtf8();
    return out;
}

std::optional<Error> WriteBuiltSeries(const BuiltSeries& s, const QString& path)
{
    return WriteSeriesOnlyFile(ToSeries(s), path);
}

} // namespace vendrak
