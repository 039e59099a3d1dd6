#include "cli/ecg_commands.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/beat_edits.h"
#include "ecg/ecg_record.h"
#include "ecg/opened_record.h"
#include "report/file_save.h"

namespace ritmova::cli {
namespace {

void appendSeconds(std::string& out, double seconds) {
    char text[40];
    std::snprintf(text, sizeof text, "%.6f\n", seconds);
    out += text;
}

std::string beatsText(const ecg::BeatSeries& series, const std::string& format) {
    std::string out;
    if (format == "wfdb") {
        ecg::AnnotationFile file{{}, series.timeResolutionHz};
        for (const ecg::Beat& beat : series.beats)
            file.annotations.push_back({beat.tick, beat.code, 0, 0, 0, {}});
        return ecg::AnnotationBytes(file);
    }
    for (const ecg::Beat& beat : series.beats) {
        if (format == "samples") {
            out += std::to_string(ecg::SampleOf(series, beat)) + "\n";
        } else {
            appendSeconds(out, double(beat.tick) / series.ticksPerSecond);
        }
    }
    return out;
}

// Runs `make` for the record, writing its text to -o OUT or stdout.
int runOnRecord(const CommandLine& line, const std::function<std::string()>& make) {
    const std::string& record = line.files.front();
    try {
        if (line.format == "wfdb" && line.output.empty())
            throw CommandFailure("--format wfdb writes a binary file: give -o OUT");
        const std::string text = make();
        if (!line.output.empty()) {
            SaveFile(line.output, text, record);
        } else {
            std::fwrite(text.data(), 1, text.size(), stdout);
        }
        return 0;
    } catch (const CommandFailure& failure) {
        const std::string message = SafeText(record) + ": " + SafeText(failure.what()) + "\n";
        std::fputs(message.c_str(), stderr);
        return 1;
    }
}

}  // namespace

int RunBeats(const CommandLine& line) {
    return runOnRecord(line, [&] {
        return beatsText(ecg::LoadBeats(line.files.front(), line.analysis.beats), line.format);
    });
}

int RunRr(const CommandLine& line) {
    return runOnRecord(line, [&] {
        const ecg::BeatSeries series = ecg::LoadBeats(line.files.front(), line.analysis.beats);
        return ecg::RrText(ecg::RrIntervals(series, line.analysis.normalToNormal));
    });
}

}  // namespace ritmova::cli
