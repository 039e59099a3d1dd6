#include "standard/analysis_choices.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

#include "common/command_failure.h"
#include "common/safe_text.h"

namespace ritmova::standard {
namespace {

constexpr CorrectionSettings threshold(ThresholdLevel level) {
    return {CorrectionMethod::Threshold, level,
            ThresholdLevelSeconds[static_cast<std::size_t>(level)]};
}

// A field of digits with at most one point (only the last field may have one); nullopt for
// anything else, signs, exponents and "inf" included.
std::optional<double> fieldValue(std::string_view field, bool last) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const auto points = std::count(field.begin(), field.end(), '.');
    const bool digitsOnly =
        std::all_of(field.begin(), field.end(), [&](char c) { return isDigit(c) || c == '.'; });
    if (!digitsOnly || points > (last ? 1 : 0) || !std::any_of(field.begin(), field.end(), isDigit))
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    if (result.ec != std::errc() || result.ptr != field.data() + field.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator)) {
        parts.push_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    parts.push_back(text);
    return parts;
}

std::string twoDigits(std::int64_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

}  // namespace

const std::array<CorrectionChoice, CorrectionChoiceCount> CorrectionChoices{{
    {"none", "No correction", {}},
    {"threshold:very-low", "Threshold, very low", threshold(ThresholdLevel::VeryLow)},
    {"threshold:low", "Threshold, low", threshold(ThresholdLevel::Low)},
    {"threshold:medium", "Threshold, medium", threshold(ThresholdLevel::Medium)},
    {"threshold:strong", "Threshold, strong", threshold(ThresholdLevel::Strong)},
    {"threshold:very-strong", "Threshold, very strong", threshold(ThresholdLevel::VeryStrong)},
    {"auto", "Automatic", {CorrectionMethod::Automatic, ThresholdLevel::Medium, 0.25}},
}};

std::optional<double> ParseClockTime(std::string_view text) {
    const std::string_view time = trimmed(text);
    if (time.empty()) return std::nullopt;
    const std::vector<std::string_view> fields = split(time, ':');
    double seconds = 0;
    bool valid = fields.size() <= 3;
    for (std::size_t i = 0; valid && i < fields.size(); ++i) {
        const bool last = i + 1 == fields.size();
        const std::optional<double> value = fieldValue(fields[i], last);
        // After a colon, seconds and minutes stay below 60; the first field may be any size.
        valid = value && (i == 0 || *value < 60);
        if (valid) seconds = seconds * 60 + *value;
    }
    if (!valid) {
        throw CommandFailure("'" + SafeText(time) +
                             "' is not a time: give seconds (95), m:ss (1:35) or h:mm:ss "
                             "(1:01:35)");
    }
    return seconds;
}

std::string ClockText(double seconds) {
    const auto millis = static_cast<std::int64_t>(std::llround(seconds * 1000));
    const std::int64_t whole = millis / 1000, hours = whole / 3600;
    const std::int64_t minutes = whole / 60 % 60, rest = whole % 60;
    std::string text =
        hours > 0 ? std::to_string(hours) + ":" + twoDigits(minutes) : std::to_string(minutes);
    text += ":" + twoDigits(rest);
    if (const std::int64_t fraction = millis % 1000; fraction != 0) {
        std::string digits = std::to_string(fraction + 1000).substr(1);
        while (digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return text;
}

std::optional<TimeRange> StepSegment(std::optional<double> fromS, std::optional<double> toS,
                                     double durationS, bool forward, double lengthS) {
    const double complete = std::floor(durationS / lengthS);
    double target = 0;
    if (!fromS && !toS) {
        target = forward ? 0 : complete - 1;
    } else {
        const double from = fromS.value_or(0);
        const double k = std::floor(from / lengthS);
        const bool isSegment = from == k * lengthS && toS && *toS == (k + 1) * lengthS;
        target = isSegment ? (forward ? k + 1 : k - 1) : (forward ? k : k - 1);
    }
    if (!(target >= 0 && target < complete)) return std::nullopt;
    return TimeRange{target * lengthS, (target + 1) * lengthS};
}

std::optional<std::size_t> FindCorrectionChoice(std::string_view text) {
    const auto found = std::find_if(CorrectionChoices.begin(), CorrectionChoices.end(),
                                    [text](const CorrectionChoice& c) { return c.text == text; });
    if (found == CorrectionChoices.end()) return std::nullopt;
    return static_cast<std::size_t>(found - CorrectionChoices.begin());
}

std::string SpectraText(const SpectraShown& shown) {
    std::string text;
    for (std::size_t i = 0; i < SpectrumMethodCount; ++i) {
        if (!shown[i]) continue;
        if (!text.empty()) text += ',';
        text += SpectrumMethodNames[i];
    }
    return text;
}

std::optional<SpectraShown> ParseSpectra(std::string_view text) {
    SpectraShown shown{};
    if (text.empty()) return shown;
    for (const std::string_view name : split(text, ',')) {
        const auto found = std::find(SpectrumMethodNames.begin(), SpectrumMethodNames.end(), name);
        if (found == SpectrumMethodNames.end()) return std::nullopt;
        bool& chosen = shown[static_cast<std::size_t>(found - SpectrumMethodNames.begin())];
        if (chosen) return std::nullopt;
        chosen = true;
    }
    return shown;
}

}  // namespace ritmova::standard
