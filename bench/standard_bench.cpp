// The whole standard analysis of one stretch (targets: a 100,000-beat recording within 0.3 s;
// 1,000 five-minute recordings within 0.5 s with the console tool's two workers), and the
// corrections on a day of beats.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "standard/correction.h"
#include "standard/stretch_analysis.h"

namespace {

// Intervals in ms around 800: a day-long swing, breathing, correlated noise and, every 500
// beats, a premature beat with its compensation.
std::vector<double> Beats(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 15);
    std::vector<double> rr(count);
    double wander = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double beat = static_cast<double>(i);
        wander = 0.9 * wander + noise(random);
        rr[i] = 800 + 120 * std::sin(2 * std::numbers::pi * beat / 100'000) +
                30 * std::sin(beat / 1.6) + wander;
        if (i % 500 == 499) rr[i] -= 250;
        if (i % 500 == 0 && i > 0) rr[i] += 250;
    }
    return rr;
}

ritmova::standard::Stretch WholeOf(const std::vector<double>& rr) {
    return {1, rr.size(), 0, 0, 0};
}

void WholeAnalysis100k(benchmark::State& bench) {
    const std::vector<double> rr = Beats(100'000, 1);
    for (auto _ : bench) {
        const auto results = ritmova::standard::AnalyseStretch(rr, WholeOf(rr), {});
        benchmark::DoNotOptimize(results.measures.data());
    }
}
BENCHMARK(WholeAnalysis100k)->Unit(benchmark::kMillisecond);

// 1,000 recordings of 380 beats (304 s), one after another on one thread.
void FiveMinuteRecordings1000(benchmark::State& bench) {
    std::vector<std::vector<double>> recordings;
    for (unsigned k = 0; k < 1000; ++k) recordings.push_back(Beats(380, k));
    for (auto _ : bench) {
        for (const std::vector<double>& rr : recordings) {
            const auto results = ritmova::standard::AnalyseStretch(rr, WholeOf(rr), {});
            benchmark::DoNotOptimize(results.measures.data());
        }
    }
}
BENCHMARK(FiveMinuteRecordings1000)->Unit(benchmark::kMillisecond);

void Correction100k(benchmark::State& bench) {
    using namespace ritmova::standard;
    const std::vector<double> rr = Beats(100'000, 2);
    const CorrectionSettings settings{
        bench.range(0) == 0 ? CorrectionMethod::Threshold : CorrectionMethod::Automatic,
        ThresholdLevel::Medium, 0.25};
    for (auto _ : bench) benchmark::DoNotOptimize(CorrectIntervals(rr, settings).rrMs.data());
}
BENCHMARK(Correction100k)->ArgName("automatic")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
