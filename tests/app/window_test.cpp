// The main window as the user meets it: every control in its frame, the
// menus, the focus order, the behaviour shared by the fields, About and Help,
// the decimal-separator guard at start-up, and copying from the result lists.
#include "app/about_window.h"
#include "app/decimal_point.h"
#include "app/figure_window.h"
#include "app/help_viewer.h"
#include "app/sub_main.h"
#include "core/study/errors.h"
#include "support/shown_window.h"

#include <QtWidgets>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <stdexcept>

using namespace vendrak;
using vendrak::test::Control;
using vendrak::test::ShownWindow;
using Answer = Dialogs::Answer;

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

struct FakeLocale : LocaleAccess {
    explicit FakeLocale(QString separator) : current(std::move(separator)) {}
    QString readDecimalSeparator() override { return current; }
    void setDecimalSeparator(const QString& s) override { written.push_back(current = s); }
    QString current;
    std::vector<QString> written;
};

} // namespace

// Each control exists once, under its name, in its frame; labels and frames
// take no focus.
TEST(MainWindow, EveryControlOnceInItsFrameAndTheMenus)
{
    ShownWindow s;
    MainWindow& w = s.w;
    int named = 0;
    for (const auto& [frame, names] : kFrames)
        for (const QString& name : QString::fromLatin1(names).split(u' ')) {
            const auto found = w.findChildren<QWidget*>(name);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            EXPECT_EQ(found[0]->parentWidget()->objectName(), QString::fromLatin1(frame));
            EXPECT_TRUE(!(found[0]->inherits("QLabel") || found[0]->inherits("QGroupBox"))
                        || found[0]->focusPolicy() == Qt::NoFocus) << name.toStdString();
            ++named;
        }
    EXPECT_EQ(named, 83);
    EXPECT_EQ(s.picture()->geometry(), QRect(0, 0, 400, 300));
    EXPECT_EQ(w.objectName(), "frmZandu1");
    EXPECT_EQ(w.centralWidget()->geometry(), QRect(0, w.menuBar()->height(), 632, 434));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    for (const char* c : {"chkGrid", "chkShade", "chkWindow", "chkDivisions", "chkPersist"})
        EXPECT_EQ(s.check(c)->isChecked(), c != std::string("chkPersist")) << c;
    EXPECT_EQ(s.combo("cboDerivative")->count(), 10);
    EXPECT_EQ(s.combo("cboDerivative")->itemText(9), "9th.derivative");
    // Menus in order, Print a plain command, and no way out but closing the window.
    QStringList top, file;
    for (QAction* a : w.menuBar()->actions())
        top << (a->menu() ? a->menu()->objectName() : a->objectName()) + '=' + a->text();
    for (QAction* a : Control<QMenu>(w, "mnuFile")->actions())
        file << a->objectName() + '=' + (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(top, QStringList({"mnuFile=File", "mnuView=View", "mnuVerify=Verify", "mnuPrint=Print", "mnuHelp=Help", "mnuAbout=About"}));
    EXPECT_EQ(file, QStringList({"mnuNewSeries=New series from expression…", "mnuNewSeriesBar=-", "mnuOpen=Open",
                                 "mnuFileBar1=-", "mnuSave=Save", "mnuSaveAs=Save As", "mnuFileBar2=-",
                                 "mnuCopy=Copy graph to clipboard", "mnuExport=Export graph…", "mnuQuitBar=-",
                                 "mnuQuit=Quit"}));
    for (QAction* a : w.findChildren<QAction*>())
        EXPECT_FALSE(a->text().contains("Exit", Qt::CaseInsensitive));
    // Load ran the start-up statements; a recoverable script error only sets ierr.
    EXPECT_DOUBLE_EQ(s.dim.errors.ScriptMath.halfpi, M_PI / 2);
    w.scriptControl().ExecuteStatement("x = 1 / 0");
    EXPECT_EQ(s.dim.errors.ierr, 11);
    w.scriptControl().ExecuteStatement("x = Asin(2)"); // the math object's own failure reaches ierr too
    EXPECT_EQ(s.dim.errors.ierr, 5);
    EXPECT_TRUE(s.dlg.messages.empty());
    w.scriptControl().ExecuteStatement("x = Nonsense(1)");
    ASSERT_EQ(s.dlg.messages.size(), 1u);
    EXPECT_EQ(s.dlg.messages[0].text, w.scriptControl().lastErrorDescription());
}

TEST(MainWindow, TabWalksTheControlsInOrderSelectingEachFieldAndACommaBecomesAPoint)
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
    s.focus(s.field("txtXlower"));
    s.tab();
    EXPECT_EQ(s.field("txtXupper")->selectedText(), "8");
    QTest::mouseClick(s.field("txtXeval"), Qt::LeftButton, {}, QPoint(3, 5)); // a click selects too
    s.settle();
    EXPECT_EQ(s.field("txtXeval")->selectedText(), "0");

    // The decimal fields turn a typed comma into a point; the counts and the
    // file name do not.
    for (QLineEdit* e : {s.field("txtXlower"), s.field("txtError"), s.field("txtWindowgy"), s.field("txtDivy"), s.field("txtXeval")}) {
        s.typeInto(e, "1,5");
        EXPECT_EQ(e->text(), "1.5") << e->objectName().toStdString();
    }
    for (QLineEdit* e : {s.field("txtSubintervals"), s.field("txtMaxcy"), s.field("txtPlotStep"), s.field("txtDerNum")}) {
        s.typeInto(e, "1,5");
        EXPECT_EQ(e->text(), "1,5") << e->objectName().toStdString();
        e->setText("1"); // leave it usable
    }
    s.typeInto(s.field("txtEquation"), "1,5");
    EXPECT_EQ(s.field("txtEquation")->text(), "study.txt");
}

