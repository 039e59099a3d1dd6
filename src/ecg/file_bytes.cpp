#include "ecg/file_bytes.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "analysis/interval_file.h"
#include "common/command_failure.h"

namespace ritmova::ecg {

namespace {

std::uint64_t RegularFileSize(const std::string& path) {
    RequireRegularFile(path);
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) throw CommandFailure(std::strerror(errno));
    return static_cast<std::uint64_t>(status.st_size);
}

}  // namespace

BinaryFile::BinaryFile(const std::string& path) : size_(RegularFileSize(path)) {
    file_.reset(std::fopen(path.c_str(), "rb"));
    if (!file_) throw CommandFailure(std::strerror(errno));
}

std::size_t BinaryFile::read(std::uint8_t* out, std::size_t size) {
    std::size_t count = std::fread(out, 1, size, file_.get());
    if (count < size && std::ferror(file_.get()))
        throw CommandFailure("the file could not be read");
    return count;
}

void BinaryFile::seek(std::uint64_t offset) {
    if (offset > size_ || std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0)
        throw CommandFailure("the file ends before byte " + std::to_string(offset));
}

std::string ReadSmallFile(const std::string& path, std::size_t limit) {
    BinaryFile file(path);
    if (file.size() > limit)
        throw CommandFailure("is larger than " + std::to_string(limit / 1024) + " kB");
    std::string bytes(static_cast<std::size_t>(file.size()), '\0');
    std::size_t count = file.read(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    bytes.resize(count);
    return bytes;
}

}  // namespace ritmova::ecg
