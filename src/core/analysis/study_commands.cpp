#include "core/analysis/study_commands.h"

#include "core/analysis/error_trap.h"
#include "core/analysis/extrema.h"
#include "core/analysis/point_value.h"
#include "core/analysis/roots.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

namespace vendrak {

void ReadStudySpecsFrom(StudySpecs& study, const StudySpecTexts& t)
{
    study.XLower = LeadingNumber(t.xlower);
    study.XUpper = LeadingNumber(t.xupper);
    study.Subintervals = LeadingInt32(t.subintervals);
    study.ErrorBound = LeadingNumber(t.error);
    study.MaxCycles = LeadingInt32(t.maxcy);
    study.DerivOrder = LeadingInt32(t.derivative);
}

namespace {

// Without readable study fields there is no grid to walk: the command ends
// quietly, its list and table both empty.
template <class Find, class Empty>
ScanOutcome scanCommand(Dimension& d, const StudySpecTexts& t, ScanControl* control, Find&& find, Empty&& empty)
{
    d.errors.ScriptMath.ierr = 0;
    try {
        ReadStudySpecsFrom(d.study, t);
    } catch (const Error& err) {
        TrapError(d.errors, err.number());
        empty(d.results);
        return {};
    }
    return find(d.series, d.study, d.results, d.errors, control);
}

} // namespace

ScanOutcome RootsCommand(Dimension& d, const StudySpecTexts& t, ScanControl* control)
{
    return scanCommand(d, t, control, FindRoots, [](Results& r) { r.RootCount = 0; });
}

ScanOutcome ExtremaCommand(Dimension& d, const StudySpecTexts& t, ScanControl* control)
{
    return scanCommand(d, t, control, FindExtrema, [](Results& r) { r.MaxCount = r.MinCount = 0; });
}

IntegralOutcome IntegralCommand(Dimension& d, const StudySpecTexts& t)
{
    IntegralOutcome out;
    try {
        ReadStudySpecsFrom(d.study, t);
        out = ComputeIntegral(d.series, d.study);
    } catch (const Error& err) {
        out = IntegralFailure(err.number());
    }
    if (out.error) {
        d.errors.ierr = errorCode(*out.error);
    } else {
        d.results.IntegralValue = out.value;
        d.results.IntegralDone = true;
    }
    return out;
}

PointValue PointValueCommand(Dimension& d, const StudySpecTexts& t, const QString& orderText,
                             const QString& pointText)
{
    d.errors.ScriptMath.ierr = 0;
    try {
        ReadStudySpecsFrom(d.study, t);
    } catch (const Error& err) {
        TrapError(d.errors, err.number());
        return {};
    }
    return PointValueText(d.series, d.errors, orderText, pointText);
}

} // namespace vendrak
