#include "app/start.h"

#include "app/batch.h"
#include "app/command_line.h"
#include "app/install_layout.h"
#include "core/study/whole_file.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace vendrak {

namespace {

int printed(const QString& text)
{
    if (WriteStandardOutput(text.toLocal8Bit()))
        return 0;
    std::fprintf(stderr, "vendrak: standard output could not be written: %s\n", std::strerror(errno));
    return kExitCommandFailed;
}

// Qt's notes about the environment (no XDG_RUNTIME_DIR under cron or ssh, a
// runtime folder owned by another user under root) are not about the study
// and would read like failures. A fatal one still says why the program ends.
void batchMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
        std::fprintf(stderr, "vendrak: %s\n", message.toLocal8Bit().constData());
}

} // namespace

QStringList ArgumentList(int argc, char** argv)
{
    QStringList out;
    for (int i = 0; i < argc; ++i)
        out << QString::fromLocal8Bit(argv[i]);
    return out;
}

int UsageError(const QString& why)
{
    std::fprintf(stderr, "vendrak: %s (try --help)\n", why.toLocal8Bit().constData());
    return kExitUsage;
}

void KeepBatchMessagesOwn() { qInstallMessageHandler(batchMessages); }

std::optional<int> RunWithoutGraphics(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("vendrak"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VENDRAK_VERSION));
    const QStringList arguments = ArgumentList(argc, argv);
    if (!RunsWithoutWindow(arguments))
        return std::nullopt;
    const CommandLine line = ParseCommandLine(arguments);
    switch (line.mode) {
    case CommandLine::Mode::UsageError:
        return UsageError(line.error);
    case CommandLine::Mode::Help:
        return printed(CommandLineHelp());
    case CommandLine::Mode::Version:
        return printed(QStringLiteral("vendrak ") + QStringLiteral(VENDRAK_VERSION) + u'\n');
    case CommandLine::Mode::HelpPath: {
        QCoreApplication app(argc, argv);
        return printed(DefaultHelpFile() + u'\n');
    }
    case CommandLine::Mode::Batch: {
        if (TakesPictures(line.batch))
            return std::nullopt;
        KeepBatchMessagesOwn();
        QCoreApplication app(argc, argv);
        return RunBatch(line.batch);
    }
    case CommandLine::Mode::Window:
        break;
    }
    return UsageError(QStringLiteral("nothing to do"));
}

int StartGraphicalProgram(char** argv)
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        std::fprintf(stderr, "vendrak: cannot find where this program is (/proc/self/exe): %s\n",
                     error.message().c_str());
        return kExitNoProgram;
    }
    const QByteArray program =
        QFile::encodeName(GraphicalProgram(QString::fromLocal8Bit(self.parent_path().c_str())));
    // The window's program sees the arguments as given, argv[0] included.
    execv(program.constData(), argv);
    std::fprintf(stderr, "vendrak: cannot start %s: %s\n", program.constData(), std::strerror(errno));
    return kExitNoProgram;
}

} // namespace vendrak
