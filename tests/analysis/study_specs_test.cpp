// The study fields as the user edits them: the guards that keep their texts
// usable, the results they clear, and what the commands read from them.
#include "shell/shown_window.h"

#include "shell/about_window.h"
#include "shell/errors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace vendrak;
using vendrak::test::ShownWindow;

namespace {

// Results on display, as a command would leave them.
void showResults(ShownWindow& s)
{
    s.dim.RootCount = 2;
    s.dim.MaxCount = 1;
    s.dim.MinCount = 1;
    s.dim.IntegralDone = true;
    s.w.lblIntegral->setText("1.5");
    s.w.lstRoots->addItems({"-1", "1"});
    s.w.lstExtrema->addItems({"MIN: [0 , -1]", "MAX: [2 , 3]"});
    s.w.lblRoots->setText("2 roots");
    s.w.lblExtrema->setText("1 max. 1 min. ");
}

bool resultsShown(ShownWindow& s)
{
    return s.dim.RootCount != 0 || s.dim.MaxCount != 0 || s.dim.MinCount != 0
        || s.dim.IntegralDone || !s.w.lblIntegral->text().isEmpty() || s.w.lstRoots->count() != 0
        || s.w.lstExtrema->count() != 0 || !s.w.lblRoots->text().isEmpty()
        || !s.w.lblExtrema->text().isEmpty();
}

bool resultsAllShown(ShownWindow& s)
{
    return s.dim.RootCount == 2 && s.dim.MaxCount == 1 && s.dim.MinCount == 1 && s.dim.IntegralDone
        && s.w.lblIntegral->text() == "1.5" && s.w.lstRoots->count() == 2
        && s.w.lstExtrema->count() == 2 && s.w.lblRoots->text() == "2 roots"
        && !s.w.lblExtrema->text().isEmpty();
}

// Types a subinterval count and leaves the field; returns the field's text.
QString leaveSubintervals(ShownWindow& s, const QString& typed)
{
    s.typeInto(s.w.txtSubintervals, typed);
    s.tab();
    return s.w.txtSubintervals->text();
}

QString leaveMaxcy(ShownWindow& s, const QString& typed)
{
    s.typeInto(s.w.txtMaxcy, typed);
    s.tab();
    return s.w.txtMaxcy->text();
}

} // namespace

// ------------------------------------------------------------ ReadStudySpecs

TEST(ReadStudySpecs, TakesTheLeadingNumberOfEachField)
{
    ShownWindow s;
    s.w.txtXlower->setText("12abc");
    s.w.txtXupper->setText("");
    s.w.txtSubintervals->setText("2.5");
    s.w.txtError->setText("1e-3");
    s.w.txtMaxcy->setText("3.5");
    s.w.cboDerivative->setCurrentIndex(2);
    s.w.ReadStudySpecs();
    EXPECT_EQ(s.dim.XLower, 12.0);
    EXPECT_EQ(s.dim.XUpper, 0.0);
    EXPECT_EQ(s.dim.Subintervals, 2); // halves to even
    EXPECT_EQ(s.dim.ErrorBound, 1e-3);
    EXPECT_EQ(s.dim.MaxCycles, 4);
    EXPECT_EQ(s.dim.DerivOrder, 2);
    s.w.cboDerivative->setCurrentIndex(0);
    s.w.ReadStudySpecs();
    EXPECT_EQ(s.dim.DerivOrder, 0); // "Function"
}

TEST(ReadStudySpecs, ACountBeyondThirtyTwoBitsRaisesOverflowForTheCommandToTrap)
{
    ShownWindow s;
    s.w.txtSubintervals->setText("3000000000");
    try {
        s.w.ReadStudySpecs();
        FAIL() << "no error raised";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), ErrOverflow);
    }
}

// -------------------------------------------------------------- ClearResults

TEST(ClearResults, EmptiesTheDisplaysAndCountsButKeepsTheTables)
{
    ShownWindow s;
    showResults(s);
    s.dim.Roots[1] = 4.0;
    s.dim.PossibleRootCount = 3;
    s.dim.IntegralValue = 1.5;
    s.w.lblDerVal->setText("7");
    s.w.ClearResults();
    EXPECT_FALSE(resultsShown(s));
    EXPECT_EQ(s.dim.Roots[1], 4.0);
    EXPECT_EQ(s.dim.PossibleRootCount, 3);
    EXPECT_EQ(s.dim.IntegralValue, 1.5);
    EXPECT_EQ(s.w.lblDerVal->text(), "7"); // not a result of the study fields
}

TEST(ClearResults, DoesNothingWhileASavedStudyIsRestored)
{
    ShownWindow s;
    showResults(s);
    s.dim.RestoringStudy = true;
    s.w.txtXlower->setText("-3");
    s.w.txtSubintervals->setText("64");
    s.w.ClearResults();
    EXPECT_TRUE(resultsAllShown(s));
    s.dim.RestoringStudy = false;
}

