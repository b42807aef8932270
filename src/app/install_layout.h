#pragma once
// Where the programs find each other and their data: beside each other in
// the build tree; installed, the two programs that `vendrak` (in bin/)
// starts in libexec/vendrak/ and the data in share/vendrak/.
#include <QString>

namespace vendrak {

// The installed data file or folder `relative` (to share/vendrak) as seen
// from the running program, wherever it was installed from; empty when
// there is none (the build tree).
QString InstalledData(const QString& relative);

// The help document: the installed one, else the build tree's beside the
// program.
QString DefaultHelpFile();

// The program with the window, beside the one that runs from
// `programFolder`.
QString GraphicalProgram(const QString& programFolder);

} // namespace vendrak
