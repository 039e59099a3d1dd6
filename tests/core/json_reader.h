#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "output_checks.h"

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

// Reads text that fuzz::IsJson has found well-formed, so it checks no grammar itself.
class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    Json value() {
        skip();
        const char c = text_[at_];
        Json json;
        if (c == '"') {
            json = {Json::Kind::String, string(), {}, {}};
        } else if (c == '{' || c == '[') {
            json.kind = c == '{' ? Json::Kind::Object : Json::Kind::Array;
            const char close = c == '{' ? '}' : ']';
            for (++at_; skip(), text_[at_] != close;) {
                if (c == '{') {
                    json.names.push_back(string());
                    at_ = text_.find(':', at_) + 1;
                }
                json.items.push_back(value());
                skip();
                if (text_[at_] == ',') ++at_;
            }
            ++at_;
        } else {
            const std::size_t end = std::min(text_.find_first_of(",]} \t\r\n", at_), text_.size());
            if (c != 'n')
                json = {Json::Kind::Number, std::string(text_.substr(at_, end - at_)), {}, {}};
            at_ = end;
        }
        return json;
    }

  private:
    void skip() { at_ = std::min(text_.find_first_not_of(" \t\r\n", at_), text_.size()); }
    std::string string() {
        std::string value;
        for (++at_; text_[at_] != '"'; ++at_) {
            if (text_[at_] != '\\') {
                value += text_[at_];
            } else if (text_[++at_] == 'u') {
                value += static_cast<char>(std::stoi(std::string(text_.substr(at_ + 1, 4)), 0, 16));
                at_ += 4;
            } else {
                const std::size_t plain = std::string_view("bfnrt").find(text_[at_]);
                value += plain == std::string_view::npos ? text_[at_] : "\b\f\n\r\t"[plain];
            }
        }
        ++at_;
        return value;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

inline Json ParseJson(std::string_view text) {
    if (!fuzz::IsJson(text)) throw std::runtime_error("not JSON: " + std::string(text));
    return JsonReader(text).value();
}

}  // namespace ritmova::testing
