#pragma once

#include <optional>
#include <span>
#include <string_view>

// One table lists every measure once; every output column, view row and report row is made
// from it. A new measure touches its function, its row and its test.
namespace ritmova {

// How outputs write a measure's value: the shortest decimal that reads back to it in double
// precision, or in single precision for a measure computed as such, or a whole count.
enum class NumberStyle { Double, Single, Count };

// One measure of a results record `Results`.
template <typename Results>
struct MeasureRow {
    std::string_view key;    // the output key, unit included where it has one: "sdnn_ms"
    std::string_view label;  // what a person reads: "SDNN"
    std::string_view unit;   // "ms", "ms²", "Hz", "bpm", "%"; empty when it has none
    std::string_view group;  // the domain it belongs to: "Time domain", "Welch", ...
    int decimals;            // places shown in views and reports (outputs keep every bit)
    std::optional<double> (*value)(const Results&);  // absent when it could not be computed
    NumberStyle style = NumberStyle::Double;
};

template <typename Results>
using MeasureTable = std::span<const MeasureRow<Results>>;

// The row of `key`; nullptr when the table has none.
template <typename Results>
const MeasureRow<Results>* FindMeasure(MeasureTable<Results> table, std::string_view key) {
    for (const MeasureRow<Results>& row : table) {
        if (row.key == key) return &row;
    }
    return nullptr;
}

}  // namespace ritmova
