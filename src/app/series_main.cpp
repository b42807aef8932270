// vendrak-series: makes a series file from an expression, for scripts and
// for checking a series before it is opened in the window.
#include "core/builder/series_builder.h"
#include "core/study/whole_file.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

using namespace vendrak;

namespace {

constexpr int kUsage = 2;
constexpr int kFailed = 3;

const char* const kHelp =
    "Usage:\n"
    "  vendrak-series taylor EXPR [--centre C] [--degree N] [--interval A B] [-o FILE [--json]]\n"
    "  vendrak-series fourier EXPR [--period P] [--harmonics H] [--centre C] [--interval A B]\n"
    "                 [-o FILE [--json]]\n"
    "\n"
    "Writes the series file of EXPR (in x) to FILE, or to standard output.\n"
    "  --centre C       centre of the series, default 0 (Fourier: the middle of\n"
    "                   the sampled period, C - P/2 to C + P/2)\n"
    "  --degree N       highest power, 0 to 10000, default 20\n"
    "  --period P       period, a positive number or '*' for 2*pi (quote it), default '*'\n"
    "  --harmonics H    number of harmonics, 1 to 20000, default 20\n"
    "  --interval A B   where the series is meant to be used (default: the widest\n"
    "                   C-r to C+r, r at most 100, where the series as written\n"
    "                   agrees with EXPR to 1e-12 of its largest value; or the\n"
    "                   sampled period)\n"
    "  -o FILE          output file, replaced only once completely written; only a\n"
    "                   regular file (or a link to one) is written\n"
    "  --json           with -o: print on standard output one JSON object with the\n"
    "                   interval, centre, agreement (largest |series - EXPR| found\n"
    "                   on the interval, null where not finite) and scale (largest\n"
    "                   |EXPR| there); for fourier also coefficientError (bound on\n"
    "                   the written coefficients' error), coefficientErrorProven\n"
    "                   (true where that bound is proven in ball arithmetic, false\n"
    "                   where it is an estimate) and seriesError (largest\n"
    "                   difference over the period)\n"
    "Each option is given at most once. A centre or period with more digits than\n"
    "the file keeps (15) is rounded, the series made about the rounded value, and\n"
    "a note printed on standard error.\n"
    "Exit status: 0 done, 2 usage error, 3 the series could not be made or written\n"
    "(standard output included).\n";

// A number option is a constant expression, so pi/2 and -2*pi are numbers.
double number(const QString& option, const QString& text)
{
    try {
        return ConstantValue(text);
    } catch (const Error& e) {
        throw Error::usage(QStringLiteral("%1 needs a number, not \"%2\": %3").arg(option, text, e.message()));
    }
}

// The language, from the parser's own list, wrapped as the rest of the help.
QByteArray languageHelp()
{
    QString out = QStringLiteral("\nEXPR and the numbers C, P, A and B are expressions (numbers like C, P, A\n"
                                 "and B without x): + - * / ^, a product without * before a name or '(',\n"
                                 "and the names:\n ");
    int column = 1;
    const QStringList names = KnownNames().replace(QStringLiteral("(a, b)"), QStringLiteral("(a,b)")).split(QStringLiteral(", "));
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString name = names[i] + (i + 1 < names.size() ? QStringLiteral(",") : QString());
        if (column + name.size() + 1 > 78) {
            out += QStringLiteral("\n ");
            column = 1;
        }
        out += u' ' + name;
        column += static_cast<int>(name.size()) + 1;
    }
    return (out + u'\n').toUtf8();
}

int whole(const QString& option, const QString& text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok)
        throw Error::usage(QStringLiteral("%1 needs a whole number, not \"%2\"").arg(option, text));
    return v;
}

struct Options {
    QString kind, expression;
    std::optional<QString> output;
    std::optional<double> centre;
    std::optional<int> degree, harmonics;
    std::optional<QString> period;
    std::optional<Interval> interval;
    bool help = false;
    bool json = false;
};