// A menu item takes no focus: a field that refuses its value neither holds a
// menu command back nor is left by it, and each has its keys. A click on the
// file name is a click on a control, so it waits for the field.
TEST(MainWindow, MenusAndTheirKeysRunBesideARefusingFieldWhichKeepsTheFocusAndItsText)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    MainWindow& w = s.w;
    const std::pair<const char*, const char*> keys[] = {
        {"mnuOpen", "Ctrl+O"}, {"mnuSave", "Ctrl+S"}, {"mnuSaveAs", "Ctrl+Shift+S"}, {"mnuCopy", "Ctrl+Shift+C"},
        {"mnuExport", "Ctrl+E"}, {"mnuPrint", "Ctrl+P"}, {"mnuHelp", "F1"}, {"mnuVerifyRoots", "Ctrl+Shift+V"},
        {"mnuFigure", "Ctrl+G"}, {"mnuQuit", "Ctrl+Q"}};
    for (const auto& [action, key] : keys) {
        EXPECT_EQ(s.action(action)->shortcut().toString(), key) << action;
        EXPECT_TRUE(w.actions().contains(s.action(action))) << action;
    }
    FigureWindow* const figure = Control<FigureWindow>(w, "frmFigure");
    EXPECT_TRUE(figure->actions().contains(s.action("mnuQuit")));
    QTemporaryDir dir;
    const QString path = dir.filePath("study.txt");
    ASSERT_TRUE(QFile::copy(test::example("sine_taylor.txt"), path));
    s.open(path);
    ASSERT_TRUE(s.dim.window.GraphShown);

    s.typeInto(s.field("txtError"), "0"); // refuses to be left
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(s.focused(), key, modifiers);
        s.settle();
    };
    press(Qt::Key_S, Qt::ControlModifier);
    const QList<QByteArray> lines = test::slurp(path).split('\n');
    ASSERT_GT(lines.size(), 27);
    EXPECT_EQ(lines[27].split(',').value(3), "0"); // the error bound as the field shows it
    EXPECT_TRUE(QFile::exists(path + ".bmp"));
    QGuiApplication::clipboard()->clear();
    press(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(396, 296));
    s.dlg.printAccept = false;
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(s.dlg.printAsked, 1);
    press(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(w.verifyDialog(), nullptr);
    EXPECT_EQ(w.verifyDialog()->findChild<QListWidget*>("lstVerifyProven")->count(), 11);
    w.verifyDialog()->close();
    // The figure marks what Verify proved (no scan listed anything).
    const std::vector<FigureMark> marks = figure->figureInput().marks;
    EXPECT_EQ(std::count_if(marks.begin(), marks.end(), [](const FigureMark& m) { return m.proven; }), 11);
    EXPECT_EQ(marks.size(), 11u);
    ASSERT_TRUE(s.reactivate());
    EXPECT_EQ(s.focused(), s.field("txtError"));
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(s.dlg.openAsked, 2);
    QTest::mouseClick(s.field("txtEquation"), Qt::LeftButton);
    s.settle();
    EXPECT_EQ(s.dlg.openAsked, 2);
    press(Qt::Key_F1, Qt::NoModifier);
    EXPECT_NE(w.helpViewer(), nullptr);
    s.action("mnuAbout")->trigger();
    EXPECT_NE(w.aboutWindow(), nullptr);
    ASSERT_TRUE(s.reactivate());
    EXPECT_EQ(s.focused(), s.field("txtError"));
    EXPECT_EQ(s.field("txtError")->text(), "0");
    EXPECT_TRUE(s.dlg.messages.empty());
}

