// The main window as the user meets it: every control where the layout puts
// it, the menus, the focus order, and the behaviour shared by the fields.
#include "support/shown_window.h"

#include "app/picture_box.h"
#include "core/study/errors.h"
#include "app/help_viewer.h"

#include <QtWidgets>
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace vendrak;
using vendrak::test::ShownWindow;

namespace {

// Every named control, by the frame that holds it ("client": the client area).
const std::pair<const char*, const char*> kFrames[] = {
    {"client", "Picture1 lblEquation txtEquation cmdPlot cboDerivative cmdIntegrate lblIntegral cmdRoots lblRoots "
               "lstRoots cmdExtrema lblExtrema lstExtrema lblTyp lblType lblTerm lblTerms lblInterval lblXLvalid "
               "lblXvalidity lblXUvalid lblExpans lblExpansion lblPer lblPeriod fraStudySpecs fraPlotSpecs fraEvalDer "
               "fraZoomPan"},
    {"fraStudySpecs", "txtXlower lblXinterval txtXupper lblSubintervals txtSubintervals lblError txtError lblMaxcy "
                      "txtMaxcy"},
    {"fraPlotSpecs", "txtWindowlx lblWindowx txtWindowgx txtWindowly lblWindowy txtWindowgy lblPlotStep txtPlotStep "
                     "chkGrid chkShade chkPersist chkWindow chkDivisions lblXorigin txtXorigin lblDivx txtDivx "
                     "lblYorigin txtYorigin lblDivy txtDivy"},
    {"fraEvalDer", "lblDerNum txtDerNum lblXeval txtXeval cmdDerVal lblDerVal"},
    {"fraZoomPan", "fraZoom FraWindow fraPan"},
    {"fraZoom", "cmdZoomIn cmdZoomOut fraZoomQuad"},
    {"fraZoomQuad", "cmdZoomQ2 cmdZoomQ1 cmdZoomQ3 cmdZoomQ4"},
    {"FraWindow", "cmdIncWindY cmdDecWindX cmdIncWindX cmdDecWindY"},
    {"fraPan", "cmdPanUp cmdPanLeft cmdPanRight cmdPanDown"},
};

} // namespace

// Each control exists once, under its name, in its frame; labels and frames
// take no focus.
TEST(MainWindowLayout, EveryControlOnceInItsFrame)
{
    ShownWindow s;
    int named = 0;
    for (const auto& [frame, names] : kFrames) {
        for (const QString& name : QString::fromLatin1(names).split(u' ')) {
            SCOPED_TRACE(name.toStdString());
            const auto found = s.w.findChildren<QWidget*>(name);
            ASSERT_EQ(found.size(), 1);
            EXPECT_EQ(found[0]->parentWidget()->objectName(), QString::fromLatin1(frame));
            EXPECT_TRUE(!(found[0]->inherits("QLabel") || found[0]->inherits("QGroupBox"))
                        || found[0]->focusPolicy() == Qt::NoFocus);
            ++named;
        }
    }
    EXPECT_EQ(named, 83);
    EXPECT_EQ(s.w.Picture1->geometry(), QRect(0, 0, 400, 300));
    EXPECT_EQ(s.w.txtSubintervals->toolTip(),
              "Should be enough to detect all roots & extrema, and to find an accurate integral.");
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
    EXPECT_EQ(top, QStringList({"mnuFile=File", "mnuView=View", "mnuPrint=Print", "mnuHelp=Help", "mnuAbout=About"}));
    EXPECT_EQ(file, QStringList({"mnuNewSeries=New series from expression…", "mnuNewSeriesBar=-", "mnuOpen=Open", "mnuFileBar1=-", "mnuSave=Save", "mnuSaveAs=Save As", "mnuFileBar2=-",
                                 "mnuCopy=Copy graph to clipboard", QString::fromUtf8("mnuExport=Export graph\u2026")}));
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
