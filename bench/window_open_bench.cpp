// Open of the largest recording a file may hold (10,000,000 values) in a window on the screen:
// the whole Open, its progress dialog shown after 0.3 s, and how soon Cancel gives the window
// back, from the click to the end of the Open.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include "ui/main_window.h"

namespace {

// The file, written once: values about 0.8 s long, each different.
const QString& TenMillionFile() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath("ten-million.int");
        QFile out(file);
        if (out.open(QIODevice::WriteOnly)) {
            QByteArray block;
            for (long i = 0; i < 10'000'000; ++i) {
                block += QByteArray::number(0.8 + 0.05 * double((i * 7919) % 13) / 13.0, 'f', 4);
                block += '\n';
                if (block.size() > (1 << 20)) out.write(std::exchange(block, {}));
            }
            out.write(block);
        }
        return file;
    }();
    return path;
}

// The progress dialog on the screen, if it is.
QDialog* shownProgress() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    return dialog && dialog->findChild<QProgressBar*>() ? dialog : nullptr;
}

void BM_OpenTenMillion(benchmark::State& state) {
    const QString& file = TenMillionFile();
    ritmova::MainWindow form;
    form.show();
    for (auto _ : state) {
        if (!form.openFile(file)) state.SkipWithError("the Open failed");
    }
    state.SetItemsProcessed(state.iterations() * 10'000'000);
}
BENCHMARK(BM_OpenTenMillion)->Iterations(3)->Unit(benchmark::kMillisecond);

// Timed from the click on Cancel to the end of the Open.
void BM_CancelTenMillion(benchmark::State& state) {
    const QString& file = TenMillionFile();
    ritmova::MainWindow form;
    form.show();
    QElapsedTimer sinceClick, sinceOpen;
    double dialogShownMs = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QDialog* dialog = shownProgress();
        if (!dialog || sinceClick.isValid()) return;
        dialogShownMs = double(sinceOpen.nsecsElapsed()) / 1e6;
        sinceClick.start();
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    watcher.start(5);
    for (auto _ : state) {
        sinceClick.invalidate();
        sinceOpen.start();
        form.openFile(file);
        if (!sinceClick.isValid()) state.SkipWithError("no progress dialog to cancel");
        state.SetIterationTime(sinceClick.isValid() ? double(sinceClick.nsecsElapsed()) / 1e9 : 0);
    }
    state.counters["dialog_shown_ms"] = dialogShownMs;
}
BENCHMARK(BM_CancelTenMillion)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