Options parse(int argc, char** argv)
{
    Options o;
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    QStringList positional;
    // Option values are taken as they come, so "--centre -1" is a value and
    // not an option.
    auto value = [&](qsizetype& i, const QString& option) {
        if (i + 1 >= words.size())
            throw Error::usage(QStringLiteral("%1 needs a value").arg(option));
        return words[++i];
    };
    // Each option says one thing once: a second --degree is more likely a
    // slip than a wish to override the first.
    auto once = [](const auto& slot, const QString& option) {
        if (slot)
            throw Error::usage(QStringLiteral("%1 is given more than once").arg(option));
    };
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString w = words[i];
        if (w == u"--help" || w == u"-h")
            o.help = true;
        else if (w == u"--json") {
            if (o.json)
                throw Error::usage(QStringLiteral("%1 is given more than once").arg(w));
            o.json = true;
        }
        else if (w == u"--centre" || w == u"--center") {
            once(o.centre, w);
            o.centre = number(w, value(i, w));
        } else if (w == u"--degree") {
            once(o.degree, w);
            o.degree = whole(w, value(i, w));
        } else if (w == u"--harmonics") {
            once(o.harmonics, w);
            o.harmonics = whole(w, value(i, w));
        } else if (w == u"--period") {
            once(o.period, w);
            o.period = value(i, w);
            if (o.period->trimmed() != u"*")
                number(w, *o.period);
        } else if (w == u"--interval") {
            once(o.interval, w);
            const double a = number(w, value(i, w));
            o.interval = Interval{a, number(w, value(i, w))};
        } else if (w == u"-o" || w == u"--output") {
            once(o.output, w);
            o.output = value(i, w);
            // An empty name is not standard output: that is leaving -o out.
            if (o.output->isEmpty())
                throw Error::usage(QStringLiteral("%1 needs a file name").arg(w));
        }
        else if (w.startsWith(u'-') && w.size() > 1 && !w[1].isDigit() && w[1] != u'.' && positional.size() != 1)
            throw Error::usage(QStringLiteral("unknown option %1").arg(w));
        else
            positional << w;
    }
    if (o.help)
        return o;
    if (positional.size() != 2)
        throw Error::usage(QStringLiteral("expected a kind (taylor or fourier) and one expression"));
    o.kind = positional[0];
    o.expression = positional[1];
    // Standard output carries the figures; the series must go to a file.
    if (o.json && !o.output)
        throw Error::usage(QStringLiteral("--json needs -o FILE"));
    if (o.kind == u"taylor") {
        if (o.period || o.harmonics)
            throw Error::usage(QStringLiteral("--period and --harmonics are for fourier"));
    } else if (o.kind == u"fourier") {
        if (o.degree)
            throw Error::usage(QStringLiteral("--degree is for taylor"));
    } else {
        throw Error::usage(QStringLiteral("unknown kind \"%1\"; use taylor or fourier").arg(o.kind));
    }
    return o;
}

void say(const QString& line) { std::fprintf(stderr, "vendrak-series: %s\n", line.toLocal8Bit().constData()); }

bool writeOut(const QByteArray& bytes) { return WriteStandardOutput(bytes); }

int outputFailed()
{
    say(QStringLiteral("standard output could not be written: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    return kFailed;
}

// A number as JSON has it: the file's digits, null for what JSON cannot hold.
QByteArray jsonNumber(double v)
{
    if (!std::isfinite(v))
        return "null";
    return QByteArray::number(v, 'g', QLocale::FloatingPointShortest);
}

QByteArray figures(const BuiltSeries& s)
{
    QByteArray j = "{\"kind\": \"" + QByteArray(s.kind == SeriesKind::Power ? "taylor" : "fourier") + "\", \"interval\": ["
                   + jsonNumber(AsWritten(s.lower)) + ", " + jsonNumber(AsWritten(s.upper)) + "], \"centre\": "
                   + jsonNumber(s.centre) + ", \"agreement\": " + jsonNumber(s.agreement) + ", \"scale\": "
                   + jsonNumber(s.scale);
    if (s.kind == SeriesKind::Trigonometric)
        j += ", \"period\": " + jsonNumber(s.period) + ", \"coefficientError\": " + jsonNumber(s.errorEstimate)
             + ", \"coefficientErrorProven\": " + (s.errorProven ? "true" : "false")
             + ", \"seriesError\": " + jsonNumber(s.seriesError);
    return j + "}\n";
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    try {
        o = parse(argc, argv);
    } catch (const Error& u) {
        say(u.message() + QStringLiteral(" (try --help)"));
        return kUsage;
    }
    if (o.help)
        return writeOut(QByteArray(kHelp) + languageHelp()) ? 0 : outputFailed();
    try {
        // The defaults are the New series dialog's.
        const BuiltSeries s = o.kind == u"taylor"
            ? BuildTaylor(o.expression, o.centre.value_or(0.0), o.degree.value_or(20), o.interval)
            : BuildFourier(o.expression, o.centre.value_or(0.0), o.period.value_or(QStringLiteral("*")),
                           o.harmonics.value_or(20), o.interval);
        for (const QString& note : s.notes)
            say(note);
        if (o.output) {
            if (const std::optional<Error> failed = WriteBuiltSeries(s, *o.output)) {
                say(failed->message());
                return kFailed;
            }
            return !o.json || writeOut(figures(s)) ? 0 : outputFailed();
        }
        const Outcome<QByteArray> content = SeriesOnlyContent(ToSeries(s));
        if (!content) {
            say(content.error().message());
            return kFailed;
        }
        return writeOut(*content) ? 0 : outputFailed();
    } catch (const Error& e) {
        say(e.message());
        return kFailed;
    }
}
