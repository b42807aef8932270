#pragma once
// The hourglass over the window for as long as a long command runs; every way
// out of the command (return or exception) puts the normal pointer back.
#include <QApplication>
#include <QCursor>

namespace vendrak {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { release(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Restores the pointer early (a command may end its busy time before it
    // returns); the destructor then does nothing.
    void release()
    {
        if (held_) {
            held_ = false;
            QApplication::restoreOverrideCursor();
        }
    }

private:
    bool held_ = true;
};

} // namespace vendrak
