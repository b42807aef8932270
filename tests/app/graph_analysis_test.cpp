// The graph and the analysis commands through the window: Plot and its
// fields, navigation with the exact field texts, the graph area's mouse, the
// clipboard, and the lists and labels the commands fill.
#include "core/graph/graph_drawing.h"
#include "core/graph/navigation.h"
#include "core/study/errors.h"
#include "core/study/number_text.h"
#include "support/analysis_fixtures.h"
#include "support/shown_window.h"

#include <QtWidgets>
#include <gtest/gtest.h>

#include <tuple>

namespace vendrak {
namespace {

struct Graph : test::Window {
    Graph() { std::tie(dim.series.Kind, dim.series.Coeffs, dim.series.TermCount) = std::tuple(SeriesKind::Power, std::vector<double>{0, 0.5}, 1); } // x/2
    bool blank() const
    {
        QImage plain = picture()->image();
        plain.fill(plain.pixel(0, 0));
        return picture()->image() == plain;
    }
};

TEST(Graph, PlotFromTheFieldsAndTheImageCopiedWhateverThePersistSetting)
{
    Graph g;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("something else"));
    g.action("mnuCopy")->trigger();
    EXPECT_EQ(clipboard->image().size(), QSize(396, 296)); // the blank canvas, inside its border
    EXPECT_TRUE(clipboard->text().isEmpty());
    g.button("cmdPlot")->click(); // the initial window, study fields read too
    EXPECT_EQ(std::tuple(g.dim.window.GraphShown, g.dim.plot.WindowLX, g.dim.plot.WindowGY, g.dim.study.XLower), std::tuple(true, -20.0f, 15.0f, -8.0));
    EXPECT_EQ(g.picture()->image().pixel(79, 207), qRgb(0, 0, 0)); // f(x) = x/2 at x = -12
    EXPECT_FALSE(g.w.drawingGraph());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const QImage plain = g.w.graphImage();
    g.check("chkPersist")->setChecked(true);
    g.button("cmdPlot")->click();
    EXPECT_TRUE(g.picture()->autoRedraw());
    EXPECT_EQ(g.w.graphImage(), plain);
    g.action("mnuCopy")->trigger();
    EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB32), plain.convertToFormat(QImage::Format_RGB32));
}

TEST(Graph, EditingAPlotFieldBlanksTheGraphButOptionsWaitForThePlot)
{
    Graph g;
    g.check("chkGrid")->setChecked(false);
    g.check("chkShade")->setChecked(false);
    for (QLineEdit* field : {g.field("txtWindowlx"), g.field("txtWindowgy"), g.field("txtXorigin"), g.field("txtDivy"), g.field("txtPlotStep")}) {
        g.button("cmdPlot")->click();
        ASSERT_FALSE(g.blank());
        field->setText(field->text() + u'0');
        EXPECT_FALSE(g.dim.window.GraphShown) << field->objectName().toStdString();
        EXPECT_TRUE(g.blank());
    }
    // The derivative selector only when left changed.
    test::ShownWindow s;
    s.dim.series = g.dim.series;
    s.button("cmdPlot")->click();
    s.focus(s.combo("cboDerivative"));
    s.focus(s.field("txtXeval"));
    EXPECT_TRUE(s.dim.window.GraphShown);
    s.focus(s.combo("cboDerivative"));
    s.combo("cboDerivative")->setCurrentIndex(2);
    s.focus(s.field("txtXeval"));
    EXPECT_FALSE(s.dim.window.GraphShown);
}

