// The beat review: reading the 10 s a strip shows from the middle of a record, and one edit of
// a day's beats with what follows it (the edited series, its R-R intervals and the artifact
// flags the tachogram draws), which should take well under a frame (16 ms).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ecg/beat_edits.h"
#include "ecg/signal_reader.h"
#include "measures/artifacts.h"

namespace {

void BM_ReadStretch(benchmark::State& state) {
    ritmova::ecg::SignalReader reader =
        ritmova::ecg::OpenSignal(RITMOVA_ECG_DATA_DIR "/mitdb/100", "1");
    std::int64_t first = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reader.readRange(324000 + first, 3600));
        first = (first + 7) % 360;
    }
}
BENCHMARK(BM_ReadStretch);

// A day at 75 beats a minute, in ticks of a 250 Hz record.
ritmova::ecg::BeatSeries DayOfBeats() {
    ritmova::ecg::BeatSeries series;
    series.ticksPerSecond = series.samplesPerSecond = 250;
    for (std::int64_t tick = 100; tick < 24 * 3600 * 250; tick += 200)
        series.beats.push_back({tick, 1});
    return series;
}

void BM_EditDayOfBeats(benchmark::State& state) {
    ritmova::ecg::BeatEdits edits(DayOfBeats(), ritmova::ecg::BeatSource::Detected);
    for (auto _ : state) {
        edits.add(10'800'050);  // at noon, between two beats
        const ritmova::ecg::BeatSeries series = edits.series();
        std::vector<float> seconds;
        for (const auto& interval : ritmova::ecg::RrIntervals(series, false))
            seconds.push_back(static_cast<float>(interval.seconds));
        benchmark::DoNotOptimize(ritmova::FlagArtifacts(seconds));
        edits.undo();
    }
}
BENCHMARK(BM_EditDayOfBeats)->Unit(benchmark::kMillisecond);

}  // namespace
