#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/progress.h"
#include "ecg/beat_series.h"

namespace ritmova::ecg {

// Where the beats of an open record come from.
enum class BeatOrigin { Annotations, Detection };
inline constexpr std::size_t BeatOriginCount = 2;
inline constexpr std::array<std::string_view, BeatOriginCount> BeatOriginNames{"annotations",
                                                                               "detection"};

// What the window holds about the open ECG record, for every view that shows or edits its
// beats: where the record is, its ECG channel, where the beats came from, and the beats.
struct OpenedRecord {
    std::string path;  // as opened: "dir/100.hea", "dir/100" or "dir/r01.edf"
    // The ECG channel: the one detected in, or beside annotations the one an ECG view shows
    // (the first ECG channel). Its number from 1 also names it to OpenSignal. 0 and empty
    // when the record has no signal to show (an annotation file with a header only).
    std::size_t channelNumber = 0;
    std::string channelLabel;  // "MLII", as the header gives it
    BeatOrigin origin = BeatOrigin::Detection;
    std::string annotator;  // with annotations, the annotation file's suffix: "atr"
    // The record's name, the beat source's text ("atr", "detected, MLII"), the rates, and
    // each beat's tick and code (ticks are samples unless the annotation file gives a time
    // resolution of its own: SampleOf converts), in order of time.
    BeatSeries series;

    // "100 (detected, MLII)": what the texts call the record and its beats.
    std::string title() const { return series.title(); }
};

// The sample number of a beat at the record's sampling frequency.
std::int64_t SampleOf(const BeatSeries& series, const Beat& beat);

// The annotators looked for beside a record, in order: the reference annotations of
// PhysioNet's databases, then a QRS annotation file (EDF files of fetal ECG keep theirs so).
inline constexpr std::array<std::string_view, 2> ReferenceAnnotators{"atr", "qrs"};

// The first of ReferenceAnnotators whose file is beside the record; empty when none is.
std::string ReferenceAnnotator(const std::string& path);

// Opens the ECG record at `path` (a WFDB header or record name, or an EDF file): the beats of
// its reference annotator when it has one and `origin` is Annotations (for an EDF+ file
// without one, its own annotations when they hold beats: EdfAnnotator), else the R peaks
// detected in its first ECG channel, or in `channel` (a number from 1 or a label) when one is
// given. Reports to `progress` and stops when it is cancelled (throwing Cancelled); throws
// CommandFailure with the reason.
OpenedRecord OpenRecord(const std::string& path, BeatOrigin origin, Progress* progress = nullptr,
                        const std::string& channel = {});

}  // namespace ritmova::ecg
