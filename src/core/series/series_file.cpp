#include "core/series/series_file.h"

#include "core/series/series_terms.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"
#include "core/study/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>
#include <cmath>
#include <optional>
#include <vector>

namespace vendrak {

namespace {

// A coefficient list is never allocated from the header's count alone: a
// damaged header could ask for billions. Growth follows what the file holds.
constexpr qint64 kInitialReserve = 4096;

// Ten million coefficients: far beyond what the builder makes, and any file
// this program reads it can write back (at most 26 bytes a coefficient) and
// read again within the size limit.
constexpr int kMaxCoefficients = 10'000'000;
constexpr qint64 kMaxFileBytes = qint64(256) << 20;
const char* const kMaxFileText = "256 MiB";

// No field of a series file comes near this; a longer one means the file is
// not a series file, and reading on would only pile up memory.
constexpr qsizetype kMaxFieldBytes = 1 << 16;

QString shownPath(const QString& path) { return QDir::toNativeSeparators(path); }

// ---------------------------------------------------------------- reading

// Told apart so that a large file can be refused from its first lines.
struct TooManyCoefficients : Error {
    using Error::Error;
};

// A field as it stands in the file's bytes: a quoted text without its
// quotes, an unquoted field with its blanks.
struct Field {
    QByteArrayView bytes;
    bool quoted = false;
    int line = 1;
};

// Splits the file's content into fields without caring how they are spread
// over lines.
class FieldScanner {
public:
    explicit FieldScanner(QByteArrayView content) : p_(content.data()), end_(content.data() + content.size())
    {
        // A byte-order mark some editors put in front of UTF-8 text.
        if (content.startsWith("\xEF\xBB\xBF"))
            p_ += 3;
    }

    // The next field, or nothing when the file has ended.
    std::optional<Field> next()
    {
        skipBlanks();
        Field f;
        f.line = line_;
        if (p_ == end_) {
            if (!afterComma_)
                return std::nullopt;
            afterComma_ = false; // a trailing comma leaves one empty field
            return f;
        }
        const char* start = p_;
        if (*p_ == '"') {
            f.quoted = true;
            // A quoted text runs to its closing quote, over line ends too.
            start = ++p_;
            const auto* close = static_cast<const char*>(std::memchr(start, '"', size_t(end_ - start)));
            checkLength(f, (close ? close : end_) - start);
            if (!close)
                throw Error::file(QStringLiteral("a quoted text has no closing quote"), f.line);
            f.bytes = QByteArrayView(start, close);
            for (const char* q = start; q != close; ++q)
                if (*q == '\n' || (*q == '\r' && q[1] != '\n')) // q[1] is at most the closing quote
                    ++line_;
            // Whatever stands between the closing quote and the delimiter is
            // not part of the field.
            p_ = close + 1;
            toDelimiter();
        } else {
            toDelimiter();
            checkLength(f, p_ - start);
            f.bytes = QByteArrayView(start, p_);
        }
        endField();
        return f;
    }

    // True when nothing but blanks and line ends is left.
    bool atEnd()
    {
        skipBlanks();
        return p_ == end_;
    }

    int line() const { return line_; }

private:
    static void checkLength(const Field& f, qsizetype length)
    {
        if (length > kMaxFieldBytes)
            throw Error::file(QStringLiteral("a field is longer than %1 characters").arg(kMaxFieldBytes), f.line);
    }

    static bool isDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }

    void toDelimiter()
    {
        while (p_ != end_ && !isDelimiter(*p_))
            ++p_;
    }

    // At a CR, LF or CR LF.
    void lineEnd()
    {
        if (*p_++ == '\r' && p_ != end_ && *p_ == '\n')
            ++p_;
        ++line_;
    }

    // Blank lines and a line break after a comma separate nothing more: the
    // comma or the previous line end already closed the field.
    void skipBlanks()
    {
        while (p_ != end_) {
            const char c = *p_;
            if (c == ' ' || c == '\t' || c == 0x1A) // 0x1A: end-of-file mark of old DOS editors
                ++p_;
            else if (c == '\r' || c == '\n')
                lineEnd();
            else
                return;
        }
    }

