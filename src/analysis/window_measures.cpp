#include "analysis/window_measures.h"

#include <array>

namespace ritmova {
namespace {

using Row = MeasureRow<WindowAnalysis>;
using Value = std::optional<double>;
constexpr NumberStyle Single = NumberStyle::Single;
constexpr NumberStyle Count = NumberStyle::Count;
constexpr std::string_view TimeGroup = "Time domain";
constexpr std::string_view SpectrumGroup = "Spectrum";
constexpr std::string_view PoincareGroup = "Poincar\u00e9 plot";
constexpr std::string_view RateGroup = "Heart rate";

const PassResults& pass(const WindowAnalysis& a) {
    return a.pass;
}

template <typename Member>
Value rate(const WindowAnalysis& a, Member member) {
    return a.sdAndRates ? Value((*a.sdAndRates).*member) : Value();
}

const Row Rows[] = {
    {"mean_rr", "mean R-R", "s", TimeGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).meanRR; }, Single},
    {"sdnn", "SDNN", "s", TimeGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).timeDomain.sdnn; }, Single},
    {"rmssd", "RMSSD", "s", TimeGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).timeDomain.rmssd; }},
    {"nn50", "NN50", "", TimeGroup, 0,
     [](const WindowAnalysis& a) -> Value { return pass(a).timeDomain.nn50; }, Count},
    {"pnn50", "pNN50", "%", TimeGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).timeDomain.pnn50; }},
    {"vlf", "VLF", "s\u00b2/beat", SpectrumGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).bands.power[VlfBand]; }, Single},
    {"lf", "LF", "s\u00b2/beat", SpectrumGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).bands.power[LfBand]; }, Single},
    {"hf", "HF", "s\u00b2/beat", SpectrumGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).bands.power[HfBand]; }, Single},
    {"total", "Total", "s\u00b2/beat", SpectrumGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).bands.power[TotalBand]; }, Single},
    {"lf_percent", "LF", "%", SpectrumGroup, 1,
     [](const WindowAnalysis& a) -> Value { return pass(a).bands.percent[LfBand]; }, Single},
    {"hf_percent", "HF", "%", SpectrumGroup, 1,
     [](const WindowAnalysis& a) -> Value { return pass(a).bands.percent[HfBand]; }, Single},
    {"lf_hf", "LF/HF", "", SpectrumGroup, 3,
     [](const WindowAnalysis& a) -> Value { return pass(a).lfHf; }, Single},
    {"vlf_peak", "VLF peak", "cycles/beat", SpectrumGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).bands.peakFrequency[VlfBand]; }, Single},
    {"lf_peak", "LF peak", "cycles/beat", SpectrumGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).bands.peakFrequency[LfBand]; }, Single},
    {"hf_peak", "HF peak", "cycles/beat", SpectrumGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).bands.peakFrequency[HfBand]; }, Single},
    {"spectrum_max", "largest power", "s\u00b2/beat", SpectrumGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).spectrumMax.value; }, Single},
    {"poincare_r", "r", "", PoincareGroup, 4,
     [](const WindowAnalysis& a) -> Value { return pass(a).poincareR; }},
    {"h0", "H0", "bits/symbol", MarkovGroup, 3,
     [](const WindowAnalysis& a) -> Value { return a.markov.h0; }, Single},
    {"h1", "H1", "bits/symbol", MarkovGroup, 3,
     [](const WindowAnalysis& a) -> Value { return a.markov.h1; }, Single},
    {"nakahama_index", "Nakahama index", "", MarkovGroup, 3,
     [](const WindowAnalysis& a) {
         return a.markov.nakahamaIndex ? Value(*a.markov.nakahamaIndex) : Value();
     },
     Single},
    {"sd1", "SD1", "s", PoincareGroup, 4,
     [](const WindowAnalysis& a) { return a.sdAndRates ? a.sdAndRates->sd1 : Value(); }},
    {"sd2", "SD2", "s", PoincareGroup, 4,
     [](const WindowAnalysis& a) { return a.sdAndRates ? a.sdAndRates->sd2 : Value(); }},
    {"mean_hr", "mean HR", "bpm", RateGroup, 1,
     [](const WindowAnalysis& a) { return rate(a, &SdAndHeartRates::meanHr); }},
    {"min_hr", "min HR", "bpm", RateGroup, 1,
     [](const WindowAnalysis& a) { return rate(a, &SdAndHeartRates::minHr); }},
    {"max_hr", "max HR", "bpm", RateGroup, 1,
     [](const WindowAnalysis& a) { return rate(a, &SdAndHeartRates::maxHr); }},
    {"artifacts", "artifacts", "", "Artifacts", 0,
     [](const WindowAnalysis& a) -> Value { return static_cast<double>(a.artifacts); }, Count},
};

}  // namespace

MeasureTable<WindowAnalysis> WindowMeasures() {
    return Rows;
}

}  // namespace ritmova
