// The main window's Open, read off the GUI thread: the file chosen, read by a worker with a
// progress dialog and Cancel, then shown. ECG records open too, with their beats from the
// reference annotations or, when asked for or when there are none, from R-peak detection.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <filesystem>

#include "ui/background_read.h"
#include "ui/main_window.h"

namespace ritmova {

// Analysis → Detect beats in ECG records, after the menu's other items: not kept between sessions,
// so that an Open takes the reference annotations unless asked otherwise.
void MainWindow::createBeatsItem() {
    menus_.detectBeats = menus_.analysis->addAction("&Detect beats in ECG records");
    menus_.detectBeats->setCheckable(true);
    connect(menus_.detectBeats, &QAction::triggered, this, &MainWindow::onDetectBeats);
}

// The open ECG record is read again with its beats found the other way.
void MainWindow::onDetectBeats() {
    const auto& opened = recording_->opened();
    if (opened && opened->ecg) openNativeFile(opened->path);
}

// Cancel, in the file dialog or while reading, changes nothing.
bool MainWindow::openChosenFile() {
    const std::optional<std::string> path = recording_->choose();
    if (!path) return false;
    const Units units = menus_.milliseconds->isChecked() ? Units::Milliseconds : Units::Seconds;
    const ecg::BeatOrigin origin =
        menus_.detectBeats->isChecked() ? ecg::BeatOrigin::Detection : ecg::BeatOrigin::Annotations;
    const RecordingCommands::ImportStep import = recording_->importStep(*path, units);
    const auto& opened = recording_->opened();
    if (!opened || opened->path != *path) ecgChannel_.clear();  // a choice of another record
    const std::string channel = ecgChannel_;
    if (import.cancelled) return false;
    const QString name = QFile::decodeName(std::filesystem::path(*path).filename().c_str());
    OpenRead read;
    try {
        const auto runner = readRunner_ ? readRunner_ : ReadInBackground;
        runner(this, QString("Reading %1 ...").arg(name), [&](Progress& progress) {
            read = ReadForOpen(*path, units, origin, import.choice, &progress, channel);
        });
    } catch (const Cancelled&) {
        return false;
    }
    recording_->show(std::move(read));
    return true;
}

}  // namespace ritmova
