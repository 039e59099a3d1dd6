#pragma once

#include <string_view>

namespace ritmova::fuzz {

// Well-formed UTF-8: no stray, overlong or surrogate sequences, nothing beyond U+10FFFF.
bool IsUtf8(std::string_view text);

// One JSON document by the grammar of RFC 8259 (strings without raw control bytes, escapes
// checked, numbers without nan or inf), in well-formed UTF-8.
bool IsJson(std::string_view text);

// CSV by RFC 4180 in well-formed UTF-8: quotes closed, every record ended by a line end and
// holding as many fields as the first.
bool IsCsv(std::string_view text);

// Exactly `lines` lines, each ended by CR LF, in well-formed UTF-8 with no control character
// (C0, DEL, C1, the line and paragraph separators) but, where `tabs`, the tab.
bool IsTextOfLines(std::string_view text, std::size_t lines, bool tabs);

}  // namespace ritmova::fuzz
