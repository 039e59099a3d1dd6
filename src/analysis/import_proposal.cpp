// The import of a text file with a header or columns: the guess of the reader's options from
// the first lines, and what a choice of them reads.
#include "analysis/import_proposal.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <functional>

#include "analysis/value_text.h"
#include "common/command_failure.h"

namespace ritmova {
namespace {

using value_text::EndsField;
using value_text::IsBlank;
using Fields = std::vector<std::string_view>;

constexpr std::size_t HeadBytes = 64u << 10;
constexpr double MillisecondsMedian = 10;  // above it, as the reader's automatic units take it

// A line's fields as the reader's column option splits it: blanks, then at most one comma or
// semicolon, then blanks; two commas hold an empty field, a separator at the end none.
Fields fieldsOf(std::string_view line) {
    Fields fields;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < line.size() && IsBlank(line[i])) ++i;
    };
    skipBlanks();
    while (i < line.size()) {
        const std::size_t start = i;
        while (i < line.size() && !EndsField(static_cast<unsigned char>(line[i]))) ++i;
        fields.push_back(line.substr(start, i - start));
        skipBlanks();
        if (i < line.size() && (line[i] == ',' || line[i] == ';')) ++i;
        skipBlanks();
    }
    return fields;
}

// The value of a field by the reader's rules, in seconds; nothing when it is no number.
std::optional<float> valueOf(std::string_view field) {
    if (field.empty() || field.size() > value_text::MaxValueLength) return std::nullopt;
    try {
        return value_text::ValueAt(field, 0, 0);
    } catch (const CommandFailure&) {
        return std::nullopt;
    }
}

bool allNumbers(const Fields& fields) {
    return std::all_of(fields.begin(), fields.end(), [](auto f) { return valueOf(f).has_value(); });
}

// Column `column`'s values on the lines from `first` on that are not blank; nothing when one
// of them has no number there.
std::optional<std::vector<float>> columnValues(const std::vector<Fields>& lines, std::size_t first,
                                               std::size_t column) {
    std::vector<float> values;
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        if (lines[i].size() < column) return std::nullopt;
        const std::optional<float> value = valueOf(lines[i][column - 1]);
        if (!value) return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

double median(std::vector<float> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1) return values[middle];
    return (static_cast<double>(values[middle - 1]) + values[middle]) / 2;
}

// Positive, of a heart's range in seconds or milliseconds, and not rising throughout as times
// and beat numbers do.
bool looksLikeIntervals(const std::vector<float>& values) {
    if (std::any_of(values.begin(), values.end(), [](float v) { return !(v > 0); })) return false;
    const double middle = median(values);
    const bool heartRange = (middle >= 0.2 && middle <= 3) || (middle >= 200 && middle <= 3000);
    const bool rising =
        values.size() > 1 && std::adjacent_find(values.begin(), values.end(),
                                                std::greater_equal<float>()) == values.end();
    return heartRange && !rising;
}

// A header's names: split at commas, semicolons or tabs when it has any, else as data.
Fields headerNames(std::string_view header) {
    if (header.find_first_of(",;\t") == std::string_view::npos) return fieldsOf(header);
    Fields names;
    for (std::size_t start = 0; start <= header.size();) {
        const std::size_t end = std::min(header.find_first_of(",;\t", start), header.size());
        std::string_view name = header.substr(start, end - start);
        while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
        while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
        names.push_back(name);
        start = end + 1;
    }
    return names;
}

// Whether a column's name says R-R intervals: one of its words (hyphens dropped, case ignored)
// is such a name.
bool namesIntervals(std::string_view name) {
    static constexpr std::array<std::string_view, 10> Names = {
        "rr",       "rri",       "ibi",        "nn",          "nni",
        "interval", "intervals", "rrinterval", "rrintervals", "interbeat"};
    std::string word;
    const auto known = [&word] {
        return std::find(Names.begin(), Names.end(), word) != Names.end();
    };
    for (const char c : std::string(name) + ' ') {
        if (c == '-') continue;
        if (std::isalnum(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!word.empty()) {
            if (known()) return true;
            word.clear();
        }
    }
    return false;
}

// The column for the data from line `first`, of those that read there (`readable`).
std::size_t chooseColumn(const std::vector<Fields>& lines, std::size_t first,
                         const std::vector<std::size_t>& readable, std::string_view header) {
    const Fields names = headerNames(header);
    for (const std::size_t column : readable) {
        if (column <= names.size() && namesIntervals(names[column - 1])) return column;
    }
    for (const std::size_t column : readable) {
        if (looksLikeIntervals(*columnValues(lines, first, column))) return column;
    }
    return readable.front();
}

ImportProposal proposal(const FileHead& head, const std::vector<Fields>& lines, std::size_t first,
                        const std::vector<std::size_t>& readable) {
    std::string header;
    std::string_view lastHeader;
    for (std::size_t i = 0; i < first; ++i) {
        header += (i == 0 ? "" : "\n") + head.lines[i];
        if (!lines[i].empty()) lastHeader = head.lines[i];
    }
    const std::size_t column = chooseColumn(lines, first, readable, lastHeader);
    const bool milliseconds = median(*columnValues(lines, first, column)) > MillisecondsMedian;
    return {{first, column, milliseconds ? Units::Milliseconds : Units::Seconds},
            {header, lines[first].size()}};
}

}  // namespace

