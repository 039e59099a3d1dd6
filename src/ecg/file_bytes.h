#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace ritmova::ecg {

// The whole of a small file (a header or an annotation file), refused with a reason when it is
// not a regular file or holds more than `limit` bytes, so that no file can make us allocate
// more than that.
std::string ReadSmallFile(const std::string& path, std::size_t limit);

// A regular file opened for reading in blocks; failures are CommandFailure with the system's
// reason.
class BinaryFile {
  public:
    explicit BinaryFile(const std::string& path);

    // Reads up to `size` bytes into `out`; fewer only at the end of the file.
    std::size_t read(std::uint8_t* out, std::size_t size);
    void seek(std::uint64_t offset);
    std::uint64_t size() const { return size_; }

  private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    std::uint64_t size_ = 0;
};

}  // namespace ritmova::ecg
