#include "core/study/number_text.h"

#include "core/study/errors.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <stdlib.h>
#include <string>

namespace vendrak {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Scans the leading number; returns the characters it spans, and the text to
// hand to strtod in `out` (ASCII only, read in the C locale below).
int scanNumber(const QString& text, std::string* out)
{
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    std::string s;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        s += static_cast<char>(text[i].unicode());
        ++i;
    }
    int digits = 0;
    while (i < n && isDigit(text[i])) {
        s += static_cast<char>(text[i].unicode());
        ++i;
        ++digits;
    }
    if (i < n && text[i] == u'.') {
        s += '.';
        ++i;
        while (i < n && isDigit(text[i])) {
            s += static_cast<char>(text[i].unicode());
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    int end = i;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        int j = i + 1;
        std::string e = "e";
        if (j < n && (text[j] == u'+' || text[j] == u'-')) {
            e += static_cast<char>(text[j].unicode());
            ++j;
        }
        int expDigits = 0;
        while (j < n && isDigit(text[j])) {
            e += static_cast<char>(text[j].unicode());
            ++j;
            ++expDigits;
        }
        if (expDigits > 0) {
            s += e;
            end = j;
        }
    }
    if (out)
        *out = std::move(s);
    return end;
}

// Decimal digits and exponent of |value| rounded to `precision` significant
// digits, trailing zeros removed: 1.5e20 gives ("15", 20).
void decompose(double value, int precision, std::string& digits, int& exponent)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, std::fabs(value));
    const char* p = buf;
    digits.clear();
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

QString format(double value, int precision, bool leadingZero)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    if (value == 0.0)
        return QStringLiteral("0");
    std::string digits;
    int e = 0;
    decompose(value, precision, digits, e);
    std::string s = value < 0 ? "-" : "";
    const int nd = static_cast<int>(digits.size());
    if (e >= precision || e < -4) {
        s += digits[0];
        if (nd > 1) {
            s += '.';
            s += digits.substr(1);
        }
        char eb[16];
        std::snprintf(eb, sizeof eb, "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
        s += eb;
    } else if (e < 0) {
        if (leadingZero)
            s += '0';
        s += '.';
        s.append(static_cast<size_t>(-e - 1), '0');
        s += digits;
    } else {
        if (nd <= e + 1) {
            s += digits;
            s.append(static_cast<size_t>(e + 1 - nd), '0');
        } else {
            s += digits.substr(0, static_cast<size_t>(e + 1));
            s += '.';
            s += digits.substr(static_cast<size_t>(e + 1));
        }
    }
    return QString::fromStdString(s);
}

} // namespace

double LeadingNumber(const QString& text)
{
    std::string s;
    if (scanNumber(text, &s) == 0)
        return 0.0;
    // Read in the C locale whatever LC_NUMERIC says: the text always has a
    // point, and a locale's decimal separator may even be more than one byte.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    const double v = cLocale ? strtod_l(s.c_str(), nullptr, cLocale) : std::strtod(s.c_str(), nullptr);
    if (!std::isfinite(v))
        raise(ErrorNumber::Overflow);
    return v;
}

int LeadingNumberLength(const QString& text)
{
    return scanNumber(text, nullptr);
}

std::optional<double> WholeNumber(std::string_view text)
{
    // The shape scanNumber accepts, spanning the whole text: from_chars
    // rounds correctly, as strtod does, but knows no plus sign.
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    const auto digitsFrom = [&] {
        const char* const start = p;
        while (p != end && *p >= '0' && *p <= '9')
            ++p;
        return p - start;
    };
    if (p != end && (*p == '+' || *p == '-'))
        ++p;
    const char* const unsignedStart = p;
    auto digits = digitsFrom();
    if (p != end && *p == '.') {
        ++p;
        digits += digitsFrom();
    }
    if (digits == 0)
        return std::nullopt;
    if (p != end && (*p == 'E' || *p == 'e')) {
        ++p;
        if (p != end && (*p == '+' || *p == '-'))
            ++p;
        if (digitsFrom() == 0)
            return std::nullopt;
    }
    if (p != end)
        return std::nullopt;
    double v = 0;
    // Beyond the range (overflow, or underflow to zero) from_chars reports an
    // error where strtod rounds; LeadingNumber decides those.
    const char* const from = *begin == '+' ? unsignedStart : begin;
    const auto [stop, ec] = std::from_chars(from, end, v, std::chars_format::general);
    if (ec != std::errc() || stop != end || !std::isfinite(v))
        return std::nullopt;
    return v;
}

int LeadingInt32(const QString& text)
{
    return toInt32(LeadingNumber(text));
}

QString NumberText(double value) { return format(value, 15, true); }
QString NumberText(float value) { return format(static_cast<double>(value), 7, true); }
QString NumberText(int value) { return QString::number(value); }

QString SettingsText(double value) { return format(value, 15, false); }
QString SettingsText(float value) { return format(static_cast<double>(value), 7, false); }
QString SettingsText(int value) { return QString::number(value); }

QString PrintNumberText(double value)
{
    const QString t = NumberText(value);
    return t.startsWith(u'-') ? t + u' ' : u' ' + t + u' ';
}

QString PrintNumberText(int value)
{
    return PrintNumberText(static_cast<double>(value));
}

} // namespace vendrak
