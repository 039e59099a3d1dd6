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

// Stops the run with a message; libFuzzer keeps the input as a finding.
[[noreturn]] void Finding(const std::string& what);

}  // namespace ritmova::fuzz
