#pragma once

// What the readers of interval files share: the bytes of a file or of text in memory, read up
// to a bound; where a value's text begins and ends; and how it becomes a single-precision
// number. Internal to the readers.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace ritmova::value_text {

// A value's text longer than this is no number; it also bounds what one value may consume.
inline constexpr std::size_t MaxValueLength = 64;

inline bool IsBlank(int c) {
    return c == ' ' || c == '\t';
}
inline bool IsLineEnd(int c) {
    return c == '\r' || c == '\n';
}
// Ends a value in a list of values.
inline bool EndsValue(int c) {
    return c == ',' || IsBlank(c) || IsLineEnd(c);
}
// Ends a field of a line split into columns.
inline bool EndsField(int c) {
    return EndsValue(c) || c == ';';
}

inline constexpr std::size_t NoLimit = static_cast<std::size_t>(-1);

// A file to read: standard input for "-", else the named file, which must not be a folder
// (told at its first read, which saves looking the file up once more).
class InputFile {
  public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    int descriptor() const { return descriptor_; }
    bool named() const { return owned_; }

  private:
    int descriptor_ = -1;
    bool owned_ = false;
};

// Bytes from text in memory, or from a file read in blocks as they are needed. At most
// `limit` bytes are ever taken: asking for one more throws CommandFailure(limitReason), so
// that no file, pipe or endless stream keeps a reader going. The reason's text must outlive
// the source.
class Source {
  public:
    Source(std::string_view text, std::size_t limit, std::string_view limitReason);
    Source(const InputFile& file, std::size_t limit, std::string_view limitReason);

    int get() { return fill() ? static_cast<unsigned char>(*next_++) : EOF; }
    int peek() { return fill() ? static_cast<unsigned char>(*next_) : EOF; }
    // The bytes read but not yet taken, and taking `count` of them.
    std::string_view buffered() const { return {next_, static_cast<std::size_t>(end_ - next_)}; }
    void skip(std::size_t count) { next_ += count; }
    // Whether a read of the file failed (the text then ends there).
    bool failed() const { return failed_; }

    // Skips a UTF-8 byte order mark, which editors on some systems write; refuses UTF-16.
    void startText();

    // Skips blanks and line ends, counting the lines; a CR LF pair is one line end. A run of
    // more than `maxRun` bytes fails, naming the line where it starts.
    void skipSpace(long& line, std::size_t maxRun = NoLimit) {
        const long first = line;
        for (std::size_t run = 0; fill(); ++run) {
            const char c = *next_;
            if (!IsBlank(c) && !IsLineEnd(c)) return;
            if (run == maxRun) failBlankRun(first, maxRun);
            ++next_;
            if (c == '\n' || (c == '\r' && peek() != '\n')) ++line;
        }
    }
    // Skips blanks within a line, at most `maxRun`.
    void skipBlanks(long line, std::size_t maxRun = NoLimit) {
        for (std::size_t run = 0; IsBlank(peek()); ++run) {
            if (run == maxRun) failBlankRun(line, maxRun);
            ++next_;
        }
    }
    // Skips everything up to the next line end or the end of the text.
    void skipToLineEnd();

    // The characters up to the next separator when the separator lies in the block read and
    // they are at most `maxLength`: a view of the block, valid until the next call. Otherwise
    // nothing is taken.
    template <bool (*Ends)(int)>
    std::optional<std::string_view> takeWithinBlock(std::size_t maxLength) {
        const auto available = static_cast<std::size_t>(end_ - next_);
        const char* const last = next_ + std::min(available, maxLength + 1);
        for (const char* p = next_; p != last; ++p) {
            if (Ends(static_cast<unsigned char>(*p))) {
                const std::string_view text(next_, static_cast<std::size_t>(p - next_));
                next_ = p;
                return text;
            }
        }
        return std::nullopt;
    }

    // Takes the characters up to the next separator into `out`; returns how many there were,
    // or out.size() + 1 when they do not fit.
    template <bool (*Ends)(int), std::size_t N>
    std::size_t takeText(std::array<char, N>& out) {
        std::size_t length = 0;
        while (fill()) {
            const char* p = next_;
            const char* const end = end_;  // held apart: a store to `out` may alias end_
            for (; p != end && !Ends(static_cast<unsigned char>(*p)); ++p) {
                if (length == N) {
                    next_ = p;
                    return N + 1;
                }
                out[length++] = *p;
            }
            next_ = p;
            if (p != end) break;
        }
        return length;
    }

  private:
    bool fill() { return next_ != end_ || refill(); }
    bool refill();
    std::size_t readFile(char* into, std::size_t size);
    [[noreturn]] static void failBlankRun(long line, std::size_t maxRun);

    const char* next_ = nullptr;
    const char* end_ = nullptr;
    std::size_t budget_;  // bytes that may still be taken into the block
    bool cut_ = false;    // text in memory beyond the limit
    std::string_view limitReason_;
    int descriptor_ = -1;  // the file's, or -1 for text in memory
    bool named_ = false;   // a named file, not standard input
    bool failed_ = false;
    std::array<char, 4096> block_;  // filled before it is read
};

// Room for a value's text: longer than MaxValueLength, so that the quoted start of a text
// that is too long always ends in "...", even in four-byte characters.
using ValueBuffer = std::array<char, MaxValueLength + 20>;

// How a value's text converts; `pointShift` moves its decimal point that many places left
// (3 for milliseconds) before the one rounding to single precision.
enum class Conversion { Done, NotNumber, TooLarge };
struct Converted {
    float value = 0;
    Conversion result = Conversion::Done;
};
Converted ConvertValue(std::string_view text, int pointShift);

// "line 3: " and a reason.
std::string AtLine(long line, const std::string& what);

