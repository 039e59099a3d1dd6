#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ecg/beat_series.h"

namespace ritmova::ecg {

// Where a beat of the review comes from.
enum class BeatSource { Reference, Detected, Added, Moved };
inline constexpr std::size_t BeatSourceCount = 4;
inline constexpr const char* BeatSourceNames[BeatSourceCount] = {"reference", "detected", "added",
                                                                 "moved"};

struct EditedBeat {
    std::int64_t tick = 0;
    int code = 1;
    BeatSource source = BeatSource::Reference;
    bool operator==(const EditedBeat&) const = default;
};

// The beats of a record under review: added, removed and moved one at a time, each change
// undoable and redoable. The beats stay in order of time, at most one per tick; the series'
// episodes (flutter, unreadable noise) stay as they were. A change that cannot be made throws
// CommandFailure and changes nothing.
class BeatEdits {
  public:
    // The beats of `series`, each marked as coming from `source`.
    BeatEdits(const BeatSeries& series, BeatSource source);

    const std::vector<EditedBeat>& beats() const { return beats_; }
    double ticksPerSecond() const { return series_.ticksPerSecond; }
    double samplesPerSecond() const { return series_.samplesPerSecond; }

    // Adds a beat of `code` at `tick`; returns its index.
    std::size_t add(std::int64_t tick, int code = 1);
    void remove(std::size_t index);
    // Moves beat `index` to `tick`, keeping its code; returns its new index.
    std::size_t move(std::size_t index, std::int64_t tick);

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < changes_.size(); }
    // Take back the last change, or make again the last one taken back; false when there is none.
    bool undo();
    bool redo();
    // Changes made and not taken back.
    std::size_t changeCount() const { return done_; }

    // The index of the beat nearest `tick` within `tolerance` ticks, if any.
    std::optional<std::size_t> beatNear(std::int64_t tick, std::int64_t tolerance) const;
    // The beats from the first at or after `first` up to the last before `end`, as indices.
    std::pair<std::size_t, std::size_t> beatsBetween(std::int64_t first, std::int64_t end) const;

    // The series the edited beats make, for RrIntervals, the analysis and saving.
    BeatSeries series() const;

  private:
    // A change removes one beat, adds one, or both (a move).
    struct Change {
        std::optional<EditedBeat> removed, added;
    };
    std::size_t apply(const Change& change);
    std::size_t record(const Change& change);
    void requireIndex(std::size_t index) const;
    void requireFree(std::int64_t tick) const;

    BeatSeries series_;  // the series as loaded, its beats left out
    std::vector<EditedBeat> beats_;
    std::vector<Change> changes_;
    std::size_t done_ = 0;
};

// The annotation file of the edited beats: each beat with its code, and each episode as an
// unreadable-noise stretch (~ of subtype -1, then ~ of subtype 0), so that a reader finds the
// same beats and the same normal-to-normal intervals; the series' time resolution is kept.
std::string EditedAnnotationBytes(const BeatSeries& series);

// The R-R intervals as `ritmova-cli rr` writes them: seconds with six decimals, one a line.
std::string RrText(std::span<const RrInterval> intervals);

// The sample within `halfWidth` of `around` where the signal departs most from its median
// there (the first such): the R peak near a click, of either polarity. `values` start at
// sample `first`. Returns `around` when the stretch holds no values.
std::int64_t LocalExtremum(std::span<const float> values, std::int64_t first, std::int64_t around,
                           std::int64_t halfWidth);

}  // namespace ritmova::ecg
