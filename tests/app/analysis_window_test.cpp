// The four analysis commands through the window: the buttons pressed, the
// study fields read, the lists and labels filled with the exact texts.
#include "support/analysis_fixtures.h"
#include "core/study/errors.h"
#include "app/main_window.h"
#include "core/study/number_text.h"
#include "support/fake_dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include <tuple>

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
    void load(const Dimension& s)
    {
        std::tie(dim.SeriesType, dim.TermCount, dim.Coeffs, dim.Centre, dim.Period) =
            std::tie(s.SeriesType, s.TermCount, s.Coeffs, s.Centre, s.Period);
    }
    // Presses the buttons; returns the four labels and both lists.
    QStringList press(std::initializer_list<QPushButton*> buttons)
    {
        for (QPushButton* b : buttons) {
            b->click();
            EXPECT_EQ(QApplication::overrideCursor(), nullptr) << b->objectName().toStdString();
        }
        QStringList out{w.lblRoots->text(), w.lblExtrema->text(), w.lblIntegral->text(), w.lblDerVal->text()};
        for (const QListWidget* list : {w.lstRoots, w.lstExtrema})
            for (int i = 0; i < list->count(); ++i)
                out << list->item(i)->text();
        return out;
    }
};

TEST(AnalysisWindow, NoSeriesLoadedAndUnusableFields)
{
    Window t;
    EXPECT_EQ(t.press({t.w.cmdRoots, t.w.cmdExtrema, t.w.cmdDerVal}), QStringList({"0 roots", "0 max. 0 min. ", "", ""}));
    EXPECT_TRUE(t.dlg.messages.empty());
    t.press({t.w.cmdIntegrate});
    ASSERT_EQ(t.dlg.messages.size(), 1u);
    EXPECT_EQ(t.dlg.messages[0].title, "Vendrak");
    EXPECT_EQ(t.dlg.messages[0].text, "division by zero");
    EXPECT_FALSE(t.dlg.busyAtMessage);
    EXPECT_FALSE(t.dim.IntegralDone);

    t.load(test::powerSeries({-2, 0, 1}));
    ASSERT_EQ(t.press({t.w.cmdRoots, t.w.cmdExtrema}).size(), 3 + 4);
    // A limit beyond the double range cannot be read (error 6): lists and
    // counts are emptied, the labels left, and only the integral says so.
    t.w.txtXupper->setText("1e999");
    t.w.lblRoots->setText("kept");
    t.w.lblExtrema->setText("kept");
    t.w.lblDerVal->setText("-2");
    EXPECT_EQ(t.press({t.w.cmdRoots, t.w.cmdExtrema, t.w.cmdDerVal}), QStringList({"kept", "kept", "", ""}));
    EXPECT_EQ(t.dim.RootCount + t.dim.MaxCount + t.dim.MinCount, 0);
    EXPECT_EQ(t.dim.ierr, errorCode(ErrorNumber::Overflow));
    t.press({t.w.cmdIntegrate});
    ASSERT_EQ(t.dlg.messages.size(), 2u);
    EXPECT_EQ(t.dlg.messages[1].text, "overflow");
}

TEST(AnalysisWindow, ListsAndLabelsFromTheFields)
{
    Window t;
    t.load(test::powerSeries({-2, 0, 1})); // x^2 - 2
    const QStringList roots = t.press({t.w.cmdRoots});
    ASSERT_EQ(t.dim.RootCount, 2);
    EXPECT_EQ(roots, QStringList({"2 roots", "", "", "", NumberText(t.dim.Roots[1]), NumberText(t.dim.Roots[2])}));

    t.load(test::powerSeries({0, 0, 1})); // x^2; another run replaces the lists
    t.w.txtXeval->setText("3");
    EXPECT_EQ(t.press({t.w.cmdRoots, t.w.cmdExtrema, t.w.cmdRoots, t.w.cmdExtrema}),
              QStringList({"1 roots", "0 max. 1 min. 1 possible root(s).", "", "", "0", "MIN: [0 , 0]"}));
    const char* const values[][2] = {{"0", "9"}, {"1", "6"}, {"2", "2"}, {"3", "0"}, {"2.5", "2"},
                                     {"170", "0"}, {"171", ""}, {"-1", ""}};
    for (const auto& [order, shown] : values) {
        t.w.lblDerVal->setText("stale");
        t.w.txtDerNum->setText(order);
        EXPECT_EQ(t.press({t.w.cmdDerVal})[3], shown) << order;
    }
    t.w.txtXlower->setText("-7.99"); // no grid point at 0: no root
    EXPECT_EQ(t.press({t.w.cmdRoots}), QStringList({"0 roots", "", "", ""}));
    EXPECT_EQ(t.dim.DerivOrder, 0); // the command took its order from the plot's selector again

    t.load(test::powerSeries({1, 2}, 1)); // 1 + 2 (x - 1)
    t.w.txtXlower->setText("0");
    t.w.txtXupper->setText("2");
    EXPECT_EQ(t.press({t.w.cmdIntegrate})[2], "2");
    EXPECT_TRUE(t.dlg.messages.empty());
    // A failing integral leaves the shown result alone.
    t.load(test::trigSeries({1, 2, 3}, 0, 0));
    EXPECT_EQ(t.press({t.w.cmdIntegrate})[2], "2");
    ASSERT_EQ(t.dlg.messages.size(), 1u);
    EXPECT_EQ(t.dlg.messages[0].text, "overflow"); // lower limit at the centre: 0 / 0
    EXPECT_EQ(t.dim.IntegralValue, 2.0);
    EXPECT_TRUE(t.dim.IntegralDone);
}

} // namespace
} // namespace vendrak
