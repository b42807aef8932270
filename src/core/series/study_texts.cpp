#include "core/series/study_texts.h"

#include "core/analysis/extrema.h"
#include "core/analysis/result_texts.h"
#include "core/series/evaluators.h"
#include "core/series/series_terms.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"

#include <QDir>
#include <QImageWriter>
#include <QSaveFile>

namespace vendrak {

SeriesDescriptionTexts DescribeSeries(const Dimension& d)
{
    SeriesDescriptionTexts s;
    if (d.SeriesType == kTrigSeries) {
        s.type = QStringLiteral("Trig");
        s.termCaption = QStringLiteral("# of terms:");
        s.periodShown = true;
        s.period = d.PeriodText == u"*" ? QStringLiteral("2π") : d.PeriodText;
    } else {
        s.type = QStringLiteral("Power");
        s.termCaption = QStringLiteral("Degree:");
    }
    s.xlvalid = NumberText(d.XLvalid);
    s.xuvalid = NumberText(d.XUvalid);
    s.expansion = NumberText(d.Centre);
    s.terms = NumberText(ShownTermCount(d));
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
    t.xlower = t.windowlx = NumberText(d.XLvalid);
    t.xupper = t.windowgx = NumberText(d.XUvalid);
    if (!d.StudyLoaded)
        return t;
    t.xlower = SettingsText(d.XLower);
    t.xupper = SettingsText(d.XUpper);
    t.subintervals = SettingsText(d.Subintervals);
    t.error = SettingsText(d.ErrorBound);
    t.maxcy = SettingsText(d.MaxCycles);
    t.windowlx = SettingsText(d.WindowLX);
    t.windowgx = SettingsText(d.WindowGX);
    t.windowly = SettingsText(d.WindowLY);
    t.windowgy = SettingsText(d.WindowGY);
    t.xorigin = SettingsText(d.XOrigin);
    t.yorigin = SettingsText(d.YOrigin);
    t.plotStep = SettingsText(d.PlotStep);
    t.divx = SettingsText(d.DivX);
    t.divy = SettingsText(d.DivY);
    return t;
}

ResultTexts RestoredResults(Dimension& d)
{
    ResultTexts r;
    if (d.IntegralDone)
        r.integral = NumberText(d.IntegralValue);
    if (d.RootCount != 0) {
        r.rootsLabel = RootCountText(d.RootCount);
        for (int i = 1; i <= d.RootCount; ++i)
            r.roots << NumberText(d.Roots[static_cast<size_t>(i)]);
    }
    if (d.MaxCount + d.MinCount + d.PossibleRootCount != 0) {
        d.ScratchText = ExtremaSummaryText(d.MaxCount, d.MinCount, d.PossibleRootCount);
        r.extremaLabel = d.ScratchText;
        for (int i = 1; i <= d.MinCount; ++i)
            r.extrema << RestoredExtremumEntryText(d, ExtremumKind::Min, d.Minima[static_cast<size_t>(i)]);
        for (int i = 1; i <= d.MaxCount; ++i)
            r.extrema << RestoredExtremumEntryText(d, ExtremumKind::Max, d.Maxima[static_cast<size_t>(i)]);
    }
    return r;
}

SaveReport SaveStudyFiles(const Dimension& d, const QImage& graph, const StudySettingsTexts& texts)
{
    SaveReport report;
    const WriteResult written = WriteSeriesFile(d, d.FileName, texts);
    if (!written.ok) {
        // The bitmap belongs to the file: one that was refused or failed
        // leaves the earlier bitmap beside it, not a picture of another study.
        report.warnings << written.message;
        return report;
    }
    report.studySaved = true;
    if (!graph.isNull()) {
        const QString bitmap = d.FileName + QStringLiteral(".bmp");
        QSaveFile out(bitmap);
        bool ok = out.open(QIODevice::WriteOnly);
        if (ok) {
            QImageWriter writer(&out, "BMP");
            // commit() alone would not notice buffered bytes that never
            // reached the disk, and would replace the earlier bitmap.
            ok = writer.write(graph) && out.flush() && out.commit();
        }
        // The study itself is saved; only its picture is not.
        if (!ok)
            report.warnings << QStringLiteral("The graph could not be saved as %1: %2")
                                   .arg(QDir::toNativeSeparators(bitmap), out.errorString());
    }
    return report;
}

} // namespace vendrak
