// The main window as the user meets it: every control where the layout puts
// it, the menus, the focus order, and the behaviour shared by the fields.
#include "shell/shown_window.h"

#include "graph/picture_box.h"
#include "shell/about_window.h"
#include "shell/errors.h"
#include "shell/help_viewer.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace vendrak;
using vendrak::test::FakeDialogs;
using vendrak::test::ShownWindow;

namespace {

// Twips to pixels, 15 to the pixel, to the nearest pixel.
int px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

struct ControlRow {
    const char* name;
    const char* container; // "client" is the window's client area
    const char* kind;
    const char* text;      // caption, title or initial text
    const char* tip;
    int left, top, width, height; // twips
};

// The window's layout, control by control.
const ControlRow kControls[] = {
    // Graph area and file line.
    {"Picture1", "client", "vendrak::PictureBox", "", "", 0, 0, 6000, 4500},
    {"lblEquation", "client", "QLabel", "File name:", "", 0, 4500, 915, 285},
    {"txtEquation", "client", "QLineEdit", "", "Name of file which contains the series", 900, 4500, 6060, 285},
    {"cmdPlot", "client", "QPushButton", "&Plot", "Plot the selected option", 2070, 4800, 1050, 270},
    {"cboDerivative", "client", "QComboBox", "Function", "Select what to plot from list", 2070, 5070, 2175, 315},
    {"cmdIntegrate", "client", "QPushButton", "&Integral", "Compute integral", 2070, 5415, 1050, 270},
    {"lblIntegral", "client", "QLabel", "", "Integral", 3120, 5415, 2550, 285},
    {"cmdRoots", "client", "QPushButton", "&Roots", "Find roots", 5850, 5415, 1050, 255},
    {"lblRoots", "client", "QLabel", "", "How many roots were found", 6825, 5640, 90, 225},
    {"lstRoots", "client", "QListWidget", "", "Roots", 6900, 5415, 2550, 420},
    {"cmdExtrema", "client", "QPushButton", "&Extrema", "Find maxima and minima", 3270, 5835, 1050, 255},
    {"lblExtrema", "client", "QLabel", "", "How many extrema were found", 4320, 5865, 105, 225},
    {"lstExtrema", "client", "QListWidget", "", "Maxima and Minima", 3270, 6090, 5130, 420},
    // Series description.
    {"lblTyp", "client", "QLabel", "Type:", "Degree of polynomial", 6990, 4500, 525, 285},
    {"lblType", "client", "QLabel", "", "P for Power series, T for Trigonometric", 7500, 4500, 510, 285},
    {"lblTerm", "client", "QLabel", "", "Degree of polynomial", 8040, 4500, 1035, 285},
    {"lblTerms", "client", "QLabel", "", "Degree of polynomial", 9060, 4500, 390, 285},
    {"lblInterval", "client", "QLabel", "Interval of validity:", "", 4260, 4800, 1800, 285},
    {"lblXLvalid", "client", "QLabel", "", "Lower limit of validity", 6045, 4800, 1425, 285},
    {"lblXvalidity", "client", "QLabel", "<=x<=", "", 7455, 4800, 585, 285},
    {"lblXUvalid", "client", "QLabel", "", "Upper limit of validity", 8025, 4800, 1425, 285},
    {"lblExpans", "client", "QLabel", "Center of expansion:", "", 4260, 5100, 1800, 285},
    {"lblExpansion", "client", "QLabel", "", "Center of expansion", 6045, 5100, 1380, 285},
    {"lblPer", "client", "QLabel", "Period:", "", 7440, 5100, 645, 285},
    {"lblPeriod", "client", "QLabel", "", "Period", 8070, 5100, 1380, 285},
    // Study specifications.
    {"fraStudySpecs", "client", "QGroupBox", "Study specifications", "", 6000, 0, 3495, 1380},
    {"txtXlower", "fraStudySpecs", "QLineEdit", "-8", "Lower limit of interval to be studied", 0, 195, 1425, 285},
    {"lblXinterval", "fraStudySpecs", "QLabel", "<=x<=", "Defines interval to be studied", 1410, 195, 630, 285},
    {"txtXupper", "fraStudySpecs", "QLineEdit", "8", "Upper limit of interval to be studied", 2030, 195, 1425, 285},
    {"lblSubintervals", "fraStudySpecs", "QLabel", " # of subintervals:", "", 0, 495, 2040, 285},
    {"txtSubintervals", "fraStudySpecs", "QLineEdit", "256",
     "Should be enough to detect all roots & extrema, and to find an accurate integral.", 2030, 495, 1425, 285},
    {"lblError", "fraStudySpecs", "QLabel", "Approx. error bound:", "", 0, 795, 2040, 285},
    {"txtError", "fraStudySpecs", "QLineEdit", ".01", "Error MUST be >0", 2030, 795, 1425, 285},
    {"lblMaxcy", "fraStudySpecs", "QLabel", "Max. # of iterations:", "", 0, 1090, 2040, 285},
    {"txtMaxcy", "fraStudySpecs", "QLineEdit", "20", "Limits number of main loop iterations", 2030, 1090, 1425, 285},
    // Plot setup.
    {"fraPlotSpecs", "client", "QGroupBox", "Plot setup", "", 6000, 1380, 3495, 2010},
    {"txtWindowlx", "fraPlotSpecs", "QLineEdit", "-20", "Lower limit for x (plotting)", 0, 195, 1425, 285},
    {"lblWindowx", "fraPlotSpecs", "QLabel", "<=x<=", "", 1410, 195, 630, 285},
    {"txtWindowgx", "fraPlotSpecs", "QLineEdit", "20", "Upper limit for x (plotting)", 2030, 195, 1425, 285},
    {"txtWindowly", "fraPlotSpecs", "QLineEdit", "-15", "Lower limit for y (plotting)", 0, 495, 1425, 285},
    {"lblWindowy", "fraPlotSpecs", "QLabel", "<=y<=", "", 1410, 495, 630, 285},
    {"txtWindowgy", "fraPlotSpecs", "QLineEdit", "15", "Upper limit for y (plotting)", 2030, 495, 1425, 285},
    {"lblPlotStep", "fraPlotSpecs", "QLabel", "Plot step:", "", 0, 795, 885, 285},
    {"txtPlotStep", "fraPlotSpecs", "QLineEdit", "1", "Enter integer between 1 and 80", 870, 795, 270, 285},
    {"chkGrid", "fraPlotSpecs", "QCheckBox", "Grid", "Check if you want a grid on graph", 1170, 795, 600, 285},
    {"chkShade", "fraPlotSpecs", "QCheckBox", "Shade", "Check if you want the area shaded", 1800, 795, 810, 285},
    {"chkPersist", "fraPlotSpecs", "QCheckBox", "Persist", "Check if you want persistent graphics", 2660, 795, 780, 285},
    {"chkWindow", "fraPlotSpecs", "QCheckBox", "Label window", "Check to label the window edges", 300, 1110, 1275, 285},
    {"chkDivisions", "fraPlotSpecs", "QCheckBox", "Label divisons", "Check to label the divisions", 1860, 1110, 1305, 285},
    {"lblXorigin", "fraPlotSpecs", "QLabel", "x-origin:", "", 0, 1410, 750, 285},
    {"txtXorigin", "fraPlotSpecs", "QLineEdit", "0", "Position of y-axis", 735, 1410, 765, 285},
    {"lblDivx", "fraPlotSpecs", "QLabel", "x-divisions:", "", 1515, 1410, 1095, 285},
    {"txtDivx", "fraPlotSpecs", "QLineEdit", "1", "Size of divisions on x-axis", 2590, 1410, 855, 285},
    {"lblYorigin", "fraPlotSpecs", "QLabel", "y-origin:", "", 0, 1705, 750, 285},
    {"txtYorigin", "fraPlotSpecs", "QLineEdit", "0", "Position of x-axis", 735, 1705, 765, 285},
    {"lblDivy", "fraPlotSpecs", "QLabel", "y-divisions:", "", 1515, 1705, 1095, 285},
    {"txtDivy", "fraPlotSpecs", "QLineEdit", "1", "Size of divisions on y-axis", 2590, 1705, 855, 285},
    // Evaluation of function or derivatives.
    {"fraEvalDer", "client", "QGroupBox", "Evaluation of function or derivatives", "", 6000, 3375, 3495, 1095},
    {"lblDerNum", "fraEvalDer", "QLabel", "Which derivative?", "", 0, 195, 1620, 285},
    {"txtDerNum", "fraEvalDer", "QLineEdit", "0", "Enter 0 for the function itself", 1605, 195, 360, 285},
    {"lblXeval", "fraEvalDer", "QLabel", "At x=", "", 0, 495, 750, 285},
    {"txtXeval", "fraEvalDer", "QLineEdit", "0", "Point of evaluation", 720, 495, 2745, 285},
    {"cmdDerVal", "fraEvalDer", "QPushButton", "&Value=", "Compute function or derivative", 0, 795, 715, 285},
    {"lblDerVal", "fraEvalDer", "QLabel", "", "Value of function or derivative", 720, 795, 2745, 285},
    // Graph navigation.
    {"fraZoomPan", "client", "QGroupBox", "Graph", "", 0, 4785, 2025, 1740},
    {"fraZoom", "fraZoomPan", "QGroupBox", "Zoom", "", 30, 210, 945, 1400},
    {"cmdZoomIn", "fraZoom", "QPushButton", "In", "Zoom in", 45, 240, 400, 250},
    {"cmdZoomOut", "fraZoom", "QPushButton", "Out", "Zoom out", 495, 240, 400, 250},
    {"fraZoomQuad", "fraZoom", "QGroupBox", "Quadrant", "", 30, 480, 880, 855},
    {"cmdZoomQ2", "fraZoomQuad", "QPushButton", "2", "Zoom quadrant 2", 165, 240, 250, 250},
    {"cmdZoomQ1", "fraZoomQuad", "QPushButton", "1", "Zoom quadrant 1", 435, 240, 250, 250},
    {"cmdZoomQ3", "fraZoomQuad", "QPushButton", "3", "Zoom quadrant 3", 165, 500, 250, 250},
    {"cmdZoomQ4", "fraZoomQuad", "QPushButton", "4", "Zoom quadrant 4", 435, 500, 250, 250},
    {"FraWindow", "fraZoomPan", "QGroupBox", "Window", "", 975, 105, 990, 870},
    {"cmdIncWindY", "FraWindow", "QPushButton", "y+", "Wider y-window", 375, 180, 255, 255},
    {"cmdDecWindX", "FraWindow", "QPushButton", "x-", "Narrower x-window", 75, 375, 255, 255},
    {"cmdIncWindX", "FraWindow", "QPushButton", "x+", "Wider x-window", 675, 375, 255, 255},
    {"cmdDecWindY", "FraWindow", "QPushButton", "y-", "Narrower y-window", 375, 570, 255, 255},
    {"fraPan", "fraZoomPan", "QGroupBox", "Pan", "", 975, 945, 990, 765},
    {"cmdPanUp", "fraPan", "QPushButton", "U", "Pan up", 390, 180, 210, 210},
    {"cmdPanLeft", "fraPan", "QPushButton", "L", "Pan left", 150, 345, 210, 210},
    {"cmdPanRight", "fraPan", "QPushButton", "R", "Pan right", 630, 345, 210, 210},
    {"cmdPanDown", "fraPan", "QPushButton", "D", "Pan down", 390, 510, 210, 210},
};

QString textOf(QWidget* w)
{
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText();
    if (auto* l = qobject_cast<QListWidget*>(w))
        return l->count() == 0 ? QString() : QStringLiteral("<items>");
    return {};
}

} // namespace

