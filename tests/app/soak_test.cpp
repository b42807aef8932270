// A long random session with the real window: typing anything into every
// field, every button and menu command, navigation clicked many times in a
// row, the graph clicked, valid and broken files opened. The window must
// never crash or hang, never let a run-time error escape a command, keep its
// lists and result tables in step, and at the end still plot and find the
// roots of a known file exactly as a fresh window does.
//
// VENDRAK_SOAK_ACTIONS sets the number of actions (default 2000, the short
// run of every test pass); VENDRAK_SOAK_SEED the random seed.
#include "app/picture_box.h"
#include "core/study/errors.h"
#include "app/main_window.h"
#include "core/study/number_text.h"
#include "support/fake_dialogs.h"
#include "support/watchdog.h"

#include <QtWidgets>
#include <QPrinter>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>
#include <random>
#include <string>

using namespace vendrak;

namespace {

QString sourcePath(const QString& rel) { return QStringLiteral(VENDRAK_SOURCE_DIR "/") + rel; }

long envNumber(const char* name, long fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

// Types text as key presses; characters beyond ASCII arrive as the text of
// a key event, as an input method delivers them.
void typeText(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128 && c.unicode() >= 32)
            QTest::keyClick(target, char(c.unicode()));
        else if (c == '\t')
            QTest::keyClick(target, Qt::Key_Tab);
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Reports go to a PDF; Open and Save As are always cancelled.
class SoakDialogs : public test::FakeDialogs {
public:
    QString pdfPath;
    bool printerSetup(QPrinter& printer) override
    {
        ++printAsked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return true;
    }
};

struct Window {
    Dimension dim;
    SoakDialogs dlg;
    MainWindow w{dim, dlg};

    explicit Window(const QString& pdf)
    {
        dlg.pdfPath = pdf;
        w.show();
        activate();
    }
    ~Window()
    {
        w.hide();
        settle();
    }
    bool activate()
    {
        w.activateWindow();
        const bool ok = QTest::qWaitForWindowActive(&w, 2000);
        settle();
        return ok;
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    // Replaces the text of a field by typing, as the final check needs it.
    void type(QLineEdit* field, const QString& text)
    {
        QTest::mouseClick(field, Qt::LeftButton);
        settle();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        typeText(field, text);
        settle();
    }
};

// Files the session opens: copies of the examples (Save may rewrite them),
// broken files of every kind, the fuzzer's corpus, a folder, a missing name.
QStringList sessionFiles(const QString& dir)
{
    QStringList files;
    const QDir examples(sourcePath("examples"));
    for (const QString& name : examples.entryList({"*.txt"}, QDir::Files)) {
        const QString copy = dir + "/" + name;
        QFile::copy(examples.filePath(name), copy);
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        files << copy;
    }
    const QByteArray h = "0,\"s\",-2,2,0,1,0,2,#TRUE#\r\n1\r\n0\r\n-1\r\n";
    const QList<QByteArray> broken = {
        "",
        "\x00\x01\x02\xff\xfe garbage",
        "0,\"s\",-2,2,0,1,0,2,#TRUE#\r\n1\r\n",
        "1,\"xy\",-1,1,0,0,*,3,#TRUE#\r\n1\r\n2\r\n3\r\n",
        "0,\"s\",-2,2,0,7,0,2,#TRUE#\r\n1\r\n0\r\n-1\r\n",
        "0,\"s\",-2,2,0,1,0,2000000000,#TRUE#\r\n1\r\n",
        "0,\"s\",-2,2,0,0,0,0,#TRUE#\r\n",
        "0,\"s\",-2,2,0,1,0,2,#FALSE#\r\n",
        h + "-2,2,256,.01,20,#FALSE#,300,0,0,0\r\n-2,2,-2,2,1,0,0,1,1\r\n",
        h + "-2,2,-256,.01,-20,#TRUE#,1,5,1,1\r\n-2,2,-2,2,-1,0,0,-1,0\r\n0.5\r\n1\r\n0\r\n0\r\n",
        h + "2,-2,0,0,0,#FALSE#,0,0,0,0\r\n2,-2,2,-2,0,1E+38,-1E+38,0,0\r\n",
        h + "-2,2,256,.01,20,#TRUE#,2,0,0,0\r\n-2,2,-2,2,1,0,0,1,1\r\n",
        "0,\"unterminated,-2,2,0,1,0,2,#TRUE#\r\n1\r\n0\r\n-1\r\n",
        "0,\"s\",1E+400,2,0,1,0,2,#TRUE#\r\n1\r\n0\r\n-1\r\n",
    };
    for (int i = 0; i < broken.size(); ++i) {
        const QString name = dir + QStringLiteral("/broken%1.txt").arg(i);
        QFile f(name);
        f.open(QIODevice::WriteOnly);
        f.write(broken[i]);
        files << name;
    }
    // Copied too: a corpus file that opens would otherwise be saved over.
    const QDir corpus(sourcePath("fuzz/corpus"));
    QDir().mkdir(dir + "/corpus");
    for (const QString& name : corpus.entryList(QDir::Files)) {
        const QString copy = dir + "/corpus/" + name;
        QFile::copy(corpus.filePath(name), copy);
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        files << copy;
    }
    files << dir + "/missing.txt" << dir << QString();
    return files;
}

class Soak {
public:
    Soak(Window& win, const QStringList& files, unsigned seed) : win_(win), w_(win.w), files_(files), rng_(seed)
    {
        for (QLineEdit* e : w_.findChildren<QLineEdit*>())
            fields_ << e;
        for (QPushButton* b : w_.findChildren<QPushButton*>())
            buttons_ << b;
        navigation_ = {w_.cmdZoomOut,  w_.cmdZoomIn,   w_.cmdZoomQ1,   w_.cmdZoomQ2,   w_.cmdZoomQ3,
                       w_.cmdZoomQ4,   w_.cmdPanRight, w_.cmdPanUp,    w_.cmdPanLeft,  w_.cmdPanDown,
                       w_.cmdIncWindX, w_.cmdDecWindX, w_.cmdIncWindY, w_.cmdDecWindY};
        menus_ = {w_.mnuOpen, w_.mnuSave, w_.mnuSaveAs, w_.mnuCopy, w_.mnuPrint, w_.mnuHelp, w_.mnuAbout};
        for (QCheckBox* c : w_.findChildren<QCheckBox*>())
            checks_ << c;
    }

    // One user action chosen at random; its description for the record.
    void step()
    {
        const int dice = pick(100);
        if (dice < 30)
            typeSomething();
        else if (dice < 48)
            pressButton(buttons_[pick(int(buttons_.size()))]);
        else if (dice < 55)
            navigationBurst();
        else if (dice < 63)
            menuCommand();
        else if (dice < 69)
            toggle();
        else if (dice < 73)
            chooseDerivative();
        else if (dice < 80)
            graphMouse();
        else if (dice < 90)
            key();
        else if (dice < 95)
            openFile();
        else if (dice < 97)
            saneView();
        else
            closeOtherWindows();
    }

    std::string lastAction;
    int filesOpened = 0;
    int commands = 0;

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    template <typename T>
    const T& oneOf(const QList<T>& list) { return list[pick(int(list.size()))]; }

    QString randomText()
    {
        static const QStringList fixed = {
            "", " ", "0", "-0", "1", "-1", "2", "7.5", "-8", "8", "256", "20", ".01", "1,5", ",5", "-0,25", "1,2,3",
            ",", ".", "-", "+", "e", "E5", "1E", "1E+", "1e-", "1E308", "1.7976931348623157E+308", "1E309",
            "-1e400", "3.4E38", "3.5E38", "-3.4028235E+38", "2147483647", "2147483648", "-2147483649", "1073741824",
            "1E+30", "1E-300", "4.9E-324", "1e-400", "1E-45", "1E-38", "0.000001", "   7  ", "\t3", "π", "１２",
            "٣", "−5", "abc", "1a", "--1", "+-1", "1..2", "NaN", "inf", "-Infinity", "0x10", "1 000",
            QString(200, '9'), "-" + QString(300, '9'), "1E" + QString(30, '9')};
        const int kind = pick(20);
        if (kind < 8) {
            // What a user mostly types: a modest number.
            const double v = std::uniform_real_distribution<double>(-20, 20)(rng_);
            return QString::number(v, 'f', pick(4));
        }
        if (kind < 14)
            return oneOf(fixed);
        if (kind < 17) {
            // A number of any magnitude, sometimes with a comma.
            const double mantissa = std::uniform_real_distribution<double>(-10, 10)(rng_);
            QString s = QString::number(mantissa, 'g', 1 + pick(16)) + (pick(2) ? QStringLiteral("E") + QString::number(pick(640) - 320) : QString());
            if (pick(4) == 0)
                s.replace('.', ',');
            return s;
        }
        static const QString alphabet = QStringLiteral("0123456789.,+-eE *#\"'abcxyzπé\\/;");
        QString s;
        const int n = pick(14);
        for (int i = 0; i < n; ++i)
            s += alphabet[pick(int(alphabet.size()))];
        return s;
    }

    void typeSomething()
    {
        QLineEdit* field = oneOf(fields_);
        const QString text = randomText();
        lastAction = "type \"" + text.left(40).toStdString() + "\" into " + field->objectName().toStdString();
        QTest::mouseClick(field, Qt::LeftButton);
        Window::settle();
        // The keys go wherever the focus is: a field that refuses to let go
        // keeps it, as it would for the user.
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : field;
        if (pick(3) > 0) {
            QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(target, Qt::Key_Delete);
        }
        typeText(target, text);
        Window::settle();
    }

    // A scan walks every point of its grid: 2^30 subintervals (the most the
    // field takes) are a billion evaluations, minutes by design and not a
    // hang. Before Roots and Extrema the session puts a modest count back.
    void keepScansShort()
    {
        double n = 0;
        try {
            n = LeadingNumber(w_.txtSubintervals->text());
        } catch (const RunTimeError&) {
            n = 1e308;
        }
        if (n > 65536) {
            win_.type(w_.txtSubintervals, QString::number(1 << pick(17)));
            QTest::mouseClick(w_.txtXeval, Qt::LeftButton); // leave the field: its guards run
            Window::settle();
        }
    }

    void pressButton(QPushButton* b)
    {
        if (b == w_.cmdRoots || b == w_.cmdExtrema)
            keepScansShort();
        lastAction = "press " + b->objectName().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
        ++commands;
        Window::settle();
    }

    void navigationBurst()
    {
        QPushButton* b = oneOf(navigation_);
        const int times = 2 + pick(30);
        lastAction = "press " + b->objectName().toStdString() + " " + std::to_string(times) + " times";
        for (int i = 0; i < times; ++i) {
            QTest::mouseClick(b, Qt::LeftButton);
            ++commands;
        }
        Window::settle();
    }

    void menuCommand()
    {
        QAction* a = oneOf(menus_);
        lastAction = "menu " + a->objectName().toStdString();
        a->trigger();
        ++commands;
        Window::settle();
    }

    void toggle()
    {
        QCheckBox* c = oneOf(checks_);
        lastAction = "toggle " + c->objectName().toStdString();
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2));
        Window::settle();
    }

    void chooseDerivative()
    {
        const int i = pick(w_.cboDerivative->count());
        lastAction = "derivative " + std::to_string(i);
        QTest::mouseClick(w_.cboDerivative, Qt::LeftButton);
        Window::settle();
        w_.cboDerivative->hidePopup();
        w_.cboDerivative->setCurrentIndex(i);
        Window::settle();
    }

    void graphMouse()
    {
        const QPoint at(pick(440) - 20, pick(340) - 20);
        if (pick(2)) {
            lastAction = "click the graph at " + std::to_string(at.x()) + "," + std::to_string(at.y());
            QTest::mouseClick(w_.Picture1, pick(4) ? Qt::LeftButton : Qt::RightButton, {}, at);
            ++commands;
        } else {
            lastAction = "move over the graph";
            emit w_.Picture1->mouseMove(Qt::NoButton, Qt::NoModifier, QPointF(at));
        }
        Window::settle();
    }

    void key()
    {
        static const QList<Qt::Key> keys = {Qt::Key_Tab,    Qt::Key_Backtab, Qt::Key_Return, Qt::Key_Escape,
                                            Qt::Key_Comma,  Qt::Key_Period,  Qt::Key_Minus,  Qt::Key_Backspace,
                                            Qt::Key_Delete, Qt::Key_Up,      Qt::Key_Down,   Qt::Key_Space};
        const Qt::Key k = oneOf(keys);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w_;
        lastAction = "key " + std::to_string(int(k)) + " on " + target->objectName().toStdString();
        QTest::keyClick(target, k, k == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        Window::settle();
    }

    void openFile()
    {
        const QString f = oneOf(files_);
        lastAction = "open " + f.toStdString();
        w_.OpenSeriesFileNamed(f);
        ++filesOpened;
        Window::settle();
    }

    // Back to a plot window that can be drawn, as a user lost in the view
    // would type one.
    void saneView()
    {
        lastAction = "type a plot window and plot";
        const int a = 1 + pick(20), b = 1 + pick(20);
        win_.type(w_.txtWindowlx, QString::number(-a));
        win_.type(w_.txtWindowgx, QString::number(a));
        win_.type(w_.txtWindowly, QString::number(-b));
        win_.type(w_.txtWindowgy, QString::number(b));
        win_.type(w_.txtPlotStep, QString::number(1 + pick(5)));
        win_.type(w_.txtDivx, QString::number(1 + pick(4)));
        win_.type(w_.txtDivy, QString::number(1 + pick(4)));
        QTest::mouseClick(w_.cmdPlot, Qt::LeftButton);
        ++commands;
        Window::settle();
    }

    void closeOtherWindows()
    {
        lastAction = "close Help and About";
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != &w_ && top->isVisible())
                top->close();
        Window::settle();
        win_.activate();
    }

    Window& win_;
    MainWindow& w_;
    QStringList files_;
    std::mt19937 rng_;
    QList<QLineEdit*> fields_;
    QList<QPushButton*> buttons_;
    QList<QPushButton*> navigation_;
    QList<QAction*> menus_;
    QList<QCheckBox*> checks_;
};

// What a window shows after a Plot and a Roots on sine_taylor.txt with the
// initial study and plot settings.
struct KnownResult {
    QImage picture;
    QStringList roots;
    QString rootLabel;
};

KnownResult plotAndRoots(Window& win, const QString& file)
{
    MainWindow& w = win.w;
    w.OpenSeriesFileNamed(file);
    // Opening plots at once with whatever plot settings were left, which may
    // be refused; what counts is what follows.
    win.dlg.messages.clear();
    win.activate();
    const QList<std::pair<QLineEdit*, QString>> initial = {
        {w.txtXlower, "-8"},    {w.txtXupper, "8"},     {w.txtSubintervals, "256"}, {w.txtError, ".01"},
        {w.txtMaxcy, "20"},     {w.txtWindowlx, "-20"}, {w.txtWindowgx, "20"},      {w.txtWindowly, "-15"},
        {w.txtWindowgy, "15"},  {w.txtPlotStep, "1"},   {w.txtXorigin, "0"},        {w.txtYorigin, "0"},
        {w.txtDivx, "1"},       {w.txtDivy, "1"},       {w.txtDerNum, "0"},         {w.txtXeval, "0"}};
    for (const auto& [field, text] : initial)
        win.type(field, text);
    for (QCheckBox* c : w.findChildren<QCheckBox*>())
        c->setChecked(false);
    w.cboDerivative->setCurrentIndex(0);
    QTest::mouseClick(w.cmdPlot, Qt::LeftButton);
    QTest::mouseClick(w.cmdRoots, Qt::LeftButton);
    Window::settle();
    KnownResult r;
    r.picture = w.Picture1->image();
    for (int i = 0; i < w.lstRoots->count(); ++i)
        r.roots << w.lstRoots->item(i)->text();
    r.rootLabel = w.lblRoots->text();
    return r;
}

} // namespace