TEST(MainWindow, AnUntrappedErrorIsShownAndNoCommandStartsInsideAHandler)
{
    ShownWindow s;
    EXPECT_FALSE(s.w.runGuarded([] { vendrak::raise(ErrorNumber::Overflow); }));
    EXPECT_FALSE(s.w.runGuarded([] { throw std::runtime_error("disk on fire"); }));
    ASSERT_EQ(s.dlg.messages.size(), 2u);
    EXPECT_EQ(s.dlg.messages[0].title, "Vendrak");
    EXPECT_EQ(s.dlg.messages[0].text, "Run-time error 6: Overflow");
    EXPECT_TRUE(s.dlg.messages[1].text.contains("disk on fire"));
    // Events let through by a handler start no command; outside one they do.
    QMetaObject::invokeMethod(s.action("mnuAbout"), "trigger", Qt::QueuedConnection);
    QMetaObject::invokeMethod(s.button("cmdPlot"), "click", Qt::QueuedConnection);
    EXPECT_TRUE(s.w.runGuarded([&] { s.w.DoEvents(); }));
    EXPECT_EQ(s.w.aboutWindow(), nullptr);
    EXPECT_FALSE(s.dim.window.GraphShown);
    QMetaObject::invokeMethod(s.action("mnuAbout"), "trigger", Qt::QueuedConnection);
    s.settle();
    EXPECT_NE(s.w.aboutWindow(), nullptr);
}

TEST(MainWindow, AboutWritesOrangeLinesOnBlackUntilAClickAndHelpOpensAtItsContentsOrSaysItIsMissing)
{
    ShownWindow s;
    s.action("mnuAbout")->trigger();
    AboutWindow* about = s.w.aboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->size(), QSize(640, 480));
    EXPECT_EQ(about->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(about->palette().color(QPalette::WindowText), QColor(255, 192, 128));
    EXPECT_EQ(about->lines().value(3), "Vendrak");
    EXPECT_EQ(about->lines().last(), "Version " VENDRAK_VERSION); // the build's, no placeholder address
    const QStringList lines = about->lines();
    s.action("mnuAbout")->trigger(); // again: the same window, written further down
    EXPECT_EQ(s.w.aboutWindow()->lines(), lines + lines);
    QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(300, 300));
    s.settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(s.w.aboutWindow(), nullptr);

    EXPECT_EQ(s.w.helpFile(), QCoreApplication::applicationDirPath() + "/help/index.html"); // beside the program
    s.w.setHelpFile(QStringLiteral(VENDRAK_SOURCE_DIR "/help/index.html"));
    s.action("mnuHelp")->trigger();
    HelpViewer* help = s.w.helpViewer();
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(help->fileMissing());
    EXPECT_TRUE(help->toPlainText().contains("Contents"));
    EXPECT_LT(help->verticalScrollBar()->value(), help->viewport()->height() / 4);
    s.w.setHelpFile("/nonexistent/help/index.html");
    s.action("mnuHelp")->trigger();
    EXPECT_EQ(s.w.helpViewer(), help); // one viewer, reused
    EXPECT_TRUE(help->fileMissing());
    EXPECT_TRUE(help->toPlainText().contains("/nonexistent/help/index.html"));
    EXPECT_TRUE(s.dlg.messages.empty());
    help->close();
}

TEST(MainWindow, CtrlCCopiesTheSelectedResultsOrAllAndDialogsStartBesideTheFile)
{
    ShownWindow s;
    ASSERT_TRUE(s.activated);
    s.action("mnuOpen")->trigger(); // cancelled: nothing open yet, the examples are offered
    EXPECT_EQ(QFileInfo(s.dlg.startFolder).fileName(), "examples");
    s.w.OpenSeriesFileNamed(test::example("sine_taylor.txt"));
    s.button("cmdRoots")->click();
    const QStringList all = test::items(s.list("lstRoots"));
    ASSERT_EQ(all.size(), 5);
    s.focus(s.list("lstRoots"));
    QTest::keyClick(s.list("lstRoots"), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), all.join('\n'));
    s.list("lstRoots")->item(3)->setSelected(true);
    QTest::keyClick(s.list("lstRoots"), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), all[3]);
    s.action("mnuSaveAs")->trigger(); // cancelled
    EXPECT_EQ(s.dlg.startFolder, QFileInfo(test::example("sine_taylor.txt")).absolutePath());
}

