#include <algorithm>
#include <cmath>
#include <numeric>

#include "ecg/detector_stages.h"

namespace ritmova::ecg::ecg_detail {

namespace {

// The first seconds, which set the beat and noise levels before any decision is made.
constexpr double kLearnSeconds = 2.0;
// No two beats closer than this: the heart's refractory period.
constexpr double kRefractorySeconds = 0.20;
// A candidate this soon after a beat may be its T wave...
constexpr double kTWaveSeconds = 0.36;
// ...and is taken for one unless its slope reaches this share of the beat's.
constexpr double kTWaveSlopeShare = 0.5;
// A beat's energy rises from a quiet baseline: from no more than this share of its peak. The
// energy of noise alone rises and falls without ever settling.
constexpr double kValleyShare = 0.3;
// Where between the noise and the beat levels a candidate becomes a beat.
constexpr double kThresholdFraction = 0.25;
// A beat is overdue after this many average R-R intervals; the search back then takes the
// best candidate since the last beat at this share of the threshold.
constexpr double kOverdueIntervals = 1.66;
constexpr double kSearchBackShare = 0.5;
// Weight of a new peak in the running beat and noise levels (beats found by searching back
// count more: they are the sign that the levels have drifted too high).
constexpr double kLevelWeight = 0.125;
constexpr double kSearchBackWeight = 0.25;
// R-R intervals averaged for the overdue test, and the interval assumed before there are any.
constexpr std::size_t kIntervalsAveraged = 8;
constexpr double kFirstIntervalSeconds = 1.0;
// With no beat for this long, the levels are set again from what the signal now holds (the
// lead may have been moved or its gain changed).
constexpr double kRelearnSeconds = 3.0;
// Candidates kept for the search back: more than a few seconds' worth is never needed.
constexpr std::size_t kMaximumPending = 64;

std::int64_t Samples(double seconds, double samplesPerSecond) {
    return std::max<std::int64_t>(1, std::llround(seconds * samplesPerSecond));
}

double Blend(double level, double value, double weight) {
    return weight * value + (1.0 - weight) * level;
}

}  // namespace

BeatDecider::BeatDecider(double samplesPerSecond)
    : learnSpan_(Samples(kLearnSeconds, samplesPerSecond)),
      refractory_(Samples(kRefractorySeconds, samplesPerSecond)),
      tWaveWindow_(Samples(kTWaveSeconds, samplesPerSecond)),
      relearnAfter_(Samples(kRelearnSeconds, samplesPerSecond)),
      firstInterval_(Samples(kFirstIntervalSeconds, samplesPerSecond)),
      deadline_(learnSpan_) {}

void BeatDecider::offer(const Candidate& candidate, std::vector<std::int64_t>& beats) {
    searchedBack_ = false;
    if (learning_)
        keepPending(candidate);
    else
        decide(candidate, beats);
}

void BeatDecider::catchUp(std::int64_t horizon, std::vector<std::int64_t>& beats) {
    if (learning_) {
        learn(horizon, beats);
        return;
    }
    if (!searchedBack_) {
        searchedBack_ = true;
        while (horizon > deadline_ && searchBack(beats)) {
        }
    }
    relearn(horizon);
}

void BeatDecider::setDeadline() {
    deadline_ = lastBeatTime() + static_cast<std::int64_t>(std::floor(
                                     kOverdueIntervals * static_cast<double>(averageInterval())));
}

std::int64_t BeatDecider::lastBeatTime() const {
    return lastBeat_ ? lastBeat_->time : -refractory_;
}

// The levels from the first seconds; then those candidates are decided afresh.
void BeatDecider::learn(std::int64_t horizon, std::vector<std::int64_t>& beats) {
    if (pending_.empty()) {
        deadline_ = horizon + learnSpan_;
        return;
    }
    learning_ = false;
    setDeadline();
    setLevels(pending_);
    std::vector<Candidate> learnt;
    learnt.swap(pending_);
    for (const Candidate& candidate : learnt) decide(candidate, beats);
}

// The beat level at the highest candidate, the noise level at the median of those under half
// of it (none when there are none: a train of beats alone).
void BeatDecider::setLevels(std::vector<Candidate> candidates) {
    const auto lower = [](const Candidate& a, const Candidate& b) { return a.height < b.height; };
    beatLevel_ = std::max_element(candidates.begin(), candidates.end(), lower)->height;
    std::erase_if(candidates, [&](const Candidate& c) { return c.height >= 0.5 * beatLevel_; });
    if (candidates.empty()) {
        noiseLevel_ = 0;
        return;
    }
    const auto middle = candidates.begin() + static_cast<long>((candidates.size() - 1) / 2);
    std::nth_element(candidates.begin(), middle, candidates.end(), lower);
    noiseLevel_ = middle->height;
}

void BeatDecider::decide(const Candidate& candidate, std::vector<std::int64_t>& beats) {
    if (candidate.time - lastBeatTime() < refractory_) return;
    if (candidate.height > threshold() && !looksLikeTWave(candidate)) {
        // Above the threshold but rising out of noise, it is neither beat nor noise.
        if (risesFromQuiet(candidate))
            accept(candidate, kLevelWeight, beats);
        else
            keepPending(candidate);
        return;
    }
    noiseLevel_ = Blend(noiseLevel_, candidate.height, kLevelWeight);
    keepPending(candidate);
}

bool BeatDecider::looksLikeTWave(const Candidate& candidate) const {
    return lastBeat_ && candidate.time - lastBeat_->time < tWaveWindow_ &&
           candidate.slope < kTWaveSlopeShare * lastBeat_->slope;
}

// When a beat is overdue, the highest candidate since the last one that passes half the
// threshold (and is no T wave) is taken.
bool BeatDecider::searchBack(std::vector<std::int64_t>& beats) {
    const double floor = kSearchBackShare * threshold();
    const Candidate* best = nullptr;
    for (const Candidate& candidate : pending_) {
        if (candidate.time - lastBeatTime() < refractory_) continue;
        if (candidate.height <= floor || !risesFromQuiet(candidate)) continue;
        if (looksLikeTWave(candidate)) continue;
        if (!best || candidate.height > best->height) best = &candidate;
    }
    if (!best) return false;
    accept(*best, kSearchBackWeight, beats);
    return true;
}

// After a long silence the levels are set again from the candidates of the silence, which the
// search back then weighs.
void BeatDecider::relearn(std::int64_t horizon) {
    const std::int64_t since = std::max(lastBeatTime(), lastRelearn_);
    if (horizon - since <= relearnAfter_ || pending_.empty()) return;
    lastRelearn_ = horizon;
    setLevels(pending_);
    searchedBack_ = false;
}

void BeatDecider::accept(const Candidate& candidate, double weight,
                         std::vector<std::int64_t>& beats) {
    beatLevel_ = Blend(beatLevel_, candidate.height, weight);
    if (lastBeat_) {
        if (intervals_.size() == kIntervalsAveraged) intervals_.erase(intervals_.begin());
        intervals_.push_back(candidate.time - lastBeat_->time);
    }
    lastBeat_ = candidate;
    setDeadline();
    beats.push_back(candidate.time);
    std::erase_if(pending_, [&](const Candidate& c) { return c.time <= candidate.time; });
}

void BeatDecider::keepPending(const Candidate& candidate) {
    if (pending_.size() == kMaximumPending) pending_.erase(pending_.begin());
    pending_.push_back(candidate);
}

bool BeatDecider::risesFromQuiet(const Candidate& candidate) {
    return candidate.valley <= kValleyShare * candidate.height;
}

double BeatDecider::threshold() const {
    return noiseLevel_ + kThresholdFraction * (beatLevel_ - noiseLevel_);
}

std::int64_t BeatDecider::averageInterval() const {
    if (intervals_.empty()) return firstInterval_;
    return std::accumulate(intervals_.begin(), intervals_.end(), std::int64_t{0}) /
           static_cast<std::int64_t>(intervals_.size());
}

}  // namespace ritmova::ecg::ecg_detail
