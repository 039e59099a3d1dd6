// Analysis → ECG channel...: the open ECG record read again with its beats detected in the
// channel the user chooses, for records whose ECG channel the default choice does not find
// (labels such as "Direct_1") or that hold several.
#include <QAction>
#include <QInputDialog>
#include <QMenu>

#include "common/command_failure.h"
#include "common/safe_text.h"
#include "ecg/signal_reader.h"
#include "ui/main_window.h"

namespace ritmova {

void MainWindow::createChannelItem() {
    menus_.ecgChannel = menus_.analysis->addAction("ECG &channel...");
    connect(menus_.ecgChannel, &QAction::triggered, this, &MainWindow::onEcgChannel);
}

void MainWindow::onEcgChannel() {
    std::string path;
    runTrapped([this, &path] {
        const auto& opened = recording_->opened();
        if (!opened || !opened->ecg) throw CommandFailure("no ECG record is open");
        QStringList items;
        const std::vector<std::string> labels = ecg::ChannelLabels(opened->path);
        for (std::size_t i = 0; i < labels.size(); ++i)
            items << QString("%1: %2").arg(i + 1).arg(QString::fromStdString(SafeText(labels[i])));
        QInputDialog dialog(this);
        dialog.setWindowTitle("ECG channel");
        dialog.setLabelText("Detect the beats in channel:");
        dialog.setComboBoxItems(items);
        dialog.setComboBoxEditable(false);
        const auto shown = static_cast<qsizetype>(opened->ecg->channelNumber);
        if (shown > 0 && shown <= items.size()) dialog.setTextValue(items[shown - 1]);
        if (!(channelAnswer_ ? channelAnswer_(dialog) : dialog.exec() == QDialog::Accepted))
            return false;
        ecgChannel_ = std::to_string(items.indexOf(dialog.textValue()) + 1);
        path = opened->path;
        return true;
    });
    if (path.empty()) return;
    menus_.detectBeats->setChecked(true);
    openNativeFile(path);
}

}  // namespace ritmova
