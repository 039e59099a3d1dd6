#include "ecg/beat_edits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/command_failure.h"

namespace ritmova::ecg {

namespace {

constexpr int NoiseCode = 14, Unreadable = -1, Readable = 0;

bool Before(const EditedBeat& beat, std::int64_t tick) {
    return beat.tick < tick;
}

}  // namespace

BeatEdits::BeatEdits(const BeatSeries& series, BeatSource source) : series_(series) {
    series_.beats.clear();
    for (const Beat& beat : series.beats) {
        // A second annotation at a tick already holding a beat is not a beat of its own.
        if (!beats_.empty() && beats_.back().tick >= beat.tick) continue;
        beats_.push_back({beat.tick, beat.code, source});
    }
}

void BeatEdits::requireIndex(std::size_t index) const {
    if (index >= beats_.size())
        throw CommandFailure("there is no beat " + std::to_string(index + 1) + " of " +
                             std::to_string(beats_.size()));
}

void BeatEdits::requireFree(std::int64_t tick) const {
    if (tick < 0) throw CommandFailure("a beat cannot lie before the record's start");
    auto at = std::lower_bound(beats_.begin(), beats_.end(), tick, Before);
    if (at != beats_.end() && at->tick == tick)
        throw CommandFailure("there is a beat at tick " + std::to_string(tick) + " already");
}

// Takes out the change's removed beat and puts in its added one; returns the added one's
// index (or where the removed one was).
std::size_t BeatEdits::apply(const Change& change) {
    std::size_t index = 0;
    if (change.removed) {
        auto at = std::lower_bound(beats_.begin(), beats_.end(), change.removed->tick, Before);
        index = static_cast<std::size_t>(at - beats_.begin());
        beats_.erase(at);
    }
    if (change.added) {
        auto at = std::lower_bound(beats_.begin(), beats_.end(), change.added->tick, Before);
        index = static_cast<std::size_t>(at - beats_.begin());
        beats_.insert(at, *change.added);
    }
    return index;
}

// Makes a new change, forgetting those taken back.
std::size_t BeatEdits::record(const Change& change) {
    changes_.resize(done_);
    changes_.push_back(change);
    ++done_;
    return apply(change);
}

std::size_t BeatEdits::add(std::int64_t tick, int code) {
    if (!IsBeatCode(code)) throw CommandFailure("code " + std::to_string(code) + " is no beat");
    requireFree(tick);
    return record({std::nullopt, EditedBeat{tick, code, BeatSource::Added}});
}

void BeatEdits::remove(std::size_t index) {
    requireIndex(index);
    record({beats_[index], std::nullopt});
}

std::size_t BeatEdits::move(std::size_t index, std::int64_t tick) {
    requireIndex(index);
    if (beats_[index].tick == tick) return index;
    requireFree(tick);
    EditedBeat moved = beats_[index];
    moved.tick = tick;
    if (moved.source != BeatSource::Added) moved.source = BeatSource::Moved;
    return record({beats_[index], moved});
}

bool BeatEdits::undo() {
    if (!canUndo()) return false;
    const Change& change = changes_[--done_];
    apply({change.added, change.removed});
    return true;
}

bool BeatEdits::redo() {
    if (!canRedo()) return false;
    apply(changes_[done_++]);
    return true;
}

std::optional<std::size_t> BeatEdits::beatNear(std::int64_t tick, std::int64_t tolerance) const {
    auto at = std::lower_bound(beats_.begin(), beats_.end(), tick, Before);
    std::optional<std::size_t> nearest;
    std::int64_t best = tolerance;
    for (auto it : {at - (at != beats_.begin() ? 1 : 0), at}) {
        if (it == beats_.end() || std::llabs(it->tick - tick) > best) continue;
        best = std::llabs(it->tick - tick);
        nearest = static_cast<std::size_t>(it - beats_.begin());
    }
    return nearest;
}

std::pair<std::size_t, std::size_t> BeatEdits::beatsBetween(std::int64_t first,
                                                            std::int64_t end) const {
    auto from = std::lower_bound(beats_.begin(), beats_.end(), first, Before);
    auto to = std::lower_bound(from, beats_.end(), std::max(first, end), Before);
    return {static_cast<std::size_t>(from - beats_.begin()),
            static_cast<std::size_t>(to - beats_.begin())};
}

BeatSeries BeatEdits::series() const {
    BeatSeries edited = series_;
    edited.beats.reserve(beats_.size());
    for (const EditedBeat& beat : beats_) edited.beats.push_back({beat.tick, beat.code});
    return edited;
}

std::string EditedAnnotationBytes(const BeatSeries& series) {
    AnnotationFile file{{}, series.timeResolutionHz};
    for (const Beat& beat : series.beats)
        file.annotations.push_back({beat.tick, beat.code, 0, 0, 0, {}});
    for (const Episode& episode : series.episodes) {
        file.annotations.push_back({episode.start, NoiseCode, Unreadable, 0, 0, {}});
        if (episode.end != INT64_MAX)
            file.annotations.push_back({episode.end, NoiseCode, Readable, 0, 0, {}});
    }
    std::stable_sort(file.annotations.begin(), file.annotations.end(),
                     [](const Annotation& a, const Annotation& b) { return a.sample < b.sample; });
    return AnnotationBytes(file);
}

std::string RrText(std::span<const RrInterval> intervals) {
    std::string out;
    char line[40];
    for (const RrInterval& interval : intervals) {
        std::snprintf(line, sizeof line, "%.6f\n", interval.seconds);
        out += line;
    }
    return out;
}

std::int64_t LocalExtremum(std::span<const float> values, std::int64_t first, std::int64_t around,
                           std::int64_t halfWidth) {
    const auto size = static_cast<std::int64_t>(values.size());
    const std::int64_t from = std::clamp<std::int64_t>(around - halfWidth - first, 0, size);
    const std::int64_t to = std::clamp<std::int64_t>(around + halfWidth + 1 - first, from, size);
    if (from == to) return around;
    std::vector<float> stretch(values.begin() + from, values.begin() + to);
    auto middle = stretch.begin() + static_cast<std::ptrdiff_t>(stretch.size() / 2);
    std::nth_element(stretch.begin(), middle, stretch.end());
    const float median = *middle;
    std::int64_t best = from;
    for (std::int64_t k = from; k < to; ++k) {
        const auto i = static_cast<std::size_t>(k), b = static_cast<std::size_t>(best);
        if (std::fabs(values[i] - median) > std::fabs(values[b] - median)) best = k;
    }
    return first + best;
}

}  // namespace ritmova::ecg
