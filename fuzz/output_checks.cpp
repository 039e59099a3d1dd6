#include "output_checks.h"

#include <cctype>
#include <cstddef>
#include <cstring>

namespace ritmova::fuzz {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A recursive descent over one JSON value; nesting deeper than the writers go is refused.
class JsonChecker {
  public:
    explicit JsonChecker(std::string_view text) : text_(text) {}

    bool document() {
        skipSpace();
        if (!value(0)) return false;
        skipSpace();
        return at_ == text_.size();
    }

  private:
    bool value(int depth) {
        if (depth > 16 || at_ == text_.size()) return false;
        switch (text_[at_]) {
            case '{':
                return container('}', depth);
            case '[':
                return container(']', depth);
            case '"':
                return string();
            case 't':
                return literal("true");
            case 'f':
                return literal("false");
            case 'n':
                return literal("null");
            default:
                return number();
        }
    }

    bool container(char close, int depth) {
        ++at_;
        skipSpace();
        if (take(close)) return true;
        do {
            skipSpace();
            if (close == '}' && !(string() && (skipSpace(), take(':')))) return false;
            skipSpace();
            if (!value(depth + 1)) return false;
            skipSpace();
        } while (take(','));
        return take(close);
    }

    bool string() {
        if (!take('"')) return false;
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c == '\\' && !escape()) return false;
        }
        return false;
    }

    bool escape() {
        if (at_ == text_.size()) return false;
        const char c = text_[at_++];
        if (c != 'u') return std::strchr("\"\\/bfnrt", c) != nullptr && c != '\0';
        for (int i = 0; i < 4; ++i, ++at_) {
            if (at_ == text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[at_])))
                return false;
        }
        return true;
    }

    bool number() {
        take('-');
        if (!take('0') && digits() == 0) return false;
        if (take('.') && digits() == 0) return false;
        if (take('e') || take('E')) {
            if (!take('+')) take('-');
            if (digits() == 0) return false;
        }
        return true;
    }

    std::size_t digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && isDigit(text_[at_])) ++at_;
        return at_ - start;
    }

    bool literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    bool take(char c) {
        if (at_ == text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }

    void skipSpace() {
        while (at_ < text_.size() && std::strchr(" \t\r\n", text_[at_]) && text_[at_] != '\0')
            ++at_;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// The length of the UTF-8 sequence starting at text[at], or 0 when it is not well formed.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0u;
    };
    const unsigned lead = byte(0);
    if (lead < 0x80) return 1;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
    }
    const unsigned second = byte(1);
    if (lead == 0xE0 && second < 0xA0) return 0;  // overlong
    if (lead == 0xED && second > 0x9F) return 0;  // surrogate
    if (lead == 0xF0 && second < 0x90) return 0;  // overlong
    if (lead == 0xF4 && second > 0x8F) return 0;  // beyond U+10FFFF
    return length;
}

}  // namespace

bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = sequenceLength(text, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

bool IsTextOfLines(std::string_view text, std::size_t lines, bool tabs) {
    if (!IsUtf8(text)) return false;
    std::size_t ends = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto c = static_cast<unsigned char>(text[at]);
        const std::string_view rest = text.substr(at);
        if (rest.starts_with("\r\n")) {
            ++ends;
            ++at;
        } else if ((c < 0x20 && !(tabs && c == '\t')) || c == 0x7F ||
                   (c == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0) ||
                   rest.starts_with("\u2028") || rest.starts_with("\u2029")) {
            return false;
        }
    }
    return ends == lines && text.ends_with("\r\n");
}

bool IsJson(std::string_view text) {
    return IsUtf8(text) && JsonChecker(text).document();
}

bool IsCsv(std::string_view text) {
    if (!IsUtf8(text) || text.empty() || text.back() != '\n') return false;
    std::size_t fields = 1;
    std::size_t expected = 0;  // the first record's field count
    bool quoted = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted) {
            if (c != '"') continue;
            if (at + 1 < text.size() && text[at + 1] == '"') {
                ++at;  // a doubled quote inside the field
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            if (at > 0 && text[at - 1] != ',' && text[at - 1] != '\n') return false;
            quoted = true;
        } else if (c == ',') {
            ++fields;
        } else if (c == '\n') {
            if (expected == 0) expected = fields;
            if (fields != expected) return false;
            fields = 1;
        }
    }
    return !quoted;
}

}  // namespace ritmova::fuzz
