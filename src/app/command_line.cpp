#include "app/command_line.h"

#include "app/export_formats.h"
#include "core/figure/figure.h"

#include <QCommandLineParser>

#include <algorithm>
#include <cmath>
#include <optional>

namespace vendrak {

namespace {

// Joins the order and the point of one --value into one option value: the
// parser takes one value per option, and a negative point would otherwise be
// read as an option.
const QChar kValueJoin = QChar(0x1f);

// Everything but a file name to open: these options either need no window
// or are a usage error without --batch, which needs no display to say.
const QStringList kNoWindowWords = {
    QStringLiteral("-h"),         QStringLiteral("--help"),    QStringLiteral("-?"),
    QStringLiteral("--help-all"), QStringLiteral("-v"),        QStringLiteral("--version"),
    QStringLiteral("--help-path"), QStringLiteral("--batch"),  QStringLiteral("--roots"),
    QStringLiteral("--extrema"),  QStringLiteral("--integral"), QStringLiteral("--value"),
    QStringLiteral("--json"),     QStringLiteral("--save"),    QStringLiteral("--export-graph"),
    QStringLiteral("--verify"),   QStringLiteral("--figure"),  QStringLiteral("--size"),
    QStringLiteral("--curves"),   QStringLiteral("--fit-y")};

} // namespace

bool RunsWithoutWindow(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != u"--"; ++i)
        if (kNoWindowWords.contains(arguments[i].section(u'=', 0, 0)))
            return true;
    return false;
}

QString CommandLineHelp()
{
    return QStringLiteral(
        "Usage:\n"
        "  vendrak [FILE]\n"
        "  vendrak --batch FILE [--roots] [--extrema] [--integral] [--value ORDER X]...\n"
        "          [--export-graph OUT] [--json] [--save] [--verify]\n"
        "          [--figure OUT [--size W H] [--curves 0,1,2] [--fit-y]]\n"
        "\n"
        "Without --batch, opens the window, and FILE in it when given.\n"
        "With --batch, studies the series file FILE without a window: opens it as Open\n"
        "does (with its saved study settings, if any), runs the commands in the order\n"
        "given (roots, extrema and integral when none is given) and prints the results\n"
        "as the lines of the printed report.\n"
        "  --roots            find the roots in the study interval\n"
        "  --extrema          find the maxima and minima\n"
        "  --integral         integrate over the study interval\n"
        "  --value ORDER X    value of derivative ORDER (0: the function) at X\n"
        "  --json             print one JSON object instead of the report\n"
        "  --save             save the study (and its graph bitmap) back into FILE\n"
        "  --verify           after the report, prove every root, extremum and the\n"
        "                     integral in the study interval with ball arithmetic and\n"
        "                     check the roots and extrema listed against them\n"
        "  --export-graph OUT write the graph to OUT: PNG, SVG or PDF by its extension\n"
        "  --figure OUT       write the figure (View > Figure) to OUT: PNG, SVG or PDF by\n"
        "                     its extension, black on white, with the roots and extrema\n"
        "                     of this run's --roots, --extrema and --verify, or else\n"
        "                     those saved in FILE\n"
        "  --size W H         the figure's size: pixels for PNG (default 1600 1000),\n"
        "                     points for SVG and PDF (default 460 290)\n"
        "  --curves LIST      the orders drawn, distinct, 0 to 9 (default 0: f alone)\n"
        "  --fit-y            fit y to the curves rather than the plot window\n"
        "  -h, --help         show this help\n"
        "  -v, --version      show the version\n"
        "Roots and Extrema refuse a study interval that is empty or reversed or fewer\n"
        "than 1 subinterval. Only regular files are read and written.\n"
        "Exit status: 0 done, 2 usage error, 3 FILE cannot be read, 4 a command failed\n"
        "or the results could not be written (the other results are still printed).\n");
}

