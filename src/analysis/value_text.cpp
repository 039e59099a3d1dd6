#include "analysis/value_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

#include "common/command_failure.h"
#include "common/safe_text.h"

namespace ritmova::value_text {

namespace {

// The common short form, such as 0.8828, without a general conversion: its digits make a whole
// number m below 2^24 and 10^k is exact in single precision for k <= 10, so both are exact
// floats and m / 10^k in single precision is the correctly rounded value. Any other text,
// valid or not, is left to the general conversion and its checks.
struct ShortDecimal {
    float value = 0;
    std::size_t length = 0;  // of its text; 0 when the text is not of the short form
};

// The short form at the start of `text`, read up to the first character that cannot continue
// it. A plain struct, not an optional: it stays in registers in the reading loops. Declared
// inline, as GCC otherwise calls it once per value: `ritmova-cli csv` on 2,000 example files
// took 2.7 % more instructions under callgrind (271.7 to 279.0 million).
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
std::optional<float> ExactQuotient(std::string_view text, int pointShift) {
    const auto decimal = ReadShortDecimal(text, pointShift);
    if (decimal.length == 0 || decimal.length != text.size()) return std::nullopt;
    return decimal.value;
}

// The short form at the start of `text` when a separator follows it within `text`, so that
// the value is all there; length 0 otherwise.
ShortDecimal SeparatedShortDecimal(std::string_view text, int pointShift) {
    const ShortDecimal decimal = ReadShortDecimal(text, pointShift);
    if (decimal.length == 0 || decimal.length > MaxValueLength || decimal.length >= text.size() ||
        !EndsValue(static_cast<unsigned char>(text[decimal.length])))
        return {};
    return decimal;
}

// How a value's text converts; `pointShift` moves its decimal point that many places left
// (3 for milliseconds) before the one rounding to single precision.
enum class Conversion { Done, NotNumber, TooLarge };
struct Converted {
    float value = 0;
    Conversion result = Conversion::Done;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// UTF-16 by its byte order mark, or ASCII text in UTF-16: every other byte NUL.
bool looksUtf16(std::string_view start) {
    if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) return true;
    if (start.size() < 4) return false;
    const auto nul = [&start](std::size_t i) { return start[i] == '\0'; };
    return (nul(1) && nul(3) && !nul(0) && !nul(2)) || (nul(0) && nul(2) && !nul(1) && !nul(3));
}

// Decimal digits with optional sign, point and exponent; no inf, nan or hexadecimal.
bool looksNumeric(std::string_view text) {
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

// Numeric text with its exponent lowered by `pointShift`: "7.83e2" and 3 give "7.83e-1". An
// exponent beyond a million is held at a million, where every value is zero or too large.
std::string shiftedText(std::string_view text, int pointShift) {
    const std::size_t e = text.find_first_of("eE");
    long exponent = 0;
    if (e != std::string_view::npos) {
        const bool negative = text[e + 1] == '-';
        for (std::size_t i = e + 1; i < text.size(); ++i) {
            if (isDigit(text[i])) exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000L);
        }
        if (negative) exponent = -exponent;
    }
    return std::string(text.substr(0, e)) + "e" + std::to_string(exponent - pointShift);
}

// Single precision reports both overflow and underflow as out of range; an underflow is zero.
Converted outOfRange(std::string_view text) {
    double wide = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), wide);
    // Beyond double range too: the exponent's sign tells, as at most 64 digits cannot reach
    // double's limits from the other side.
    const std::size_t e = text.find_first_of("eE");
    const bool underflow = error == std::errc() ? std::fabs(wide) < 1
                                                : e != std::string_view::npos && text[e + 1] == '-';
    if (!underflow) return {0, Conversion::TooLarge};
    return {text[0] == '-' ? -0.0f : 0.0f, Conversion::Done};
}

// A line end of LF or CR LF at the start of `text`: its length, else 0.
std::size_t lineEndLength(std::string_view text) {
    if (text.starts_with('\n')) return 1;
    return text.starts_with("\r\n") ? 2 : 0;
}

}  // namespace

Source::Source(std::string_view text, std::size_t limit, std::string_view limitReason)
    : next_(text.data()),
      end_(text.data() + std::min(text.size(), limit)),
      budget_(0),
      cut_(text.size() > limit),
      limitReason_(limitReason) {}

Source::Source(const InputFile& file, std::size_t limit, std::string_view limitReason)
    : budget_(limit),
      limitReason_(limitReason),
      descriptor_(file.descriptor()),
      named_(file.named()) {}

// Fills `into` whole unless the file ends or fails first, so that a pipe gives up the same
// bytes however its writer times them.
std::size_t Source::readFile(char* into, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(descriptor_, into + done, size - done);
        if (got > 0) {
            done += static_cast<std::size_t>(got);
        } else if (got == 0) {
            break;
        } else if (errno == EISDIR && named_) {
            throw CommandFailure("is a folder");
        } else if (errno != EINTR) {
            failed_ = true;
            break;
        }
    }
    return done;
}

bool Source::refill() {
    if (descriptor_ >= 0 && budget_ > 0) {
        const std::size_t size = readFile(block_.data(), std::min(block_.size(), budget_));
        budget_ -= size;
        taken_ += size;
        if (progress_) progress_->report(static_cast<std::int64_t>(taken_), totalBytes_);
        next_ = block_.data();
        end_ = next_ + size;
        if (size > 0) return true;
    } else if (descriptor_ >= 0) {
        char probe = 0;
        cut_ = readFile(&probe, 1) == 1;
    }
    if (cut_) throw CommandFailure(std::string(limitReason_));
    return false;
}

