#include "core/analysis/integral.h"

#include "core/series/series_terms.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <cmath>

namespace vendrak {

namespace {

// F(t) = sum C[k] t^(k+1)/(k+1) at both arguments together, by Horner's rule
// from the top.
double powerIntegral(const Dimension& d)
{
    const double t1 = checked(d.XLower - d.Centre);
    const double t2 = checked(d.XUpper - d.Centre);
    double lower = 0;
    double upper = 0;
    for (long k = d.TermCount; k >= 0; --k) {
        const double c = checked(coeff(d, k) / static_cast<double>(k + 1));
        lower = checked(checked(c + lower) * t1);
        upper = checked(checked(c + upper) * t2);
    }
    return checked(upper - lower);
}

// The integral in theta = 2 pi (x - centre) / P, scaled back by P / (2 pi).
// The angles j*theta grow as the evaluators form them.
double trigIntegral(const Dimension& d)
{
    const double argLower = harmonicAngle(d, d.XLower);
    const double argUpper = harmonicAngle(d, d.XUpper);
    double lower = checked(argLower * coeff(d, 0));
    double upper = checked(argUpper * coeff(d, 0));
    forEachHarmonic(d.TermCount, std::array{argLower, argUpper},
                    [&](const Harmonic& h, const std::array<double, 2>& angle) {
                        const double j = h.j;
                        lower = checked(lower - checked(std::cos(angle[0]) * coeff(d, h.k)) / j);
                        upper = checked(upper - checked(std::cos(angle[1]) * coeff(d, h.k)) / j);
                        // An odd top index: the last coefficient is a lone sine term.
                        if (!h.hasCosine)
                            return;
                        lower = checked(lower + checked(std::sin(angle[0]) * coeff(d, h.k + 1)) / j);
                        upper = checked(upper + checked(std::sin(angle[1]) * coeff(d, h.k + 1)) / j);
                    });
    return checkedDiv(checked(upper - lower), angularFrequency(d));
}

} // namespace

QString IntegralErrorText(ErrorNumber number)
{
    switch (number) {
    case ErrorNumber::Overflow:
        return QStringLiteral("overflow");
    case ErrorNumber::InvalidCall:
    case ErrorNumber::ScriptReported:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrorNumber::DivisionByZero:
        return QStringLiteral("division by zero");
    default:
        return {};
    }
}

IntegralOutcome IntegralFailure(Dimension& d, ErrorNumber number)
{
    d.ierr = errorCode(number);
    d.ScratchText = IntegralErrorText(number);
    IntegralOutcome out;
    out.message = d.ScratchText;
    out.error = number;
    return out;
}

IntegralOutcome ComputeIntegral(Dimension& d)
{
    try {
        if (d.SeriesType == kPowerSeries)
            d.IntegralValue = powerIntegral(d);
        else if (d.SeriesType == kTrigSeries)
            d.IntegralValue = trigIntegral(d);
    } catch (const RunTimeError& err) {
        return IntegralFailure(d, err.number());
    }
    d.IntegralDone = true;
    IntegralOutcome out;
    out.done = true;
    out.label = NumberText(d.IntegralValue);
    return out;
}

} // namespace vendrak
