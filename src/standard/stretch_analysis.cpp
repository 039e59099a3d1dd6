#include "standard/stretch_analysis.h"

#include <utility>

#include "common/command_failure.h"
#include "standard/five_minute.h"
#include "standard/geometric.h"
#include "standard/series.h"
#include "standard/spectral_bands.h"
#include "standard/time_measures.h"

namespace ritmova::standard {
namespace {

// Fills the record's measures one after another from `first` on.
class MeasureWriter {
  public:
    MeasureWriter(StretchResults& results, MeasureId first)
        : results_(results), next_(static_cast<std::size_t>(first)) {}
    MeasureWriter& operator<<(Measured measured) {
        results_.measures[next_++] = std::move(measured);
        return *this;
    }

  private:
    StretchResults& results_;
    std::size_t next_;
};

void measureTimeDomain(StretchResults& r, std::span<const double> rr,
                       std::span<const double> times) {
    TimeDomain t = MeasureTimeDomain(rr);
    MeasureWriter(r, MeasureId::MeanNn)
        << t.meanNnMs << t.medianNnMs << t.minNnMs << t.maxNnMs << t.sdnnMs << t.cvnn << t.rmssdMs
        << t.sdsdMs << t.cvsd << t.nn50 << t.pnn50 << t.nn20 << t.pnn20 << t.iqrMs;
    HeartRate h = MeasureHeartRate(rr);
    MeasureWriter(r, MeasureId::MeanHr) << h.meanBpm << h.sdBpm << h.minBpm << h.maxBpm;
    FiveMinuteMeasures f = MeasureFiveMinute(rr, times);
    MeasureWriter(r, MeasureId::Sdann) << f.sdannMs << f.sdnnIndexMs;
    GeometricMeasures g = MeasureGeometric(rr);
    MeasureWriter(r, MeasureId::TriangularIndex) << g.triangularIndex << g.tinnMs;
}

void measureSpectra(StretchResults& r, std::span<const double> rr, std::span<const double> times) {
    ResampledSeries series = ResampleForSpectra(rr, times);  // one spline for Welch and Burg
    r.spectra = {WelchSpectrumFromSeries(series), LombScargleSpectrum(rr, times),
                 BurgSpectrumFromSeries(std::move(series))};
    for (std::size_t method = 0; method < SpectrumMethodCount; ++method) {
        const BandMeasures b = MeasureBands(r.spectra[method]);
        const auto band = [&b](Band which) -> const BandPower& { return b[which]; };
        MeasureWriter(r, static_cast<MeasureId>(static_cast<std::size_t>(MeasureId::SpectrumFirst) +
                                                method * SpectrumMeasureCount))
            << band(Band::Ulf).powerMs2 << band(Band::Vlf).powerMs2 << band(Band::Lf).powerMs2
            << band(Band::Hf).powerMs2 << b.totalMs2 << band(Band::Vlf).relativePercent
            << band(Band::Lf).relativePercent << band(Band::Hf).relativePercent << b.lfNu << b.hfNu
            << b.lfHf << band(Band::Ulf).peakHz << band(Band::Vlf).peakHz << band(Band::Lf).peakHz
            << band(Band::Hf).peakHz;
    }
}

void measureNonlinear(StretchResults& r, std::span<const double> rr) {
    PoincareMeasures p = MeasurePoincare(rr);
    MeasureWriter(r, MeasureId::Sd1) << p.sd1Ms << p.sd2Ms << p.sd2OverSd1 << p.ellipseAreaMs2;
    DfaMeasures d = MeasureDfa(rr);
    MeasureWriter(r, MeasureId::DfaAlpha1) << d.alpha1 << d.alpha2;
    r.dfaPoints = std::move(d.points);
    const Measured& sdnn = r[MeasureId::Sdnn];
    if (sdnn) {
        r.entropy = MeasureEntropies(rr, *sdnn.value);
        MeasureWriter(r, MeasureId::SampEn) << r.entropy.sampen << r.entropy.apen;
    } else {
        MeasureWriter(r, MeasureId::SampEn) << sdnn << sdnn;
    }
}

// The spline that replaces an interval can overshoot below 0 beside a run of artifacts.
void requirePositiveCorrected(std::span<const double> rr) {
    for (const double v : rr) {
        if (!(v > 0)) {
            throw CommandFailure(
                "the correction gave an interval that is not above 0: too many artifacts together");
        }
    }
}

}  // namespace

StretchResults AnalyseStretch(std::span<const double> rrMs, const Stretch& stretch,
                              const AnalysisSettings& settings) {
    StretchResults r;
    r.stretch = stretch;
    RequirePositiveIntervals(rrMs, stretch.firstBeat);
    // Uncorrected intervals are analysed where they are, not copied: a long recording's copy
    // would be the largest thing held.
    const bool correcting = settings.correction.method != CorrectionMethod::None;
    CorrectedSeries corrected;
    if (correcting) {
        corrected = CorrectIntervals(rrMs, settings.correction, stretch.firstBeat);
        requirePositiveCorrected(corrected.rrMs);
    } else {
        corrected.record.intervalsBefore = corrected.record.intervalsAfter = rrMs.size();
    }
    r.correction = std::move(corrected.record);
    const std::span<const double> rr = correcting ? std::span<const double>(corrected.rrMs) : rrMs;
    r.intervals = rr.size();
    const std::vector<double> times = BeatTimes(rr);
    measureTimeDomain(r, rr, times);
    measureSpectra(r, rr, times);
    measureNonlinear(r, rr);
    return r;
}

}  // namespace ritmova::standard