TEST(MainWindowLayout, EveryControlHasItsNameKindPlaceTextAndTip)
{
    Dimension dim;
    FakeDialogs dlg;
    MainWindow w(dim, dlg);
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        auto* c = w.findChild<QWidget*>(QString::fromUtf8(row.name));
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(c->inherits(row.kind)) << c->metaObject()->className();
        ASSERT_NE(c->parentWidget(), nullptr);
        EXPECT_EQ(c->parentWidget()->objectName(), QString::fromUtf8(row.container));
        EXPECT_EQ(c->geometry(),
                  QRect(px(row.left), px(row.top), px(row.width), px(row.height)));
        EXPECT_EQ(textOf(c), QString::fromUtf8(row.text));
        EXPECT_EQ(c->toolTip(), QString::fromUtf8(row.tip));
    }
    // Every control of the window is in the table (no stray widgets).
    int named = 0;
    for (QWidget* c : w.centralWidget()->findChildren<QWidget*>()) {
        for (const ControlRow& row : kControls)
            if (c->objectName() == QString::fromUtf8(row.name))
                ++named;
    }
    EXPECT_EQ(named, static_cast<int>(std::size(kControls)));
}

TEST(MainWindowLayout, ClientAreaIsFixedBelowTheMenuBar)
{
    ShownWindow s;
    MainWindow& w = s.w;
    EXPECT_EQ(w.windowTitle(), "Vendrak");
    EXPECT_EQ(w.objectName(), "frmZandu1");
    EXPECT_EQ(w.centralWidget()->size(), QSize(632, 434));
    EXPECT_EQ(w.centralWidget()->y(), w.menuBar()->height());
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.Picture1->size(), QSize(400, 300));
}

