#include "memory_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

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

void Finding(const std::string& what) {
    const std::string line = "FINDING: " + what + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::abort();
}

}  // namespace ritmova::fuzz
