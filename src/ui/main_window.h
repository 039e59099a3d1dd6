#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ecg/opened_record.h"
#include "ui/common_dialog.h"
#include "ui/load_layout.h"
#include "ui/pass_view.h"
#include "ui/qt_window_port.h"
#include "ui/recording_commands.h"

class QAction;
class QInputDialog;
class QLabel;
class QMenu;
class QToolButton;

namespace ritmova {

class BeatReviewWindow;
class ImportDialog;
class StandardWindow;
class TrendWindow;

// The menus and their items, in menu order.
struct MainWindowMenus {
    QMenu* file = nullptr;
    QAction* open = nullptr;
    QAction* print = nullptr;
    QAction* printerSetup = nullptr;
    QAction* exportImage = nullptr;
    QAction* exit = nullptr;
    QAction* saveHrvReport = nullptr;
    QMenu* analysis = nullptr;
    QAction* markov = nullptr;
    QAction* next = nullptr;
    QAction* previous = nullptr;
    QAction* goToBeat = nullptr;
    QAction* trend = nullptr;
    QAction* milliseconds = nullptr;  // checkable: kept between sessions
    QAction* standardAnalysis = nullptr;
    QAction* detectBeats = nullptr;  // checkable: ECG records' beats by detection
    QAction* beatReview = nullptr;
    QAction* ecgChannel = nullptr;
    QMenu* help = nullptr;  // "?"
    QAction* about = nullptr;
};

// The main window: three plots with their axis values and titles, the results summary,
// Save results and the Markov panel. It owns the analysis state; every menu item and button
// reaches one handler, which runs its command under one error trap.
class MainWindow final : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The menu items' and buttons' handlers, each running its command under one error trap.
    void onFileMenuShown();
    void onOpen();
    void onPrint();
    void onPrinterSetup();
    void onExportImage();
    void onExit();
    void onMarkov();
    void onNext();
    void onPrevious();
    void onGoToBeat();
    void onTrend();
    void onMilliseconds();
    void onStandardAnalysis();
    void onDetectBeats();
    void onEcgChannel();
    void onBeatReview();
    void onAbout();
    void onPrintMarkov();
    void onCloseMarkov();
    void onSaveResults();
    void onSaveHrvReport();  // main_window_report.cpp

    // Answers Go to beat's dialog (its spin box limited to the recording's windows): true
    // when accepted. A test installs its own answer.
    using BeatAnswer = std::function<bool(QInputDialog&)>;
    void setBeatAnswer(BeatAnswer answer) { beatAnswer_ = std::move(answer); }
    // The same for ECG channel's dialog (a combo box of the record's channels).
    void setChannelAnswer(BeatAnswer answer) { channelAnswer_ = std::move(answer); }
    // Runs Open's reading, ReadInBackground unless a test installs its own.
    using ReadRunner =
        std::function<void(QWidget*, const QString&, const std::function<void(Progress&)>&)>;
    void setReadRunner(ReadRunner runner) { readRunner_ = std::move(runner); }

    // Answers the import step's dialog (main_window_import.cpp): true when accepted. A test
    // installs its own answer; without one, a window not on the screen asks nothing.
    using ImportAnswer = std::function<bool(ImportDialog&)>;
    void setImportAnswer(ImportAnswer answer) { importAnswer_ = std::move(answer); }
    // The status bar's button that reads the recording in the units it looks like.
    QToolButton* unitsButton() const { return unitsButton_; }
    // File's recent files, newest first (the items after its last separator).
    QList<QAction*> recentFileItems() const;

    // Opens `path` as if it had been chosen in the Open dialog; false when that failed (the
    // reason is in the status bar).
    bool openFile(const QString& path);
    // The same for a path's bytes as the system takes them (from the command line, say).
    bool openNativeFile(const std::string& path);
    // The path of the open recording, empty when none is open.
    std::string openedPath() const;
    // The open recording, and for an ECG record its beats.
    const std::optional<OpenedRecording>& opened() const { return recording_->opened(); }
    // Shows the window of the open recording from `firstBeat` (1-based); false when that
    // failed (the reason is in the status bar).
    bool goToBeat(std::size_t firstBeat);

