#include "core/analysis/integral.h"

#include "core/series/series_terms.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <cmath>

namespace vendrak {

namespace {

// F(t) = sum C[k] t^(k+1)/(k+1) at both arguments together, by Horner's rule
// from the top.
double powerIntegral(const Series& s, const StudySpecs& study)
{
    const double t1 = checked(study.XLower - s.Centre);
    const double t2 = checked(study.XUpper - s.Centre);
    double lower = 0;
    double upper = 0;
    for (long k = s.TermCount; k >= 0; --k) {
        const double c = checked(coeff(s, k) / static_cast<double>(k + 1));
        lower = checked(checked(c + lower) * t1);
        upper = checked(checked(c + upper) * t2);
    }
    return checked(upper - lower);
}

// The integral in theta = 2 pi (x - centre) / P, scaled back by P / (2 pi).
// The angles j*theta grow as the evaluators form them.
double trigIntegral(const Series& s, const StudySpecs& study)
{
    const double argLower = harmonicAngle(s, study.XLower);
    const double argUpper = harmonicAngle(s, study.XUpper);
    double lower = checked(argLower * coeff(s, 0));
    double upper = checked(argUpper * coeff(s, 0));
    forEachHarmonic(s.TermCount, std::array{argLower, argUpper},
                    [&](const Harmonic& h, const std::array<double, 2>& angle) {
                        const double j = h.j;
                        lower = checked(lower - checked(std::cos(angle[0]) * coeff(s, h.k)) / j);
                        upper = checked(upper - checked(std::cos(angle[1]) * coeff(s, h.k)) / j);
                        // An odd top index: the last coefficient is a lone sine term.
                        if (!h.hasCosine)
                            return;
                        lower = checked(lower + checked(std::sin(angle[0]) * coeff(s, h.k + 1)) / j);
                        upper = checked(upper + checked(std::sin(angle[1]) * coeff(s, h.k + 1)) / j);
                    });
    return checkedDiv(checked(upper - lower), angularFrequency(s));
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

Outcome<double> ComputeIntegral(const Series& s, const StudySpecs& study)
{
    try {
        return s.Kind == SeriesKind::Power ? powerIntegral(s, study) : trigIntegral(s, study);
    } catch (const Error& err) {
        return err;
    }
}

QString IntegralOutcome::label() const { return value ? NumberText(*value) : QString(); }

QString IntegralOutcome::message() const { return value ? QString() : IntegralErrorText(value.error().number()); }

} // namespace vendrak
