#include "common/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace ritmova {
namespace {

// |value| as significant digits d1 d2 ... dn, meaning 0.d1d2...dn * 10^pointPosition.
struct Decimal {
    std::string digits;
    int pointPosition = 0;
};

Decimal toDecimal(double magnitude, int significantDigits) {
    if (magnitude == 0) return {"0", 1};
    // Correctly rounded to the precision's significant digits, as printf's %.6e or %.14e.
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                   std::chars_format::scientific, significantDigits - 1)
                         .ptr;
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const auto e = text.find('e');
    Decimal decimal;
    decimal.digits.reserve(static_cast<std::size_t>(significantDigits));
    for (char c : text.substr(0, e))
        if (c != '.') decimal.digits += c;
    int exponent = 0;
    const char* exponentStart = buffer + e + 1 + (buffer[e + 1] == '+' ? 1 : 0);
    std::from_chars(exponentStart, end, exponent);
    decimal.pointPosition = exponent + 1;
    return decimal;
}

// Rounds to `places` digits after the point, halves away from zero, and returns the integer
// and fraction digits (the fraction exactly `places` long, the integer part maybe empty).
std::pair<std::string, std::string> roundTo(const Decimal& d, int places) {
    // Digits of the value from the most significant one, padded so that index pointPosition
    // is the first fraction digit.
    std::string all = d.digits;
    int point = d.pointPosition;
    if (point < 0) {
        all.insert(0, static_cast<std::size_t>(-point), '0');
        point = 0;
    }
    const auto keep = static_cast<std::size_t>(point + places);
    if (all.size() < keep) all.append(keep - all.size(), '0');
    const bool roundUp = all.size() > keep && all[keep] >= '5';
    all.resize(keep);
    if (roundUp) {
        std::size_t i = keep;
        while (i > 0 && all[i - 1] == '9') all[--i] = '0';
        if (i == 0) {
            all.insert(0, 1, '1');
            ++point;
        } else {
            ++all[i - 1];
        }
    }
    const auto integerLength = static_cast<std::size_t>(point);
    return {all.substr(0, integerLength), all.substr(integerLength)};
}

std::string format(double value, int significantDigits, std::string_view pattern) {
    const auto first = pattern.find_first_of("#0.");
    const auto last = pattern.find_last_of("#0.");
    if (first == std::string_view::npos) throw std::invalid_argument("pattern without digits");
    const auto body = pattern.substr(first, last - first + 1);
    const auto point = body.find('.');
    const auto integerPart = body.substr(0, point);
    const auto fractionPart = point == std::string_view::npos ? "" : body.substr(point + 1);

    auto [integer, fraction] = roundTo(toDecimal(std::fabs(value), significantDigits),
                                       static_cast<int>(fractionPart.size()));
    integer.erase(0, integer.find_first_not_of('0'));
    const auto forcedInteger =
        static_cast<std::size_t>(std::count(integerPart.begin(), integerPart.end(), '0'));
    if (integer.size() < forcedInteger) integer.insert(0, forcedInteger - integer.size(), '0');
    // A '#' at the end of the fraction drops a trailing zero; a '0' keeps it.
    while (!fraction.empty() && fractionPart[fraction.size() - 1] == '#' && fraction.back() == '0')
        fraction.pop_back();

    std::string text = value < 0 ? "-" : "";
    text += pattern.substr(0, first);
    text += integer;
    if (point != std::string_view::npos) text += '.' + fraction;
    text += pattern.substr(last + 1);
    return text;
}

std::string generalText(double value, int significantDigits) {
    std::string text = value < 0 ? "-" : " ";
    Decimal d = toDecimal(std::fabs(value), significantDigits);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    if (d.digits.empty()) return text + "0";
    const int exponent = d.pointPosition - 1;
    if (exponent < -4 || exponent >= significantDigits) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "E%c%02d", exponent < 0 ? '-' : '+',
                      std::abs(exponent));
        text += d.digits.substr(0, 1);
        if (d.digits.size() > 1) text += '.' + d.digits.substr(1);
        return text + suffix;
    }
    if (d.pointPosition <= 0) {
        return text + '.' + std::string(static_cast<std::size_t>(-d.pointPosition), '0') + d.digits;
    }
    const auto integerLength = static_cast<std::size_t>(d.pointPosition);
    if (d.digits.size() <= integerLength) {
        return text + d.digits + std::string(integerLength - d.digits.size(), '0');
    }
    return text + d.digits.substr(0, integerLength) + '.' + d.digits.substr(integerLength);
}

}  // namespace

std::string FormatNumber(float value, std::string_view pattern) {
    return format(value, 7, pattern);
}
std::string FormatNumber(double value, std::string_view pattern) {
    return format(value, 15, pattern);
}
std::string FormatNumber(std::int16_t value, std::string_view pattern) {
    return format(value, 15, pattern);
}

std::string ShortExponentText(float value) {
    Decimal d = toDecimal(std::fabs(value), 7);
    int exponent = d.digits == "0" ? 0 : d.pointPosition - 1;
    d.pointPosition = 1;  // d1.d2d3...
    auto [integer, fraction] = roundTo(d, 1);
    if (integer.size() > 1) {  // 9.96 rounded to 10.0
        integer = "1";
        fraction = "0";
        ++exponent;
    }
    return (value < 0 ? "-" : "") + integer + '.' + fraction + 'e' + std::to_string(exponent);
}

std::string CountText(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + ' ' + std::string(count == 1 ? one : many);
}

std::string NumberText(float value) {
    return generalText(value, 7);
}
std::string NumberText(double value) {
    return generalText(value, 15);
}

}  // namespace ritmova
