// A long random session with the real window: anything typed into every
// field, every button and menu command, navigation clicked many times in a
// row, the graph clicked, the examples, the edge files, the fuzzer's corpus
// and broken files opened. No command may hang or let a run-time error
// escape, the lists must stay in step with their counts, and at the end the
// window must plot and find the roots of a known file as a fresh one does.
//
// VENDRAK_SOAK_ACTIONS sets the number of actions (default 2000, the short
// run of every test pass); VENDRAK_SOAK_SEED the random seed.
#include "app/picture_box.h"
#include "support/extreme_series.h"

#include <QtWidgets>
#include <QTest>

#include <cstdlib>
#include <random>

using namespace vendrak;
using namespace vendrak::test;

namespace {

QString sourcePath(const QString& rel) { return QStringLiteral(VENDRAK_SOURCE_DIR "/") + rel; }

long envNumber(const char* name, long fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

bool activate(QWidget& w)
{
    w.activateWindow();
    const bool ok = QTest::qWaitForWindowActive(&w, 2000);
    settle();
    return ok;
}

// Control characters stand for keys. Characters beyond ASCII arrive as the
// text of a key event, as an input method delivers them (QTest::keyClicks
// would make them Latin-1).
const QHash<QChar, Qt::Key> kKeys{{'\t', Qt::Key_Tab},    {'\b', Qt::Key_Backspace}, {'\r', Qt::Key_Return},
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
}

void retype(QLineEdit* field, const QString& text)
{
    QTest::mouseClick(field, Qt::LeftButton);
    settle();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    typeText(field, text);
    settle();
}

// The session's files, written to the window's folder as Save may rewrite
// one that opens. The heavy edge files stay out: a burst of thirty redraws of
// one would take minutes (the edge-file test runs every command on them).
QStringList sessionFiles(const ExtremeWindow& x)
{
    std::vector<ExtremeFile> files = extremeFiles();
    std::erase_if(files, [](const ExtremeFile& f) { return f.heavy; });
    files.push_back({"multivariable", "1,\"xy\",-1,1,0,0,*,3,#TRUE#\r\n1\r\n2\r\n3\r\n"});
    files.push_back({"reuses_coefficients", "0,\"s\",-2,2,0,1,0,2,#FALSE#\r\n"});
    for (const QDir& from : {QDir(sourcePath("examples"), "*.txt"), QDir(sourcePath("fuzz/corpus"))})
        for (const QFileInfo& f : from.entryInfoList(QDir::Files)) {
            QFile in(f.filePath());
            EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << f.filePath().toStdString();
            files.push_back({f.completeBaseName().toStdString(), in.readAll()});
        }
    QStringList paths;
    for (const ExtremeFile& f : files)
        paths << x.write(f);
    return paths << x.dir.filePath("missing.txt") << x.dir.path() << QString();
}

class Session {
public:
    Session(MainWindow& w, QStringList files, unsigned seed) : w_(w), files_(std::move(files)), rng_(seed)
    {
        fields_ = w.findChildren<QLineEdit*>();
        for (QAbstractButton* b : w.findChildren<QAbstractButton*>()) // not the menu bar's own
            if (qobject_cast<QPushButton*>(b) || qobject_cast<QCheckBox*>(b))
                buttons_ << b;
    }

    // One user action chosen at random; what it was.
    std::string step()
    {
        const int dice = pick(100);
        std::string what = dice < 30 ? typeSomething(true)
                         : dice < 61 ? click()
                         : dice < 69 ? menuCommand()
                         : dice < 73 ? chooseDerivative()
                         : dice < 80 ? graphMouse()
                         : dice < 90 ? typeSomething(false)
                         : dice < 95 ? open()
                         : dice < 97 ? saneView()
                                     : closeOtherWindows();
        settle();
        return what;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    template <typename T> T oneOf(const QList<T>& list) { return list[pick(int(list.size()))]; }
    static std::string name(const QObject* o) { return o->objectName().toStdString(); }

    QString randomText()
    {
        static const QStringList fixed = {
            "", " ", "0", "-0", "-1", "7.5", "256", ".01", "1,5", ",5", "-0,25", "1,2,3", ",", ".", "-", "+", "e",
            "E5", "1E", "1E+", "1e-", "1E308", "1.7976931348623157E+308", "1E309", "-1e400", "3.4E38", "3.5E38",
            "-3.4028235E+38", "2147483647", "2147483648", "-2147483649", "1073741824", "1E-300", "4.9E-324",
            "1e-400", "1E-45", "1E-38", "   7  ", "\t3", "π", "１２", "٣", "−5", "1a", "--1", "+-1", "1..2", "NaN",
            "inf", "-Infinity", "0x10", "1 000", QString(200, '9'), "-" + QString(300, '9'), "1E" + QString(30, '9')};
        const int kind = pick(20);
        if (kind < 8) // what a user mostly types: a modest number
            return QString::number(std::uniform_real_distribution<double>(-20, 20)(rng_), 'f', pick(4));
        if (kind < 14)
            return oneOf(fixed);
        if (kind < 17) { // any magnitude, sometimes with a comma
            QString s = QString::number(std::uniform_real_distribution<double>(-10, 10)(rng_), 'g', 1 + pick(16));
            if (pick(2))
                s += "E" + QString::number(pick(640) - 320);
            return pick(4) ? s : s.replace('.', ',');
        }
        static const QString alphabet = QStringLiteral("0123456789.,+-eE *#\"'abcxyzπé\\/;\t\b");
        QString s;
        for (int n = pick(14); n > 0; --n)
            s += alphabet[pick(int(alphabet.size()))];
        return s;
    }

    // Text typed into a field, or a key pressed wherever the focus is.
    std::string typeSomething(bool intoField)
    {
        if (intoField) {
            QTest::mouseClick(oneOf(fields_), Qt::LeftButton);
            settle();
        }
        // A field that refuses to let go keeps the focus, as for a user.
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &w_;
        const QString text = intoField ? randomText() : QString(oneOf(kKeys.keys()));
        if (intoField && pick(3) > 0) {
            QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(target, Qt::Key_Delete);
        }
        typeText(target, text);
        return "type \"" + text.left(40).toStdString() + "\" into " + name(target);
    }

    // A button or check box; a navigation button often many times in a row.
    std::string click()
    {
        QAbstractButton* b = oneOf(buttons_);
        // A scan walks every point of its grid: 2^30 subintervals (the most
        // the field takes) are minutes by design, not a hang.
        bool number = false;
        if ((b == w_.cmdRoots || b == w_.cmdExtrema)
            && (w_.txtSubintervals->text().toDouble(&number) > 65536 || !number)) {
            retype(w_.txtSubintervals, QString::number(1 << pick(17)));
            QTest::mouseClick(w_.txtXeval, Qt::LeftButton); // leave the field: its guards run
            settle();
        }
        const bool navigation = b->objectName().contains(QRegularExpression("^cmd(Zoom|Pan|IncWind|DecWind)"));
        const int times = navigation && pick(2) ? 2 + pick(30) : 1;
        for (int i = 0; i < times; ++i) // near the left edge: on a check box's square
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
        return "click " + name(b) + " " + std::to_string(times) + " times";
    }

    std::string menuCommand()
    {
        QAction* a = oneOf(QList<QAction*>{w_.mnuOpen, w_.mnuSave, w_.mnuSaveAs, w_.mnuCopy, w_.mnuPrint,
                                           w_.mnuHelp, w_.mnuAbout});
        a->trigger();
        return "menu " + name(a);
    }

    std::string chooseDerivative()
    {
        const int i = pick(w_.cboDerivative->count());
        QTest::mouseClick(w_.cboDerivative, Qt::LeftButton);
        settle();
        w_.cboDerivative->hidePopup();
        w_.cboDerivative->setCurrentIndex(i);
        return "derivative " + std::to_string(i);
    }

    std::string graphMouse()
    {
        const QPoint at(pick(440) - 20, pick(340) - 20);
        const std::string where = std::to_string(at.x()) + "," + std::to_string(at.y());
        if (pick(2)) {
            QTest::mouseClick(w_.Picture1, pick(4) ? Qt::LeftButton : Qt::RightButton, {}, at);
            return "click the graph at " + where;
        }
        emit w_.Picture1->mouseMove(Qt::NoButton, Qt::NoModifier, QPointF(at));
        return "move over the graph at " + where;
    }

    std::string open()
    {
        const QString f = oneOf(files_);
        w_.OpenSeriesFileNamed(f);
        return "open " + f.toStdString();
    }

    // Back to a plot window that can be drawn, as a user lost in the view
    // would type one.
    std::string saneView()
    {
        const int a = 1 + pick(20), b = 1 + pick(20);
        for (const auto& [field, v] : {std::pair{w_.txtWindowlx, -a}, {w_.txtWindowgx, a}, {w_.txtWindowly, -b},
                                       {w_.txtWindowgy, b}, {w_.txtPlotStep, 1 + pick(5)},
                                       {w_.txtDivx, 1 + pick(4)}, {w_.txtDivy, 1 + pick(4)}})
            retype(field, QString::number(v));
        QTest::mouseClick(w_.cmdPlot, Qt::LeftButton);
        return "type a plot window and plot";
    }

    std::string closeOtherWindows()
    {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != &w_ && top->isVisible())
                top->close();
        settle();
        activate(w_);
        return "close Help and About";
    }

    MainWindow& w_;
    QStringList files_;
    std::mt19937 rng_;
    QList<QLineEdit*> fields_;
    QList<QAbstractButton*> buttons_;
};

// The graph, the roots label and the roots after Plot and Roots on a file
// with the window's initial study and plot settings typed in.
std::pair<QImage, QStringList> plotAndRoots(ExtremeWindow& x, const QString& file)
{
    MainWindow& w = x.w;
    w.OpenSeriesFileNamed(file);
    x.dlg.messages.clear(); // opening plots with the settings left over, which may be refused
    activate(w);
    const QList<std::pair<QLineEdit*, QString>> initial = {
        {w.txtXlower, "-8"},   {w.txtXupper, "8"},     {w.txtSubintervals, "256"}, {w.txtError, ".01"},
        {w.txtMaxcy, "20"},    {w.txtWindowlx, "-20"}, {w.txtWindowgx, "20"},      {w.txtWindowly, "-15"},
        {w.txtWindowgy, "15"}, {w.txtPlotStep, "1"},   {w.txtXorigin, "0"},        {w.txtYorigin, "0"},
        {w.txtDivx, "1"},      {w.txtDivy, "1"},       {w.txtDerNum, "0"},         {w.txtXeval, "0"}};
    for (const auto& [field, text] : initial)
        retype(field, text);
    for (QCheckBox* c : w.findChildren<QCheckBox*>())
        c->setChecked(false);
    w.cboDerivative->setCurrentIndex(0);
    QTest::mouseClick(w.cmdPlot, Qt::LeftButton);
    QTest::mouseClick(w.cmdRoots, Qt::LeftButton);
    settle();
    QStringList roots{w.lblRoots->text()};
    for (int i = 0; i < w.lstRoots->count(); ++i)
        roots << w.lstRoots->item(i)->text();
    return {w.Picture1->image(), roots};
}

} // namespace

TEST(Soak, ARandomSessionLeavesAWorkingWindow)
{
    const long actions = envNumber("VENDRAK_SOAK_ACTIONS", 2000);
    const unsigned seed = unsigned(envNumber("VENDRAK_SOAK_SEED", 20261206));
    ExtremeWindow x("soak with seed " + std::to_string(seed));
    MainWindow& w = x.w;
    const Dimension& d = x.dim;
    w.show();
    ASSERT_TRUE(activate(w)) << "the window could not be made active";
    Session session(w, sessionFiles(x), seed);

    std::string last; // with the seed and the number of actions, enough to replay a failure
    for (long i = 0; i < actions && !::testing::Test::HasFailure(); ++i) {
        x.run("action " + std::to_string(i), [&] { last = session.step(); });
        EXPECT_GE(std::min({d.RootCount, d.MaxCount, d.MinCount}), 0);
        EXPECT_LE(std::max({d.RootCount, d.MaxCount, d.MinCount}), kResultCapacity);
        EXPECT_EQ(w.lstRoots->count(), d.RootCount);
        EXPECT_EQ(w.lstExtrema->count(), d.MaxCount + d.MinCount);
        EXPECT_EQ(w.Picture1->image().size(), QSize(396, 296));
        if (::testing::Test::HasFailure())
            ADD_FAILURE() << "seed " << seed << ", action " << i << ": " << last;
        if (i % 200 == 199)
            activate(w); // Help and About may have taken the activation
    }
    ASSERT_FALSE(::testing::Test::HasFailure());

    // Still usable: the same Plot and Roots as in a fresh window.
    const QString known = x.dir.filePath("sine_taylor.txt");
    QFile::remove(known);
    ASSERT_TRUE(QFile::copy(sourcePath("examples/sine_taylor.txt"), known));
    const auto after = plotAndRoots(x, known);
    EXPECT_TRUE(x.dlg.messages.empty()) << x.dlg.messages.front().text.toStdString();
    EXPECT_EQ(after.second.size(), 6);
    EXPECT_EQ(after.second.value(0), "5 roots");
    EXPECT_TRUE(d.GraphShown);
    ExtremeWindow fresh("fresh window");
    fresh.w.show();
    const auto expected = plotAndRoots(fresh, known);
    EXPECT_EQ(after.second, expected.second);
    EXPECT_TRUE(after.first == expected.first) << "the final graph differs from a fresh window's";
}
