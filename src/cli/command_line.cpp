// The console tool's command line, parsed by CLI11.
#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>
#include <string_view>
#include <tuple>
#include <vector>

#include "common/safe_text.h"

namespace ritmova::cli {
namespace {

constexpr const char* Usage =
    "Usage: ritmova-cli COMMAND [OPTION]... FILE...\n"
    "Heart rate variability analysis of R-R interval files, for batch work.\n"
    "Each FILE holds R-R intervals; - reads standard input. The analysis looks at 256 beats,\n"
    "by default the first 256 values, in seconds.\n"
    "A FILE may also be an ECG record: a WFDB record (100.hea, or 100 for 100.hea) or an EDF\n"
    "file (r01.edf); its R-R intervals come from the beats of --annotator, else from R peaks\n"
    "detected in the ECG channel.\n"
    "\n"
    "Commands:\n"
    "  report FILE        the results report, exactly as Save results writes it\n"
    "  summary FILE       the 12-line results summary\n"
    "  markov FILE        the Markov analysis panel text\n"
    "  json FILE...       a JSON array with every measure and the power spectrum of each file\n"
    "  csv FILE...        a CSV table with one row of measures per file\n"
    "  windows FILE...    the measures of every complete 256-beat window of each recording\n"
    "  artifacts FILE...  the intervals of each recording flagged as artifacts\n"
    "  beats RECORD       the beats of an ECG record: times in seconds, samples or WFDB\n"
    "  rr RECORD          the R-R intervals of an ECG record in seconds, one per line\n"
    "  hrv FILE...        the standard HRV analysis of each recording in ms and Hz, whole,\n"
    "                     over a time range or in segments, as JSON or CSV\n"
    "\n"
    "Options (before or after the files):\n"
    "  --units s|ms|auto  units of the values (default s; auto: ms when the median is above 10)\n"
    "  --skip-lines N     skip N header lines before the values\n"
    "  --column K         read the K-th field (1-based) of each line, fields split by , ; blanks\n"
    "  --start BEAT       analyse the 256 beats from BEAT on (default 1; not windows, artifacts)\n"
    "  --range LOW,HIGH   intervals outside LOW..HIGH seconds are artifacts (default 0.3,2.0)\n"
    "  --step N           windows: beats from one window to the next (default 256)\n"
    "  --format FORMAT    windows: csv (default) or json; artifacts: json (default) or csv;\n"
    "                     beats: times (default), samples or wfdb (an annotation file)\n"
    "  -o, --output OUT   report: write the report to OUT as Save results does, not on stdout;\n"
    "                     beats, rr: write their output to OUT\n"
    "  --channel N|LABEL  ECG records: the channel to detect beats in, a number from 1 or a\n"
    "                     label (default: the first whose label or transducer says ECG)\n"
    "  --annotator NAME   ECG records: take the beats of the annotation file NAME (100.atr\n"
    "                     for atr, r01.edf.qrs for qrs; edf: an EDF+ file's own annotations)\n"
    "                     instead of detecting them\n"
    "  --nn               ECG records: only intervals between two normal (N) beats, none\n"
    "                     across ventricular flutter or unreadable noise (not beats)\n"
    "  --frequency HZ     ECG records: samples per second of annotations with no header\n"
    "hrv options (also --units, --skip-lines, --column, the ECG record options above;\n"
    "--format json (default) or csv):\n"
    "  --from S           the intervals that end S seconds after the first beat or later\n"
    "  --to S             and before S seconds after it (default: to the end)\n"
    "  --segments LENGTH  whole (default), or consecutive segments such as 5min or 300s, each\n"
    "                     analysed on its own; an incomplete last one is left out\n"
    "  --correct METHOD   none (default), threshold:LEVEL (very-low, low, medium, strong,\n"
    "                     very-strong), threshold:SECONDS or auto\n"
    "  --spectrum         JSON: the Welch and Lomb-Scargle densities too\n"
    "  -h, --help         show this help\n"
    "  --version          show the version\n"
    "\n"
    "Exit status: 0 when every file was analysed, 1 when any failed, 2 for a usage error.\n";

// A limit's text as from_chars reads it into a float; beyond float's range, infinity or zero
// by the double it reads as. Nothing for a text that is not one whole number.
std::optional<float> limitValue(std::string_view text) {
    const char* const end = text.data() + text.size();
    float value = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || stop != end) return std::nullopt;
    if (error == std::errc()) return value;
    double wide = 0;
    if (std::from_chars(text.data(), end, wide).ec != std::errc()) return std::nullopt;
    const float beyond = std::fabs(wide) < 1 ? 0.0f : HUGE_VALF;
    return wide < 0 ? -beyond : beyond;
}

// "LOW,HIGH" in seconds, LOW below HIGH, both positive; an empty text when it is, else why not.
std::string parseRange(const std::string& text, ritmova::ArtifactLimits* limits) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return "give two numbers, LOW,HIGH";
    const std::optional<float> low = limitValue(std::string_view(text).substr(0, comma));
    const std::optional<float> high = limitValue(std::string_view(text).substr(comma + 1));
    if (!low || !high) return "give two numbers, LOW,HIGH";
    if (!(*low > 0)) return "LOW must be above 0";
    if (!(*high < 1e30f)) return "HIGH must be below 1e30";
    if (!(*low < *high)) return "LOW must be below HIGH";
    if (limits) *limits = {*low, *high};
    return "";
}

