#include "analysis/interval_file.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "common/command_failure.h"

namespace ritmova {
namespace {

// A value's text longer than this is no number; it also bounds what one value may consume.
constexpr std::size_t MaxValueLength = 64;
// Blank space allowed before the 256th value, so that a huge file of blanks is rejected
// after a bounded read.
constexpr long MaxBytesRead = 16L << 20;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(int c) {
    return c == ' ' || c == '\t';
}
bool isLineEnd(int c) {
    return c == '\r' || c == '\n';
}
bool endsValue(int c) {
    return c == ',' || isBlank(c) || isLineEnd(c);
}

// Characters from text in memory, or from a file read in blocks as they are needed.
class Source {
  public:
    explicit Source(std::string_view text)
        : start_(text.data()), next_(text.data()), end_(text.data() + text.size()) {}
    explicit Source(std::FILE* file) : file_(file) {}

    int get() { return fill() ? static_cast<unsigned char>(*next_++) : EOF; }
    int peek() { return fill() ? static_cast<unsigned char>(*next_) : EOF; }
    bool failed() const { return file_ && std::ferror(file_) != 0; }
    // Editors on some systems start a UTF-8 text with a byte order mark.
    void skipByteOrderMark() {
        if (fill() && end_ - next_ >= 3 && std::memcmp(next_, "\xEF\xBB\xBF", 3) == 0) next_ += 3;
    }
    // Characters taken so far.
    long consumed() const { return before_ + (next_ - start_); }

    // Takes the characters up to the next separator into `out`; returns how many there were,
    // or out.size() + 1 when they do not fit.
    template <std::size_t N>
    std::size_t takeValueText(std::array<char, N>& out) {
        std::size_t length = 0;
        while (fill()) {
            const char* p = next_;
            for (; p != end_ && !endsValue(static_cast<unsigned char>(*p)); ++p) {
                if (length == N) {
                    next_ = p;
                    return N + 1;
                }
                out[length++] = *p;
            }
            next_ = p;
            if (p != end_) break;
        }
        return length;
    }

  private:
    bool fill() {
        if (next_ != end_) return true;
        if (!file_) return false;
        before_ += end_ - start_;
        const std::size_t size = std::fread(block_.data(), 1, block_.size(), file_);
        start_ = next_ = block_.data();
        end_ = next_ + size;
        return size > 0;
    }

    const char* start_ = nullptr;
    const char* next_ = nullptr;
    const char* end_ = nullptr;
    long before_ = 0;
    std::FILE* file_ = nullptr;
    std::array<char, 4096> block_{};
};

// One reading of 256 values by the list-input rule.
class ListReader {
  public:
    explicit ListReader(Source& source) : source_(source) {}

    IntervalValues readAll() {
        source_.skipByteOrderMark();
        IntervalValues values{};
        for (std::size_t i = 0; i < values.size(); ++i) values[i] = readValue(i);
        return values;
    }

  private:
    [[noreturn]] static void fail(const std::string& what) { throw CommandFailure(what); }
    [[noreturn]] void failAtLine(const std::string& what) const {
        fail("line " + std::to_string(line_) + ": " + what);
    }

    // Blanks and line ends before a value; a CR LF pair counts as one line end.
    void skipSpace() {
        for (int c = source_.peek(); isBlank(c) || isLineEnd(c); c = source_.peek()) {
            source_.get();
            if (c == '\n' || (c == '\r' && source_.peek() != '\n')) ++line_;
            if (source_.consumed() > MaxBytesRead) {
                fail("no " + std::to_string(BeatCount) + " values in the first " +
                     std::to_string(MaxBytesRead >> 20) + " MB");
            }
        }
    }

    float readValue(std::size_t index) {
        skipSpace();
        if (source_.peek() == EOF) {
            fail("only " + std::to_string(index) + " values, " + std::to_string(BeatCount) +
                 " needed");
        }
        std::array<char, MaxValueLength> text;
        const std::size_t length = source_.takeValueText(text);
        if (length > text.size()) {
            failAtLine("'" + std::string(text.data(), 20) + "...' is not a number");
        }
        if (length == 0) failAtLine("empty field between two commas");
        const float value = convert(std::string_view(text.data(), length));
        consumeSeparator();
        return value;
    }

