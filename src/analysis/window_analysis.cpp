#include "analysis/window_analysis.h"

#include <memory>

#include "common/command_failure.h"
#include "measures/poincare.h"

namespace ritmova {
namespace {

void commitSeries(const IntervalValues& values, PassResults& r) {
    const float mean = RunningMean(values);
    r.transform.fill(0);
    for (std::size_t i = 1; i <= BeatCount; ++i) {
        r.deviations[i] = values[i - 1];
        r.seriesAsRead[i] = r.deviations[i];
    }
    r.meanRR = mean;
}

void computeSpectrum(PassResults& r) {
    TaperDeviations(std::span(r.deviations).subspan<1, BeatCount>(), r.meanRR, r.transform);
    TransformSeries(r.transform);
    r.bands = {};
    ComputePowerSpectrum(r.transform, r.powerSpectrum, r.spectrumMax);
    ComputeBandMeasures(r.powerSpectrum, r.bands);
}

}  // namespace

void AnalysePass(const IntervalValues& values, PassResults& r) {
    r.poincareR.reset();
    r.spectrumMax = {};
    r.reached = PassStep::None;
    commitSeries(values, r);
    r.timeDomain = ComputeTimeDomain(r.beats(r.seriesAsRead), r.meanRR);
    r.reached = PassStep::TimeDomain;
    computeSpectrum(r);
    r.lfHf = LfHfRatio(r.bands);
    r.reached = PassStep::Measures;
    r.poincareR = PoincareCorrelation(r.beats(r.deviations));
    r.reached = PassStep::Complete;
}

void AnalyseWindow(const IntervalValues& values, std::size_t artifacts, WindowAnalysis& a) {
    // Made anew in place: assigning a fresh record would zero a temporary and copy it.
    std::destroy_at(&a);
    std::construct_at(&a);
    a.artifacts = artifacts;
    try {
        AnalysePass(values, a.pass);
    } catch (const CommandFailure& failure) {
        a.failure = failure.what();
        return;
    }
    try {
        a.sdAndRates = ComputeSdAndHeartRates(values, a.pass.timeDomain.sdnn);
    } catch (const CommandFailure&) {
        // No heart rate for an interval of 0 or less; the pass's own measures stand.
    }
    try {
        AnalyseMarkov(a.pass.beats(a.pass.seriesAsRead), a.pass.meanRR, a.pass.timeDomain.sdnn,
                      a.markov);
        if (!a.markovCompleted()) a.markovFailure = OneStateReason;
    } catch (const CommandFailure& failure) {
        a.markovFailure = failure.what();
    }
}

}  // namespace ritmova
