#include "core/series/study_texts.h"

#include "core/series/evaluators.h"
#include "core/series/series_terms.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"
#include "core/study/whole_file.h"

#include <QDir>

namespace vendrak {

SeriesDescriptionTexts DescribeSeries(const Series& series)
{
    SeriesDescriptionTexts s;
    if (series.Kind == SeriesKind::Trigonometric) {
        s.type = QStringLiteral("Trig");
        s.termCaption = QStringLiteral("# of terms:");
        s.periodShown = true;
        s.period = series.PeriodText == u"*" ? QStringLiteral("2π") : series.PeriodText;
    } else {
        s.type = QStringLiteral("Power");
        s.termCaption = QStringLiteral("Degree:");
    }
    s.xlvalid = NumberText(series.XLvalid);
    s.xuvalid = NumberText(series.XUvalid);
    s.expansion = NumberText(series.Centre);
    s.terms = NumberText(ShownTermCount(series));
    return s;
}

StudySettingsTexts StartUpSettings()
{
    return {QStringLiteral("-8"),  QStringLiteral("8"),   QStringLiteral("256"), QStringLiteral(".01"),
            QStringLiteral("20"),  QStringLiteral("-20"), QStringLiteral("20"),  QStringLiteral("-15"),
            QStringLiteral("15"),  QStringLiteral("1"),   QStringLiteral("0"),   QStringLiteral("0"),
            QStringLiteral("1"),   QStringLiteral("1")};
}

StudySettingsTexts OpenedSettings(const Dimension& d, StudySettingsTexts t)
{
    t.xlower = t.windowlx = NumberText(d.series.XLvalid);
    t.xupper = t.windowgx = NumberText(d.series.XUvalid);
    if (!d.window.StudyLoaded)
        return t;
    t.xlower = SettingsText(d.study.XLower);
    t.xupper = SettingsText(d.study.XUpper);
    t.subintervals = SettingsText(d.study.Subintervals);
    t.error = SettingsText(d.study.ErrorBound);
    t.maxcy = SettingsText(d.study.MaxCycles);
    t.windowlx = SettingsText(d.plot.WindowLX);
    t.windowgx = SettingsText(d.plot.WindowGX);
    t.windowly = SettingsText(d.plot.WindowLY);
    t.windowgy = SettingsText(d.plot.WindowGY);
    t.xorigin = SettingsText(d.plot.XOrigin);
    t.yorigin = SettingsText(d.plot.YOrigin);
    t.plotStep = SettingsText(d.plot.PlotStep);
    t.divx = SettingsText(d.plot.DivX);
    t.divy = SettingsText(d.plot.DivY);
    return t;
}

} // namespace vendrak
