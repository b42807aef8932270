// Feeds arbitrary text to the expression parser and both series builders, with
// small degrees and harmonic counts but any centre, period and interval. Each
// build must end in a series or a message (never a crash, a hang or runaway
// memory), a series must hold finite numbers over a real interval, and a
// series that is written must open again.
//
// Some honest builds are slow: a thousand nested gammas at degree 40 take a
// minute at full precision. The window stops such a build when asked, so
// each build here is asked to stop after a second and a half; what libFuzzer's
// -timeout catches is a build that does not stop when asked.
//
// The input: a byte for the degree, one for the harmonics, one of flags, then
// the centre, the period and the interval's ends (a byte each choosing a small
// whole number, an awkward double or the eight bytes that follow), then the
// expression as UTF-8.
#include "core/builder/series_builder.h"
#include "core/study/dimension.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <cfloat>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <thread>
#include <unistd.h>

using namespace vendrak;

namespace {

struct Input {
    const uint8_t* p;
    size_t left;

    uint8_t byte()
    {
        if (left == 0)
            return 0;
        --left;
        return *p++;
    }

    double number()
    {
        constexpr double inf = std::numeric_limits<double>::infinity();
        static const double awkward[] = {-0.0, 0.5, M_PI, 1e-300, -1e-300, DBL_TRUE_MIN, 1e300, -1e300,
                                         DBL_MAX, -DBL_MAX, NAN, inf, -inf, 1e15 + 0.5, 9007199254740993.0, 0.1};
        const uint8_t s = byte();
        if (s < 128)
            return s - 64;
        if (s < 144)
            return awkward[s - 128];
        double d = 0;
        uint8_t raw[sizeof d] = {};
        for (uint8_t& b : raw)
            b = byte();
        std::memcpy(&d, raw, sizeof d);
        return d;
    }
};

// Sets a build's cancel flag once its time is up.
class Watchdog {
public:
    Watchdog()
    {
        std::thread([this] { run(); }).detach();
    }

    void arm(BuildControl* control, std::chrono::milliseconds budget)
    {
        std::lock_guard lock(m_);
        control_ = control;
        deadline_ = std::chrono::steady_clock::now() + budget;
        cv_.notify_one();
    }

    void disarm()
    {
        std::lock_guard lock(m_);
        control_ = nullptr;
    }

private:
    void run()
    {
        std::unique_lock lock(m_);
        for (;;) {
            if (!control_)
                cv_.wait(lock);
            else if (cv_.wait_until(lock, deadline_) == std::cv_status::timeout && control_
                     && std::chrono::steady_clock::now() >= deadline_)
                control_->cancel = true;
        }
    }

    std::mutex m_;
    std::condition_variable cv_;
    BuildControl* control_ = nullptr;
    std::chrono::steady_clock::time_point deadline_;
};

Watchdog& watchdog()
{
    static Watchdog* w = new Watchdog; // never destroyed: its thread runs to the end
    return *w;
}

QString scratchPath()
{
    return QStringLiteral("/dev/shm/vendrak-fuzz-builder-%1.txt").arg(getpid());
}

[[noreturn]] void fail(const char* what, const QString& detail = {})
{
    std::fprintf(stderr, "property broken: %s %s\n", what, qPrintable(detail));
    std::abort();
}

void check(const BuiltSeries& s, size_t count)
{
    if (s.coeffs.size() != count)
        fail("the series has the wrong number of coefficients");
    for (double c : s.coeffs)
        if (!std::isfinite(c))
            fail("a coefficient is not finite");
    if (!std::isfinite(s.lower) || !std::isfinite(s.upper) || !(s.lower < s.upper))
        fail("the interval is not a finite interval", QStringLiteral("%1 %2").arg(s.lower).arg(s.upper));
    if (const std::optional<Error> failed = WriteBuiltSeries(s, scratchPath())) {
        if (failed->message().isEmpty())
            fail("a refused write gave no message");
        return;
    }
    Dimension d;
    d.initialise();
    Outcome<SeriesFile> r = ReadSeriesFile(d, scratchPath());
    if (!r)
        fail("a written series does not open", r.error().message());
    d = Opened(std::move(d), std::move(*r));
    if (d.series.Coeffs.size() != count)
        fail("a written series opens with another number of terms");
}

template <class Build>
void attempt(Build&& build, size_t count)
{
    BuildControl control;
    // A fuzz-sized Fourier build: fewer samples and quadrature points, the
    // same code paths.
    control.mostSamples = 1 << 14;
    control.proofEvaluations = 20000;
    watchdog().arm(&control, std::chrono::milliseconds(1500));
    try {
        BuiltSeries s = build(&control);
        watchdog().disarm();
        check(s, count);
    } catch (const Error& e) {
        watchdog().disarm();
        if (e.message().isEmpty())
            fail("a refused build gave no message");
    } catch (const Cancelled&) {
        watchdog().disarm();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static int argc = 1;
    static char name[] = "fuzz_builder";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    watchdog();
    std::atexit([] { QFile::remove(scratchPath()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 8192)
        return -1; // past the nesting limit already; longer only runs longer
    Input in{data, size};
    const int degree = in.byte() % 41;
    const int harmonics = 1 + in.byte() % 40;
    const uint8_t flags = in.byte();
    const double centre = in.number(), period = in.number(), lower = in.number(), upper = in.number();
    const QString expression = QString::fromUtf8(reinterpret_cast<const char*>(in.p), static_cast<qsizetype>(in.left));
    const std::optional<Interval> interval = flags & 1 ? std::optional(Interval{lower, upper}) : std::nullopt;
    const QString periodText = flags & 2 ? QStringLiteral("*") : QString::number(period, 'g', 17);

    attempt([&](BuildControl* c) { return BuildTaylor(expression, centre, degree, interval, c); },
            static_cast<size_t>(degree) + 1);
    attempt([&](BuildControl* c) { return BuildFourier(expression, centre, periodText, harmonics, interval, c); },
            2 * static_cast<size_t>(harmonics) + 1);
    return 0;
}
