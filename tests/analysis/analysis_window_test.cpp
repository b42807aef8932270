// The four analysis commands through the window: the buttons pressed, the
// study fields read, the lists and labels filled with the exact texts.
#include "analysis_fixtures.h"
#include "shell/errors.h"
#include "shell/main_window.h"
#include "shell/number_text.h"
#include "support/fake_dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace vendrak {
namespace {

// Remembers whether the hourglass was still up when a box appeared.
class CursorWatchingDialogs : public test::FakeDialogs {
public:
    bool busyAtMessage = false;
    void message(const QString& title, const QString& text, Icon icon) override
    {
        busyAtMessage = busyAtMessage || QApplication::overrideCursor() != nullptr;
        FakeDialogs::message(title, text, icon);
    }
};

struct Window {
    Dimension dim;
    CursorWatchingDialogs dlg;
    MainWindow w{dim, dlg};

    // Puts a series into the study state as the file reader would.
    void load(const Dimension& series)
    {
        dim.SeriesType = series.SeriesType;
        dim.TermCount = series.TermCount;
        dim.Coeffs = series.Coeffs;
        dim.Centre = series.Centre;
        dim.Period = series.Period;
    }
    void press(QPushButton* button)
    {
        button->click();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << button->objectName().toStdString();
    }
    static QStringList items(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    QStringList roots() const { return items(w.lstRoots); }
    QStringList extrema() const { return items(w.lstExtrema); }
};

TEST(AnalysisWindow, NoSeriesLoaded)
{
    Window t;
    t.press(t.w.cmdRoots);
    EXPECT_TRUE(t.roots().isEmpty());
    EXPECT_EQ(t.w.lblRoots->text(), "0 roots");

    t.press(t.w.cmdExtrema);
    EXPECT_TRUE(t.extrema().isEmpty());
    EXPECT_EQ(t.w.lblExtrema->text(), "0 max. 0 min. ");

    t.press(t.w.cmdDerVal);
    EXPECT_EQ(t.w.lblDerVal->text(), "");
    EXPECT_TRUE(t.dlg.messages.empty());

    t.press(t.w.cmdIntegrate);
    ASSERT_EQ(t.dlg.messages.size(), 1u);
    EXPECT_EQ(t.dlg.messages[0].title, "Vendrak");
    EXPECT_EQ(t.dlg.messages[0].text, "division by zero");
    EXPECT_FALSE(t.dlg.busyAtMessage);
    EXPECT_EQ(t.w.lblIntegral->text(), "");
    EXPECT_FALSE(t.dim.IntegralDone);
}

TEST(AnalysisWindow, RootsAndExtremaListsAndLabels)
{
    Window t;
    t.load(test::powerSeries({-2, 0, 1})); // x^2 - 2
    t.press(t.w.cmdRoots);
    ASSERT_EQ(t.dim.RootCount, 2);
    EXPECT_EQ(t.roots(), (QStringList{NumberText(t.dim.Roots[1]), NumberText(t.dim.Roots[2])}));
    EXPECT_EQ(t.w.lblRoots->text(), "2 roots");
    EXPECT_EQ(t.dim.XLower, -8); // the command read the fields
    EXPECT_EQ(t.dim.Subintervals, 256);

    t.load(test::powerSeries({0, 0, 1})); // x^2
    t.press(t.w.cmdExtrema);
    EXPECT_EQ(t.extrema(), QStringList{"MIN: [0 , 0]"});
    EXPECT_EQ(t.w.lblExtrema->text(), "0 max. 1 min. 1 possible root(s).");

    // Another run replaces the list, it does not add to it.
    t.press(t.w.cmdExtrema);
    EXPECT_EQ(t.extrema(), QStringList{"MIN: [0 , 0]"});

    // The interval comes from the fields: no grid point at 0, no root.
    t.w.txtXlower->setText("-7.99");
    t.press(t.w.cmdRoots);
    EXPECT_TRUE(t.roots().isEmpty());
    EXPECT_EQ(t.w.lblRoots->text(), "0 roots");
}

TEST(AnalysisWindow, IntegralLabelAndMessages)
{
    Window t;
    t.load(test::powerSeries({1, 2}, 1)); // 1 + 2 (x - 1)
    t.w.txtXlower->setText("0");
    t.w.txtXupper->setText("2");
    t.press(t.w.cmdIntegrate);
    EXPECT_EQ(t.w.lblIntegral->text(), "2");
    EXPECT_TRUE(t.dim.IntegralDone);
    EXPECT_TRUE(t.dlg.messages.empty());

    // A failing integral leaves the shown result alone.
    t.load(test::trigSeries({1, 2, 3}, 0, 0));
    t.press(t.w.cmdIntegrate);
    ASSERT_EQ(t.dlg.messages.size(), 1u);
    EXPECT_EQ(t.dlg.messages[0].text, "overflow"); // lower limit at the centre: 0 / 0
    EXPECT_EQ(t.w.lblIntegral->text(), "2");
    EXPECT_EQ(t.dim.IntegralValue, 2.0);
    EXPECT_TRUE(t.dim.IntegralDone);
}

TEST(AnalysisWindow, ValueOfTheFunctionAndItsDerivatives)
{
    Window t;
    t.load(test::powerSeries({0, 0, 1})); // x^2
    t.w.txtXeval->setText("3");
    const std::pair<const char*, const char*> cases[] = {
        {"0", "9"}, {"1", "6"}, {"2", "2"}, {"3", "0"}, {"2.5", "2"}, {"170", "0"}, {"171", ""}, {"-1", ""},
    };
    for (const auto& [order, shown] : cases) {
        t.w.lblDerVal->setText("stale");
        t.w.txtDerNum->setText(order);
        t.press(t.w.cmdDerVal);
        EXPECT_EQ(t.w.lblDerVal->text(), shown) << order;
    }
    EXPECT_TRUE(t.dlg.messages.empty());

    // The next command takes its order from the plot's selector again.
    t.press(t.w.cmdRoots);
    EXPECT_EQ(t.dim.DerivOrder, 0);
}

TEST(AnalysisWindow, UnreadableSpecificationsEndQuietlyExceptForTheIntegral)
{
    Window t;
    t.load(test::powerSeries({-2, 0, 1}));
    t.press(t.w.cmdRoots);
    ASSERT_EQ(t.w.lblRoots->text(), "2 roots");
    t.press(t.w.cmdExtrema);
    t.w.txtDerNum->setText("0");
    t.press(t.w.cmdDerVal);
    ASSERT_EQ(t.w.lblDerVal->text(), "-2"); // at x = 0

    // A limit beyond the double range cannot be read (error 6).
    t.w.txtXupper->setText("1e999");
    t.w.lblRoots->setText("kept");
    t.w.lblExtrema->setText("kept");
    t.press(t.w.cmdRoots);
    EXPECT_TRUE(t.roots().isEmpty());
    EXPECT_EQ(t.dim.RootCount, 0);
    EXPECT_EQ(t.w.lblRoots->text(), "kept");
    t.press(t.w.cmdExtrema);
    EXPECT_TRUE(t.extrema().isEmpty());
    EXPECT_EQ(t.dim.MaxCount + t.dim.MinCount, 0);
    EXPECT_EQ(t.w.lblExtrema->text(), "kept");
    t.press(t.w.cmdDerVal);
    EXPECT_EQ(t.w.lblDerVal->text(), "");
    EXPECT_TRUE(t.dlg.messages.empty());
    EXPECT_EQ(t.dim.ierr, ErrOverflow);

    t.press(t.w.cmdIntegrate);
    ASSERT_EQ(t.dlg.messages.size(), 1u);
    EXPECT_EQ(t.dlg.messages[0].text, "overflow");
}

TEST(AnalysisWindow, SubintervalCountBelowOneFromASavedStudy)
{
    // The field guards never leave such a count; a restored study can.
    Window t;
    t.load(test::powerSeries({-2, 0, 1}));
    t.dim.RestoringStudy = true;
    t.w.txtSubintervals->setText("0");
    t.dim.RestoringStudy = false;
    t.press(t.w.cmdRoots);
    EXPECT_EQ(t.w.lblRoots->text(), "0 roots");
    t.press(t.w.cmdExtrema);
    EXPECT_EQ(t.w.lblExtrema->text(), "0 max. 0 min. ");
}

TEST(AnalysisWindow, AnOpenedSeriesFile)
{
    Window t;
    t.w.OpenSeriesFileNamed(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_taylor.txt"));
    ASSERT_EQ(t.dim.SeriesType, 1);
    t.w.txtXlower->setText("-8");
    t.w.txtXupper->setText("8");
    t.press(t.w.cmdRoots);
    EXPECT_EQ(t.w.lblRoots->text(), "5 roots");
    t.press(t.w.cmdExtrema);
    EXPECT_EQ(t.w.lblExtrema->text(), "3 max. 3 min. ");
    t.w.txtXlower->setText("0");
    t.w.txtXupper->setText("3.14159265358979");
    t.press(t.w.cmdIntegrate);
    EXPECT_NEAR(LeadingNumber(t.w.lblIntegral->text()), 2.0, 1e-9);
}

} // namespace
} // namespace vendrak
