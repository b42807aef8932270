#include "core/study/whole_file.h"

#include <cstdio>

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace vendrak {

namespace {

// Qt often has no reason of its own for a failed write ("Unknown error",
// QSaveFile in particular); the system's, left in errno by the call that
// failed, says what the user can act on. Only without either do the
// caller's words name the step that failed.
QString reason(const QFileDevice& device, int systemError, const QString& fallback)
{
    const QString s = device.errorString();
    if (!s.isEmpty() && s != u"Unknown error")
        return s;
    return systemError != 0 ? QString::fromLocal8Bit(std::strerror(systemError)) : fallback;
}

} // namespace

QString WriteTarget(const QString& path, QString& why)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        // A save would otherwise put a regular file in the link's place.
        const QString target = info.canonicalFilePath();
        if (target.isEmpty()) {
            why = QStringLiteral("it is a symbolic link that leads to no file");
            return {};
        }
        return WriteTarget(target, why);
    }
    if (info.isDir()) {
        why = QStringLiteral("it is a folder, not a file");
        return {};
    }
    // Writing "over" a pipe or a device would replace it, or never end.
    if (info.exists() && !info.isFile()) {
        why = QStringLiteral("it is not a regular file");
        return {};
    }
    return path;
}

QString WriteAll(QFileDevice& device, const QByteArray& content)
{
    // flush() too: a short write can sit in the buffer and fail only there.
    errno = 0;
    if (device.write(content) != content.size() || !device.flush())
        return reason(device, errno, QStringLiteral("writing failed"));
    return {};
}

QString WriteWholeFile(const QString& path, const QByteArray& content)
{
    QString why;
    const QString target = WriteTarget(path, why);
    if (target.isEmpty())
        return why;
    QSaveFile file(target);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return reason(file, errno, QStringLiteral("it cannot be created"));
    why = WriteAll(file, content);
    if (!why.isEmpty()) {
        file.cancelWriting();
        return why;
    }
    errno = 0;
    if (!file.commit())
        return reason(file, errno, QStringLiteral("the new content could not replace the old file"));
    return {};
}

bool WriteStandardOutput(const QByteArray& bytes)
{
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout)
                         == static_cast<size_t>(bytes.size());
    return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

} // namespace vendrak
