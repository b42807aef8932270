// The series builder: coefficients against exact references, the default interval, the file and the command line.
#include "core/builder/series_builder.h"
#include "core/series/evaluators.h"
#include "core/study/number_text.h"
#include "support/analysis_fixtures.h"

#include <arb.h>
#include <arb_hypgeom.h>
#include <flint/fmpq.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <functional>

using namespace vendrak;
using test::readBack;

namespace {

// The double nearest to the rational `set` makes exactly, rounded once from far beyond double precision.
double nearest(const std::function<void(fmpq_t)>& set)
{
    fmpq_t v;
    arb_t a;
    fmpq_init(v), arb_init(a), set(v), arb_set_fmpq(a, v, 4000);
    const double d = arf_get_d(arb_midref(a), ARF_RND_NEAR);
    arb_clear(a), fmpq_clear(v);
    return d;
}
double ratio(long p, long q) { return nearest([&](fmpq_t v) { fmpq_set_si(v, p, ulong(q)); }); }
double inverseFactorial(int k, int sign)
{ return nearest([&](fmpq_t v) { fmpz_set_si(fmpq_numref(v), sign), fmpz_fac_ui(fmpq_denref(v), ulong(k)); }); }
double halfBinomial(int k) // (1/2 choose k): the product of (1/2 - (j-1)) / j
{
    return nearest([&](fmpq_t c) {
        fmpq_one(c);
        for (int j = 1; j <= k; ++j)
            fmpz_mul_si(fmpq_numref(c), fmpq_numref(c), 3 - 2 * j), fmpz_mul_ui(fmpq_denref(c), fmpq_denref(c), ulong(2 * j));
        fmpq_canonicalise(c);
    });
}

} // namespace

TEST(BuilderTaylor, CoefficientsAreTheNearestDoublesAndTheSeriesMatchesTheExpression)
{
    const struct { const char* expr; std::function<double(int)> exact; } cases[] = {
        {"exp(x)", [](int k) { return inverseFactorial(k, 1); }}, {"1/(1-x)", [](int) { return 1.0; }},
        {"atan(x)", [](int k) { return k % 2 ? ratio(k % 4 == 1 ? 1 : -1, k) : 0.0; }},
        {"log(1+x)", [](int k) { return k ? ratio(k % 2 ? 1 : -1, k) : 0.0; }}, {"sqrt(1+x)", halfBinomial},
        {"sin(x)/x", [](int k) { return k % 2 ? 0.0 : inverseFactorial(k + 1, k % 4 ? -1 : 1); }},
    };
    for (const auto& c : cases) {
        const BuiltSeries s = BuildTaylor(QString::fromLatin1(c.expr), 0, 60);
        ASSERT_EQ(s.coeffs.size(), 61u);
        for (int k = 0; k <= 60; ++k)
            EXPECT_EQ(s.coeffs[size_t(k)], c.exact(k)) << c.expr << " degree " << k;
    }
    const struct { const char* expr; double centre; } near[] = {
        {"exp(sin(x))/(1+x^2)", 0}, {"tan(x)", 0.3}, {"asin(x/2)+acos(x/3)", 0}, {"sinh(x)+cosh(x)-tanh(x)", 0}, {"x^x", 1},
        {"asinh(x)+atanh(x/2)", 0}, {"acosh(x+2)", 0}, {"log10(x+3)*erf(x)", 0}, {"gamma(x+1.5)", 0}, {"2^x*pi-e", 0},
        {"abs(x-2)+sign(x-2)", 0}, {"(1-cos(x))/x^2+(exp(x)-1)/x", 0}, {"abs(sin(x)^2)", 0}, {"(x-1)^-2", 0},
        {"cot(x)*csc(x)+sec(x)+arctan(x)", 1}, {"lgamma(x)+cbrt(x)", -0.5}, {"x^(-2/3)-x^(3/5)", -2}, {"ln(x)+lgamma(x)", 3},
        {"floor(x)+heaviside(x)+min(x,1)+max(x^2,0)+mod(x,3)+floor(x^2+2)", 0.5}, {"max(x^2,0)+min(1+x^2,1)+mod(1-5x,3)", 0}};
    for (const auto& c : near) {
        const BuiltSeries s = BuildTaylor(QString::fromLatin1(c.expr), c.centre, 60);
        const Expression e = Expression::parse(QString::fromLatin1(c.expr));
        for (double x : {c.centre - 0.2, c.centre + 0.15})
            EXPECT_NEAR(EvalSeries(ToSeries(s), x), e(x), 1e-12 * std::max(1.0, std::fabs(e(x)))) << c.expr << " at " << x;
        EXPECT_TRUE(s.lower < c.centre && s.upper > c.centre) << c.expr;
    }
}

