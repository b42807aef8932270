#include "shell/main_window.h"

namespace vendrak {

void MainWindow::cmdRoots_Click() {}
void MainWindow::cmdExtrema_Click() {}
void MainWindow::cmdIntegrate_Click() {}
void MainWindow::cmdDerVal_Click() {}

} // namespace vendrak