TEST(ClearResults, TheFirstKeystrokeInAStudyFieldClearsTheResults)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    for (QLineEdit* e : {s.w.txtXlower, s.w.txtXupper, s.w.txtSubintervals, s.w.txtMaxcy}) {
        SCOPED_TRACE(e->objectName().toStdString());
        showResults(s);
        s.focus(e);
        e->end(false);
        QTest::keyClick(e, Qt::Key_0);
        EXPECT_FALSE(resultsShown(s));
        e->backspace();
        s.focus(s.w.txtXeval); // leave it, normalised
    }
}

TEST(ClearResults, PlotFieldsAndCheckBoxesLeaveTheResults)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    showResults(s);
    s.typeInto(s.w.txtWindowlx, "-10");
    s.typeInto(s.w.txtDivx, "2");
    s.w.chkGrid->click();
    EXPECT_TRUE(resultsAllShown(s));
}

// ---------------------------------------------------------- interval check

TEST(IntervalCheck, AnEmptyIntervalSendsTheFocusToTheOtherLimit)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    s.w.txtXupper->setText("5");
    s.typeInto(s.w.txtXlower, "5");
    s.focus(s.w.txtMaxcy);
    EXPECT_EQ(s.focused(), s.w.txtXupper);
    EXPECT_EQ(s.w.txtXlower->text(), "5"); // no text is changed

    s.typeInto(s.w.txtXlower, "4.9");
    s.focus(s.w.txtMaxcy);
    EXPECT_EQ(s.focused(), s.w.txtMaxcy);

    // Leaving the upper limit below the lower one sends the focus back.
    s.typeInto(s.w.txtXupper, "-1");
    s.focus(s.w.txtError);
    EXPECT_EQ(s.focused(), s.w.txtXlower);
}

TEST(IntervalCheck, AnOverflowingLimitIsComparedAsTheLargestNumber)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    s.typeInto(s.w.txtXlower, "1e999");
    s.focus(s.w.txtMaxcy);
    EXPECT_EQ(s.focused(), s.w.txtXupper);
    EXPECT_TRUE(s.dlg.messages.empty());
}

// ------------------------------------------------------------- error bound

TEST(ErrorBound, ANumberNotAboveZeroCannotBeLeft)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    for (const char* typed : {"0", "-1", "abc", "", "-1e999", "1e999"}) {
        SCOPED_TRACE(typed);
        s.typeInto(s.w.txtError, typed);
        s.tab();
        EXPECT_EQ(s.focused(), s.w.txtError);
        s.focus(s.w.txtXlower);
        EXPECT_EQ(s.focused(), s.w.txtError);
        EXPECT_FALSE(s.w.commitFocusedField());
    }
    EXPECT_TRUE(s.dlg.messages.empty()); // refused silently
    s.typeInto(s.w.txtError, ".5");
    s.tab();
    EXPECT_EQ(s.focused(), s.w.txtMaxcy);
    EXPECT_EQ(s.dim.ErrorBound, 0.5);
}

TEST(ErrorBound, ACommandClickedWhileTheBoundIsZeroDoesNotRun)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    // f(x) = 2, whose integral over [-8, 8] is 32.
    s.dim.SeriesType = 1;
    s.dim.TermCount = 0;
    s.dim.Coeffs = {2.0};
    s.typeInto(s.w.txtError, "0");
    QTest::mouseClick(s.w.cmdIntegrate, Qt::LeftButton);
    s.settle();
    EXPECT_EQ(s.focused(), s.w.txtError);
    EXPECT_TRUE(s.w.lblIntegral->text().isEmpty());
    EXPECT_FALSE(s.dim.IntegralDone);
    EXPECT_TRUE(s.dlg.messages.empty());
    s.w.mnuSaveAs->trigger(); // a menu command waits for the field too
    s.settle();
    EXPECT_EQ(s.dlg.saveAsked, 0);
    EXPECT_EQ(s.focused(), s.w.txtError);

    s.typeInto(s.w.txtError, "0.1");
    QTest::mouseClick(s.w.cmdIntegrate, Qt::LeftButton);
    s.settle();
    EXPECT_EQ(s.w.lblIntegral->text(), "32");
    EXPECT_EQ(s.focused(), s.w.cmdIntegrate);
}

TEST(ErrorBound, ALooserBoundKeepsTheResultsATighterOneClearsThem)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    showResults(s);
    s.typeInto(s.w.txtError, "0.1"); // from .01
    s.tab();
    EXPECT_TRUE(resultsAllShown(s));
    EXPECT_EQ(s.dim.ErrorBound, 0.1);
    s.typeInto(s.w.txtError, "0.01"); // from 0.1
    s.tab();
    EXPECT_FALSE(resultsShown(s));
    EXPECT_EQ(s.dim.ErrorBound, 0.01);
}

// ------------------------------------------------------------ subintervals