    void endField()
    {
        afterComma_ = p_ != end_ && *p_ == ',';
        if (afterComma_)
            ++p_;
        else if (p_ != end_)
            lineEnd();
    }

    const char* p_;
    const char* const end_;
    bool afterComma_ = false;
    int line_ = 1;
};

// Text fields are taken as UTF-8 when they are valid UTF-8, otherwise as
// Latin-1 (older files come from an 8-bit code page).
QString decodeText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString s = utf8(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return s;
}

// The blanks QString::trimmed removes that are ASCII; a field with any other
// byte at its ends goes the slow way.
bool isAsciiBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

class Reader {
public:
    explicit Reader(QByteArrayView content) : scan_(content) {}

    Field field(const QString& what)
    {
        std::optional<Field> f = scan_.next();
        if (!f)
            throw Error::file(QStringLiteral("the file ends where %1 should be").arg(what), scan_.line());
        return *f;
    }

    // Quoted text is kept as it stands; unquoted text loses its blanks.
    QString text(const QString& what) { return decodeText(bytes(what)); }

    // The same, as the bytes of the file, whatever their encoding.
    QByteArray bytes(const QString& what)
    {
        const Field f = field(what);
        return f.quoted ? f.bytes.toByteArray() : f.bytes.toByteArray().trimmed();
    }

    // A number field: the whole field must be one number.
    double number(const QString& what) { return toNumber(field(what), what); }

    // The field of a coefficient that the caller knows is there; its name is
    // only made for a message, as a million of them add up.
    double coefficient(qint64 k)
    {
        const Field f = *scan_.next();
        if (const std::optional<double> v = plainNumber(f))
            return *v;
        return toNumber(f, QStringLiteral("coefficient C[%1]").arg(k));
    }

    double toNumber(const Field& f, const QString& what)
    {
        if (const std::optional<double> v = plainNumber(f))
            return *v;
        const QString t = QString::fromLatin1(f.bytes).trimmed();
        if (t.isEmpty())
            throw Error::file(QStringLiteral("%1 is empty where a number is expected").arg(what), f.line);
        if (LeadingNumberLength(t) != t.size())
            throw Error::file(QStringLiteral("%1 \"%2\" is not a number").arg(what, decodeText(f.bytes).trimmed()), f.line);
        try {
            return LeadingNumber(t);
        } catch (const Error&) {
            throw Error::file(QStringLiteral("%1 \"%2\" is beyond the range of numbers").arg(what, t), f.line);
        }
    }

    int integer(const QString& what) { return narrowed(what, toInt32, QStringLiteral("whole numbers")); }
    float single(const QString& what) { return narrowed(what, toSingle, QStringLiteral("plot settings")); }

    bool boolean(const QString& what)
    {
        const Field f = field(what);
        const QString t = QString::fromLatin1(f.bytes).trimmed().toUpper();
        if (t == u"#TRUE#")
            return true;
        if (t == u"#FALSE#")
            return false;
        // Some producers write a boolean as a number: 0 false, anything else true.
        if (!t.isEmpty() && LeadingNumberLength(t) == t.size())
            return toNumber(f, what) != 0;
        throw Error::file(QStringLiteral("%1 \"%2\" is neither #TRUE# nor #FALSE#")
                             .arg(what, decodeText(f.bytes).trimmed()),
                         f.line);
    }

    // The centre and period fields: "*" stands for a computed value, anything
    // else counts by its leading number (no number gives 0).
    double leading(const QString& t, const QString& what, int line)
    {
        try {
            return LeadingNumber(t);
        } catch (const Error&) {
            throw Error::file(QStringLiteral("%1 \"%2\" is beyond the range of numbers").arg(what, t), line);
        }
    }

    // A result count, which indexes a table of 255 entries.
    int count(const QString& what)
    {
        const int line = scan_.line();
        const int n = integer(what);
        if (n < 0 || n > kResultCapacity)
            throw Error::file(QStringLiteral("%1 is %2; it must lie between 0 and %3").arg(what).arg(n).arg(kResultCapacity), line);
        return n;
    }

