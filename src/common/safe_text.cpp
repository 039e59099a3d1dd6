#include "common/safe_text.h"

#include <cstddef>
#include <cstdint>

namespace ritmova {
namespace {

constexpr std::size_t QuotedCharacters = 20;

// Invisible characters that reorder or break the text around them on a terminal: direction
// marks, embeddings, overrides and isolates, line and paragraph separators, and the byte
// order mark.
bool isLayoutControl(std::uint32_t code) {
    return (code >= 0x200E && code <= 0x200F) || (code >= 0x2028 && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069) || code == 0xFEFF;
}

// The length of the well-formed, printable UTF-8 character at the start of `bytes`, or 0.
std::size_t printableCharacter(std::string_view bytes) {
    const auto byte = [&bytes](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const std::uint8_t lead = byte(0);
    if (lead >= 0x20 && lead < 0x7F) return 1;
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (bytes.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) return 0;
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    constexpr std::uint32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    const bool control = code >= 0x80 && code < 0xA0;  // C1 controls
    if (code < Least[length] || code > 0x10FFFF || surrogate || control) return 0;
    if (isLayoutControl(code)) return 0;
    return length;
}

void appendEscaped(std::string& out, std::uint8_t byte) {
    constexpr char Hex[] = "0123456789abcdef";
    out += "\\x";
    out += Hex[byte >> 4];
    out += Hex[byte & 0xFu];
}

// SafeText of at most `characters` characters; `cut` tells whether bytes were left over.
std::string safePrefix(std::string_view bytes, std::size_t characters, bool& cut) {
    std::string out;
    std::size_t taken = 0;
    while (!bytes.empty() && taken < characters) {
        const std::size_t length = printableCharacter(bytes);
        if (length == 0) {
            appendEscaped(out, static_cast<std::uint8_t>(bytes[0]));
            bytes.remove_prefix(1);
        } else {
            out.append(bytes.substr(0, length));
            bytes.remove_prefix(length);
        }
        ++taken;
    }
    cut = !bytes.empty();
    return out;
}

}  // namespace

std::string SafeText(std::string_view bytes) {
    bool cut = false;
    return safePrefix(bytes, bytes.size(), cut);
}

std::string QuotedToken(std::string_view bytes) {
    bool cut = false;
    std::string text = safePrefix(bytes, QuotedCharacters, cut);
    return "'" + text + (cut ? "...'" : "'");
}

}  // namespace ritmova
