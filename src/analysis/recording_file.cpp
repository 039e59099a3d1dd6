// The whole-recording reader: a list of values, a column of each line, or a Polar HRM file.
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <optional>

#include "analysis/recording.h"
#include "analysis/value_text.h"
#include "common/command_failure.h"

namespace ritmova {
namespace {

using namespace value_text;

constexpr int MillisecondShift = 3;
// The longest run of blank space, as the 256-value reader allows before its values.
constexpr std::size_t MaxBlankRun = 16u << 20;

double median(std::vector<float> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    const double upper = *middle;
    if (values.size() % 2 == 1) return upper;
    return (*std::max_element(values.begin(), middle) + upper) / 2;
}

// The nearest double of a value's text that the single-precision reading accepted: its sign,
// digits, point and exponent are valid, and a value beyond double range there is an underflow.
double exactValue(std::string_view text) {
    if (text.starts_with('+')) text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) return text.starts_with('-') ? -0.0 : 0.0;
    return value;
}

// The values as they are read, in the units asked for; in both for Auto, which chooses once
// every value is known. With `exact`, also every value as the nearest double of its text.
class ValueSink {
  public:
    explicit ValueSink(UnitsChoice units, bool exact) : units_(units), exact_(exact) {}

    void add(std::string_view text, long line) {
        if (count_ == MaxRecordingValues) {
            throw CommandFailure("more than " + std::to_string(MaxRecordingValues) +
                                 " values, the most a recording may hold");
        }
        // Both units are converted before either is kept, so that a value refused in one
        // leaves the values before it in step.
        const float seconds = units_ != UnitsChoice::Milliseconds ? ValueAt(text, 0, line) : 0;
        const float milliseconds =
            units_ != UnitsChoice::Seconds ? ValueAt(text, MillisecondShift, line) : 0;
        ++count_;
        if (units_ != UnitsChoice::Milliseconds) seconds_.push_back(seconds);
        if (units_ != UnitsChoice::Seconds) milliseconds_.push_back(milliseconds);
        if (exact_) exactValues_.push_back(exactValue(text));
    }

    bool empty() const { return count_ == 0; }

    Recording finish() {
        if (count_ == 0) throw CommandFailure("no values");
        bool inMilliseconds = units_ == UnitsChoice::Milliseconds;
        if (units_ == UnitsChoice::Auto) inMilliseconds = median(seconds_) > 10;
        if (!inMilliseconds) {
            for (double& value : exactValues_) value *= 1000;
        }
        if (inMilliseconds)
            return {std::move(milliseconds_), Units::Milliseconds, std::move(exactValues_)};
        return {std::move(seconds_), Units::Seconds, std::move(exactValues_)};
    }

  private:
    UnitsChoice units_;
    bool exact_;
    std::vector<double> exactValues_;
    std::size_t count_ = 0;
    std::vector<float> seconds_;
    std::vector<float> milliseconds_;
};

// After blank space and line ends, the text up to the first separator when it starts with
// '[' (valid until the source or buffer is next used); nothing for any other text.
std::optional<std::string_view> bracketedStart(Source& source, ValueBuffer& buffer, long& line) {
    source.skipSpace(line, MaxBlankRun);
    if (source.peek() != '[') return std::nullopt;
    return TakeValue<EndsValue>(source, buffer, line);
}

// Reads a recording. Given `stopReason`, a failure after the first value ends the reading and
// its reason goes there; the values before it are the recording.
class RecordingReader {
  public:
    RecordingReader(Source& source, const ReadOptions& options, std::string* stopReason)
        : source_(source), options_(options), stopReason_(stopReason) {}

    Recording read() {
        source_.startText();
        const bool plain = options_.skipLines == 0 && options_.column == 0;
        const bool polar = plain && startsPolar();
        if (!polar) {
            for (std::size_t i = 0; i < options_.skipLines && source_.peek() != EOF; ++i)
                skipLine();
        }
        ValueSink values(polar ? UnitsChoice::Milliseconds : options_.units, options_.exact);
        try {
            readValues(values, polar);
        } catch (const CommandFailure& failure) {
            if (!stopReason_ || values.empty()) throw;
            *stopReason_ = failure.what();
        }
        return values.finish();
    }

  private:
    [[noreturn]] void failAtLine(const std::string& what) const {
        throw CommandFailure(AtLine(line_, what));
    }

    // A Polar HRM file starts with its [Params] section. Any other first text in '[' is no
    // number either.
    bool startsPolar() {
        const std::optional<std::string_view> first = bracketedStart(source_, buffer_, line_);
        if (!first) return false;
        if (*first != "[Params]") FailNotNumber(*first, line_);
        skipLine();
        return true;
    }

    void readValues(ValueSink& values, bool polar) {
        if (polar) {
            readPolar(values);
        } else if (options_.column == 0) {
            ListScanner list(source_, line_, MaxBlankRun);
            while (list.next()) values.add(list.text(), list.line());
        } else {
            readColumn(values, options_.column);
        }
    }