TEST(Graph, FieldsAndWindowsThatCannotBeDrawnAreRefusedAndTheWindowStaysUsable)
{
    Graph g;
    const std::tuple<const char*, const char*, bool> fields[] = {
        {"txtPlotStep", "81", true}, {"txtPlotStep", "2.5", true}, {"txtPlotStep", "1E+999", true},
        {"txtPlotStep", "40x", false}, {"txtDivx", "-0", true}, {"txtDivx", "", true}, {"txtDivy", "-0.5", false},
    };
    test::ShownWindow s; // refused: the field cannot be left
    for (const auto& [field, text, refused] : fields) {
        s.typeInto(s.field(field), QString::fromLatin1(text));
        s.tab();
        EXPECT_EQ(s.focusedName() == field, refused) << text;
        s.field(field)->setText(QStringLiteral("1"));
        s.tab();
    }
    g.field("txtDivx")->setText("1");
    g.field("txtDivy")->setText("1");
    const std::tuple<const char*, const char*, QString> windows[] = {
        {"5 5 -15 15", "1", kEmptyWindowMessage},
        {"-20 20 -15 15", "0", kPlotStepMessage}, // as a saved study can bring it
        {"-1E+39 20 -15 15", "1", QStringLiteral("Cannot plot: a plot setting holds a number too large for the graph.")},
    };
    for (const auto& [limits, step, message] : windows) {
        g.setLimits(limits);
        g.field("txtPlotStep")->setText(QLatin1String(step));
        g.dlg.messages.clear();
        g.button("cmdPlot")->click();
        ASSERT_EQ(g.dlg.messages.size(), 1u) << limits;
        EXPECT_EQ(g.dlg.messages[0].text, message);
        EXPECT_FALSE(g.dim.window.GraphShown);
        EXPECT_TRUE(g.blank());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    // A step to a window a single cannot hold is refused with the plot's
    // message, or its own when the limits themselves overflow; the fields keep
    // the window drawn last, and the graph stays.
    g.field("txtPlotStep")->setText(QStringLiteral("1"));
    for (const auto& [limits, message] : {std::pair{"-1E+38 1E+38 -15 15", kHugeWindowMessage},
                                          std::pair{"-3.4E+38 -3.3E+38 -15 15", kViewRangeMessage}}) {
        g.setLimits(limits);
        g.button("cmdPlot")->click();
        g.dlg.messages.clear();
        g.button("cmdZoomOut")->click();
        g.button("cmdZoomOut")->click();
        EXPECT_EQ(g.limits(), limits);
        ASSERT_EQ(g.dlg.messages.size(), 2u);
        EXPECT_EQ(g.dlg.messages[1].text, message);
        EXPECT_TRUE(g.dim.window.GraphShown);
    }
    g.button("cmdZoomIn")->click();
    EXPECT_EQ(g.limits(), "-3.375E+38 -3.325E+38 -7.5 7.5");
    EXPECT_TRUE(g.dim.window.GraphShown);
}

TEST(Graph, NothingStartsWhileTheGraphIsBeingDrawn)
{
    Graph g;
    bool ran = false;
    QTimer::singleShot(0, &g.w, [&] { // work that arrives while the drawing lets events through
        ran = g.w.drawingGraph();
        g.field("txtWindowlx")->setText(QStringLiteral("-10"));
        g.button("cmdPlot")->click();
        g.button("cmdZoomIn")->click();
        g.action("mnuCopy")->trigger();
    });
    g.button("cmdPlot")->click();
    EXPECT_TRUE(ran);
    EXPECT_EQ(g.dim.plot.WindowLX, -20.0f); // neither plot nor zoom ran
    EXPECT_EQ(g.field("txtWindowlx")->text(), QStringLiteral("-10"));
    EXPECT_FALSE(g.dim.window.GraphShown); // the edit blanked it afterwards
}

TEST(Graph, NavigationButtonsFromTheFieldTexts)
{
    Graph g;
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"cmdZoomOut", "-20 20 -15 15", "-40 40 -30 30"},   {"cmdZoomQ1", "-20 20 -15 15", "0 20 0 15"},
        {"cmdZoomQ2", "-20 20 -15 15", "-20 0 0 15"},       {"cmdZoomQ3", "-20 20 -15 15", "-20 0 -15 0"},
        {"cmdZoomQ4", "-20 20 -15 15", "0 20 -15 0"},       {"cmdZoomIn", "-20 20 -15 15", "-10 10 -7.5 7.5"},
        {"cmdPanRight", "-20 20 -15 15", "-10 30 -15 15"},  {"cmdPanUp", "-20 20 -15 15", "-20 20 -7.5 22.5"},
        {"cmdPanLeft", "-20 20 -15 15", "-30 10 -15 15"},   {"cmdPanDown", "-20 20 -15 15", "-20 20 -22.5 7.5"},
        {"cmdIncWindX", "-20 20 -15 15", "-30 30 -15 15"},  {"cmdIncWindY", "-20 20 -15 15", "-20 20 -22.5 22.5"},
        {"cmdDecWindY", "-20 20 -15 15", "-20 20 -10 10"},
        {"cmdDecWindX", "-20 20 -15 15", "-13.33333 13.33333 -15 15"},
        // From the texts as they read, not from the stored window.
        {"cmdIncWindX", "-13.33333 13.33333 -15 15", "-19.99999 19.99999 -15 15"},
        {"cmdPanRight", "0 8abc x 4", "2 10 0 4"},
    };
    for (const auto& [button, from, to] : cases) {
        g.setLimits(from);
        g.button(button)->click();
        EXPECT_EQ(g.limits(), to) << button;
        EXPECT_EQ(g.dim.plot.WindowGX, QString::fromLatin1(to).split(u' ')[1].toFloat()); // each step plots
    }
    EXPECT_TRUE(g.dlg.messages.empty());
}

