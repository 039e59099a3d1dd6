#pragma once

#include <string>
#include <string_view>

namespace ritmova {

// Bytes from a file, or a file name, made safe to show on a terminal, in the status bar and
// in JSON or CSV: printable ASCII and well-formed UTF-8 of printable characters stay as they
// are; every other byte (control bytes, ESC, NUL, DEL, stray or overlong UTF-8, and the bytes
// of invisible direction or line-separating characters) becomes \xNN.
std::string SafeText(std::string_view bytes);

// A value's text quoted for a reason: at most the first 20 characters of SafeText, "..." when
// cut, in single quotes: 'abc', '\x1b[31m...'.
std::string QuotedToken(std::string_view bytes);

}  // namespace ritmova
