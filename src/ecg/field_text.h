#pragma once

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace ritmova::ecg {

// Whole-token number reading, locale-free; nullopt when the token is not wholly a number of
// that type or does not fit it.
template <typename Integer>
std::optional<Integer> WholeInteger(std::string_view token) {
    Integer value{};
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (token.empty() || error != std::errc() || end != token.data() + token.size())
        return std::nullopt;
    return value;
}

inline std::optional<double> WholeNumber(std::string_view token) {
    double value = 0;
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (token.empty() || error != std::errc() || end != token.data() + token.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

inline std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace ritmova::ecg
