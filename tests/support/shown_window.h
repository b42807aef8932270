#pragma once
// A main window shown and active offscreen, so focus moves, key presses and
// clicks behave as they do for a user.
#include "app/main_window.h"
#include "support/fake_dialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace vendrak::test {

struct ShownWindow {
    Dimension dim;
    FakeDialogs dlg;
    MainWindow w{dim, dlg};
    bool activated = false;

    ShownWindow()
    {
        w.txtEquation->setText(QStringLiteral("study.txt")); // an empty file name may not be left
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
