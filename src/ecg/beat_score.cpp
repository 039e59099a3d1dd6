#include "ecg/beat_score.h"

#include <algorithm>
#include <cstdlib>

namespace ritmova::ecg {

namespace {

double Share(std::int64_t part, std::int64_t whole) {
    return whole == 0 ? 1.0 : static_cast<double>(part) / static_cast<double>(whole);
}

std::span<const std::int64_t> From(std::span<const std::int64_t> beats, std::int64_t from) {
    return beats.subspan(static_cast<std::size_t>(
        std::lower_bound(beats.begin(), beats.end(), from) - beats.begin()));
}

}  // namespace

double BeatScore::sensitivity() const {
    return Share(truePositives, truePositives + falseNegatives);
}

double BeatScore::positivePredictivity() const {
    return Share(truePositives, truePositives + falsePositives);
}

BeatScore& BeatScore::operator+=(const BeatScore& other) {
    truePositives += other.truePositives;
    falseNegatives += other.falseNegatives;
    falsePositives += other.falsePositives;
    return *this;
}

// One pass over both lists in time order. A pair within the window is matched unless the
// next detected beat is nearer to this reference beat (then this detection is false), or the
// next reference beat is nearer to this detection (then this reference beat is missed).
BeatScore ScoreBeats(std::span<const std::int64_t> reference,
                     std::span<const std::int64_t> detected, std::int64_t window,
                     std::int64_t from) {
    const auto ref = From(reference, from);
    const auto det = From(detected, from);
    BeatScore score;
    std::size_t r = 0;
    std::size_t d = 0;
    while (r < ref.size() && d < det.size()) {
        const std::int64_t gap = std::abs(det[d] - ref[r]);
        if (det[d] < ref[r] - window) {
            ++score.falsePositives, ++d;
        } else if (det[d] > ref[r] + window) {
            ++score.falseNegatives, ++r;
        } else if (d + 1 < det.size() && std::abs(det[d + 1] - ref[r]) < gap) {
            ++score.falsePositives, ++d;
        } else if (r + 1 < ref.size() && std::abs(det[d] - ref[r + 1]) < gap) {
            ++score.falseNegatives, ++r;
        } else {
            ++score.truePositives, ++r, ++d;
        }
    }
    score.falseNegatives += static_cast<std::int64_t>(ref.size() - r);
    score.falsePositives += static_cast<std::int64_t>(det.size() - d);
    return score;
}

}  // namespace ritmova::ecg