TEST(Subintervals, BecomeAWholePowerOfTwoOfAtLeastTwo)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    EXPECT_EQ(leaveSubintervals(s, "1"), "2");
    EXPECT_EQ(leaveSubintervals(s, "0"), "2");
    EXPECT_EQ(leaveSubintervals(s, "-7"), "2");
    EXPECT_EQ(leaveSubintervals(s, "2.5"), "2"); // halves to even
    EXPECT_EQ(leaveSubintervals(s, "3.5"), "4");
    EXPECT_EQ(leaveSubintervals(s, "abc"), "2");
    EXPECT_EQ(leaveSubintervals(s, "256"), "256");
    EXPECT_EQ(leaveSubintervals(s, "300"), "512");
    EXPECT_EQ(leaveSubintervals(s, "1000"), "1024");
    // ln/ln would make 2^29 look a hair above 29 and double it.
    EXPECT_EQ(leaveSubintervals(s, "536870912"), "536870912");
    EXPECT_EQ(leaveSubintervals(s, "536870913"), "1073741824");
}

TEST(Subintervals, ACountBeyondTheLargestPowerIsHeldAtTwoToTheThirty)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    for (const char* typed : {"1073741825", "3000000000", "1e20", "1e999"}) {
        EXPECT_EQ(leaveSubintervals(s, typed), "1073741824") << typed;
        EXPECT_EQ(s.w.txtMaxcy->text(), "29") << typed;
    }
    EXPECT_EQ(leaveSubintervals(s, "-1e999"), "2");
    EXPECT_TRUE(s.dlg.messages.empty());
    s.w.ReadStudySpecs(); // the command can use what the guard left
    EXPECT_EQ(s.dim.Subintervals, 2);
}

TEST(Subintervals, RaiseALowerIterationLimitToTheHalvingCount)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    s.w.txtMaxcy->setText("1");
    EXPECT_EQ(leaveSubintervals(s, "5"), "8");
    EXPECT_EQ(s.w.txtMaxcy->text(), "2");
    s.w.txtMaxcy->setText("8");
    EXPECT_EQ(leaveSubintervals(s, "1000"), "1024");
    EXPECT_EQ(s.w.txtMaxcy->text(), "9");
    s.w.txtMaxcy->setText("20"); // a higher limit stays
    EXPECT_EQ(leaveSubintervals(s, "300"), "512");
    EXPECT_EQ(s.w.txtMaxcy->text(), "20");
}

TEST(Subintervals, AMenuCommandNormalisesTheFieldThatKeepsTheFocus)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    s.typeInto(s.w.txtSubintervals, "5");
    s.w.mnuSaveAs->trigger(); // the dialog is cancelled: nothing is saved
    s.settle();
    EXPECT_EQ(s.dlg.saveAsked, 1);
    EXPECT_EQ(s.w.txtSubintervals->text(), "8");
    EXPECT_EQ(s.focused(), s.w.txtSubintervals);
    // Still the field being edited: leaving it later checks it again.
    s.focus(s.w.txtSubintervals);
    s.w.txtSubintervals->setText("3");
    s.tab();
    EXPECT_EQ(s.w.txtSubintervals->text(), "4");
}

// -------------------------------------------------------------- iterations

TEST(IterationLimit, IsAtLeastTheHalvingCountLessOneAndWhole)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    ASSERT_EQ(s.w.txtSubintervals->text(), "256");
    EXPECT_EQ(leaveMaxcy(s, "3"), "7");
    EXPECT_EQ(leaveMaxcy(s, "7.5"), "8"); // halves to even
    EXPECT_EQ(leaveMaxcy(s, "6.5"), "7");
    EXPECT_EQ(leaveMaxcy(s, "40"), "40");
    EXPECT_EQ(leaveMaxcy(s, "abc"), "7");
    s.w.txtSubintervals->setText("2");
    EXPECT_EQ(leaveMaxcy(s, "0"), "1");
    EXPECT_EQ(leaveMaxcy(s, "-5"), "1");
    EXPECT_EQ(leaveMaxcy(s, "abc"), "1");
}

TEST(IterationLimit, UsesTheCountAsItStandsAndSurvivesUnusableTexts)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    // A count never validated: not rounded up, so 300 gives a floor of 7.
    s.w.txtSubintervals->setText("300");
    EXPECT_EQ(leaveMaxcy(s, "1"), "7");
    // A count that is not positive gives no floor.
    s.w.txtSubintervals->setText("-4");
    EXPECT_EQ(leaveMaxcy(s, "0"), "1");
    s.w.txtSubintervals->setText("1e999");
    EXPECT_EQ(leaveMaxcy(s, "1"), "1023");
    s.w.txtSubintervals->setText("256");
    EXPECT_EQ(leaveMaxcy(s, "1e999"), "1073741824");
    EXPECT_EQ(leaveMaxcy(s, "5e9"), "1073741824");
    EXPECT_TRUE(s.dlg.messages.empty());
    s.w.ReadStudySpecs();
    EXPECT_EQ(s.dim.MaxCycles, 1073741824);
}
