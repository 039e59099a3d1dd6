#pragma once

#include <span>

#include "common/checked.h"
#include "measures/beat_series.h"

namespace ritmova {

// The transform's data: 256 complex points interleaved from element 1 (element 0 unused).
using TransformData = std::span<double, 2 * BeatCount + 1>;
// Powers in elements 1..128 (element 0 unused; the rest stays as it was).
using SpectrumData = std::span<float, 2 * BeatCount + 1>;

// Pi as written with 8 decimals; the taper and the power scale use this value.
inline constexpr double TaperPi = 3.14159265;

// Removes `mean` from each interval in place and writes the tapered deviations, weighted by
// 0.54 + 0.46 * cos(i * pi / 256), into the real parts of `transform` (imaginary parts are
// left as they are). Throws CommandFailure when a deviation overflows, the intervals before
// it changed.
void TaperDeviations(std::span<float, BeatCount> intervals, float mean, TransformData transform);

// The forward transform of the 256 points.
void TransformSeries(TransformData transform);

// The largest power of a spectrum, and how many powers were computed before it was known.
struct SpectrumMaximum {
    float value = 0;  // 0 when none is above 0
    int powers = 0;

    bool operator==(const SpectrumMaximum&) const = default;
};

// Powers 1..128 from the transform. When a power overflows single precision, throws
// CommandFailure with `maximum` holding the largest of the powers before it.
void ComputePowerSpectrum(TransformData transform, SpectrumData spectrum, SpectrumMaximum& maximum);

// The power of one transform output re + i im: its squared magnitude / 128 * pi. Throws
// CommandFailure when it overflows single precision. Inline: it runs 128 times in every pass.
inline float SpectrumPower(double re, double im) {
    return ToSingle((re * re + im * im) / (256.0 / 2.0) * TaperPi, "the power spectrum");
}

}  // namespace ritmova
