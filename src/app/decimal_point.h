#pragma once
// The decimal-separator guard. Our number parser knows only the point, so at
// start-up the user's decimal separator is checked and, with the user's
// consent, switched to a point until the main window closes.
#include <QLocale>
#include <QString>
#include <string>

namespace vendrak {

struct Dimension;
class Dialogs;

// Reading and setting the user's decimal separator, so the guard can be
// tested without a comma locale installed.
class LocaleAccess {
public:
    virtual ~LocaleAccess() = default;
    virtual QString readDecimalSeparator() = 0;
    virtual void setDecimalSeparator(const QString& separator) = 0;
};

// The real one. The separator read is the one of the user's locale as the
// program starts (LC_ALL / LC_NUMERIC / LANG, as Qt's system locale reports
// it). Setting "." makes every number conversion of this process use a point
// (C library numeric locale and Qt's default locale); setting anything else
// puts back the user's own setting as it was before the first switch. The
// user's system configuration itself is never written.
class SystemLocaleAccess : public LocaleAccess {
public:
    QString readDecimalSeparator() override;
    void setDecimalSeparator(const QString& separator) override;

private:
    bool switched_ = false;
    std::string savedNumericLocale_;
    QLocale savedDefaultLocale_;
};

// The start-up guard: false when the user declined the switch and the
// program must end before any window exists.
bool CheckDecimalSeparator(Dimension& dim, LocaleAccess& locale, Dialogs& dialogs);
void ReadDecimalSeparator(Dimension& dim, LocaleAccess& locale);
void SetDecimalPoint(LocaleAccess& locale);
// Puts back the separator found at start-up. Nothing to do when the guard
// never ran (nothing was read, so nothing was changed).
void RestoreDecimalSeparator(const Dimension& dim, LocaleAccess& locale);

// The question asked when the separator is not a point.
QString DecimalCommaWarningTitle();
QString DecimalCommaWarningText();

} // namespace vendrak