std::string_view Source::buffered() const {
    return {next_, static_cast<std::size_t>(end_ - next_)};
}

void Source::skip(std::size_t count) {
    next_ += count;
}

template <bool (*Ends)(int)>
std::optional<std::string_view> Source::takeWithinBlock(std::size_t maxLength) {
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

template <bool (*Ends)(int), std::size_t N>
std::size_t Source::takeText(std::array<char, N>& out) {
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

template std::size_t Source::takeText<EndsValue>(ValueBuffer&);
template std::size_t Source::takeText<EndsField>(ValueBuffer&);

void Source::failBlankRun(long line, std::size_t maxRun) {
    throw CommandFailure(
        AtLine(line, "more than " + std::to_string(maxRun >> 20) + " MB of blank space"));
}

void Source::startText() {
    if (!fill()) return;
    const std::string_view start(next_, static_cast<std::size_t>(end_ - next_));
    if (looksUtf16(start)) throw CommandFailure("UTF-16 text: save the file as UTF-8 or ASCII");
    if (start.starts_with("\xEF\xBB\xBF")) next_ += 3;
}

void Source::skipToLineEnd() {
    while (fill()) {
        const char* p = next_;
        while (p != end_ && !IsLineEnd(*p)) ++p;
        next_ = p;
        if (p != end_) return;
    }
}

namespace {

Converted ConvertValue(std::string_view text, int pointShift) {
    if (const auto quick = ExactQuotient(text, pointShift)) return {*quick, Conversion::Done};
    if (!looksNumeric(text)) return {0, Conversion::NotNumber};
    if (text[0] == '+') text.remove_prefix(1);
    const std::string shifted = pointShift == 0 ? std::string() : shiftedText(text, pointShift);
    if (pointShift != 0) text = shifted;
    float value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) return outOfRange(text);
    if (error != std::errc() || end != text.data() + text.size()) return {0, Conversion::NotNumber};
    return {value, Conversion::Done};
}

}  // namespace

std::string AtLine(long line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

void FailNotNumber(std::string_view text, long line) {
    throw CommandFailure(AtLine(line, QuotedToken(text) + " is not a number"));
}

void FailTooLong(std::string_view start, long line) {
    const bool numeric = start.find_first_not_of("0123456789+-.eE") == std::string_view::npos &&
                         start.find_first_of("0123456789") != std::string_view::npos;
    if (!numeric) FailNotNumber(start, line);
    throw CommandFailure(AtLine(line, QuotedToken(start) + " has too many digits for a number (" +
                                          std::to_string(MaxValueLength) + " characters at most)"));
}

template <bool (*Ends)(int)>
std::string_view TakeValue(Source& source, ValueBuffer& buffer, long line) {
    if (const auto text = source.takeWithinBlock<Ends>(MaxValueLength)) return *text;
    const std::size_t length = source.takeText<Ends>(buffer);
    if (length > MaxValueLength)
        FailTooLong(std::string_view(buffer.data(), std::min(length, buffer.size())), line);
    return {buffer.data(), length};
}

template std::string_view TakeValue<EndsValue>(Source&, ValueBuffer&, long);
template std::string_view TakeValue<EndsField>(Source&, ValueBuffer&, long);

float ValueAt(std::string_view text, int pointShift, long line) {
    if (const auto quick = ExactQuotient(text, pointShift)) return *quick;
    const Converted converted = ConvertValue(text, pointShift);
    if (converted.result == Conversion::NotNumber) FailNotNumber(text, line);
    if (converted.result == Conversion::TooLarge)
        throw CommandFailure(AtLine(line, QuotedToken(text) + " is too large"));
    return converted.value;
}

ListScanner::ListScanner(Source& source, long firstLine, std::size_t maxBlankRun)
    : source_(source), line_(firstLine), maxBlankRun_(maxBlankRun) {}

std::string_view ListScanner::text() {
    const std::string_view text = TakeValue<EndsValue>(source_, buffer_, line_);
    if (text.empty()) failEmpty();
    return text;
}

std::size_t ListScanner::values(std::span<float> out, int pointShift) {
    const std::string_view block = source_.buffered();
    const char* const end = block.data() + block.size();
    const char* next = block.data();  // where the next value would start
    const char* takenEnd = next;      // after the last value taken
    std::size_t taken = 0;
    while (taken < out.size()) {
        const ShortDecimal quick =
            SeparatedShortDecimal({next, static_cast<std::size_t>(end - next)}, pointShift);
        if (quick.length == 0) break;
        out[taken++] = quick.value;
        takenEnd = next + quick.length;
        // A separator follows within the block, so a line end's first byte is there. After any
        // other separator the next round stops the sweep, as no value starts with one.
        next = takenEnd + lineEndLength({takenEnd, static_cast<std::size_t>(end - takenEnd)});
    }
    source_.skip(static_cast<std::size_t>(takenEnd - block.data()));
    if (taken == 0) {
        // Not the short form with its separator in the block: the general reading.
        out[0] = ValueAt(text(), pointShift, line_);
        return 1;
    }
    line_ += static_cast<long>(taken - 1);  // the line ends between the values taken
    return taken;
}

void ListScanner::failEmpty() const {
    throw CommandFailure(AtLine(line_, "empty field between two commas"));
}

InputFile::InputFile(const std::string& path) {
    if (path.empty()) throw CommandFailure("no file name given");
    if (path == "-") {
        descriptor_ = STDIN_FILENO;
        return;
    }
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) throw CommandFailure(std::strerror(errno));
    owned_ = true;
}

InputFile::~InputFile() {
    if (owned_) ::close(descriptor_);
}

}  // namespace ritmova::value_text
