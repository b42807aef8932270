#pragma once
// Work shared out over a few threads that are started once and kept.
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vendrak::scan {

// The scans share each block of grid values out this way, from the first
// block worth sharing to the end of the scan: a thread started for every
// block cost about as much as the block of a long series it evaluated.
class SharedWork {
public:
    ~SharedWork()
    {
        {
            std::lock_guard lock(m_);
            stop_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_)
            t.join();
    }

    SharedWork() = default;
    SharedWork(const SharedWork&) = delete;
    SharedWork& operator=(const SharedWork&) = delete;

    // part(0) here and part(1) ... part(parts - 1) on the helpers; returns
    // once all have ended, with the first exception one of them threw.
    void run(std::size_t parts, const std::function<void(std::size_t)>& part)
    {
        // A helper started now waits for this run, not one that has ended.
        while (threads_.size() + 1 < parts)
            threads_.emplace_back([this, index = threads_.size() + 1, seen = generation_] { serve(index, seen); });
        {
            std::lock_guard lock(m_);
            job_ = &part;
            parts_ = parts;
            pending_ = threads_.size();
            failure_ = nullptr;
            ++generation_;
        }
        wake_.notify_all();
        std::exception_ptr here;
        try {
            part(0);
        } catch (...) {
            here = std::current_exception();
        }
        std::unique_lock lock(m_);
        done_.wait(lock, [&] { return pending_ == 0; });
        if (here)
            std::rethrow_exception(here);
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    void serve(std::size_t index, unsigned long long seen)
    {
        for (;;) {
            std::unique_lock lock(m_);
            wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
            if (stop_)
                return;
            seen = generation_;
            const auto* job = job_;
            const bool mine = index < parts_;
            lock.unlock();
            std::exception_ptr failed;
            if (mine) {
                try {
                    (*job)(index);
                } catch (...) {
                    failed = std::current_exception();
                }
            }
            lock.lock();
            if (failed && !failure_)
                failure_ = failed;
            if (--pending_ == 0)
                done_.notify_one();
        }
    }

    std::mutex m_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
    const std::function<void(std::size_t)>* job_ = nullptr;
    std::size_t parts_ = 0;
    std::size_t pending_ = 0;
    unsigned long long generation_ = 0;
    std::exception_ptr failure_;
    bool stop_ = false;
};

} // namespace vendrak::scan
