#include "ecg/detector_stages.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numeric>
#include <utility>

namespace ritmova::ecg::ecg_detail {

namespace {

// Mains frequencies: each smoothing mean spans one whole cycle of one of them, which nulls it
// and its harmonics; together they low-pass the signal at about 25 Hz.
constexpr double kMainsLowHz = 50.0;
constexpr double kMainsHighHz = 60.0;
// The baseline mean: longer than a QRS complex (so the complex passes), shorter than P and T
// waves, whose slow energy it removes (a high-pass near 5 Hz).
constexpr double kBaselineSeconds = 0.10;
// The energy window: about one QRS complex, wide ones included, so that a complex gives one
// smooth hump of energy rather than one per wave.
constexpr double kEnergySeconds = 0.12;
// Two feature maxima closer than this belong to one complex (about 300 beats per minute).
constexpr double kCandidateSpacingSeconds = 0.20;
std::size_t SamplesIn(double seconds, double samplesPerSecond) {
    return std::max<std::size_t>(1,
                                 static_cast<std::size_t>(std::lround(seconds * samplesPerSecond)));
}

std::size_t OddSamplesIn(double seconds, double samplesPerSecond) {
    return SamplesIn(seconds, samplesPerSecond) | 1U;
}

std::int64_t Samples(double seconds, double samplesPerSecond) {
    return static_cast<std::int64_t>(SamplesIn(seconds, samplesPerSecond));
}

}  // namespace

MovingMean::MovingMean(std::size_t length) : ring_(length, 0.0) {}

double MovingMean::push(double value) {
    if (!primed_) {
        std::fill(ring_.begin(), ring_.end(), value);
        sum_ = value * static_cast<double>(ring_.size());
        primed_ = true;
    }
    sum_ += value - ring_[next_];
    ring_[next_] = value;
    if (++next_ == ring_.size()) {
        // Summed afresh once a round, so that a huge artefact leaves no rounding behind.
        next_ = 0;
        sum_ = std::accumulate(ring_.begin(), ring_.end(), 0.0);
    }
    return sum_ / static_cast<double>(ring_.size());
}

SignalHistory::SignalHistory(std::size_t minimumLength)
    : ring_(std::bit_ceil(minimumLength), 0.0), mask_(ring_.size() - 1) {}

void SignalHistory::push(std::int64_t time, double value) {
    ring_[static_cast<std::size_t>(time) & mask_] = value;
    latest_ = time;
}

std::int64_t SignalHistory::oldest() const {
    return std::max<std::int64_t>(0, latest_ - static_cast<std::int64_t>(mask_));
}

BandPass::BandPass(double samplesPerSecond)
    : mains50_(SamplesIn(1.0 / kMainsLowHz, samplesPerSecond)),
      mains60_(SamplesIn(1.0 / kMainsHighHz, samplesPerSecond)),
      baseline_(OddSamplesIn(kBaselineSeconds, samplesPerSecond)),
      centre_(static_cast<std::size_t>(baseline_.lag()) + 1, 0.0),
      lag_(mains50_.lag() + mains60_.lag() + baseline_.lag()) {}

double BandPass::push(double sample) {
    const double smooth = mains60_.push(mains50_.push(sample));
    if (!primed_) std::fill(centre_.begin(), centre_.end(), smooth);
    primed_ = true;
    const double centred = centre_[centreNext_];
    centre_[centreNext_] = smooth;
    if (++centreNext_ == centre_.size()) centreNext_ = 0;
    return centred - baseline_.push(smooth);
}

EnergyFeature::EnergyFeature(double samplesPerSecond)
    : window_(OddSamplesIn(kEnergySeconds, samplesPerSecond)) {}

double EnergyFeature::push(double band) {
    if (pushed_++ == 0) previous_ = beforePrevious_ = band;
    const double slope = band - beforePrevious_;
    beforePrevious_ = previous_;
    previous_ = band;
    return window_.push(slope * slope);
}

CandidatePicker::CandidatePicker(double samplesPerSecond)
    : spacing_(Samples(kCandidateSpacingSeconds, samplesPerSecond)) {}

std::optional<FeaturePeak> CandidatePicker::push(std::int64_t time, double feature) {
    if (feature > previous_) {
        rising_ = true;
    } else if (feature < previous_ && rising_) {
        rising_ = false;
        if (!best_ || previous_ > best_->height) best_ = FeaturePeak{time - 1, previous_};
    }
    previous_ = feature;
    if (best_ && time - best_->time >= spacing_) return std::exchange(best_, std::nullopt);
    return std::nullopt;
}

std::optional<FeaturePeak> CandidatePicker::finish() {
    return std::exchange(best_, std::nullopt);
}

}  // namespace ritmova::ecg::ecg_detail