TEST(DecimalGuard, APointAsksNothingAndACommaAsksWhetherToSwitchUntilTheWindowCloses)
{
    Dimension dim;
    test::FakeDialogs dlg;
    FakeLocale point(".");
    RestoreDecimalSeparator(dim, point); // the guard never ran: nothing to put back
    EXPECT_TRUE(CheckDecimalSeparator(dim, point, dlg));
    RestoreDecimalSeparator(dim, point);
    EXPECT_EQ(point.written, std::vector<QString>{"."});
    EXPECT_TRUE(dlg.messages.empty());
    FakeLocale withNul(QString(",") + QChar(0) + QString("junk")); // read up to the first NUL
    ReadDecimalSeparator(dim, withNul);
    EXPECT_EQ(dim.window.SavedDecimalSeparator, ",");

    dlg.answers.push_back(Answer::Yes);
    FakeLocale comma(",");
    auto window = StartProgram(dim, comma, dlg);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_EQ(dlg.messages[0].title, "Decimal Comma Warning!");
    EXPECT_TRUE(dlg.messages[0].text.startsWith("Proper operation of this application requires the use of the "
                                                "DECIMAL POINT.\rYour system is currently using the DECIMAL COMMA.\r"));
    EXPECT_TRUE(dlg.messages[0].text.endsWith("/help/index.html#decimal for instructions on how to change "
                                              "MANUALLY)\r\rPress YES to change."));
    EXPECT_EQ(dlg.messages[0].icon, Dialogs::Icon::Critical);
    EXPECT_EQ(comma.current, ".");
    const auto trigger = [&](const char* action) { Control<QAction>(*window, action)->trigger(); };
    FigureWindow* const figure = Control<FigureWindow>(*window, "frmFigure");
    trigger("mnuAbout");
    window->setHelpFile("/nonexistent/index.html");
    trigger("mnuHelp");
    trigger("mnuFigure");
    EXPECT_TRUE(figure->isVisible());
    trigger("mnuQuit"); // as closing the window: never refused, never asks
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(figure->isVisible());
    EXPECT_EQ(comma.current, ",");
    EXPECT_EQ(window->aboutWindow(), nullptr); // closed with the main window
    EXPECT_FALSE(window->helpViewer()->isVisible());
    EXPECT_EQ(dlg.messages.size(), 1u);
}

TEST(DecimalGuard, NoOrCancelToAnyOtherSeparatorEndsBeforeAnyWindowExists)
{
    for (const QString& sep : {QString(","), QString("٫"), QString(".."), QString()})
        for (Answer answer : {Answer::No, Answer::Cancel}) {
            SCOPED_TRACE(sep.toStdString() + (answer == Answer::No ? " No" : " Cancel"));
            Dimension dim;
            test::FakeDialogs dlg;
            dlg.answers.push_back(answer);
            FakeLocale locale(sep);
            const qsizetype before = QApplication::topLevelWidgets().size();
            EXPECT_EQ(StartProgram(dim, locale, dlg), nullptr);
            EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
            EXPECT_EQ(dlg.messages.size(), 1u);
            EXPECT_TRUE(locale.written.empty());
        }
}

TEST(DecimalGuard, TheSystemLocaleSwitchesThisProcessAndRestoringPutsItBack)
{
    const std::string numericBefore = std::setlocale(LC_NUMERIC, nullptr);
    const QLocale defaultBefore;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    SystemLocaleAccess locale;
    locale.setDecimalSeparator(".");
    EXPECT_EQ(QLocale().toString(1.5) + std::setlocale(LC_NUMERIC, nullptr), "1.5C");
    locale.setDecimalSeparator(",");
    locale.setDecimalSeparator(","); // a second restore changes nothing
    EXPECT_EQ(QLocale().toString(1.5), "1,5");
    EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), numericBefore);
    QLocale::setDefault(defaultBefore);
    std::setlocale(LC_NUMERIC, numericBefore.c_str());
}
