// The nonlinear measures of a 24-hour recording: 100,000 beats (targets: DFA within 20 ms,
// SampEn and ApEn together within 0.1 s).
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "standard/nonlinear.h"

namespace {

// Intervals in ms around 800: a day-long swing, a 10-beat and a breathing wave, and correlated
// noise; rounded to 1/128 s as the recorders of such files do, when `quantised`.
std::vector<double> DayOfBeats(bool quantised) {
    constexpr std::size_t Beats = 100'000;
    std::mt19937 random(20);
    std::normal_distribution<double> noise(0, 15);
    std::vector<double> rr(Beats);
    double wander = 0;
    for (std::size_t i = 0; i < Beats; ++i) {
        const double beat = static_cast<double>(i);
        wander = 0.9 * wander + noise(random);
        const double value = 800 + 120 * std::sin(2 * std::numbers::pi * beat / Beats) +
                             30 * std::sin(beat / 1.6) + 20 * std::sin(beat / 0.65) + wander;
        rr[i] = quantised ? std::round(value / 7.8125) * 7.8125 : value;
    }
    return rr;
}

double SampleSd(const std::vector<double>& rr) {
    double sum = 0, squares = 0;
    for (double value : rr) sum += value;
    const double mean = sum / static_cast<double>(rr.size());
    for (double value : rr) squares += (value - mean) * (value - mean);
    return std::sqrt(squares / static_cast<double>(rr.size() - 1));
}

void Entropies100k(benchmark::State& bench) {
    const std::vector<double> rr = DayOfBeats(bench.range(0) != 0);
    const double sdnn = SampleSd(rr);
    for (auto _ : bench) {
        const auto measures = ritmova::standard::MeasureEntropies(rr, sdnn);
        benchmark::DoNotOptimize(measures.matchesM1);
    }
}
BENCHMARK(Entropies100k)->ArgName("quantised")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void Dfa100k(benchmark::State& bench) {
    const std::vector<double> rr = DayOfBeats(bench.range(0) != 0);
    for (auto _ : bench) benchmark::DoNotOptimize(ritmova::standard::MeasureDfa(rr).alpha2);
}
BENCHMARK(Dfa100k)->ArgName("quantised")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void Poincare100k(benchmark::State& bench) {
    const std::vector<double> rr = DayOfBeats(true);
    for (auto _ : bench) benchmark::DoNotOptimize(ritmova::standard::MeasurePoincare(rr).sd1Ms);
}
BENCHMARK(Poincare100k)->Unit(benchmark::kMillisecond);

}  // namespace