// A whole number of at least `minimum`; CLI11's own number checks print the double range.
std::function<std::string(const std::string&)> wholeNumber(unsigned long long minimum) {
    return [minimum](const std::string& text) -> std::string {
        unsigned long long value = 0;
        const char* end = text.data() + text.size();
        const auto result = std::from_chars(text.data(), end, value);
        if (result.ptr == end && result.ec == std::errc() && value >= minimum) return "";
        return "give a whole number from " + std::to_string(minimum) + " on";
    };
}

// The options of every command that reads recordings.
void addReadingOptions(CLI::App& command, CommandLine& line, std::string& units,
                       std::string& range) {
    command.fallthrough();
    command.add_option("FILE", line.files)->required();
    command.add_option("--units", units)->check(CLI::IsMember({"s", "ms", "auto"}));
    command.add_option("--skip-lines", line.analysis.read.skipLines)->check(wholeNumber(0));
    command.add_option("--column", line.analysis.read.column)->check(wholeNumber(1));
    command.add_option("--range", range)->check([](const std::string& text) {
        return parseRange(text, nullptr);
    });
}

// Seconds from the first beat: a number from 0 on; an empty text when it is, else why not.
std::string parseSeconds(const std::string& text, std::optional<double>* seconds) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ptr != end || result.ec != std::errc() || !(value >= 0) || value > 1e12)
        return "give seconds as a number from 0 on";
    if (seconds) *seconds = value;
    return "";
}

// The hrv command's own options, parsed into `line.hrv` once the command line is read.
struct HrvTexts {
    std::string from, to, segments = "whole", correct = "none";
};

void addHrvOptions(CLI::App& command, CommandLine& line, HrvTexts& texts) {
    const auto checked = [](auto parse) {
        return [parse](const std::string& text) { return parse(text, nullptr); };
    };
    command.add_option("--from", texts.from)->check(checked(parseSeconds));
    command.add_option("--to", texts.to)->check(checked(parseSeconds));
    command.add_option("--segments", texts.segments)->check(checked(ParseSegments));
    command.add_option("--correct", texts.correct)->check(checked(ParseCorrection));
    command.add_flag("--spectrum", line.hrv.densities);
}

void finishHrvOptions(CommandLine& line, const HrvTexts& texts) {
    standard::StretchChoice& stretch = line.hrv.stretch;
    if (!texts.from.empty()) parseSeconds(texts.from, &stretch.fromS);
    if (!texts.to.empty()) parseSeconds(texts.to, &stretch.toS);
    if (stretch.fromS && stretch.toS && !(*stretch.toS > *stretch.fromS))
        throw CLI::ParseError("--to must be above --from", 2);
    ParseSegments(texts.segments, &stretch.segmentS);
    ParseCorrection(texts.correct, &line.hrv.analysis.correction);
    line.hrv.json = line.format == "json";
}

// A positive number of samples per second.
std::string positiveFrequency(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ptr == end && result.ec == std::errc() && value > 0 && value < 1e9) return "";
    return "give a positive number of samples per second";
}

// The options that say where an ECG record's beats come from.
void addBeatOptions(CLI::App& command, CommandLine& line) {
    ritmova::ecg::BeatOptions& beats = line.analysis.beats;
    command.add_option("--channel", beats.channel);
    command.add_option("--annotator", beats.annotator);
    command.add_option("--frequency", beats.frequencyHz)->check(positiveFrequency);
    command.add_flag("--nn", line.analysis.normalToNormal);
}

bool isRecordCommand(const std::string& name) {
    return name == "beats" || name == "rr";
}

