#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "ecg/detector_stages.h"

namespace ritmova::ecg {

// Finds the R peaks of one ECG lead, sampled at 128 to 1000 Hz, fed in blocks of any size.
//
// The signal is band-passed by linear-phase moving averages (so a peak keeps its place), its
// slope squared and summed over a QRS-long window gives an energy feature, and each feature
// peak that stands alone is a candidate. Two running levels, of beats and of noise, set the
// threshold a candidate must pass; its energy must rise from a quiet baseline (noise alone
// never settles, so it gives no beats); a candidate close after a beat must also be steep
// enough not to be its T wave; when a beat is overdue, the best candidate since the last beat
// is taken at half the threshold; after three silent seconds the levels are learnt afresh. A beat
// is placed on the extremum of the band-passed signal with the larger magnitude, so an inverted
// lead gives the same beats. Memory is bounded by a few seconds of the signal, whatever the length
// of the record.
class RPeakDetector {
  public:
    // Throws CommandFailure unless 128 <= samplesPerSecond <= 1000.
    explicit RPeakDetector(double samplesPerSecond);

    // Takes the next samples (any units; only their shape matters).
    void feed(std::span<const float> samples);
    // Ends the signal: the last candidates are decided. Further feeds are refused.
    void finish();

    // The beats found so far, as sample numbers from 0, increasing. A beat appears here a
    // fraction of a second (at most about two RR intervals) after its samples were fed.
    const std::vector<std::int64_t>& beats() const { return beats_; }
    // Hands over the beats found so far and forgets them, so that a long record's beats can
    // be written out as they come.
    std::vector<std::int64_t> takeBeats();

  private:
    void run();
    ecg_detail::Candidate place(const ecg_detail::FeaturePeak& peak) const;

    std::int64_t reach_;  // how far either side of a feature peak its R wave is looked for
    ecg_detail::BandPass bandPass_;
    ecg_detail::EnergyFeature energy_;
    ecg_detail::CandidatePicker picker_;
    ecg_detail::BeatDecider decider_;
    ecg_detail::SignalHistory history_;  // the band-passed signal, for placing the peaks
    std::int64_t fed_ = 0;
    std::int64_t end_ = -1;  // the number of samples fed, once finished
    double last_ = 0;
    std::vector<double> band_;     // the samples being run, band-passed in place
    std::vector<double> feature_;  // their energy feature
    std::vector<std::int64_t> beats_;
};

// Convenience for a signal held whole: feeds it in one block and finishes.
std::vector<std::int64_t> DetectRPeaks(std::span<const float> samples, double samplesPerSecond);

}  // namespace ritmova::ecg
