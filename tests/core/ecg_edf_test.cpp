// EDF and EDF+ files: header fields, per-signal rates, scaling, the channel choice, the
// annotation TALs, and the reasons a lying file is refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ecg/annotation_file.h"
#include "ecg/edf_file.h"
#include "test_data.h"

namespace ritmova::ecg {
namespace {

const std::string Ecg = RITMOVA_ECG_DATA_DIR;

std::string ReasonOf(const std::function<void()>& action) {
    return testing::FailureReason(action, "accepted");
}

TEST(EdfTest, ReadsTheFetalRecordAndAgreesWithItsQrsFile) {
    EdfHeader header = ReadEdfHeader(Ecg + "/adfecgdb/r01.edf");
    EXPECT_EQ(header.recordCount, 60);
    EXPECT_EQ(header.recordSeconds, 5);
    ASSERT_EQ(header.signals.size(), 6u);
    EXPECT_EQ(header.frequencyHz(header.signals[0]), 1000);
    EXPECT_EQ(header.signals[0].units, "uV");
    EXPECT_TRUE(header.signals[5].isAnnotations());
    std::vector<EdfAnnotation> tals = ReadEdfAnnotations(Ecg + "/adfecgdb/r01.edf");
    AnnotationFile qrs = ReadAnnotations(Ecg + "/adfecgdb/r01.edf.qrs");
    ASSERT_EQ(tals.size(), qrs.annotations.size());
    for (std::size_t i = 0; i < tals.size(); ++i) {
        EXPECT_EQ(tals[i].text, "QRS");
        double seconds = double(qrs.annotations[i].sample) / qrs.timeResolutionHz;
        EXPECT_LE(std::fabs(tals[i].onsetSeconds - seconds), 0.001) << i;
    }
    EXPECT_EQ(ReasonOf([] { OpenEdfSignal(Ecg + "/adfecgdb/r01.edf", ""); }),
              Ecg +
                  "/adfecgdb/r01.edf: no channel says ECG or EKG; the channels are "
                  "1 'Direct_1', 2 'Abdomen_1', 3 'Abdomen_2', 4 'Abdomen_3', 5 'Abdomen_4', "
                  "6 'EDF Annotations'; choose one by number or label");
}

// The default channel is "ECG ECG", the 21st of 22; values worked out from its header fields
// (physical -0.20503..0.654943 over digital -32768..32767) and its first samples.
TEST(EdfTest, ChoosesTheEcgChannelAndScalesIt) {
    SignalReader reader = OpenSignal(Ecg + "/eegmat/Subject00_1.edf");
    EXPECT_EQ(reader.info().label, "ECG ECG");
    EXPECT_EQ(reader.frequencyHz(), 500);
    std::vector<float> values(4096);
    std::size_t total = 0, count = 0;
    ASSERT_EQ(reader.read(values), 4096u);
    EXPECT_FLOAT_EQ(values[0], 0.0054130762f);
    EXPECT_FLOAT_EQ(values[2], -0.0031295716f);
    for (total = 4096; (count = reader.read(values)) > 0;) total += count;
    EXPECT_EQ(total, 182u * 500);
}

// A small EDF+ file: `records` data records of two signals (2 and 1 samples per record).
std::string SmallEdf(const std::string& version = "0", const std::string& records = "2",
                     const std::string& reserved = "EDF+C", const std::string& dmin = "-100",
                     const std::string& headerBytes = "768", const std::string& pmin = "-1") {
    auto field = [](std::string text, std::size_t width) {
        text.resize(width, ' ');
        return text;
    };
    std::string h = field(version, 8) + field("p", 80) + field("r", 80) + field("01.01.01", 8) +
                    field("00.00.00", 8) + field(headerBytes, 8) + field(reserved, 44) +
                    field(records, 8) + field("0.5", 8) + field("2", 4);
    h += field("ECG", 16) + field("EDF Annotations", 16) + field("", 160) + field("mV", 16);
    h += field(pmin, 8) + field("-1", 8) + field("1", 8) + field("1", 8);
    h += field(dmin, 8) + field("-100", 8) + field("100", 8) + field("100", 8);
    h += field("", 160) + field("2", 8) + field("4", 8) + field("", 64);
    for (int r = 0; r < 2; ++r) {
        h += std::string{char(100), 0, char(-100), char(-1)};  // 100 and -100
        std::string tal = "+" + std::to_string(r) + ".5\x14\x14" + '\0';
        h += (tal + std::string(8, '\0')).substr(0, 8);
    }
    return h;
}

TEST(EdfTest, ReadsSmallFilesOrGivesReasons) {
    testing::ScratchDir dir;
    SignalReader reader = OpenEdfSignal(dir.write("a.edf", SmallEdf()), "1");
    std::vector<float> values(10);
    ASSERT_EQ(reader.read(values), 4u);
    EXPECT_EQ(std::vector<float>(values.begin(), values.begin() + 4),
              (std::vector<float>{1, -1, 1, -1}));
    EXPECT_EQ(reader.frequencyHz(), 4);
    const struct {
        std::string bytes, reason;
    } cases[] = {
        {SmallEdf("1"), "the version '1' is not EDF's '0'"},
        {SmallEdf("0", "3"), "the file holds 2 of its 3 data records"},
        {SmallEdf("0", "-1"), "accepted"},
        {SmallEdf("0", "-2"), "the number of data records '-2' is not valid"},
        {SmallEdf("0", "2", "EDF+D"), "discontinuous EDF+ files (EDF+D) are not read"},
        {SmallEdf("0", "2", "", "100"), "signal 1 'ECG': the digital range is not valid"},
        {SmallEdf("0", "2", "", "-100", "1024"), "the header size 1024 does not fit 2 signals"},
        {SmallEdf().substr(0, 300), "the file ends inside its header"},
        {SmallEdf("0", "2", "", "-100", "768", "-1e31"),
         "signal 1 'ECG': the physical range is too wide"},
        {SmallEdf("0", "2", "", "-100", "768", "1"), "signal 1 'ECG': the physical range is empty"},
        {SmallEdf("0", "99999999"), "the file holds 2 of its 99999999 data records"},
        {SmallEdf().substr(0, 200), "the file ends inside its header"},
    };
    for (const auto& c : cases) {
        std::string path = dir.write("b.edf", c.bytes);
        std::string reason = c.reason == "accepted" ? c.reason : path + ": " + c.reason;
        EXPECT_EQ(ReasonOf([&] { ReadEdfHeader(path); }), reason);
    }
}

TEST(EdfTest, ReadsTalsOrGivesReasons) {
    std::vector<EdfAnnotation> read;
    ParseTals(std::string("+0\x14\x14\0+1.5\x15"
                          "0.25\x14QRS\x14N\x14\0-2\x14x\x14\0\0",
                          30),
              read);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].onsetSeconds, 1.5);
    EXPECT_EQ(read[0].durationSeconds, 0.25);
    EXPECT_EQ(read[1].text, "N");
    EXPECT_EQ(read[2].onsetSeconds, -2);
    EXPECT_EQ(read[2].durationSeconds, -1);
    const struct {
        std::string tals, reason;
    } cases[] = {
        {"1.5\x14x\x14", "the annotation time '1.5' is not valid"},
        {"+-1\x14x\x14", "the annotation time '+-1' is not valid"},
        {"+1\x15-3\x14x\x14", "the annotation time '-3' is not valid"},
        {"+nan\x14x\x14", "the annotation time '+nan' is not valid"},
        {"+1 no mark", "an annotation '+1 no mark' lacks its text mark"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReasonOf([&] { ParseTals(c.tals, read); }), c.reason);
}

}  // namespace
}  // namespace ritmova::ecg
