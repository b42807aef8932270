#include "app/sub_main.h"

#include "app/batch_pictures.h"
#include "app/command_line.h"
#include "app/start.h"
#include "app/decimal_point.h"
#include "app/dialogs.h"
#include "core/study/dimension.h"
#include "app/main_window.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <optional>

namespace vendrak {

namespace {

// Whether the window has somewhere to open: without a display Qt's default
// platform (xcb or wayland) prints its own notes and aborts. A platform
// named by the environment or by -platform is Qt's to judge.
bool HasDisplay(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

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
    if (const std::optional<int> status = RunWithoutGraphics(argc, argv))
        return *status;
    if (const QStringList arguments = ArgumentList(argc, argv); RunsWithoutWindow(arguments)) {
        // A batch run that takes pictures: they are drawn off screen, and no
        // display is asked for, whatever the environment names.
        const CommandLine line = ParseCommandLine(arguments);
        KeepBatchMessagesOwn();
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        DrawnPictures pictures;
        return RunBatch(line.batch, &pictures);
    }

    if (!HasDisplay(argc, argv)) {
        std::fprintf(stderr, "vendrak: there is no display to open the window on (neither DISPLAY nor "
                             "WAYLAND_DISPLAY is set); a study without a window is vendrak --batch FILE "
                             "(see --help)\n");
        return kExitUsage;
    }
    QApplication app(argc, argv);
    // Qt has taken its own options (-platform, -style) out of the list by now.
    const CommandLine line = ParseCommandLine(QCoreApplication::arguments());
    if (line.mode == CommandLine::Mode::UsageError)
        return UsageError(line.error);
    SystemLocaleAccess locale;
    QtDialogs dialogs;
    Dimension dim;
    std::unique_ptr<MainWindow> window = StartProgram(dim, locale, dialogs);
    if (!window)
        return 0;
    dialogs.setParent(window.get());
    if (!line.file.isEmpty()) {
        const QString path = line.file;
        window->runGuarded([&] { window->OpenSeriesFileNamed(path); });
    }
    const int result = app.exec();
    // The window is gone before the dialogs it used and the study state.
    window.reset();
    return result;
}

} // namespace vendrak