// An option that only some commands take is given to every command, so that the others can
// name it rather than take it for a FILE.
void refuseOptionsNotTaken(const CLI::App& command) {
    const std::string& name = command.get_name();
    const bool recordings = name == "windows" || name == "artifacts";
    const bool texts = !isRecordCommand(name);
    const bool hrv = name == "hrv";
    const std::tuple<const char*, const char*, bool> limited[] = {
        {"--start", "--start", !recordings && texts && !hrv},
        {"--output", "-o, --output", name == "report" || !texts},
        {"--step", "--step", name == "windows"},
        {"--format", "--format", recordings || name == "beats" || hrv},
        {"--units", "--units", texts},
        {"--skip-lines", "--skip-lines", texts},
        {"--column", "--column", texts},
        {"--range", "--range", texts && !hrv},
        {"--nn", "--nn", name != "beats"},
        {"--from", "--from", hrv},
        {"--to", "--to", hrv},
        {"--segments", "--segments", hrv},
        {"--correct", "--correct", hrv},
        {"--spectrum", "--spectrum", hrv}};
    for (const auto& [option, shown, taken] : limited) {
        if (!taken && command.count(option) > 0) {
            throw CLI::ParseError(name + " does not take the option " + shown, 2);
        }
    }
}

// What CLI11 cannot check alone: options of other commands, an empty OUT, and standard input
// given twice, which would be read once and then cut where the first reading stopped.
void checkCommand(const CLI::App& command, const CommandLine& line) {
    refuseOptionsNotTaken(command);
    if (command.count("--output") > 0 && line.output.empty()) {
        throw CLI::ParseError("-o, --output: give the name of a file, not an empty one", 2);
    }
    if (std::count(line.files.begin(), line.files.end(), "-") > 1) {
        throw CLI::ParseError("FILE: - is given more than once; standard input is read once", 2);
    }
}

// Parses the command line into `line`; throws CLI::ParseError for a usage error.
void parse(int argc, const char* const* argv, CommandLine& line) {
    const std::vector<std::string_view> commands{"report",  "summary",   "markov", "json", "csv",
                                                 "windows", "artifacts", "beats",  "rr",   "hrv"};
    if (argc > 1 && argv[1][0] != '-' &&
        std::find(commands.begin(), commands.end(), argv[1]) == commands.end()) {
        throw CLI::ParseError(std::string("unknown command '") + argv[1] + "'", 2);
    }
    CLI::App app("Heart rate variability analysis", "ritmova-cli");
    app.set_help_flag("-h,--help");
    app.set_version_flag("--version", std::string("ritmova-cli ") + RITMOVA_VERSION);
    app.require_subcommand(1);
    std::string units = "s";
    std::string range = "0.3,2.0";
    std::string format;
    HrvTexts hrvTexts;
    for (const std::string_view n : commands) {
        CLI::App* command = app.add_subcommand(std::string(n));
        addReadingOptions(*command, line, units, range);
        if (n == "report" || n == "summary" || n == "markov" || isRecordCommand(std::string(n))) {
            command->get_option("FILE")->expected(1);
        }
        command->add_option("--start", line.analysis.firstBeat)->check(wholeNumber(1));
        command->add_option("-o,--output", line.output);
        command->add_option("--step", line.step)->check(wholeNumber(1));
        command->add_option("--format", format)
            ->check(n == "beats" ? CLI::IsMember({"times", "samples", "wfdb"})
                                 : CLI::IsMember({"csv", "json"}));
        addBeatOptions(*command, line);
        addHrvOptions(*command, line, hrvTexts);
    }
    app.parse(argc, argv);
    const CLI::App& command = *app.get_subcommands().front();
    checkCommand(command, line);
    line.command = command.get_name();
    if (format.empty()) {
        format = line.command == "windows" ? "csv" : line.command == "beats" ? "times" : "json";
    }
    line.format = format;
    using ritmova::UnitsChoice;
    line.analysis.read.units = units == "ms"     ? UnitsChoice::Milliseconds
                               : units == "auto" ? UnitsChoice::Auto
                                                 : UnitsChoice::Seconds;
    parseRange(range, &line.analysis.limits);
    if (line.command == "hrv") finishHrvOptions(line, hrvTexts);
}

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv) {
    ParsedCommandLine parsed;
    try {
        parse(argc, argv, parsed.line);
    } catch (const CLI::CallForHelp&) {
        parsed.out = Usage;
        parsed.exitStatus = 0;
    } catch (const CLI::CallForVersion&) {
        parsed.out = std::string("ritmova-cli ") + RITMOVA_VERSION + "\n";
        parsed.exitStatus = 0;
    } catch (const CLI::ParseError& error) {
        parsed.err = "ritmova-cli: " + SafeText(error.what()) + "\n" + Usage;
        parsed.exitStatus = 2;
    }
    return parsed;
}

}  // namespace ritmova::cli