// The default interval is the widest about the centre on which the series as written agrees with the expression to
// 1e-12 of the largest |f| there: judged here against the closed form, just inside the ends and a little past them.
TEST(BuilderTaylor, TheDefaultIntervalIsWhereTheWrittenSeriesAgrees)
{
    const struct { const char* expr; double centre; int degree; double (*f)(double); } cases[] = {
        {"1/(1+x^2)", 0, 20, [](double x) { return 1 / (1 + x * x); }}, {"log(x)", 1, 20, [](double x) { return std::log(x); }},
        {"sin(x)/x", 0, 40, [](double x) { return x ? std::sin(x) / x : 1.0; }},
        {"exp(-x^2)", 0, 20, [](double x) { return std::exp(-x * x); }}, {"sqrt(x)", 4, 20, [](double x) { return std::sqrt(x); }},
        {"gamma(x)", 1, 20, [](double x) { return std::tgamma(x); }}, {"exp(x)", 0, 100, [](double x) { return std::exp(x); }}};
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const BuiltSeries s = BuildTaylor(QString::fromLatin1(c.expr), c.centre, c.degree);
        ASSERT_TRUE(!WriteBuiltSeries(s, dir.filePath("t.ser")));
        const Dimension d = readBack(dir.filePath("t.ser"));
        const double r = d.series.XUvalid - c.centre;
        EXPECT_NEAR(c.centre - d.series.XLvalid, r, 1e-12 * r) << c.expr;
        double scale = 0;
        const auto worst = [&](double radius) { // the largest difference over the largest |f|, at 400 points
            double diff = 0;
            scale = 0;
            for (int j = 0; j <= 400; ++j) {
                const double x = c.centre - radius + 2 * radius * j / 400, f = c.f(x);
                diff = std::isfinite(f) ? std::max(diff, std::fabs(EvalSeries(d.series, x) - f)) : INFINITY;
                scale = std::max(scale, std::fabs(f));
            }
            return diff / scale;
        };
        EXPECT_GT(worst(1.05 * r), 1e-12) << c.expr << " on +-" << 1.05 * r;
        EXPECT_LE(worst(r), 1.1e-12) << c.expr << " on +-" << r;
        EXPECT_LE(s.agreement, 1.1e-12 * s.scale) << c.expr;
        EXPECT_NEAR(s.scale, scale, 1e-9 * scale) << c.expr;
    }
    EXPECT_EQ(BuildTaylor("x^2+1", 3, 5).upper, 13); // a polynomial the series is: plus and minus 10
    EXPECT_LE(BuildTaylor("exp(x)", 0, 2000).upper, 100);

    // sin(x)/x at degree 40, the README's example, studied on its default interval: the zeros at multiples of pi, no
    // other.
    ASSERT_TRUE(!WriteBuiltSeries(BuildTaylor("sin(x)/x", 0, 40), dir.filePath("sinc.ser")));
    Dimension sinc = readBack(dir.filePath("sinc.ser"));
    sinc = test::on(sinc, sinc.series.XLvalid, sinc.series.XUvalid);
    std::tie(sinc.study.ErrorBound, sinc.study.MaxCycles) = std::pair(1e-10, 40);
    test::roots(sinc);
    std::vector<double> found = sinc.results.Roots;
    std::sort(found.begin(), found.end());
    ASSERT_EQ(found.size(), 2 * size_t(sinc.series.XUvalid / M_PI)) << sinc.series.XUvalid;
    for (size_t i = 0; i < found.size(); ++i) {
        const int k = int(i) - int(found.size()) / 2;
        EXPECT_NEAR(found[i], M_PI * (k < 0 ? k : k + 1), 1e-8) << i;
    }
}

