#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/recording.h"
#include "analysis/window_analysis.h"
#include "common/measure_table.h"

namespace ritmova {

// The trend of a recording: the measures of every complete 256-beat window, from beat 1 on in
// steps of a few beats, for the trend view.

// The measures the trend shows, by their keys in WindowMeasures(), one strip each.
inline constexpr std::array<std::string_view, 5> TrendKeys{"mean_rr", "sdnn", "rmssd", "lf_hf",
                                                           "hf_percent"};
using TrendMeasure = MeasureRow<WindowAnalysis>;
// The rows of TrendKeys, in their order.
std::span<const TrendMeasure* const, TrendKeys.size()> TrendMeasures();

// The values of one window's TrendMeasures(), as the pass computed them (the console tool's
// per-window values).
using TrendValues = std::array<double, TrendKeys.size()>;

struct TrendPoint {
    std::size_t firstBeat = 1;            // beats firstBeat .. firstBeat + 255
    double startMinutes = 0;              // the sum of the earlier intervals, in minutes
    std::size_t artifacts = 0;            // flagged intervals in the window
    std::optional<TrendValues> measures;  // absent when the pass failed: a gap
    std::string failure;                  // the pass's reason, for a gap
};

// A flagged interval, where the trend view marks it.
struct ArtifactMark {
    std::size_t beat = 1;
    double minutes = 0;  // the beat's start time
};

struct TrendSeries {
    std::size_t beats = 0;
    double totalMinutes = 0;  // the sum of every interval
    std::size_t step = 1;
    std::vector<TrendPoint> points;
    std::vector<ArtifactMark> artifacts;
};

// The number of complete windows from beat 1 moving by `step` (at least 1) beats.
std::size_t TrendWindowCount(std::size_t beats, std::size_t step);

// The steps the trend view offers, smallest first.
inline constexpr std::size_t TrendSteps[] = {1, 16, 64, 256};

// At about 10 us a window, this many windows take about 100 ms.
inline constexpr std::size_t TrendWindowBudget = 8000;

// The smallest of TrendSteps whose window count is within TrendWindowBudget (the largest when
// none is).
std::size_t DefaultTrendStep(std::size_t beats);

// Called now and then with the windows done and their total; returning false cancels.
using TrendProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Runs the measures-only pass on every window, as `ritmova-cli windows --step` does, so the
// values are the same to the bit. A window whose pass fails is a gap; the others go on.
// `flags` holds one rule per interval (FlagArtifacts). Returns nullopt when cancelled.
std::optional<TrendSeries> ComputeTrend(std::span<const float> intervals,
                                        std::span<const ArtifactRule> flags, std::size_t step,
                                        const TrendProgress& progress = {});

}  // namespace ritmova
