#pragma once

#include <string>

#include "ecg/beat_series.h"

namespace ritmova::ecg {

// Where the beats of an ECG record come from.
struct BeatOptions {
    std::string channel;     // a number from 1 or a label; empty: the first ECG channel
    std::string annotator;   // "atr", "qrs"...; empty: detected from the signal
    double frequencyHz = 0;  // samples per second of annotations with no header; 0: the header's
};

// The annotator that names an EDF+ file's own annotations (its "EDF Annotations" signal) rather
// than an annotation file beside it.
inline constexpr const char* EdfAnnotator = "edf";

// Whether `path` names an ECG record rather than a text file: a .hea or .edf file, a record
// name with a header beside it ("dir/100" for dir/100.hea), or, with an annotator, a name whose
// annotation file is there (ltafdb's "dir/00" for dir/00.atr, which have no header).
bool IsEcgRecord(const std::string& path, const BeatOptions& options);

// The beats of the record: its annotator's beat annotations, or the R peaks detected in its
// chosen channel. Throws CommandFailure with the reason.
BeatSeries LoadBeats(const std::string& path, const BeatOptions& options);

// The R-R intervals of the record, in seconds, at single precision as the analysis takes them.
std::vector<float> IntervalSeconds(const BeatSeries& series, bool normalToNormal);

// The same intervals in milliseconds at double precision, for the standard analysis:
// (tick_{i+1} - tick_i) / ticks per second x 1000, each step in double.
std::vector<double> IntervalMilliseconds(const BeatSeries& series, bool normalToNormal);

}  // namespace ritmova::ecg