    // Analysis → Beat review's window, once it was asked for.
    BeatReviewWindow* beatReviewWindow() const { return review_; }

    // The status bar's permanent field: the open recording and the window shown.
    const QLabel* windowField() const { return windowField_; }
    // The status bar's note of what the last command wrote; the next command clears it.
    const QLabel* noteField() const { return noteField_; }

    const MainWindowControls& controls() const { return controls_; }
    const MainWindowMenus& menus() const { return menus_; }
    const WindowState& windowState() const { return state_; }
    // File → Save HRV report's dialog, made when first asked for.
    QtCommonDialog& reportDialog();
    // Analysis → Trend's window, once it was asked for.
    TrendWindow* trendWindow() const { return trend_; }
    // Analysis → Standard analysis's window, once it was asked for.
    StandardWindow* standardWindow() const { return standard_; }

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createControls();
    void createPanel(QWidget* client);
    void createMenus();
    void loadWindow();
    WindowTwips sizeAndCentre(float twipsPerPixel);
    void placeControls(const LoadLayout& layout, float twipsPerPixel);
    void setStartTexts();
    void createAnalysisMenu();
    bool openRecording();
    // Open of ECG records and off the GUI thread (main_window_open.cpp): the item choosing
    // how their beats are found, and Open's choice, reading and showing of a file.
    void createBeatsItem();
    void createChannelItem();
    void createReviewItem();
    // The review's beats replace the open recording (main_window_review.cpp).
    void reviewEdited();
    bool openChosenFile();
    void setMilliseconds(bool milliseconds);
    // Runs a command of the open recording under the error trap; when it completed, shows its
    // hints in the status bar. The field on the right follows the window shown, even when
    // the pass failed part way. A failure is named after the open recording's file unless
    // `fileName` names another.
    bool runRecordingCommand(const std::function<bool()>& command,
                             const std::function<std::string()>& fileName = {});
    // The trend window (main_window_trend.cpp).
    void showTrend(bool reread);
    // An Open read a new recording: a trend window on the screen follows it.
    void recordingOpened();
    // The standard-analysis window (main_window_standard.cpp), which follows an Open too.
    void showStandardAnalysis(bool reread);
    void standardRecordingOpened();
    // The import step, the units button and the recent files (main_window_import.cpp).
    void createImportParts();
    std::optional<ImportChoice> askImport(const ImportQuestion& question);
    void showSuggestedUnits();
    void onSuggestedUnits();
    // Before the open recording is read again in other units: an imported file keeps its
    // header lines and column.
    void keepImportIn(bool milliseconds);
    void addRecentFile(const std::string& path);
    void showRecentFiles();
    void openRecentFile(const std::string& path);
    // The handler's one error trap: a failure beeps and shows its reason in the status bar,
    // after the file's name when there is one; a completed command clears that line.
    // `command` returns false when the user cancelled, which changes nothing. Returns false
    // when the command failed.
    bool runTrapped(const std::function<bool()>& command,
                    const std::function<std::string()>& fileName = {});

    WindowState state_;
    QPrinter printer_;
    MainWindowControls controls_;
    MainWindowMenus menus_;
    std::unique_ptr<QtCommonDialog> openDialog_;
    std::unique_ptr<QtCommonDialog> saveDialog_;
    std::unique_ptr<QtCommonDialog> exportDialog_;
    std::unique_ptr<QtCommonDialog> reportDialog_;
    std::unique_ptr<QtWindowPort> port_;
    std::unique_ptr<RecordingCommands> recording_;
    QLabel* windowField_ = nullptr;
    QLabel* noteField_ = nullptr;
    BeatAnswer beatAnswer_;
    ImportAnswer importAnswer_;
    QToolButton* unitsButton_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    ReadRunner readRunner_;
    BeatAnswer channelAnswer_;
    std::string ecgChannel_;        // ECG channel's choice for the open record; empty: the default
    TrendWindow* trend_ = nullptr;  // a window of its own, owned as a child
    StandardWindow* standard_ = nullptr;  // the same
    BeatReviewWindow* review_ = nullptr;  // the same
};

}  // namespace ritmova
