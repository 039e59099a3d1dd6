#include "standard/measure_rows.h"

#include <utility>

namespace ritmova::standard {
namespace {

// A row without its value: key, label, unit, group, decimals.
struct RowText {
    std::string_view key, label, unit, group;
    int decimals;
};

constexpr std::array<RowText, MeasureCount> RowTexts{{
    {"mean_nn_ms", "Mean NN", "ms", "Time domain", 1},
    {"median_nn_ms", "Median NN", "ms", "Time domain", 1},
    {"min_nn_ms", "Minimum NN", "ms", "Time domain", 1},
    {"max_nn_ms", "Maximum NN", "ms", "Time domain", 1},
    {"sdnn_ms", "SDNN", "ms", "Time domain", 1},
    {"cvnn", "CVNN", "", "Time domain", 4},
    {"rmssd_ms", "RMSSD", "ms", "Time domain", 1},
    {"sdsd_ms", "SDSD", "ms", "Time domain", 1},
    {"cvsd", "CVSD", "", "Time domain", 4},
    {"nn50", "NN50", "", "Time domain", 0},
    {"pnn50_percent", "pNN50", "%", "Time domain", 2},
    {"nn20", "NN20", "", "Time domain", 0},
    {"pnn20_percent", "pNN20", "%", "Time domain", 2},
    {"iqr_ms", "IQR", "ms", "Time domain", 1},
    {"mean_hr_bpm", "Mean heart rate", "bpm", "Heart rate", 1},
    {"sd_hr_bpm", "SD of heart rate", "bpm", "Heart rate", 1},
    {"min_hr_bpm", "Minimum heart rate", "bpm", "Heart rate", 1},
    {"max_hr_bpm", "Maximum heart rate", "bpm", "Heart rate", 1},
    {"sdann_ms", "SDANN", "ms", "5-min segments", 1},
    {"sdnn_index_ms", "SDNN index", "ms", "5-min segments", 1},
    {"hrv_triangular_index", "HRV triangular index", "", "Geometric", 2},
    {"tinn_ms", "TINN", "ms", "Geometric", 1},
    {"ulf_ms2", "ULF power", "ms²", "Welch", 1},
    {"vlf_ms2", "VLF power", "ms²", "Welch", 1},
    {"lf_ms2", "LF power", "ms²", "Welch", 1},
    {"hf_ms2", "HF power", "ms²", "Welch", 1},
    {"total_power_ms2", "Total power", "ms²", "Welch", 1},
    {"vlf_percent", "VLF relative power", "%", "Welch", 2},
    {"lf_percent", "LF relative power", "%", "Welch", 2},
    {"hf_percent", "HF relative power", "%", "Welch", 2},
    {"lf_nu", "LF", "n.u.", "Welch", 2},
    {"hf_nu", "HF", "n.u.", "Welch", 2},
    {"lf_hf", "LF/HF", "", "Welch", 3},
    {"ulf_peak_hz", "ULF peak", "Hz", "Welch", 4},
    {"vlf_peak_hz", "VLF peak", "Hz", "Welch", 4},
    {"lf_peak_hz", "LF peak", "Hz", "Welch", 4},
    {"hf_peak_hz", "HF peak", "Hz", "Welch", 4},
    {"ls_ulf_ms2", "LS ULF power", "ms²", "Lomb-Scargle", 1},
    {"ls_vlf_ms2", "LS VLF power", "ms²", "Lomb-Scargle", 1},
    {"ls_lf_ms2", "LS LF power", "ms²", "Lomb-Scargle", 1},
    {"ls_hf_ms2", "LS HF power", "ms²", "Lomb-Scargle", 1},
    {"ls_total_power_ms2", "LS Total power", "ms²", "Lomb-Scargle", 1},
    {"ls_vlf_percent", "LS VLF relative power", "%", "Lomb-Scargle", 2},
    {"ls_lf_percent", "LS LF relative power", "%", "Lomb-Scargle", 2},
    {"ls_hf_percent", "LS HF relative power", "%", "Lomb-Scargle", 2},
    {"ls_lf_nu", "LS LF", "n.u.", "Lomb-Scargle", 2},
    {"ls_hf_nu", "LS HF", "n.u.", "Lomb-Scargle", 2},
    {"ls_lf_hf", "LS LF/HF", "", "Lomb-Scargle", 3},
    {"ls_ulf_peak_hz", "LS ULF peak", "Hz", "Lomb-Scargle", 4},
    {"ls_vlf_peak_hz", "LS VLF peak", "Hz", "Lomb-Scargle", 4},
    {"ls_lf_peak_hz", "LS LF peak", "Hz", "Lomb-Scargle", 4},
    {"ls_hf_peak_hz", "LS HF peak", "Hz", "Lomb-Scargle", 4},
    {"ar_ulf_ms2", "AR ULF power", "ms²", "Autoregressive", 1},
    {"ar_vlf_ms2", "AR VLF power", "ms²", "Autoregressive", 1},
    {"ar_lf_ms2", "AR LF power", "ms²", "Autoregressive", 1},
    {"ar_hf_ms2", "AR HF power", "ms²", "Autoregressive", 1},
    {"ar_total_power_ms2", "AR Total power", "ms²", "Autoregressive", 1},
    {"ar_vlf_percent", "AR VLF relative power", "%", "Autoregressive", 2},
    {"ar_lf_percent", "AR LF relative power", "%", "Autoregressive", 2},
    {"ar_hf_percent", "AR HF relative power", "%", "Autoregressive", 2},
    {"ar_lf_nu", "AR LF", "n.u.", "Autoregressive", 2},
    {"ar_hf_nu", "AR HF", "n.u.", "Autoregressive", 2},
    {"ar_lf_hf", "AR LF/HF", "", "Autoregressive", 3},
    {"ar_ulf_peak_hz", "AR ULF peak", "Hz", "Autoregressive", 4},
    {"ar_vlf_peak_hz", "AR VLF peak", "Hz", "Autoregressive", 4},
    {"ar_lf_peak_hz", "AR LF peak", "Hz", "Autoregressive", 4},
    {"ar_hf_peak_hz", "AR HF peak", "Hz", "Autoregressive", 4},
    {"sd1_ms", "SD1", "ms", "Poincaré", 1},
    {"sd2_ms", "SD2", "ms", "Poincaré", 1},
    {"sd2_sd1", "SD2/SD1", "", "Poincaré", 3},
    {"ellipse_area_ms2", "Ellipse area", "ms²", "Poincaré", 0},
    {"dfa_alpha1", "DFA α1", "", "DFA", 3},
    {"dfa_alpha2", "DFA α2", "", "DFA", 3},
    {"sampen", "Sample entropy", "", "Entropy", 3},
    {"apen", "Approximate entropy", "", "Entropy", 3},
}};

template <std::size_t Row>
std::optional<double> valueOf(const StretchResults& results) {
    return results.measures[Row].value;
}

template <std::size_t... Rows>
constexpr std::array<StandardMeasureRow, MeasureCount> makeRows(std::index_sequence<Rows...>) {
    return {{StandardMeasureRow{RowTexts[Rows].key, RowTexts[Rows].label, RowTexts[Rows].unit,
                                RowTexts[Rows].group, RowTexts[Rows].decimals, &valueOf<Rows>}...}};
}

constexpr std::array<StandardMeasureRow, MeasureCount> Rows =
    makeRows(std::make_index_sequence<MeasureCount>());

}  // namespace

MeasureTable<StretchResults> StandardMeasureTable() {
    return Rows;
}

std::string_view ReasonAbsent(const StretchResults& results, std::size_t row) {
    return results.measures[row].reason;
}

}  // namespace ritmova::standard
