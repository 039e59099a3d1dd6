#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "ui/common_dialog.h"
#include "ui/load_layout.h"
#include "ui/pass_view.h"
#include "ui/qt_window_port.h"
#include "ui/recording_commands.h"

class QAction;
class QInputDialog;
class QLabel;
class QMenu;

namespace ritmova {

class TrendWindow;

// The menus; each menu's items under their fixed indices, gaps included.
struct Form1Menus {
    QMenu* FileMnu = nullptr;
    std::map<std::int16_t, QAction*> FileMnuItem;
    QMenu* AnalysisMenu = nullptr;
    std::map<std::int16_t, QAction*> AnalysisMenuItem;
    QMenu* MenuQM = nullptr;
    std::map<std::int16_t, QAction*> MenuQMItem;
};

// The main window: three plots with their axis values and titles, the results summary,
// Save results and the Markov panel. It owns the analysis state; every menu item and button
// reaches one handler, which runs its command under one error trap.
class Form1 final : public QMainWindow {
    Q_OBJECT

  public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    void FileMnu_Click(std::int16_t index);
    void FileMnuItem_Click(std::int16_t index);
    void AnalysisMenuItem_Click(std::int16_t index);
    void MenuQMItem_Click(std::int16_t index);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

    // File menu index of Export image, between Printer Setup and the separator before Exit.
    static constexpr std::int16_t ExportItem = 5;
    // The Analysis menu: 0 Markov, a separator at 1, then the moves through the recording.
    // 5 (a separator) and 6 are the Trend view's; a separator at 7 comes before Milliseconds.
    static constexpr std::int16_t NextItem = 2;
    static constexpr std::int16_t PreviousItem = 3;
    static constexpr std::int16_t GoToItem = 4;
    static constexpr std::int16_t MillisecondsItem = 8;  // checkable: the handler reads its check

    // Answers Go to beat's dialog (its spin box limited to the recording's windows): true
    // when accepted. A test installs its own answer.
    using BeatAnswer = std::function<bool(QInputDialog&)>;
    void setBeatAnswer(BeatAnswer answer) { beatAnswer_ = std::move(answer); }

    // Analysis menu index of Trend, after a separator.
    static constexpr std::int16_t TrendItem = 6;

    // Opens `path` as if it had been chosen in the Open dialog; false when that failed (the
    // reason is in the status bar).
    bool openFile(const QString& path);
    // Shows the window of the open recording from `firstBeat` (1-based); false when that
    // failed (the reason is in the status bar).
    bool goToBeat(std::size_t firstBeat);

    // The status bar's permanent field: the open recording and the window shown.
    const QLabel* windowField() const { return windowField_; }

    const Form1Controls& controls() const { return controls_; }
    const Form1Menus& menus() const { return menus_; }
    const WindowState& windowState() const { return state_; }
    // Analysis → Trend's window, once it was asked for.
    TrendWindow* trendWindow() const { return trend_; }

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void createControls();
    void createPanel(QWidget* client);
    void createMenus();
    void Form_Load();
    WindowTwips sizeAndCentre(float twipsPerPixel);
    void placeControls(const LoadLayout& layout, float twipsPerPixel);
    void setStartTexts();
    void createAnalysisMenu();
    bool openRecording();
    void exportImage();
    void markov();
    void askForBeat();
    void setMilliseconds(bool milliseconds);
    // Runs a command of the open recording under the error trap; when it completed, shows its
    // hints in the status bar. The field on the right follows the window shown, even when
    // the pass failed part way. A failure is named after the open recording's file unless
    // `fileName` names another.
    bool runRecordingCommand(const std::function<bool()>& command,
                             const std::function<std::string()>& fileName = {});
    // The trend window (form1_trend.cpp).
    void openTrend();
    void showTrend(bool reread);
    // An Open read a new recording: a trend window on the screen follows it.
    void recordingOpened();
    // The handler's one error trap: a failure beeps and shows its reason in the status bar,
    // after the file's name when there is one; a completed command clears that line.
    // `command` returns false when the user cancelled, which changes nothing. Returns false
    // when the command failed.
    bool runTrapped(const std::function<bool()>& command,
                    const std::function<std::string()>& fileName = {});

    WindowState state_;
    QPrinter printer_;
    Form1Controls controls_;
    Form1Menus menus_;
    std::unique_ptr<QtCommonDialog> commonDialog1_;
    std::unique_ptr<QtCommonDialog> commonDialog2_;
    std::unique_ptr<QtCommonDialog> exportDialog_;
    std::unique_ptr<QtWindowPort> port_;
    std::unique_ptr<RecordingCommands> recording_;
    QLabel* windowField_ = nullptr;
    BeatAnswer beatAnswer_;
    TrendWindow* trend_ = nullptr;  // a window of its own, owned as a child
};

}  // namespace ritmova