// The names and forms beyond the first language: each against a closed form.
TEST(BuilderTaylor, NewNamesAgainstClosedForms)
{
    const double gamma = 0.57721566490153286061, psiHalf = -gamma - 2 * std::log(2.0); // digamma(1/2)
    const struct { const char* expr; double centre; std::vector<double> coeffs; double tol; } cases[] = {
        {"ln(1+x)", 0, {0, 1, -0.5, ratio(1, 3)}, 0}, {"sec(x)", 0, {1, 0, 0.5, 0, ratio(5, 24), 0, ratio(61, 720)}, 0},
        {"arcsin(x)+arccos(x)", 0, {M_PI / 2, 0, 0, 0}, 0}, {"arcsin(x)", 0, {0, 1, 0, ratio(1, 6), 0, ratio(3, 40)}, 0},
        {"cbrt(x)", -8, {-2, ratio(1, 12), ratio(1, 288)}, 0}, {"x^(1/3)", -1, {-1, ratio(1, 3), ratio(1, 9)}, 0},
        {"x^(2/5)", -1, {1, ratio(-2, 5)}, 0}, {"x^(-1/3)", -8, {-0.5, ratio(-1, 48)}, 0},
        {"cot(x)", M_PI / 4, {1, -2, 2}, 1e-14}, {"csc(x)", M_PI / 2, {1, 0, 0.5}, 1e-14},
        {"lgamma(x)", 2.5, {std::log(0.75 * std::sqrt(M_PI)), psiHalf + 2 + ratio(2, 3)}, 1e-15},
        {"lgamma(x)", -0.5, {std::log(2 * std::sqrt(M_PI)), psiHalf + 2}, 1e-15},
        {"floor(x)+2floor(x^2-1)", -0.5, {-3, 0, 0}, 0}, {"heaviside(x-1)+sign(x-1)", 0, {-1, 0}, 0},
    };
    for (const auto& c : cases) {
        const BuiltSeries s = BuildTaylor(QString::fromLatin1(c.expr), c.centre, int(c.coeffs.size()) - 1);
        for (size_t k = 0; k < c.coeffs.size(); ++k)
            EXPECT_NEAR(s.coeffs[k], c.coeffs[k], c.tol * std::max(1.0, std::fabs(c.coeffs[k]))) << c.expr << " degree " << k;
    }
    // Implicit products, numbers read as far as they go, and the values of the new names in doubles.
    const struct { const char* expr; double x, value; } values[] = {
        {"2x", 0.7, 1.4}, {"2 sin(x)", 0.7, 2 * std::sin(0.7)}, {"x(x+1)", 0.5, 0.75}, {"(x+1)(x-1)", 3, 8},
        {"pi x", 2, 2 * M_PI}, {"2e3", 0, 2000}, {"2e+1", 0, 20}, {"2e", 0, 2 * M_E}, {"2e-x", 1, 2 * M_E - 1},
        {"-2x^2", 3, -18}, {"2(x)3", 1, 0}, {"x^(1/3)", -8, -2}, {"x^(2/5)", -1, 1}, {"x^(-1/3)", -8, -0.5},
        {"x^(2/6)", -8, -2}, {"cbrt(x)", -27, -3}, {"mod(x,3)", -1, 2}, {"mod(x,-3)", 1, -2}, {"heaviside(x)", 0, 0.5},
        {"heaviside(x)", -1, 0}, {"sign(x)", 0, 0}, {"min(x,2)+max(x,2)", 1, 3}, {"floor(x)", -0.5, -1}, {"ln(e)", 0, 1},
        {"lgamma(x)", -0.5, std::log(2 * std::sqrt(M_PI))}, {"arctan(1)*4", 0, M_PI},
    };
    for (const auto& v : values) {
        double got = NAN;
        try { got = Expression::parse(QString::fromLatin1(v.expr))(v.x); } catch (const Error&) {}
        if (std::string(v.expr) == "2(x)3")
            EXPECT_TRUE(std::isnan(got)) << "a number after a factor is not a product";
        else
            EXPECT_NEAR(got, v.value, 1e-15 * std::max(1.0, std::fabs(v.value))) << v.expr;
    }
    EXPECT_TRUE(std::isnan(Expression::parse("x^(1/2)")(-1)) && std::isnan(Expression::parse("lgamma(x)")(-2)));
    const std::pair<const char*, double> constants[] = {{"pi/2", M_PI / 2}, {"-pi", -M_PI}, {"2*pi", 2 * M_PI}, {" 1e-3 ", 1e-3}};
    for (const auto& [text, value] : constants)
        EXPECT_EQ(ConstantValue(text), value) << text;
}

