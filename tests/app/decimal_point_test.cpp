// The decimal-separator guard, with the user's locale faked so both answers
// can be tried whatever locales the machine has.
#include "app/decimal_point.h"
#include "app/help_viewer.h"
#include "app/main_window.h"
#include "app/sub_main.h"
#include "support/fake_dialogs.h"

#include <QApplication>
#include <QUrl>
#include <gtest/gtest.h>
#include <clocale>
#include <string>

using namespace vendrak;
using Answer = Dialogs::Answer;

namespace {

struct FakeLocale : LocaleAccess {
    explicit FakeLocale(QString separator) : current(std::move(separator)) {}
    QString readDecimalSeparator() override { return current; }
    void setDecimalSeparator(const QString& s) override { written.push_back(current = s); }
    QString current;
    std::vector<QString> written;
};

// Lines joined by carriage returns alone.
const QString kWarning = QStringLiteral(
    "Proper operation of this application requires the use of the DECIMAL POINT.\r"
    "Your system is currently using the DECIMAL COMMA.\r"
    "\r"
    "Do you wish to temporarily change this system setting to decimal point?\r"
    "(Upon exiting, this application will restore your setting.)\r"
    "(See HELP FILE or visit HELPURL#decimal for instructions on how to change MANUALLY)\r"
    "\r"
    "Press YES to change.");

} // namespace

TEST(DecimalGuard, APointAsksNothingAndOnlyWhatWasReadIsWrittenBack)
{
    Dimension dim;
    test::FakeDialogs dlg;
    FakeLocale locale(".");
    RestoreDecimalSeparator(dim, locale); // the guard never ran: nothing to put back
    EXPECT_TRUE(CheckDecimalSeparator(dim, locale, dlg));
    EXPECT_TRUE(dlg.messages.empty());
    RestoreDecimalSeparator(dim, locale);
    EXPECT_EQ(locale.written, std::vector<QString>{"."});
    FakeLocale withNul(QString(",") + QChar(0) + QString("junk")); // read up to the first NUL
    ReadDecimalSeparator(dim, withNul);
    EXPECT_EQ(dim.SavedDecimalSeparator, ",");
}

TEST(StartProgram, ACommaAsksTheExactQuestionAndYesSwitchesUntilTheWindowCloses)
{
    Dimension dim;
    test::FakeDialogs dlg;
    dlg.answers.push_back(Answer::Yes);
    FakeLocale locale(",");
    auto window = StartProgram(dim, locale, dlg);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_EQ(dlg.messages[0].title, "Decimal Comma Warning!");
    // The address is the help document's section on the separator.
    QString warning = kWarning;
    warning.replace("HELPURL", QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + "/help/index.html").toString());
    EXPECT_EQ(dlg.messages[0].text, warning);
    EXPECT_EQ(dlg.messages[0].icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(locale.current, ".");
    window->mnuAbout->trigger();
    window->setHelpFile("/nonexistent/index.html");
    window->mnuHelp->trigger();
    ASSERT_TRUE(window->aboutWindow() && window->helpViewer());
    EXPECT_TRUE(window->close()); // never refused, never asks
    QCoreApplication::processEvents();
    EXPECT_EQ(locale.current, ",");
    EXPECT_EQ(window->aboutWindow(), nullptr); // closed with the main window
    EXPECT_FALSE(window->helpViewer()->isVisible());
    EXPECT_EQ(dlg.messages.size(), 1u);
}

TEST(StartProgram, NoOrCancelToAnyOtherSeparatorEndsBeforeAnyWindowExists)
{
    for (const QString& sep : {QString(","), QString("٫"), QString(".."), QString(" "), QString()}) {
        for (Answer answer : {Answer::No, Answer::Cancel}) {
            SCOPED_TRACE(sep.toStdString() + (answer == Answer::No ? " No" : " Cancel"));
            Dimension dim;
            test::FakeDialogs dlg;
            dlg.answers.push_back(answer);
            FakeLocale locale(sep);
            const qsizetype before = QApplication::topLevelWidgets().size();
            EXPECT_EQ(StartProgram(dim, locale, dlg), nullptr);
            EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
            EXPECT_EQ(dlg.messages.size(), 1u);
            EXPECT_TRUE(locale.written.empty());
        }
    }
}

TEST(SystemLocale, SettingThePointSwitchesThisProcessAndRestoringPutsItBack)
{
    const std::string numericBefore = std::setlocale(LC_NUMERIC, nullptr);
    const QLocale defaultBefore;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    SystemLocaleAccess locale;
    locale.setDecimalSeparator(".");
    EXPECT_EQ(QLocale().toString(1.5) + std::setlocale(LC_NUMERIC, nullptr), "1.5C");
    locale.setDecimalSeparator(",");
    locale.setDecimalSeparator(","); // a second restore changes nothing
    EXPECT_EQ(QLocale().toString(1.5), "1,5");
    EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), numericBefore);
    QLocale::setDefault(defaultBefore);
    std::setlocale(LC_NUMERIC, numericBefore.c_str());
}