TEST(MainWindowLayout, CheckBoxesPeriodLabelsAndSelectorStartAsLaidOut)
{
    Dimension dim;
    FakeDialogs dlg;
    MainWindow w(dim, dlg);
    EXPECT_TRUE(w.chkGrid->isChecked());
    EXPECT_TRUE(w.chkShade->isChecked());
    EXPECT_TRUE(w.chkWindow->isChecked());
    EXPECT_TRUE(w.chkDivisions->isChecked());
    EXPECT_FALSE(w.chkPersist->isChecked());
    EXPECT_TRUE(w.lblPer->isHidden());
    EXPECT_TRUE(w.lblPeriod->isHidden());
    QStringList entries;
    for (int i = 0; i < w.cboDerivative->count(); ++i)
        entries << w.cboDerivative->itemText(i);
    EXPECT_EQ(entries, QStringList({"Function", "1st.derivative", "2nd.derivative", "3rd.derivative",
                                    "4th.derivative", "5th.derivative", "6th.derivative",
                                    "7th.derivative", "8th.derivative", "9th.derivative"}));
}

TEST(MainWindowLayout, ColoursAndFontsFollowTheControlKinds)
{
    Dimension dim;
    FakeDialogs dlg;
    MainWindow w(dim, dlg);
    const QColor cyan(192, 255, 255), green(192, 255, 192), yellow(255, 255, 192),
        orange(255, 192, 128), pink(255, 192, 192);
    EXPECT_EQ(w.centralWidget()->palette().color(QPalette::Window), cyan);
    EXPECT_EQ(w.fraPlotSpecs->palette().color(QPalette::Window), cyan);
    for (QLineEdit* e : {w.txtXlower, w.txtEquation, w.txtDivy, w.txtXeval})
        EXPECT_EQ(e->palette().color(QPalette::Base), green) << e->objectName().toStdString();
    EXPECT_EQ(w.chkGrid->palette().color(QPalette::Window), green);
    EXPECT_EQ(w.cboDerivative->palette().color(QPalette::Button), green);
    for (QLabel* l : {w.lblIntegral, w.lblType, w.lblDerVal, w.lblXLvalid})
        EXPECT_EQ(l->palette().color(QPalette::Window), yellow) << l->objectName().toStdString();
    EXPECT_EQ(w.lblType->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(w.lstRoots->palette().color(QPalette::Base), yellow);
    EXPECT_EQ(w.lstExtrema->palette().color(QPalette::Base), yellow);
    EXPECT_EQ(w.lblError->palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::ToolTipBase));
    for (QPushButton* b : {w.cmdRoots, w.cmdExtrema, w.cmdIntegrate, w.cmdDerVal})
        EXPECT_EQ(b->palette().color(QPalette::Button), orange) << b->objectName().toStdString();
    for (QPushButton* b : {w.cmdPlot, w.cmdZoomIn, w.cmdZoomQ3, w.cmdDecWindX, w.cmdPanDown})
        EXPECT_EQ(b->palette().color(QPalette::Button), pink) << b->objectName().toStdString();
    EXPECT_TRUE(w.lblError->font().bold());
    EXPECT_TRUE(w.fraStudySpecs->font().bold());
    EXPECT_FALSE(w.txtError->font().bold());
}

