// Open off the GUI thread and of ECG records: the reading's progress dialog and Cancel, the
// intervals and names of WFDB records and EDF files, and a cancelled Open changing nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "cli/recording_analysis.h"
#include "common/command_failure.h"
#include "ui/background_read.h"
#include "ui/main_window.h"

namespace ritmova {
namespace {

const std::string Ecg = RITMOVA_ECG_DATA_DIR;
const std::string Example = RITMOVA_EXAMPLES_DIR "/nsr2db-nsr012.int";

// What the window shows and holds, to compare before and after a command.
struct Shown {
    WindowState state;
    QString summary, field, status;
    std::string path, title;
    std::vector<float> intervals;
    bool operator==(const Shown&) const = default;
};

Shown shown(const MainWindow& form) {
    const auto& opened = form.opened();
    return {form.windowState(),
            form.controls().summaryLabel->text(),
            form.windowField()->text(),
            form.statusBar()->currentMessage(),
            form.openedPath(),
            opened && opened->ecg ? opened->ecg->title() : std::string(),
            opened ? opened->recording.intervals : std::vector<float>()};
}

struct EcgCase {
    const char* path;
    bool detect;
    const char* annotator;  // the console tool's choice giving the same beats
    const char* field;      // how the status bar's field starts
    const char* status;
};

class EcgOpen : public testing::TestWithParam<EcgCase> {
  protected:
    MainWindow form;
};

// The intervals are those the console tool reads of the record; the texts name the record and
// where its beats came from.
TEST_P(EcgOpen, ShowsTheConsoleToolsIntervals) {
    const EcgCase& c = GetParam();
    form.menus().detectBeats->setChecked(c.detect);
    ASSERT_TRUE(form.openNativeFile(Ecg + c.path));
    cli::AnalysisOptions options;
    options.beats.annotator = c.annotator;
    const cli::NamedRecording expected = cli::ReadAnyRecording(Ecg + c.path, options);
    ASSERT_TRUE(form.opened() && form.opened()->ecg);
    EXPECT_EQ(form.opened()->recording.intervals, expected.recording.intervals);
    EXPECT_EQ(form.opened()->ecg->title(), expected.name);
    EXPECT_TRUE(form.windowField()->text().startsWith(QString::fromUtf8(c.field)))
        << form.windowField()->text().toStdString();
    EXPECT_TRUE(form.statusBar()->currentMessage().endsWith(c.status))
        << form.statusBar()->currentMessage().toStdString();
    EXPECT_TRUE(
        form.controls().summaryLabel->text().contains(QString::fromStdString(expected.name)));
}

INSTANTIATE_TEST_SUITE_P(Records, EcgOpen,
                         testing::Values(EcgCase{"/mitdb/100.hea", false, "atr",
                                                 "100 (atr) \u00b7 beats 1-256 of 2272 \u00b7 s",
                                                 "beats of the annotation file 100.atr"},
                                         EcgCase{"/mitdb/100", true, "",
                                                 "100 (detected, MLII) \u00b7 beats 1-256 of",
                                                 "beats detected in MLII"},
                                         EcgCase{"/adfecgdb/r01.edf", false, "qrs",
                                                 "r01 (qrs) \u00b7 beats 1-256 of 643 \u00b7 s",
                                                 "beats of the annotation file r01.edf.qrs"},
                                         EcgCase{"/svdb/800", false, "atr",
                                                 "800 (atr) \u00b7 beats 1-256 of 1882 \u00b7 s",
                                                 "beats of the annotation file 800.atr"}));

struct FailureCase {
    std::string path;
    bool detect;
    const char* status;
};

class FailedEcgOpen : public testing::TestWithParam<FailureCase> {};

// A record that cannot be shown says why and changes nothing else.
TEST_P(FailedEcgOpen, SaysWhyAndKeepsTheOpenRecording) {
    const FailureCase& c = GetParam();
    MainWindow form;
    ASSERT_TRUE(form.openNativeFile(Example));
    Shown before = shown(form);
    form.menus().detectBeats->setChecked(c.detect);
    EXPECT_FALSE(form.openNativeFile(c.path));
    before.status = c.status;
    EXPECT_EQ(shown(form), before);
}

INSTANTIATE_TEST_SUITE_P(
    Records, FailedEcgOpen,
    testing::Values(
        // 182 s of ECG hold 230 beats.
        FailureCase{Ecg + "/eegmat/Subject00_1.edf", false,
                    "Subject00_1.edf: only 229 beats from beat 1 on, 256 needed"},
        // Its fetal scalp lead is not labelled ECG: the channels are listed.
        FailureCase{Ecg + "/adfecgdb/r07.edf", true,
                    "r07.edf: no channel says ECG or EKG; the channels are 1 'Direct_1', 2 "
                    "'Abdomen_1', 3 'Abdomen_2', 4 'Abdomen_3', 5 'Abdomen_4', 6 'EDF "
                    "Annotations'; choose one by number or label"},
        FailureCase{Ecg + "/ltdb/14046.hea", true, "14046.hea: No such file or directory"}));

// Detect beats reads the open record again the other way; back again, all is as it was.
TEST(EcgBeats, SwitchingToDetectionAndBackRoundTrips) {
    MainWindow form;
    ASSERT_TRUE(form.openNativeFile(Ecg + "/mitdb/100.hea"));
    const Shown annotated = shown(form);
    form.menus().detectBeats->trigger();
    EXPECT_EQ(shown(form).title, "100 (detected, MLII)");
    EXPECT_NE(shown(form).intervals, annotated.intervals);
    form.menus().detectBeats->trigger();
    EXPECT_EQ(shown(form), annotated);
}

// Cancels every read at its start, as Cancel in the progress dialog does at its next block.
// ECG channel reads the open record again with its beats detected in the channel chosen,
// offered among the record's channels with the one shown chosen.
TEST(EcgBeats, DetectsInTheChannelChosen) {
    MainWindow form;
    ASSERT_TRUE(form.openNativeFile(Ecg + "/mitdb/100.hea"));
    form.setChannelAnswer([](QInputDialog& dialog) {
        EXPECT_EQ(dialog.comboBoxItems(), QStringList({"1: MLII", "2: V5"}));
        EXPECT_EQ(dialog.textValue(), "1: MLII");
        dialog.setTextValue("2: V5");
        return true;
    });
    form.menus().ecgChannel->trigger();
    cli::AnalysisOptions options;
    options.beats.channel = "2";
    const cli::NamedRecording expected = cli::ReadAnyRecording(Ecg + "/mitdb/100", options);
    EXPECT_EQ(shown(form).title, "100 (detected, V5)");
    EXPECT_EQ(shown(form).title, expected.name);
    EXPECT_EQ(shown(form).intervals, expected.recording.intervals);
    ASSERT_TRUE(form.openNativeFile(Example));  // another recording forgets the choice
    form.menus().ecgChannel->trigger();
    EXPECT_EQ(form.statusBar()->currentMessage(), "no ECG record is open");
}

void CancelledRead(QWidget*, const QString&, const std::function<void(Progress&)>& read) {
    Progress progress;
    progress.cancel();
    read(progress);
}

struct CancelCase {
    std::string before;  // opened first; empty: nothing
    std::string cancelled;
};

class CancelledOpen : public testing::TestWithParam<CancelCase> {};

TEST_P(CancelledOpen, LeavesEverythingAsItWas) {
    MainWindow form;
    if (!GetParam().before.empty()) {
        ASSERT_TRUE(form.openNativeFile(GetParam().before));
    }
    const Shown before = shown(form);
    form.setReadRunner(CancelledRead);
    EXPECT_TRUE(form.openNativeFile(GetParam().cancelled));
    EXPECT_EQ(shown(form), before);
}

INSTANTIATE_TEST_SUITE_P(Opens, CancelledOpen,
                         testing::Values(CancelCase{Example, Ecg + "/mitdb/100.hea"},
                                         CancelCase{Ecg + "/mitdb/100", Example},
                                         CancelCase{Ecg + "/adfecgdb/r01.edf", Ecg + "/mitdb/100"},
                                         CancelCase{"", Example}));

// How a background read behaves, and what the user sees of it.
enum class Reading { Quick, Fails, Slow, UntilCancelled };
enum class Outcome { Done, Failure, Cancelled };

struct BackgroundCase {
    Reading reading;
    bool parentShown;
    bool dialogShown;
    Outcome outcome;
};

// Waits until cancelled, for at most 10 s so that a broken dialog fails rather than hangs.
void untilCancelled(Progress& progress) {
    for (int i = 0; i < 1000 && !progress.cancelled(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    progress.check();
}

// A modal progress dialog on the screen: its Cancel is clicked.
bool cancelShownDialog() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->findChild<QProgressBar*>()) return false;
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    return true;
}

class Background : public testing::TestWithParam<BackgroundCase> {};

TEST_P(Background, ShowsProgressOnlyForLongReadsAndCancels) {
    const BackgroundCase& c = GetParam();
    QWidget parent;
    if (c.parentShown) parent.show();
    bool dialogSeen = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] { dialogSeen |= cancelShownDialog(); });
    watcher.start(20);
    std::atomic<int> result = 0;
    const auto read = [&](Progress& progress) {
        if (c.reading == Reading::Fails) throw CommandFailure("unreadable");
        if (c.reading == Reading::Slow)
            std::this_thread::sleep_for(std::chrono::milliseconds(3 * ProgressDelayMs / 2));
        if (c.reading == Reading::UntilCancelled) untilCancelled(progress);
        result = 42;
    };
    Outcome outcome = Outcome::Done;
    try {
        ReadInBackground(&parent, "Reading", read);
    } catch (const CommandFailure&) {
        outcome = Outcome::Failure;
    } catch (const Cancelled&) {
        outcome = Outcome::Cancelled;
    }
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(dialogSeen, c.dialogShown);
    EXPECT_EQ(result, c.outcome == Outcome::Done ? 42 : 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Reads, Background,
    testing::Values(BackgroundCase{Reading::Quick, true, false, Outcome::Done},
                    BackgroundCase{Reading::Fails, true, false, Outcome::Failure},
                    // Without a window on the screen (an export), no dialog, however long.
                    BackgroundCase{Reading::Slow, false, false, Outcome::Done},
                    BackgroundCase{Reading::UntilCancelled, true, true, Outcome::Cancelled}));

}  // namespace
}  // namespace ritmova
