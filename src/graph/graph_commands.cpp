#include "shell/main_window.h"

namespace vendrak {

void MainWindow::cmdPlot_Click() {}
void MainWindow::ReadPlotSpecs() {}
void MainWindow::InvalidateGraph() {}
void MainWindow::DrawGraph() {}
void MainWindow::txtWindowlx_Change() {}
void MainWindow::txtWindowlx_LostFocus() {}
void MainWindow::txtWindowgx_Change() {}
void MainWindow::txtWindowgx_LostFocus() {}
void MainWindow::txtWindowly_Change() {}
void MainWindow::txtWindowly_LostFocus() {}
void MainWindow::txtWindowgy_Change() {}
void MainWindow::txtWindowgy_LostFocus() {}
void MainWindow::txtXorigin_Change() {}
void MainWindow::txtYorigin_Change() {}
void MainWindow::txtDivx_Change() {}
void MainWindow::txtDivx_Validate(bool&) {}
void MainWindow::txtDivy_Change() {}
void MainWindow::txtDivy_Validate(bool&) {}
void MainWindow::txtPlotStep_Change() {}
void MainWindow::txtPlotStep_Validate(bool&) {}
void MainWindow::cboDerivative_GotFocus() {}
void MainWindow::cboDerivative_LostFocus() {}
void MainWindow::ChangeView(int) {}
void MainWindow::cmdZoomOut_Click() {}
void MainWindow::cmdZoomQ1_Click() {}
void MainWindow::cmdZoomQ2_Click() {}
void MainWindow::cmdZoomQ3_Click() {}
void MainWindow::cmdZoomQ4_Click() {}
void MainWindow::cmdZoomIn_Click() {}
void MainWindow::cmdPanRight_Click() {}
void MainWindow::cmdPanUp_Click() {}
void MainWindow::cmdPanLeft_Click() {}
void MainWindow::cmdPanDown_Click() {}
void MainWindow::cmdIncWindX_Click() {}
void MainWindow::cmdDecWindX_Click() {}
void MainWindow::cmdIncWindY_Click() {}
void MainWindow::cmdDecWindY_Click() {}
void MainWindow::Picture1_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, QPointF) {}
void MainWindow::Picture1_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, QPointF) {}
void MainWindow::mnuCopy_Click() {}

} // namespace vendrak
