#include "ecg/annotation_file.h"

#include <array>
#include <limits>
#include <optional>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/field_text.h"
#include "ecg/file_bytes.h"

namespace ritmova::ecg {

namespace {

enum WordCode { Skip = 59, Number = 60, Subtype = 61, Channel = 62, Aux = 63 };
constexpr int NoteCode = 22;
constexpr std::string_view ResolutionNote = "## time resolution: ";

// WFDB's mnemonics by code; empty where a code has none.
constexpr std::array<std::string_view, MaxAnnotationCode + 1> Mnemonics = {
    "",  "N", "L", "R", "a", "V",  "F", "J", "A", "S", "E", "j", "/", "Q", "~", "",  "|",
    "",  "s", "T", "*", "D", "\"", "=", "p", "B", "^", "t", "+", "u", "?", "!", "[", "]",
    "e", "n", "@", "x", "f", "(",  ")", "r", "",  "",  "",  "",  "",  "",  "",  ""};

[[noreturn]] void FailAt(std::size_t offset, const std::string& reason) {
    throw CommandFailure("byte " + std::to_string(offset) + ": " + reason);
}

// Walks the words, keeping the annotation that NUM, SUB, CHN and AUX words modify.
class WordReader {
  public:
    explicit WordReader(std::string_view bytes) : bytes_(bytes) {}

    std::vector<Annotation> readAll() {
        while (true) {
            std::size_t at = offset_;
            unsigned word = next("an annotation word");
            if (word == 0) break;
            step(at, static_cast<int>(word >> 10), static_cast<int>(word & 1023));
        }
        return std::move(annotations_);
    }

  private:
    unsigned next(const char* what) {
        if (offset_ + 2 > bytes_.size())
            FailAt(offset_, std::string("the file ends before ") + what +
                                (what[0] == 'a' ? " (it lacks its end mark)" : ""));
        auto low = static_cast<unsigned char>(bytes_[offset_]);
        auto high = static_cast<unsigned char>(bytes_[offset_ + 1]);
        offset_ += 2;
        return low | high << 8u;
    }

    Annotation& current(std::size_t at, const char* word) {
        if (annotations_.empty()) FailAt(at, std::string(word) + " before any annotation");
        return annotations_.back();
    }

    void step(std::size_t at, int code, int value) {
        if (code == Skip) {
            std::uint32_t high = next("the SKIP's value"), low = next("the SKIP's value");
            time_ += static_cast<std::int32_t>(high << 16 | low);
        } else if (code == Number) {
            number_ = current(at, "a NUM word").number = static_cast<std::int8_t>(value & 0xFF);
        } else if (code == Subtype) {
            current(at, "a SUB word").subtype = static_cast<std::int8_t>(value & 0xFF);
        } else if (code == Channel) {
            channel_ = current(at, "a CHN word").channel = value & 0xFF;
        } else if (code == Aux) {
            readAux(at, current(at, "an AUX word"), static_cast<std::size_t>(value));
        } else {
            time_ += value;
            if (time_ < 0 && code != 0) FailAt(at, "an annotation before the record's start");
            if (code != 0 && time_ < latest_)
                FailAt(at, "an annotation earlier than the one before");
            if (code != 0) latest_ = time_;
            annotations_.push_back({time_, code, 0, channel_, number_, {}});
        }
    }

    void readAux(std::size_t at, Annotation& annotation, std::size_t length) {
        std::size_t padded = length + length % 2;
        if (bytes_.size() - offset_ < padded) FailAt(at, "the file ends inside an AUX text");
        annotation.aux = std::string(bytes_.substr(offset_, length));
        offset_ += padded;
    }

    std::string_view bytes_;
    std::size_t offset_ = 0;
    std::int64_t time_ = 0, latest_ = 0;
    int channel_ = 0, number_ = 0;
    std::vector<Annotation> annotations_;
};

bool IsHeaderNote(const Annotation& a) {
    return a.code == NoteCode && a.sample == 0 && a.auxText().starts_with("## ");
}

// The leading "## " notes and the null annotations (code 0) that restore the time after them.
AnnotationFile WithoutHeaderBlock(std::vector<Annotation> all) {
    AnnotationFile file;
    std::size_t first = 0;
    for (; first < all.size() && (IsHeaderNote(all[first]) || all[first].code == 0); ++first) {
        std::string_view text = all[first].auxText();
        if (!text.starts_with(ResolutionNote)) continue;
        auto resolution = WholeNumber(TrimBlanks(text.substr(ResolutionNote.size())));
        if (!resolution || *resolution <= 0)
            throw CommandFailure("the time resolution " + QuotedToken(text) + " is not valid");
        file.timeResolutionHz = *resolution;
    }
    for (std::size_t i = first; i < all.size(); ++i)
        if (all[i].code != 0) file.annotations.push_back(std::move(all[i]));
    return file;
}

}  // namespace

std::string CodeMnemonic(int code) {
    if (code >= 0 && code <= MaxAnnotationCode && !Mnemonics[std::size_t(code)].empty())
        return std::string(Mnemonics[std::size_t(code)]);
    return "[" + std::to_string(code) + "]";
}

bool IsBeatCode(int code) {
    return (code >= 1 && code <= 13) || code == 25 || code == 30 || code == 34 || code == 35 ||
           code == 38 || code == 41;
}

AnnotationFile ParseAnnotations(std::string_view bytes) {
    return WithoutHeaderBlock(WordReader(bytes).readAll());
}

AnnotationFile ReadAnnotations(const std::string& path) {
    try {
        return ParseAnnotations(ReadSmallFile(path, MaxAnnotationBytes));
    } catch (const CommandFailure& failure) {
        throw CommandFailure(SafeText(path) + ": " + failure.what());
    }
}

}  // namespace ritmova::ecg
