// A long random session with the real window over the examples, the fuzz
// corpus and series files at the edges of the number range: no command may
// hang or let a run-time error escape, the lists stay in step with their
// counts, and at the end the window works as a fresh one. The longest series,
// too slow for a random session, run every command once.
// VENDRAK_SOAK_ACTIONS (2000), VENDRAK_SOAK_SEED.
#include "support/analysis_fixtures.h"
#include "support/extreme_series.h"

#include <QtWidgets>

#include <random>

using namespace vendrak;
using namespace vendrak::test;

namespace {

std::string name(const QObject* o) { return o->objectName().toStdString(); }

// Control characters stand for keys; beyond ASCII, text as an input method sends it.
const QHash<QChar, Qt::Key> kKeys{{'\t', Qt::Key_Tab},      {'\b', Qt::Key_Backspace}, {'\r', Qt::Key_Return},
                                  {'\x1b', Qt::Key_Escape}, {'\x7f', Qt::Key_Delete},  {'\x11', Qt::Key_Up},
                                  {'\x12', Qt::Key_Down}};

void typeText(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        if (kKeys.contains(c))
            QTest::keyClick(target, kKeys[c]);
        else if (c.unicode() < 128 && c.unicode() >= 32)
            QTest::keyClick(target, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    ShownWindow::settle();
}

void retype(QLineEdit* field, const QString& text)
{
    QTest::mouseClick(field, Qt::LeftButton);
    ShownWindow::settle();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    typeText(field, text);
}

// In the window's folder, as Save may rewrite one; not the heavy ones, slow by design.
QStringList sessionFiles(const ExtremeWindow& x)
{
    std::vector<ExtremeFile> files = extremeFiles();
    std::erase_if(files, [](const ExtremeFile& f) { return f.heavy; });
    files.push_back({"multivariable", "1,\"xy\",-1,1,0,0,*,3,#TRUE#\r\n1\r\n2\r\n3\r\n"});
    for (const QDir& from : {QDir(VENDRAK_SOURCE_DIR "/examples", "*.txt"), QDir(VENDRAK_SOURCE_DIR "/fuzz/corpus")})
        for (const QFileInfo& f : from.entryInfoList(QDir::Files))
            files.push_back({f.completeBaseName().toStdString(), slurp(f.filePath())});
    QStringList paths;
    for (const ExtremeFile& f : files)
        paths << x.write(f);
    return paths << x.dir.filePath("missing.txt") << x.dir.path() << QString();
}

struct Session {
    Window& s;
    QStringList files;
    std::mt19937 rng;
    MainWindow& w = s.w;
    QList<QLineEdit*> fields = w.findChildren<QLineEdit*>();
    QList<QAbstractButton*> buttons = [this] {
        QList<QAbstractButton*> out = w.findChildren<QAbstractButton*>();
        out.removeIf([](QAbstractButton* b) { return !qobject_cast<QPushButton*>(b) && !qobject_cast<QCheckBox*>(b); });
        return out; // not the menu bar's own
    }();

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
    template <typename T> T oneOf(const QList<T>& list) { return list[pick(int(list.size()))]; }

    QString randomText()
    {
        static const QStringList fixed = {"", " ", "0", "-0", "-1", "7.5", "256", ".01", "1,5", ",5", "1,2,3", ",",
            ".", "-", "e", "E5", "1E", "1E+", "1.7976931348623157E+308", "1E309", "-1e400", "3.4E38", "3.5E38",
            "-3.4028235E+38", "2147483647", "2147483648", "-2147483649", "1073741824", "1E-300", "4.9E-324", "1e-400",
            "1E-45", "1E-38", "   7  ", "π", "１２", "٣", "−5", "1a", "--1", "+-1", "1..2", "NaN", "inf", "0x10",
            "1 000", QString(200, '9'), "-" + QString(300, '9'), "1E" + QString(30, '9')};
        static const QString alphabet = QStringLiteral("0123456789.,+-eE *#\"'abcxyzπé\\/;\t\b");
        const int kind = pick(20);
        if (kind < 8) // what a user mostly types: a modest number
            return QString::number(std::uniform_real_distribution<double>(-20, 20)(rng), 'f', pick(4));
        QString s = kind < 16 ? oneOf(fixed) : QString();
        for (int n = kind < 16 ? 0 : pick(14); n > 0; --n)
            s += alphabet[pick(int(alphabet.size()))];
        return s;
    }

    // One user action chosen at random; what it was, to replay a failure.
    std::string step()
    {
        const int dice = pick(100);
        if (dice < 40) { // into a field, or a key wherever the focus is
            const bool intoField = dice < 30;
            if (intoField) {
                QTest::mouseClick(oneOf(fields), Qt::LeftButton);
                ShownWindow::settle();
            }
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
            const QString text = intoField ? randomText() : QString(oneOf(kKeys.keys()));
            if (intoField && pick(3) > 0) {
                QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(target, Qt::Key_Delete);
            }
            typeText(target, text);
            return "type \"" + text.left(40).toStdString() + "\" into " + name(target);
        }
        if (dice < 71) { // a navigation button often many times in a row
            QAbstractButton* b = oneOf(buttons);
            bool number = false; // 2^30 subintervals (the most the field takes) scan for minutes by design
            if ((b == s.button("cmdRoots") || b == s.button("cmdExtrema")) && !(s.field("txtSubintervals")->text().toDouble(&number) <= 65536 && number)) {
                retype(s.field("txtSubintervals"), QString::number(1 << pick(17)));
                QTest::mouseClick(s.field("txtXeval"), Qt::LeftButton); // leave the field: its guards run
            }
            const bool navigation = b->objectName().contains(QRegularExpression("^cmd(Zoom|Pan|IncWind|DecWind)"));
            const int times = navigation && pick(2) ? 2 + pick(30) : 1;
            for (int i = 0; i < times; ++i) // near the left edge: on a check box's square
                QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
            return "click " + name(b) + " " + std::to_string(times) + " times";
        }
        if (dice < 79) {
            QAction* a = s.action(oneOf(QList<const char*>{"mnuOpen", "mnuSave", "mnuSaveAs", "mnuCopy", "mnuPrint", "mnuHelp", "mnuAbout"}));
            a->trigger();
            return "menu " + name(a);
        }
        if (dice < 90) {
            const QPoint at(pick(440) - 20, pick(340) - 20);
            emit s.picture()->mouseMove(Qt::NoButton, Qt::NoModifier, QPointF(at));
            QTest::mouseClick(s.picture(), pick(4) ? Qt::LeftButton : Qt::RightButton, {}, at);
            return "mouse on the graph at " + std::to_string(at.x()) + "," + std::to_string(at.y());
        }
        if (dice < 95) {
            const QString f = oneOf(files);
            w.OpenSeriesFileNamed(f);
            return "open " + f.toStdString();
        }
        if (dice < 97) { // back to a plot window that can be drawn, as a lost user would type one
            const int a = 1 + pick(20), b = 1 + pick(20);
            for (const auto& [field, v] : {std::pair{"txtWindowlx", -a}, {"txtWindowgx", a}, {"txtWindowly", -b}, {"txtWindowgy", b},
                                           {"txtPlotStep", 1 + pick(5)}, {"txtDivx", 1 + pick(4)}, {"txtDivy", 1 + pick(4)}})
                retype(s.field(field), QString::number(v));
            QTest::mouseClick(s.button("cmdPlot"), Qt::LeftButton);
            return "type a plot window and plot";
        }
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != &w)
                top->close();
        w.activateWindow();
        return "close Help and About";
    }
};

} // namespace

