#include "standard/spectra.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <utility>

#include "common/command_failure.h"
#include "standard/cubic_spline.h"
#include "standard/fourier.h"

namespace ritmova::standard {

std::string SpectrumSeriesProblem(std::span<const double> rrMs,
                                  std::span<const double> beatTimesS) {
    if (rrMs.size() != beatTimesS.size())
        throw CommandFailure("A spectrum needs one beat time per interval.");
    for (std::size_t i = 0; i < rrMs.size(); ++i) {
        if (!std::isfinite(rrMs[i]) || !std::isfinite(beatTimesS[i]))
            return "The spectra need finite intervals and beat times (beat " +
                   std::to_string(i + 1) + " is not).";
        if (i > 0 && !(beatTimesS[i] > beatTimesS[i - 1]))
            return "The spectra need increasing beat times (beat " + std::to_string(i + 1) +
                   " is not after the one before).";
    }
    return {};
}

namespace {

Spectrum Unavailable(std::string reason) {
    Spectrum spectrum;
    spectrum.reason = std::move(reason);
    return spectrum;
}

double Mean(std::span<const double> values) {
    double sum = 0.0;
    for (const double v : values) sum += v;
    return sum / static_cast<double>(values.size());
}

// The periodic Hann window w_n = 0.5 − 0.5 cos(2πn/L).
std::vector<double> HannWindow(std::size_t length) {
    std::vector<double> window(length);
    for (std::size_t n = 0; n < length; ++n)
        window[n] = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(n) /
                                         static_cast<double>(length));
    return window;
}

// The one-sided density from summed |X_k|²: divided by the count and by fs Σw², doubled at
// every k but 0 and nfft/2.
void FillDensity(Spectrum& spectrum, const std::vector<double>& summed, double divisor) {
    const std::size_t last = summed.size() - 1;
    for (std::size_t k = 0; k <= last; ++k) {
        spectrum.frequencyHz.push_back(static_cast<double>(k) * spectrum.resolutionHz);
        const double once = summed[k] / divisor;
        spectrum.densityMs2PerHz.push_back(k == 0 || k == last ? once : 2.0 * once);
    }
}

std::string SamplesText(std::size_t samples) {
    return std::to_string(samples) + (samples == 1 ? " sample" : " samples");
}

struct Autoregression {
    std::vector<double> coefficients;  // a_0 = 1, a_1 … a_p
    double noiseVariance;              // σ²
};

// Burg's method: each order's reflection coefficient minimises the summed forward and backward
// prediction errors; a series predicted exactly stops the recursion (the rest are 0).
Autoregression Burg(std::vector<double> forward, std::size_t order) {
    std::vector<double> backward = forward;
    const std::size_t n = forward.size();
    Autoregression model{std::vector<double>(order + 1, 0.0), 0.0};
    model.coefficients[0] = 1.0;
    for (const double x : forward) model.noiseVariance += x * x;
    model.noiseVariance /= static_cast<double>(n);
    std::vector<double> previous(order + 1);
    for (std::size_t m = 1; m <= order; ++m) {
        double numerator = 0.0, denominator = 0.0;
        for (std::size_t i = m; i < n; ++i) {
            numerator += forward[i] * backward[i - 1];
            denominator += forward[i] * forward[i] + backward[i - 1] * backward[i - 1];
        }
        if (denominator == 0.0) break;
        const double reflection = -2.0 * numerator / denominator;
        for (std::size_t i = n - 1; i >= m; --i) {  // downwards: backward[i − 1] is still old
            const double f = forward[i];
            forward[i] = f + reflection * backward[i - 1];
            backward[i] = backward[i - 1] + reflection * f;
        }
        previous = model.coefficients;
        for (std::size_t i = 1; i <= m; ++i)
            model.coefficients[i] = previous[i] + reflection * previous[m - i];
        model.noiseVariance *= 1.0 - reflection * reflection;
    }
    return model;
}

}  // namespace

std::vector<double> ResampleAt4Hz(std::span<const double> rrMs,
                                  std::span<const double> beatTimesS) {
    if (const std::string problem = SpectrumSeriesProblem(rrMs, beatTimesS); !problem.empty())
        throw CommandFailure(problem);
    const CubicSpline spline(beatTimesS, rrMs);
    return spline.SampleEvery(beatTimesS.front(), ResamplingHz, beatTimesS.back());
}

ResampledSeries ResampleForSpectra(std::span<const double> rrMs,
                                   std::span<const double> beatTimesS) {
    ResampledSeries series{rrMs.size(), {}, SpectrumSeriesProblem(rrMs, beatTimesS)};
    if (series.problem.empty() && rrMs.size() >= 2) {
        const CubicSpline spline(beatTimesS, rrMs);
        series.samples = spline.SampleEvery(beatTimesS.front(), ResamplingHz, beatTimesS.back());
    }
    return series;
}

