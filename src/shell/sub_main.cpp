#include "shell/sub_main.h"

#include "shell/dialogs.h"
#include "shell/dimension.h"
#include "shell/main_window.h"

#include <QApplication>

namespace vendrak {

int Main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Dimension dim;
    QtDialogs dialogs;
    MainWindow window(dim, dialogs);
    dialogs.setParent(&window);
    window.show();
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1)
        window.OpenSeriesFileNamed(args.at(1));
    return app.exec();
}

} // namespace vendrak
