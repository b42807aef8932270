#include "core/analysis/integral.h"

#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <cmath>

namespace vendrak {

namespace {

constexpr int kTrig = 0;
constexpr int kPower = 1;

double coeff(const Dimension& d, long k)
{
    if (k < 0 || k >= static_cast<long>(d.Coeffs.size()))
        raise(ErrSubscript);
    return d.Coeffs[static_cast<size_t>(k)];
}

double twoPi() { return std::atan(1.0) * 8; }

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
// The angles j*theta grow by repeated addition, as the evaluators form them.
double trigIntegral(const Dimension& d)
{
    const double argLower = checkedDiv(checked(checked(checked(d.XLower - d.Centre) * std::atan(1.0)) * 8), d.Period);
    const double argUpper = checkedDiv(checked(checked(checked(d.XUpper - d.Centre) * std::atan(1.0)) * 8), d.Period);
    double angleLower = 0;
    double angleUpper = 0;
    double j = 0;
    double lower = checked(argLower * coeff(d, 0));
    double upper = checked(argUpper * coeff(d, 0));
    const long top = d.TermCount;
    long i = 1;
    for (; i <= top - 1; i += 2) {
        angleLower = checked(angleLower + argLower);
        angleUpper = checked(angleUpper + argUpper);
        j += 1;
        lower = checked(lower - checked(std::cos(angleLower) * coeff(d, i)) / j);
        upper = checked(upper - checked(std::cos(angleUpper) * coeff(d, i)) / j);
        lower = checked(lower + checked(std::sin(angleLower) * coeff(d, i + 1)) / j);
        upper = checked(upper + checked(std::sin(angleUpper) * coeff(d, i + 1)) / j);
    }
    if (i <= top) {
        // An odd top index: the last coefficient is a lone sine term.
        angleLower = checked(angleLower + argLower);
        angleUpper = checked(angleUpper + argUpper);
        j += 1;
        lower = checked(lower - checked(std::cos(angleLower) * coeff(d, i)) / j);
        upper = checked(upper - checked(std::cos(angleUpper) * coeff(d, i)) / j);
    }
    return checkedDiv(checked(upper - lower), checkedDiv(twoPi(), d.Period));
}

} // namespace

QString IntegralErrorText(int number)
{
    switch (number) {
    case ErrOverflow:
        return QStringLiteral("overflow");
    case ErrInvalidCall:
    case ErrScriptReported:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrDivisionByZero:
        return QStringLiteral("division by zero");
    default:
        return {};
    }
}

IntegralOutcome IntegralFailure(Dimension& d, int number)
{
    d.ierr = number;
    d.ScratchText = IntegralErrorText(number);
    IntegralOutcome out;
    out.message = d.ScratchText;
    return out;
}

IntegralOutcome ComputeIntegral(Dimension& d)
{
    try {
        if (d.SeriesType == kPower)
            d.IntegralValue = powerIntegral(d);
        else if (d.SeriesType == kTrig)
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
