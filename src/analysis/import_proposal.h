#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/recording.h"

namespace ritmova {

// A text file whose first lines are not numbers (a header, columns such as "time,rr") is read
// as the recording reader's options say: header lines to skip, one column, the units. These
// are the guess of those options from the file's first lines, the shape by which a choice is
// remembered, and the values a choice would read.

// How such a file is read.
struct ImportChoice {
    std::size_t skipLines = 0;
    std::size_t column = 1;  // 1-based
    Units units = Units::Seconds;

    ReadOptions readOptions() const;
    bool operator==(const ImportChoice&) const = default;
};

// "1,2,ms": the choice as text to keep, and back; nothing for text that is not such a choice.
std::string ImportChoiceText(const ImportChoice& choice);
std::optional<ImportChoice> ParseImportChoice(std::string_view text);

// The first lines of a file, without their line ends: at most MaxHeadLines, all complete.
struct FileHead {
    std::vector<std::string> lines;
};
inline constexpr std::size_t MaxHeadLines = 64;
// The first lines of `text`, which is the whole file when `whole`, else its start (whose last,
// cut line is left out). A UTF-8 byte order mark is left out.
FileHead SplitHead(std::string_view text, bool whole);
// The first lines of the file at `path` (its first 64 KB at most); throws CommandFailure with
// the system's reason when it cannot be read.
FileHead ReadFileHead(const std::string& path);

// The number of fields on a line, as the reader's column option splits it.
std::size_t FieldCount(std::string_view line);

// What files that are read alike share: the text of the header lines (joined by line feeds)
// and the number of fields on the first line after them.
struct FileShape {
    std::string header;
    std::size_t fields = 0;
    bool operator==(const FileShape&) const = default;
};
// The shape as one text ("2|time,rr"), to remember a choice by.
std::string ShapeText(const FileShape& shape);

struct ImportProposal {
    ImportChoice choice;
    FileShape shape;
};

// The guess for a file that starts with `head`: the header lines are the lines before the first
// from which one column holds a number on every line of the head; none of them is all numbers.
// The column is the one a header names as R-R (rr, r-r, rri, ibi, nn, nni, interval), else the
// first whose values are positive, of a heart's range (0.2-3 s or 200-3000 ms) and not rising
// throughout as times do, else the first that reads. Milliseconds when the column's median is
// above 10, as the reader's automatic units take them. Nothing when the first line that is not
// blank is all numbers (a plain list, which needs no options) or no column reads.
std::optional<ImportProposal> ProposeImport(const FileHead& head);

// The values (in seconds, as read) that `choice` reads from the head, at most `count`, or the
// reader's reason why it cannot read them.
struct ImportPreview {
    std::vector<float> values;
    std::string reason;  // empty when the head reads
};
ImportPreview PreviewImport(const FileHead& head, const ImportChoice& choice, std::size_t count);
// The preview as a line: "0.812, 0.79, 0.801 s", each value the shortest text that reads back
// to it, then "; then line 9: 'x' is not a number" when the head does not read to its end; the
// reason alone when no value reads.
std::string ImportPreviewText(const ImportPreview& preview);

}  // namespace ritmova
