#include "platform/PendingStops.h"

void PendingStops::add() {
    std::lock_guard lock(mutex_);
    ++count_;
}

void PendingStops::done() {
    {
        std::lock_guard lock(mutex_);
        --count_;
    }
    idle_.notify_all();
}

bool PendingStops::waitForAll(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, timeout, [this] { return count_ == 0; });
}
