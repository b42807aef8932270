#include "shell/main_window.h"

namespace vendrak {

void MainWindow::ReadStudySpecs() {}
void MainWindow::ClearResults() {}
void MainWindow::txtXlower_Change() {}
void MainWindow::txtXlower_LostFocus() {}
void MainWindow::txtXupper_Change() {}
void MainWindow::txtXupper_LostFocus() {}
void MainWindow::txtError_GotFocus() {}
void MainWindow::txtError_Validate(bool&) {}
void MainWindow::txtError_LostFocus() {}
void MainWindow::txtSubintervals_Change() {}
void MainWindow::txtSubintervals_Validate(bool&) {}
void MainWindow::txtSubintervals_LostFocus() {}
void MainWindow::txtMaxcy_Change() {}
void MainWindow::txtMaxcy_Validate(bool&) {}

} // namespace vendrak