TEST(MainWindowMenus, MenuBarHoldsFilePrintHelpAboutInOrder)
{
    Dimension dim;
    FakeDialogs dlg;
    MainWindow w(dim, dlg);
    const QList<QAction*> top = w.menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(top[0], w.mnuFile->menuAction());
    EXPECT_EQ(top[0]->text(), "File");
    EXPECT_EQ(top[1], w.mnuPrint);
    EXPECT_EQ(top[2], w.mnuHelp);
    EXPECT_EQ(top[3], w.mnuAbout);
    EXPECT_EQ(w.mnuFile->objectName(), "mnuFile");
    EXPECT_EQ(w.mnuPrint->text(), "Print");
    EXPECT_EQ(w.mnuHelp->text(), "Help");
    EXPECT_EQ(w.mnuAbout->text(), "About");
    EXPECT_EQ(w.mnuPrint->menu(), nullptr);

    const QList<QAction*> file = w.mnuFile->actions();
    ASSERT_EQ(file.size(), 6);
    const char* names[] = {"mnuOpen", "mnuFileBar1", "mnuSave", "mnuSaveAs", "mnuFileBar2", "mnuCopy"};
    const char* texts[] = {"Open", "", "Save", "Save As", "", "Copy graph to clipboard"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(file[i]->objectName(), names[i]);
        EXPECT_EQ(file[i]->isSeparator(), QString(texts[i]).isEmpty()) << names[i];
        if (!file[i]->isSeparator()) {
            EXPECT_EQ(file[i]->text(), texts[i]);
        }
    }
    // No way out but closing the window.
    for (QAction* a : w.findChildren<QAction*>())
        EXPECT_FALSE(a->text().contains("Exit", Qt::CaseInsensitive));
}

