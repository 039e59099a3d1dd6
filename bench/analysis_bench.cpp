// The cost of one recording's analysis held in memory, and of the transform alone.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/interval_file.h"
#include "analysis/recording.h"
#include "analysis/trend.h"
#include "analysis/window_analysis.h"
#include "measures/fourier_transform.h"
#include "report/results_text.h"

namespace {

std::string ExampleText() {
    std::ifstream in(RITMOVA_EXAMPLE);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The pass's measures and the report text that the window and `report` show of them.
std::string PassAndReport(ritmova::PassResults& results, const ritmova::IntervalValues& values) {
    ritmova::AnalysePass(values, results);
    return ritmova::BuildReportText(ritmova::FormatResults(results), RITMOVA_EXAMPLE);
}

// Parse, every measure, and the report text.
void WholePass(benchmark::State& bench) {
    const std::string text = ExampleText();
    ritmova::PassResults results;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(PassAndReport(results, ritmova::ParseIntervals(text)).data());
    }
}
BENCHMARK(WholePass);

// The two halves of the whole pass.
void ParseOnly(benchmark::State& bench) {
    const std::string text = ExampleText();
    for (auto _ : bench) benchmark::DoNotOptimize(ritmova::ParseIntervals(text));
}
BENCHMARK(ParseOnly);

// A 24-hour recording: 100,000 intervals, one per line, in milliseconds.
void ParseRecording100k(benchmark::State& bench) {
    std::string text;
    for (int i = 0; i < 100'000; ++i) text += std::to_string(700 + (i * 7919) % 500) + ".5\n";
    for (auto _ : bench) {
        const auto recording = ritmova::ParseRecording(text, {ritmova::UnitsChoice::Milliseconds});
        benchmark::DoNotOptimize(recording.intervals.data());
    }
}
BENCHMARK(ParseRecording100k)->Unit(benchmark::kMillisecond);

void PassOnly(benchmark::State& bench) {
    const auto values = ritmova::ParseIntervals(ExampleText());
    ritmova::PassResults results;
    for (auto _ : bench) benchmark::DoNotOptimize(PassAndReport(results, values).data());
}
BENCHMARK(PassOnly);

void FourierTransform256(benchmark::State& bench) {
    std::array<double, 513> input{};
    for (std::size_t i = 1; i < input.size(); i += 2)
        input[i] = std::sin(0.1 * static_cast<double>(i));
    std::array<double, 513> data{};
    for (auto _ : bench) {
        data = input;
        ritmova::FourierTransform(256, data, 1);
        benchmark::DoNotOptimize(data.data());
    }
}
BENCHMARK(FourierTransform256);

// What the console tool computes for one window: the pass, the Markov analysis and the
// further measures.
void WindowMeasures(benchmark::State& bench) {
    const auto values = ritmova::ParseIntervals(ExampleText());
    ritmova::WindowAnalysis analysis;
    for (auto _ : bench) {
        ritmova::AnalyseWindow(values, 0, analysis);
        benchmark::DoNotOptimize(analysis.markov.h1);
    }
}
BENCHMARK(WindowMeasures);

// A 100,000-beat recording around 0.8 s: a slow wave, a breathing wave and a small
// irregular part, so that every window differs.
std::vector<float> SyntheticRecording(std::size_t beats) {
    std::vector<float> intervals(beats);
    for (std::size_t i = 0; i < beats; ++i) {
        const double t = static_cast<double>(i);
        intervals[i] = static_cast<float>(0.8 + 0.05 * std::sin(t / 9.7) +
                                          0.02 * std::sin(t / 0.7) + 0.01 * std::sin(t * t));
    }
    return intervals;
}

// The sliding analysis (step 1) over the first 2,000 windows; the time is per window.
void SlidingWindows(benchmark::State& bench) {
    constexpr std::size_t Windows = 2000;
    const std::vector<float> recording = SyntheticRecording(100'000);
    ritmova::WindowAnalysis analysis;
    for (auto _ : bench) {
        for (std::size_t first = 1; first <= Windows; ++first) {
            ritmova::AnalyseWindow(ritmova::WindowValues(recording, first), 0, analysis);
            benchmark::DoNotOptimize(analysis.markov.h1);
        }
    }
    bench.counters["per_window"] = benchmark::Counter(
        Windows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(SlidingWindows)->Unit(benchmark::kMillisecond);

// The trend view's computation at step 1 over the 100,000-beat recording, on the thread that
// runs it (target: within 1 s).
void TrendEveryBeat(benchmark::State& bench) {
    const std::vector<float> recording = SyntheticRecording(100'000);
    const std::vector<ritmova::ArtifactRule> flags = ritmova::FlagArtifacts(recording);
    for (auto _ : bench) benchmark::DoNotOptimize(ritmova::ComputeTrend(recording, flags, 1));
}
BENCHMARK(TrendEveryBeat)->Unit(benchmark::kMillisecond);

// The artifact rules over the whole 100,000-beat recording.
void ArtifactFlags(benchmark::State& bench) {
    const std::vector<float> recording = SyntheticRecording(100'000);
    for (auto _ : bench) benchmark::DoNotOptimize(ritmova::FlagArtifacts(recording).data());
}
BENCHMARK(ArtifactFlags)->Unit(benchmark::kMicrosecond);

}  // namespace