    // The first field of each line of the [HRData] section, in milliseconds. A second [HRData]
    // section is refused: which of the two holds the recording cannot be told.
    void readPolar(ValueSink& values) {
        bool inData = false;
        bool dataSeen = false;
        while (startLine()) {
            if (source_.peek() == '[') {
                const std::size_t length = source_.takeText<EndsValue>(buffer_);
                inData = std::string_view(buffer_.data(), std::min(length, buffer_.size())) ==
                         "[HRData]";
                if (inData && dataSeen) failAtLine("a second [HRData] section");
                dataSeen = dataSeen || inData;
            } else if (inData) {
                values.add(columnText(1), line_);
            }
            skipLine();
        }
        if (!dataSeen) throw CommandFailure("a Polar HRM file without an [HRData] section");
    }

    void readColumn(ValueSink& values, std::size_t column) {
        while (startLine()) {
            values.add(columnText(column), line_);
            skipLine();
        }
    }

    // Skips blank lines and the blanks that start a line; false at the end of the text.
    bool startLine() {
        source_.skipSpace(line_, MaxBlankRun);
        return source_.peek() != EOF;
    }

    std::string_view columnText(std::size_t column) {
        const auto failColumn = [this, column](const char* what) {
            failAtLine("column " + std::to_string(column) + what);
        };
        for (std::size_t k = 1; k < column; ++k) {
            while (!EndsField(source_.peek()) && source_.peek() != EOF) source_.get();
            source_.skipBlanks(line_, MaxBlankRun);
            const int c = source_.peek();
            if (c == ',' || c == ';') source_.get();
            source_.skipBlanks(line_, MaxBlankRun);
            if (IsLineEnd(source_.peek()) || source_.peek() == EOF) failColumn(" is missing");
        }
        const std::string_view text = TakeValue<EndsField>(source_, buffer_, line_);
        if (text.empty()) failColumn(" is empty");
        return text;
    }

    void skipLine() {
        source_.skipToLineEnd();
        if (source_.peek() != EOF) endLine();
    }

    // At a line end: takes it, a CR LF pair as one.
    void endLine() {
        if (source_.get() == '\r' && source_.peek() == '\n') source_.get();
        ++line_;
    }

    Source& source_;
    const ReadOptions& options_;
    std::string* stopReason_;
    long line_ = 1;
    ValueBuffer buffer_;
};

Recording readRecording(Source& source, const ReadOptions& options,
                        std::string* stopReason = nullptr) {
    return RecordingReader(source, options, stopReason).read();
}

const std::string& limitReason() {
    static const std::string reason = "more than " + std::to_string(MaxRecordingBytes >> 20) +
                                      " MB of text, the most a recording may hold";
    return reason;
}

// A file's recording; a read of it that fails is told as such, not as what it cut short.
Recording readFile(const std::string& path, const ReadOptions& options, std::string* stopReason,
                   Progress* progress) {
    const InputFile file(path);
    Source source(file, MaxRecordingBytes, limitReason());
    if (progress) {
        struct stat status {};
        const bool sized = fstat(file.descriptor(), &status) == 0 && S_ISREG(status.st_mode);
        source.reportTo(progress, sized ? static_cast<std::int64_t>(status.st_size) : 0);
        progress->check();
    }
    try {
        Recording recording = readRecording(source, options, stopReason);
        if (stopReason && source.failed()) *stopReason = "the file could not be read";
        return recording;
    } catch (const CommandFailure&) {
        if (source.failed()) throw CommandFailure("the file could not be read");
        throw;
    }
}

}  // namespace

Recording ParseRecording(std::string_view text, const ReadOptions& options) {
    Source source(text, MaxRecordingBytes, limitReason());
    return readRecording(source, options);
}

PartialRecording ParseRecordingUntilFailure(std::string_view text, const ReadOptions& options) {
    Source source(text, MaxRecordingBytes, limitReason());
    PartialRecording partial;
    partial.recording = readRecording(source, options, &partial.stopReason);
    return partial;
}

Recording ReadRecording(const std::string& path, const ReadOptions& options, Progress* progress) {
    return readFile(path, options, nullptr, progress);
}

PartialRecording ReadRecordingUntilFailure(const std::string& path, const ReadOptions& options,
                                           Progress* progress) {
    PartialRecording partial;
    partial.recording = readFile(path, options, &partial.stopReason, progress);
    return partial;
}

bool IsPolarFile(const std::string& path) {
    struct stat status {};
    if (path == "-" || stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    try {
        const InputFile file(path);
        Source source(file, MaxRecordingBytes, limitReason());
        source.startText();
        ValueBuffer buffer;
        long line = 1;
        return bracketedStart(source, buffer, line) == "[Params]";
    } catch (const CommandFailure&) {
        return false;
    }
}

}  // namespace ritmova
