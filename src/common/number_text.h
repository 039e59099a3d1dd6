#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Number-to-text forms shown in the window, the report and the Markov panel.
namespace ritmova {

// A number through a format pattern. '#' is a digit shown only when significant, '0' a digit
// always shown, '.' the decimal point (always written); other characters are copied. Integer
// digits beyond the pattern's places are still shown. The value is first taken at its own
// precision (7 significant digits for a float, 15 for a double), then rounded to the
// pattern's decimal places, halves away from zero. A negative value gets '-' in front.
std::string FormatNumber(float value, std::string_view pattern);
std::string FormatNumber(double value, std::string_view pattern);
std::string FormatNumber(std::int16_t value, std::string_view pattern);

// The general text form: ' ' or '-' in front, no zero before the point below 1, no trailing
// zeros, up to 7 (float) or 15 (double) significant digits; exponent form (1E-05,
// 1.234568E+07) below 1e-4 and from 10^digits on.
std::string NumberText(float value);
std::string NumberText(double value);

// Two significant digits and a short exponent, for a label of few characters: "2.5e-8",
// "7.3e6", "-1.0e-7". The value is first taken at a float's 7 significant digits, then
// rounded, halves away from zero, as FormatNumber does.
std::string ShortExponentText(float value);

// A count with its noun in English number: "1 window", "0 windows", "7 windows".
std::string CountText(std::size_t count, std::string_view one, std::string_view many);

}  // namespace ritmova