TEST(MainWindowLoad, ConstantsFactorialsCountersAndScriptObject)
{
    Dimension dim;
    dim.RootCount = 7;
    dim.FileName = "old";
    FakeDialogs dlg;
    MainWindow w(dim, dlg);
    EXPECT_DOUBLE_EQ(dim.PiValue, M_PI);
    EXPECT_DOUBLE_EQ(dim.HalfPi, M_PI / 2);
    EXPECT_DOUBLE_EQ(dim.EValue, M_E);
    EXPECT_EQ(dim.Factorials[0], 1.0);
    EXPECT_EQ(dim.Factorials[1], 1.0);
    EXPECT_EQ(dim.Factorials[5], 120.0);
    EXPECT_TRUE(std::isfinite(dim.Factorials[170]));
    EXPECT_NEAR(dim.Factorials[170] / 7.257415615307994e306, 1.0, 1e-12);
    EXPECT_EQ(dim.RootCount, 0);
    EXPECT_TRUE(dim.FileName.isEmpty());
    EXPECT_FALSE(dim.IntegralDone);
    // The start-up statements reached the math object through the host.
    EXPECT_DOUBLE_EQ(dim.ScriptMath.pi, M_PI);
    EXPECT_DOUBLE_EQ(dim.ScriptMath.halfpi, M_PI / 2);
    EXPECT_DOUBLE_EQ(dim.ScriptMath.e, M_E);
    EXPECT_TRUE(dlg.messages.empty());
}

TEST(MainWindowLoad, ScriptErrorsSetIerrAndShowAllButTheRecoverableOnes)
{
    Dimension dim;
    FakeDialogs dlg;
    MainWindow w(dim, dlg);
    w.ScriptControl1.ExecuteStatement("x = 1 / 0");
    EXPECT_EQ(dim.ierr, 11);
    EXPECT_TRUE(dlg.messages.empty());
    w.ScriptControl1.ExecuteStatement("x = Nonsense(1)");
    EXPECT_NE(dim.ierr, 11);
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_EQ(dlg.messages[0].title, "Vendrak");
    EXPECT_EQ(dlg.messages[0].text, w.ScriptControl1.lastErrorDescription());
}

