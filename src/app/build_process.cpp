#include "app/build_process.h"

#include <QDataStream>
#include <QIODevice>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <new>
#include <system_error>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace vendrak {

namespace {

// The child's flags live in memory both processes see.
static_assert(std::atomic<double>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

constexpr quint8 kBuilt = 1, kRefused = 2;

QByteArray encode(const BuiltSeries& s)
{
    QByteArray out;
    QDataStream o(&out, QIODevice::WriteOnly);
    o << kBuilt << static_cast<qint32>(s.kind) << s.centre << s.period << s.periodText << s.lower << s.upper
      << s.sourceText << s.errorEstimate << s.errorProven << s.agreement << s.scale << s.seriesError << s.notes << static_cast<quint64>(s.coeffs.size());
    for (double c : s.coeffs)
        o << c;
    return out;
}

QByteArray refusal(const QString& message)
{
    QByteArray out;
    QDataStream o(&out, QIODevice::WriteOnly);
    o << kRefused << message;
    return out;
}

bool decode(const QByteArray& in, std::optional<BuiltSeries>& series, QString& error)
{
    QDataStream i(in);
    quint8 tag = 0;
    i >> tag;
    if (tag == kRefused) {
        i >> error;
        return i.status() == QDataStream::Ok && i.atEnd() && !error.isEmpty();
    }
    BuiltSeries s;
    qint32 kind = 0;
    quint64 count = 0;
    i >> kind >> s.centre >> s.period >> s.periodText >> s.lower >> s.upper >> s.sourceText >> s.errorEstimate >> s.errorProven >> s.agreement >> s.scale >> s.seriesError >> s.notes >> count;
    if (tag != kBuilt || i.status() != QDataStream::Ok || count > static_cast<quint64>(in.size()) / sizeof(double))
        return false;
    s.kind = static_cast<SeriesKind>(kind);
    s.coeffs.resize(count);
    for (double& c : s.coeffs)
        i >> c;
    if (i.status() != QDataStream::Ok || !i.atEnd())
        return false;
    series = std::move(s);
    return true;
}

bool writeAll(int fd, const QByteArray& data)
{
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The child computes, answers through the pipe and leaves without running
// anything of the window's: no exit handlers, no destructors of its objects.
[[noreturn]] void runChild(const BuildProcess::Work& work, const BuildControl* control, int fd, pid_t parent)
{
#ifdef __linux__
    // A window that dies without a word must not leave its build running.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    if (getppid() != parent)
        _exit(1);
    // The window's other descriptors are not the build's to hold open.
    if (dup2(fd, 3) == 3) {
        fd = 3;
        close_range(4, ~0U, 0);
    }
    QByteArray out;
    try {
        try {
            out = encode(work(control));
        } catch (const Error& e) {
            out = refusal(e.message());
        } catch (const std::bad_alloc&) {
            out = refusal(QStringLiteral("there is not enough memory to build the series"));
        } catch (...) {
            out = refusal(QStringLiteral("the series could not be computed"));
        }
    } catch (...) {
        _exit(2);
    }
    _exit(writeAll(fd, out) ? 0 : 2);
}

// A child that has ended or been killed is collected aside: the window never
// waits for one.
void reap(pid_t pid)
{
    try {
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: at worst the child stays a zombie until the
        // program ends, which costs no time.
        int status = 0;
        waitpid(pid, &status, WNOHANG);
    }
}

} // namespace

BuildProcess::BuildProcess(QObject* parent) : QObject(parent) {}

BuildProcess::~BuildProcess()
{
    stop();
    if (control_)
        munmap(control_, sizeof(BuildControl));
}

void BuildProcess::start(const Work& work)
{
    void* page = mmap(nullptr, sizeof(BuildControl), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (page != MAP_FAILED)
        control_ = new (page) BuildControl;
    int fds[2];
    if (!control_ || pipe2(fds, O_CLOEXEC) != 0) {
        end(QStringLiteral("the series could not be built: %1").arg(QString::fromLocal8Bit(strerror(errno))));
        return;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        ::close(fds[0]);
        runChild(work, control_, fds[1], parent);
    }
    const int forkError = errno;
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        end(QStringLiteral("the series could not be built: %1").arg(QString::fromLocal8Bit(strerror(forkError))));
        return;
    }
    pid_ = pid;
    fd_ = fds[0];
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &BuildProcess::readSome);
}

double BuildProcess::fraction() const { return control_ ? control_->fraction.load() : 0.0; }

void BuildProcess::readSome()
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0) {
            received_.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // The child closed its end: it has answered, or died trying.
        stop();
        if (!decode(received_, series_, error_))
            end(QStringLiteral("the build stopped unexpectedly"));
        else
            end();
        return;
    }
}

void BuildProcess::stop()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        reap(pid_);
        pid_ = 0;
    }
    if (notifier_) {
        // It may be the notifier whose signal is being handled.
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void BuildProcess::end(const QString& failure)
{
    received_.clear();
    if (!failure.isEmpty())
        error_ = failure;
    // The caller may still be connecting to finished(); it comes from the
    // event loop.
    QMetaObject::invokeMethod(this, &BuildProcess::finished, Qt::QueuedConnection);
}

} // namespace vendrak
