#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ecg/annotation_file.h"

namespace ritmova::ecg {

// A beat: its time in ticks of the series and its annotation code (N for a detected beat).
struct Beat {
    std::int64_t tick = 0;
    int code = 1;
};

// A stretch, in ticks, from its opening annotation to its closing one, where the beats are
// not to be trusted: ventricular flutter ([ to ]) or noise that leaves every signal unreadable
// (~ of subtype -1 to the next ~). One that never closes runs to the end of the record.
struct Episode {
    std::int64_t start = 0;
    std::int64_t end = INT64_MAX;
};

struct BeatSeries {
    std::string record;  // "100"
    std::string source;  // "atr", "detected, MLII"
    double ticksPerSecond = 0;
    double samplesPerSecond = 0;  // the record's sampling frequency
    std::vector<Beat> beats;
    std::vector<Episode> episodes;
    double timeResolutionHz = 0;  // of the annotation file, kept for writing it again

    // "100 (atr)": what the texts call the series.
    std::string title() const { return record + " (" + source + ")"; }
};

// The beats (codes N L R a V F J A S E j / Q B ? e n f r) and the flutter and unreadable-noise
// episodes of an annotation file.
void TakeBeats(const AnnotationFile& file, BeatSeries& series);

// An R-R interval: seconds between two successive beats, with the codes of both.
struct RrInterval {
    double seconds = 0;
    int fromCode = 1, toCode = 1;
};

// The intervals between successive beats. Normal-to-normal keeps only those between two N
// beats that overlap no episode: an interval (a, b) is dropped when an episode starts before b
// and ends after a. Beats of every other code still end and start intervals, so that an
// interval never spans a dropped beat.
std::vector<RrInterval> RrIntervals(const BeatSeries& series, bool normalToNormal);

}  // namespace ritmova::ecg
