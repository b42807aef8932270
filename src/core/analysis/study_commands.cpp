#include "core/analysis/study_commands.h"

#include "core/analysis/error_trap.h"
#include "core/analysis/extrema.h"
#include "core/analysis/point_value.h"
#include "core/analysis/roots.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

namespace vendrak {

void ReadStudySpecsFrom(Dimension& d, const StudySpecTexts& t)
{
    d.XLower = LeadingNumber(t.xlower);
    d.XUpper = LeadingNumber(t.xupper);
    d.Subintervals = LeadingInt32(t.subintervals);
    d.ErrorBound = LeadingNumber(t.error);
    d.MaxCycles = LeadingInt32(t.maxcy);
    d.DerivOrder = LeadingInt32(t.derivative);
}

ScanOutcome RootsCommand(Dimension& d, const StudySpecTexts& t, ScanControl* control)
{
    d.ScriptMath.ierr = 0;
    try {
        ReadStudySpecsFrom(d, t);
    } catch (const RunTimeError& err) {
        // Without readable study fields there is no grid to walk: the command
        // ends quietly, its list and table both empty.
        TrapError(d, err.number());
        d.RootCount = 0;
        return {};
    }
    return FindRoots(d, control);
}

ScanOutcome ExtremaCommand(Dimension& d, const StudySpecTexts& t, ScanControl* control)
{
    d.ScriptMath.ierr = 0;
    try {
        ReadStudySpecsFrom(d, t);
    } catch (const RunTimeError& err) {
        TrapError(d, err.number());
        d.MaxCount = 0;
        d.MinCount = 0;
        return {};
    }
    return FindExtrema(d, control);
}

IntegralOutcome IntegralCommand(Dimension& d, const StudySpecTexts& t)
{
    try {
        ReadStudySpecsFrom(d, t);
        return ComputeIntegral(d);
    } catch (const RunTimeError& err) {
        return IntegralFailure(d, err.number());
    }
}

QString PointValueCommand(Dimension& d, const StudySpecTexts& t, const QString& orderText,
                          const QString& pointText)
{
    d.ScriptMath.ierr = 0;
    try {
        ReadStudySpecsFrom(d, t);
    } catch (const RunTimeError& err) {
        TrapError(d, err.number());
        return {};
    }
    return PointValueText(d, orderText, pointText);
}

} // namespace vendrak
