#include "standard/spectral_bands.h"

#include <cstdio>
#include <string>

namespace ritmova::standard {

namespace {

std::string Hz(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

// Power and peak of one band; a band with no point of the spectrum has neither.
BandPower MeasureBand(const Spectrum& spectrum, const BandLimits& band) {
    double sum = 0.0, largest = -1.0, peak = 0.0;
    bool any = false;
    for (std::size_t k = 0; k < spectrum.frequencyHz.size(); ++k) {
        const double f = spectrum.frequencyHz[k], density = spectrum.densityMs2PerHz[k];
        if (!(band.lowHz <= f && f < band.highHz)) continue;
        any = true;
        sum += density;
        if (density > largest) largest = density, peak = f;
    }
    if (!any) {
        const Measured none =
            Measured::Absent("No frequency of the spectrum (Δf = " + Hz(spectrum.resolutionHz) +
                             " Hz) lies in the " + std::string(band.label) + " band [" +
                             Hz(band.lowHz) + ", " + Hz(band.highHz) + ") Hz.");
        return {none, none, none};
    }
    return {Measured::Of(sum * spectrum.resolutionHz), Measured::Of(peak), {}};
}

// a / (a + b) style ratios: absent with the first missing part's reason, or when the divisor is 0.
Measured Ratio(const Measured& above, const Measured& below, double scale,
               const std::string& zeroReason) {
    if (!above) return Measured::Absent(above.reason);
    if (!below) return Measured::Absent(below.reason);
    if (*below.value == 0.0) return Measured::Absent(zeroReason);
    return Measured::Of(*above.value / *below.value * scale);
}

Measured Sum(const Measured& a, const Measured& b) {
    if (!a) return a;
    if (!b) return b;
    return Measured::Of(*a.value + *b.value);
}

}  // namespace

BandMeasures MeasureBands(const Spectrum& spectrum) {
    BandMeasures measures;
    if (!spectrum.Available()) {
        const Measured none = Measured::Absent(spectrum.reason);
        for (BandPower& band : measures.bands) band = {none, none, none};
        measures.totalMs2 = measures.lfNu = measures.hfNu = measures.lfHf = none;
        return measures;
    }
    for (std::size_t b = 0; b < BandCount; ++b)
        measures.bands[b] = MeasureBand(spectrum, BandTable[b]);
    const Measured& vlf = measures[Band::Vlf].powerMs2;
    const Measured& lf = measures[Band::Lf].powerMs2;
    const Measured& hf = measures[Band::Hf].powerMs2;
    measures.totalMs2 = Sum(Sum(vlf, lf), hf);
    for (std::size_t b = 0; b < BandCount; ++b) {
        const Measured& power = measures.bands[b].powerMs2;
        measures.bands[b].relativePercent =
            b == static_cast<std::size_t>(Band::Ulf)
                ? Measured::Absent("ULF power lies outside the total power (VLF + LF + HF).")
                : Ratio(power, measures.totalMs2, 100.0, "The total power is 0.");
    }
    const Measured lfPlusHf = Sum(lf, hf);
    measures.lfNu = Ratio(lf, lfPlusHf, 100.0, "LF + HF power is 0.");
    measures.hfNu = Ratio(hf, lfPlusHf, 100.0, "LF + HF power is 0.");
    measures.lfHf = Ratio(lf, hf, 1.0, "HF power is 0.");
    return measures;
}

}  // namespace ritmova::standard
