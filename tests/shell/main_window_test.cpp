// The main window as the user meets it: every control where the layout puts
// it, the menus, the focus order, and the behaviour shared by the fields.
#include "shell/shown_window.h"

#include "core/study/errors.h"
#include "app/help_viewer.h"

#include <QtWidgets>
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace vendrak;
using vendrak::test::ShownWindow;

namespace {

// Name, container ("client": the client area), kind, caption or initial text,
// tool tip, left, top, width, height in twips (15 to the pixel).
struct Row { const char *name, *parent, *kind, *text, *tip; int left, top, width, height; };
const Row kControls[] = {
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
    {"fraStudySpecs", "client", "QGroupBox", "Study specifications", "", 6000, 0, 3495, 1380},
    {"txtXlower", "fraStudySpecs", "QLineEdit", "-8", "Lower limit of interval to be studied", 0, 195, 1425, 285},
    {"lblXinterval", "fraStudySpecs", "QLabel", "<=x<=", "Defines interval to be studied", 1410, 195, 630, 285},
    {"txtXupper", "fraStudySpecs", "QLineEdit", "8", "Upper limit of interval to be studied", 2030, 195, 1425, 285},
    {"lblSubintervals", "fraStudySpecs", "QLabel", " # of subintervals:", "", 0, 495, 2040, 285},
    {"txtSubintervals", "fraStudySpecs", "QLineEdit", "256", "Should be enough to detect all roots & extrema, and to find an accurate integral.", 2030, 495, 1425, 285},
    {"lblError", "fraStudySpecs", "QLabel", "Approx. error bound:", "", 0, 795, 2040, 285},
    {"txtError", "fraStudySpecs", "QLineEdit", ".01", "Error MUST be >0", 2030, 795, 1425, 285},
    {"lblMaxcy", "fraStudySpecs", "QLabel", "Max. # of iterations:", "", 0, 1090, 2040, 285},
    {"txtMaxcy", "fraStudySpecs", "QLineEdit", "20", "Limits number of main loop iterations", 2030, 1090, 1425, 285},
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
    {"fraEvalDer", "client", "QGroupBox", "Evaluation of function or derivatives", "", 6000, 3375, 3495, 1095},
    {"lblDerNum", "fraEvalDer", "QLabel", "Which derivative?", "", 0, 195, 1620, 285},
    {"txtDerNum", "fraEvalDer", "QLineEdit", "0", "Enter 0 for the function itself", 1605, 195, 360, 285},
    {"lblXeval", "fraEvalDer", "QLabel", "At x=", "", 0, 495, 750, 285},
    {"txtXeval", "fraEvalDer", "QLineEdit", "0", "Point of evaluation", 720, 495, 2745, 285},
    {"cmdDerVal", "fraEvalDer", "QPushButton", "&Value=", "Compute function or derivative", 0, 795, 715, 285},
    {"lblDerVal", "fraEvalDer", "QLabel", "", "Value of function or derivative", 720, 795, 2745, 285},
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

int px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

QString textOf(QWidget* c)
{
    if (auto* e = qobject_cast<QLineEdit*>(c)) return e->text();
    if (auto* l = qobject_cast<QLabel*>(c)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(c)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(c)) return g->title();
    if (auto* b = qobject_cast<QComboBox*>(c)) return b->currentText();
    return {};
}

} // namespace

TEST(MainWindowLayout, EveryControlHasItsNameKindPlaceTextAndTip)
{
    ShownWindow s;
    s.w.txtEquation->clear();
    for (const Row& row : kControls) {
        SCOPED_TRACE(row.name);
        auto* c = s.w.findChild<QWidget*>(QString::fromUtf8(row.name));
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(c->inherits(row.kind)) << c->metaObject()->className();
        EXPECT_EQ(c->parentWidget()->objectName(), QString::fromUtf8(row.parent));
        EXPECT_EQ(c->geometry(), QRect(px(row.left), px(row.top), px(row.width), px(row.height)));
        EXPECT_EQ(textOf(c), QString::fromUtf8(row.text));
        EXPECT_EQ(c->toolTip(), QString::fromUtf8(row.tip));
        EXPECT_TRUE(!(c->inherits("QLabel") || c->inherits("QGroupBox")) || c->focusPolicy() == Qt::NoFocus);
    }
    int named = 0; // and no control appears twice
    for (QWidget* c : s.w.centralWidget()->findChildren<QWidget*>())
        for (const Row& row : kControls)
            named += c->objectName() == QString::fromUtf8(row.name);
    EXPECT_EQ(named, static_cast<int>(std::size(kControls)));
}

TEST(MainWindowLayout, FixedWindowStartStateAndMenus)
{
    ShownWindow s;
    MainWindow& w = s.w;
    EXPECT_EQ(w.windowTitle(), "Vendrak");
    EXPECT_EQ(w.objectName(), "frmZandu1");
    EXPECT_EQ(w.centralWidget()->geometry(), QRect(0, w.menuBar()->height(), 632, 434));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    for (QCheckBox* c : {w.chkGrid, w.chkShade, w.chkWindow, w.chkDivisions, w.chkPersist})
        EXPECT_EQ(c->isChecked(), c != w.chkPersist) << c->objectName().toStdString();
    EXPECT_TRUE(w.lblPer->isHidden() && w.lblPeriod->isHidden());
    EXPECT_EQ(w.lblType->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QStringList entries, top, file;
    for (int i = 0; i < w.cboDerivative->count(); ++i)
        entries << w.cboDerivative->itemText(i);
    EXPECT_EQ(entries, QStringList({"Function", "1st.derivative", "2nd.derivative", "3rd.derivative", "4th.derivative",
                                    "5th.derivative", "6th.derivative", "7th.derivative", "8th.derivative", "9th.derivative"}));
    // Menus in order, Print a plain command, and no way out but closing the window.
    for (QAction* a : w.menuBar()->actions())
        top << (a->menu() ? a->menu()->objectName() : a->objectName()) + '=' + a->text();
    for (QAction* a : w.mnuFile->actions())
        file << a->objectName() + '=' + (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(top, QStringList({"mnuFile=File", "mnuPrint=Print", "mnuHelp=Help", "mnuAbout=About"}));
    EXPECT_EQ(file, QStringList({"mnuOpen=Open", "mnuFileBar1=-", "mnuSave=Save", "mnuSaveAs=Save As", "mnuFileBar2=-",
                                 "mnuCopy=Copy graph to clipboard"}));
    for (QAction* a : w.findChildren<QAction*>())
        EXPECT_FALSE(a->text().contains("Exit", Qt::CaseInsensitive));
    // Load ran the start-up statements; a recoverable script error only sets ierr.
    EXPECT_DOUBLE_EQ(s.dim.ScriptMath.halfpi, M_PI / 2);
    w.ScriptControl1.ExecuteStatement("x = 1 / 0");
    EXPECT_EQ(s.dim.ierr, 11);
    EXPECT_TRUE(s.dlg.messages.empty());
    w.ScriptControl1.ExecuteStatement("x = Nonsense(1)");
    ASSERT_EQ(s.dlg.messages.size(), 1u);
    EXPECT_EQ(s.dlg.messages[0].text, w.ScriptControl1.lastErrorDescription());
}

TEST(MainWindowFocus, TabWalksTheControlsInTheirOrderAndSelectsEachField)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    EXPECT_EQ(s.focusedName(), "txtEquation");
    const QStringList order{
        "cmdPlot", "txtXlower", "txtXupper", "txtSubintervals", "txtError", "txtMaxcy", "txtWindowlx", "txtWindowgx",
        "txtWindowly", "txtWindowgy", "txtPlotStep", "txtXorigin", "txtYorigin", "txtDivx", "txtDivy", "chkGrid",
        "chkShade", "chkPersist", "chkWindow", "chkDivisions", "cmdIntegrate", "cmdRoots", "cmdExtrema",
        "cboDerivative", "lstRoots", "lstExtrema", "Picture1", "cmdIncWindY", "cmdDecWindY", "cmdIncWindX",
        "cmdDecWindX", "cmdZoomOut", "cmdZoomIn", "cmdZoomQ1", "cmdZoomQ2", "cmdZoomQ4", "cmdZoomQ3", "cmdPanLeft",
        "cmdPanRight", "cmdPanDown", "cmdPanUp", "cmdDerVal", "txtXeval", "txtDerNum", "txtEquation"};
    QStringList visited;
    for (int i = 0; i < order.size(); ++i) {
        s.tab();
        visited << s.focusedName();
    }
    EXPECT_EQ(visited, order);
    s.focus(s.w.txtXlower);
    s.tab();
    ASSERT_EQ(s.focused(), s.w.txtXupper);
    EXPECT_EQ(s.w.txtXupper->selectedText(), "8");
    QTest::keyClicks(s.w.txtXupper, "9");
    EXPECT_EQ(s.w.txtXupper->text(), "9");
    QTest::mouseClick(s.w.txtXeval, Qt::LeftButton, {}, QPoint(3, 5)); // a click selects too
    s.settle();
    EXPECT_EQ(s.w.txtXeval->selectedText(), "0");
}

TEST(MainWindowFields, ACommaBecomesAPointInTheDecimalFieldsOnly)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    MainWindow& w = s.w;
    for (QLineEdit* e : {w.txtXlower, w.txtXupper, w.txtError, w.txtWindowlx, w.txtWindowgx, w.txtWindowly,
                         w.txtWindowgy, w.txtXorigin, w.txtYorigin, w.txtDivx, w.txtDivy, w.txtXeval}) {
        s.typeInto(e, "1,5");
        EXPECT_EQ(e->text(), "1.5") << e->objectName().toStdString();
    }
    for (QLineEdit* e : {w.txtSubintervals, w.txtMaxcy, w.txtPlotStep, w.txtDerNum}) {
        s.typeInto(e, "1,5");
        EXPECT_EQ(e->text(), "1,5") << e->objectName().toStdString();
        e->setText("1"); // leave it usable
    }
    s.typeInto(w.txtEquation, "1,5"); // names a file; not typed into
    EXPECT_EQ(w.txtEquation->text(), "study.txt");
}

// A menu item takes no focus: a field that refuses its value neither holds a
// menu command back nor is left by it. A click on the file name is a click on
// a control, so it waits for the field like any button.
TEST(MainWindowCommands, MenusRunBesideARefusingFieldWhichKeepsTheFocusAndItsText)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    QTemporaryDir dir;
    const QString path = dir.filePath("study.txt");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/sine_taylor.txt"), path));
    s.dlg.openNames.push_back(path);
    s.w.mnuOpen->trigger();
    ASSERT_TRUE(s.dim.GraphShown);

