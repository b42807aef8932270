#include "app/sub_main.h"

#include "app/batch.h"
#include "app/decimal_point.h"
#include "app/dialogs.h"
#include "app/help_viewer.h"
#include "core/study/dimension.h"
#include "core/study/whole_file.h"
#include "app/main_window.h"

#include <QApplication>
#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vendrak {

namespace {

QStringList argumentList(int argc, char** argv)
{
    QStringList out;
    for (int i = 0; i < argc; ++i)
        out << QString::fromLocal8Bit(argv[i]);
    return out;
}

int usageError(const QString& why)
{
    std::fprintf(stderr, "vendrak: %s (try --help)\n", why.toLocal8Bit().constData());
    return kExitUsage;
}

bool printText(const QString& text) { return WriteStandardOutput(text.toLocal8Bit()); }

int printed(const QString& text)
{
    if (printText(text))
        return 0;
    std::fprintf(stderr, "vendrak: standard output could not be written: %s\n", std::strerror(errno));
    return kExitCommandFailed;
}

// Standard error of a batch run is the program's own: Qt's notes about the
// environment (no XDG_RUNTIME_DIR under cron or ssh, a runtime folder owned
// by another user under root) are not about the study and would read like
// failures. A fatal one still says why the program ends.
void batchMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "vendrak: %s\n", message.toLocal8Bit().constData());
}

// Help, version and batch need no display: the application object is chosen
// before anything touches one.
int RunWithoutWindow(int argc, char** argv)
{
    const CommandLine line = ParseCommandLine(argumentList(argc, argv));
    switch (line.mode) {
    case CommandLine::Mode::UsageError:
        return usageError(line.error);
    case CommandLine::Mode::Help:
        return printed(CommandLineHelp());
    case CommandLine::Mode::Version:
        return printed(QStringLiteral("vendrak ") + QStringLiteral(VENDRAK_VERSION) + u'\n');
    case CommandLine::Mode::HelpPath: {
        QCoreApplication app(argc, argv);
        return printed(DefaultHelpFile() + u'\n');
    }
    case CommandLine::Mode::Batch: {
        qInstallMessageHandler(batchMessages);
        // A run that draws nothing starts without the graphical side, whose
        // platform and fonts cost more than a study of most series.
        if (!TakesPictures(line.batch)) {
            QCoreApplication app(argc, argv);
            return RunBatch(line.batch);
        }
        // Pictures are drawn off screen; no display is asked for, whatever
        // the environment names.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return RunBatch(line.batch);
    }
    case CommandLine::Mode::Window:
        break;
    }
    return usageError(QStringLiteral("nothing to do"));
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
    QCoreApplication::setApplicationName(QStringLiteral("vendrak"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VENDRAK_VERSION));
    if (RunsWithoutWindow(argumentList(argc, argv)))
        return RunWithoutWindow(argc, argv);

    QApplication app(argc, argv);
    // Qt has taken its own options (-platform, -style) out of the list by now.
    const CommandLine line = ParseCommandLine(QCoreApplication::arguments());
    if (line.mode == CommandLine::Mode::UsageError)
        return usageError(line.error);
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
