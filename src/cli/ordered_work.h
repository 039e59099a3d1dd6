#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <thread>

namespace ritmova::cli {

// What one chunk of work says: text for standard output and for standard error.
struct ChunkText {
    std::string out;
    std::string err;
    bool failed = false;  // whether any item of the chunk failed
};

// Runs produce(worker, index, text) for every index in [0, count), in chunks of `chunkSize`,
// two chunks at a time on two threads when `parallel` (worker 0 or 1: each worker's state is
// its own), and hands each chunk's text to consume in index order. At most two chunks' text
// is held at once, so memory does not grow with the count.
template <typename Produce, typename Consume>
void ForEachInOrder(std::size_t count, std::size_t chunkSize, bool parallel, Produce produce,
                    Consume consume) {
    std::array<ChunkText, 2> texts;
    const auto run = [&](std::size_t worker, std::size_t begin) {
        ChunkText& text = texts[worker];
        text.out.clear();
        text.err.clear();
        text.failed = false;
        const std::size_t end = std::min(count, begin + chunkSize);
        for (std::size_t i = begin; i < end; ++i) produce(worker, i, text);
    };
    for (std::size_t begin = 0; begin < count; begin += 2 * chunkSize) {
        const std::size_t second = begin + chunkSize;
        std::thread helper;
        if (parallel && second < count) helper = std::thread(run, 1, second);
        run(0, begin);
        if (helper.joinable()) {
            helper.join();
        } else if (second < count) {
            run(1, second);
        }
        consume(texts[0]);
        if (second < count) consume(texts[1]);
    }
}

}  // namespace ritmova::cli
