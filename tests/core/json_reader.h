#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ritmova::testing {

// A strict reader of JSON text for checking the console tool's output: any departure from
// the JSON grammar (a missing comma, a raw control character, a bad escape) throws.
struct Json {
    enum class Kind { Null, Number, String, Array, Object } kind = Kind::Null;
    std::string text;                // a number's digits or a string's value
    std::vector<Json> items;         // array items or object member values
    std::vector<std::string> names;  // object member names, in order

    const Json& operator[](std::string_view name) const {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] == name) return items[i];
        }
        throw std::runtime_error("no member " + std::string(name));
    }
};

class JsonReader {
  public:
    static Json Parse(std::string_view text) {
        JsonReader reader(text);
        Json value = reader.value();
        reader.blanks();
        if (reader.at_ != text.size()) reader.fail("text after the value");
        return value;
    }

  private:
    explicit JsonReader(std::string_view text) : text_(text) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(what + " at byte " + std::to_string(at_));
    }
    char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    void blanks() {
        while (at_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos)
            ++at_;
    }
    void expect(char c) {
        blanks();
        if (peek() != c) fail(std::string("expected ") + c);
        ++at_;
    }
    bool accept(char c) {
        blanks();
        if (peek() != c) return false;
        ++at_;
        return true;
    }
    std::string literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) fail("bad literal");
        at_ += word.size();
        return std::string(word);
    }
    void digits() {
        const std::size_t start = at_;
        while (peek() >= '0' && peek() <= '9') ++at_;
        if (at_ == start) fail("expected a digit");
    }
    Json number() {
        const std::size_t start = at_;
        accept('-');
        if (!accept('0')) digits();
        if (accept('.')) digits();
        if (peek() == 'e' || peek() == 'E') {
            ++at_;
            if (peek() == '+' || peek() == '-') ++at_;
            digits();
        }
        return {Json::Kind::Number, std::string(text_.substr(start, at_ - start)), {}, {}};
    }
    std::string string() {
        expect('"');
        std::string value;
        for (char c; (c = peek()) != '"'; ++at_) {
            if (at_ >= text_.size() || static_cast<unsigned char>(c) < 0x20) fail("bad string");
            if (c != '\\') {
                value += c;
                continue;
            }
            const char escape = text_[++at_];
            const std::string_view plain = "\"\\/bfnrt";
            if (escape == 'u') {
                value += static_cast<char>(
                    std::stoi(std::string(text_.substr(at_ + 1, 4)), nullptr, 16));
                at_ += 4;
            } else if (plain.find(escape) != std::string_view::npos) {
                value += std::string_view("\"\\/\b\f\n\r\t")[plain.find(escape)];
            } else {
                fail("bad escape");
            }
        }
        ++at_;
        return value;
    }
    template <typename Item>
    void list(char close, Item item) {
        if (accept(close)) return;
        do item();
        while (accept(','));
        expect(close);
    }
    Json value() {
        blanks();
        Json json;
        switch (peek()) {
            case '{':
                ++at_;
                json.kind = Json::Kind::Object;
                list('}', [&] {
                    blanks();
                    json.names.push_back(string());
                    expect(':');
                    json.items.push_back(value());
                });
                return json;
            case '[':
                ++at_;
                json.kind = Json::Kind::Array;
                list(']', [&] { json.items.push_back(value()); });
                return json;
            case '"':
                return {Json::Kind::String, string(), {}, {}};
            case 'n':
                literal("null");
                return json;
            default:
                return number();
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace ritmova::testing
