#pragma once

#include <optional>
#include <string>
#include <utility>

// The standard analysis never gives a silent 0 or NaN: a measure it cannot compute is absent
// and says why.
namespace ritmova::standard {

struct Measured {
    std::optional<double> value;
    std::string reason;  // why the value is absent; empty when it is present

    static Measured Of(double v) { return {v, {}}; }
    static Measured Absent(std::string why) { return {std::nullopt, std::move(why)}; }
    explicit operator bool() const { return value.has_value(); }
};

}  // namespace ritmova::standard
