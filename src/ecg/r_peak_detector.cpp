#include "ecg/r_peak_detector.h"

#include <cmath>
#include <string>
#include <utility>

#include "common/command_failure.h"

namespace ritmova::ecg {

namespace {

// The rates the filters are drawn for: below, a QRS complex is too few samples; above, the
// moving means grow long for no gain.
constexpr double kLowestRate = 128.0;
constexpr double kHighestRate = 1000.0;
// How far from its energy peak an R wave may sit: half the energy window and the spread of a
// wide complex's energy about its R wave.
constexpr double kReachSeconds = 0.08;
// Samples of the band-passed signal kept beyond what placing a peak needs.
constexpr std::int64_t kHistorySpare = 16;

double CheckedRate(double samplesPerSecond) {
    if (!(samplesPerSecond >= kLowestRate && samplesPerSecond <= kHighestRate))
        throw CommandFailure("R-peak detection needs 128 to 1000 samples per second, not " +
                             std::to_string(samplesPerSecond));
    return samplesPerSecond;
}

}  // namespace

RPeakDetector::RPeakDetector(double samplesPerSecond)
    : reach_(std::llround(kReachSeconds * CheckedRate(samplesPerSecond))),
      band_(samplesPerSecond),
      energy_(samplesPerSecond),
      picker_(samplesPerSecond),
      decider_(samplesPerSecond),
      history_(static_cast<std::size_t>(picker_.spacing() + energy_.lag() + 2 * reach_ +
                                        kHistorySpare)) {}

void RPeakDetector::feed(std::span<const float> samples) {
    if (end_ >= 0) throw CommandFailure("R-peak detection: samples fed after the end");
    for (const float sample : samples) {
        if (!std::isfinite(sample))
            throw CommandFailure("R-peak detection: sample " + std::to_string(fed_) +
                                 " is not a number");
        last_ = sample;
        step(sample);
    }
}

// The record is carried on at its last value until every filter has given out its last
// sample; the last feature peak is then decided.
void RPeakDetector::finish() {
    if (end_ >= 0) return;
    end_ = fed_;
    const std::int64_t drain = band_.lag() + energy_.lag() + picker_.spacing() + reach_ + 2;
    for (std::int64_t i = 0; i < drain; ++i) step(last_);
    if (const auto peak = picker_.finish(); peak && peak->time < end_)
        decider_.offer(place(*peak), beats_);
    decider_.advance(history_.latest() + 1, beats_);
    std::erase_if(beats_, [&](std::int64_t beat) { return beat >= end_; });
}

std::vector<std::int64_t> RPeakDetector::takeBeats() {
    return std::exchange(beats_, {});
}

void RPeakDetector::step(double sample) {
    const double band = band_.push(sample);
    const std::int64_t bandTime = fed_++ - band_.lag();
    if (bandTime < 0) return;
    history_.push(bandTime, band);
    const double feature = energy_.push(band);
    const std::int64_t featureTime = bandTime - energy_.lag();
    if (featureTime < 0) return;
    if (const auto peak = picker_.push(featureTime, feature);
        peak && (end_ < 0 || peak->time < end_))
        decider_.offer(place(*peak), beats_);
    decider_.advance(featureTime - reach_ - 1, beats_);
}

// The R wave: the extremum of the band-passed signal near the feature peak with the larger
// magnitude (the earlier on a tie, so that an inverted lead gives the same place).
ecg_detail::Candidate RPeakDetector::place(const ecg_detail::FeaturePeak& peak) const {
    const std::int64_t first = std::max(peak.time - reach_, history_.oldest() + 1);
    std::int64_t last = std::min(peak.time + reach_, history_.latest());
    if (end_ >= 0) last = std::min(last, end_ - 1);
    std::int64_t highest = first;
    std::int64_t lowest = first;
    double steepest = 0;
    for (std::int64_t t = first; t <= last; ++t) {
        const double value = history_.at(t);
        if (value > history_.at(highest)) highest = t;
        if (value < history_.at(lowest)) lowest = t;
        steepest = std::max(steepest, std::abs(value - history_.at(t - 1)));
    }
    const double high = std::abs(history_.at(highest));
    const double low = std::abs(history_.at(lowest));
    const std::int64_t r = high > low ? highest : low > high ? lowest : std::min(highest, lowest);
    return {r, std::sqrt(peak.height), steepest};
}

std::vector<std::int64_t> DetectRPeaks(std::span<const float> samples, double samplesPerSecond) {
    RPeakDetector detector(samplesPerSecond);
    detector.feed(samples);
    detector.finish();
    return detector.takeBeats();
}

}  // namespace ritmova::ecg
