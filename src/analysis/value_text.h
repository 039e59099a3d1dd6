#pragma once

// What the readers of interval files share: the bytes of a file or of text in memory, read up
// to a bound; where a value's text begins and ends; and how it becomes a single-precision
// number. Internal to the readers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/progress.h"

namespace ritmova::value_text {

// A value's text longer than this is no number; it also bounds what one value may consume.
inline constexpr std::size_t MaxValueLength = 64;

// What is called for each byte or value of a list stays inline here: the separators, Source's
// get, peek, fill, skipSpace and skipBlanks, and ListScanner::next. Called from
// value_text.cpp instead, they made the whole-recording reader's parse of 100,000 values take
// 34.9 instead of 29.7 million instructions under callgrind (ParseRecording100k); inline,
// 31.2 million.
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
    std::string_view buffered() const;
    void skip(std::size_t count);
    // Whether a read of the file failed (the text then ends there).
    bool failed() const { return failed_; }
    // Reports the bytes taken of `totalBytes` to `progress` at each block read from the file,
    // which stops the reading once the progress is cancelled.
    void reportTo(Progress* progress, std::int64_t totalBytes) {
        progress_ = progress;
        totalBytes_ = totalBytes;
    }

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
    // nothing is taken. Made for EndsValue and EndsField.
    template <bool (*Ends)(int)>
    std::optional<std::string_view> takeWithinBlock(std::size_t maxLength);

    // Takes the characters up to the next separator into `out`; returns how many there were,
    // or out.size() + 1 when they do not fit. Made for EndsValue and EndsField into a
    // ValueBuffer.
    template <bool (*Ends)(int), std::size_t N>
    std::size_t takeText(std::array<char, N>& out);

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
    std::size_t taken_ = 0;  // bytes read from the file
    Progress* progress_ = nullptr;
    std::int64_t totalBytes_ = 0;
    std::array<char, 4096> block_;  // filled before it is read
};

// Room for a value's text: longer than MaxValueLength, so that the quoted start of a text
// that is too long always ends in "...", even in four-byte characters.
using ValueBuffer = std::array<char, MaxValueLength + 20>;

// "line 3: " and a reason.
std::string AtLine(long line, const std::string& what);

// "line 3: 'abc' is not a number".
[[noreturn]] void FailNotNumber(std::string_view text, long line);

// A value's text longer than MaxValueLength, of which `start` was kept: one that begins as a
// number does is said to be too long for one, anything else not to be a number.
[[noreturn]] void FailTooLong(std::string_view start, long line);

// The text of the value at `line` up to the next separator, empty when there is none; a text
// longer than MaxValueLength fails. The text is valid until the source or buffer is next used.
// Made for EndsValue and EndsField.
template <bool (*Ends)(int)>
std::string_view TakeValue(Source& source, ValueBuffer& buffer, long line);

// The value of `text` at `line`, converted to single precision after its decimal point moves
// `pointShift` places left (3 for milliseconds), or a failure naming the line and quoting the
// text.
float ValueAt(std::string_view text, int pointShift, long line);

// Values in a list, separated by commas, blanks, tabs or line ends, as the 256-value reader
// and the whole-recording reader take them.
class ListScanner {
  public:
    // `maxBlankRun` bounds each run of blank space.
    explicit ListScanner(Source& source, long firstLine = 1, std::size_t maxBlankRun = NoLimit);
    // Moves to the next value; false at the end of the text.
    bool next() {
        if (started_) consumeSeparator();
        started_ = true;
        source_.skipSpace(line_, maxBlankRun_);
        return source_.peek() != EOF;
    }
    // The value's text, valid until the next call; an empty field fails.
    std::string_view text();
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
