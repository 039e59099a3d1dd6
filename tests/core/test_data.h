#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/interval_file.h"
#include "common/command_failure.h"

namespace ritmova::testing {

// The sample differences between successive beats of record 100 in the reference tool's text
// dump of its annotations (rhythm notes left out), at 360 samples per second.
inline std::vector<long> DumpedBeatGaps100() {
    std::ifstream dump(std::string(RITMOVA_ECG_DATA_DIR) + "/expected/rdann-100-atr.txt");
    std::vector<long> gaps;
    long previous = -1;
    for (std::string line; std::getline(dump, line);) {
        std::istringstream fields(line);
        std::string time, type;
        long sample = 0;
        fields >> time >> sample >> type;
        if (type == "+") continue;
        if (previous >= 0) gaps.push_back(sample - previous);
        previous = sample;
    }
    return gaps;
}

// `count` values as text, one per line, formatted by printf's %g.
inline std::string Lines(const std::vector<double>& values, const char* separator = "\n") {
    std::string text;
    char buffer[32];
    for (double value : values) {
        std::snprintf(buffer, sizeof buffer, "%.9g", value);
        text += buffer;
        text += separator;
    }
    return text;
}

inline std::vector<double> Constant(double value, int count = 256) {
    return std::vector<double>(static_cast<std::size_t>(count), value);
}

// Alternates a, b, a, b, ... starting with a.
inline std::vector<double> Alternating(double a, double b, int count = 256) {
    std::vector<double> values;
    for (int i = 0; i < count; ++i) values.push_back(i % 2 == 0 ? a : b);
    return values;
}

inline IntervalValues ToIntervals(const std::vector<double>& values) {
    IntervalValues intervals{};
    for (std::size_t i = 0; i < intervals.size(); ++i) intervals[i] = static_cast<float>(values[i]);
    return intervals;
}

// A scratch folder removed with its contents when the test ends.
class ScratchDir {
  public:
    ScratchDir() {
        char name[] = "/tmp/ritmova-test-XXXXXX";
        path_ = mkdtemp(name);
    }
    ~ScratchDir() { std::filesystem::remove_all(path_); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(file(name), std::ios::binary) << content;
        return file(name);
    }

  private:
    std::filesystem::path path_;
};

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string ExampleFile(const char* name) {
    return std::string(RITMOVA_EXAMPLES_DIR) + "/" + name;
}

// The reason of the CommandFailure that `call` throws, or `otherwise` when it throws none.
inline std::string FailureReason(const std::function<void()>& call, const std::string& otherwise) {
    try {
        call();
    } catch (const CommandFailure& failure) {
        return failure.what();
    }
    return otherwise;
}

}  // namespace ritmova::testing
