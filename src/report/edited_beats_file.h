#pragma once

#include <string>

#include "ecg/beat_series.h"

namespace ritmova {

// The annotator name the review saves its edited beats under: RECORD.edited.
inline constexpr const char* EditedAnnotator = "edited";

// Saves the beats of `edited` beside the record as annotator `annotator`'s WFDB annotation
// file (ecg::EditedAnnotationBytes), atomically; returns the file's path. Refused: the
// annotator the beats were read from (`reference`) and "atr", so that the reference
// annotations are never replaced. Throws CommandFailure or SaveFailure with the reason.
std::string SaveEditedAnnotations(const std::string& record, const std::string& annotator,
                                  const ecg::BeatSeries& edited, const std::string& reference);

// Saves the R-R intervals of `edited` as `ritmova-cli rr` writes them, atomically, never over
// the record's file.
void SaveEditedIntervals(const std::string& path, const ecg::BeatSeries& edited,
                         bool normalToNormal, const std::string& record);

}  // namespace ritmova