TEST(MainWindowFocus, TabWalksTheControlsInTheirOrder)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    EXPECT_EQ(s.focusedName(), "txtEquation"); // first in the order has the focus
    const QStringList order{
        "cmdPlot",      "txtXlower",   "txtXupper",   "txtSubintervals", "txtError",
        "txtMaxcy",     "txtWindowlx", "txtWindowgx", "txtWindowly",     "txtWindowgy",
        "txtPlotStep",  "txtXorigin",  "txtYorigin",  "txtDivx",         "txtDivy",
        "chkGrid",      "chkShade",    "chkPersist",  "chkWindow",       "chkDivisions",
        "cmdIntegrate", "cmdRoots",    "cmdExtrema",  "cboDerivative",   "lstRoots",
        "lstExtrema",   "Picture1",    "cmdIncWindY", "cmdDecWindY",     "cmdIncWindX",
        "cmdDecWindX",  "cmdZoomOut",  "cmdZoomIn",   "cmdZoomQ1",       "cmdZoomQ2",
        "cmdZoomQ4",    "cmdZoomQ3",   "cmdPanLeft",  "cmdPanRight",     "cmdPanDown",
        "cmdPanUp",     "cmdDerVal",   "txtXeval",    "txtDerNum",       "txtEquation"};
    QStringList visited;
    for (int i = 0; i < order.size(); ++i) {
        s.tab();
        visited << s.focusedName();
    }
    EXPECT_EQ(visited, order);
}

TEST(MainWindowFocus, LabelsAndFramesTakeNoFocus)
{
    Dimension dim;
    FakeDialogs dlg;
    MainWindow w(dim, dlg);
    for (QLabel* l : w.findChildren<QLabel*>())
        EXPECT_EQ(l->focusPolicy(), Qt::NoFocus) << l->objectName().toStdString();
    for (QGroupBox* g : w.findChildren<QGroupBox*>())
        EXPECT_EQ(g->focusPolicy(), Qt::NoFocus) << g->objectName().toStdString();
}

TEST(MainWindowFields, TabbingIntoAFieldSelectsItSoTypingReplacesIt)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    s.focus(s.w.txtXlower);
    s.tab();
    ASSERT_EQ(s.focused(), s.w.txtXupper);
    EXPECT_EQ(s.w.txtXupper->selectedText(), "8");
    QTest::keyClicks(s.w.txtXupper, "9");
    EXPECT_EQ(s.w.txtXupper->text(), "9");
}

TEST(MainWindowFields, AClickIntoAFieldSelectsItsWholeText)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    for (QLineEdit* e : {s.w.txtXeval, s.w.txtWindowgy, s.w.txtMaxcy, s.w.txtError}) {
        QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(3, e->height() / 2));
        s.settle();
        ASSERT_EQ(s.focused(), e);
        EXPECT_EQ(e->selectedText(), e->text()) << e->objectName().toStdString();
    }
}

TEST(MainWindowFields, ACommaTypedInADecimalFieldBecomesAPoint)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    MainWindow& w = s.w;
    for (QLineEdit* e : {w.txtXlower, w.txtXupper, w.txtError, w.txtWindowlx, w.txtWindowgx,
                         w.txtWindowly, w.txtWindowgy, w.txtXorigin, w.txtYorigin, w.txtDivx,
                         w.txtDivy, w.txtXeval}) {
        s.typeInto(e, "1,5");
        EXPECT_EQ(e->text(), "1.5") << e->objectName().toStdString();
    }
    for (QLineEdit* e : {w.txtSubintervals, w.txtMaxcy, w.txtPlotStep, w.txtDerNum}) {
        s.typeInto(e, "1,5");
        EXPECT_EQ(e->text(), "1,5") << e->objectName().toStdString();
        e->setText("1"); // leave it usable
    }
    // The file name is not typed: it names the file that was opened or saved.
    s.typeInto(w.txtEquation, "1,5");
    EXPECT_EQ(w.txtEquation->text(), "study.txt");
}

TEST(MainWindowLabels, CountLabelsWidenToShowTheirText)
{
    ShownWindow s;
    const QRect roots = s.w.lblRoots->geometry();
    const QRect extrema = s.w.lblExtrema->geometry();
    s.w.lblRoots->setText("12 roots");
    s.w.lblExtrema->setText("2 max. 1 min. 3 possible root(s).");
    s.settle();
    const QFontMetrics fm(s.w.lblRoots->font());
    EXPECT_GE(s.w.lblRoots->width(), fm.horizontalAdvance("12 roots"));
    EXPECT_EQ(s.w.lblRoots->geometry().right(), roots.right()); // grows to the left
    EXPECT_GE(s.w.lblExtrema->width(), fm.horizontalAdvance("2 max. 1 min. 3 possible root(s)."));
    EXPECT_EQ(s.w.lblExtrema->geometry().left(), extrema.left()); // grows to the right
    s.w.lblRoots->clear();
    s.w.lblExtrema->clear();
    s.settle();
    EXPECT_EQ(s.w.lblRoots->geometry(), roots);
    EXPECT_EQ(s.w.lblExtrema->geometry(), extrema);
}

