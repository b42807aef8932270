// The study fields as the user edits them: the guards that keep their texts
// usable, the results they clear, and what the commands read from them.
#include "support/shown_window.h"

#include <QtWidgets>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace vendrak;
using vendrak::test::ShownWindow;

namespace {

// Results on display, as a command would leave them.
void showResults(ShownWindow& s)
{
    std::tie(s.dim.results.Roots, s.dim.results.Maxima, s.dim.results.Minima, s.dim.results.IntegralDone) =
        std::tuple(std::vector<double>{-1, 1}, std::vector<double>{2}, std::vector<double>{0}, true);
    s.label("lblIntegral")->setText("1.5");
    s.list("lstRoots")->addItems({"-1", "1"});
    s.list("lstExtrema")->addItems({"MIN: [0 , -1]", "MAX: [2 , 3]"});
    s.label("lblRoots")->setText("2 roots");
    s.label("lblExtrema")->setText("1 max. 1 min. ");
}

// Every result display and count in one text.
QString results(ShownWindow& s)
{
    return QString("%1|%2|%3|%4|%5|%6|%7|%8|%9")
        .arg(s.dim.results.Roots.size()).arg(s.dim.results.Maxima.size()).arg(s.dim.results.Minima.size()).arg(int(s.dim.results.IntegralDone))
        .arg(s.label("lblIntegral")->text()).arg(s.list("lstRoots")->count()).arg(s.list("lstExtrema")->count())
        .arg(s.label("lblRoots")->text(), s.label("lblExtrema")->text());
}
const QString kShown = "2|1|1|1|1.5|2|2|2 roots|1 max. 1 min. ";
const QString kCleared = "0|0|0|0||0|0||";

// Types into a field and leaves it; returns the field's text.
QString leave(ShownWindow& s, QLineEdit* field, const QString& typed)
{
    s.typeInto(field, typed);
    s.tab();
    return field->text();
}

} // namespace

TEST(StudyFields, WhatClearsTheResults)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    showResults(s);
    s.label("lblDerVal")->setText("7");
    s.field("txtMaxcy")->setText("21"); // a study field changed
    EXPECT_EQ(results(s), kCleared);
    EXPECT_EQ(s.label("lblDerVal")->text(), "7"); // not a result of the study fields
    showResults(s);
    s.dim.window.RestoringStudy = true; // not while a saved study is restored
    s.field("txtMaxcy")->setText("20");
    s.dim.window.RestoringStudy = false;
    EXPECT_EQ(results(s), kShown);

    // The first keystroke in a study field clears them; plot fields do not.
    for (QLineEdit* e : {s.field("txtXlower"), s.field("txtXupper"), s.field("txtSubintervals"), s.field("txtMaxcy")}) {
        SCOPED_TRACE(e->objectName().toStdString());
        s.focus(e);
        e->end(false);
        QTest::keyClick(e, Qt::Key_0);
        EXPECT_EQ(results(s), kCleared);
        e->backspace();
        s.focus(s.field("txtXeval"));
        showResults(s);
    }
    s.typeInto(s.field("txtWindowlx"), "-10");
    s.typeInto(s.field("txtDivx"), "2");
    s.check("chkGrid")->click();
    EXPECT_EQ(results(s), kShown);
    // A looser error bound keeps them, a tighter one clears them.
    leave(s, s.field("txtError"), "0.1"); // from .01
    EXPECT_EQ(results(s), kShown);
    leave(s, s.field("txtError"), "0.01");
    EXPECT_EQ(results(s), kCleared);
}

// The study interval and both plot windows alike, whichever limit is left.
TEST(StudyFields, AnEmptyIntervalSendsTheFocusToTheOtherLimit)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    QLineEdit* const maxcy = s.field("txtMaxcy");
    for (const auto& [lower, upper] : {std::pair{s.field("txtXlower"), s.field("txtXupper")},
                                       {s.field("txtWindowlx"), s.field("txtWindowgx")}, {s.field("txtWindowly"), s.field("txtWindowgy")}})
        for (QLineEdit* left : {lower, upper}) {
            QLineEdit* const other = left == lower ? upper : lower;
            SCOPED_TRACE(left->objectName().toStdString());
            other->setText("5");
            // An overflowing lower limit is the largest number.
            for (const QString& typed : left == lower ? QStringList{"5", "1e999"} : QStringList{"5", "4"}) {
                s.typeInto(left, typed);
                s.focus(maxcy);
                EXPECT_EQ(s.focused(), other) << typed.toStdString();
                EXPECT_EQ(left->text(), typed); // no text is changed
            }
            s.typeInto(left, left == lower ? "4.9" : "5.1");
            s.focus(maxcy);
            EXPECT_EQ(s.focused(), maxcy);
        }
}