namespace {

// The figure's options, checked before any command runs: empty when they
// can be used.
QString parseFigure(const QCommandLineParser& parser, const QCommandLineOption& figure, const QCommandLineOption& size,
                    const QCommandLineOption& curves, const QCommandLineOption& fitY, BatchOptions& b)
{
    for (const QCommandLineOption* o : {&figure, &size, &curves})
        if (parser.values(*o).size() > 1)
            return QStringLiteral("--%1 is given once").arg(o->names().constFirst());
    if (!parser.isSet(figure)) {
        for (const QCommandLineOption* o : {&size, &curves, &fitY})
            if (parser.isSet(*o))
                return QStringLiteral("--%1 needs --figure").arg(o->names().constFirst());
        return {};
    }
    b.figure = parser.value(figure);
    if (b.figure.isEmpty())
        return QStringLiteral("--figure needs a file name");
    const std::optional<ExportFormat> format = ExportFormatOf(b.figure);
    if (!format)
        return QStringLiteral("--figure: %1 does not end in .png, .svg or .pdf").arg(b.figure);
    b.figureSize = DefaultFigureSize(*format);
    if (parser.isSet(size)) {
        const QStringList parts = parser.value(size).split(kValueJoin);
        bool wOk = false, hOk = false;
        const int w = parts.value(0).trimmed().toInt(&wOk), h = parts.value(1).trimmed().toInt(&hOk);
        if (parts.size() != 2 || !wOk || !hOk)
            return QStringLiteral("--size needs a whole width and height, not \"%1\"").arg(parts.join(u' '));
        b.figureSize = QSize(w, h);
        if (const QString why = FigureSizeProblem(*format, b.figureSize); !why.isEmpty())
            return QStringLiteral("--size: ") + why;
    }
    if (parser.isSet(curves)) {
        b.figureCurves.clear();
        for (const QString& part : parser.value(curves).split(u',')) {
            bool ok = false;
            const int order = part.trimmed().toInt(&ok);
            if (!ok || order < 0 || order > kFigureMaxOrder)
                return QStringLiteral("--curves needs orders from 0 to %1, not \"%2\"").arg(kFigureMaxOrder).arg(part);
            if (std::find(b.figureCurves.begin(), b.figureCurves.end(), order) != b.figureCurves.end())
                return QStringLiteral("--curves names order %1 twice").arg(order);
            b.figureCurves.push_back(order);
        }
    }
    b.figureFitY = parser.isSet(fitY);
    return {};
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine c;
    QStringList args;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == u"--value") {
            if (i + 2 >= arguments.size()) {
                c.mode = CommandLine::Mode::UsageError;
                c.error = QStringLiteral("--value needs an order and a point");
                return c;
            }
            args << QStringLiteral("--value=") + arguments[i + 1] + kValueJoin + arguments[i + 2];
            i += 2;
        } else if (arguments[i] == u"--size") {
            if (i + 2 >= arguments.size()) {
                c.mode = CommandLine::Mode::UsageError;
                c.error = QStringLiteral("--size needs a width and a height");
                return c;
            }
            args << QStringLiteral("--size=") + arguments[i + 1] + kValueJoin + arguments[i + 2];
            i += 2;
        } else {
            args << arguments[i];
        }
    }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    QCommandLineOption helpPath(QStringLiteral("help-path"));
    helpPath.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption batch(QStringLiteral("batch"));
    const QCommandLineOption roots(QStringLiteral("roots"));
    const QCommandLineOption extrema(QStringLiteral("extrema"));
    const QCommandLineOption integral(QStringLiteral("integral"));
    const QCommandLineOption value(QStringLiteral("value"), {}, QStringLiteral("ORDER X"));
    const QCommandLineOption exportGraphOption(QStringLiteral("export-graph"), {}, QStringLiteral("OUT"));
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption save(QStringLiteral("save"));
    const QCommandLineOption verify(QStringLiteral("verify"));
    const QCommandLineOption figure(QStringLiteral("figure"), {}, QStringLiteral("OUT"));
    const QCommandLineOption size(QStringLiteral("size"), {}, QStringLiteral("W H"));
    const QCommandLineOption curves(QStringLiteral("curves"), {}, QStringLiteral("LIST"));
    const QCommandLineOption fitY(QStringLiteral("fit-y"));
    parser.addOptions({help, version, helpPath, batch, roots, extrema, integral, value, exportGraphOption,
                       json, save, verify, figure, size, curves, fitY});
    auto usage = [&c](const QString& why) {
        c.mode = CommandLine::Mode::UsageError;
        c.error = why;
        return c;
    };
    if (!parser.parse(args))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        c.mode = CommandLine::Mode::Help;
        return c;
    }
    if (parser.isSet(version)) {
        c.mode = CommandLine::Mode::Version;
        return c;
    }
    if (parser.isSet(helpPath)) {
        c.mode = CommandLine::Mode::HelpPath;
        return c;
    }
    const QStringList files = parser.positionalArguments();
    if (!parser.isSet(batch)) {
        for (const QCommandLineOption* o : {&roots, &extrema, &integral, &value, &exportGraphOption, &json, &save,
                                            &verify, &figure, &size, &curves, &fitY})
            if (parser.isSet(*o))
                return usage(QStringLiteral("--%1 needs --batch").arg(o->names().constFirst()));
        c.file = files.value(0);
        return c;
    }
    if (files.size() != 1)
        return usage(files.isEmpty() ? QStringLiteral("--batch needs a series file")
                                     : QStringLiteral("--batch takes one series file, not %1").arg(files.size()));
    c.mode = CommandLine::Mode::Batch;
    BatchOptions& b = c.batch;
    b.file = files.constFirst();
    b.json = parser.isSet(json);
    b.save = parser.isSet(save);
    b.verify = parser.isSet(verify);
    const QStringList exports = parser.values(exportGraphOption);
    if (exports.size() > 1)
        return usage(QStringLiteral("--export-graph is given once"));
    b.exportGraph = exports.value(0);
    if (parser.isSet(exportGraphOption) && b.exportGraph.isEmpty())
        return usage(QStringLiteral("--export-graph needs a file name"));
    // Known before any command runs, so nothing is computed for an export
    // that cannot be made.
    if (!b.exportGraph.isEmpty() && !ExportFormatOf(b.exportGraph))
        return usage(QStringLiteral("--export-graph: %1 does not end in .png, .svg or .pdf").arg(b.exportGraph));
    if (const QString why = parseFigure(parser, figure, size, curves, fitY, b); !why.isEmpty())
        return usage(why);
    // optionNames() keeps the order of the command line, repeats included.
    const QStringList values = parser.values(value);
    qsizetype nextValue = 0;
    for (const QString& name : parser.optionNames()) {
        if (name == u"roots")
            b.steps.push_back({BatchStep::Kind::Roots, {}, {}});
        else if (name == u"extrema")
            b.steps.push_back({BatchStep::Kind::Extrema, {}, {}});
        else if (name == u"integral")
            b.steps.push_back({BatchStep::Kind::Integral, {}, {}});
        else if (name == u"value") {
            const QStringList parts = values.value(nextValue++).split(kValueJoin);
            if (parts.size() != 2)
                return usage(QStringLiteral("--value needs an order and a point"));
            bool wholeOk = false;
            bool numberOk = false;
            const int order = parts[0].trimmed().toInt(&wholeOk);
            const double point = parts[1].trimmed().toDouble(&numberOk);
            // "nan" and "inf" read as numbers but are no point to evaluate at.
            numberOk = std::isfinite(point) && numberOk;
            if (!wholeOk)
                return usage(QStringLiteral("--value needs a whole order, not \"%1\"").arg(parts[0]));
            if (!numberOk)
                return usage(QStringLiteral("--value needs a number for the point, not \"%1\"").arg(parts[1]));
            b.steps.push_back({BatchStep::Kind::Value, parts[0], parts[1], order, point});
        }
    }
    if (b.steps.empty())
        b.steps = {{BatchStep::Kind::Roots, {}, {}}, {BatchStep::Kind::Extrema, {}, {}},
                   {BatchStep::Kind::Integral, {}, {}}};
    return c;
}

bool TakesPictures(const BatchOptions& options)
{
    return options.save || !options.exportGraph.isEmpty() || !options.figure.isEmpty();
}

} // namespace vendrak
