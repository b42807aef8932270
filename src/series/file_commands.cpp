#include "shell/main_window.h"

namespace vendrak {

void MainWindow::OpenSeriesFile() {}
void MainWindow::OpenSeriesFileNamed(const QString&) {}
void MainWindow::mnuSave_Click() {}
void MainWindow::mnuSaveAs_Click() {}
void MainWindow::SaveStudy() {}
void MainWindow::txtEquation_Click() {}
void MainWindow::txtEquation_Change() {}
void MainWindow::txtEquation_Validate(bool&) {}

} // namespace vendrak
