// The graph and the analysis commands through the window: Plot and its
// fields, navigation with the exact field texts, the graph area's mouse, the
// clipboard, and the lists and labels the commands fill.
#include "app/picture_box.h"
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
        QImage plain = w.Picture1->image();
        plain.fill(plain.pixel(0, 0));
        return w.Picture1->image() == plain;
    }
};

TEST(Graph, PlotFromTheFieldsAndTheImageCopiedWhateverThePersistSetting)
{
    Graph g;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("something else"));
    g.w.mnuCopy->trigger();
    EXPECT_EQ(clipboard->image().size(), QSize(396, 296)); // the blank canvas, inside its border
    EXPECT_TRUE(clipboard->text().isEmpty());
    g.w.cmdPlot->click(); // the initial window, study fields read too
    EXPECT_EQ(std::tuple(g.dim.window.GraphShown, g.dim.plot.WindowLX, g.dim.plot.WindowGY, g.dim.study.XLower), std::tuple(true, -20.0f, 15.0f, -8.0));
    EXPECT_EQ(g.w.Picture1->image().pixel(79, 207), qRgb(0, 0, 0)); // f(x) = x/2 at x = -12
    EXPECT_FALSE(g.w.DrawingGraph);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const QImage plain = g.w.graphImage();
    g.w.plotSetupFrame->chkPersist->setChecked(true);
    g.w.cmdPlot->click();
    EXPECT_TRUE(g.w.Picture1->autoRedraw());
    EXPECT_EQ(g.w.graphImage(), plain);
    g.w.mnuCopy->trigger();
    EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB32), plain.convertToFormat(QImage::Format_RGB32));
}

TEST(Graph, EditingAPlotFieldBlanksTheGraphButOptionsWaitForThePlot)
{
    Graph g;
    g.w.plotSetupFrame->chkGrid->setChecked(false);
    g.w.plotSetupFrame->chkShade->setChecked(false);
    for (QLineEdit* field : {g.w.plotSetupFrame->txtWindowlx, g.w.plotSetupFrame->txtWindowgy, g.w.plotSetupFrame->txtXorigin, g.w.plotSetupFrame->txtDivy, g.w.plotSetupFrame->txtPlotStep}) {
        g.w.cmdPlot->click();
        ASSERT_FALSE(g.blank());
        field->setText(field->text() + u'0');
        EXPECT_FALSE(g.dim.window.GraphShown) << field->objectName().toStdString();
        EXPECT_TRUE(g.blank());
    }
    // The derivative selector only when left changed.
    g.w.cmdPlot->click();
    g.w.cboDerivative_GotFocus();
    g.w.cboDerivative_LostFocus();
    EXPECT_TRUE(g.dim.window.GraphShown);
    g.w.cboDerivative_GotFocus();
    g.w.cboDerivative->setCurrentIndex(2);
    g.w.cboDerivative_LostFocus();
    EXPECT_FALSE(g.dim.window.GraphShown);
}