// "line 3: 'abc' is not a number".
[[noreturn]] void FailNotNumber(std::string_view text, long line);

// A value's text longer than MaxValueLength, of which `start` was kept: one that begins as a
// number does is said to be too long for one, anything else not to be a number.
[[noreturn]] void FailTooLong(std::string_view start, long line);

// The text of the value at `line` up to the next separator, empty when there is none; a text
// longer than MaxValueLength fails. The text is valid until the source or buffer is next used.
template <bool (*Ends)(int)>
std::string_view TakeValue(Source& source, ValueBuffer& buffer, long line) {
    if (const auto text = source.takeWithinBlock<Ends>(MaxValueLength)) return *text;
    const std::size_t length = source.takeText<Ends>(buffer);
    if (length > MaxValueLength)
        FailTooLong(std::string_view(buffer.data(), std::min(length, buffer.size())), line);
    return {buffer.data(), length};
}

// The common short form, such as 0.8828, without a general conversion: its digits make a whole
// number m below 2^24 and 10^k is exact in single precision for k <= 10, so both are exact
// floats and m / 10^k in single precision is the correctly rounded value. Any other text,
// valid or not, is left to the general conversion and its checks.
struct ShortDecimal {
    float value = 0;
    std::size_t length = 0;  // of its text; 0 when the text is not of the short form
};

// The short form at the start of `text`, read up to the first character that cannot continue
// it. A plain struct, not an optional: it stays in registers in the reading loops.
inline ShortDecimal ReadShortDecimal(std::string_view text, int pointShift) {
    static constexpr float PowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                            1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    constexpr std::uint32_t MantissaLimit = 1677721;  // times 10 plus a digit stays < 2^24
    const bool negative = text.starts_with('-');
    std::size_t i = (negative || text.starts_with('+')) ? 1 : 0;
    std::uint32_t mantissa = 0;
    std::size_t digits = 0;
    std::size_t point = text.size();  // where the point is, if there is one
    for (; i < text.size(); ++i) {
        const auto digit = static_cast<std::uint32_t>(text[i] - '0');
        if (digit < 10 && mantissa < MantissaLimit) {
            mantissa = mantissa * 10 + digit;
            ++digits;
        } else if (text[i] == '.' && point == text.size()) {
            point = i;
        } else {
            break;  // an exponent, too many digits, or the end of the value
        }
    }
    const std::size_t decimals =
        (point < text.size() ? i - point - 1 : 0) + static_cast<std::size_t>(pointShift);
    if (digits == 0 || decimals > 10) return {};
    const float value = static_cast<float>(mantissa) / PowersOfTen[decimals];
    return ShortDecimal{negative ? -value : value, i};
}

// The short form of the whole of `text`.
inline std::optional<float> ExactQuotient(std::string_view text, int pointShift) {
    const auto decimal = ReadShortDecimal(text, pointShift);
    if (decimal.length == 0 || decimal.length != text.size()) return std::nullopt;
    return decimal.value;
}

// The short form at the start of `text` when a separator follows it within `text`, so that
// the value is all there; length 0 otherwise.
inline ShortDecimal SeparatedShortDecimal(std::string_view text, int pointShift) {
    const ShortDecimal decimal = ReadShortDecimal(text, pointShift);
    if (decimal.length == 0 || decimal.length > MaxValueLength || decimal.length >= text.size() ||
        !EndsValue(static_cast<unsigned char>(text[decimal.length])))
        return {};
    return decimal;
}

// The value of `text` at `line`, or a failure naming the line and quoting the text.
float ConvertedValueAt(std::string_view text, int pointShift, long line);
inline float ValueAt(std::string_view text, int pointShift, long line) {
    if (const auto quick = ExactQuotient(text, pointShift)) return *quick;
    return ConvertedValueAt(text, pointShift, line);
}

// Values in a list, separated by commas, blanks, tabs or line ends, as the 256-value reader
// and the whole-recording reader take them.
class ListScanner {
  public:
    // `maxBlankRun` bounds each run of blank space.
    explicit ListScanner(Source& source, long firstLine = 1, std::size_t maxBlankRun = NoLimit)
        : source_(source), line_(firstLine), maxBlankRun_(maxBlankRun) {}
    // Moves to the next value; false at the end of the text.
    bool next() {
        if (started_) consumeSeparator();
        started_ = true;
        source_.skipSpace(line_, maxBlankRun_);
        return source_.peek() != EOF;
    }
    // The value's text, valid until the next call; an empty field fails.
    std::string_view text() {
        const std::string_view text = TakeValue<EndsValue>(source_, buffer_, line_);
        if (text.empty()) failEmpty();
        return text;
    }
    // The value, and the values after it that stand on lines of their own in the short form
    // ("0.8828\n0.8906\n..."), up to out.size(), read in one sweep of the block: the common
    // file costs no separator or refill check per value. Returns how many it took, at least
    // one; what follows the last is left for next(), as after any value.
    std::size_t values(std::span<float> out, int pointShift);
    long line() const { return line_; }

  private:
    // Blanks after a value, then one comma or line end; a CR LF pair is one line end.
    void consumeSeparator() {
        source_.skipBlanks(line_, maxBlankRun_);
        const int c = source_.peek();
        if (c == ',') {
            source_.get();
        } else if (IsLineEnd(c)) {
            source_.get();
            if (c == '\r' && source_.peek() == '\n') source_.get();
            ++line_;
        }
    }
    [[noreturn]] void failEmpty() const;

    Source& source_;
    long line_ = 1;
    std::size_t maxBlankRun_;
    bool started_ = false;
    ValueBuffer buffer_;
};

}  // namespace ritmova::value_text
