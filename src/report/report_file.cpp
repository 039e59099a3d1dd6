#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "common/command_failure.h"
#include "report/results_text.h"

namespace ritmova {
namespace {

[[noreturn]] void failWith(const std::string& what, int error) {
    throw CommandFailure(what + ": " + std::strerror(error));
}

// Writes `content` to `path`; failures name `target`, the file the user chose.
void writeAll(const std::string& path, const std::string& content, const std::string& target) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) failWith("cannot write " + target, errno);
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    const int writeError = errno;
    if (std::fclose(file) != 0 || !written) {
        const int error = written ? errno : writeError;
        std::remove(path.c_str());
        failWith("cannot write " + target, error);
    }
}

}  // namespace

void WriteReportFile(const std::string& path, const std::string& reportText) {
    if (path.empty()) throw CommandFailure("no file name given");
    const std::string temporary = path + ".ritmova-save";
    writeAll(temporary, reportText + "\r\n", path);
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        failWith("cannot replace " + path, error);
    }
}

}  // namespace ritmova
