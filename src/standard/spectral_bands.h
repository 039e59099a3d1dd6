#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "standard/measured.h"
#include "standard/spectra.h"

// The band measures of a spectrum in Hz: a point f_k belongs to a band when lo <= f_k < hi;
// band power = (sum of the density at its points) × Δf.
namespace ritmova::standard {

enum class Band { Ulf, Vlf, Lf, Hf };
inline constexpr std::size_t BandCount = 4;

struct BandLimits {
    std::string_view key;  // "ulf", "vlf", "lf", "hf"
    std::string_view label;
    double lowHz, highHz;
};
inline constexpr std::array<BandLimits, BandCount> BandTable{{
    {"ulf", "ULF", 0.0, 0.003},
    {"vlf", "VLF", 0.003, 0.04},
    {"lf", "LF", 0.04, 0.15},
    {"hf", "HF", 0.15, 0.4},
}};

struct BandPower {
    Measured powerMs2;
    Measured peakHz;           // the first largest point of the band
    Measured relativePercent;  // of the total; ULF, outside the total, has none
};

struct BandMeasures {
    std::array<BandPower, BandCount> bands;  // indexed by Band
    Measured totalMs2;                       // VLF + LF + HF
    Measured lfNu, hfNu;                     // LF or HF / (LF + HF) × 100
    Measured lfHf;                           // LF / HF

    const BandPower& operator[](Band band) const { return bands[static_cast<std::size_t>(band)]; }
};

// Every measure of a spectrum without points is absent with the spectrum's reason.
BandMeasures MeasureBands(const Spectrum& spectrum);

}  // namespace ritmova::standard
