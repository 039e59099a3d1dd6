// The cost of R-peak detection over a 24-hour ECG at 250 Hz, fed in blocks as a reader would.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

#include "ecg/r_peak_detector.h"

namespace {

constexpr double kRate = 250.0;
constexpr std::int64_t kDaySamples = 24 * 3600 * 250;  // 21.6 million
constexpr std::size_t kBlock = 4096;

double Wave(double t, double centre, double width, double height) {
    const double z = (t - centre) / width;
    return height * std::exp(-0.5 * z * z);
}

// One minute of an ECG-like signal: P, Q, R, S and T waves about beats whose intervals vary
// by up to a quarter, on a wandering baseline with a little deterministic noise.
std::vector<float> SyntheticMinute() {
    std::vector<float> signal(static_cast<std::size_t>(60 * kRate));
    std::uint32_t noise = 12345;
    double beat = 0.4;
    std::vector<double> beats;
    for (int i = 0; beat < 61; ++i, beat += 0.75 + 0.2 * std::sin(i * 0.7)) beats.push_back(beat);
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0.3 * std::sin(2 * std::numbers::pi * 0.25 * t);
        for (const double b : beats) {
            if (std::abs(t - b) > 0.5) continue;
            v += Wave(t, b - 0.16, 0.025, 0.15) + Wave(t, b - 0.03, 0.008, -0.15) +
                 Wave(t, b, 0.010, 1.2) + Wave(t, b + 0.03, 0.008, -0.3) +
                 Wave(t, b + 0.28, 0.05, 0.3);
        }
        noise = noise * 1664525U + 1013904223U;
        v += 0.02 * (static_cast<double>(noise >> 8) / 16777216.0 - 0.5);
        signal[i] = static_cast<float>(v);
    }
    return signal;
}

void DetectDay(benchmark::State& bench) {
    const std::vector<float> minute = SyntheticMinute();
    const std::span<const float> whole(minute);
    std::int64_t beats = 0;
    for (auto _ : bench) {
        ritmova::ecg::RPeakDetector detector(kRate);
        beats = 0;
        for (std::int64_t fed = 0; fed < kDaySamples;) {
            for (std::size_t at = 0; at < whole.size() && fed < kDaySamples; at += kBlock) {
                const auto block = whole.subspan(at, std::min(kBlock, whole.size() - at));
                detector.feed(block);
                fed += static_cast<std::int64_t>(block.size());
                beats += static_cast<std::int64_t>(detector.takeBeats().size());
            }
        }
        detector.finish();
        beats += static_cast<std::int64_t>(detector.takeBeats().size());
        benchmark::DoNotOptimize(beats);
    }
    bench.counters["beats"] = static_cast<double>(beats);
    bench.SetItemsProcessed(bench.iterations() * kDaySamples);
}
BENCHMARK(DetectDay)->Unit(benchmark::kMillisecond);

}  // namespace
