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

}  // namespace ritmova::testing
