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
// A moving mean's running sum is made afresh about this often (in samples): rarely enough to
// cost little, often enough that rounding never builds up.
constexpr std::size_t kSamplesPerSum = 256;
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

MovingMean::MovingMean(std::size_t length)
    : ring_(length, 0.0),
      scale_(1.0 / static_cast<double>(length)),
      roundsPerSum_(std::max<std::size_t>(1, kSamplesPerSum / length)) {}

void MovingMean::prime(double value) {
    std::fill(ring_.begin(), ring_.end(), value);
    sum_ = value * static_cast<double>(ring_.size());
    primed_ = true;
}

// The running sum is made afresh now and then, so that a huge artefact leaves no rounding
// behind.
void MovingMean::run(std::span<double> values) {
    if (values.empty()) return;
    if (!primed_) prime(values.front());
    double sum = sum_;
    for (double& value : values) {
        sum += value - ring_[next_];
        ring_[next_] = value;
        if (++next_ == ring_.size()) {
            next_ = 0;
            if (++rounds_ == roundsPerSum_) {
                rounds_ = 0;
                sum = std::accumulate(ring_.begin(), ring_.end(), 0.0);
            }
        }
        value = sum * scale_;
    }
    sum_ = sum;
}

SignalHistory::SignalHistory(std::size_t minimumLength)
    : ring_(std::bit_ceil(minimumLength), 0.0), mask_(ring_.size() - 1) {}

std::int64_t SignalHistory::oldest() const {
    return std::max<std::int64_t>(0, latest_ - static_cast<std::int64_t>(mask_));
}

BandPass::BandPass(double samplesPerSecond)
    : mains50_(SamplesIn(1.0 / kMainsLowHz, samplesPerSecond)),
      mains60_(SamplesIn(1.0 / kMainsHighHz, samplesPerSecond)),
      baseline_(OddSamplesIn(kBaselineSeconds, samplesPerSecond)),
      centre_(static_cast<std::size_t>(baseline_.lag()), 0.0),
      lag_(mains50_.lag() + mains60_.lag() + baseline_.lag()) {}

void BandPass::run(std::span<double> samples) {
    if (samples.empty()) return;
    mains50_.run(samples);
    mains60_.run(samples);
    if (!primed_) std::fill(centre_.begin(), centre_.end(), samples.front());
    primed_ = true;
    baselines_.assign(samples.begin(), samples.end());
    baseline_.run(baselines_);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double centred = centre_[centreNext_];
        centre_[centreNext_] = samples[i];
        if (++centreNext_ == centre_.size()) centreNext_ = 0;
        samples[i] = centred - baselines_[i];
    }
}

EnergyFeature::EnergyFeature(double samplesPerSecond)
    : window_(OddSamplesIn(kEnergySeconds, samplesPerSecond)) {}

void EnergyFeature::run(std::span<double> band) {
    if (band.empty()) return;
    if (!primed_) previous_ = beforePrevious_ = band.front();
    primed_ = true;
    for (double& value : band) {
        const double slope = value - beforePrevious_;
        beforePrevious_ = previous_;
        previous_ = value;
        value = slope * slope;
    }
    window_.run(band);
}

CandidatePicker::CandidatePicker(double samplesPerSecond)
    : spacing_(Samples(kCandidateSpacingSeconds, samplesPerSecond)) {}

// The feature has just turned down: the sample before was a maximum.
// A maximum that outdoes the best keeps the lower of the two valleys, so that a complex whose
// energy rises in two steps still rises from the baseline.
void CandidatePicker::fall(std::int64_t time) {
    if (!best_) {
        best_ = FeaturePeak{time - 1, previous_, trough_};
        troughSinceBest_ = previous_;
    } else if (previous_ > best_->height) {
        best_ = FeaturePeak{time - 1, previous_, std::min(best_->valley, troughSinceBest_)};
        troughSinceBest_ = previous_;
    }
    trough_ = previous_;
}

std::optional<FeaturePeak> CandidatePicker::finish() {
    return std::exchange(best_, std::nullopt);
}

}  // namespace ritmova::ecg::ecg_detail