    s.typeInto(s.w.txtError, "0");
    s.w.mnuSave->trigger();
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = saved.readAll().split('\n');
    ASSERT_GT(lines.size(), 27);
    EXPECT_EQ(lines[27].split(',').value(3), "0"); // the error bound as the field shows it
    EXPECT_TRUE(QFile::exists(path + ".bmp"));
    QTest::mouseClick(s.w.txtEquation, Qt::LeftButton);
    s.settle();
    EXPECT_EQ(s.dlg.openAsked, 1);
    EXPECT_EQ(s.focused(), s.w.txtError);
    EXPECT_EQ(s.w.txtError->text(), "0");

    s.typeInto(s.w.txtError, "0.001");
    s.typeInto(s.w.txtPlotStep, "81");
    QGuiApplication::clipboard()->clear();
    s.w.mnuCopy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(396, 296));
    s.w.mnuAbout->trigger();
    EXPECT_NE(s.w.aboutWindow(), nullptr);
    ASSERT_TRUE(s.reactivate());
    EXPECT_EQ(s.focused(), s.w.txtPlotStep);
    EXPECT_EQ(s.w.txtPlotStep->text(), "81");
    EXPECT_TRUE(s.dlg.messages.empty());
}

TEST(MainWindowCommands, AnUntrappedErrorIsShownAndNoCommandStartsInsideAHandler)
{
    ShownWindow s;
    EXPECT_FALSE(s.w.runGuarded([] { vendrak::raise(ErrorNumber::Overflow); }));
    EXPECT_FALSE(s.w.runGuarded([] { throw std::runtime_error("disk on fire"); }));
    ASSERT_EQ(s.dlg.messages.size(), 2u);
    EXPECT_EQ(s.dlg.messages[0].title, "Vendrak");
    EXPECT_EQ(s.dlg.messages[0].text, "Run-time error 6: Overflow");
    EXPECT_TRUE(s.dlg.messages[1].text.contains("disk on fire"));
    // Events let through by a handler start no command; outside one they do.
    QMetaObject::invokeMethod(s.w.mnuAbout, "trigger", Qt::QueuedConnection);
    QMetaObject::invokeMethod(s.w.cmdPlot, "click", Qt::QueuedConnection);
    EXPECT_TRUE(s.w.runGuarded([&] { s.w.DoEvents(); }));
    EXPECT_EQ(s.w.aboutWindow(), nullptr);
    EXPECT_FALSE(s.dim.GraphShown);
    QMetaObject::invokeMethod(s.w.mnuAbout, "trigger", Qt::QueuedConnection);
    s.settle();
    EXPECT_NE(s.w.aboutWindow(), nullptr);
}
