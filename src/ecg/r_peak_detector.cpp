#include "ecg/r_peak_detector.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
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
// Samples filtered a stage at a time: enough to keep each stage's loop tight, few enough to
// stay in the cache.
constexpr std::size_t kChunk = 2048;
// Samples of the band-passed signal kept beyond what placing a peak needs.
constexpr std::int64_t kHistorySpare = 16;

std::string RateText(double samplesPerSecond) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", samplesPerSecond);
    return text;
}

double CheckedRate(double samplesPerSecond) {
    if (!(samplesPerSecond >= kLowestRate && samplesPerSecond <= kHighestRate))
        throw CommandFailure("R-peak detection needs 128 to 1000 samples per second, not " +
                             RateText(samplesPerSecond));
    return samplesPerSecond;
}

}  // namespace

RPeakDetector::RPeakDetector(double samplesPerSecond)
    : reach_(std::llround(kReachSeconds * CheckedRate(samplesPerSecond))),
      bandPass_(samplesPerSecond),
      energy_(samplesPerSecond),
      picker_(samplesPerSecond),
      decider_(samplesPerSecond),
      history_(static_cast<std::size_t>(picker_.spacing() + energy_.lag() + 2 * reach_ +
                                        kHistorySpare)) {}

// Every sample is checked before any is taken, so that a refused block changes nothing.
void RPeakDetector::feed(std::span<const float> samples) {
    if (end_ >= 0) throw CommandFailure("R-peak detection: samples fed after the end");
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (!std::isfinite(samples[i]))
            throw CommandFailure("R-peak detection: sample " +
                                 std::to_string(fed_ + static_cast<std::int64_t>(i)) +
                                 " is not a number");
    for (std::size_t at = 0; at < samples.size(); at += kChunk) {
        const auto chunk = samples.subspan(at, std::min(kChunk, samples.size() - at));
        band_.assign(chunk.begin(), chunk.end());
        run();
    }
    if (!samples.empty()) last_ = samples.back();
}

// The record is carried on at its last value until every filter has given out its last
// sample; the last feature peak is then decided.
void RPeakDetector::finish() {
    if (end_ >= 0) return;
    end_ = fed_;
    const std::int64_t drain = bandPass_.lag() + energy_.lag() + picker_.spacing() + reach_ + 2;
    band_.assign(static_cast<std::size_t>(drain), last_);
    run();
    if (const auto peak = picker_.finish(); peak && peak->time < end_)
        decider_.offer(place(*peak), beats_);
    decider_.advance(history_.latest() + 1, beats_);
    std::erase_if(beats_, [&](std::int64_t beat) { return beat >= end_; });
}

std::vector<std::int64_t> RPeakDetector::takeBeats() {
    return std::exchange(beats_, {});
}

// Filters the samples in band_ a stage at a time, then looks for peaks sample by sample.
void RPeakDetector::run() {
    bandPass_.run(band_);
    feature_.assign(band_.begin(), band_.end());
    energy_.run(feature_);
    for (std::size_t i = 0; i < band_.size(); ++i) {
        const std::int64_t bandTime = fed_++ - bandPass_.lag();
        if (bandTime < 0) continue;
        history_.push(bandTime, band_[i]);
        const std::int64_t featureTime = bandTime - energy_.lag();
        if (featureTime < 0) continue;
        if (const auto peak = picker_.push(featureTime, feature_[i]);
            peak && (end_ < 0 || peak->time < end_))
            decider_.offer(place(*peak), beats_);
        decider_.advance(featureTime - reach_ - 1, beats_);
    }
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
    return {r, std::sqrt(peak.height), std::sqrt(peak.valley), steepest};
}

std::vector<std::int64_t> DetectRPeaks(std::span<const float> samples, double samplesPerSecond) {
    RPeakDetector detector(samplesPerSecond);
    detector.feed(samples);
    detector.finish();
    return detector.takeBeats();
}

}  // namespace ritmova::ecg
