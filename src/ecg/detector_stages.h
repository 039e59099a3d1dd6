#pragma once

// The stages of the R-peak detector (r_peak_detector.h), each with the state it keeps between
// blocks. Times are sample numbers of the input; every filter is linear phase, so each stage
// knows exactly how many samples it lags behind its input.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace ritmova::ecg::ecg_detail {

// The mean of the last `length` values; starts as if the first value had always been there,
// so a record that opens away from zero gives no step.
class MovingMean {
  public:
    explicit MovingMean(std::size_t length);
    // Replaces each of the next values by the mean of the `length` values up to it.
    void run(std::span<double> values);
    std::size_t length() const { return ring_.size(); }
    // The samples between an input and the mean's centre.
    std::int64_t lag() const { return static_cast<std::int64_t>((ring_.size() - 1) / 2); }

  private:
    void prime(double value);

    std::vector<double> ring_;
    double scale_;
    std::size_t roundsPerSum_;
    std::size_t rounds_ = 0;
    std::size_t next_ = 0;
    double sum_ = 0;
    bool primed_ = false;
};

// The last values pushed, read back by their sample number.
class SignalHistory {
  public:
    explicit SignalHistory(std::size_t minimumLength);
    void push(std::int64_t time, double value) {
        ring_[static_cast<std::size_t>(time) & mask_] = value;
        latest_ = time;
    }
    double at(std::int64_t time) const { return ring_[static_cast<std::size_t>(time) & mask_]; }
    std::int64_t latest() const { return latest_; }
    // The oldest sample number still held.
    std::int64_t oldest() const;

  private:
    std::vector<double> ring_;
    std::size_t mask_;
    std::int64_t latest_ = -1;
};

// Moving-average band-pass: two means nulling 50 and 60 Hz mains and the higher noise, less a
// longer mean that holds the baseline wander, P and T waves.
class BandPass {
  public:
    explicit BandPass(double samplesPerSecond);
    // Band-passes the next samples in place.
    void run(std::span<double> samples);
    std::int64_t lag() const { return lag_; }

  private:
    MovingMean mains50_;
    MovingMean mains60_;
    MovingMean baseline_;
    std::vector<double> centre_;  // the smoothed signal, held until the baseline is centred on it
    std::size_t centreNext_ = 0;
    std::vector<double> baselines_;  // the baseline of the samples being run
    bool primed_ = false;
    std::int64_t lag_;
};

// The squared slope of the band-passed signal, averaged over about one QRS complex.
class EnergyFeature {
  public:
    explicit EnergyFeature(double samplesPerSecond);
    // Replaces the next band-passed samples by the feature.
    void run(std::span<double> band);
    std::int64_t lag() const { return window_.lag() + 1; }

  private:
    MovingMean window_;
    double previous_ = 0;
    double beforePrevious_ = 0;
    bool primed_ = false;
};

struct FeaturePeak {
    std::int64_t time = 0;
    double height = 0;
    double valley = 0;  // the lowest feature on the way up to the peak
};

// Local maxima of the feature that no higher maximum follows within the spacing: a QRS
// complex gives one, however ragged its energy.
class CandidatePicker {
  public:
    explicit CandidatePicker(double samplesPerSecond);
    // The feature value at `time`; returns a peak once `spacing` samples have passed it.
    std::optional<FeaturePeak> push(std::int64_t time, double feature) {
        trough_ = std::min(trough_, feature);
        troughSinceBest_ = std::min(troughSinceBest_, feature);
        if (feature < previous_ && rising_) fall(time);
        rising_ = feature > previous_ || (rising_ && feature == previous_);
        previous_ = feature;
        if (best_ && time - best_->time >= spacing_) return std::exchange(best_, std::nullopt);
        return std::nullopt;
    }
    std::optional<FeaturePeak> finish();
    std::int64_t spacing() const { return spacing_; }

  private:
    void fall(std::int64_t time);

    std::int64_t spacing_;
    double previous_ = 0;
    double trough_ = 0;           // the lowest feature since the last maximum
    double troughSinceBest_ = 0;  // the lowest since the best maximum
    bool rising_ = false;
    std::optional<FeaturePeak> best_;
};

// A feature peak placed on the signal: where its R wave is, how high its energy rises (in
// units of the signal) and from how low, and how steep it is.
struct Candidate {
    std::int64_t time = 0;
    double height = 0;
    double valley = 0;
    double slope = 0;
};

// The adaptive thresholds: decides which candidates are beats.
class BeatDecider {
  public:
    explicit BeatDecider(double samplesPerSecond);
    // The next candidate, in time order; beats go to `beats`.
    void offer(const Candidate& candidate, std::vector<std::int64_t>& beats);
    // Every candidate before `horizon` has been offered: searches back for an overdue beat.
    void advance(std::int64_t horizon, std::vector<std::int64_t>& beats) {
        if (horizon > deadline_) catchUp(horizon, beats);
    }

  private:
    void catchUp(std::int64_t horizon, std::vector<std::int64_t>& beats);
    void setDeadline();
    void learn(std::int64_t horizon, std::vector<std::int64_t>& beats);
    void setLevels(std::vector<Candidate> candidates);
    void decide(const Candidate& candidate, std::vector<std::int64_t>& beats);
    bool looksLikeTWave(const Candidate& candidate) const;
    std::int64_t lastBeatTime() const;
    bool searchBack(std::vector<std::int64_t>& beats);
    void relearn(std::int64_t horizon);
    void accept(const Candidate& candidate, double weight, std::vector<std::int64_t>& beats);
    void keepPending(const Candidate& candidate);
    static bool risesFromQuiet(const Candidate& candidate);
    double threshold() const;
    std::int64_t averageInterval() const;

    std::int64_t learnSpan_;
    std::int64_t refractory_;
    std::int64_t tWaveWindow_;
    std::int64_t relearnAfter_;
    std::int64_t firstInterval_;
    std::int64_t deadline_;  // while learning, its end; then when the next beat is overdue
    bool learning_ = true;
    bool searchedBack_ = false;
    double beatLevel_ = 0;
    double noiseLevel_ = 0;
    std::optional<Candidate> lastBeat_;
    std::int64_t lastRelearn_ = 0;
    std::vector<std::int64_t> intervals_;  // the latest R-R intervals, oldest first
    std::vector<Candidate> pending_;       // candidates since the last beat, not taken
};

}  // namespace ritmova::ecg::ecg_detail
