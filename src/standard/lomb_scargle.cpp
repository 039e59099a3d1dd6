#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "standard/nonuniform_fourier.h"
#include "standard/spectra.h"

// The Lomb-Scargle periodogram at the beat times. Its four sums per frequency,
// Σ y cos ωt, Σ y sin ωt, Σ cos 2ωt and Σ sin 2ωt, come from non-uniform FFTs; Σ cos² ω(t − τ) and
// Σ sin² ω(t − τ) follow from them (Press & Rybicki, ApJ 338, 1989).
namespace ritmova::standard {

namespace {

struct Terms {
    std::complex<double> weighted;  // Σ y e^{−iωt}
    std::complex<double> doubled;   // Σ e^{−2iωt}
};

// The classical normalised periodogram P(ω) from its sums, τ chosen by tan 2ωτ = Σ sin 2ωt /
// Σ cos 2ωt. cos ωτ and sin ωτ come from half-angle formulas, each taken from the larger side
// so that neither loses digits.
double Periodogram(const Terms& terms, double beats) {
    const double yc = terms.weighted.real(), ys = -terms.weighted.imag();
    const double c2 = terms.doubled.real(), s2 = -terms.doubled.imag();
    const double spread = std::hypot(c2, s2);  // Σ cos 2ω(t − τ)
    double cosTau = 1.0, sinTau = 0.0;
    if (spread > 0.0) {
        const double cos2 = c2 / spread, sin2 = s2 / spread;
        if (cos2 >= 0.0) {
            cosTau = std::sqrt(0.5 * (1.0 + cos2));
            sinTau = sin2 / (2.0 * cosTau);
        } else {
            sinTau = std::copysign(std::sqrt(0.5 * (1.0 - cos2)), sin2);
            cosTau = sin2 / (2.0 * sinTau);
        }
    }
    const double alongCos = yc * cosTau + ys * sinTau;  // Σ y cos ω(t − τ)
    const double alongSin = ys * cosTau - yc * sinTau;  // Σ y sin ω(t − τ)
    const double cosSquares = 0.5 * (beats + spread), sinSquares = 0.5 * (beats - spread);
    double power = 0.0;
    if (cosSquares > 0.0) power += alongCos * alongCos / cosSquares;
    if (sinSquares > 0.0) power += alongSin * alongSin / sinSquares;
    return 0.5 * power;
}

// The series as the sums need it: y = RR − mean at the points (t − t_1) Δf in [0, 1/4] and at
// twice those.
struct PeriodogramInput {
    double meanMs = 0.0;
    std::vector<double> deviations, phases, doubledPhases;
};

PeriodogramInput InputOf(std::span<const double> rrMs, std::span<const double> beatTimesS,
                         double resolutionHz) {
    PeriodogramInput input;
    for (const double rr : rrMs) input.meanMs += rr;
    input.meanMs /= static_cast<double>(rrMs.size());
    input.deviations.reserve(rrMs.size());
    input.phases.reserve(rrMs.size());
    input.doubledPhases.reserve(rrMs.size());
    for (std::size_t i = 0; i < rrMs.size(); ++i) {
        input.deviations.push_back(rrMs[i] - input.meanMs);
        input.phases.push_back((beatTimesS[i] - beatTimesS.front()) * resolutionHz);
        input.doubledPhases.push_back(2.0 * input.phases.back());
    }
    return input;
}

}  // namespace

Spectrum LombScargleSpectrum(std::span<const double> rrMs, std::span<const double> beatTimesS) {
    Spectrum spectrum;
    spectrum.reason = SpectrumSeriesProblem(rrMs, beatTimesS);
    if (!spectrum.reason.empty()) return spectrum;
    if (rrMs.size() < 2) {
        spectrum.reason = "The Lomb-Scargle spectrum needs at least 2 intervals.";
        return spectrum;
    }
    spectrum.resolutionHz = 1.0 / (4.0 * (beatTimesS.back() - beatTimesS.front()));
    const auto count = static_cast<std::size_t>(std::floor(0.5 / spectrum.resolutionHz));
    if (count == 0) {  // Δf = 1/(4T) > 0.5 Hz
        spectrum.reason =
            "The Lomb-Scargle spectrum needs the first and last beats at least 0.5 s apart.";
        return spectrum;
    }
    spectrum.segmentSamples = rrMs.size();
    spectrum.segments = 1;
    const PeriodogramInput in = InputOf(rrMs, beatTimesS, spectrum.resolutionHz);
    const NonuniformSums sums =
        NonuniformFourierSums({in.phases, in.deviations}, {in.doubledPhases, {}}, count + 1);
    // Intervals all equal have no power at all, exactly; the shared transform would leave the
    // rounding of the unweighted sums in the weighted ones.
    const bool constant =
        std::all_of(in.deviations.begin(), in.deviations.end(), [](double y) { return y == 0.0; });
    const double beats = static_cast<double>(rrMs.size());
    spectrum.frequencyHz.reserve(count);
    spectrum.densityMs2PerHz.reserve(count);
    for (std::size_t k = 1; k <= count; ++k) {
        spectrum.frequencyHz.push_back(static_cast<double>(k) * spectrum.resolutionHz);
        const double power = constant ? 0.0 : Periodogram({sums.first[k], sums.second[k]}, beats);
        spectrum.densityMs2PerHz.push_back(2.0 * power * (in.meanMs / 1000.0));
    }
    return spectrum;
}

}  // namespace ritmova::standard