    bool atEnd() { return scan_.atEnd(); }
    int line() const { return scan_.line(); }

private:
    // A number field converted to a narrower type; `range` names what the
    // type holds when the number lies beyond it.
    template <class Narrow>
    std::invoke_result_t<Narrow, double> narrowed(const QString& what, Narrow narrow, const QString& range)
    {
        const Field f = field(what);
        const double v = toNumber(f, what);
        try {
            return narrow(v);
        } catch (const Error&) {
            throw Error::file(QStringLiteral("%1 \"%2\" is beyond the range of %3")
                                 .arg(what, QString::fromLatin1(f.bytes).trimmed(), range),
                             f.line);
        }
    }

    static std::optional<double> plainNumber(const Field& f)
    {
        const char* b = f.bytes.data();
        const char* e = b + f.bytes.size();
        while (b != e && isAsciiBlank(*b))
            ++b;
        while (e != b && isAsciiBlank(e[-1]))
            --e;
        return WholeNumber(std::string_view(b, size_t(e - b)));
    }

    FieldScanner scan_;
};

// Everything a file can set, gathered before any of it reaches the study:
// the parts start as the study holds them, so what the file does not carry
// (the coefficients when none follow, the derivative order, the grid
// option) stays as it was.
struct Parsed {
    // Not the coefficients: those come from the file, or from `loaded` when
    // the header says none follow.
    explicit Parsed(const Dimension& d) : loaded(d.series.Coeffs), study(d.study), results(d.results), plot(d.plot) {}

