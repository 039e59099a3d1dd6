// WFDB headers and signals: fields, defaults, interleaved frames in formats 212 and 16, and the
// reasons a truncated, lying or hostile header or signal file is refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ecg/signal_reader.h"
#include "ecg/wfdb_header.h"
#include "test_data.h"

namespace ritmova::ecg {
namespace {

const std::string Ecg = RITMOVA_ECG_DATA_DIR;

std::string ReasonOf(const std::function<void()>& action) {
    return testing::FailureReason(action, "accepted");
}

std::vector<float> ReadAllValues(SignalReader& reader, std::size_t block = 1000) {
    std::vector<float> values, buffer(block);
    while (std::size_t count = reader.read(buffer))
        values.insert(values.end(), buffer.begin(), buffer.begin() + std::ptrdiff_t(count));
    return values;
}

TEST(WfdbHeaderTest, ReadsTheFieldsOfRecord100) {
    RecordHeader header = ReadHeader(LocateRecord(Ecg + "/mitdb/100.hea"));
    EXPECT_EQ(header.name, "100");
    EXPECT_EQ(header.frequencyHz, 360);
    EXPECT_EQ(header.sampleCount, 650000);
    ASSERT_EQ(header.signals.size(), 2u);
    const SignalSpec& v5 = header.signals[1];
    EXPECT_EQ(v5.fileName, "100.dat");
    EXPECT_EQ(v5.format, 212);
    EXPECT_EQ(v5.gain, 200);
    EXPECT_EQ(v5.baseline, 1024);  // the ADC zero, as no baseline is given
    EXPECT_EQ(v5.initialValue, 1011);
    EXPECT_EQ(v5.checksum, 20052);
    EXPECT_EQ(v5.description, "V5");
    ASSERT_EQ(header.comments.size(), 2u);
    EXPECT_EQ(header.comments[1], " Aldomet, Inderal");
}

// Each header's single signal line, read field by field.
TEST(WfdbHeaderTest, ReadsEachFieldSyntax) {
    const struct {
        std::string text;
        double frequency, counter, gain;
        bool calibrated;
        std::int32_t baseline;
        std::string units, description;
        int samplesPerFrame;
        std::int64_t offset;
    } cases[] = {
        {"r 1 250/24000(0) 10\nr.dat 16 200(-5)/uV 16 3 0 0 0 lead II, chest", 250, 24000, 200,
         true, -5, "uV", "lead II, chest", 1, 0},
        {"# leading comment\r\nr 1\r\n\r\n# between\r\nr.dat 212x4+512 0 12 7", 250, 0, 200, false,
         7, "mV", "", 4, 512},
        {"r 1 128.5\n  r.dat   16  2.5e2/mmHg  ", 128.5, 0, 250, true, 0, "mmHg", "", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        RecordHeader header = ParseHeader(c.text);
        ASSERT_EQ(header.signals.size(), 1u);
        const SignalSpec& s = header.signals[0];
        EXPECT_EQ(header.frequencyHz, c.frequency);
        EXPECT_EQ(header.counterFrequencyHz, c.counter);
        EXPECT_EQ(s.gain, c.gain);
        EXPECT_EQ(s.calibrated, c.calibrated);
        EXPECT_EQ(s.baseline, c.baseline);
        EXPECT_EQ(s.units, c.units);
        EXPECT_EQ(s.description, c.description);
        EXPECT_EQ(s.samplesPerFrame, c.samplesPerFrame);
        EXPECT_EQ(s.byteOffset, c.offset);
    }
}

TEST(WfdbHeaderTest, RefusesHostileHeadersWithReason) {
    const struct {
        std::string text, reason;
    } cases[] = {
        {"", "has no record line"},
        {"# only a comment\n", "has no record line"},
        {"r 3 360 100\nr.dat 212\n", "declares 3 signals but describes 1"},
        {"r 1\nr.dat 212\nr.dat 212\n", "line 3: more signal lines than the 1 declared"},
        {"r -1\n", "line 1: '-1' is not a valid number of signals"},
        {"r 99999999999999999999\n",
         "line 1: '99999999999999999999' is not a valid number of signals"},
        {"r 5000\n", "line 1: more than 4096 signals are not read"},
        {"r 1 0\n", "line 1: '0' is not a valid sampling frequency"},
        {"r 1 nan\n", "line 1: 'nan' is not a valid sampling frequency"},
        {"r 1 360/x\n", "line 1: '360/x' is not a valid counter frequency"},
        {"r 1 360 -5\n", "line 1: '-5' is not a valid number of samples"},
        {"r/3 1\n", "line 1: multi-segment records ('r/3') are not read"},
        {"r 1\nr.dat\n", "line 2: the signal line gives no format"},
        {"r 1\nr.dat 212x0\n", "line 2: '0' is not a valid frame size"},
        {"r 1\nr.dat 212 -200\n", "line 2: '-200' is not a valid gain"},
        {"r 1\nr.dat 212 200(5\n", "line 2: '200(5' is not a valid gain"},
        {"r 1\nr.dat 212 200 12 0 1e3\n", "line 2: '1e3' is not a valid initial value"},
        {std::string("r 1\nr.dat 2\0"
                     "12\n",
                     15),
         "holds a NUL byte"},
        {"r 1\nr.dat 212 200 12 \x1b[31m\n", "line 2: '\\x1b[31m' is not a valid ADC zero"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReasonOf([&] { ParseHeader(c.text); }), c.reason) << c.text;
}

TEST(WfdbSignalTest, ReadsRecord100WithItsChecksums) {
    for (const char* channel : {"1", "V5"}) {
        SignalReader reader = OpenSignal(Ecg + "/mitdb/100", channel);
        EXPECT_EQ(reader.frequencyHz(), 360);
        std::vector<float> values = ReadAllValues(reader, 4097);
        ASSERT_EQ(values.size(), 650000u);
        // 100.dat starts e3 33 f3: 995 and 1011, less the baseline 1024, over the gain 200.
        EXPECT_EQ(values[0], std::string(channel) == "1" ? -0.145f : -0.065f);
    }
    EXPECT_EQ(OpenSignal(Ecg + "/wfdb-100s/100s.hea").info().label, "MLII");
}

// A record written here: samples `digital` of `signals` interleaved signals in `format`.
std::string WriteRecord(const testing::ScratchDir& dir, int format, int signals,
                        const std::vector<int>& digital, const std::string& tail = "") {
    std::string bytes;
    for (std::size_t k = 0; k < digital.size(); ++k) {
        int value = digital[k] & (format == 16 ? 0xFFFF : 0xFFF);
        if (format == 16) {
            bytes += {char(value & 0xFF), char(value >> 8)};
        } else if (k % 2 == 0) {
            bytes += {char(value & 0xFF), char(value >> 8)};
        } else {
            bytes.back() = char(bytes.back() | (value >> 8) << 4);
            bytes += char(value & 0xFF);
        }
    }
    dir.write("r.dat", bytes);
    std::string header = "r " + std::to_string(signals) + " 100 " +
                         std::to_string(digital.size() / std::size_t(signals)) + "\n";
    for (int s = 0; s < signals; ++s)
        header += "r.dat " + std::to_string(format) + " 10(4) 12 0" + tail + "\n";
    return dir.write("r.hea", header);
}

// Frames of one, two and three signals, an odd sample count in format 212, negative and missing
// samples.
TEST(WfdbSignalTest, ReadsOneChannelOfInterleavedFrames) {
    const struct {
        int format, signals;
        std::vector<int> digital;
        const char* channel;
        std::vector<float> expected;
    } cases[] = {
        {212, 1, {14, -6, 2047, -2047, 4}, "1", {1.0f, -1.0f, 204.3f, -205.1f, 0.0f}},
        // The most negative value marks a missing sample: the last value stands in (0 before any).
        {212, 1, {-2048, 14, -2048, -2048, 24}, "1", {0.0f, 1.0f, 1.0f, 1.0f, 2.0f}},
        {16, 2, {0, -32768, 24, 14, 0, -32768}, "2", {0.0f, 1.0f, 1.0f}},
        {212, 3, {4, 5, 6, 14, 15, 16, -2048, 0, 1}, "2", {0.1f, 1.1f, -0.4f}},
        {16, 2, {-32768, 32767, 24, 4}, "2", {3276.3f, 0.0f}},
    };
    for (const auto& c : cases) {
        testing::ScratchDir dir;
        SignalReader reader =
            OpenSignal(WriteRecord(dir, c.format, c.signals, c.digital), c.channel);
        EXPECT_EQ(ReadAllValues(reader, 2), c.expected) << c.format << " " << c.signals;
    }
}

TEST(WfdbSignalTest, RefusesLyingSignalsWithReason) {
    testing::ScratchDir dir;
    auto record = [&](int format, const std::string& tail, std::vector<int> digital = {1, 2, 3}) {
        return WriteRecord(dir, format, 1, digital, tail);
    };
    auto readAll = [&](const std::string& path) {
        SignalReader reader = OpenSignal(path, "1");
        ReadAllValues(reader);
    };
    const std::string dat = dir.file("r.dat"), hea = dir.file("r.hea");
    const struct {
        int format;
        std::string tail, reason;
    } cases[] = {
        {16, " 1 6", "accepted"},
        {16, " 2", dat + ": the first sample is 1 but the header's initial value is 2"},
        {16, " 1 7", dat + ": the samples' checksum is 6 but the header says 7"},
        {16, " 1 -65530", "accepted"},  // the sum is kept to 16 bits
        {310, "", hea + ": signal format 310 is not read (only formats 212 and 16 are)"},
        {16, "x", hea + ": line 2: '0x' is not a valid ADC zero"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReasonOf([&] { readAll(record(c.format, c.tail)); }), c.reason) << c.tail;
    record(212, " 1 6");
    dir.write("r.dat", "\x01\x20");  // 1.5 of the 3 samples
    EXPECT_EQ(ReasonOf([&] { readAll(hea); }), dat + ": the signal ends after 1 of 3 samples");
    dir.write("r.hea", "r 1\nr.dat 16 1e-34\n");
    EXPECT_EQ(ReasonOf([&] { readAll(hea); }),
              hea + ": the gain is too small for the values to fit single precision");
    dir.write("r.hea", "r 1\nr.dat 212x4\n");
    EXPECT_EQ(ReasonOf([&] { readAll(hea); }),
              hea + ": signals with 4 samples per frame are not read");
    dir.write("r.hea", "r 1\n../r.dat 16\n");
    EXPECT_EQ(ReasonOf([&] { readAll(hea); }),
              hea + ": the signal file '../r.dat' is not inside the record's folder");
    EXPECT_EQ(ReasonOf([&] { OpenSignal(hea); }),
              hea +
                  ": no channel says ECG or EKG; the channels are 1 ''; choose one by "
                  "number or label");
    EXPECT_EQ(ReasonOf([&] { OpenSignal(dir.file("none")); }),
              dir.file("none.hea") + ": No such file or directory");
}

}  // namespace
}  // namespace ritmova::ecg
