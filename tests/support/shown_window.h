#pragma once
// Windows for the tests: a plain one driven by its controls, and one shown
// and active offscreen, so focus moves, key presses and clicks behave as they
// do for a user. Small file helpers the window tests share.
#include "app/main_window.h"
#include "app/picture_box.h"
#include "support/controls.h"
#include "support/fake_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace vendrak::test {

inline QString example(const QString& name)
{
    return QFileInfo(QStringLiteral(VENDRAK_SOURCE_DIR "/examples/") + name).absoluteFilePath();
}
inline QByteArray slurp(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
inline bool put(const QString& path, const QByteArray& content)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size() && f.flush();
}
inline QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

struct Window {
    Dimension dim;
    FakeDialogs dlg;
    MainWindow w{dim, dlg};

    // The window's controls by name.
    QLineEdit* field(const char* name) const { return Control<QLineEdit>(w, name); }
    QPushButton* button(const char* name) const { return Control<QPushButton>(w, name); }
    QAction* action(const char* name) const { return Control<QAction>(w, name); }
    QLabel* label(const char* name) const { return Control<QLabel>(w, name); }
    QListWidget* list(const char* name) const { return Control<QListWidget>(w, name); }
    QCheckBox* check(const char* name) const { return Control<QCheckBox>(w, name); }
    QComboBox* combo(const char* name) const { return Control<QComboBox>(w, name); }
    PictureBox* picture() const { return Control<PictureBox>(w, "Picture1"); }
    void click(std::initializer_list<const char*> buttons) const
    {
        for (const char* b : buttons)
            button(b)->click();
    }

    void open(const QString& path)
    {
        dlg.openNames.push_back(path);
        action("mnuOpen")->trigger();
    }
    // The four window limit fields as one text, "lx gx ly gy".
    QString limits() const
    {
        QStringList t;
        for (const char* f : kLimitFields)
            t << field(f)->text();
        return t.join(u' ');
    }
    void setLimits(const QString& texts)
    {
        const QStringList t = texts.split(u' ');
        for (int i = 0; const char* f : kLimitFields)
            field(f)->setText(t[i++]);
    }
    static constexpr const char* kLimitFields[] = {"txtWindowlx", "txtWindowgx", "txtWindowly", "txtWindowgy"};
};

struct ShownWindow : Window {
    bool activated = false;

    ShownWindow()
    {
        field("txtEquation")->setText(QStringLiteral("study.txt")); // an empty file name may not be left
        w.show();
        activated = reactivate();
    }
    ~ShownWindow() { w.hide(); settle(); }

    // Brings the window (back) to the front, e.g. after About or help had it.
    bool reactivate()
    {
        w.activateWindow();
        const bool ok = QTest::qWaitForWindowActive(&w);
        settle();
        return ok;
    }
    // Lets deferred work (selection, focus moves) happen.
    static void settle() { for (int i = 0; i < 3; ++i) QCoreApplication::processEvents(); }
    static QWidget* focused() { return QApplication::focusWidget(); }
    static QString focusedName() { return focused() ? focused()->objectName() : QStringLiteral("<none>"); }
    // The focus arrives as it does from a mouse click elsewhere.
    void focus(QWidget* field) { field->setFocus(Qt::MouseFocusReason); settle(); }
    void tab() { QTest::keyClick(focused(), Qt::Key_Tab); settle(); }
    // Enters a field and replaces its text by typing (empty keys: deletes it).
    void typeInto(QLineEdit* field, const QString& keys)
    {
        focus(field);
        field->selectAll();
        if (keys.isEmpty())
            QTest::keyClick(field, Qt::Key_Delete);
        else
            QTest::keyClicks(field, keys);
        settle();
    }
};

} // namespace vendrak::test
