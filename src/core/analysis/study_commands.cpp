#include "core/analysis/study_commands.h"

#include "core/analysis/extrema.h"
#include "core/analysis/point_value.h"
#include "core/analysis/roots.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

namespace vendrak {

StudySpecs ReadStudySpecsFrom(const StudySpecTexts& t, const StudySpecs& before)
{
    StudySpecs study = before;
    study.XLower = LeadingNumber(t.xlower);
    study.XUpper = LeadingNumber(t.xupper);
    study.Subintervals = LeadingInt32(t.subintervals);
    study.ErrorBound = LeadingNumber(t.error);
    study.MaxCycles = LeadingInt32(t.maxcy);
    study.DerivOrder = LeadingInt32(t.derivative);
    return study;
}

namespace {

// Without readable study fields there is no grid to walk: the command ends
// quietly, its list and table both empty.
template <class Find>
ScanOutcome scanCommand(ScanKind kind, const Series& series, const StudySpecs& before, const StudySpecTexts& t,
                        ScanControl* control, Find&& find)
{
    StudySpecs study;
    try {
        study = ReadStudySpecsFrom(t, before);
    } catch (const Error& err) {
        ScanOutcome out;
        out.kind = kind;
        out.trapped = err.number();
        return out;
    }
    ScanOutcome out = find(series, study, control);
    out.study = study;
    return out;
}

} // namespace

ScanOutcome RootsCommand(const Series& series, const StudySpecs& before, const StudySpecTexts& t,
                         ScanControl* control)
{
    return scanCommand(ScanKind::Roots, series, before, t, control, FindRoots);
}

ScanOutcome ExtremaCommand(const Series& series, const StudySpecs& before, const StudySpecTexts& t,
                           ScanControl* control)
{
    return scanCommand(ScanKind::Extrema, series, before, t, control, FindExtrema);
}

IntegralOutcome IntegralCommand(const Series& series, const StudySpecs& before, const StudySpecTexts& t)
{
    StudySpecs study;
    try {
        study = ReadStudySpecsFrom(t, before);
    } catch (const Error& err) {
        return {std::nullopt, err};
    }
    return {study, ComputeIntegral(series, study)};
}

Results WithIntegral(const Results& before, const IntegralOutcome& integral)
{
    Results r = before;
    if (integral.value) {
        r.IntegralValue = *integral.value;
        r.IntegralDone = true;
    }
    return r;
}

PointValue PointValueCommand(const Series& series, const StudySpecs& before, const StudySpecTexts& t,
                             const QString& orderText, const QString& pointText)
{
    StudySpecs study;
    try {
        study = ReadStudySpecsFrom(t, before);
    } catch (const Error& err) {
        PointValue out;
        out.error = err.number();
        return out;
    }
    PointValue out = PointValueText(series, orderText, pointText);
    out.study = study;
    return out;
}

} // namespace vendrak
