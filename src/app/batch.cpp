#include "app/batch.h"

#include "app/keep_scan.h"
#include "core/analysis/point_value.h"
#include "core/analysis/result_texts.h"
#include "core/analysis/study_commands.h"
#include "core/graph/graph_specs.h"
#include "core/report/report_body.h"
#include "core/series/evaluators.h"
#include "core/series/series_file.h"
#include "core/series/study_texts.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"
#include "core/study/whole_file.h"
#include "core/verify/verify.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace vendrak {

namespace {

bool printOut(const QString& text) { return WriteStandardOutput(text.toUtf8()); }

void printError(const QString& text)
{
    const QByteArray bytes = (QStringLiteral("vendrak: ") + text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

// What the window shows of the results, kept as the window's commands change
// it: a scan that ends early clears its list but leaves its label.
struct Shown {
    ResultTexts results;
    struct Value {
        int order = 0;
        double x = 0;
        QString label;
        std::optional<double> value;
    };
    std::vector<Value> values;
};

QJsonValue evaluated(const Series& series, double x)
{
    try {
        return EvalSeries(series, x);
    } catch (const Error&) {
        return QJsonValue::Null;
    }
}

QJsonArray pairs(const Series& series, const std::vector<double>& found)
{
    QJsonArray out;
    for (double x : found)
        out.append(QJsonArray{x, evaluated(series, x)});
    return out;
}

QJsonObject toJson(const Dimension& d, const StudySettingsTexts& settings, const Shown& shown)
{
    const SeriesDescriptionTexts series = DescribeSeries(d.series);
    QJsonObject s{{QStringLiteral("kind"), d.series.Kind == SeriesKind::Trigonometric ? QStringLiteral("trigonometric") : QStringLiteral("power")},
                  {QStringLiteral("label"), series.type},
                  {QStringLiteral("centre"), d.series.Centre},
                  {QStringLiteral("validity"), QJsonArray{d.series.XLvalid, d.series.XUvalid}}};
    if (d.series.Kind == SeriesKind::Trigonometric) {
        s.insert(QStringLiteral("terms"), ShownTermCount(d.series));
        s.insert(QStringLiteral("period"), d.series.Period);
        s.insert(QStringLiteral("periodLabel"), series.period);
    } else {
        s.insert(QStringLiteral("degree"), ShownTermCount(d.series));
    }
    QJsonArray rootsX;
    for (double x : d.results.Roots)
        rootsX.append(x);
    QJsonArray values;
    for (const Shown::Value& v : shown.values) {
        const QJsonValue number = v.value ? QJsonValue(*v.value) : QJsonValue(QJsonValue::Null);
        values.append(QJsonObject{{QStringLiteral("order"), v.order},
                                  {QStringLiteral("x"), v.x},
                                  {QStringLiteral("value"), number},
                                  {QStringLiteral("label"), v.label}});
    }
    const QJsonValue integral =
        d.results.IntegralDone ? QJsonValue(QJsonObject{{QStringLiteral("value"), d.results.IntegralValue},
                                                {QStringLiteral("label"), shown.results.integral}})
                       : QJsonValue(QJsonValue::Null);
    return QJsonObject{
        {QStringLiteral("file"), d.window.FileName},
        {QStringLiteral("series"), s},
        {QStringLiteral("interval"), QJsonArray{d.study.XLower, d.study.XUpper}},
        {QStringLiteral("intervalTexts"), QJsonArray{settings.xlower, settings.xupper}},
        {QStringLiteral("subintervals"), d.study.Subintervals},
        {QStringLiteral("errorBound"), d.study.ErrorBound},
        {QStringLiteral("iterations"), d.study.MaxCycles},
        {QStringLiteral("roots"), QJsonObject{{QStringLiteral("label"), shown.results.rootsLabel},
                                              {QStringLiteral("entries"), QJsonArray::fromStringList(shown.results.roots)},
                                              {QStringLiteral("x"), rootsX}}},
        {QStringLiteral("extrema"), QJsonObject{{QStringLiteral("label"), shown.results.extremaLabel},
                                                {QStringLiteral("entries"), QJsonArray::fromStringList(shown.results.extrema)}}},
        {QStringLiteral("maxima"), pairs(d.series, d.results.Maxima)},
        {QStringLiteral("minima"), pairs(d.series, d.results.Minima)},
        {QStringLiteral("possibleRoots"), d.results.PossibleRootCount},
        {QStringLiteral("integral"), integral},
        {QStringLiteral("values"), values},
    };
}

QString reportText(const Dimension& d, const StudySettingsTexts& t, const Shown& shown)
{
    QString out;
    if (d.window.GraphShown)
        out += ReportTitle(d.study.DerivOrder) + u'\n';
    const ReportTexts texts{d.window.FileName, t.xlower, t.xupper,  t.subintervals, t.maxcy,    t.error,    t.xorigin,
                            t.yorigin,  t.divx,   t.divy,    t.windowlx,     t.windowgx, t.windowly, t.windowgy};
    for (const ReportLine& line : ReportBody(d.series, d.study, d.results, texts))
        out += line.text + line.redTail + u'\n';
    if (!shown.values.empty()) {
        out += QStringLiteral("\nVALUES:\n");
        for (const Shown::Value& v : shown.values)
            out += QStringLiteral("ORDER %1 AT %2: %3\n")
                       .arg(NumberText(v.order), NumberText(v.x), v.label.isEmpty() ? QStringLiteral("none") : v.label);
    }
    return out;
}

// The window scans whatever the fields hold, and an empty or reversed
// interval finds nothing; with no one to see the fields, a batch run says so
// instead of reporting "0 roots". Fields that cannot be read at all are left
// to the command, which reports them.
QString unscannable(const StudySpecTexts& t)
{
    StudySpecs s;
    try {
        s = ReadStudySpecsFrom(t, s);
    } catch (const Error&) {
        return {};
    }
    if (!(s.XLower < s.XUpper))
        return QStringLiteral("the study interval is empty or reversed: its lower limit %1 is not below its upper limit %2")
            .arg(NumberText(s.XLower), NumberText(s.XUpper));
    if (s.Subintervals < 1)
        return QStringLiteral("the number of subintervals is %1; it must be at least 1").arg(s.Subintervals);
    return {};
}

// Why a scan ended before walking its grid, from the error it left.
QString scanStopped(const ScanOutcome& scan, const QString& what)
{
    if (scan.trapped == ErrorNumber::Subscript)
        return QStringLiteral("%1: %2").arg(what, TableFullText(scan));
    if (scan.trapped)
        return QStringLiteral("%1: stopped early: %2").arg(what, errorDescription(*scan.trapped));
    return QStringLiteral("%1: stopped early: the grid cannot advance over the interval").arg(what);
}

QJsonArray spansJson(const std::vector<Span>& spans)
{
    QJsonArray out;
    for (const Span& s : spans)
        out.append(QJsonArray{s.lo, s.hi});
    return out;
}

QJsonArray numbersJson(const std::vector<double>& xs)
{
    QJsonArray out;
    for (const double x : xs)
        out.append(x);
    return out;
}

QJsonObject verifiedJson(const VerifyReport& r, const ScanCheck& c)
{
    QJsonArray minima, maxima, minValues, maxValues;
    for (const ProvenExtremum& e : r.extrema) {
        (e.maximum ? maxima : minima).append(QJsonArray{e.x.lo, e.x.hi});
        (e.maximum ? maxValues : minValues).append(QJsonArray{e.value.lo, e.value.hi});
    }
    QJsonObject roots{{QStringLiteral("proven"), spansJson(r.roots)},
                      {QStringLiteral("undecided"), spansJson(r.rootsUndecided)},
                      {QStringLiteral("complete"), r.rootsComplete}};
    QJsonObject extrema{{QStringLiteral("minima"), minima},
                        {QStringLiteral("maxima"), maxima},
                        {QStringLiteral("values"), QJsonObject{{QStringLiteral("minima"), minValues},
                                                               {QStringLiteral("maxima"), maxValues}}},
                        {QStringLiteral("undecided"), spansJson(r.extremaUndecided)},
                        {QStringLiteral("complete"), r.extremaComplete}};
    if (!r.rootsMessage.isEmpty())
        roots.insert(QStringLiteral("message"), r.rootsMessage);
    if (!r.extremaMessage.isEmpty())
        extrema.insert(QStringLiteral("message"), r.extremaMessage);
    QJsonObject out{
        {QStringLiteral("interval"), QJsonArray{r.lower, r.upper}},
        {QStringLiteral("roots"), roots},
        {QStringLiteral("extrema"), extrema},
        {QStringLiteral("integral"),
         r.integralDone ? QJsonValue(QJsonObject{{QStringLiteral("value"), r.integral},
                                                 {QStringLiteral("radius"), r.integralRadius}})
                        : QJsonValue(QJsonValue::Null)},
        {QStringLiteral("scan"), QJsonObject{{QStringLiteral("rootsMissed"), numbersJson(c.rootsMissed)},
                                             {QStringLiteral("rootsWrong"), numbersJson(c.rootsWrong)},
                                             {QStringLiteral("extremaMissed"), numbersJson(c.extremaMissed)},
                                             {QStringLiteral("extremaWrong"), numbersJson(c.extremaWrong)}}},
        {QStringLiteral("summary"), QJsonArray::fromStringList(c.summary)}};
    if (!r.message.isEmpty())
        out.insert(QStringLiteral("message"), r.message);
    return out;
}

// Verify after the steps: the scans held against the proof are those this
// run made, or ones made for the purpose on a copy, so that nothing the
// report or the saved study shows changes.
struct Verified {
    VerifyReport report;
    ScanLists lists;
    ScanCheck check;
};

Verified verifyStudy(const Dimension& d, const StudySpecTexts& texts, const std::vector<BatchStep>& steps)
{
    auto ran = [&steps](BatchStep::Kind kind) {
        return std::any_of(steps.begin(), steps.end(), [kind](const BatchStep& s) { return s.kind == kind; });
    };
    Results scanned = d.results;
    if (!ran(BatchStep::Kind::Roots))
        scanned = WithScan(scanned, RootsCommand(d.series, d.study, texts));
    if (!ran(BatchStep::Kind::Extrema))
        scanned = WithScan(scanned, ExtremaCommand(d.series, d.study, texts));
    Verified v;
    v.lists = ScanListsOf(scanned);
    v.report = Verify(d.series, d.study.XLower, d.study.XUpper, d.study.ErrorBound);
    v.check = CheckScans(v.lists, v.report);
    return v;
}

} // namespace

int RunBatch(const BatchOptions& options, BatchPictures* pictures)
{
    // The program without the graphical side hands such runs on before
    // they get here.
    if (TakesPictures(options) && !pictures) {
        printError(QStringLiteral("this program does not draw pictures"));
        return kExitCommandFailed;
    }
    Dimension d;
    d.initialise();
    const QString name = QFileInfo(options.file).absoluteFilePath();
    Outcome<SeriesFile> read = ReadSeriesFile(d, name);
    if (!read) {
        const Error& e = read.error();
        printError(IsMultiVariable(e) ? name + QStringLiteral(": ") + e.message() : e.message());
        return kExitUnreadable;
    }
    d = Opened(std::move(d), std::move(*read));
    d.window.FileName = name;
    d.window.RestoringStudy = false;

    const StudySettingsTexts settings = OpenedSettings(d, StartUpSettings());
    const StudySpecTexts studyTexts{settings.xlower, settings.xupper, settings.subintervals,
                               settings.error,  settings.maxcy,  QStringLiteral("Function")};
    Shown shown;
    shown.results = RestoredResults(d.series, d.results);

    // Open plots at once; the picture is what Save and the export take.
    GraphOptions graphOptions;
    graphOptions.divxText = settings.divx;
    graphOptions.divyText = settings.divy;
    const GraphSpecs graphSpecs = ReadGraphSpecs(settings, studyTexts, d.study, true);
    if (graphSpecs.plot)
        d.plot = *graphSpecs.plot;
    if (graphSpecs.study)
        d.study = *graphSpecs.study;
    BatchPictures::Graph graph;
    graph.problem = graphSpecs.problem;
    if (graph.problem.isEmpty()) {
        // Settings the graph area can draw always give a graph: only
        // the picture itself is left to make, and only Save and the exports
        // take it. Nothing else of the drawing outlives the first step.
        if (TakesPictures(options)) {
            graph = pictures->drawGraph(d, graphOptions);
        } else {
            graph.work.PlottedOrder = d.study.DerivOrder;
        }
    }
    d.errors.ierr = graph.ierr;
    d.window.GraphShown = graph.problem.isEmpty();

    bool failed = false;
    auto fail = [&failed](const QString& why) {
        printError(why);
        failed = true;
    };
    for (const BatchStep& step : options.steps) {
        d.errors.ierr = 0;
        switch (step.kind) {
        case BatchStep::Kind::Roots:
        case BatchStep::Kind::Extrema: {
            const bool roots = step.kind == BatchStep::Kind::Roots;
            const QString what = roots ? QStringLiteral("roots") : QStringLiteral("extrema");
            if (const QString why = unscannable(studyTexts); !why.isEmpty()) {
                // Results restored with the file belong to no scan of these fields.
                (roots ? shown.results.roots : shown.results.extrema).clear();
                (roots ? shown.results.rootsLabel : shown.results.extremaLabel).clear();
                if (roots) {
                    d.results.Roots.clear();
                } else {
                    d.results.Maxima.clear();
                    d.results.Minima.clear();
                }
                fail(what + QStringLiteral(": ") + why);
                break;
            }
            const ScanOutcome scan = roots ? RootsCommand(d.series, d.study, studyTexts)
                                           : ExtremaCommand(d.series, d.study, studyTexts);
            KeepScan(d, scan);
            (roots ? shown.results.roots : shown.results.extrema) = scan.entries;
            if (scan.completed)
                (roots ? shown.results.rootsLabel : shown.results.extremaLabel) = scan.label;
            else
                fail(scanStopped(scan, what));
            break;
        }
        case BatchStep::Kind::Integral: {
            const IntegralOutcome result = IntegralCommand(d.series, d.study, studyTexts);
            if (result.study)
                d.study = *result.study;
            d.results = WithIntegral(d.results, result);
            if (!result.value)
                d.errors.ierr = errorCode(result.value.error().number());
            if (result.done())
                shown.results.integral = result.label();
            else
                fail(QStringLiteral("integral: ") +
                     (result.message().isEmpty() ? errorDescription(static_cast<ErrorNumber>(d.errors.ierr)) : result.message()));
            break;
        }
        case BatchStep::Kind::Value: {
            Shown::Value v;
            v.order = step.orderValue;
            v.x = step.pointValue;
            // The study fields are read first, as by the window's Value=.
            d.errors.ScriptMath.ierr = 0;
            std::optional<ErrorNumber> error;
            try {
                d.study = ReadStudySpecsFrom(studyTexts, d.study);
                const PointValue value = PointValueOf(d.series, v.order, v.x);
                v.label = value.text;
                v.value = value.value;
                error = value.error;
            } catch (const Error& err) {
                error = err.number();
            }
            if (error)
                d.errors.ierr = errorCode(*error);
            if (v.label.isEmpty()) {
                QString why = v.order >= kFirstOrderTooHigh || v.order < 0
                                  ? QStringLiteral("there is no derivative of that order")
                                  : errorDescription(static_cast<ErrorNumber>(d.errors.ierr));
                fail(QStringLiteral("value of order %1 at %2: %3").arg(step.order, step.point, why));
            }
            shown.values.push_back(v);
            break;
        }
        }
    }
    // Save and export follow the commands, so the study saved holds their results.
    if ((options.save || !options.exportGraph.isEmpty()) && !graph.problem.isEmpty())
        printError(QStringLiteral("graph: ") + graph.problem);
    if (!options.exportGraph.isEmpty()) {
        const QString why = !pictures->hasGraph() ? QStringLiteral("there is no graph to export")
                                                  : pictures->exportGraph(d, *graphSpecs.study, graphOptions,
                                                                          options.exportGraph);
        if (!why.isEmpty())
            fail(QStringLiteral("export: ") + why);
    }
    if (options.save) {
        for (const QString& warning : pictures->save(d, settings))
            fail(QStringLiteral("save: ") + warning);
    }
    // The report reads the settings as read for the last command.
    bool studyRead = true;
    try {
        d.study = ReadStudySpecsFrom(studyTexts, d.study);
    } catch (const Error&) {
        studyRead = false;
    }
    std::optional<Verified> verified;
    if (options.verify) {
        if (!studyRead)
            fail(QStringLiteral("verify: the study settings cannot be read"));
        else if (verified = verifyStudy(d, studyTexts, options.steps); !verified->report.valid)
            fail(QStringLiteral("verify: ") + verified->report.message);
    }
    if (!options.figure.isEmpty()) {
        const QString why = pictures->writeFigure(options, d, graphOptions,
                                                  verified && verified->report.valid ? &verified->report : nullptr);
        if (!why.isEmpty())
            fail(QStringLiteral("figure: the figure could not be written to %1: %2").arg(options.figure, why));
    }
    // The report's title names the order plotted, as the window's does.
    d.study.DerivOrder = graph.work.PlottedOrder;
    QString output;
    if (options.json) {
        QJsonObject out = toJson(d, settings, shown);
        if (verified && verified->report.valid)
            out.insert(QStringLiteral("verified"), verifiedJson(verified->report, verified->check));
        output = QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Indented));
    } else {
        output = reportText(d, settings, shown);
        if (verified && verified->report.valid)
            output += QStringLiteral("\nVERIFIED:\n") +
                      VerifyLines(verified->lists, verified->report, verified->check).join(u'\n') + u'\n';
    }
    if (!printOut(output)) {
        printError(QStringLiteral("the results could not be written to standard output: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(errno))));
        return kExitCommandFailed;
    }
    return failed ? kExitCommandFailed : kExitOk;
}

} // namespace vendrak
