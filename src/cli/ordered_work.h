#pragma once

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace ritmova::cli {

// What one chunk of work says: text for standard output and for standard error.
struct ChunkText {
    std::string out;
    std::string err;
    bool failed = false;  // whether any item of the chunk failed
};

// The chunks of one ForEachInOrder run and who does what next: a worker takes the next chunk
// not yet taken, as long as its text has a slot free; the writer takes the chunks done, in
// order. A chunk's slot is free again once its text is written.
class ChunkQueue {
  public:
    static constexpr std::size_t Slots = 4;

    explicit ChunkQueue(std::size_t chunks) : chunks_(chunks) {}

    // For the helper: the next chunk to work on, waiting for a free slot; nullopt when every
    // chunk is taken.
    std::optional<std::size_t> waitForWork();
    // For the writer: the next chunk to write when it is done, else the next chunk to work
    // on (`work` set), waiting when there is neither; nullopt when every chunk is written.
    std::optional<std::size_t> nextForWriter(bool& work);
    void finish(std::size_t chunk);   // a chunk's text is complete
    void written(std::size_t chunk);  // a chunk's text is written; its slot is free
    ChunkText& text(std::size_t chunk) { return texts_[chunk % Slots]; }

  private:
    bool slotFree() const { return taken_ < chunks_ && taken_ < written_ + Slots; }

    const std::size_t chunks_;
    std::size_t taken_ = 0;    // chunks taken by a worker
    std::size_t written_ = 0;  // chunks written
    std::array<bool, Slots> done_{};
    std::array<ChunkText, Slots> texts_;
    std::mutex mutex_;
    std::condition_variable changed_;
};

// Runs produce(worker, index, text) for every index in [0, count), in chunks of `chunkSize`,
// on two threads when `parallel` (worker 0 is the calling thread, worker 1 a helper; each
// worker's state is its own), and hands each chunk's text to consume in index order, on the
// calling thread, as soon as it and the chunks before it are done. At most
// ChunkQueue::Slots chunks' text is held at once, so memory does not grow with the count.
template <typename Produce, typename Consume>
void ForEachInOrder(std::size_t count, std::size_t chunkSize, bool parallel, Produce produce,
                    Consume consume) {
    ChunkQueue queue((count + chunkSize - 1) / chunkSize);
    const auto run = [&](std::size_t worker, std::size_t chunk) {
        ChunkText& text = queue.text(chunk);
        text.out.clear();
        text.err.clear();
        text.failed = false;
        const std::size_t begin = chunk * chunkSize;
        const std::size_t end = std::min(count, begin + chunkSize);
        for (std::size_t i = begin; i < end; ++i) produce(worker, i, text);
        queue.finish(chunk);
    };
    std::thread helper;
    if (parallel && count > chunkSize) {
        helper = std::thread([&] {
            while (const auto chunk = queue.waitForWork()) run(1, *chunk);
        });
    }
    bool work = false;
    while (const auto chunk = queue.nextForWriter(work)) {
        if (work) {
            run(0, *chunk);
        } else {
            consume(queue.text(*chunk));
            queue.written(*chunk);
        }
    }
    if (helper.joinable()) helper.join();
}

}  // namespace ritmova::cli
