#pragma once

#include <string>
#include <string_view>

namespace ritmova::fuzz {

// An anonymous file in memory holding one input, so that the readers that take a path see
// exactly the fuzzer's bytes without touching the disk.
class MemoryFile {
  public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Replaces the file's content.
    void hold(std::string_view bytes);
    // A path that opens the file afresh from its start.
    const std::string& path() const { return path_; }

  private:
    int descriptor_;
    std::string path_;
};

// Links of chosen names to one file, in a folder of their own; each name replaces the last, so
// that the file is read under names of any bytes.
class NamedLink {
  public:
    explicit NamedLink(std::string target);
    ~NamedLink();
    NamedLink(const NamedLink&) = delete;
    NamedLink& operator=(const NamedLink&) = delete;

    // The path of a link named `name`: at most 255 bytes, '/' as '_'; "", "." and ".." as
    // "recording.int".
    const std::string& name(std::string_view name);

  private:
    std::string target_;
    std::string folder_;
    std::string path_;
};

// Stops the run with a message; libFuzzer keeps the input as a finding.
[[noreturn]] void Finding(const std::string& what);

}  // namespace ritmova::fuzz
