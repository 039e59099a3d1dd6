#pragma once

#include <array>
#include <span>

namespace ritmova {

// The bands' measures; index 0 is the total, then VLF, LF and HF.
enum BandIndex : std::size_t { TotalBand = 0, VlfBand = 1, LfBand = 2, HfBand = 3 };

struct BandMeasures {
    std::array<float, 4> power{};          // the absolute powers and the total
    std::array<float, 4> percent{};        // LF and HF of Total - VLF
    std::array<float, 4> peakFrequency{};  // cycles/beat

    bool operator==(const BandMeasures&) const = default;
};

// Power spectrum elements of each band, inclusive: VLF 1..10, LF 11..38, HF 39..102.
struct Band {
    BandIndex index;
    int first;
    int last;
};
inline constexpr Band Bands[] = {{VlfBand, 1, 10}, {LfBand, 11, 38}, {HfBand, 39, 102}};

// Band powers, total, peak frequencies (peak element index / 256) and LF%, HF% of
// Total - VLF from the powers in spectrum[1..128], into `bands`, which starts cleared.
// Throws CommandFailure when a sum overflows or LF and HF hold no power, with the measures
// before it in place.
void ComputeBandMeasures(std::span<const float> spectrum, BandMeasures& bands);

// LF/HF in single precision; throws CommandFailure when HF holds no power.
float LfHfRatio(const BandMeasures& bands);

}  // namespace ritmova