TEST(Graph, FieldsAndWindowsThatCannotBeDrawnAreRefusedAndTheWindowStaysUsable)
{
    Graph g;
    PlotSetupFrame& plot = *g.w.plotSetupFrame;
    const std::tuple<QLineEdit*, void (PlotSetupFrame::*)(bool&), const char*, bool> fields[] = {
        {plot.txtPlotStep, &PlotSetupFrame::txtPlotStep_Validate, "81", true},
        {plot.txtPlotStep, &PlotSetupFrame::txtPlotStep_Validate, "2.5", true},
        {plot.txtPlotStep, &PlotSetupFrame::txtPlotStep_Validate, "1E+999", true},
        {plot.txtPlotStep, &PlotSetupFrame::txtPlotStep_Validate, "40x", false},
        {plot.txtDivx, &PlotSetupFrame::txtDivx_Validate, "-0", true},
        {plot.txtDivx, &PlotSetupFrame::txtDivx_Validate, "", true},
        {plot.txtDivy, &PlotSetupFrame::txtDivy_Validate, "-0.5", false},
    };
    for (const auto& [field, validate, text, refused] : fields) {
        field->setText(QString::fromLatin1(text));
        bool cancel = false;
        (plot.*validate)(cancel);
        EXPECT_EQ(cancel, refused) << text;
    }
    g.w.plotSetupFrame->txtDivx->setText("1");
    g.w.plotSetupFrame->txtDivy->setText("1");
    const std::tuple<const char*, const char*, QString> windows[] = {
        {"5 5 -15 15", "1", kEmptyWindowMessage},
        {"-20 20 -15 15", "0", kPlotStepMessage}, // as a saved study can bring it
        {"-1E+39 20 -15 15", "1", QStringLiteral("Cannot plot: a plot setting holds a number too large for the graph.")},
    };
    for (const auto& [limits, step, message] : windows) {
        g.setLimits(limits);
        g.w.plotSetupFrame->txtPlotStep->setText(QLatin1String(step));
        g.dlg.messages.clear();
        g.w.cmdPlot->click();
        ASSERT_EQ(g.dlg.messages.size(), 1u) << limits;
        EXPECT_EQ(g.dlg.messages[0].text, message);
        EXPECT_FALSE(g.dim.window.GraphShown);
        EXPECT_TRUE(g.blank());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    // A step to a window a single cannot hold is refused with the plot's
    // message, or its own when the limits themselves overflow; the fields keep
    // the window drawn last, and the graph stays.
    g.w.plotSetupFrame->txtPlotStep->setText(QStringLiteral("1"));
    for (const auto& [limits, message] : {std::pair{"-1E+38 1E+38 -15 15", kHugeWindowMessage},
                                          std::pair{"-3.4E+38 -3.3E+38 -15 15", kViewRangeMessage}}) {
        g.setLimits(limits);
        g.w.cmdPlot->click();
        g.dlg.messages.clear();
        g.w.navigationFrame->cmdZoomOut->click();
        g.w.navigationFrame->cmdZoomOut->click();
        EXPECT_EQ(g.limits(), limits);
        ASSERT_EQ(g.dlg.messages.size(), 2u);
        EXPECT_EQ(g.dlg.messages[1].text, message);
        EXPECT_TRUE(g.dim.window.GraphShown);
    }
    g.w.navigationFrame->cmdZoomIn->click();
    EXPECT_EQ(g.limits(), "-3.375E+38 -3.325E+38 -7.5 7.5");
    EXPECT_TRUE(g.dim.window.GraphShown);
}

TEST(Graph, NothingStartsWhileTheGraphIsBeingDrawn)
{
    Graph g;
    bool ran = false;
    QTimer::singleShot(0, &g.w, [&] { // work that arrives while the drawing lets events through
        ran = g.w.DrawingGraph;
        g.w.plotSetupFrame->txtWindowlx->setText(QStringLiteral("-10"));
        g.w.cmdPlot_Click();
        g.w.ChangeView(ViewAction::ZoomIn);
        g.w.mnuCopy_Click();
    });
    g.w.cmdPlot->click();
    EXPECT_TRUE(ran);
    EXPECT_EQ(g.dim.plot.WindowLX, -20.0f); // neither plot nor zoom ran
    EXPECT_EQ(g.w.plotSetupFrame->txtWindowlx->text(), QStringLiteral("-10"));
    EXPECT_FALSE(g.dim.window.GraphShown); // the edit blanked it afterwards
}

TEST(Graph, NavigationButtonsFromTheFieldTexts)
{
    Graph g;
    const std::tuple<QPushButton*, const char*, const char*> cases[] = {
        {g.w.navigationFrame->cmdZoomOut, "-20 20 -15 15", "-40 40 -30 30"},   {g.w.navigationFrame->cmdZoomQ1, "-20 20 -15 15", "0 20 0 15"},
        {g.w.navigationFrame->cmdZoomQ2, "-20 20 -15 15", "-20 0 0 15"},       {g.w.navigationFrame->cmdZoomQ3, "-20 20 -15 15", "-20 0 -15 0"},
        {g.w.navigationFrame->cmdZoomQ4, "-20 20 -15 15", "0 20 -15 0"},       {g.w.navigationFrame->cmdZoomIn, "-20 20 -15 15", "-10 10 -7.5 7.5"},
        {g.w.navigationFrame->cmdPanRight, "-20 20 -15 15", "-10 30 -15 15"},  {g.w.navigationFrame->cmdPanUp, "-20 20 -15 15", "-20 20 -7.5 22.5"},
        {g.w.navigationFrame->cmdPanLeft, "-20 20 -15 15", "-30 10 -15 15"},   {g.w.navigationFrame->cmdPanDown, "-20 20 -15 15", "-20 20 -22.5 7.5"},
        {g.w.navigationFrame->cmdIncWindX, "-20 20 -15 15", "-30 30 -15 15"},  {g.w.navigationFrame->cmdIncWindY, "-20 20 -15 15", "-20 20 -22.5 22.5"},
        {g.w.navigationFrame->cmdDecWindY, "-20 20 -15 15", "-20 20 -10 10"},
        {g.w.navigationFrame->cmdDecWindX, "-20 20 -15 15", "-13.33333 13.33333 -15 15"},
        // From the texts as they read, not from the stored window.
        {g.w.navigationFrame->cmdIncWindX, "-13.33333 13.33333 -15 15", "-19.99999 19.99999 -15 15"},
        {g.w.navigationFrame->cmdPanRight, "0 8abc x 4", "2 10 0 4"},
    };
    for (const auto& [button, from, to] : cases) {
        g.setLimits(from);
        button->click();
        EXPECT_EQ(g.limits(), to) << button->objectName().toStdString();
        EXPECT_EQ(g.dim.plot.WindowGX, QString::fromLatin1(to).split(u' ')[1].toFloat()); // each step plots
    }
    EXPECT_TRUE(g.dlg.messages.empty());
}

TEST(Graph, ClickCentresTheLastGraphOnThePointAndTheTipNamesIt)
{
    Graph g;
    // Before any graph the scale is in twips, 15 to the pixel: no window at all.
    QTest::mouseClick(g.w.Picture1, Qt::LeftButton, {}, QPoint(102, 52));
    EXPECT_EQ(g.limits(), "1500 1500 750 750");
    ASSERT_EQ(g.dlg.messages.size(), 1u);
    EXPECT_EQ(g.dlg.messages[0].text, kEmptyWindowMessage);

    g.setLimits("-19.8 19.8 -14.8 14.8"); // 0.1 to an interior pixel, inside the 2-pixel border
    g.w.cmdPlot->click();
    emit g.w.Picture1->mouseMove(Qt::NoButton, Qt::NoModifier, QPointF(213, 168));
    EXPECT_EQ(g.w.Picture1->toolTip(), QStringLiteral("(1.5, -2): Click to center graph here"));
    EXPECT_EQ(CoordinateTip(0.1f, 1e20f), QStringLiteral("(0.1, 1E+20): Click to center graph here"));
    g.setLimits("-1 1 -1 1"); // typed but not plotted: the graph shown counts
    QTest::mouseClick(g.w.Picture1, Qt::RightButton, {}, QPoint(250, 130)); // (5, 2), any button
    EXPECT_EQ(g.limits(), "-14.8 24.8 -12.8 16.8");
    // A double-click is two presses, not three: it centres once.
    const QPoint at(52, 32); // (-9.8, 13.8)
    QTest::mousePress(g.w.Picture1, Qt::LeftButton, {}, at);
    QTest::mouseRelease(g.w.Picture1, Qt::LeftButton, {}, at);
    QTest::mouseDClick(g.w.Picture1, Qt::LeftButton, {}, at);
    QTest::mouseRelease(g.w.Picture1, Qt::LeftButton, {}, at);
    EXPECT_EQ(g.limits(), "-29.6 9.999999 -1 28.6");
}

TEST(Graph, ZoomingInNeverCollapsesTheWindow)
{
    Graph g;
    g.setLimits("-1E-25 1E-25 -1E-25 1E-25"); // 100 halvings go below what a single can hold
    g.w.cmdPlot->click();
    QString drawn = g.limits();
    size_t refusals = 0;
    for (int i = 0; i < 100; ++i) {
        g.w.navigationFrame->cmdZoomIn->click();
        if (g.dlg.messages.size() > refusals) {
            EXPECT_EQ(g.limits(), drawn) << i;
        }
        refusals = g.dlg.messages.size();
        drawn = g.limits();
        ASSERT_TRUE(g.dim.window.GraphShown) << i;
    }
    ASSERT_GT(refusals, 20u);
    EXPECT_EQ(g.dlg.messages.back().text, QStringLiteral("Cannot plot: the plot window is too small to be drawn."));
    g.w.navigationFrame->cmdZoomOut->click(); // and the way back out is open
    EXPECT_EQ(g.dlg.messages.size(), refusals);
    EXPECT_NE(g.limits(), drawn);
}

// Presses the buttons; the four labels and both lists.
QStringList press(test::Window& t, std::initializer_list<QPushButton*> buttons)
{
    for (QPushButton* b : buttons) {
        b->click();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << b->objectName().toStdString();
    }
    return QStringList{t.w.lblRoots->text(), t.w.lblExtrema->text(), t.w.lblIntegral->text(), t.w.evaluationFrame->lblDerVal->text()}
           + test::items(t.w.lstRoots) + test::items(t.w.lstExtrema);
}
void load(Dimension& dim, const Dimension& s) // as the file reader would
{
    std::tie(dim.series.Kind, dim.series.TermCount, dim.series.Coeffs, dim.series.Centre, dim.series.Period) =
        std::tie(s.series.Kind, s.series.TermCount, s.series.Coeffs, s.series.Centre, s.series.Period);
}

TEST(Analysis, NoSeriesAndUnreadableLimits)
{
    test::Window t;
    EXPECT_EQ(press(t, {t.w.cmdRoots, t.w.cmdExtrema, t.w.evaluationFrame->cmdDerVal}), QStringList({"0 roots", "0 max. 0 min. ", "", ""}));
    EXPECT_TRUE(t.dlg.messages.empty());
    press(t, {t.w.cmdIntegrate});
    ASSERT_EQ(t.dlg.messages.size(), 1u);
    EXPECT_EQ(t.dlg.messages[0].text, "division by zero");
    EXPECT_FALSE(t.dlg.busyAtMessage);
    EXPECT_FALSE(t.dim.results.IntegralDone);

    load(t.dim, test::powerSeries({-2, 0, 1}));
    ASSERT_EQ(press(t, {t.w.cmdRoots, t.w.cmdExtrema}).size(), 3 + 4);
    // A limit beyond the double range cannot be read (error 6): lists and
    // counts are emptied, the labels left, and only the integral says so.
    t.w.studySpecsFrame->txtXupper->setText("1e999");
    for (QLabel* l : {t.w.lblRoots, t.w.lblExtrema})
        l->setText("kept");
    t.w.evaluationFrame->lblDerVal->setText("-2");
    EXPECT_EQ(press(t, {t.w.cmdRoots, t.w.cmdExtrema, t.w.evaluationFrame->cmdDerVal}), QStringList({"kept", "kept", "", ""}));
    EXPECT_EQ(t.dim.results.Roots.size() + t.dim.results.Maxima.size() + t.dim.results.Minima.size(), 0u);
    EXPECT_EQ(t.dim.errors.ierr, errorCode(ErrorNumber::Overflow));
    press(t, {t.w.cmdIntegrate});
    ASSERT_EQ(t.dlg.messages.size(), 2u);
    EXPECT_EQ(t.dlg.messages[1].text, "overflow");
}

TEST(Analysis, ListsAndLabelsFromTheFields)
{
    test::Window t;
    load(t.dim, test::powerSeries({-2, 0, 1})); // x^2 - 2
    const QStringList roots = press(t, {t.w.cmdRoots});
    ASSERT_EQ(t.dim.results.Roots.size(), 2u);
    EXPECT_EQ(roots, QStringList({"2 roots", "", "", "", NumberText(t.dim.results.Roots[0]), NumberText(t.dim.results.Roots[1])}));

    load(t.dim, test::powerSeries({0, 0, 1})); // x^2; another run replaces the lists
    t.w.evaluationFrame->txtXeval->setText("3");
    EXPECT_EQ(press(t, {t.w.cmdRoots, t.w.cmdExtrema, t.w.cmdRoots, t.w.cmdExtrema}),
              QStringList({"1 roots", "0 max. 1 min. 1 possible root(s).", "", "", "0", "MIN: [0 , 0]"}));
    for (const auto& [order, shown] : {std::pair{"0", "9"}, {"1", "6"}, {"2.5", "2"}, {"170", "0"}, {"171", ""}, {"-1", ""}}) {
        t.w.evaluationFrame->lblDerVal->setText("stale");
        t.w.evaluationFrame->txtDerNum->setText(order);
        EXPECT_EQ(press(t, {t.w.evaluationFrame->cmdDerVal})[3], shown) << order;
    }
    t.w.studySpecsFrame->txtXlower->setText("-7.99"); // no grid point at 0: no root
    EXPECT_EQ(press(t, {t.w.cmdRoots}), QStringList({"0 roots", "", "", ""}));
    EXPECT_EQ(t.dim.study.DerivOrder, 0); // the command took its order from the plot's selector again

    load(t.dim, test::powerSeries({1, 2}, 1)); // 1 + 2 (x - 1)
    t.w.studySpecsFrame->txtXlower->setText("0");
    t.w.studySpecsFrame->txtXupper->setText("2");
    EXPECT_EQ(press(t, {t.w.cmdIntegrate})[2], "2");
    // A failing integral leaves the shown result alone.
    load(t.dim, test::trigSeries({1, 2, 3}, 0, 0));
    EXPECT_EQ(press(t, {t.w.cmdIntegrate})[2], "2");
    ASSERT_EQ(t.dlg.messages.size(), 1u);
    EXPECT_EQ(t.dlg.messages[0].text, "overflow"); // lower limit at the centre: 0 / 0
    EXPECT_EQ(t.dim.results.IntegralValue, 2.0);

    load(t.dim, test::sineTaylor(25)); // 1000 / 256 is below the spacing of doubles at 1e17: no step
    t.dlg.messages.clear();
    t.w.studySpecsFrame->txtXlower->setText("100000000000000000");
    t.w.studySpecsFrame->txtXupper->setText("100000000000001000");
    const QStringList shown = press(t, {t.w.cmdRoots, t.w.cmdExtrema});
    EXPECT_EQ(shown.mid(0, 2), QStringList({"0 roots", "0 max. 0 min. "}));
    EXPECT_EQ(shown.size(), 4);
    EXPECT_TRUE(t.dlg.messages.empty());
}

} // namespace
} // namespace vendrak