    void consumeSeparator() {
        while (isBlank(source_.peek())) source_.get();
        const int c = source_.peek();
        if (c == ',') {
            source_.get();
        } else if (isLineEnd(c)) {
            source_.get();
            if (c == '\r' && source_.peek() == '\n') source_.get();
            ++line_;
        }
    }

    float convert(std::string_view text) const {
        if (const auto quick = exactQuotient(text)) return *quick;
        if (!looksNumeric(text)) failAtLine("'" + std::string(text) + "' is not a number");
        const char* first = text.data() + (text[0] == '+' ? 1 : 0);
        const char* last = text.data() + text.size();
        float value = 0;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error == std::errc::result_out_of_range) return outOfRange(text, first, last);
        if (error != std::errc() || end != last)
            failAtLine("'" + std::string(text) + "' is not a number");
        return value;
    }

    // from_chars reports both overflow and underflow as out of range.
    float outOfRange(std::string_view text, const char* first, const char* last) const {
        double wide = 0;
        std::from_chars(first, last, wide);
        if (std::fabs(wide) < 1) return std::signbit(wide) ? -0.0f : 0.0f;
        failAtLine("'" + std::string(text) + "' is too large");
    }

    // The common short form, such as 0.8828, without a general conversion: its digits make a
    // whole number m below 2^24 and 10^k is exact in single precision for k <= 10, so both are
    // exact floats and m / 10^k in single precision is the correctly rounded value. Any other
    // text, valid or not, is left to the general conversion and its checks.
    static std::optional<float> exactQuotient(std::string_view text) {
        static constexpr float PowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                                1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
        constexpr std::uint32_t MantissaLimit = 1677721;  // times 10 plus a digit stays < 2^24
        const bool negative = text[0] == '-';
        const std::size_t first = (negative || text[0] == '+') ? 1 : 0;
        std::uint32_t mantissa = 0;
        std::size_t point = text.size();
        for (std::size_t i = first; i < text.size(); ++i) {
            const auto digit = static_cast<std::uint32_t>(text[i] - '0');
            if (digit < 10 && mantissa < MantissaLimit) {
                mantissa = mantissa * 10 + digit;
            } else if (text[i] == '.' && point == text.size()) {
                point = i;
            } else {
                return std::nullopt;  // an exponent, too many digits, or no number at all
            }
        }
        const std::size_t digits = text.size() - first - (point < text.size() ? 1 : 0);
        const std::size_t decimals = point < text.size() ? text.size() - point - 1 : 0;
        if (digits == 0 || decimals > 10) return std::nullopt;
        const float value = static_cast<float>(mantissa) / PowersOfTen[decimals];
        return negative ? -value : value;
    }

    // Decimal digits with optional sign, point and exponent; no inf, nan or hexadecimal.
    static bool looksNumeric(std::string_view text) {
        std::size_t i = (text[0] == '+' || text[0] == '-') ? 1 : 0;
        const auto digitsFrom = [&text](std::size_t& at) {
            const std::size_t start = at;
            while (at < text.size() && isDigit(text[at])) ++at;
            return at - start;
        };
        std::size_t digits = digitsFrom(i);
        if (i < text.size() && text[i] == '.') digits += digitsFrom(++i);
        if (digits == 0) return false;
        if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
            ++i;
            if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
            if (digitsFrom(i) == 0) return false;
        }
        return i == text.size();
    }

    Source& source_;
    int line_ = 1;
};

}  // namespace

IntervalValues ParseIntervals(std::string_view text) {
    Source source(text);
    return ListReader(source).readAll();
}

IntervalValues ReadIntervalFile(const std::string& path) {
    if (path.empty()) throw CommandFailure("no file name given");
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) throw CommandFailure(std::strerror(errno));
    std::setvbuf(file.get(), nullptr, _IONBF, 0);  // Source reads whole blocks itself
    Source source(file.get());
    try {
        return ListReader(source).readAll();
    } catch (const CommandFailure&) {
        if (source.failed()) throw CommandFailure("the file could not be read");
        throw;
    }
}

}  // namespace ritmova
