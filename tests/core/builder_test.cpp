#include "core/builder/series_builder.h"
#include "core/series/evaluators.h"
#include "core/study/number_text.h"

#include <arb.h>
#include <flint/fmpq.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <functional>

using namespace vendrak;

namespace {

// The double nearest to the rational `set` makes exactly, rounded once from
// far beyond double precision.
double nearest(const std::function<void(fmpq_t)>& set)
{
    fmpq_t v;
    arb_t a;
    fmpq_init(v);
    arb_init(a);
    set(v);
    arb_set_fmpq(a, v, 4000);
    const double d = arf_get_d(arb_midref(a), ARF_RND_NEAR);
    arb_clear(a);
    fmpq_clear(v);
    return d;
}
double ratio(long p, long q) { return nearest([&](fmpq_t v) { fmpq_set_si(v, p, static_cast<ulong>(q)); }); }
double inverseFactorial(int k, int sign)
{
    return nearest([&](fmpq_t v) {
        fmpz_set_si(fmpq_numref(v), sign);
        fmpz_fac_ui(fmpq_denref(v), static_cast<ulong>(k));
    });
}
// The binomial coefficient (1/2 choose k): the product of (1/2 - (j-1)) / j.
double halfBinomial(int k)
{
    return nearest([&](fmpq_t c) {
        fmpq_one(c);
        for (int j = 1; j <= k; ++j) {
            fmpz_mul_si(fmpq_numref(c), fmpq_numref(c), 3 - 2 * j);
            fmpz_mul_ui(fmpq_denref(c), fmpq_denref(c), static_cast<ulong>(2 * j));
        }
        fmpq_canonicalise(c);
    });
}

QString message(const std::function<void()>& f)
{
    try {
        f();
    } catch (const BuildError& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

} // namespace

TEST(BuilderTaylor, CoefficientsAreTheNearestDoubles)
{
    const struct { const char* expr; std::function<double(int)> exact; } cases[] = {
        {"exp(x)", [](int k) { return inverseFactorial(k, 1); }},
        {"1/(1-x)", [](int) { return 1.0; }},
        {"atan(x)", [](int k) { return k % 2 ? ratio(k % 4 == 1 ? 1 : -1, k) : 0.0; }},
        {"log(1+x)", [](int k) { return k ? ratio(k % 2 ? 1 : -1, k) : 0.0; }},
        {"sqrt(1+x)", halfBinomial},
        {"sin(x)/x", [](int k) { return k % 2 ? 0.0 : inverseFactorial(k + 1, k % 4 ? -1 : 1); }},
    };
    for (const auto& c : cases) {
        const BuiltSeries s = BuildTaylor(QString::fromLatin1(c.expr), 0, 60);
        ASSERT_EQ(s.coeffs.size(), 61u);
        for (int k = 0; k <= 60; ++k)
            EXPECT_EQ(s.coeffs[static_cast<size_t>(k)], c.exact(k)) << c.expr << " degree " << k;
    }
}

TEST(BuilderTaylor, SeriesMatchesTheExpressionNearTheCentre)
{
    const struct { const char* expr; double centre; } cases[] = {
        {"exp(sin(x))/(1+x^2)", 0}, {"tan(x)", 0.3}, {"asin(x/2)+acos(x/3)", 0},
        {"sinh(x)+cosh(x)-tanh(x)", 0}, {"asinh(x)+atanh(x/2)", 0}, {"acosh(x+2)", 0},
        {"log10(x+3)*erf(x)", 0}, {"gamma(x+1.5)", 0}, {"abs(x-2)+sign(x-2)", 0}, {"x^x", 1},
        {"2^x*pi-e", 0}, {"(1-cos(x))/x^2+(exp(x)-1)/x", 0}, {"abs(sin(x)^2)", 0}, {"(x-1)^-2", 0},
    };
    for (const auto& c : cases) {
        const BuiltSeries s = BuildTaylor(QString::fromLatin1(c.expr), c.centre, 60);
        const Dimension d = ToDimension(s);
        const Expression e = Expression::parse(QString::fromLatin1(c.expr));
        for (double dx : {-0.2, 0.15}) {
            const double x = c.centre + dx;
            EXPECT_NEAR(EvalSeries(d, x), e(x), 1e-12 * std::max(1.0, std::fabs(e(x)))) << c.expr << " at " << x;
        }
        EXPECT_LT(s.lower, c.centre);
        EXPECT_GT(s.upper, c.centre);
    }
}

TEST(BuilderTaylor, DefaultIntervalFollowsTheRadiusOfConvergence)
{
    const BuiltSeries geometric = BuildTaylor(QStringLiteral("1/(2-x)"), 0, 200);
    EXPECT_NEAR(geometric.upper, 2, 0.05);
    EXPECT_EQ(BuildTaylor(QStringLiteral("x^2+1"), 3, 5).upper, 13);
    // An entire function: the estimate k/e grows with the degree.
    EXPECT_GT(BuildTaylor(QStringLiteral("exp(x)"), 0, 100).upper, 30);
    EXPECT_EQ(BuildTaylor(QStringLiteral("exp(x)"), 0, 2000).upper, 100);
}

TEST(BuilderFourier, CoefficientsOfKnownSeries)
{
    const BuiltSeries trig = BuildFourier(QStringLiteral("1 + 2*sin(x) - 0.5*cos(3*x)"), 0, QStringLiteral("*"), 5);
    const std::vector<double> want{1, 2, 0, 0, 0, 0, -0.5, 0, 0, 0, 0};
    ASSERT_EQ(trig.coeffs.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(trig.coeffs[i], want[i], 1e-15) << i;

    // exp(sin t) = I0(1) + 2 sum (-1)^k I_{2k+1}(1) sin((2k+1)t) + 2 sum (-1)^k I_{2k}(1) cos(2kt)
    const BuiltSeries bessel = BuildFourier(QStringLiteral("exp(sin(x))"), 0, QStringLiteral("*"), 12);
    EXPECT_NEAR(bessel.coeffs[0], std::cyl_bessel_i(0.0, 1.0), 1e-14);
    for (int n = 1; n <= 12; ++n) {
        const double s = 2 * std::cyl_bessel_i(double(n), 1.0) * (((n / 2) % 2) ? -1 : 1);
        EXPECT_NEAR(bessel.coeffs[size_t(2 * n - 1)], n % 2 ? s : 0.0, 1e-14) << n;
        EXPECT_NEAR(bessel.coeffs[size_t(2 * n)], n % 2 ? 0.0 : s, 1e-14) << n;
    }
    const Dimension d = ToDimension(bessel);
    for (double x : {0.3, 2.0, 5.5})
        EXPECT_NEAR(EvalSeries(d, x), std::exp(std::sin(x)), 1e-13);

    // A square wave converges slowly; the estimate must still cover the error.
    const BuiltSeries square = BuildFourier(QStringLiteral("sign(sin(x))"), 0, QStringLiteral("*"), 50);
    EXPECT_GT(square.errorEstimate, 0);
    EXPECT_LE(std::fabs(square.coeffs[0]), square.errorEstimate);
    for (int k = 1; k <= 50; ++k) {
        EXPECT_LE(std::fabs(square.coeffs[size_t(2 * k - 1)] - (k % 2 ? 4 / (M_PI * k) : 0)), square.errorEstimate) << k;
        EXPECT_LE(std::fabs(square.coeffs[size_t(2 * k)]), square.errorEstimate) << k;
    }
}

TEST(BuilderFile, WrittenSeriesReadsBack)
{
    QTemporaryDir dir;
    const BuiltSeries taylors[] = {BuildTaylor(QStringLiteral("sin(x)/x"), 0, 60),
                                   BuildFourier(QStringLiteral("abs(x)"), -1, QStringLiteral("*"), 20)};
    for (const BuiltSeries& s : taylors) {
        const QString path = dir.filePath(QStringLiteral("s.ser"));
        ASSERT_TRUE(WriteBuiltSeries(s, path).ok);
        Dimension d;
        d.initialise();
        ASSERT_EQ(ReadSeriesFile(d, path).status, ReadStatus::Ok);
        const Dimension w = ToDimension(s);
        EXPECT_EQ(std::tie(d.SeriesType, d.TermCount, d.PeriodText, d.Period, d.SourceText, d.Centre),
                  std::tie(w.SeriesType, w.TermCount, w.PeriodText, w.Period, w.SourceText, w.Centre));
        ASSERT_EQ(d.Coeffs.size(), w.Coeffs.size());
        // The file keeps the digits it shows, so that is what must come back.
        for (size_t k = 0; k < d.Coeffs.size(); ++k)
            EXPECT_EQ(d.Coeffs[k], LeadingNumber(NumberText(w.Coeffs[k]))) << k;
        EXPECT_EQ(d.XLvalid, LeadingNumber(NumberText(w.XLvalid)));
    }
}

TEST(BuilderErrors, BadInputIsNamed)
{
    const auto taylor = [](const char* e, int degree = 5, double c = 0) {
        return message([&] { BuildTaylor(QString::fromLatin1(e), c, degree); });
    };
    const auto fourier = [](const char* e, const char* period, int h = 5, double c = 0) {
        return message([&] { BuildFourier(QString::fromLatin1(e), c, QString::fromLatin1(period), h); });
    };
    const std::pair<QString, const char*> cases[] = {
        {taylor(""), "the expression is empty"},
        {taylor("  "), "the expression is empty"},
        {taylor("sin(x"), "column 6: expected ')'"},
        {taylor("(x+1))"), "column 6: expected an operator or the end of the expression, not ')'"},
        {taylor("x+"), "column 3: expected a number, x, a name or '('"},
        {taylor("2*foo(x)"), "column 3: unknown name 'foo'"},
        {taylor("sin x"), "column 5: expected '(' after sin"},
        {taylor("1/x"), "1/x is singular at x = 0"},
        {taylor("log(x)"), "log(x) is singular at x = 0"},
        {taylor("x^(-1/2)"), "x^(-1/2) is singular at x = 0"},
        {taylor("sqrt(x)"), "sqrt(x) has no Taylor series at x = 0"},
        {taylor("abs(x)"), "abs(x) has no Taylor series at x = 0"},
        {taylor("log(x)", 5, -1), "log(x) is not defined at x = -1"},
        {taylor("x", -1), "the degree must be a whole number from 0 to 10000, not -1"},
        {taylor("x", 10001), "the degree must be a whole number from 0 to 10000, not 10001"},
        {taylor("x", 5, NAN), "the centre must be a finite number"},
        {fourier("x", "*", 0), "the number of harmonics must be a whole number from 1 to 20000, not 0"},
        {fourier("x", "0"), "the period must be a positive number, not 0"},
        {fourier("x", "two"), "the period \"two\" is not a number (use * for 2π)"},
        {fourier("1/x", "2", 5, -1), "the expression is not finite at x = 0"},
        {message([] { BuildTaylor(QStringLiteral("x"), 0, 3, Interval{1, 1}); }),
         "the interval's lower end must be below its upper end"},
        {message([] { BuildFourier(QStringLiteral("x"), 0, QStringLiteral("*"), 3, Interval{0, INFINITY}); }),
         "the interval ends must be finite numbers"},
    };
    for (const auto& [got, want] : cases)
        EXPECT_EQ(got, QString::fromUtf8(want));
}

TEST(BuilderCommandLine, ExitCodesAndOutput)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.ser"));
    const struct { QStringList args; int code; } cases[] = {
        {{"taylor", "sin(x)/x", "--centre", "-1", "--degree", "12", "--interval", "-10", "10"}, 0},
        {{"fourier", "abs(x)", "--period", "*", "--harmonics", "8", "--centre", "-3.14"}, 0},
        {{"taylor", "sin(x)", "--degree", "5", "-o", out}, 2},
        {{"taylor", "sin(x)", "--centre", "zero", "--degree", "5", "-o", out}, 2},
        {{"cosine", "x", "--centre", "0", "--degree", "5", "-o", out}, 2},
        {{"taylor", "log(x)", "--centre", "0", "--degree", "5", "-o", out}, 3},
        {{"fourier", "x", "--period", "-1", "--harmonics", "5", "-o", out}, 3},
    };
    for (const auto& c : cases) {
        QProcess p;
        p.start(QStringLiteral(VENDRAK_SERIES_EXE), c.args);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), c.code) << c.args.join(u' ').toStdString();
        const QByteArray err = p.readAllStandardError();
        if (c.code) {
            EXPECT_FALSE(QFile::exists(out));
            EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
            continue;
        }
        QFile f(dir.filePath(QStringLiteral("stdout.ser"))); // without -o the series goes to standard output
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(p.readAllStandardOutput()) > 0 && f.flush());
        Dimension d;
        d.initialise();
        EXPECT_EQ(ReadSeriesFile(d, f.fileName()).status, ReadStatus::Ok);
        EXPECT_EQ(d.TermCount, c.args[0] == u"taylor" ? 12 : 16);
    }
}
