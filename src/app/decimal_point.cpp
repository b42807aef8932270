#include "app/decimal_point.h"

#include "app/about_window.h"
#include "app/dialogs.h"
#include "core/study/dimension.h"

#include <QStringList>
#include <clocale>

namespace vendrak {

QString SystemLocaleAccess::readDecimalSeparator()
{
    return QLocale::system().decimalPoint();
}

void SystemLocaleAccess::setDecimalSeparator(const QString& separator)
{
    if (separator == QStringLiteral(".")) {
        if (!switched_) {
            const char* current = std::setlocale(LC_NUMERIC, nullptr);
            savedNumericLocale_ = current ? current : "C";
            savedDefaultLocale_ = QLocale();
            switched_ = true;
        }
        std::setlocale(LC_NUMERIC, "C");
        QLocale::setDefault(QLocale::c());
        return;
    }
    if (!switched_)
        return; // the user's own setting is still in force
    std::setlocale(LC_NUMERIC, savedNumericLocale_.c_str());
    QLocale::setDefault(savedDefaultLocale_);
    switched_ = false;
}

void ReadDecimalSeparator(Dimension& dim, LocaleAccess& locale)
{
    const QString read = locale.readDecimalSeparator();
    const qsizetype nul = read.indexOf(QChar(u'\0'));
    dim.window.SavedDecimalSeparator = nul < 0 ? read : read.left(nul);
}

void SetDecimalPoint(LocaleAccess& locale)
{
    locale.setDecimalSeparator(QStringLiteral("."));
}

void RestoreDecimalSeparator(const Dimension& dim, LocaleAccess& locale)
{
    if (dim.window.SavedDecimalSeparator.isEmpty())
        return;
    locale.setDecimalSeparator(dim.window.SavedDecimalSeparator);
}

QString DecimalCommaWarningTitle()
{
    return QStringLiteral("Decimal Comma Warning!");
}

QString DecimalCommaWarningText()
{
    const QStringList lines{
        QStringLiteral("Proper operation of this application requires the use of the DECIMAL POINT."),
        QStringLiteral("Your system is currently using the DECIMAL COMMA."),
        QString(),
        QStringLiteral("Do you wish to temporarily change this system setting to decimal point?"),
        QStringLiteral("(Upon exiting, this application will restore your setting.)"),
        QStringLiteral("(See HELP FILE or visit ") + MakerWebAddress(QStringLiteral("decimal"))
            + QStringLiteral(" for instructions on how to change MANUALLY)"),
        QString(),
        QStringLiteral("Press YES to change."),
    };
    return lines.join(QChar(u'\r'));
}

bool CheckDecimalSeparator(Dimension& dim, LocaleAccess& locale, Dialogs& dialogs)
{
    ReadDecimalSeparator(dim, locale);
    if (dim.window.SavedDecimalSeparator == QStringLiteral("."))
        return true;
    const Dialogs::Answer answer = dialogs.askYesNoCancel(
        DecimalCommaWarningTitle(), DecimalCommaWarningText(), Dialogs::Icon::Critical);
    if (answer != Dialogs::Answer::Yes)
        return false;
    SetDecimalPoint(locale);
    return true;
}

} // namespace vendrak
