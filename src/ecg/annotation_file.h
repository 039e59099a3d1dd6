#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ritmova::ecg {

// One annotation of a WFDB annotation file. `sample` counts ticks of the file's time
// resolution (the record's samples unless the file says otherwise); number and subtype are
// signed bytes and channel an unsigned byte, as WFDB's tools keep them.
struct Annotation {
    std::int64_t sample = 0;
    int code = 0;
    int subtype = 0;
    int channel = 0;
    int number = 0;
    std::string aux;  // the bytes as stored, a trailing NUL included

    // The aux text up to its first NUL.
    std::string_view auxText() const { return std::string_view(aux).substr(0, aux.find('\0')); }
    bool operator==(const Annotation&) const = default;
};

struct AnnotationFile {
    std::vector<Annotation> annotations;
    double timeResolutionHz = 0;  // from a "## time resolution: N" block; 0 when there is none
};

inline constexpr int MaxAnnotationCode = 49;
inline constexpr std::size_t MaxAnnotationBytes = 16 << 20;

// "N", "V", "+", "[" ...; "[42]" for a code with no mnemonic.
std::string CodeMnemonic(int code);

// Beats: N L R a V F J A S E j / Q B ? e n f r.
bool IsBeatCode(int code);

// Reads the 16-bit words of an annotation file: SKIP, NUM, SUB, CHN and AUX words, the leading
// "## " notes (the time-resolution block) taken out of the annotations. Throws CommandFailure
// naming the byte at fault: a file cut short, a modifier with no annotation before it, an
// annotation before the record's start.
AnnotationFile ParseAnnotations(std::string_view bytes);

// ParseAnnotations of the file at `path` (at most MaxAnnotationBytes); reasons name the file.
AnnotationFile ReadAnnotations(const std::string& path);

// The bytes of an annotation file holding `file`'s annotations in order of their samples,
// with a time-resolution block when the file gives one. Throws CommandFailure for a code,
// subtype, channel, number or aux that the format cannot hold, or samples out of order.
std::string AnnotationBytes(const AnnotationFile& file);

}  // namespace ritmova::ecg
