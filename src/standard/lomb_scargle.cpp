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

}  // namespace

Spectrum LombScargleSpectrum(std::span<const double> rrMs, std::span<const double> beatTimesS) {
    CheckSpectrumSeries(rrMs, beatTimesS);
    Spectrum spectrum;
    if (rrMs.size() < 2) {
        spectrum.reason = "The Lomb-Scargle spectrum needs at least 2 intervals.";
        return spectrum;
    }
    const double span = beatTimesS.back() - beatTimesS.front();
    spectrum.resolutionHz = 1.0 / (4.0 * span);
    const auto count = static_cast<std::size_t>(std::floor(0.5 / spectrum.resolutionHz));
    if (count == 0) {  // Δf = 1/(4T) > 0.5 Hz
        spectrum.reason = "The Lomb-Scargle spectrum needs beats at least 0.5 s apart.";
        return spectrum;
    }
    spectrum.segmentSamples = rrMs.size();
    spectrum.segments = 1;
    double sum = 0.0;
    for (const double rr : rrMs) sum += rr;
    const double beats = static_cast<double>(rrMs.size());
    const double mean = sum / beats;
    std::vector<double> deviations, phases, doubledPhases;  // y, (t − t_1) Δf and twice that
    deviations.reserve(rrMs.size());
    phases.reserve(rrMs.size());
    doubledPhases.reserve(rrMs.size());
    for (std::size_t i = 0; i < rrMs.size(); ++i) {
        deviations.push_back(rrMs[i] - mean);
        phases.push_back((beatTimesS[i] - beatTimesS.front()) * spectrum.resolutionHz);
        doubledPhases.push_back(2.0 * phases.back());
    }
    const NonuniformSums sums =
        NonuniformFourierSums({phases, deviations}, {doubledPhases, {}}, count + 1);
    const double meanRrS = mean / 1000.0;
    // Intervals all equal have no power at all, exactly; the shared transform would leave the
    // rounding of the unweighted sums in the weighted ones.
    const bool constant =
        std::all_of(deviations.begin(), deviations.end(), [](double y) { return y == 0.0; });
    spectrum.frequencyHz.reserve(count);
    spectrum.densityMs2PerHz.reserve(count);
    for (std::size_t k = 1; k <= count; ++k) {
        spectrum.frequencyHz.push_back(static_cast<double>(k) * spectrum.resolutionHz);
        const double power = constant ? 0.0 : Periodogram({sums.first[k], sums.second[k]}, beats);
        spectrum.densityMs2PerHz.push_back(2.0 * power * meanRrS);
    }
    return spectrum;
}

}  // namespace ritmova::standard