TEST(BuilderFourier, CoefficientsOfKnownSeries)
{
    const std::vector<double> trig = BuildFourier("1 + 2*sin(x) - 0.5*cos(3*x)", 0, "*", 5).coeffs;
    ASSERT_EQ(trig.size(), 11u);
    for (size_t i = 0; i < trig.size(); ++i)
        EXPECT_NEAR(trig[i], i == 0 ? 1 : i == 1 ? 2 : i == 6 ? -0.5 : 0, 1e-15) << i;

    for (double x : {0.3, 2.0, 5.5})
        EXPECT_NEAR(EvalSeries(ToSeries(BuildFourier("exp(sin(x))", 0, "*", 12)), x), std::exp(std::sin(x)), 1e-13);
}

// 2 I_n(1) rounded once from Arb: the double library's Bessel functions are a few units off in the last place.
double twiceBesselI(int n)
{
    arb_t nu, v;
    arb_init(nu), arb_init(v), arb_set_si(nu, n), arb_one(v);
    arb_hypgeom_bessel_i(v, nu, v, 256), arb_mul_2exp_si(v, v, n ? 1 : 0);
    const double d = arf_get_d(arb_midref(v), ARF_RND_NEAR);
    arb_clear(nu), arb_clear(v);
    return d;
}

// Coefficients as written against closed forms, within the reported error, both where it is proven in ball
// arithmetic (analytic, or a few jumps and kinks) and where the proof is not allowed and it is estimated: one period
// centred on the centre, so abs(x) is the triangle wave and x the sawtooth through 0; a jump converges to the mean of
// its sides; a narrow peak between the samples of a coarse grid is seen. The reported error is never below the
// rounding of the written digits. A reference rounded to double may be half a unit off in its last place.
TEST(BuilderFourier, TheWrittenCoefficientsAreWithinTheReportedError)
{
    // A Gaussian of width 1/sqrt(2a) inside the period: its coefficients are those of the whole line.
    const double a = 10000, mu = 1.03, g = std::sqrt(M_PI / a) / M_PI;
    const struct { const char* expr; const char* period; double centre; int harmonics; std::function<double(int)> exact; } cases[] = {
        // exp(sin t) = I0(1) + 2 sum (-1)^k I_{2k+1}(1) sin((2k+1)t) + 2 sum (-1)^k I_{2k}(1) cos(2kt)
        {"exp(sin(x))", "*", 0, 12, [](int i) { const int n = (i + 1) / 2;
            return !i ? twiceBesselI(0) : i % 2 == n % 2 ? twiceBesselI(n) * ((n / 2) % 2 ? -1 : 1) : 0.0; }},
        {"abs(x)", "2", 0, 20, [](int i) { return !i ? 0.5 : i % 2 || (i / 2) % 2 == 0 ? 0.0 : -4 / (M_PI * M_PI * (i / 2) * (i / 2)); }},
        {"x", "*", 0, 20, [](int i) { return i % 2 ? ((i / 2) % 2 ? -2.0 : 2.0) / ((i + 1) / 2) : 0.0; }},
        {"sign(sin(x))", "*", 0, 50, [](int i) { return i % 4 == 1 ? 8 / (M_PI * (i + 1)) : 0.0; }},
        {"exp(-10000*(x-1.03)^2)", "*", 0, 1, [&](int i) { return !i ? g / 2 : g * std::exp(-1 / (4 * a)) * (i == 1 ? std::sin(mu) : std::cos(mu)); }},
        // The jump and kink functions, coefficient k (sin(nt) at 2n - 1, cos(nt) at 2n).
        {"heaviside(sin(x))", "*", 0, 40, [](int k) { return k == 0 ? 0.5 : k % 4 == 1 ? 4 / (M_PI * (k + 1)) : 0; }},
        {"mod(x, 2)", "2", -1, 40, [](int k) { return k == 0 ? 1 : k % 2 ? 4.0 / (M_PI * (k + 1)) * (((k + 1) / 2) % 2 ? 1 : -1) : 0; }},
        {"floor(x/pi)", "*", 0, 40, [](int k) { return k == 0 ? -0.5 : k % 4 == 1 ? 4 / (M_PI * (k + 1)) : 0; }},
        {"max(sin(x),0)-min(sin(x),0)", "*", 0, 40, [](int k) { return k == 0 ? 2 / M_PI : k % 4 == 0 ? -4 / (M_PI * (k * k / 4.0 - 1)) : 0; }},
        // A real odd root, with its infinite slope at 0: odd, so the constant and cosine terms are 0.
        {"x^(1/3)", "*", 0, 10, [](int k) { return k % 2 == 0 ? 0.0 : NAN; }},
    };
    BuildControl estimateOnly;
    estimateOnly.proofEvaluations = 0;
    estimateOnly.mostSamples = 1 << 17;
    const BuildControl* const controls[] = {nullptr, &estimateOnly};
    for (const auto& c : cases)
        for (const BuildControl* control : controls) {
            const BuiltSeries s = BuildFourier(c.expr, c.centre, c.period, c.harmonics, std::nullopt, control);
            ASSERT_EQ(s.coeffs.size(), size_t(2 * c.harmonics + 1));
            // Every case is analytic but for a few jumps or kinks: proven, and to the file's digits.
            EXPECT_EQ(s.errorProven, control == nullptr) << c.expr;
            if (s.errorProven) {
                EXPECT_LT(s.errorEstimate, 1e-14 * std::max(1.0, s.scale)) << c.expr;
            }
            double rounding = 0;
            for (size_t i = 0; i < s.coeffs.size(); ++i) {
                const double written = LeadingNumber(NumberText(s.coeffs[i])), exact = c.exact(int(i));
                if (!std::isnan(exact)) {
                    EXPECT_LE(std::fabs(written - exact) - std::fabs(exact) * 0x1p-53, s.errorEstimate) << c.expr << " " << i;
                }
                rounding = std::max(rounding, std::fabs(written - s.coeffs[i]));
            }
            // Off the grid, a jump moves the nearest samples' side: a coarse estimate, but an estimate.
            EXPECT_TRUE(s.errorEstimate >= rounding && s.errorEstimate < 1e-4) << c.expr << " " << s.errorEstimate;
        }
}

