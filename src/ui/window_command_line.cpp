#include "ui/window_command_line.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "common/safe_text.h"

namespace ritmova {
namespace {

constexpr const char* WindowUsage = "Usage: ritmova [FILE]\n";
constexpr const char* ExportUsage = "Usage: ritmova FILE --export OUT.png|OUT.svg|OUT.pdf\n";

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
                       !takeValue(argument, "--start", start_) && !takeFlag(argument)) {
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
