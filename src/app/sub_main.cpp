#include "app/sub_main.h"

#include "app/decimal_point.h"
#include "app/dialogs.h"
#include "core/study/dimension.h"
#include "app/main_window.h"

#include <QApplication>

namespace vendrak {

std::unique_ptr<MainWindow> StartProgram(Dimension& dim, LocaleAccess& locale, Dialogs& dialogs)
{
    if (!CheckDecimalSeparator(dim, locale, dialogs))
        return nullptr;
    auto window = std::make_unique<MainWindow>(dim, dialogs);
    window->setLocaleAccess(&locale);
    window->show();
    QCoreApplication::processEvents();
    return window;
}

int Main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SystemLocaleAccess locale;
    QtDialogs dialogs;
    Dimension dim;
    std::unique_ptr<MainWindow> window = StartProgram(dim, locale, dialogs);
    if (!window)
        return 0;
    dialogs.setParent(window.get());
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) {
        const QString path = args.at(1);
        window->runGuarded([&] { window->OpenSeriesFileNamed(path); });
    }
    const int result = app.exec();
    // The window is gone before the dialogs it used and the study state.
    window.reset();
    return result;
}

} // namespace vendrak
