#pragma once
// Reading numbers out of texts and writing them back, always with a decimal
// point whatever the user's locale.
#include <QString>

#include <optional>
#include <string_view>

namespace vendrak {

// The leading number of a text: leading blanks skipped, an optional sign,
// digits with at most one point, an optional exponent (E or e, optional sign,
// digits). Reading stops at the first character that cannot continue the
// number; no leading number gives 0. A magnitude beyond the double range
// raises error 6.
double LeadingNumber(const QString& text);

// How many characters of text the leading number took (0 when none); lets the
// file reader tell a number field from a non-numeric one.
int LeadingNumberLength(const QString& text);

// The same number for a text of bytes that is one number and nothing else
// (no blanks, no trailing characters) within the double range; nothing for
// any other text, which then needs LeadingNumber. Reads a file's fields
// without building a QString for each.
std::optional<double> WholeNumber(std::string_view text);

// Leading number rounded half-to-even into a 32-bit integer (error 6 outside).
int LeadingInt32(const QString& text);

// Shortest text of a value with at most 15 (double) or 7 (single) significant
// digits: "1.4142135623731", "0.5", "-3", "1E+20", "1E-07".
QString NumberText(double value);
QString NumberText(float value);
QString NumberText(int value);

// Settings text of a restored study: as NumberText but without the 0 before
// the decimal point (".01", "-.5").
QString SettingsText(double value);
QString SettingsText(float value);
QString SettingsText(int value);

// The printed report's number: "-" or one space, the digits, one space.
QString PrintNumberText(double value);
QString PrintNumberText(int value);

} // namespace vendrak