// ------------------------------------------------------------------ commands

TEST(MainWindowCommands, AtStartOpenAndHelpWorkWhileTheEmptyFileNameHasTheFocus)
{
    Dimension dim;
    FakeDialogs dlg;
    MainWindow w(dim, dlg);
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ShownWindow::settle();
    ASSERT_EQ(ShownWindow::focused(), w.txtEquation);
    ASSERT_TRUE(w.txtEquation->text().isEmpty());

    w.mnuOpen->trigger();
    EXPECT_EQ(dlg.openAsked, 1);
    QTest::mouseClick(w.txtEquation, Qt::LeftButton);
    EXPECT_EQ(dlg.openAsked, 2); // a click on the file name is File, Open
    w.setHelpFile("/nonexistent/index.html");
    w.mnuHelp->trigger();
    ASSERT_NE(w.helpViewer(), nullptr);
    EXPECT_TRUE(w.helpViewer()->isVisible());
    w.helpViewer()->close();
    w.hide();
}

TEST(MainWindowCommands, ARefusingFieldHoldsBackOpenFromMenuAndFileName)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    s.typeInto(s.w.txtError, "0");
    s.w.mnuOpen->trigger();
    QTest::mouseClick(s.w.txtEquation, Qt::LeftButton);
    s.settle();
    EXPECT_EQ(s.dlg.openAsked, 0);
    EXPECT_EQ(s.focused(), s.w.txtError);
    // About reads no field and opens all the same.
    s.w.mnuAbout->trigger();
    EXPECT_NE(s.w.aboutWindow(), nullptr);
}

TEST(MainWindowCommands, AnErrorNoHandlerTrappedIsShownAndTheProgramGoesOn)
{
    Dimension dim;
    FakeDialogs dlg;
    MainWindow w(dim, dlg);
    EXPECT_FALSE(w.runGuarded([] { vendrak::raise(ErrOverflow); }));
    EXPECT_FALSE(w.runGuarded([] { throw std::runtime_error("disk on fire"); }));
    EXPECT_TRUE(w.runGuarded([] {}));
    ASSERT_EQ(dlg.messages.size(), 2u);
    EXPECT_EQ(dlg.messages[0].title, "Vendrak");
    EXPECT_EQ(dlg.messages[0].text, "Run-time error 6: Overflow");
    EXPECT_TRUE(dlg.messages[1].text.contains("disk on fire"));
}

TEST(MainWindowCommands, NoCommandStartsWhileAHandlerLetsEventsThrough)
{
    ShownWindow s;
    QMetaObject::invokeMethod(s.w.mnuAbout, "trigger", Qt::QueuedConnection);
    QMetaObject::invokeMethod(s.w.cmdPlot, "click", Qt::QueuedConnection);
    s.w.runGuarded([&] { s.w.DoEvents(); });
    EXPECT_EQ(s.w.aboutWindow(), nullptr);
    EXPECT_FALSE(s.dim.GraphShown);
    // Outside a handler the same events run.
    QMetaObject::invokeMethod(s.w.mnuAbout, "trigger", Qt::QueuedConnection);
    s.settle();
    EXPECT_NE(s.w.aboutWindow(), nullptr);
}

TEST(MainWindowFields, TheSelectorIsLeftOnlyWhenTheFocusMovesOnNotWhenItsListOpens)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    s.focus(s.w.cboDerivative);
    s.dim.GraphShown = true;
    s.w.cboDerivative->showPopup();
    s.settle();
    s.w.cboDerivative->setCurrentIndex(2);
    s.w.cboDerivative->hidePopup();
    s.settle();
    EXPECT_TRUE(s.dim.GraphShown); // still in the selector
    ASSERT_TRUE(s.reactivate());
    s.focus(s.w.lstRoots);
    EXPECT_FALSE(s.dim.GraphShown); // left with another selection: graph blanked
}