TEST(StudyFields, AnErrorBoundNotAboveZeroCannotBeLeftNorACommandRun)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    for (const char* typed : {"0", "-1", "abc", "", "1e999"}) {
        SCOPED_TRACE(typed);
        EXPECT_EQ(leave(s, s.field("txtError"), typed), typed);
        s.focus(s.field("txtXlower"));
        EXPECT_EQ(s.focused(), s.field("txtError"));
        s.button("cmdIntegrate")->click(); // without a series it would say so
        EXPECT_TRUE(s.dlg.messages.empty());
    }
    std::tie(s.dim.series.Kind, s.dim.series.TermCount, s.dim.series.Coeffs) = std::tuple(SeriesKind::Power, 0, std::vector<double>{2}); // f = 2
    s.typeInto(s.field("txtError"), "0");
    QTest::mouseClick(s.button("cmdIntegrate"), Qt::LeftButton);
    s.settle();
    EXPECT_EQ(s.focused(), s.field("txtError"));
    EXPECT_TRUE(s.label("lblIntegral")->text().isEmpty());
    EXPECT_FALSE(s.dim.results.IntegralDone);
    EXPECT_TRUE(s.dlg.messages.empty()); // refused silently
    s.typeInto(s.field("txtError"), ".1");
    QTest::mouseClick(s.button("cmdIntegrate"), Qt::LeftButton);
    s.settle();
    EXPECT_EQ(s.label("lblIntegral")->text(), "32");
    EXPECT_EQ(s.focused(), s.button("cmdIntegrate"));
}

TEST(StudyFields, SubintervalsAreAPowerOfTwoAndIterationsAtLeastTheHalvingCountLessOne)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    const char* const subintervals[][4] = { // typed, shown, iteration limit before, after
        {"5", "8", "1", "2"}, {"1000", "1024", "8", "9"}, {"300", "512", "20", "20"}, {"2.5", "2", "20", "20"},
        {"3.5", "4", "20", "20"}, {"abc", "2", "20", "20"}, {"-7", "2", "1", "1"}, {"256", "256", "1", "7"},
        // ln/ln would make 2^29 look a hair above 29 and double it.
        {"536870912", "536870912", "1", "28"}, {"536870913", "1073741824", "1", "29"},
        // Beyond the largest power the count is held at 2^30.
        {"3000000000", "1073741824", "1", "29"}, {"1e999", "1073741824", "1", "29"},
    };
    for (const auto& [typed, shown, before, after] : subintervals) {
        s.field("txtMaxcy")->setText(before);
        EXPECT_EQ(leave(s, s.field("txtSubintervals"), typed), shown) << typed;
        EXPECT_EQ(s.field("txtMaxcy")->text(), after) << typed;
    }
    const char* const iterations[][3] = { // subintervals as they stand, typed, shown
        {"256", "3", "7"}, {"256", "7.5", "8"}, {"256", "6.5", "7"}, {"256", "40", "40"}, {"256", "abc", "7"},
        {"2", "-5", "1"}, {"300", "1", "7"}, // a count never validated is not rounded up first
        {"1e999", "1", "1023"}, {"1073741824", "1e999", "1073741824"}, {"256", "5e9", "1073741824"},
    };
    for (const auto& [count, typed, shown] : iterations) {
        s.field("txtSubintervals")->setText(count);
        EXPECT_EQ(leave(s, s.field("txtMaxcy"), typed), shown) << count << ", " << typed;
    }
    EXPECT_TRUE(s.dlg.messages.empty());
    s.field("txtSubintervals")->setText("1073741824");
    s.button("cmdPlot")->click(); // the commands can use what the guards left
    EXPECT_EQ(s.dim.study.Subintervals, 1073741824);
    EXPECT_EQ(s.dim.study.MaxCycles, 1073741824);
}
