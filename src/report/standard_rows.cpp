#include "report/standard_rows.h"

#include <charconv>
#include <cmath>

#include "common/safe_text.h"
#include "report/analysis_options.h"
#include "standard/geometric.h"
#include "standard/measure_rows.h"
#include "standard/nonlinear.h"
#include "standard/spectral_bands.h"

namespace ritmova {
namespace {

using namespace standard;

std::string count(std::size_t value) {
    return std::to_string(value);
}

// "1:02:03" or "2:03.4": hours only when there are any, tenths of a second.
std::string clockText(double seconds) {
    const double tenths = std::round(seconds * 10);
    const auto whole = static_cast<long long>(tenths / 10);
    const long long hours = whole / 3600, minutes = whole / 60 % 60;
    std::string text = hours > 0 ? std::to_string(hours) + ":" : "";
    if (hours > 0 && minutes < 10) text += '0';
    text += std::to_string(minutes) + ":";
    const double rest = tenths / 10 - static_cast<double>(whole - whole % 60);
    return text + (rest < 10 ? "0" : "") + FixedText(rest, 1);
}

std::string stretchText(const StretchResults& r, const StretchChoice& choice) {
    const Stretch& s = r.stretch;
    std::string text = "beats " + count(s.firstBeat) + "-" + count(s.lastBeat) + ", " +
                       FixedText(s.startS, 1) + " to " + FixedText(s.endS, 1) + " s (" +
                       clockText(s.endS - s.startS) + "), " + count(s.intervals()) +
                       " intervals, " + count(r.intervals) + " analysed";
    if (s.segment > 0) text += ", segment " + count(s.segment);
    if (!choice.fromS && !choice.toS) return text + "; the whole recording";
    text += "; asked";
    if (choice.fromS) text += " from " + FixedText(*choice.fromS, 1) + " s";
    if (choice.toS) text += " to " + FixedText(*choice.toS, 1) + " s";
    return text;
}

std::string correctionText(const CorrectionRecord& c) {
    std::string text = CorrectionText(c.settings);
    if (c.settings.method == CorrectionMethod::None) return text;
    if (c.settings.method == CorrectionMethod::Threshold) {
        text += " (" + FixedText(c.thresholdMs, 1) + " ms from the local median)";
    } else {
        text += " (" + std::to_string(c.rounds) + " rounds;";
        for (std::size_t k = 1; k < BeatClassCount; ++k)
            text += std::string(k > 1 ? "," : "") + " " + std::string(BeatClassNames[k]) + " " +
                    count(c.classCounts[k]);
        text += ")";
    }
    text += ": " + count(c.correctedBeats.size()) + " of " + count(c.intervalsBefore) +
            " intervals corrected (" + FixedText(c.correctedPercent, 2) + " %)";
    if (c.unreliable) text += "; unreliable, above " + FixedText(UnreliablePercent, 0) + " %";
    return text;
}

std::string spectraText(const StretchResults& r) {
    const Spectrum& welch = r.spectra[0];
    const Spectrum& lomb = r.spectra[1];
    const Spectrum& burg = r.spectra[2];
    const auto resolution = [](const Spectrum& s) {
        return s.Available() ? ", Δf " + FixedText(s.resolutionHz, 5) + " Hz" : ", " + s.reason;
    };
    return "Welch: " + count(welch.segments) + " Hann segments of " + count(welch.segmentSamples) +
           " samples of the 4-Hz spline" + resolution(welch) + "; Lomb-Scargle at the beat times" +
           resolution(lomb) + "; Burg order " + count(burg.order) + resolution(burg);
}

std::string bandsText() {
    std::string text;
    for (const BandLimits& band : BandTable) {
        if (!text.empty()) text += ", ";
        text += std::string(band.label) + " " + FixedText(band.lowHz, 3) + "-" +
                FixedText(band.highHz, 3);
    }
    return text + " Hz (low <= f < high)";
}

std::string otherSettingsText(const StretchResults& r) {
    const auto boxes = [](int first, int last) {
        return std::to_string(first) + "-" + std::to_string(last) + " beats";
    };
    return "histogram bins " + FixedText(HistogramBinMs, 4) + " ms; DFA α1 over " +
           boxes(DfaShortFirst, DfaShortLast) + ", α2 over " + boxes(DfaLongFirst, DfaLongLast) +
           "; entropy m = " + std::to_string(EntropyTemplateLength) +
           ", r = " + FixedText(EntropyToleranceFactor, 1) +
           " SDNN = " + FixedText(r.entropy.toleranceMs, 2) + " ms";
}

}  // namespace

std::string FixedText(double value, int decimals) {
    if (!std::isfinite(value)) return "";
    char text[400];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string fixed(text, result.ptr);
    if (fixed.starts_with('-') && fixed.find_first_not_of("-0.") == std::string::npos)
        fixed.erase(0, 1);
    return fixed;
}

std::vector<StandardRowText> StandardRowTexts(const StretchResults& results) {
    const MeasureTable<StretchResults> table = StandardMeasureTable();
    std::vector<StandardRowText> rows;
    rows.reserve(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const StandardMeasureRow& row = table[i];
        StandardRowText text{row.group, row.label, {}, row.unit, {}};
        if (const std::optional<double> value = row.value(results)) {
            text.value = FixedText(*value, row.decimals);
        } else {
            text.reason = ReasonAbsent(results, i);
        }
        rows.push_back(std::move(text));
    }
    return rows;
}

std::vector<SummaryLine> StandardSummaryLines(const StretchResults& results,
                                              const StandardSummaryInput& input) {
    return {
        {"File", SafeText(input.file)},
        {"Values", input.units == Units::Milliseconds ? "read in ms" : "read in s, ms = s × 1000"},
        {"Stretch", stretchText(results, input.choice)},
        {"Correction", correctionText(results.correction)},
        {"Spectra", spectraText(results)},
        {"Bands", bandsText()},
        {"Other", otherSettingsText(results)},
    };
}

std::string StandardResultsTsv(const StretchResults& results, const StandardSummaryInput& input) {
    std::string text;
    for (const SummaryLine& line : StandardSummaryLines(results, input))
        text += line.label + '\t' + line.text + '\n';
    text += "\nGroup\tMeasure\tValue\tUnit\tReason\n";
    for (const StandardRowText& row : StandardRowTexts(results)) {
        text += std::string(row.group) + '\t' + std::string(row.label) + '\t' + row.value + '\t' +
                std::string(row.unit) + '\t' + SafeText(row.reason) + '\n';
    }
    return text;
}

}  // namespace ritmova
