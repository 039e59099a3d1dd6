#include "memory_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace ritmova::fuzz {

MemoryFile::MemoryFile()
    : descriptor_(memfd_create("ritmova-fuzz", 0)),
      path_("/proc/self/fd/" + std::to_string(descriptor_)) {
    if (descriptor_ < 0) Finding("memfd_create failed");
}

MemoryFile::~MemoryFile() {
    close(descriptor_);
}

void MemoryFile::hold(std::string_view bytes) {
    if (ftruncate(descriptor_, 0) != 0) Finding("ftruncate failed");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            pwrite(descriptor_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (written <= 0) Finding("pwrite failed");
        done += static_cast<std::size_t>(written);
    }
}

NamedLink::NamedLink(std::string target) : target_(std::move(target)) {
    char folder[] = "/tmp/ritmova-fuzz-XXXXXX";
    if (!mkdtemp(folder)) Finding("mkdtemp failed");
    folder_ = folder;
}

NamedLink::~NamedLink() {
    if (!path_.empty()) unlink(path_.c_str());
    rmdir(folder_.c_str());
}

const std::string& NamedLink::name(std::string_view name) {
    std::string file(name.substr(0, 255));
    std::replace(file.begin(), file.end(), '/', '_');
    if (file.empty() || file == "." || file == "..") file = "recording.int";
    if (!path_.empty()) unlink(path_.c_str());
    path_ = folder_ + "/" + file;
    if (symlink(target_.c_str(), path_.c_str()) != 0) Finding("symlink failed");
    return path_;
}

void Finding(const std::string& what) {
    const std::string line = "FINDING: " + what + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::abort();
}

}  // namespace ritmova::fuzz
