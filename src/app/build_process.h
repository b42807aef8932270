#pragma once
// A series build in a child process of its own. One Arb operation on a long
// series can run for many seconds and cannot be interrupted, so a thread
// that checks a flag between operations would keep a core busy long after
// the user gave up; a process can be ended at once.
#include "core/builder/series_builder.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <sys/types.h>

class QSocketNotifier;

namespace vendrak {

class BuildProcess : public QObject {
    Q_OBJECT
public:
    // Runs in the child, which shares nothing with the window but what it
    // was given; it may throw Error.
    using Work = std::function<BuiltSeries(const BuildControl*)>;

    explicit BuildProcess(QObject* parent = nullptr);
    // Ends a build still running; never waits for it.
    ~BuildProcess() override;
    BuildProcess(const BuildProcess&) = delete;
    BuildProcess& operator=(const BuildProcess&) = delete;

    // finished() follows, also when the process could not be started.
    void start(const Work& work);
    void stop();
    bool running() const { return pid_ > 0; }
    // The share the build reports done, 0 to 1.
    double fraction() const;

    // After finished(): the series, or else why there is none.
    const std::optional<BuiltSeries>& series() const { return series_; }
    const QString& error() const { return error_; }

signals:
    void finished();

private:
    void readSome();
    void end(const QString& failure = {});

    BuildControl* control_ = nullptr; // shared with the child
    pid_t pid_ = 0;
    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QByteArray received_;
    std::optional<BuiltSeries> series_;
    QString error_;
};

} // namespace vendrak
