#pragma once
// Every file this program writes goes out through here: whole or not at all,
// and only ever into a regular file.
#include <QByteArray>
#include <QFileDevice>
#include <QString>

namespace vendrak {

// The regular file a write to `path` lands in: a symbolic link is followed,
// so the link stays and the file it names gets the content. Empty, with the
// reason in `why`, when the target exists and is not a regular file (a
// folder, a pipe, a device) or is a link that leads to no file.
QString WriteTarget(const QString& path, QString& why);

// Writes all of `content` to an open device and flushes it. Empty when done,
// otherwise the reason as the system gives it ("No space left on device").
QString WriteAll(QFileDevice& device, const QByteArray& content);

// Replaces the file at `path` with `content` once all of it is on disk; on
// any failure an earlier file stays as it was and nothing half-written is
// left. Empty when done, otherwise why not.
QString WriteWholeFile(const QString& path, const QByteArray& content);

// Writes all of `bytes` to standard output and flushes it. False when any of
// it did not get there (a full disk, a closed pipe): a run whose output was
// lost must not pass for a finished one.
bool WriteStandardOutput(const QByteArray& bytes);

} // namespace vendrak