TEST(Soak, ARandomSessionLeavesAWorkingWindow)
{
    const long actions = envNumber("VENDRAK_SOAK_ACTIONS", 2000);
    const unsigned seed = unsigned(envNumber("VENDRAK_SOAK_SEED", 20261206));
    // One action taking longer than this fails the test; one that never ends
    // stops the test program.
    const long limitMs = envNumber("VENDRAK_SOAK_ACTION_LIMIT_MS", 10000);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList files = sessionFiles(dir.path());
    Window win(dir.filePath("report.pdf"));
    ASSERT_TRUE(QApplication::activeWindow() == &win.w) << "the window could not be made active";
    MainWindow& w = win.w;
    Dimension& d = win.dim;
    Soak soak(win, files, seed);
    test::Watchdog watchdog;

    std::deque<std::string> recent;
    QElapsedTimer total;
    total.start();
    qint64 slowest = 0;
    std::string slowestAction;
    long messages = 0;
    long graphs = 0;    // actions after which a graph was shown
    long withRoots = 0; // actions after which roots were listed
    QMap<QString, int> said;
    for (long i = 0; i < actions; ++i) {
        watchdog.arm("soak action " + std::to_string(i) + " (seed " + std::to_string(seed) + ")",
                     std::chrono::milliseconds(std::max(limitMs * 6, 60000L)));
        QElapsedTimer t;
        t.start();
        soak.step();
        const qint64 ms = t.elapsed();
        watchdog.disarm();
        recent.push_back(std::to_string(i) + ": " + soak.lastAction);
        if (recent.size() > 12)
            recent.pop_front();
        auto history = [&] {
            std::string s = "seed " + std::to_string(seed) + ", last actions:\n";
            for (const std::string& a : recent)
                s += "  " + a + "\n";
            return s;
        };
        if (ms > slowest) {
            slowest = ms;
            slowestAction = soak.lastAction;
        }
        ASSERT_LT(ms, limitMs) << history();

        // Invariants after every action.
        for (const auto& m : win.dlg.messages) {
            ASSERT_NE(m.icon, Dialogs::Icon::Critical) << "an error escaped a command: " << m.text.toStdString()
                                                        << "\n" << history();
            ASSERT_EQ(m.title, "Vendrak") << history();
        }
        messages += long(win.dlg.messages.size());
        for (const auto& m : win.dlg.messages)
            ++said[m.text.left(400)];
        win.dlg.messages.clear();
        graphs += d.GraphShown ? 1 : 0;
        withRoots += d.RootCount > 0 ? 1 : 0;
        ASSERT_FALSE(d.RestoringStudy) << history();
        ASSERT_FALSE(w.DrawingGraph) << history();
        ASSERT_TRUE(d.RootCount >= 0 && d.RootCount <= kResultCapacity) << history();
        ASSERT_TRUE(d.MaxCount >= 0 && d.MaxCount <= kResultCapacity) << history();
        ASSERT_TRUE(d.MinCount >= 0 && d.MinCount <= kResultCapacity) << history();
        ASSERT_EQ(w.lstRoots->count(), d.RootCount) << history();
        ASSERT_EQ(w.lstExtrema->count(), d.MaxCount + d.MinCount) << history();
        ASSERT_EQ(w.Picture1->image().size(), QSize(396, 296)) << history();
        if (i % 200 == 199)
            win.activate(); // Help and About may have taken the activation
    }
    const qint64 elapsed = total.elapsed();

    // Still usable: the same Plot and Roots as in a fresh window.
    soak.lastAction = "final check";
    const QString known = dir.filePath("sine_taylor.txt");
    QFile::remove(known);
    ASSERT_TRUE(QFile::copy(sourcePath("examples/sine_taylor.txt"), known));
    const KnownResult after = plotAndRoots(win, known);
    ASSERT_TRUE(win.dlg.messages.empty()) << win.dlg.messages.front().text.toStdString();
    EXPECT_EQ(after.rootLabel, "5 roots");
    EXPECT_EQ(after.roots.size(), 5);
    KnownResult fresh;
    {
        Window clean(dir.filePath("clean.pdf"));
        fresh = plotAndRoots(clean, known);
    }
    EXPECT_EQ(after.roots, fresh.roots);
    EXPECT_EQ(after.rootLabel, fresh.rootLabel);
    EXPECT_TRUE(after.picture == fresh.picture) << "the final graph differs from a fresh window's";
    EXPECT_TRUE(d.GraphShown);

    if (std::getenv("VENDRAK_SOAK_VERBOSE")) {
        std::printf("graph shown after %ld actions, roots listed after %ld\n", graphs, withRoots);
        for (auto it = said.begin(); it != said.end(); ++it)
            std::printf("%6d x %s\n", it.value(), qPrintable(it.key()));
    }
    std::printf("soak: %ld actions (%d commands, %d files opened, %ld messages) in %.1f s, slowest %lld ms (%s)\n",
                actions, soak.commands, soak.filesOpened, messages, elapsed / 1000.0, static_cast<long long>(slowest),
                slowestAction.c_str());
}
