#include "measures/band_measures.h"

#include "common/checked.h"

namespace ritmova {
namespace {

void measureBand(std::span<const float> spectrum, BandMeasures& bands, const Band& band) {
    float runningMax = 0;
    float& power = bands.power[band.index];
    float& peak = bands.peakFrequency[band.index];
    for (std::size_t i = static_cast<std::size_t>(band.first);
         i <= static_cast<std::size_t>(band.last); ++i) {
        power = CheckedSingle(power + spectrum[i], "a band power");
        if (spectrum[i] > runningMax) {
            runningMax = spectrum[i];
            peak = static_cast<float>(i);
        }
    }
    // The element index over 256: one resolution step above the element's own frequency.
    peak = peak * 0.001953125f * 2.0f;
    bands.power[TotalBand] = CheckedSingle(bands.power[TotalBand] + power, "the total power");
}

// A single-precision quotient; a zero divisor is a fault, as is an overflowing result.
float divide(float dividend, float divisor, const char* zeroReason, const char* what) {
    if (divisor == 0) throw CommandFailure(zeroReason);
    return CheckedSingle(dividend / divisor, what);
}

}  // namespace

void ComputeBandMeasures(std::span<const float> spectrum, BandMeasures& bands) {
    bands = {};
    for (const Band& band : Bands) measureBand(spectrum, bands, band);
    for (const BandIndex band : {LfBand, HfBand}) {
        const float base = bands.power[TotalBand] - bands.power[VlfBand];
        const float share = divide(bands.power[band], base, "no power in the LF and HF bands",
                                   "a relative band power");
        bands.percent[band] = CheckedSingle(share * 100.0f, "a relative band power");
    }
}

float LfHfRatio(const BandMeasures& bands) {
    return divide(bands.power[LfBand], bands.power[HfBand],
                  "no power in the HF band: LF/HF is undefined", "LF/HF");
}

}  // namespace ritmova
