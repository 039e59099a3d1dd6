#include "report/results_text.h"

#include <array>
#include <string_view>

#include "common/number_text.h"
#include "spectral/band_measures.h"

namespace ritmova {
namespace {

constexpr std::string_view CrLf = "\r\n";
constexpr std::string_view Sep = "    ";

template <typename T>
std::string F4(T value) {
    return FormatNumber(value, "###.####");
}
std::string F0(std::int16_t value) { return FormatNumber(value, "###"); }

}  // namespace

std::string ResultsSummary(const AnalysisState& s, const PassValues& pass) {
    const TimeDomainValues& t = pass.timeDomain;
    std::string text;
    text.reserve(512);
    text += "Mean R-R value (sec) = " + F4(s.MeanRR) + "    SDNN = " + F4(s.SDNN);
    text += std::string(Sep) + pass.InputFileName + std::string(CrLf);
    text += "RMSSD = " + F4(t.RMSSD) + "    NN50 = " + F0(t.NN50);
    text += "    pNN50 = " + F4(t.PNN50) + std::string(CrLf) + std::string(CrLf);

    text += "R-R Variability - Absolute Values (sec\u00b2/beat)\r\n";
    text += "VLF = " + F4(s.BandPower[1]) + "    LF = " + F4(s.BandPower[2]);
    text += "    HF = " + F4(s.BandPower[3]) + "    Total = " + F4(s.BandPower[0]) + "\r\n\r\n";

    text += "R-R Variability - Relative Values (%)\r\n";
    text += "LF = " + F4(s.BandPercent[2]) + "    HF = " + F4(s.BandPercent[3]);
    text += "    LF/HF = " + F4(LfHfRatio(s)) + "\r\n\r\n";

    text += "Band Peak Frequencies (cycles/beat)\r\n";
    text += "VLF = " + F4(s.PeakFrequency[1]) + "    LF = " + F4(s.PeakFrequency[2]);
    text += "    HF = " + F4(s.PeakFrequency[3]) + "\r\n\r\n";
    return text;
}

std::string BuildReportText(const AnalysisState& s, const PassValues& pass) {
    const TimeDomainValues& t = pass.timeDomain;
    const std::array<std::pair<std::string_view, std::string>, 15> lines{{
        {"Mean R-R value (sec):", F4(s.MeanRR)},
        {"SDNN                :", F4(s.SDNN)},
        {"RMSSD               :", F4(t.RMSSD)},
        {"NN50                :", F0(t.NN50)},
        {"pNN50               :", F4(t.PNN50)},
        {"VLF-abs             :", F4(s.BandPower[1])},
        {"LF-abs              :", F4(s.BandPower[2])},
        {"HF-abs              :", F4(s.BandPower[3])},
        {"Total-abs           :", F4(s.BandPower[0])},
        {"LF%                 :", F4(s.BandPercent[2])},
        {"HF%                 :", F4(s.BandPercent[3])},
        {"LF/HF               :", F4(LfHfRatio(s))},
        {"VLF peak frequency  :", F4(s.PeakFrequency[1])},
        {"LF peak frequency   :", F4(s.PeakFrequency[2])},
        {"HF peak frequency   :", F4(s.PeakFrequency[3])},
    }};
    std::string text = pass.InputFileName + std::string(CrLf);
    for (const auto& [label, value] : lines) {
        text += label;
        text += '\t';
        text += value;
        text += CrLf;
    }
    return text;
}

}  // namespace ritmova
