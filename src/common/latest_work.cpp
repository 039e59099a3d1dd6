#include "common/latest_work.h"

#include <utility>

namespace ritmova {

LatestWork::LatestWork() : thread_([this] { run(); }) {}

LatestWork::~LatestWork() {
    {
        const std::lock_guard lock(mutex_);
        quit_ = true;
        waiting_.reset();
    }
    wake_.notify_one();
    thread_.join();
}

void LatestWork::post(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        waiting_ = std::move(task);
    }
    wake_.notify_one();
}

bool LatestWork::busy() const {
    const std::lock_guard lock(mutex_);
    return running_ || waiting_.has_value();
}

void LatestWork::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || waiting_.has_value(); });
        if (quit_) return;
        std::function<void()> task = std::move(*waiting_);
        waiting_.reset();
        running_ = true;
        lock.unlock();
        task();
        lock.lock();
        running_ = false;
    }
}

}  // namespace ritmova