TEST(Soak, ARandomSessionLeavesAWorkingWindow)
{
    const auto env = [](const char* n, int fallback) { bool ok; const int v = qEnvironmentVariableIntValue(n, &ok); return ok ? v : fallback; };
    const int actions = env("VENDRAK_SOAK_ACTIONS", 2000), seed = env("VENDRAK_SOAK_SEED", 20261206);
    ExtremeWindow x("soak with seed " + std::to_string(seed));
    const Dimension& d = x.dim;
    x.w.show();
    x.w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&x.w, 2000)) << "the window could not be made active";
    Session session{x, sessionFiles(x), std::mt19937(unsigned(seed))};
    std::string last;
    for (int i = 0; i < actions && !::testing::Test::HasFailure(); ++i) {
        x.run("action " + std::to_string(i), [&] { last = session.step(); ShownWindow::settle(); });
        EXPECT_LE(std::max({d.results.Roots.size(), d.results.Maxima.size(), d.results.Minima.size()}), size_t(kResultCapacity));
        EXPECT_EQ(size_t(x.list("lstRoots")->count()), d.results.Roots.size());
        EXPECT_EQ(size_t(x.list("lstExtrema")->count()), d.results.Maxima.size() + d.results.Minima.size());
        EXPECT_EQ(x.picture()->image().size(), QSize(396, 296));
        if (::testing::Test::HasFailure())
            ADD_FAILURE() << "seed " << seed << ", action " << i << ": " << last;
    }
    ASSERT_FALSE(::testing::Test::HasFailure());

    // Still usable: with the settings of a fresh window that opened the same
    // file, Plot and Roots give what they give there.
    ExtremeWindow fresh("fresh window");
    const auto plotAndRoots = [&](ExtremeWindow& v) {
        v.w.OpenSeriesFileNamed(example("sine_taylor.txt"));
        v.dlg.messages.clear(); // opening plots with the settings left over, which may be refused
        for (QLineEdit* e : fresh.w.findChildren<QLineEdit*>())
            v.w.findChild<QLineEdit*>(e->objectName())->setText(e->text());
        for (QCheckBox* c : v.w.findChildren<QCheckBox*>())
            c->setChecked(false);
        v.combo("cboDerivative")->setCurrentIndex(0);
        v.button("cmdPlot")->click();
        v.button("cmdRoots")->click();
        EXPECT_TRUE(v.dlg.messages.empty()) << v.dlg.messages.front().text.toStdString();
        return std::pair(v.picture()->image(), QStringList{v.label("lblRoots")->text()} + items(v.list("lstRoots")));
    };
    const auto expected = plotAndRoots(fresh), after = plotAndRoots(x);
    EXPECT_EQ(after.second.size() == 6 ? after.second[0] : QString(), "5 roots");
    EXPECT_EQ(after, expected) << "the graph or the roots differ from a fresh window's";
}

