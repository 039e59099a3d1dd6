// Reading a 24-hour two-lead record at 250 Hz in format 212 (21.6 million frames, 65 MB),
// written once into a temporary folder: one channel read whole in blocks, then read and fed to
// the R-peak detector as the console tool does. The target for reading plus detection is 1 s.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ecg/ecg_record.h"
#include "ecg/r_peak_detector.h"
#include "ecg/signal_reader.h"

namespace {

constexpr std::int64_t kFrames = 24 * 3600 * 250;
constexpr std::int64_t kBeatSamples = 200;  // 75 beats per minute

// A beat's digital value: a sharp R wave and a broad T wave on a flat baseline.
int BeatShape(std::int64_t phase) {
    const double t = static_cast<double>(phase);
    return static_cast<int>(400 * std::exp(-0.5 * (t - 50) * (t - 50) / 9) +
                            80 * std::exp(-0.5 * (t - 110) * (t - 110) / 200));
}

// The record's folder, made on first use and removed when the program ends.
const std::string& DayRecord() {
    static const std::string record = [] {
        char folder[] = "/tmp/ritmova-bench-XXXXXX";
        std::filesystem::path path = mkdtemp(folder);
        std::vector<char> bytes(static_cast<std::size_t>(kFrames) * 3);
        std::uint32_t sum = 0;
        for (std::int64_t f = 0; f < kFrames; ++f) {
            const int lead = BeatShape(f % kBeatSamples) + static_cast<int>(f % 7), other = 0;
            sum += static_cast<std::uint32_t>(lead);
            char* frame = bytes.data() + 3 * f;
            frame[0] = static_cast<char>(lead & 0xFF);
            frame[1] = static_cast<char>((lead >> 8 & 0x0F) | (other >> 8 & 0x0F) << 4);
            frame[2] = static_cast<char>(other & 0xFF);
        }
        std::ofstream(path / "day.dat", std::ios::binary)
            .write(bytes.data(), std::streamsize(bytes.size()));
        std::ofstream(path / "day.hea")
            << "day 2 250 " << kFrames << "\nday.dat 212 200 12 0 " << BeatShape(0) << " "
            << static_cast<std::int16_t>(sum & 0xFFFF) << " 0 ECG\nday.dat 212 200 12 0 0 0 0 V1\n";
        std::atexit(
            [] { std::filesystem::remove_all(std::filesystem::path(DayRecord()).parent_path()); });
        return (path / "day").string();
    }();
    return record;
}

void ReadDay(benchmark::State& bench) {
    const std::string& record = DayRecord();
    std::vector<float> block(65536);
    for (auto _ : bench) {
        ritmova::ecg::SignalReader reader = ritmova::ecg::OpenSignal(record);
        std::int64_t total = 0;
        while (std::size_t count = reader.read(block)) total += static_cast<std::int64_t>(count);
        benchmark::DoNotOptimize(total);
    }
    bench.SetItemsProcessed(bench.iterations() * kFrames);
}
BENCHMARK(ReadDay)->Unit(benchmark::kMillisecond);

void ReadAndDetectDay(benchmark::State& bench) {
    const std::string& record = DayRecord();
    std::vector<float> block(65536);
    std::size_t beats = 0;
    for (auto _ : bench) {
        ritmova::ecg::SignalReader reader = ritmova::ecg::OpenSignal(record);
        ritmova::ecg::RPeakDetector detector(reader.frequencyHz());
        beats = 0;
        while (std::size_t count = reader.read(block)) {
            detector.feed(std::span<const float>(block.data(), count));
            beats += detector.takeBeats().size();
        }
        detector.finish();
        beats += detector.takeBeats().size();
    }
    bench.counters["beats"] = static_cast<double>(beats);
    bench.SetItemsProcessed(bench.iterations() * kFrames);
}
BENCHMARK(ReadAndDetectDay)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The console tool's and the window's way: LoadBeats, without progress (argument 0) and
// reporting to a Progress once per block of 65,536 samples (argument 1).
void LoadBeatsDay(benchmark::State& bench) {
    const std::string& record = DayRecord();
    std::size_t beats = 0;
    for (auto _ : bench) {
        ritmova::Progress progress;
        beats =
            ritmova::ecg::LoadBeats(record, {}, bench.range(0) ? &progress : nullptr).beats.size();
    }
    bench.counters["beats"] = static_cast<double>(beats);
    bench.SetItemsProcessed(bench.iterations() * kFrames);
}
BENCHMARK(LoadBeatsDay)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