TEST(Graph, ClickCentresTheLastGraphOnThePointAndTheTipNamesIt)
{
    Graph g;
    // Before any graph the scale is in twips, 15 to the pixel: no window at all.
    QTest::mouseClick(g.picture(), Qt::LeftButton, {}, QPoint(102, 52));
    EXPECT_EQ(g.limits(), "1500 1500 750 750");
    ASSERT_EQ(g.dlg.messages.size(), 1u);
    EXPECT_EQ(g.dlg.messages[0].text, kEmptyWindowMessage);

    g.setLimits("-19.8 19.8 -14.8 14.8"); // 0.1 to an interior pixel, inside the 2-pixel border
    g.button("cmdPlot")->click();
    emit g.picture()->mouseMove(Qt::NoButton, Qt::NoModifier, QPointF(213, 168));
    EXPECT_EQ(g.picture()->toolTip(), QStringLiteral("(1.5, -2): Click to center graph here"));
    EXPECT_EQ(CoordinateTip(0.1f, 1e20f), QStringLiteral("(0.1, 1E+20): Click to center graph here"));
    g.setLimits("-1 1 -1 1"); // typed but not plotted: the graph shown counts
    QTest::mouseClick(g.picture(), Qt::RightButton, {}, QPoint(250, 130)); // (5, 2), any button
    EXPECT_EQ(g.limits(), "-14.8 24.8 -12.8 16.8");
    // A double-click is two presses, not three: it centres once.
    const QPoint at(52, 32); // (-9.8, 13.8)
    QTest::mousePress(g.picture(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(g.picture(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(g.picture(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(g.picture(), Qt::LeftButton, {}, at);
    EXPECT_EQ(g.limits(), "-29.6 9.999999 -1 28.6");
}

TEST(Graph, ZoomingInNeverCollapsesTheWindow)
{
    Graph g;
    g.setLimits("-1E-25 1E-25 -1E-25 1E-25"); // 100 halvings go below what a single can hold
    g.button("cmdPlot")->click();
    QString drawn = g.limits();
    size_t refusals = 0;
    for (int i = 0; i < 100; ++i) {
        g.button("cmdZoomIn")->click();
        if (g.dlg.messages.size() > refusals) {
            EXPECT_EQ(g.limits(), drawn) << i;
        }
        refusals = g.dlg.messages.size();
        drawn = g.limits();
        ASSERT_TRUE(g.dim.window.GraphShown) << i;
    }
    ASSERT_GT(refusals, 20u);
    EXPECT_EQ(g.dlg.messages.back().text, QStringLiteral("Cannot plot: the plot window is too small to be drawn."));
    g.button("cmdZoomOut")->click(); // and the way back out is open
    EXPECT_EQ(g.dlg.messages.size(), refusals);
    EXPECT_NE(g.limits(), drawn);
}

// Presses the buttons; the four labels and both lists.
QStringList press(test::Window& t, std::initializer_list<const char*> buttons)
{
    for (const char* b : buttons) {
        t.button(b)->click();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << b;
    }
    return QStringList{t.label("lblRoots")->text(), t.label("lblExtrema")->text(), t.label("lblIntegral")->text(), t.label("lblDerVal")->text()}
           + test::items(t.list("lstRoots")) + test::items(t.list("lstExtrema"));
}
void load(Dimension& dim, const Dimension& s) // as the file reader would
{
    std::tie(dim.series.Kind, dim.series.TermCount, dim.series.Coeffs, dim.series.Centre, dim.series.Period) =
        std::tie(s.series.Kind, s.series.TermCount, s.series.Coeffs, s.series.Centre, s.series.Period);
}

TEST(Analysis, NoSeriesAndUnreadableLimits)
{
    test::Window t;
    EXPECT_EQ(press(t, {"cmdRoots", "cmdExtrema", "cmdDerVal"}), QStringList({"0 roots", "0 max. 0 min. ", "", ""}));
    EXPECT_TRUE(t.dlg.messages.empty());
    press(t, {"cmdIntegrate"});
    ASSERT_EQ(t.dlg.messages.size(), 1u);
    EXPECT_EQ(t.dlg.messages[0].text, "division by zero");
    EXPECT_FALSE(t.dlg.busyAtMessage);
    EXPECT_FALSE(t.dim.results.IntegralDone);

    load(t.dim, test::powerSeries({-2, 0, 1}));
    ASSERT_EQ(press(t, {"cmdRoots", "cmdExtrema"}).size(), 3 + 4);
    // A limit beyond the double range cannot be read (error 6): lists and
    // counts are emptied, the labels left, and only the integral says so.
    t.field("txtXupper")->setText("1e999");
    for (QLabel* l : {t.label("lblRoots"), t.label("lblExtrema")})
        l->setText("kept");
    t.label("lblDerVal")->setText("-2");
    EXPECT_EQ(press(t, {"cmdRoots", "cmdExtrema", "cmdDerVal"}), QStringList({"kept", "kept", "", ""}));
    EXPECT_EQ(t.dim.results.Roots.size() + t.dim.results.Maxima.size() + t.dim.results.Minima.size(), 0u);
    EXPECT_EQ(t.dim.errors.ierr, errorCode(ErrorNumber::Overflow));
    press(t, {"cmdIntegrate"});
    ASSERT_EQ(t.dlg.messages.size(), 2u);
    EXPECT_EQ(t.dlg.messages[1].text, "overflow");
}

TEST(Analysis, ListsAndLabelsFromTheFields)
{
    test::Window t;
    load(t.dim, test::powerSeries({-2, 0, 1})); // x^2 - 2
    const QStringList roots = press(t, {"cmdRoots"});
    ASSERT_EQ(t.dim.results.Roots.size(), 2u);
    EXPECT_EQ(roots, QStringList({"2 roots", "", "", "", NumberText(t.dim.results.Roots[0]), NumberText(t.dim.results.Roots[1])}));

    load(t.dim, test::powerSeries({0, 0, 1})); // x^2; another run replaces the lists
    t.field("txtXeval")->setText("3");
    EXPECT_EQ(press(t, {"cmdRoots", "cmdExtrema", "cmdRoots", "cmdExtrema"}),
              QStringList({"1 roots", "0 max. 1 min. 1 possible root(s).", "", "", "0", "MIN: [0 , 0]"}));
    for (const auto& [order, shown] : {std::pair{"0", "9"}, {"1", "6"}, {"2.5", "2"}, {"170", "0"}, {"171", ""}, {"-1", ""}}) {
        t.label("lblDerVal")->setText("stale");
        t.field("txtDerNum")->setText(order);
        EXPECT_EQ(press(t, {"cmdDerVal"})[3], shown) << order;
    }
    t.field("txtXlower")->setText("-7.99"); // no grid point at 0: no root
    EXPECT_EQ(press(t, {"cmdRoots"}), QStringList({"0 roots", "", "", ""}));
    EXPECT_EQ(t.dim.study.DerivOrder, 0); // the command took its order from the plot's selector again

    load(t.dim, test::powerSeries({1, 2}, 1)); // 1 + 2 (x - 1)
    t.field("txtXlower")->setText("0");
    t.field("txtXupper")->setText("2");
    EXPECT_EQ(press(t, {"cmdIntegrate"})[2], "2");
    // A failing integral leaves the shown result alone.
    load(t.dim, test::trigSeries({1, 2, 3}, 0, 0));
    EXPECT_EQ(press(t, {"cmdIntegrate"})[2], "2");
    ASSERT_EQ(t.dlg.messages.size(), 1u);
    EXPECT_EQ(t.dlg.messages[0].text, "overflow"); // lower limit at the centre: 0 / 0
    EXPECT_EQ(t.dim.results.IntegralValue, 2.0);

    load(t.dim, test::sineTaylor(25)); // 1000 / 256 is below the spacing of doubles at 1e17: no step
    t.dlg.messages.clear();
    t.field("txtXlower")->setText("100000000000000000");
    t.field("txtXupper")->setText("100000000000001000");
    const QStringList shown = press(t, {"cmdRoots", "cmdExtrema"});
    EXPECT_EQ(shown.mid(0, 2), QStringList({"0 roots", "0 max. 0 min. "}));
    EXPECT_EQ(shown.size(), 4);
    EXPECT_TRUE(t.dlg.messages.empty());
}

} // namespace
} // namespace vendrak
