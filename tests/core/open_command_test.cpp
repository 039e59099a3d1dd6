#include <gtest/gtest.h>

#include <string>

#include "analysis/open_command.h"
#include "common/command_failure.h"
#include "recording_window.h"
#include "test_data.h"
#include "ui/plots.h"

namespace ritmova {
namespace {

using testing::Lines;
using testing::RecordingWindow;

const std::string Example = testing::ExampleFile("nsr2db-nsr012.int");

// The example's results, worked out with an independent implementation of the pass and
// rounded by hand: mean 0.87057465, SDNN 0.024257364, RMSSD 0.0142099, NN50 0, VLF 0.10837077,
// LF 0.05620509, HF 0.014020398, total 0.17859626, LF% 80.03517, HF% 19.964828,
// LF/HF 4.0088086, peaks 4/256, 14/256 and 88/256.
std::string ExpectedSummary(const std::string& file) {
    return "Mean R-R value (sec) = .8706    SDNN = .0243    " + file +
           "\r\nRMSSD = .0142    NN50 =     pNN50 = .\r\n\r\n"
           "R-R Variability - Absolute Values (sec\u00b2/beat)\r\n"
           "VLF = .1084    LF = .0562    HF = .014    Total = .1786\r\n\r\n"
           "R-R Variability - Relative Values (%)\r\nLF = 80.0352    HF = 19.9648    LF/HF = 4.0088"
           "\r\n\r\nBand Peak Frequencies (cycles/beat)\r\nVLF = .0156    LF = .0547    HF = .3438"
           "\r\n\r\n";
}

std::string ExpectedReport(const std::string& file) {
    return file +
           "\r\nMean R-R value (sec):\t.8706\r\nSDNN                :\t.0243\r\n"
           "RMSSD               :\t.0142\r\nNN50                :\t\r\n"
           "pNN50               :\t.\r\nVLF-abs             :\t.1084\r\n"
           "LF-abs              :\t.0562\r\nHF-abs              :\t.014\r\n"
           "Total-abs           :\t.1786\r\nLF%                 :\t80.0352\r\n"
           "HF%                 :\t19.9648\r\nLF/HF               :\t4.0088\r\n"
           "VLF peak frequency  :\t.0156\r\nLF peak frequency   :\t.0547\r\n"
           "HF peak frequency   :\t.3438\r\n";
}

struct Pass {
    AnalysisState state;
    RecordingWindow window;
    PassValues values;