TEST(BuilderErrors, BadInputIsNamed)
{
    const auto message = [](const std::function<void()>& f) {
        try { f(); } catch (const Error& e) { return e.message(); }
        return QStringLiteral("(no error)");
    };
    const auto taylor = [&](const char* e, int degree = 5, double c = 0) { return message([&] { BuildTaylor(e, c, degree); }); };
    const auto fourier = [&](const char* e, const char* period, int h = 5, double c = 0) {
        return message([&] { BuildFourier(e, c, period, h); });
    };
    EXPECT_EQ(taylor("(x+1))"), "column 6: expected an operator or the end of the expression, not ')'"); // one in full
    const std::pair<QString, const char*> cases[] = {
        {taylor("  "), "empty"}, {taylor("sin(x"), "column 6: expected ')'"}, {taylor("x+"), "column 3"},
        {taylor("2*foo(x)"), "unknown name 'foo'"}, {taylor("sin x"), "column 5: expected '('"},
        {taylor("1/x"), "singular at x = 0"}, {taylor("log(x)"), "singular"}, {taylor("x^(-1/2)"), "singular"},
        {taylor("sqrt(x)"), "no Taylor series at x = 0"}, {taylor("abs(x)"), "no Taylor series"},
        {taylor("log(x)", 5, -1), "not defined at x = -1"}, {taylor("x", -1), "degree"}, {taylor("x", 10001), "not 10001"},
        {taylor("x", 5, NAN), "centre"}, {fourier("x", "*", 0), "harmonics"}, {fourier("x", "0"), "period"},
        {fourier("x", "two"), "\"two\""}, {fourier("1/x", "2", 5, -1), "not finite at x = 0"},
        {message([] { BuildTaylor("x", 0, 3, Interval{1, 1}); }), "lower end must be below"},
        {message([] { BuildFourier("x", 0, "*", 3, Interval{0, INFINITY}); }), "finite"},
        {taylor("１+x"), "column 1: '１' is not a character Vendrak reads as a number"},
        {taylor("sin(x٣)"), "column 6: '٣' is not"}, {taylor("x+𝟐"), "column 3: '𝟐' is not"}, {taylor("x*😀"), "not '😀'"},
        {taylor("foo"), "column 1: unknown name 'foo'; Vendrak knows: x, pi, e, sin, cos, tan, cot,"}, {taylor("2ex"), "'ex'"},
        {taylor("x*gammas(x)"), "mod(a, b), min(a, b), max(a, b), erf, gamma, lgamma"}, {taylor("sin(x,2)"), "column 6: sin takes one"},
        {taylor("mod(x)"), "column 6: expected ',': mod takes two"}, {taylor("x^(1/2)", 3, -1), "not defined at x = -1"},
        {taylor("floor(x)"), "floor(x) has no Taylor series at x = 0"}, {taylor("heaviside(x)"), "heaviside(x) has no Taylor"},
        {taylor("min(x,0)"), "min(x,0) has no Taylor"}, {taylor("max(x^3,0)", 5, 0), "no Taylor"}, {taylor("mod(x,1)", 5, 2), "no Taylor"},
        {taylor("floor(1-x^2)"), "no Taylor"}, {taylor("cbrt(x)"), "no Taylor"}, {taylor("cot(x)"), "cot(x) is singular at x = 0"},
        {taylor("csc(2x)"), "singular"}, {taylor("lgamma(x)", 5, -1), "singular at x = -1"},
        {message([] { ConstantValue("2x"); }), "a constant expression must not contain x"},
        {message([] { ConstantValue("1/0"); }), "1/0 is not a finite number"}, {message([] { ConstantValue("zero"); }), "unknown name"},
        {fourier("x", "2*pi/0"), "period"},
    };
    for (const auto& [got, want] : cases)
        EXPECT_TRUE(got.contains(QString::fromUtf8(want))) << got.toStdString() << " / " << want;
}

