#include <charconv>
#include <limits>

#include "common/command_failure.h"
#include "ecg/annotation_file.h"

namespace ritmova::ecg {

namespace {

constexpr int SkipWord = 59, NumberWord = 60, SubtypeWord = 61, ChannelWord = 62, AuxWord = 63;

void PutWord(std::string& out, unsigned word) {
    out += static_cast<char>(word & 0xFF);
    out += static_cast<char>(word >> 8 & 0xFF);
}

void PutSkip(std::string& out, std::int64_t interval) {
    auto value = static_cast<std::uint32_t>(static_cast<std::int32_t>(interval));
    PutWord(out, SkipWord << 10);
    PutWord(out, value >> 16);
    PutWord(out, value & 0xFFFF);
}

// Moves the time by `interval` ticks and writes the annotation word of `code`.
void PutTimedWord(std::string& out, std::int64_t interval, int code) {
    constexpr std::int64_t Longest = std::numeric_limits<std::int32_t>::max();
    if (interval >= 0 && interval <= 1023)
        return PutWord(out, unsigned(code) << 10 | unsigned(interval));
    for (; interval > Longest; interval -= Longest) PutSkip(out, Longest);
    PutSkip(out, interval);
    PutWord(out, unsigned(code) << 10);
}

void RequireWritable(const Annotation& a, std::int64_t previous) {
    std::string at = "the annotation at sample " + std::to_string(a.sample);
    if (a.code < 1 || a.code >= SkipWord)
        throw CommandFailure(at + " has code " + std::to_string(a.code) + ", not 1 to 58");
    if (a.sample < previous) throw CommandFailure(at + " comes after a later one");
    if (a.subtype < -128 || a.subtype > 127 || a.number < -128 || a.number > 127 || a.channel < 0 ||
        a.channel > 255)
        throw CommandFailure(at + " has a subtype, number or channel out of range");
    if (a.aux.size() > 1023) throw CommandFailure(at + " has an aux text over 1023 bytes");
}

void PutAnnotation(std::string& out, const Annotation& a, const Annotation& previous) {
    PutTimedWord(out, a.sample - previous.sample, a.code);
    if (a.subtype != 0) PutWord(out, SubtypeWord << 10 | unsigned(a.subtype & 0xFF));
    if (a.channel != previous.channel) PutWord(out, ChannelWord << 10 | unsigned(a.channel));
    if (a.number != previous.number) PutWord(out, NumberWord << 10 | unsigned(a.number & 0xFF));
    if (a.aux.empty()) return;
    PutWord(out, AuxWord << 10 | unsigned(a.aux.size()));
    out += a.aux;
    if (a.aux.size() % 2 != 0) out += '\0';
}

// A note at time 0 holding the resolution, then a SKIP back to -1 and a null word forward to 0.
void PutResolutionBlock(std::string& out, double resolution) {
    char number[32];
    std::string note =
        "## time resolution: " +
        std::string(number, std::to_chars(number, number + sizeof number, resolution).ptr);
    PutWord(out, 22u << 10);
    PutWord(out, AuxWord << 10 | unsigned(note.size()));
    out += note;
    if (note.size() % 2 != 0) out += '\0';
    PutSkip(out, -1);
    PutWord(out, 1);
}

}  // namespace

std::string AnnotationBytes(const AnnotationFile& file) {
    std::string out;
    if (file.timeResolutionHz > 0) PutResolutionBlock(out, file.timeResolutionHz);
    Annotation previous;
    for (const Annotation& a : file.annotations) {
        RequireWritable(a, previous.sample);
        PutAnnotation(out, a, previous);
        previous = a;
    }
    PutWord(out, 0);
    return out;
}

}  // namespace ritmova::ecg
