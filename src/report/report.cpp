#include "shell/main_window.h"

namespace vendrak {

void MainWindow::mnuPrint_Click() {}

} // namespace vendrak
