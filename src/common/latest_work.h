#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace ritmova {

// Runs tasks one at a time on a thread of its own, where only the latest request matters: a
// task posted while another runs waits, and replaces any task still waiting, which is then
// never run. A window that recomputes on every change of its settings so stays responsive and
// ends with the results of its last settings. The destructor waits for the running task.
class LatestWork {
  public:
    LatestWork();
    ~LatestWork();
    LatestWork(const LatestWork&) = delete;
    LatestWork& operator=(const LatestWork&) = delete;

    // `task` must not throw: it runs where nothing could catch it.
    void post(std::function<void()> task);
    // Whether a task runs or waits.
    bool busy() const;

  private:
    void run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::function<void()>> waiting_;
    bool running_ = false;
    bool quit_ = false;
    std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace ritmova
