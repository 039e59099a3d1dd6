#include "ui/window_command_line.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "common/safe_text.h"
#include "report/analysis_options.h"

namespace ritmova {
namespace {

constexpr const char* WindowUsage = "Usage: ritmova [FILE]\n";
constexpr const char* ExportUsage = "Usage: ritmova FILE --export OUT.png|OUT.svg|OUT.pdf\n";
constexpr const char* ReportUsage =
    "Usage: ritmova FILE --report OUT.pdf [--from S] [--to S] [--correct METHOD] [--units U]\n"
    "       [--skip-lines N] [--column K]\n";

// The command line as it is read, argument by argument.
class WindowArguments {
  public:
    explicit WindowArguments(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    WindowCommandLine parse() {
        for (; at_ < arguments_.size() && line_.request != WindowRequest::UsageError; ++at_) {
            const std::string& argument = arguments_[at_];
            if (filesOnly_ || argument == "-" || !argument.starts_with('-')) {
                files_.push_back(argument);
            } else if (argument == "--") {
                filesOnly_ = true;
            } else if (!takeValue(argument, "--export", image_) &&
                       !takeValue(argument, "--start", start_) && !takeReportValue(argument) &&
                       !takeFlag(argument)) {
                line_.unknownOption = argument;
                fail("ritmova: unknown option '" + SafeText(argument) + "'\n");
            }
        }
        if (line_.request == WindowRequest::UsageError) return line_;
        finish();
        return line_;
    }

  private:
    void fail(const std::string& message) {
        line_.request = WindowRequest::UsageError;
        line_.message = message;
    }

    // "--option VALUE" or "--option=VALUE", given once; false when `argument` is another.
    bool takeValue(const std::string& argument, std::string_view option,
                   std::optional<std::string>& value) {
        const bool joined = argument.starts_with(option) && argument.size() > option.size() &&
                            argument[option.size()] == '=';
        if (argument != option && !joined) return false;
        if (value) {
            fail("ritmova: " + std::string(option) + " is given more than once\n");
        } else if (joined) {
            value = argument.substr(option.size() + 1);
        } else if (at_ + 1 < arguments_.size()) {
            value = arguments_[++at_];
        } else {
            fail("ritmova: missing value after '" + std::string(option) + "'\n");
        }
        return true;
    }

    // The report's options, each kept as its text until every argument was read.
    struct ReportOption {
        std::string_view name;
        std::optional<std::string> WindowArguments::*text;
    };

    bool takeReportValue(const std::string& argument) {
        static constexpr ReportOption Options[] = {
            {"--report", &WindowArguments::report_}, {"--from", &WindowArguments::from_},
            {"--to", &WindowArguments::to_},         {"--correct", &WindowArguments::correct_},
            {"--units", &WindowArguments::units_},   {"--skip-lines", &WindowArguments::skipLines_},
            {"--column", &WindowArguments::column_}};
        for (const ReportOption& option : Options) {
            if (takeValue(argument, option.name, this->*option.text)) return true;
        }
        return false;
    }

    // A value's reason as a usage error: "ritmova: --from 'x': give seconds ...".
    bool refused(std::string_view option, const std::string& text, const std::string& reason) {
        if (reason.empty()) return false;
        fail("ritmova: " + std::string(option) + " " + QuotedToken(text) + ": " + reason + "\n");
        return true;
    }

    // The values of the report's options; false after a usage error.
    bool readReportValues() {
        if (from_ && refused("--from", *from_, ParseSeconds(*from_, &line_.hrv.stretch.fromS)))
            return false;
        if (to_ && refused("--to", *to_, ParseSeconds(*to_, &line_.hrv.stretch.toS))) return false;
        const auto& [fromS, toS, segmentS] = line_.hrv.stretch;
        if (fromS && toS && !(*toS > *fromS)) {
            fail("ritmova: --to must be above --from\n");
            return false;
        }
        ReadOptions& read = line_.read;
        read.exact = true;
        return !(correct_ && refused("--correct", *correct_,
                                     ParseCorrection(*correct_, &line_.hrv.analysis.correction))) &&
               !(units_ && refused("--units", *units_, ParseUnits(*units_, &read.units))) &&
               !(skipLines_ && refused("--skip-lines", *skipLines_,
                                       ParseWholeNumber(*skipLines_, 0, &read.skipLines))) &&
               !(column_ &&
                 refused("--column", *column_, ParseWholeNumber(*column_, 1, &read.column)));
    }

    // --report with its FILE, and its options only with it.
    void finishReport() {
        const bool analysisOptions = from_ || to_ || correct_ || units_ || skipLines_ || column_;
        if (!report_) {
            if (analysisOptions) fail(ReportUsage);
            return;
        }
        if (files_.size() != 1 || report_->empty() || image_ || start_) return fail(ReportUsage);
        if (!readReportValues()) return;
        line_.file = files_.front();
        line_.request = WindowRequest::Report;
        line_.report = *report_;
    }

    bool takeFlag(const std::string& argument) {
        if (argument == "-v" || argument == "--version") {
            version_ = true;
        } else if (argument == "-h" || argument == "-?" || argument == "--help") {
            help_ = true;
        } else if (argument == "--help-all") {
            helpAll_ = true;
        } else {
            return false;
        }
        return true;
    }

    // What the arguments ask for, once all were read.
    void finish() {
        if (version_ || help_ || helpAll_) {
            line_.request = version_ ? WindowRequest::Version
                            : help_  ? WindowRequest::Help
                                     : WindowRequest::HelpAll;
            return;
        }
        if (report_ || from_ || to_ || correct_ || units_ || skipLines_ || column_) {
            return finishReport();
        }
        if (files_.size() > 1 || (image_ && (files_.empty() || image_->empty()))) {
            return fail(image_ ? ExportUsage : WindowUsage);
        }
        if (start_ && !(line_.firstBeat = ParseStartBeat(*start_))) {
            return fail("ritmova: --start " + QuotedToken(*start_) +
                        ": the first beat is a whole number from 1 on\n");
        }
        if (!files_.empty()) line_.file = files_.front();
        if (image_) {
            line_.request = WindowRequest::Export;
            line_.image = *image_;
        }
    }

    const std::vector<std::string>& arguments_;
    std::size_t at_ = 0;
    bool filesOnly_ = false;
    bool help_ = false;
    bool helpAll_ = false;
    bool version_ = false;
    std::vector<std::string> files_;
    std::optional<std::string> image_;
    std::optional<std::string> start_;
    std::optional<std::string> report_, from_, to_, correct_, units_, skipLines_, column_;
    WindowCommandLine line_;
};

}  // namespace

std::optional<std::size_t> ParseStartBeat(std::string_view text) {
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
    std::size_t beat = 0;
    const char* const end = text.data() + text.size();
    if (!digits || std::from_chars(text.data(), end, beat).ec != std::errc() || beat == 0) {
        return std::nullopt;
    }
    return beat;
}

WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& arguments) {
    return WindowArguments(arguments).parse();
}

}  // namespace ritmova
