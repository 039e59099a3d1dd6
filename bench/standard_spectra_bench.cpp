// The spectra of the standard analysis on a 24-hour recording: 100,000 beats made of real
// recordings one after the other, repeated.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "standard/spectra.h"
#include "standard/spectral_bands.h"

namespace {

struct Recording {
    std::vector<double> rrMs, timesS;
};

const Recording& Day() {
    static const Recording day = [] {
        Recording r;
        const char* names[] = {"nsr2db-nsr012.int", "rrhs-003.int", "nsr2db-nsr024.int",
                               "chf2db-chf201.int", "rrhs-009.int", "bartelshrv-rest.int"};
        double time = 0.0;
        for (std::size_t i = 0; r.rrMs.size() < 100000; ++i) {
            std::ifstream file(std::string(RITMOVA_REAL_DATA_DIR) + "/" + names[i % 6]);
            for (double seconds; file >> seconds && r.rrMs.size() < 100000;) {
                r.rrMs.push_back(seconds * 1000.0);
                r.timesS.push_back(time += seconds);
            }
        }
        return r;
    }();
    return day;
}

template <ritmova::standard::Spectrum (*Compute)(std::span<const double>, std::span<const double>)>
void Spectrum100k(benchmark::State& bench) {
    const Recording& day = Day();
    for (auto _ : bench) {
        const auto spectrum = Compute(day.rrMs, day.timesS);
        benchmark::DoNotOptimize(ritmova::standard::MeasureBands(spectrum));
    }
    bench.counters["points"] = double(Compute(day.rrMs, day.timesS).frequencyHz.size());
}
BENCHMARK(Spectrum100k<ritmova::standard::LombScargleSpectrum>)
    ->Name("LombScargle100k")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Spectrum100k<ritmova::standard::WelchSpectrum>)
    ->Name("Welch100k")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Spectrum100k<ritmova::standard::BurgSpectrum>)
    ->Name("Burg100k")
    ->Unit(benchmark::kMillisecond);

}  // namespace
