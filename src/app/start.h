#pragma once
// The command-line program starts without the graphical side of Qt, whose
// libraries take longer to load than most batch runs take to study: it runs
// here what needs none and hands the rest to the program with the window.
#include <QString>
#include <QStringList>

#include <optional>

namespace vendrak {

// The status when the program cannot start the one with the window.
constexpr int kExitNoProgram = 127;

// Help, version, the help path, usage errors and batch runs that take no
// picture; their exit status. None when the arguments ask for the window
// or pictures.
std::optional<int> RunWithoutGraphics(int argc, char** argv);

// The arguments as Qt holds them, program name first.
QStringList ArgumentList(int argc, char** argv);

// Says why the command line cannot be used; the usage error's status.
int UsageError(const QString& why);

// Standard error of a batch run holds the program's own messages.
void KeepBatchMessagesOwn();

// Replaces this process by the program with the window, found beside this
// one, with the same arguments. Returns only when that fails, having said
// why on standard error: the exit status.
int StartGraphicalProgram(char** argv);

} // namespace vendrak
