#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "test_data.h"

namespace ritmova::testing {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// Runs ritmova-cli with `arguments` as they are (no shell), `input` on its standard input.
inline CliRun RunCli(const std::vector<std::string>& arguments, const std::string& input = "") {
    ScratchDir dir;
    const std::string in = dir.write("in", input);
    const std::string out = dir.file("out");
    const std::string err = dir.file("err");
    std::vector<char*> argv{const_cast<char*>(RITMOVA_CLI)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(open(in.c_str(), O_RDONLY), 0);
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        execv(RITMOVA_CLI, argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {WEXITSTATUS(status), ReadAll(out), ReadAll(err)};
}

// Whether `text` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
inline bool ValidUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80       ? 1
                                   : byte >> 5 == 6  ? 2
                                   : byte >> 4 == 14 ? 3
                                   : byte >> 3 == 30 ? 4
                                                     : 0;
        if (length == 0 || i + length > text.size()) return false;
        char32_t code = length == 1 ? byte : byte & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next >> 6 != 2) return false;
            code = code << 6 | (next & 0x3F);
        }
        constexpr char32_t Least[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < Least[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace ritmova::testing
