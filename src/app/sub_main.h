#pragma once
#include <QStringList>
#include <memory>

namespace vendrak {

struct Dimension;
class Dialogs;
class LocaleAccess;
class MainWindow;

// The program with the window: decimal-separator guard, main window, event
// loop; a series file named on the command line is opened at start-up. What
// `vendrak` runs without the graphical side it runs alike, and batch runs
// that take pictures draw them off screen.
int Main(int argc, char** argv);

// Everything of Main but the application object and its event loop: the
// guard, then the main window loaded, shown and given one pass of events.
// Null when the user declined the separator switch (no window was made).
// The window puts the separator back through `locale` when it closes.
std::unique_ptr<MainWindow> StartProgram(Dimension& dim, LocaleAccess& locale, Dialogs& dialogs);

} // namespace vendrak
