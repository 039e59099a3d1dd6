#include "cli/ordered_work.h"

namespace ritmova::cli {

std::optional<std::size_t> ChunkQueue::waitForWork() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return taken_ == chunks_ || slotFree(); });
    if (taken_ == chunks_) return std::nullopt;
    return taken_++;
}

std::optional<std::size_t> ChunkQueue::nextForWriter(bool& work) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (written_ == chunks_) return std::nullopt;
        if (done_[written_ % Slots]) {
            work = false;
            return written_;
        }
        if (slotFree()) {
            work = true;
            return taken_++;
        }
        changed_.wait(lock);
    }
}

void ChunkQueue::finish(std::size_t chunk) {
    {
        const std::lock_guard lock(mutex_);
        done_[chunk % Slots] = true;
    }
    changed_.notify_all();
}

void ChunkQueue::written(std::size_t chunk) {
    {
        const std::lock_guard lock(mutex_);
        done_[chunk % Slots] = false;
        ++written_;
    }
    changed_.notify_all();
}

}  // namespace ritmova::cli
