// The beat review's edits: adding, removing and moving beats with undo and redo, the R-R
// intervals they make, saving them, and reading a stretch of a record's signal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "ecg/beat_edits.h"
#include "ecg/ecg_record.h"
#include "ecg/signal_reader.h"
#include "report/edited_beats_file.h"
#include "test_data.h"

namespace ritmova::ecg {
namespace {

const std::string Ecg = RITMOVA_ECG_DATA_DIR;
constexpr int N = 1, V = 5;

// Beats at 1, 2, 3, 4 and 5 s (100 ticks a second), the third ventricular.
BeatSeries FiveBeats() {
    BeatSeries series;
    series.record = "five";
    series.source = "atr";
    series.ticksPerSecond = series.samplesPerSecond = 100;
    series.beats = {{100, N}, {200, N}, {300, V}, {400, N}, {500, N}};
    return series;
}

enum class Op { Add, Remove, Move, Undo, Redo };
struct Step {
    Op op;
    std::size_t index = 0;
    std::int64_t tick = 0;
};

void Apply(BeatEdits& edits, const Step& step) {
    switch (step.op) {
        case Op::Add:
            edits.add(step.tick);
            break;
        case Op::Remove:
            edits.remove(step.index);
            break;
        case Op::Move:
            edits.move(step.index, step.tick);
            break;
        case Op::Undo:
            edits.undo();
            break;
        case Op::Redo:
            edits.redo();
            break;
    }
}

std::vector<std::int64_t> Ticks(const BeatEdits& edits) {
    std::vector<std::int64_t> ticks;
    for (const EditedBeat& beat : edits.beats()) ticks.push_back(beat.tick);
    return ticks;
}

// R reference, A added, M moved.
std::string Sources(const BeatEdits& edits) {
    std::string letters;
    for (const EditedBeat& beat : edits.beats()) letters += "RDAM"[int(beat.source)];
    return letters;
}

std::vector<double> Seconds(const BeatEdits& edits, bool normalToNormal) {
    std::vector<double> seconds;
    for (const RrInterval& rr : RrIntervals(edits.series(), normalToNormal))
        seconds.push_back(rr.seconds);
    return seconds;
}

TEST(BeatEditsTest, EditsGiveTheirBeatsAndIntervals) {
    const struct {
        std::vector<Step> steps;
        std::vector<std::int64_t> ticks;
        std::string sources;
        std::vector<double> all, normal;
    } cases[] = {
        {{}, {100, 200, 300, 400, 500}, "RRRRR", {1, 1, 1, 1}, {1, 1}},
        {{{Op::Add, 0, 350}},
         {100, 200, 300, 350, 400, 500},
         "RRRARR",
         {1, 1, .5, .5, 1},
         {1, .5, 1}},
        {{{Op::Remove, 2, 0}}, {100, 200, 400, 500}, "RRRR", {1, 2, 1}, {1, 2, 1}},
        {{{Op::Move, 1, 150}}, {100, 150, 300, 400, 500}, "RMRRR", {.5, 1.5, 1, 1}, {.5, 1}},
        // Past its neighbours: the beat takes its place in time, keeping its code.
        {{{Op::Move, 0, 450}}, {200, 300, 400, 450, 500}, "RRRMR", {1, 1, .5, .5}, {.5, .5}},
        {{{Op::Add, 0, 350}, {Op::Undo, 0, 0}},
         {100, 200, 300, 400, 500},
         "RRRRR",
         {1, 1, 1, 1},
         {1, 1}},
        {{{Op::Add, 0, 350}, {Op::Undo, 0, 0}, {Op::Redo, 0, 0}},
         {100, 200, 300, 350, 400, 500},
         "RRRARR",
         {1, 1, .5, .5, 1},
         {1, .5, 1}},
        // A new change forgets what was taken back: the redo finds nothing.
        {{{Op::Add, 0, 350}, {Op::Undo, 0, 0}, {Op::Remove, 0, 0}, {Op::Redo, 0, 0}},
         {200, 300, 400, 500},
         "RRRR",
         {1, 1, 1},
         {1}},
        // An added beat moved stays added; undoing the move puts it back.
        {{{Op::Add, 0, 50}, {Op::Move, 0, 20}, {Op::Undo, 0, 0}},
         {50, 100, 200, 300, 400, 500},
         "ARRRRR",
         {.5, 1, 1, 1, 1},
         {.5, 1, 1}},
        {{{Op::Remove, 4, 0}, {Op::Remove, 0, 0}}, {200, 300, 400}, "RRR", {1, 1}, {}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        BeatEdits edits(FiveBeats(), BeatSource::Reference);
        for (const Step& step : c.steps) Apply(edits, step);
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(Ticks(edits), c.ticks);
        EXPECT_EQ(Sources(edits), c.sources);
        EXPECT_EQ(Seconds(edits, false), c.all);
        EXPECT_EQ(Seconds(edits, true), c.normal);
    }
}

// Undoing every change gives the beats as loaded; redoing them all, the beats as edited.
TEST(BeatEditsTest, UndoAndRedoRoundTrip) {
    const std::vector<std::vector<Step>> sequences = {
        {{Op::Add, 0, 350}, {Op::Move, 3, 360}, {Op::Remove, 0, 0}},
        {{Op::Move, 4, 10}, {Op::Move, 0, 600}, {Op::Add, 0, 0}, {Op::Remove, 2, 0}},
        {{Op::Remove, 0, 0},
         {Op::Remove, 0, 0},
         {Op::Remove, 0, 0},
         {Op::Remove, 0, 0},
         {Op::Remove, 0, 0}},
    };
    for (const auto& steps : sequences) {
        BeatEdits edits(FiveBeats(), BeatSource::Detected);
        const std::vector<EditedBeat> loaded = edits.beats();
        for (const Step& step : steps) Apply(edits, step);
        const std::vector<EditedBeat> edited = edits.beats();
        EXPECT_EQ(edits.changeCount(), steps.size());
        while (edits.undo()) {
        }
        EXPECT_EQ(edits.beats(), loaded);
        EXPECT_FALSE(edits.canUndo());
        while (edits.redo()) {
        }
        EXPECT_EQ(edits.beats(), edited);
        EXPECT_FALSE(edits.canRedo());
    }
}

// A change that cannot be made says why and leaves the beats and the history as they were.
TEST(BeatEditsTest, RefusedChangesLeaveEverythingAsItWas) {
    const struct {
        Step step;
        std::string reason;
    } cases[] = {
        {{Op::Add, 0, 300}, "there is a beat at tick 300 already"},
        {{Op::Add, 0, -1}, "a beat cannot lie before the record's start"},
        {{Op::Move, 1, 300}, "there is a beat at tick 300 already"},
        {{Op::Move, 0, -5}, "a beat cannot lie before the record's start"},
        {{Op::Move, 6, 50}, "there is no beat 7 of 6"},
        {{Op::Remove, 6, 0}, "there is no beat 7 of 6"},
    };
    for (const auto& c : cases) {
        BeatEdits edits(FiveBeats(), BeatSource::Reference);
        edits.add(50);
        edits.undo();
        edits.add(50);  // one change done, none to redo
        const std::vector<EditedBeat> before = edits.beats();
        EXPECT_EQ(testing::FailureReason([&] { Apply(edits, c.step); }, "made"), c.reason);
        EXPECT_EQ(edits.beats(), before);
        EXPECT_EQ(edits.changeCount(), 1u);
        EXPECT_FALSE(edits.canRedo());
    }
}

TEST(BeatEditsTest, FindsTheBeatNearAClick) {
    const struct {
        std::int64_t tick, tolerance;
        std::optional<std::size_t> index;
    } cases[] = {{160, 50, 1},  {160, 30, std::nullopt}, {90, 10, 0},
                 {600, 100, 4}, {0, 99, std::nullopt},   {341, 41, 2}};
    const BeatEdits edits(FiveBeats(), BeatSource::Reference);
    for (const auto& c : cases) EXPECT_EQ(edits.beatNear(c.tick, c.tolerance), c.index) << c.tick;
    EXPECT_EQ(edits.beatsBetween(150, 401), (std::pair<std::size_t, std::size_t>{1, 4}));
    EXPECT_EQ(edits.beatsBetween(600, 700), (std::pair<std::size_t, std::size_t>{5, 5}));
}

TEST(BeatEditsTest, FindsThePeakNearAClick) {
    const struct {
        std::vector<float> values;
        std::int64_t first, around, halfWidth, peak;
    } cases[] = {
        {{0, 0, 1, 5, 1, 0, 0}, 10, 11, 3, 13},  // stretch cut at the values' start
        {{0, -1, -6, -1, 0, 2, 0}, 0, 4, 3, 2},  // a negative R wave
        {{9, 0, 0, 2, 0, 0}, 0, 4, 1, 3},        // the taller peak lies beyond reach
        {{}, 0, 7, 3, 7},                        // nothing read there
        {{1, 2, 3}, 100, 10, 2, 10},             // the values lie elsewhere
    };
    for (const auto& c : cases)
        EXPECT_EQ(LocalExtremum(c.values, c.first, c.around, c.halfWidth), c.peak) << c.around;
}

// Each episode (flutter or unreadable noise) is written as unreadable noise: read back, the
// beats, episodes and normal-to-normal intervals are those edited.
TEST(BeatEditsTest, AnnotationBytesReadBackAsTheEditedBeats) {
    BeatSeries series = FiveBeats();
    series.episodes = {{250, 260}, {450, INT64_MAX}};
    series.timeResolutionHz = 100;
    BeatEdits edits(series, BeatSource::Reference);
    edits.add(150);
    edits.move(0, 120);
    BeatSeries read = series;
    read.beats.clear();
    read.episodes.clear();
    TakeBeats(ParseAnnotations(EditedAnnotationBytes(edits.series())), read);
    ASSERT_EQ(read.beats.size(), 6u);
    for (std::size_t i = 0; i < read.beats.size(); ++i) {
        EXPECT_EQ(read.beats[i].tick, edits.beats()[i].tick);
        EXPECT_EQ(read.beats[i].code, edits.beats()[i].code);
    }
    ASSERT_EQ(read.episodes.size(), 2u);
    EXPECT_EQ(read.episodes[0].start, 250);
    EXPECT_EQ(read.episodes[0].end, 260);
    EXPECT_EQ(read.episodes[1].end, INT64_MAX);
    EXPECT_EQ(read.timeResolutionHz, 100);
    // 120-150 and 150-200 remain; 200-300 crosses the first episode, 400-500 the second.
    const std::vector<double> normal = {.3, .5};
    std::vector<double> seconds;
    for (const RrInterval& rr : RrIntervals(read, true)) seconds.push_back(rr.seconds);
    EXPECT_EQ(seconds, normal);
}

// A copy of record 100's header and reference beats, edited, saved beside it and read back by
// the record reader; the reference annotations are never replaced.
TEST(BeatEditsTest, SavedEditsReadBackBesideTheRecord) {
    testing::ScratchDir dir;
    for (const char* name : {"100.hea", "100.atr"})
        std::filesystem::copy_file(Ecg + "/mitdb/" + name, dir.file(name));
    const std::string record = dir.file("100");
    BeatEdits edits(LoadBeats(record, {"", "atr", 0}), BeatSource::Reference);
    edits.remove(10);
    edits.move(20, edits.beats()[20].tick + 7);
    edits.add(edits.beats()[30].tick + 100, N);
    const std::string path = SaveEditedAnnotations(record, EditedAnnotator, edits.series(), "atr");
    EXPECT_EQ(path, dir.file("100.edited"));
    const BeatSeries read = LoadBeats(record, {"", EditedAnnotator, 0});
    ASSERT_EQ(read.beats.size(), edits.beats().size());
    for (std::size_t i = 0; i < read.beats.size(); ++i)
        ASSERT_EQ(read.beats[i].tick, edits.beats()[i].tick) << i;
    EXPECT_EQ(read.beats.size(), 2273u);  // 2273 - 1 + 1

    const std::string reference = testing::ReadAll(dir.file("100.atr"));
    for (const char* name : {"atr", "ann"}) {
        EXPECT_NE(testing::FailureReason(
                      [&] { SaveEditedAnnotations(record, name, edits.series(), "ann"); }, ""),
                  "");
    }
    EXPECT_EQ(testing::ReadAll(dir.file("100.atr")), reference);

    SaveEditedIntervals(dir.file("100.rr"), edits.series(), false, record);
    const std::string text = testing::ReadAll(dir.file("100.rr"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2272);
    EXPECT_EQ(text.substr(0, 9), "0.813889\n");  // 100.atr's first beats: samples 77 and 370
}

// A stretch read after a seek is the same stretch of the whole signal, in either format, at an
// even or odd sample of format 212, across an EDF data record, near and past the end.
TEST(SignalRangeTest, AStretchIsThatOfTheWholeSignal) {
    const struct {
        std::string record, channel;
        std::int64_t first;
        std::size_t count, expected;
    } cases[] = {
        {"/mitdb/100", "1", 0, 10, 10},           {"/mitdb/100", "1", 1, 5, 5},
        {"/mitdb/100", "2", 12345, 300, 300},     {"/mitdb/100", "2", 649990, 20, 10},
        {"/mitdb/100", "1", 650000, 5, 0},        {"/svdb/800", "2", 77777, 129, 129},
        {"/adfecgdb/r01.edf", "1", 4990, 20, 20},
    };
    for (const auto& c : cases) {
        SignalReader whole = OpenSignal(Ecg + c.record, c.channel);
        std::vector<float> all(700000);
        all.resize(whole.read(all));
        SignalReader reader = OpenSignal(Ecg + c.record, c.channel);
        const std::vector<float> stretch = reader.readRange(c.first, c.count);
        ASSERT_EQ(stretch.size(), c.expected) << c.record << " " << c.first;
        const auto from = all.begin() + c.first;
        EXPECT_TRUE(std::equal(stretch.begin(), stretch.end(), from)) << c.record << " " << c.first;
        // Back at the start, the whole signal reads again with its checksum.
        reader.seek(0);
        std::vector<float> again(all.size() + 1);
        EXPECT_EQ(reader.read(again), all.size());
    }
}

}  // namespace
}  // namespace ritmova::ecg