// Nesting is refused past its limit before it can exhaust the stack; sums and products of any length, whose
// trees are chains as long as they are, build and are destroyed without descending the chain.
TEST(BuilderLimits, DeepNestingIsRefusedWithTheLimitAndLongSumsAndProductsBuild)
{
    const auto rep = [](const char* s, int n) { return QString::fromUtf8(s).repeated(n); };
    const auto error = [](const QString& e) {
        try { BuildTaylor(e, 0, 3); } catch (const Error& b) { return b.message().toStdString(); }
        return std::string();
    };
    const std::pair<QString, std::string> nested[] = { // the text, and the column of the first level too many
        {rep("(", 1001) + "x" + rep(")", 1001), "1001"}, {rep("(", 200000) + "x" + rep(")", 200000), "1001"},
        {rep("-", 200000) + "x", "1001"}, {rep("+", 200000) + "x", "1001"}, {rep("-(", 600) + "x" + rep(")", 600), "1001"},
        {rep("sin(", 100000) + "x" + rep(")", 100000), "4004"}, {"x" + rep("^x", 200000), "2002"},
        {"2" + rep("^-x", 200000), "1502"}};
    for (const auto& [text, column] : nested)
        EXPECT_EQ(error(text), "column " + column + ": nested more than 1000 deep") << text.left(12).toStdString();
    // At the limit: a thousand signs or calls, and a tower of powers.
    EXPECT_EQ(BuildTaylor(rep("-", 1000) + "x", 0, 3).coeffs, (std::vector<double>{0, 1, 0, 0}));
    EXPECT_EQ(BuildTaylor(rep("sin(", 999) + "(x)" + rep(")", 999), 0, 2).coeffs, (std::vector<double>{0, 1, 0}));
    EXPECT_EQ(BuildTaylor("x" + rep("^x", 999), 1, 1).coeffs, (std::vector<double>{1, 1}));

    const int n = 300000, m = 60000; // parsed and evaluated in doubles; built in series
    EXPECT_EQ(Expression::parse("x" + rep("+x", n - 1))(0.5), n * 0.5);
    EXPECT_EQ(Expression::parse("x" + rep("*x", n - 1))(1.0), 1.0);
    const std::vector<double> taylor = BuildTaylor("x" + rep("+x", m - 1), 0, 20).coeffs;
    EXPECT_EQ(std::vector<double>(taylor.begin(), taylor.begin() + 3), (std::vector<double>{0, double(m), 0}));
    EXPECT_EQ(BuildTaylor("x" + rep("*x", m - 1), 1, 2).coeffs, (std::vector<double>{1, double(m), double(m) * (m - 1) / 2}));
    EXPECT_NEAR(BuildFourier("x" + rep("+x", m / 2 - 1), 1, "2", 1).coeffs[0], m / 2, 1e-9 * m); // samples on [0, 2), the seam's mean 1
}

