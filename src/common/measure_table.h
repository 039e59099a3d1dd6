#pragma once

#include <optional>
#include <span>
#include <string_view>

// One table lists every measure once; every output column, view row and report row is made
// from it. A new measure touches its function, its row and its test.
namespace ritmova {

// One measure of a results record `Results`.
template <typename Results>
struct MeasureRow {
    std::string_view key;    // the output key, unit included where it has one: "sdnn_ms"
    std::string_view label;  // what a person reads: "SDNN"
    std::string_view unit;   // "ms", "ms²", "Hz", "bpm", "%"; empty when it has none
    std::string_view group;  // the domain it belongs to: "Time domain", "Welch", ...
    int decimals;            // places shown in views and reports (outputs keep every bit)
    std::optional<double> (*value)(const Results&);  // absent when it could not be computed
};

template <typename Results>
using MeasureTable = std::span<const MeasureRow<Results>>;

}  // namespace ritmova
