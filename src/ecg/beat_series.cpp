#include "ecg/beat_series.h"

#include <algorithm>

namespace ritmova::ecg {

namespace {

constexpr int NormalCode = 1, NoiseCode = 14, FlutterStart = 32, FlutterEnd = 33;
constexpr int Unreadable = -1;  // a noise subtype: every signal unreadable

// The episodes as disjoint stretches in order of time.
std::vector<Episode> Merged(std::vector<Episode> episodes) {
    std::sort(episodes.begin(), episodes.end(),
              [](const Episode& a, const Episode& b) { return a.start < b.start; });
    std::vector<Episode> merged;
    for (const Episode& e : episodes) {
        if (!merged.empty() && e.start <= merged.back().end) {
            merged.back().end = std::max(merged.back().end, e.end);
        } else {
            merged.push_back(e);
        }
    }
    return merged;
}

}  // namespace

void TakeBeats(const AnnotationFile& file, BeatSeries& series) {
    constexpr std::size_t Closed = SIZE_MAX;
    std::size_t flutter = Closed, noise = Closed;  // the open episodes' places
    auto open = [&](std::size_t& episode, std::int64_t at) {
        if (episode != Closed) return;
        episode = series.episodes.size();
        series.episodes.push_back({at, INT64_MAX});
    };
    auto close = [&](std::size_t& episode, std::int64_t at) {
        if (episode != Closed) series.episodes[episode].end = at;
        episode = Closed;
    };
    for (const Annotation& a : file.annotations) {
        if (IsBeatCode(a.code)) series.beats.push_back({a.sample, a.code});
        if (a.code == FlutterStart) open(flutter, a.sample);
        if (a.code == FlutterEnd) close(flutter, a.sample);
        if (a.code == NoiseCode && a.subtype == Unreadable) open(noise, a.sample);
        if (a.code == NoiseCode && a.subtype != Unreadable) close(noise, a.sample);
    }
    series.timeResolutionHz = file.timeResolutionHz;
}

std::vector<RrInterval> RrIntervals(const BeatSeries& series, bool normalToNormal) {
    std::vector<RrInterval> intervals;
    const std::vector<Episode> episodes = Merged(series.episodes);
    std::size_t next = 0;  // the first episode that ends after the interval's start
    for (std::size_t i = 1; i < series.beats.size(); ++i) {
        const Beat& from = series.beats[i - 1];
        const Beat& to = series.beats[i];
        while (next < episodes.size() && episodes[next].end <= from.tick) ++next;
        bool crossesEpisode = next < episodes.size() && episodes[next].start < to.tick;
        if (normalToNormal && (from.code != NormalCode || to.code != NormalCode || crossesEpisode))
            continue;
        double seconds = double(to.tick - from.tick) / series.ticksPerSecond;
        intervals.push_back({seconds, from.code, to.code});
    }
    return intervals;
}

}  // namespace ritmova::ecg