TEST(BuilderFile, WrittenSeriesReadsBackWithTheDigitsItShowsAndTheCommandLineExitCodes)
{
    QTemporaryDir dir;
    for (const BuiltSeries& s : {BuildTaylor("sin(x)/x", 0, 60), BuildFourier("abs(x)", -1, "*", 20)}) {
        ASSERT_TRUE(!WriteBuiltSeries(s, dir.filePath("s.ser")));
        const Dimension d = readBack(dir.filePath("s.ser"));
        const Series w = ToSeries(s);
        EXPECT_TRUE(d.series.Kind == w.Kind);
        EXPECT_EQ(std::tie(d.series.TermCount, d.series.PeriodText, d.series.Period, d.series.SourceText, d.series.Centre),
                  std::tie(w.TermCount, w.PeriodText, w.Period, w.SourceText, w.Centre));
        ASSERT_EQ(d.series.Coeffs.size(), w.Coeffs.size());
        for (size_t k = 0; k < d.series.Coeffs.size(); ++k)
            EXPECT_EQ(d.series.Coeffs[k], LeadingNumber(NumberText(w.Coeffs[k]))) << k;
        EXPECT_EQ(d.series.XLvalid, LeadingNumber(NumberText(w.XLvalid)));
    }
    const QString out = dir.filePath("out.ser");
    const struct { QStringList args; int code; } cases[] = {
        {{"taylor", "sin(x)/x", "--centre", "-1", "--degree", "12", "--interval", "-10", "10"}, 0},
        {{"fourier", "abs(x)", "--centre", "-3.14"}, 0}, // the dialog's defaults: period 2pi, 20 harmonics
        {{"taylor", "x" + QStringLiteral("+x").repeated(59999), "--centre", "0", "--degree", "20"}, 0}, // its description is shortened to open
        {{"taylor", "sin(x)", "--json"}, 2}, {{"cosine", "x", "--centre", "0", "--degree", "5", "-o", out}, 2},
        {{"taylor", "sin(x)", "--centre", "zero", "--degree", "5", "-o", out}, 2},
        {{"taylor", "log(x)", "--centre", "0", "--degree", "5", "-o", out}, 3},
        {{"fourier", "x", "--period", "-1", "--harmonics", "5", "-o", out}, 3},
    };
    for (const auto& c : cases) {
        QProcess p;
        p.start(VENDRAK_SERIES_EXE, c.args);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), c.code) << c.args.join(u' ').toStdString();
        const QByteArray err = p.readAllStandardError();
        if (c.code) { // one line on standard error, no file
            EXPECT_TRUE(!QFile::exists(out) && err.count('\n') == 1) << err.toStdString();
            continue;
        }
        QFile f(dir.filePath("stdout.ser")); // without -o the series goes to standard output
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(p.readAllStandardOutput()) > 0 && f.flush());
        const int terms = c.args.contains("--degree") ? c.args[c.args.indexOf("--degree") + 1].toInt() : 20;
        EXPECT_EQ(readBack(f.fileName()).series.TermCount, c.args[0] == u"taylor" ? terms : 2 * terms);
    }
}

