#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

// Counts the pipelines of freed streams that are still being stopped on other threads, so that the
// program can give them a bounded time at exit.
class PendingStops {
public:
    void add();
    void done();
    // False when some are still busy after timeout (a source hung in open()): they are left.
    bool waitForAll(std::chrono::milliseconds timeout);

private:
    std::mutex mutex_;
    std::condition_variable idle_;
    int count_ = 0;
};