Spectrum WelchSpectrum(std::span<const double> rrMs, std::span<const double> beatTimesS) {
    return WelchSpectrumFromSeries(ResampleForSpectra(rrMs, beatTimesS));
}

Spectrum BurgSpectrum(std::span<const double> rrMs, std::span<const double> beatTimesS) {
    return BurgSpectrumFromSeries(ResampleForSpectra(rrMs, beatTimesS));
}

Spectrum WelchSpectrumFromSeries(const ResampledSeries& series) {
    if (!series.problem.empty()) return Unavailable(series.problem);
    if (series.intervals < 2) return Unavailable("Welch's spectrum needs at least 2 intervals.");
    const std::vector<double>& samples = series.samples;
    if (samples.size() < 2)
        return Unavailable("Welch's spectrum needs at least 2 samples at 4 Hz; the stretch gives " +
                           SamplesText(samples.size()) + ".");
    Spectrum spectrum;
    const std::size_t length = std::min(WelchSegmentLimit, samples.size());
    const std::size_t step = length - length / 2;
    spectrum.segmentSamples = length;
    spectrum.segments = (samples.size() - length) / step + 1;
    spectrum.fftPoints = std::max(length, WelchFftPoints);
    spectrum.resolutionHz = ResamplingHz / static_cast<double>(spectrum.fftPoints);
    const std::vector<double> window = HannWindow(length);
    double windowPower = 0.0;
    for (const double w : window) windowPower += w * w;
    RealForwardTransform transform(spectrum.fftPoints);
    const std::span<double> input = transform.Input();
    std::fill(input.begin(), input.end(), 0.0);
    std::vector<double> summed(spectrum.fftPoints / 2 + 1, 0.0);
    for (std::size_t s = 0; s < spectrum.segments; ++s) {
        const std::span<const double> segment(samples.data() + s * step, length);
        const double mean = Mean(segment);
        for (std::size_t n = 0; n < length; ++n) input[n] = (segment[n] - mean) * window[n];
        transform.Run();
        const auto output = transform.Output();
        for (std::size_t k = 0; k < summed.size(); ++k) summed[k] += std::norm(output[k]);
    }
    FillDensity(spectrum, summed,
                static_cast<double>(spectrum.segments) * ResamplingHz * windowPower);
    return spectrum;
}

Spectrum BurgSpectrumFromSeries(ResampledSeries series) {
    if (!series.problem.empty()) return Unavailable(std::move(series.problem));
    if (series.intervals < 2)
        return Unavailable("The autoregressive spectrum needs at least 2 intervals.");
    std::vector<double>& samples = series.samples;
    if (samples.size() <= BurgOrder)
        return Unavailable("The autoregressive spectrum of order " + std::to_string(BurgOrder) +
                           " needs more than " + SamplesText(BurgOrder) +
                           " at 4 Hz; the stretch gives " + SamplesText(samples.size()) + ".");
    const double mean = Mean(samples);
    for (double& x : samples) x -= mean;
    Spectrum spectrum;
    spectrum.segmentSamples = samples.size();
    spectrum.segments = 1;
    spectrum.fftPoints = BurgFftPoints;
    spectrum.order = BurgOrder;
    spectrum.resolutionHz = ResamplingHz / static_cast<double>(BurgFftPoints);
    const Autoregression model = Burg(std::move(samples), BurgOrder);
    // |A(e^{−2πik/4096})|² from a table of the 4096 roots of unity (k m taken mod 4096).
    std::vector<std::complex<double>> roots(BurgFftPoints);
    for (std::size_t j = 0; j < BurgFftPoints; ++j)
        roots[j] = std::polar(1.0, -2.0 * std::numbers::pi * static_cast<double>(j) /
                                       static_cast<double>(BurgFftPoints));
    // 2σ²/fs; 0 for a series predicted exactly (a constant one).
    const double level = 2.0 * model.noiseVariance / ResamplingHz;
    for (std::size_t k = 0; k <= BurgFftPoints / 2; ++k) {
        std::complex<double> polynomial = 0.0;
        for (std::size_t m = 0; m <= BurgOrder; ++m)
            polynomial += model.coefficients[m] * roots[(k * m) % BurgFftPoints];
        spectrum.frequencyHz.push_back(static_cast<double>(k) * spectrum.resolutionHz);
        spectrum.densityMs2PerHz.push_back(level == 0.0 ? 0.0 : level / std::norm(polynomial));
    }
    return spectrum;
}

}  // namespace ritmova::standard