// --json prints the figures of the series written: where it agrees with the expression, and for a Fourier series
// the error of its coefficients and of the series.
TEST(BuilderFile, TheCommandLinePrintsTheFiguresAsJson)
{
    QTemporaryDir dir;
    const auto figures = [&](const QStringList& args) {
        QProcess p;
        p.start(VENDRAK_SERIES_EXE, args + QStringList{"-o", dir.filePath("j.ser"), "--json"});
        EXPECT_TRUE(p.waitForFinished(60000) && p.exitCode() == 0) << p.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    };
    const QJsonObject t = figures({"taylor", "1/(1+x^2)"}), l = figures({"taylor", "log(x)", "--centre", "1", "--interval", "0", "2"});
    const QJsonObject f = figures({"fourier", "abs(x)", "--period", "2"});
    EXPECT_EQ(t["interval"].toArray(), (QJsonArray{-0.285, 0.285})); // (0.285)^22 / (1 + 0.285^2) < 1e-12 < (0.286)^22 / ...
    EXPECT_TRUE(t["agreement"].toDouble() <= 1e-12 && t["scale"].toDouble() == 1 && t["centre"].toDouble() == 0);
    EXPECT_TRUE(l["agreement"].isNull() && l["scale"].toDouble() > 5) << l["scale"].toDouble(); // log(0)
    EXPECT_EQ(f["interval"].toArray(), (QJsonArray{-1, 1}));
    // The triangle wave's series differs most at its corners: at x = 0, the sum over odd k > 20 of 4 / (pi k)^2.
    double tail = 0;
    for (int k = 21; k < 2000001; k += 2)
        tail += 4 / (M_PI * M_PI * k * k);
    EXPECT_NEAR(f["seriesError"].toDouble(), tail, 0.02 * tail);
    EXPECT_TRUE(f["coefficientError"].toDouble() > 0 && f["agreement"].toDouble() == f["seriesError"].toDouble());
    EXPECT_TRUE(f["coefficientErrorProven"].toBool() && f["coefficientError"].toDouble() < 1e-15);
}

// What the file holds is what the series is about: a centre or period the file's 15 digits round is used rounded, and
// said; a description that would not fit the reader's field is shortened.
TEST(BuilderFile, TheSeriesIsAboutTheCentreAndPeriodTheFileHolds)
{
    const BuiltSeries t = BuildTaylor("tan(x)", 1.5707963267948966, 1); // beside the pole: the rounding crosses it
    arb_t c;
    arb_init(c), arb_set_d(c, 1.5707963267949), arb_tan(c, c, 256);
    EXPECT_EQ(t.coeffs[0], arf_get_d(arb_midref(c), ARF_RND_NEAR));
    arb_clear(c);
    EXPECT_EQ(t.centre, 1.5707963267949);
    EXPECT_EQ(t.notes, QStringList{"the centre 1.5707963267948966 is written as 1.5707963267949; the series is about that centre"});
    const BuiltSeries f = BuildFourier("x", 0.5, "0.12345678901234567", 2);
    EXPECT_EQ(std::tuple(f.period, f.periodText, f.centre), std::tuple(0.123456789012346, QString("0.123456789012346"), 0.5));
    ASSERT_EQ(f.notes.size(), 1);
    EXPECT_TRUE(f.notes[0].startsWith("the period 0.1234567890123456") && f.notes[0].endsWith("as 0.123456789012346; the series is about that period"));
    EXPECT_TRUE(BuildFourier("x", 0.5, "*", 2).notes.isEmpty());

    QTemporaryDir dir;
    ASSERT_TRUE(!WriteBuiltSeries(BuildTaylor("1." + QString(70000, '0'), 0, 0), dir.filePath("long.ser")));
    EXPECT_TRUE(readBack(dir.filePath("long.ser")).series.SourceText.endsWith("000… about 0, degree 0"));
    const QString euros = DescribedExpression(QString(3000, QChar(0x20AC)));
    EXPECT_TRUE(euros.endsWith(QString(QChar(0x20AC)) + "…") && euros.toUtf8().size() <= 4003) << euros.toUtf8().size();
}
