#include "shell/main_window.h"

#include "graph/picture_box.h"

#include <QCloseEvent>

namespace vendrak {

MainWindow::MainWindow(Dimension& dim, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent)
    , dim_(dim)
    , dialogs_(dialogs)
{
    setWindowTitle(QStringLiteral("Vendrak"));
    buildControls();
    buildMenus();
    wireEvents();
    Form_Load();
}

MainWindow::~MainWindow() = default;

bool MainWindow::commitFocusedField() { return true; }
void MainWindow::buildControls()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    Picture1 = new PictureBox(central);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(0, 0, 400, 300);
    setFixedSize(632, 434);
}
void MainWindow::buildMenus() {}
void MainWindow::wireEvents() {}
void MainWindow::Form_Load() { dim_.initialise(); }
void MainWindow::Form_Unload() {}
void MainWindow::mnuHelp_Click() {}
void MainWindow::mnuAbout_Click() {}
void MainWindow::ScriptControl1_Error(int, const QString&) {}

void MainWindow::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    return QMainWindow::eventFilter(watched, event);
}

} // namespace vendrak
