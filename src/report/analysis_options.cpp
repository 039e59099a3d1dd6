#include "report/analysis_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

namespace ritmova {
namespace {

using namespace standard;

// A positive finite number that is the whole of `text`.
std::optional<double> positiveNumber(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ptr != end || result.ec != std::errc() || !(value > 0) || value > 1e12)
        return std::nullopt;
    return value;
}

// The shortest decimal that reads back to `value`.
std::string shortest(double value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return {text.data(), result.ptr};
}

}  // namespace

std::string ParseSeconds(const std::string& text, std::optional<double>* seconds) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ptr != end || result.ec != std::errc() || !(value >= 0) || value > 1e12)
        return "give seconds as a number from 0 on";
    if (seconds) *seconds = value;
    return "";
}

std::string ParseSegments(const std::string& text, std::optional<double>* segmentS) {
    std::optional<double> length;
    if (text != "whole") {
        const std::string_view view(text);
        if (view.ends_with("min")) {
            length = positiveNumber(view.substr(0, view.size() - 3));
            if (length) *length *= 60;
        } else if (view.ends_with('s')) {
            length = positiveNumber(view.substr(0, view.size() - 1));
        }
        if (!length) return "give whole, or a length such as 5min or 300s";
    }
    if (segmentS) *segmentS = length;
    return "";
}

std::string ParseCorrection(const std::string& text, CorrectionSettings* settings) {
    CorrectionSettings parsed;
    const std::string_view view(text);
    if (view == "auto") {
        parsed.method = CorrectionMethod::Automatic;
    } else if (view.starts_with("threshold:")) {
        parsed.method = CorrectionMethod::Threshold;
        const std::string_view level = view.substr(10);
        const auto* named =
            std::find(ThresholdLevelNames.begin(), ThresholdLevelNames.end() - 1, level);
        if (named != ThresholdLevelNames.end() - 1) {
            parsed.level = static_cast<ThresholdLevel>(named - ThresholdLevelNames.begin());
            parsed.thresholdS = ThresholdLevelSeconds[static_cast<std::size_t>(parsed.level)];
        } else if (const auto seconds = positiveNumber(level)) {
            parsed.level = ThresholdLevel::Custom;
            parsed.thresholdS = *seconds;
        } else {
            return "give threshold:LEVEL (very-low, low, medium, strong, very-strong) or "
                   "threshold:SECONDS";
        }
    } else if (view != "none") {
        return "give none, auto, threshold:LEVEL or threshold:SECONDS";
    }
    if (settings) *settings = parsed;
    return "";
}

std::string ParseUnits(const std::string& text, UnitsChoice* units) {
    UnitsChoice parsed = UnitsChoice::Seconds;
    if (text == "ms") {
        parsed = UnitsChoice::Milliseconds;
    } else if (text == "auto") {
        parsed = UnitsChoice::Auto;
    } else if (text != "s") {
        return "give s, ms or auto";
    }
    if (units) *units = parsed;
    return "";
}

std::string ParseWholeNumber(const std::string& text, unsigned long long minimum,
                             std::size_t* value) {
    unsigned long long parsed = 0;
    const char* end = text.data() + text.size();
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
    const auto result = std::from_chars(text.data(), end, parsed);
    if (!digits || result.ptr != end || result.ec != std::errc() || parsed < minimum ||
        parsed > std::numeric_limits<std::size_t>::max())
        return "give a whole number from " + std::to_string(minimum) + " on";
    if (value) *value = static_cast<std::size_t>(parsed);
    return "";
}

std::string CorrectionText(const CorrectionSettings& settings) {
    switch (settings.method) {
        case CorrectionMethod::Threshold:
            if (settings.level != ThresholdLevel::Custom) {
                return "threshold:" +
                       std::string(ThresholdLevelNames[static_cast<std::size_t>(settings.level)]);
            }
            return "threshold:" + shortest(settings.thresholdS);
        case CorrectionMethod::Automatic:
            return "auto";
        case CorrectionMethod::None:
            break;
    }
    return "none";
}

}  // namespace ritmova
