// The decimal-separator guard, with the user's locale faked so both answers
// can be tried whatever locales the machine has.
#include "shell/decimal_point.h"

#include "shell/about_window.h"
#include "shell/dimension.h"
#include "shell/help_viewer.h"
#include "shell/main_window.h"
#include "shell/sub_main.h"
#include "support/fake_dialogs.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <clocale>
#include <string>

using namespace vendrak;
using vendrak::test::FakeDialogs;

namespace {

class FakeLocale : public LocaleAccess {
public:
    explicit FakeLocale(QString separator) : separator_(std::move(separator)) {}
    QString readDecimalSeparator() override { return separator_; }
    void setDecimalSeparator(const QString& s) override
    {
        written.push_back(s);
        separator_ = s;
    }
    QString current() const { return separator_; }
    std::vector<QString> written;

private:
    QString separator_;
};

const char* const kWarningLines[] = {
    "Proper operation of this application requires the use of the DECIMAL POINT.",
    "Your system is currently using the DECIMAL COMMA.",
    "",
    "Do you wish to temporarily change this system setting to decimal point?",
    "(Upon exiting, this application will restore your setting.)",
    "(See HELP FILE or visit https://vendrak.example.org for instructions on how to change MANUALLY)",
    "",
    "Press YES to change.",
};

QString expectedWarning()
{
    QString text;
    for (std::size_t i = 0; i < std::size(kWarningLines); ++i) {
        if (i > 0)
            text += QChar(13);
        text += QString::fromUtf8(kWarningLines[i]);
    }
    return text;
}

int mainWindowsAlive()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<MainWindow*>(w))
            ++n;
    return n;
}

} // namespace

TEST(DecimalGuard, APointStartsWithoutAQuestionAndIsWrittenBackAtExit)
{
    Dimension dim;
    FakeDialogs dlg;
    FakeLocale locale(".");
    EXPECT_TRUE(CheckDecimalSeparator(dim, locale, dlg));
    EXPECT_TRUE(dlg.messages.empty());
    EXPECT_EQ(dim.SavedDecimalSeparator, ".");
    EXPECT_TRUE(locale.written.empty());
    RestoreDecimalSeparator(dim, locale);
    EXPECT_EQ(locale.written, std::vector<QString>{"."});
}

TEST(DecimalGuard, ACommaAsksTheExactQuestion)
{
    Dimension dim;
    FakeDialogs dlg;
    dlg.answers.push_back(Dialogs::Answer::Yes);
    FakeLocale locale(",");
    EXPECT_TRUE(CheckDecimalSeparator(dim, locale, dlg));
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_EQ(dlg.messages[0].title, "Decimal Comma Warning!");
    EXPECT_EQ(dlg.messages[0].text, expectedWarning());
    EXPECT_EQ(dlg.messages[0].icon, Dialogs::Icon::Critical);
    EXPECT_FALSE(dlg.messages[0].text.contains(QChar(10))); // carriage returns alone
    EXPECT_EQ(locale.current(), ".");
    EXPECT_EQ(dim.SavedDecimalSeparator, ",");
    RestoreDecimalSeparator(dim, locale);
    EXPECT_EQ(locale.current(), ",");
}

TEST(DecimalGuard, NoOrCancelEndsWithTheLocaleUntouched)
{
    for (Dialogs::Answer answer : {Dialogs::Answer::No, Dialogs::Answer::Cancel}) {
        Dimension dim;
        FakeDialogs dlg;
        dlg.answers.push_back(answer);
        FakeLocale locale(",");
        EXPECT_FALSE(CheckDecimalSeparator(dim, locale, dlg));
        EXPECT_EQ(dlg.messages.size(), 1u);
        EXPECT_TRUE(locale.written.empty());
    }
}

TEST(DecimalGuard, AnySeparatorButASinglePointIsTreatedLikeAComma)
{
    for (const QString& sep : {QString("٫"), QString(".."), QString(" "), QString()}) {
        Dimension dim;
        FakeDialogs dlg;
        FakeLocale locale(sep);
        EXPECT_FALSE(CheckDecimalSeparator(dim, locale, dlg)); // unanswered box: Cancel
        EXPECT_EQ(dlg.messages.size(), 1u) << sep.toStdString();
    }
}

TEST(DecimalGuard, TheSeparatorReadIsCutAtItsFirstNul)
{
    Dimension dim;
    FakeLocale locale(QString(",") + QChar(0) + QString("junk"));
    ReadDecimalSeparator(dim, locale);
    EXPECT_EQ(dim.SavedDecimalSeparator, ",");
}

TEST(DecimalGuard, NothingIsWrittenBackWhenTheGuardNeverRan)
{
    Dimension dim;
    FakeLocale locale(",");
    RestoreDecimalSeparator(dim, locale);
    EXPECT_TRUE(locale.written.empty());
}

TEST(StartProgram, DecliningEndsBeforeAnyWindowExists)
{
    Dimension dim;
    FakeDialogs dlg;
    dlg.answers.push_back(Dialogs::Answer::No);
    FakeLocale locale(",");
    const int before = mainWindowsAlive();
    auto window = StartProgram(dim, locale, dlg);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(mainWindowsAlive(), before);
    EXPECT_TRUE(locale.written.empty());
}

TEST(StartProgram, YesSwitchesForTheRunAndClosingPutsTheCommaBack)
{
    Dimension dim;
    FakeDialogs dlg;
    dlg.answers.push_back(Dialogs::Answer::Yes);
    FakeLocale locale(",");
    auto window = StartProgram(dim, locale, dlg);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(locale.current(), ".");
    window->mnuAbout->trigger();
    ASSERT_NE(window->aboutWindow(), nullptr);
    EXPECT_TRUE(window->aboutWindow()->isVisible());
    window->setHelpFile("/nonexistent/index.html");
    window->mnuHelp->trigger();
    ASSERT_NE(window->helpViewer(), nullptr);

    EXPECT_TRUE(window->close()); // never refused, never asks
    QCoreApplication::processEvents();
    EXPECT_EQ(locale.current(), ",");
    EXPECT_EQ(window->aboutWindow(), nullptr); // closed with the main window
    EXPECT_FALSE(window->helpViewer()->isVisible());
    EXPECT_EQ(dlg.messages.size(), 1u);         // only the guard's question
}

TEST(SystemLocale, SettingThePointSwitchesThisProcessAndRestoringPutsItBack)
{
    const std::string numericBefore = std::setlocale(LC_NUMERIC, nullptr);
    const QLocale defaultBefore;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
        SystemLocaleAccess locale;
        EXPECT_FALSE(locale.readDecimalSeparator().isEmpty());
        locale.setDecimalSeparator(".");
        EXPECT_EQ(QLocale().decimalPoint(), ".");
        EXPECT_EQ(QLocale().toString(1.5), "1.5");
        EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
        locale.setDecimalSeparator(",");
        EXPECT_EQ(QLocale().toString(1.5), "1,5");
        EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), numericBefore);
        // Restoring when nothing was switched changes nothing.
        locale.setDecimalSeparator(",");
        EXPECT_EQ(QLocale().toString(1.5), "1,5");
    }
    QLocale::setDefault(defaultBefore);
    std::setlocale(LC_NUMERIC, numericBefore.c_str());
}
