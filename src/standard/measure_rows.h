#pragma once

#include <array>
#include <string_view>

#include "common/measure_table.h"
#include "standard/stretch_analysis.h"

// The standard analysis's measure table: every measure of StretchResults once, in MeasureId
// order. Outputs, views and reports are made from it.
namespace ritmova::standard {

using StandardMeasureRow = MeasureRow<StretchResults>;

// The rows, row i being MeasureId i.
MeasureTable<StretchResults> StandardMeasureTable();

// Why the measure of row `row` is absent in `results`; empty when it is present.
std::string_view ReasonAbsent(const StretchResults& results, std::size_t row);

// The groups the rows belong to, in the table's order: the label a row names, and the key
// outputs use for it.
struct MeasureGroup {
    std::string_view label;
    std::string_view key;
};
inline constexpr std::size_t MeasureGroupCount = 10;
inline constexpr std::array<MeasureGroup, MeasureGroupCount> MeasureGroups{{
    {"Time domain", "time_domain"},
    {"Heart rate", "heart_rate"},
    {"5-min segments", "five_minute"},
    {"Geometric", "geometric"},
    {"Welch", "welch"},
    {"Lomb-Scargle", "lomb_scargle"},
    {"Autoregressive", "autoregressive"},
    {"Poincaré", "poincare"},
    {"DFA", "dfa"},
    {"Entropy", "entropy"},
}};

}  // namespace ritmova::standard
