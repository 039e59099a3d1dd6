#include "measures/power_spectrum.h"

#include <array>
#include <cmath>

#include "measures/fourier_transform.h"

namespace ritmova {
namespace {

// The taper weights 0.46 * cos(i * pi / 256) + 0.54, i = 1..256, computed once.
const std::array<double, BeatCount + 1>& TaperWeights() {
    static const std::array<double, BeatCount + 1> weights = [] {
        std::array<double, BeatCount + 1> w{};
        for (int i = 1; i <= BeatCount; ++i) {
            const double c = std::cos(static_cast<double>(i) * TaperPi / 256.0);
            w[static_cast<std::size_t>(i)] = 0.46 * c + 0.54;
        }
        return w;
    }();
    return weights;
}

}  // namespace

void TaperDeviations(std::span<float, BeatCount> intervals, float mean, TransformData transform) {
    const auto& taper = TaperWeights();
    for (std::size_t i = 1; i <= BeatCount; ++i) {
        float& value = intervals[i - 1];
        value = CheckedSingle(value - mean, "a mean-removed interval");
        transform[2 * i - 1] = double{value} * taper[i];
    }
}

void TransformSeries(TransformData transform) {
    FourierTransform(BeatCount, transform, 1);
}

void ComputePowerSpectrum(TransformData transform, SpectrumData spectrum,
                          SpectrumMaximum& maximum) {
    maximum = {};
    for (std::size_t k = 1; k <= 255; k += 2) {
        float& power = spectrum[k / 2 + 1];
        power = SpectrumPower(transform[k], transform[k + 1]);
        ++maximum.powers;
        if (power > maximum.value) maximum.value = power;
    }
}

}  // namespace ritmova
