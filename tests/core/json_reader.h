#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ritmova::testing {

// A JSON value as read by ParseJson: a number keeps its text, an object its member names.
struct Json {
    enum class Kind { Null, Number, String, Array, Object } kind = Kind::Null;
    std::string text;                // a number's text or a string's value
    std::vector<Json> items;         // array items or object member values
    std::vector<std::string> names;  // object member names, in order

    const Json& operator[](std::string_view name) const {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] == name) return items[i];
        }
        throw std::runtime_error("no member " + std::string(name));
    }
};

// A strict reader: any departure from the JSON grammar (a missing comma, a raw control
// character, a bad escape or number, text after the value) throws.
class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    Json whole() {
        Json json = value();
        skip();
        if (at_ != text_.size()) fail();
        return json;
    }

  private:
    [[noreturn]] void fail() const {
        throw std::runtime_error("bad JSON at " + std::to_string(at_));
    }
    char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    void skip() {
        while (peek() && std::string_view(" \t\r\n").find(peek()) != std::string_view::npos) ++at_;
    }
    bool accept(char c) {
        skip();
        if (peek() != c) return false;
        ++at_;
        return true;
    }
    void expect(char c) {
        if (!accept(c)) fail();
    }
    void digits() {
        const std::size_t start = at_;
        while (peek() >= '0' && peek() <= '9') ++at_;
        if (at_ == start) fail();
    }
    std::string number() {
        const std::size_t start = at_;
        accept('-');
        if (!accept('0')) digits();
        if (accept('.')) digits();
        if (peek() == 'e' || peek() == 'E') {
            ++at_;
            if (peek() == '+' || peek() == '-') ++at_;
            digits();
        }
        return std::string(text_.substr(start, at_ - start));
    }
    std::string string() {
        expect('"');
        std::string value;
        for (char c; (c = peek()) != '"'; ++at_) {
            if (static_cast<unsigned char>(c) < 0x20) fail();  // also the end of the text
            if (c != '\\') {
                value += c;
                continue;
            }
            const char escape = text_[++at_];
            const std::size_t plain = std::string_view("\"\\/bfnrt").find(escape);
            if (escape == 'u') {
                value += static_cast<char>(
                    std::stoi(std::string(text_.substr(at_ + 1, 4)), nullptr, 16));
                at_ += 4;
            } else if (plain != std::string_view::npos) {
                value += "\"\\/\b\f\n\r\t"[plain];
            } else {
                fail();
            }
        }
        ++at_;
        return value;
    }
    Json value() {
        skip();
        const char c = peek();
        Json json;
        if (c == '{' || c == '[') {
            ++at_;
            json.kind = c == '{' ? Json::Kind::Object : Json::Kind::Array;
            const char close = c == '{' ? '}' : ']';
            if (accept(close)) return json;
            do {
                if (c == '{') {
                    skip();
                    json.names.push_back(string());
                    expect(':');
                }
                json.items.push_back(value());
            } while (accept(','));
            expect(close);
        } else if (c == '"') {
            json = {Json::Kind::String, string(), {}, {}};
        } else if (text_.substr(at_, 4) == "null") {
            at_ += 4;
        } else {
            json = {Json::Kind::Number, number(), {}, {}};
        }
        return json;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

inline Json ParseJson(std::string_view text) {
    return JsonParser(text).whole();
}

}  // namespace ritmova::testing
