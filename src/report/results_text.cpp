#include "report/results_text.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "common/number_text.h"
#include "common/safe_text.h"

namespace ritmova {
namespace {

// Up to four decimals, no leading zero: ".8706".
template <typename T>
std::string fourDecimals(T value) {
    return FormatNumber(value, "###.####");
}

// Report labels, 21 characters each, in the report's line order.
constexpr std::array<std::string_view, 15> ReportLabels{
    "Mean R-R value (sec):", "SDNN                :", "RMSSD               :",
    "NN50                :", "pNN50               :", "VLF-abs             :",
    "LF-abs              :", "HF-abs              :", "Total-abs           :",
    "LF%                 :", "HF%                 :", "LF/HF               :",
    "VLF peak frequency  :", "LF peak frequency   :", "HF peak frequency   :"};

}  // namespace

ResultTexts FormatResults(const PassResults& r) {
    const TimeDomain& t = r.timeDomain;
    const BandMeasures& b = r.bands;
    return {fourDecimals(r.meanRR),
            fourDecimals(t.sdnn),
            fourDecimals(t.rmssd),
            FormatNumber(t.nn50, "###"),
            fourDecimals(t.pnn50),
            fourDecimals(b.power[VlfBand]),
            fourDecimals(b.power[LfBand]),
            fourDecimals(b.power[HfBand]),
            fourDecimals(b.power[TotalBand]),
            fourDecimals(b.percent[LfBand]),
            fourDecimals(b.percent[HfBand]),
            fourDecimals(r.lfHf),
            fourDecimals(b.peakFrequency[VlfBand]),
            fourDecimals(b.peakFrequency[LfBand]),
            fourDecimals(b.peakFrequency[HfBand])};
}

std::string ResultsSummary(const ResultTexts& v, const std::string& fileName) {
    std::string text;
    text.reserve(512);
    text += "Mean R-R value (sec) = " + v[0] + "    SDNN = " + v[1] + "    " + SafeText(fileName) +
            "\r\n";
    text += "RMSSD = " + v[2] + "    NN50 = " + v[3] + "    pNN50 = " + v[4] + "\r\n\r\n";
    text += "R-R Variability - Absolute Values (sec\u00b2/beat)\r\n";
    text += "VLF = " + v[5] + "    LF = " + v[6] + "    HF = " + v[7] + "    Total = " + v[8];
    text += "\r\n\r\nR-R Variability - Relative Values (%)\r\n";
    text += "LF = " + v[9] + "    HF = " + v[10] + "    LF/HF = " + v[11] + "\r\n\r\n";
    text += "Band Peak Frequencies (cycles/beat)\r\n";
    text += "VLF = " + v[12] + "    LF = " + v[13] + "    HF = " + v[14] + "\r\n\r\n";
    return text;
}

std::string BuildReportText(const ResultTexts& values, const std::string& fileName) {
    std::string text = SafeText(fileName) + "\r\n";
    text.reserve(512);
    for (std::size_t line = 0; line < ReportLabels.size(); ++line) {
        text += ReportLabels[line];
        text += '\t';
        text += values[line];
        text += "\r\n";
    }
    return text;
}

std::string SpectrumCaption(float spectrumMax) {
    const std::string text = NumberText(spectrumMax);
    const std::string cut = text.substr(0, 5);
    const bool exponentCut = text.find('E') != std::string::npos;
    const bool integerCut = std::min(text.find('.'), text.size()) > cut.size();
    const bool digitsCut = spectrumMax != 0 && cut.find_first_of("123456789") == std::string::npos;
    return exponentCut || integerCut || digitsCut ? ShortExponentText(spectrumMax) : cut;
}

}  // namespace ritmova
