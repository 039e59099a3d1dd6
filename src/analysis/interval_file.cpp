#include "analysis/interval_file.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/command_failure.h"

namespace ritmova {
namespace {

// A value's text longer than this is no number; it also bounds what one value may consume.
constexpr std::size_t MaxValueLength = 64;
// Blank space allowed before the 256th value, so that a huge file of blanks is rejected
// after a bounded read.
constexpr long MaxBytesRead = 16L << 20;

bool isBlank(int c) { return c == ' ' || c == '\t'; }
bool isLineEnd(int c) { return c == '\r' || c == '\n'; }
bool endsValue(int c) { return c == ',' || isBlank(c) || isLineEnd(c); }

// A character source over a file or over text, counting lines for the failure reasons.
class Source {
public:
    virtual ~Source() = default;
    virtual int get() = 0;   // the next character, or EOF
    virtual int peek() = 0;  // the next character without taking it, or EOF
};

class TextSource final : public Source {
public:
    explicit TextSource(std::string_view text) : text_(text) {}
    int get() override { return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_++]) : EOF; }
    int peek() override { return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : EOF; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

class FileSource final : public Source {
public:
    explicit FileSource(std::FILE* file) : file_(file) {}
    int get() override {
        if (!fill()) return EOF;
        return static_cast<unsigned char>(buffer_[pos_++]);
    }
    int peek() override { return fill() ? static_cast<unsigned char>(buffer_[pos_]) : EOF; }
    bool failed() const { return std::ferror(file_) != 0; }

private:
    bool fill() {
        if (pos_ < size_) return true;
        size_ = std::fread(buffer_, 1, sizeof buffer_, file_);
        pos_ = 0;
        return size_ > 0;
    }
    std::FILE* file_;
    char buffer_[4096];
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
};

// One reading of 256 values by the list-input rule.
class ListReader {
public:
    explicit ListReader(Source& source) : source_(source) {}

    IntervalValues readAll() {
        IntervalValues values{};
        for (std::size_t i = 0; i < values.size(); ++i) values[i] = readValue(i);
        return values;
    }

private:
    int take() {
        const int c = source_.get();
        if (c != EOF && ++consumed_ > MaxBytesRead) {
            fail("no " + std::to_string(BeatCount) + " values in the first " +
                 std::to_string(MaxBytesRead >> 20) + " MB");
        }
        if (c == '\n' || (c == '\r' && source_.peek() != '\n')) ++line_;
        return c;
    }

    [[noreturn]] static void fail(const std::string& what) { throw CommandFailure(what); }
    [[noreturn]] void failAtLine(const std::string& what) const {
        fail("line " + std::to_string(line_) + ": " + what);
    }

    float readValue(std::size_t index) {
        while (isBlank(source_.peek()) || isLineEnd(source_.peek())) take();
        if (source_.peek() == EOF) {
            fail("only " + std::to_string(index) + " values, " + std::to_string(BeatCount) +
                 " needed");
        }
        std::string text;
        while (source_.peek() != EOF && !endsValue(source_.peek())) {
            text += static_cast<char>(take());
            if (text.size() > MaxValueLength) failAtLine("'" + text.substr(0, 20) + "...' is not a number");
        }
        if (text.empty()) failAtLine("empty field between two commas");
        const float value = convert(text);
        consumeSeparator();
        return value;
    }

    void consumeSeparator() {
        while (isBlank(source_.peek())) take();
        const int c = source_.peek();
        if (c == ',') {
            take();
        } else if (c == '\r') {
            take();
            if (source_.peek() == '\n') take();
        } else if (c == '\n') {
            take();
        }
    }

    float convert(const std::string& text) const {
        if (!looksNumeric(text)) failAtLine("'" + text + "' is not a number");
        const char* first = text.data() + (text[0] == '+' ? 1 : 0);
        const char* last = text.data() + text.size();
        float value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error == std::errc::result_out_of_range) return outOfRange(text, first, last);
        if (error != std::errc() || end != last) failAtLine("'" + text + "' is not a number");
        return value;
    }

    // from_chars reports both overflow and underflow as out of range.
    float outOfRange(const std::string& text, const char* first, const char* last) const {
        double wide = 0;
        std::from_chars(first, last, wide);
        if (std::fabs(wide) < 1) return std::signbit(wide) ? -0.0f : 0.0f;
        failAtLine("'" + text + "' is too large");
    }

    // Decimal digits with optional sign, point and exponent; no inf, nan or hexadecimal.
    static bool looksNumeric(const std::string& text) {
        std::size_t i = (text[0] == '+' || text[0] == '-') ? 1 : 0;
        std::size_t digits = 0;
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) ++digits;
        if (i < text.size() && text[i] == '.') {
            for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) ++digits;
        }
        if (digits == 0) return false;
        if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
            ++i;
            if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
            const std::size_t start = i;
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
            if (i == start) return false;
        }
        return i == text.size();
    }

    Source& source_;
    long consumed_ = 0;
    int line_ = 1;
};

}  // namespace

IntervalValues ParseIntervals(std::string_view text) {
    TextSource source(text);
    return ListReader(source).readAll();
}

IntervalValues ReadIntervalFile(const std::string& path) {
    if (path.empty()) throw CommandFailure("no file name given");
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) throw CommandFailure(std::strerror(errno));
    FileSource source(file.get());
    try {
        return ListReader(source).readAll();
    } catch (const CommandFailure&) {
        if (source.failed()) throw CommandFailure("the file could not be read");
        throw;
    }
}

}  // namespace ritmova