    OpenResult open(const std::string& file) {
        window.choose(file);
        return OpenCommand(state, window, values);
    }
};

TEST(OpenCommandTest, FillsSummaryReportAndPlots) {
    Pass pass;
    ASSERT_EQ(pass.open(Example), OpenResult::Completed);
    EXPECT_EQ(pass.window.caption(LabelId::Label2), ExpectedSummary(Example));
    EXPECT_EQ(pass.state.ReportText, ExpectedReport(Example));
    EXPECT_EQ(pass.window.dialogs[0].filter, "Interval Files (*.int)|*.int|All Files (*.*)|*.*");
    EXPECT_EQ(pass.window.dialogs[0].filterIndex, 1);
    EXPECT_EQ(pass.window.screenClears, 1);
    EXPECT_EQ(pass.window.caption(LabelId::Label1_2), " .024");  // SpectrumMax 0.024953363
    EXPECT_TRUE(pass.window.saveEnabled);
    EXPECT_EQ(pass.values.PoincareR, 0.8276119638509666);
    // The tachogram spans 0 to 2 s; the spectrum its maximum.
    EXPECT_EQ(pass.window.pictures[0].calls[1], "scaleHeight -2");
    EXPECT_EQ(pass.window.pictures[1].calls[1], "scaleHeight -0.0249533635");
    EXPECT_EQ(pass.window.pictures[2].calls.back(), "print 'r =  .827611'");
    // The series is kept as read and mean-removed; the first value is 0.8828 s.
    EXPECT_EQ(pass.state.RRSeriesAsRead[1], 0.8828f);
    EXPECT_EQ(pass.state.RRSeries[1], 0.8828f - pass.state.MeanRR);
}

// A second Open gives the results of a first; the batch pass the same measures and r
// without touching the window.
TEST(OpenCommandTest, ResultsDependOnlyOnTheFile) {
    Pass fresh;
    fresh.open(Example);
    Pass reused;
    reused.open(testing::ExampleFile("bartelshrv-rest.int"));
    reused.open(Example);
    EXPECT_TRUE(reused.state == fresh.state);
    EXPECT_EQ(reused.window.caption(LabelId::Label2), fresh.window.caption(LabelId::Label2));
    Pass batch;
    batch.window.choose(Example);
    OpenCommand(batch.state, batch.window, batch.values, PassOutput::MeasuresOnly);
    batch.state.ReportText = fresh.state.ReportText;
    EXPECT_TRUE(batch.state == fresh.state);
    EXPECT_EQ(batch.values.PoincareR, fresh.values.PoincareR);
    EXPECT_EQ(batch.window.captionWrites, 0);
}

// A cancelled dialog or a failed read leaves the state, the texts, the plots and Save results
// exactly as they were; a later Open works.
TEST(OpenCommandTest, CancelOrFailedReadChangesNothing) {
    testing::ScratchDir dir;
    const std::string paths[] = {"", dir.file("missing.int"),
                                 dir.write("short.int", Lines(testing::Constant(0.8, 255))),
                                 dir.write("bad.int", Lines(testing::Constant(0.8, 200)) + "x\n")};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        Pass pass;
        pass.open(Example);
        const AnalysisState before = pass.state;
        const RecordingWindow windowBefore = pass.window;
        if (path.empty()) {
            EXPECT_EQ(pass.open(path), OpenResult::Cancelled);
        } else {
            EXPECT_THROW(pass.open(path), CommandFailure);
        }
        EXPECT_TRUE(pass.state == before);
        EXPECT_EQ(pass.window.captions, windowBefore.captions);
        EXPECT_EQ(pass.window.captionWrites, windowBefore.captionWrites);
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(pass.window.pictures[i].calls, windowBefore.pictures[i].calls);
        EXPECT_TRUE(pass.window.saveEnabled);
        EXPECT_EQ(pass.open(Example), OpenResult::Completed);
    }
}

// Equal intervals of 1 s: the mean is exact, every power is 0 and the relative powers divide
// by zero. The tachogram and the spectrum caption are already there; nothing later is.
TEST(OpenCommandTest, NoLfAndHfPowerStopsAfterTheBandPowers) {
    testing::ScratchDir dir;
    Pass pass;
    try {
        pass.open(dir.write("flat.int", Lines(testing::Constant(1.0))));
        FAIL() << "completed";
    } catch (const CommandFailure& failure) {
        EXPECT_EQ(std::string(failure.what()), "no power in the LF and HF bands");
    }
    EXPECT_EQ(pass.window.pictures[0].calls.size(), 11u + 256 + 9);
    EXPECT_EQ(pass.window.captions, (std::array<std::string, 8>{"", "", " 0"}));
    EXPECT_EQ(pass.state.ReportText, "");
    EXPECT_FALSE(pass.window.saveEnabled);
    EXPECT_TRUE(pass.window.pictures[1].calls.empty() && pass.window.pictures[2].calls.empty());
}

// Only the first interval differs, by one unit in the last place: its share of the mean is
// lost in single precision, so beats 2..256 deviate by exactly 0 and r is undefined.
TEST(OpenCommandTest, UndefinedCorrelationFailsAfterTheDots) {
    testing::ScratchDir dir;
    Pass pass;
    pass.open(Example);  // whose r must not remain
    const std::string text = "1.00000012\n" + Lines(testing::Constant(1.0, 255));
    EXPECT_THROW(pass.open(dir.write("r.int", text)), CorrelationUndefined);
    EXPECT_FALSE(pass.values.PoincareR);
    EXPECT_EQ(pass.state.MeanRR, 1.0f);
    EXPECT_FALSE(pass.state.ReportText.empty());
    const auto& dots = pass.window.pictures[2].calls;
    EXPECT_EQ(dots.size(), 256u);  // the clear and 255 points, no texts
    EXPECT_EQ(dots.back(), "point 1 1");
}

}  // namespace
}  // namespace ritmova
