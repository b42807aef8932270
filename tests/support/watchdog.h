#pragma once
// A time limit for one step of a test that could hang. A hang inside the
// window's own code cannot be interrupted from the test thread, so a second
// thread ends the program with the step's name instead of letting it wait for
// the test runner's timeout.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>

namespace vendrak::test {

class Watchdog {
public:
    void arm(const std::string& step, std::chrono::milliseconds limit)
    {
        {
            std::lock_guard lock(mutex_);
            step_ = step;
            deadline_ = std::chrono::steady_clock::now() + limit;
            armed_ = true;
        }
        wake_.notify_all();
    }
    void disarm()
    {
        std::lock_guard lock(mutex_);
        armed_ = false;
    }

private:
    void watch(std::stop_token stop)
    {
        std::unique_lock lock(mutex_);
        while (!stop.stop_requested()) {
            if (armed_ && std::chrono::steady_clock::now() >= deadline_) {
                std::fprintf(stderr, "\nHUNG: \"%s\" did not finish within its time limit\n", step_.c_str());
                std::fflush(stderr);
                std::_Exit(3);
            }
            const auto until = deadline_;
            if (armed_)
                wake_.wait_until(lock, stop, until, [&] { return !armed_ || deadline_ != until; });
            else
                wake_.wait(lock, stop, [&] { return armed_; });
        }
    }

    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::string step_;
    std::chrono::steady_clock::time_point deadline_{};
    bool armed_ = false;
    std::jthread thread_{[this](std::stop_token stop) { watch(stop); }}; // last: starts once the rest is set up
};

} // namespace vendrak::test