ReadOptions ImportChoice::readOptions() const {
    return {units == Units::Milliseconds ? UnitsChoice::Milliseconds : UnitsChoice::Seconds,
            skipLines, column};
}

std::string ImportChoiceText(const ImportChoice& choice) {
    return std::to_string(choice.skipLines) + "," + std::to_string(choice.column) + "," +
           (choice.units == Units::Milliseconds ? "ms" : "s");
}

std::optional<ImportChoice> ParseImportChoice(std::string_view text) {
    const auto number = [&text](std::size_t& out) {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
        if (error != std::errc() || end == text.data() + text.size() || *end != ',') return false;
        text.remove_prefix(static_cast<std::size_t>(end - text.data()) + 1);
        return true;
    };
    ImportChoice choice;
    if (!number(choice.skipLines) || !number(choice.column) || choice.column == 0) return {};
    if (text != "s" && text != "ms") return {};
    choice.units = text == "ms" ? Units::Milliseconds : Units::Seconds;
    return choice;
}

FileHead SplitHead(std::string_view text, bool whole) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    FileHead head;
    while (!text.empty() && head.lines.size() < MaxHeadLines) {
        const std::size_t end = text.find_first_of("\r\n");
        if (end == std::string_view::npos && !whole) break;  // cut short
        head.lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
    }
    return head;
}

FileHead ReadFileHead(const std::string& path) {
    const value_text::InputFile file(path);
    std::string text(HeadBytes + 1, '\0');
    std::size_t size = 0;
    while (size < text.size()) {
        const ssize_t got = ::read(file.descriptor(), text.data() + size, text.size() - size);
        if (got == 0) break;
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw CommandFailure(std::strerror(errno));
        size += static_cast<std::size_t>(got);
    }
    text.resize(size);
    return SplitHead(text, size <= HeadBytes);
}

std::size_t FieldCount(std::string_view line) {
    return fieldsOf(line).size();
}

std::string ShapeText(const FileShape& shape) {
    return std::to_string(shape.fields) + "|" + shape.header;
}

std::optional<ImportProposal> ProposeImport(const FileHead& head) {
    std::vector<Fields> lines;
    for (const std::string& line : head.lines) lines.push_back(fieldsOf(line));
    std::size_t first = 0;
    while (first < lines.size() && lines[first].empty()) ++first;
    if (first == lines.size() || allNumbers(lines[first])) return std::nullopt;
    for (; first < lines.size(); ++first) {
        std::vector<std::size_t> readable;
        for (std::size_t column = 1; column <= lines[first].size(); ++column) {
            if (columnValues(lines, first, column)) readable.push_back(column);
        }
        if (!readable.empty()) return proposal(head, lines, first, readable);
        if (!lines[first].empty() && allNumbers(lines[first])) return std::nullopt;
    }
    return std::nullopt;
}

ImportPreview PreviewImport(const FileHead& head, const ImportChoice& choice, std::size_t count) {
    std::string text;
    for (const std::string& line : head.lines) text += line + "\n";
    ImportPreview preview;
    try {
        PartialRecording read = ParseRecordingUntilFailure(text, choice.readOptions());
        std::vector<float>& values = read.recording.intervals;
        values.resize(std::min(values.size(), count));
        preview.values = std::move(values);
        preview.reason = std::move(read.stopReason);
    } catch (const CommandFailure& failure) {
        preview.reason = failure.what();
    }
    return preview;
}

std::string ImportPreviewText(const ImportPreview& preview) {
    if (preview.values.empty()) return preview.reason;
    std::string text;
    for (const float value : preview.values) {
        char digits[32];
        if (!text.empty()) text += ", ";
        text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    }
    text += " s";
    if (!preview.reason.empty()) text += "; then " + preview.reason;
    return text;
}

}  // namespace ritmova