    const std::vector<double>& loaded;
    Series series;
    QString CentreText;
    bool CoeffsFollow = false;
    bool StudyLoaded = false;
    StudySpecs study;
    Results results;
    PlotSetup plot;
};

enum class HeaderKind { SingleVariable, MultiVariable };

HeaderKind parseHeader(Reader& r, Parsed& p)
{
    p.series.MultiVarFlag = r.integer(QStringLiteral("the multivariable flag"));
    if (p.series.MultiVarFlag != 0)
        return HeaderKind::MultiVariable;
    p.series.SourceText = r.bytes(QStringLiteral("the source text"));
    p.series.XLvalid = r.number(QStringLiteral("the lower limit of validity"));
    p.series.XUvalid = r.number(QStringLiteral("the upper limit of validity"));

    const QString centreWhat = QStringLiteral("the centre of expansion");
    int line = r.line();
    p.CentreText = r.text(centreWhat);
    if (p.CentreText.trimmed() == u"*") {
        p.series.Centre = (p.series.XUvalid + p.series.XLvalid) / 2;
        if (!std::isfinite(p.series.Centre))
            throw Error::file(QStringLiteral("the midpoint of the interval of validity is beyond the range of numbers"), line);
    } else {
        p.series.Centre = r.leading(p.CentreText, centreWhat, line);
    }

    line = r.line();
    const int kind = r.integer(QStringLiteral("the series type"));
    if (kind != static_cast<int>(SeriesKind::Trigonometric) && kind != static_cast<int>(SeriesKind::Power))
        throw Error::file(QStringLiteral("the series type is %1; it must be 0 (trigonometric) or 1 (power)").arg(kind), line);
    p.series.Kind = static_cast<SeriesKind>(kind);

    const QString periodWhat = QStringLiteral("the period");
    line = r.line();
    p.series.PeriodText = r.text(periodWhat);
    if (p.series.PeriodText.trimmed() == u"*") {
        // Shown as the star it is evaluated as, blanks or not.
        p.series.PeriodText = QStringLiteral("*");
        const double pi = PiValue();
        p.series.Period = pi + pi;
    } else {
        p.series.Period = r.leading(p.series.PeriodText, periodWhat, line);
    }

    line = r.line();
    const int terms = r.integer(QStringLiteral("the term count"));
    if (p.series.Kind == SeriesKind::Trigonometric && terms < 1)
        throw Error::file(QStringLiteral("the number of terms is %1; a trigonometric series needs at least 1").arg(terms), line);
    if (p.series.Kind == SeriesKind::Power && terms < 0)
        throw Error::file(QStringLiteral("the degree is %1; it cannot be negative").arg(terms), line);
    p.series.TermCount = p.series.Kind == SeriesKind::Trigonometric ? terms - 1 : terms;
    if (p.series.TermCount >= kMaxCoefficients)
        throw TooManyCoefficients(Error::Kind::File,
                                  QStringLiteral("the series has %1 coefficients; Vendrak reads at most %2")
                                      .arg(qint64(p.series.TermCount) + 1)
                                      .arg(kMaxCoefficients),
                                  line);
    p.CoeffsFollow = r.boolean(QStringLiteral("the coefficients-follow flag"));
    return HeaderKind::SingleVariable;
}

void parseCoefficients(Reader& r, Parsed& p)
{
    const qint64 wanted = static_cast<qint64>(p.series.TermCount) + 1;
    if (!p.CoeffsFollow) {
        // The header reuses the coefficients already loaded; that only makes
        // sense when they fit the new term count.
        if (static_cast<qint64>(p.loaded.size()) != wanted)
            throw Error::file(QStringLiteral("the header says no coefficients follow, and the series loaded "
                                            "before has %1 coefficients instead of %2")
                                 .arg(p.loaded.size())
                                 .arg(wanted),
                             r.line());
        p.series.Coeffs = p.loaded;
        return;
    }
    p.series.Coeffs.clear();
    p.series.Coeffs.reserve(static_cast<size_t>(std::min(wanted, kInitialReserve)));
    for (qint64 k = 0; k < wanted; ++k) {
        if (r.atEnd())
            throw Error::file(QStringLiteral("the file ends after %1 of %2 coefficients").arg(k).arg(wanted), r.line());
        p.series.Coeffs.push_back(r.coefficient(k));
    }
}

void parseStudy(Reader& r, Parsed& p)
{
    p.StudyLoaded = true;
    p.study.XLower = r.number(QStringLiteral("the lower limit of the study interval"));
    p.study.XUpper = r.number(QStringLiteral("the upper limit of the study interval"));
    p.study.Subintervals = r.integer(QStringLiteral("the number of subintervals"));
    p.study.ErrorBound = r.number(QStringLiteral("the error bound"));
    p.study.MaxCycles = r.integer(QStringLiteral("the maximum number of cycles"));
    p.results.IntegralDone = r.boolean(QStringLiteral("the integral-done flag"));
    const int roots = r.count(QStringLiteral("the number of roots"));
    const int line = r.line();
    p.results.PossibleRootCount = r.integer(QStringLiteral("the number of possible roots"));
    if (p.results.PossibleRootCount < 0)
        throw Error::file(QStringLiteral("the number of possible roots is %1; it cannot be negative").arg(p.results.PossibleRootCount), line);
    const int maxima = r.count(QStringLiteral("the number of maxima"));
    const int minima = r.count(QStringLiteral("the number of minima"));

    using Singles = std::initializer_list<std::pair<float PlotSetup::*, const char*>>;
    const auto singles = [&](Singles fields) {
        for (const auto& [field, what] : fields)
            p.plot.*field = r.single(QString::fromLatin1(what));
    };
    singles({{&PlotSetup::WindowLX, "the left plot limit"}, {&PlotSetup::WindowGX, "the right plot limit"},
             {&PlotSetup::WindowLY, "the lower plot limit"}, {&PlotSetup::WindowGY, "the upper plot limit"}});
    p.plot.PlotStep = r.integer(QStringLiteral("the plot step"));
    singles({{&PlotSetup::XOrigin, "the x origin"}, {&PlotSetup::YOrigin, "the y origin"},
             {&PlotSetup::DivX, "the x division size"}, {&PlotSetup::DivY, "the y division size"}});

    if (p.results.IntegralDone)
        p.results.IntegralValue = r.number(QStringLiteral("the integral"));
    Results& res = p.results;
    for (const auto& [list, count, what] : {std::tuple{&res.Roots, roots, "root %1"},
                                            {&res.Maxima, maxima, "maximum %1"},
                                            {&res.Minima, minima, "minimum %1"}}) {
        list->clear();
        for (int i = 1; i <= count; ++i)
            list->push_back(r.number(QString::fromLatin1(what).arg(i)));
    }
}

Error readFailure(const QString& path, const QString& why)
{
    return Error::file(QStringLiteral("The series file \"%1\" could not be read: %2.").arg(shownPath(path), why));
}

// ---------------------------------------------------------------- writing

// The text of a value that the reader turns back into a number it accepts:
// 15 digits unless rounding to 15 carries the value past the limit the field
// is read into (1.7976931348623157E+308 rounds to an overflow), then in full.
template <typename Accepts>
QString readableText(double v, Accepts accepts)
{
    const QString t = NumberText(v);
    try {
        accepts(LeadingNumber(t));
        return t;
    } catch (const Error&) {
        return QString::number(v, 'g', 17).toUpper();
    }
}

QString numberField(double v)
{
    if (!std::isfinite(v))
        throw Error::file(QStringLiteral("a value is not a finite number"));
    return readableText(v, [](double) {});
}

QString boolField(bool b) { return b ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#"); }

// A text field cannot hold its own quote or a line end; a double quote
// becomes a single one and a line break a blank, so the field still reads
// back. Every other byte is kept as it was read, whatever its encoding.
QByteArray textField(const QByteArray& t)
{
    // The reader refuses a longer field; a file it cannot open is not written.
    if (t.size() > kMaxFieldBytes)
        throw Error::file(QStringLiteral("the description is longer than %1 bytes").arg(kMaxFieldBytes));
    QByteArray s = t;
    s.replace('"', '\'');
    s.replace("\r\n", " ");
    s.replace('\r', ' ');
    s.replace('\n', ' ');
    return '"' + s + '"';
}

// The number in a setting box, as it will be read back.
double settingNumber(const QString& text, const QString& what)
{
    try {
        return LeadingNumber(text);
    } catch (const Error&) {
        throw Error::file(QStringLiteral("%1 \"%2\" is beyond the range of numbers").arg(what, text));
    }
}

// A setting that must fit a narrower type to be read back; `range` names
// what the type holds.
template <class Narrow>
double narrowSetting(const QString& text, const QString& what, Narrow narrow, const QString& range)
{
    const double v = settingNumber(text, what);
    try {
        narrow(v);
    } catch (const Error&) {
        throw Error::file(QStringLiteral("%1 \"%2\" is beyond the range of %3").arg(what, text, range));
    }
    return v;
}

// The whole number the field is read as: 2147483647.4999999 would come back
// from 15 digits as 2147483647.5, which rounds past the 32-bit range.
QString integerSetting(const QString& text, const QString& what)
{
    return NumberText(toInt32(narrowSetting(text, what, toInt32, QStringLiteral("whole numbers"))));
}

QString singleSetting(const QString& text, const QString& what)
{
    return readableText(narrowSetting(text, what, toSingle, QStringLiteral("plot settings")), [](double r) { toSingle(r); });
}

void appendLine(QString& out, const QStringList& fields)
{
    out += fields.join(u',');
    out += QStringLiteral("\r\n");
}

int checkedCount(const std::vector<double>& list, const QString& what)
{
    if (list.size() > size_t(kResultCapacity))
        throw Error::file(QStringLiteral("%1 (%2) is outside 0 to %3").arg(what).arg(list.size()).arg(kResultCapacity));
    return static_cast<int>(list.size());
}

// Save writes the period as the number it stands for; a new series keeps a
// period of 2π as the "*" that names it exactly.
QByteArray composeSeries(const Series& s, bool starPeriod)
{
    if ((s.Kind != SeriesKind::Trigonometric && s.Kind != SeriesKind::Power) || s.TermCount < 0
        || static_cast<qint64>(s.Coeffs.size()) != static_cast<qint64>(s.TermCount) + 1)
        throw Error::file(QStringLiteral("no series is loaded"));

    // The coefficients are always written, so the saved file stands on its
    // own even when it was opened as a header that reused earlier ones.
    QString rest;
    appendLine(rest, {numberField(s.XLvalid), numberField(s.XUvalid), numberField(s.Centre),
                      NumberText(static_cast<int>(s.Kind)),
                      starPeriod && s.PeriodText == u"*" ? QStringLiteral("\"*\"") : numberField(s.Period),
                      NumberText(ShownTermCount(s)), boolField(true)});
    for (double c : s.Coeffs)
        appendLine(rest, {numberField(c)});
    return NumberText(s.MultiVarFlag).toUtf8() + ',' + textField(s.SourceText) + ',' + rest.toUtf8();
}

QByteArray composeFile(const Dimension& d, const StudySettingsTexts& t)
{
    const QByteArray series = composeSeries(d.series, false);
    QString out;
    auto line = [&out](const QStringList& fields) { appendLine(out, fields); };

    const int roots = checkedCount(d.results.Roots, QStringLiteral("the number of roots"));
    const int maxima = checkedCount(d.results.Maxima, QStringLiteral("the number of maxima"));
    const int minima = checkedCount(d.results.Minima, QStringLiteral("the number of minima"));
    if (d.results.PossibleRootCount < 0)
        throw Error::file(QStringLiteral("the number of possible roots is negative"));

    line({numberField(settingNumber(t.xlower, QStringLiteral("the lower limit of the study interval"))),
          numberField(settingNumber(t.xupper, QStringLiteral("the upper limit of the study interval"))),
          integerSetting(t.subintervals, QStringLiteral("the number of subintervals")),
          numberField(settingNumber(t.error, QStringLiteral("the error bound"))),
          integerSetting(t.maxcy, QStringLiteral("the maximum number of cycles")), boolField(d.results.IntegralDone),
          NumberText(roots), NumberText(d.results.PossibleRootCount), NumberText(maxima), NumberText(minima)});
    line({singleSetting(t.windowlx, QStringLiteral("the left plot limit")),
          singleSetting(t.windowgx, QStringLiteral("the right plot limit")),
          singleSetting(t.windowly, QStringLiteral("the lower plot limit")),
          singleSetting(t.windowgy, QStringLiteral("the upper plot limit")),
          integerSetting(t.plotStep, QStringLiteral("the plot step")),
          singleSetting(t.xorigin, QStringLiteral("the x origin")),
          singleSetting(t.yorigin, QStringLiteral("the y origin")),
          singleSetting(t.divx, QStringLiteral("the x division size")),
          singleSetting(t.divy, QStringLiteral("the y division size"))});

    if (d.results.IntegralDone)
        line({numberField(d.results.IntegralValue)});
    for (const std::vector<double>* list : {&d.results.Roots, &d.results.Maxima, &d.results.Minima})
        for (double x : *list)
            line({numberField(x)});
    return series + out.toUtf8();
}

Error writeFailure(const QString& path, const QString& why)
{
    return Error::file(QStringLiteral("The series file \"%1\" could not be saved: %2.").arg(shownPath(path), why));
}

QString ioReason(const QFileDevice& f, const QString& fallback)
{
    const QString s = f.errorString();
    return s.isEmpty() || s == u"Unknown error" ? fallback : s;
}

enum class Slurp { Read, TooLarge, Failed };

// The whole file at once, refused before reading when over the size limit,
// and while reading when it has grown since. A larger file's first
// kStartBytes go to `start` before the rest is read.
Slurp readBounded(QFile& file, QByteArray& content, const std::function<void(QByteArrayView)>& start)
{
    constexpr qint64 kStartBytes = 1 << 20;
    if (file.size() > kMaxFileBytes)
        return Slurp::TooLarge;
    content = QByteArray(qsizetype(file.size()) + 1, Qt::Uninitialized);
    bool started = file.size() <= kStartBytes;
    qint64 got = 0;
    while (got <= kMaxFileBytes) {
        if (got == content.size())
            content.resize(qsizetype(std::min(2 * got, kMaxFileBytes + 1)));
        const qint64 n = file.read(content.data() + got, (started ? content.size() : kStartBytes) - got);
        if (n < 0)
            return Slurp::Failed;
        if (n == 0) {
            content.truncate(qsizetype(got));
            return Slurp::Read;
        }
        got += n;
        if (!started && got == kStartBytes) {
            started = true;
            start(QByteArrayView(content.data(), got));
        }
    }
    return Slurp::TooLarge;
}

QString located(const Error& e) { return QStringLiteral("line %1: %2").arg(e.line()).arg(e.message()); }

} // namespace

double AsWritten(double value)
{
    try {
        return LeadingNumber(numberField(value));
    } catch (const Error&) {
        return value;
    }
}

int ShownTermCount(const Series& s)
{
    return s.Kind == SeriesKind::Power ? s.TermCount : s.TermCount + 1;
}

Outcome<SeriesFile> ReadSeriesFile(const Dimension& before, const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return readFailure(path, QStringLiteral("it is a folder, not a file"));
    // A device or a pipe could deliver data without end.
    if (info.exists() && !info.isFile())
        return readFailure(path, QStringLiteral("it is not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return readFailure(path, ioReason(file, QStringLiteral("it cannot be opened")));
    // A header that asks for too many coefficients is refused before the
    // rest of a large file is read. Only whole lines count: a field cut off
    // at the end would read differently, and before the term count every
    // field is then as in the whole file.
    const auto checkHeader = [](QByteArrayView start) {
        const Dimension none;
        Parsed p(none);
        Reader r(start.first(qsizetype(std::string_view(start.data(), size_t(start.size())).rfind('\n') + 1)));
        try {
            parseHeader(r, p);
        } catch (const TooManyCoefficients&) {
            throw;
        } catch (const Error&) {
            // Whatever else is wrong shows when the whole file is read.
        }
    };
    QByteArray content;
    Slurp read = Slurp::Failed;
    try {
        read = readBounded(file, content, checkHeader);
    } catch (const TooManyCoefficients& e) {
        return readFailure(path, located(e));
    }
    switch (read) {
    case Slurp::TooLarge:
        return readFailure(path, QStringLiteral("it is larger than %1, the most Vendrak reads").arg(QLatin1StringView(kMaxFileText)));
    case Slurp::Failed:
        return readFailure(path, ioReason(file, QStringLiteral("reading failed")));
    case Slurp::Read:
        break;
    }

    Parsed p(before);
    try {
        Reader r(content);
        if (parseHeader(r, p) == HeaderKind::MultiVariable)
            return Error::file(QString::fromLatin1(kMultiVariableMessage));
        parseCoefficients(r, p);
        if (!r.atEnd())
            parseStudy(r, p);
    } catch (const Error& e) {
        return readFailure(path, located(e));
    }
    SeriesFile opened{std::move(p.series), {}};
    if (p.StudyLoaded)
        opened.saved = SavedStudy{p.study, std::move(p.results), p.plot};
    return opened;
}

bool IsMultiVariable(const Error& e)
{
    return e.kind() == Error::Kind::File && e.message() == QLatin1StringView(kMultiVariableMessage);
}

Dimension Opened(Dimension d, SeriesFile file)
{
    d.series = std::move(file.series);
    d.window.RestoringStudy = true;
    d.window.StudyLoaded = file.saved.has_value();
    if (!file.saved) {
        // The results of the series studied before do not belong to this one.
        d.results.IntegralDone = false;
        d.results.Roots.clear();
        d.results.Maxima.clear();
        d.results.Minima.clear();
        d.results.PossibleRootCount = 0;
        return d;
    }
    d.study = file.saved->study;
    d.results = std::move(file.saved->results);
    d.plot = file.saved->plot;
    return d;
}

namespace {

// The file is replaced only once the new content is completely on disk.
std::optional<Error> writeAtomically(const QString& path, const QByteArray& content)
{
    const QString why = WriteWholeFile(path, content);
    if (why.isEmpty())
        return std::nullopt;
    return writeFailure(path, why);
}

} // namespace

std::optional<Error> WriteSeriesFile(const Dimension& d, const QString& path, const StudySettingsTexts& texts)
{
    try {
        return writeAtomically(path, composeFile(d, texts));
    } catch (const Error& e) {
        return writeFailure(path, e.message());
    }
}

Outcome<QByteArray> SeriesOnlyContent(const Series& s)
{
    try {
        return composeSeries(s, true);
    } catch (const Error& e) {
        return e;
    }
}

std::optional<Error> WriteSeriesOnlyFile(const Series& s, const QString& path)
{
    const Outcome<QByteArray> content = SeriesOnlyContent(s);
    if (!content)
        return writeFailure(path, content.error().message());
    return writeAtomically(path, *content);
}

} // namespace vendrak
