#include "core/graph/graph_specs.h"

#include "core/study/errors.h"
#include "core/study/number_text.h"

namespace vendrak {

const QString kPlotNumberMessage =
    QStringLiteral("Cannot plot: a plot setting holds a number too large for the graph.");
const QString kStudyNumberMessage =
    QStringLiteral("Cannot plot: a study specification holds a number that cannot be used.");

PlotSetup ReadPlotSpecsFrom(const StudySettingsTexts& t, bool grid)
{
    PlotSetup plot;
    plot.WindowLX = toSingle(LeadingNumber(t.windowlx));
    plot.WindowGX = toSingle(LeadingNumber(t.windowgx));
    plot.WindowLY = toSingle(LeadingNumber(t.windowly));
    plot.WindowGY = toSingle(LeadingNumber(t.windowgy));
    plot.XOrigin = toSingle(LeadingNumber(t.xorigin));
    plot.YOrigin = toSingle(LeadingNumber(t.yorigin));
    plot.PlotStep = LeadingInt32(t.plotStep);
    plot.DivX = toSingle(LeadingNumber(t.divx));
    plot.DivY = toSingle(LeadingNumber(t.divy));
    plot.GridOn = grid;
    return plot;
}

GraphSpecs ReadGraphSpecs(const StudySettingsTexts& settings, const StudySpecTexts& studyTexts,
                          const StudySpecs& before, bool grid)
{
    GraphSpecs read;
    try {
        read.plot = ReadPlotSpecsFrom(settings, grid);
    } catch (const Error&) {
        read.problem = kPlotNumberMessage;
        return read;
    }
    read.problem = plotSettingsProblem(*read.plot, kGraphAreaWidth, kGraphAreaHeight);
    if (!read.problem.isEmpty())
        return read;
    try {
        read.study = ReadStudySpecsFrom(studyTexts, before);
    } catch (const Error&) {
        read.problem = kStudyNumberMessage;
    }
    return read;
}

} // namespace vendrak
