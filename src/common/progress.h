#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>

namespace ritmova {

// Thrown by a long read whose Progress was cancelled. Not a CommandFailure: nothing failed,
// and no handler of failures takes it for one.
class Cancelled : public std::exception {
  public:
    const char* what() const noexcept override { return "cancelled"; }
};

// How far a long read has come, and the wish to stop it. The reading thread reports, any
// other thread reads the fraction or cancels. Readers report once per block of bytes or
// samples, so that it costs nothing beside the reading.
class Progress {
  public:
    // Records `done` of `total` units (bytes, samples); throws Cancelled once cancel() was
    // called. A total of 0 or less records nothing but still checks.
    void report(std::int64_t done, std::int64_t total) {
        check();
        if (total > 0)
            fraction_.store(std::clamp(double(done) / double(total), 0.0, 1.0),
                            std::memory_order_relaxed);
    }
    // Throws Cancelled once cancel() was called.
    void check() const {
        if (cancelled_.load(std::memory_order_relaxed)) throw Cancelled();
    }
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }
    // The last fraction reported, from 0 to 1.
    double fraction() const { return fraction_.load(std::memory_order_relaxed); }

  private:
    std::atomic<bool> cancelled_{false};
    std::atomic<double> fraction_{0};
};

}  // namespace ritmova
