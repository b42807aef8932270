#pragma once
namespace vendrak {
// The program: decimal-separator guard, main window, event loop. A series file
// named on the command line is opened at start-up.
int Main(int argc, char** argv);
} // namespace vendrak
