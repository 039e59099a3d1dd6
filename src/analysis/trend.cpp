#include "analysis/trend.h"

#include <algorithm>
#include <stdexcept>

#include "analysis/window_measures.h"
#include "common/command_failure.h"

namespace ritmova {
namespace {

// Progress is told once per this many windows: often enough for a bar, rarely enough to cost
// nothing.
constexpr std::size_t WindowsPerProgress = 64;

// One window's pass, as the console tool runs it: the measures only, in one record reused
// window after window.
class WindowPass {
  public:
    void run(std::span<const float> intervals, TrendPoint& point) {
        try {
            AnalysePass(WindowValues(intervals, point.firstBeat), analysis_.pass);
            TrendValues values;
            for (std::size_t i = 0; i < values.size(); ++i) {
                values[i] = *TrendMeasures()[i]->value(analysis_);
            }
            point.measures = values;
        } catch (const CommandFailure& failure) {
            point.failure = failure.what();
        }
    }

  private:
    WindowAnalysis analysis_;
};

// The marks of the flagged intervals, and the recording's length in minutes. Start times add
// the same intervals in the same order as the windows' do, so the bits agree.
double markArtifacts(std::span<const float> intervals, std::span<const ArtifactRule> flags,
                     std::vector<ArtifactMark>& marks) {
    double seconds = 0;
    for (std::size_t i = 0; i < intervals.size(); ++i) {
        if (flags[i] != ArtifactRule::None) marks.push_back({i + 1, seconds / 60});
        seconds += intervals[i];
    }
    return seconds / 60;
}

}  // namespace

std::span<const TrendMeasure* const, TrendKeys.size()> TrendMeasures() {
    static const std::array<const TrendMeasure*, TrendKeys.size()> rows = [] {
        std::array<const TrendMeasure*, TrendKeys.size()> found{};
        for (std::size_t i = 0; i < found.size(); ++i) {
            found[i] = FindMeasure(WindowMeasures(), TrendKeys[i]);
            if (!found[i]) throw std::logic_error("no measure " + std::string(TrendKeys[i]));
        }
        return found;
    }();
    return rows;
}

std::size_t TrendWindowCount(std::size_t beats, std::size_t step) {
    if (step == 0) throw CommandFailure("the step must be at least 1 beat");
    return beats < BeatCount ? 0 : (beats - BeatCount) / step + 1;
}

std::size_t DefaultTrendStep(std::size_t beats) {
    for (std::size_t step : TrendSteps) {
        if (TrendWindowCount(beats, step) <= TrendWindowBudget) return step;
    }
    return std::end(TrendSteps)[-1];
}

std::optional<TrendSeries> ComputeTrend(std::span<const float> intervals,
                                        std::span<const ArtifactRule> flags, std::size_t step,
                                        const TrendProgress& progress) {
    if (flags.size() != intervals.size()) {
        throw CommandFailure("the artifact flags do not match the intervals");
    }
    TrendSeries series;
    series.beats = intervals.size();
    series.step = step;
    const std::size_t count = TrendWindowCount(intervals.size(), step);
    series.points.resize(count);
    series.totalMinutes = markArtifacts(intervals, flags, series.artifacts);
    WindowPass pass;
    double seconds = 0;
    std::size_t beat = 1;  // the beat whose start time `seconds` is
    for (std::size_t i = 0; i < count; ++i) {
        if (i % WindowsPerProgress == 0 && progress && !progress(i, count)) return std::nullopt;
        TrendPoint& point = series.points[i];
        point.firstBeat = 1 + i * step;
        for (; beat < point.firstBeat; ++beat) seconds += intervals[beat - 1];
        point.startMinutes = seconds / 60;
        point.artifacts = FlaggedCount(flags.subspan(point.firstBeat - 1, BeatCount));
        pass.run(intervals, point);
    }
    if (progress && !progress(count, count)) return std::nullopt;
    return series;
}

}  // namespace ritmova
