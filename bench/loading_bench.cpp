// Reading a whole recording of 1,000,000 values from a file (7 MB, one value in milliseconds
// per line), as Open reads it: without progress (argument 0) and reporting to a Progress
// (argument 1), which the reader checks once per block of 4,096 bytes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "analysis/recording.h"
#include "common/progress.h"

namespace {

const std::string& MillionFile() {
    static const std::string file = [] {
        char folder[] = "/tmp/ritmova-bench-XXXXXX";
        const std::filesystem::path path = std::filesystem::path(mkdtemp(folder)) / "day.int";
        std::ofstream out(path);
        for (long i = 0; i < 1'000'000; ++i) out << 700 + (i * 7919) % 500 << ".5\n";
        std::atexit([] {
            std::filesystem::remove_all(std::filesystem::path(MillionFile()).parent_path());
        });
        return path.string();
    }();
    return file;
}

void ReadRecordingFile(benchmark::State& bench) {
    const std::string& file = MillionFile();
    const ritmova::ReadOptions options{ritmova::UnitsChoice::Milliseconds};
    for (auto _ : bench) {
        ritmova::Progress progress;
        const auto recording =
            ritmova::ReadRecording(file, options, bench.range(0) ? &progress : nullptr);
        benchmark::DoNotOptimize(recording.intervals.data());
    }
}
BENCHMARK(ReadRecordingFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
