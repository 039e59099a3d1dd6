// The cost of one recording's analysis held in memory, and of the transform alone.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "analysis/interval_file.h"
#include "analysis/open_command.h"
#include "analysis/recording.h"
#include "platform/headless_window.h"
#include "spectral/fourier_transform.h"

namespace {

std::string ExampleText() {
    std::ifstream in(RITMOVA_EXAMPLE);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Parse, every measure, the summary and report texts, and the plots drawn to nowhere.
void WholePass(benchmark::State& bench) {
    const std::string text = ExampleText();
    ritmova::HeadlessWindow window;
    ritmova::AnalysisState state;
    for (auto _ : bench) {
        ritmova::PassValues pass;
        pass.InputFileName = RITMOVA_EXAMPLE;
        ritmova::RunAnalysisPass(state, window, ritmova::ParseIntervals(text), pass);
        benchmark::DoNotOptimize(state.ReportText.data());
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
    ritmova::HeadlessWindow window;
    ritmova::AnalysisState state;
    for (auto _ : bench) {
        ritmova::PassValues pass;
        pass.InputFileName = RITMOVA_EXAMPLE;
        ritmova::RunAnalysisPass(state, window, values, pass);
        benchmark::DoNotOptimize(state.ReportText.data());
    }
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

}  // namespace