TEST(Soak, TheLongestSeriesEndEveryCommandInTimeAndSaveWhatTheyShow)
{
    for (const ExtremeFile& file : extremeFiles()) {
        if (!file.heavy)
            continue;
        ExtremeWindow x(file);
        x.run("open", [&] { x.w.OpenSeriesFileNamed(x.path); });
        ASSERT_EQ(x.dim.window.FileName, x.path) << file.name;
        x.combo("cboDerivative")->setCurrentIndex(1);
        for (const char* b : {"chkShade", "cmdPlot", "cmdZoomOut", "cmdPanRight", "cmdRoots", "cmdExtrema", "cmdIntegrate", "cmdDerVal"})
            x.run(b, [&] { Control<QAbstractButton>(x.w, b)->click(); });
        x.run("click on the graph, copy, print", [&] {
            QTest::mouseClick(x.picture(), Qt::LeftButton, {}, QPoint(200, 150));
            x.action("mnuCopy")->trigger();
            x.action("mnuPrint")->trigger();
        });
        EXPECT_GT(QFileInfo(x.dlg.pdfPath).size(), 0) << "no report was printed";
        x.run("save", [&] { x.action("mnuSave")->trigger(); });
        Dimension back;
        ASSERT_EQ(test::openSeries(back, x.path), "");
        EXPECT_EQ(std::tuple(back.series.Coeffs.size(), back.results.Roots.size(), back.results.Maxima.size(), back.results.Minima.size()),
                  std::tuple(x.dim.series.Coeffs.size(), x.dim.results.Roots.size(), x.dim.results.Maxima.size(), x.dim.results.Minima.size()));
    }
}
