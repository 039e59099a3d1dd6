#pragma once

#include <cstdint>
#include <span>

namespace ritmova::ecg {

// A detector's beats compared one by one with reference beats.
struct BeatScore {
    std::int64_t truePositives = 0;   // reference beats matched by a detected one
    std::int64_t falseNegatives = 0;  // reference beats missed
    std::int64_t falsePositives = 0;  // detected beats matching no reference beat

    // Shares of the reference beats found, and of the detected beats that are real; 1 when
    // there is nothing to share.
    double sensitivity() const;
    double positivePredictivity() const;

    BeatScore& operator+=(const BeatScore& other);
    friend bool operator==(const BeatScore&, const BeatScore&) = default;
};

// Matches each reference beat to at most one detected beat within `window` samples, nearest
// first, counting only beats at or after sample `from` (the first minutes are the detector's
// to learn in). Both lists are sample numbers in increasing order.
BeatScore ScoreBeats(std::span<const std::int64_t> reference,
                     std::span<const std::int64_t> detected, std::int64_t window,
                     std::int64_t from = 0);

}  // namespace ritmova::ecg
