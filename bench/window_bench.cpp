// The window's speed targets: shown within 0.5 s of launch, and an Open of a recording,
// drawing included, within 16 ms (one frame), as is Next on a 100,000-beat recording. Export
// image is measured alongside, and the standard analysis of a 24-hour recording.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWindow>
#include <array>

#include "ui/main_window.h"
#include "ui/standard_window.h"
#include "ui/window_export.h"

namespace {

// Set in main: the time that QApplication took to start, the part of a launch before any
// window exists.
double applicationStartMs = 0;

// Processes events until `form` is shown on the screen.
void waitUntilShown(ritmova::MainWindow& form) {
    while (!form.windowHandle() || !form.windowHandle()->isExposed()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QApplication::processEvents();
}

// The first window of the process: fonts, style and printer support load here.
void BM_FirstWindowShown(benchmark::State& state) {
    for (auto _ : state) {
        ritmova::MainWindow form;
        form.show();
        waitUntilShown(form);
    }
    state.counters["application_start_ms"] = applicationStartMs;
}
BENCHMARK(BM_FirstWindowShown)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_WindowShown(benchmark::State& state) {
    for (auto _ : state) {
        ritmova::MainWindow form;
        form.show();
        waitUntilShown(form);
    }
}
BENCHMARK(BM_WindowShown)->Unit(benchmark::kMillisecond);

// Open as the user does it, up to the repainted window.
void BM_OpenRecording(benchmark::State& state) {
    ritmova::MainWindow form;
    form.show();
    waitUntilShown(form);
    for (auto _ : state) {
        form.openFile(RITMOVA_EXAMPLE);
        form.repaint();
    }
    if (!form.statusBar()->currentMessage().isEmpty()) state.SkipWithError("the Open failed");
}
BENCHMARK(BM_OpenRecording)->Unit(benchmark::kMillisecond);

// A recording of `beats` intervals about 0.8 s long, each different, written to `path`.
void writeRecording(const QString& path, int beats) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    for (int i = 0; i < beats; ++i) {
        file.write(QByteArray::number(0.8 + 0.05 * ((i * 7919) % 13) / 13.0, 'f', 4) + '\n');
    }
}

// Next 256 beats on a long recording, up to the repainted window; at the end the window
// goes back to the start, untimed.
void BM_NextWindow(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath("long.int");
    writeRecording(path, 100'000);
    ritmova::MainWindow form;
    form.show();
    waitUntilShown(form);
    if (!form.openFile(path)) state.SkipWithError("the Open failed");
    QAction* next = form.menus().next;
    for (auto _ : state) {
        next->trigger();
        form.repaint();
        if (form.statusBar()->currentMessage().startsWith("the last beats")) {
            state.PauseTiming();
            form.goToBeat(1);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_NextWindow)->Unit(benchmark::kMillisecond);

// Export image through the shared drawing, in each format, of the window with a recording.
void BM_ExportImage(benchmark::State& state) {
    static const std::array<QString, 3> suffixes{"png", "svg", "pdf"};
    const QString suffix = suffixes.at(static_cast<std::size_t>(state.range(0)));
    ritmova::MainWindow form;
    form.show();
    waitUntilShown(form);
    form.openFile(RITMOVA_EXAMPLE);
    QTemporaryDir folder;
    const QString target = folder.filePath("window." + suffix);
    for (auto _ : state) ritmova::ExportWindowImage(*form.centralWidget(), target);
    state.SetLabel(suffix.toStdString());
}
BENCHMARK(BM_ExportImage)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Analysis → Standard analysis on a 24-hour recording (108,000 beats) up to its results on the
// screen, the target being about 0.3 s: the first time with the file read again in double
// precision, then a change of correction (automatic, then none) on the recording kept.
void BM_StandardAnalysisDay(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath("day.int");
    writeRecording(path, 108'000);
    ritmova::MainWindow form;
    form.show();
    waitUntilShown(form);
    if (!form.openFile(path)) state.SkipWithError("the Open failed");
    const bool firstOpen = state.range(0) == 0;
    int correction = 0;
    for (auto _ : state) {
        if (firstOpen || !form.standardWindow()) {
            if (form.standardWindow()) form.standardWindow()->close();
            form.menus().standardAnalysis->trigger();
        } else {
            correction = correction == 0 ? 6 : 0;
            form.standardWindow()->correctionChoice().setCurrentIndex(correction);
        }
        ritmova::StandardWindow& view = *form.standardWindow();
        while (view.computing()) QApplication::processEvents(QEventLoop::AllEvents, 1);
        view.repaint();
        if (!view.results()) state.SkipWithError("the analysis failed");
    }
    state.SetLabel(firstOpen ? "opened" : "correction changed");
}
BENCHMARK(BM_StandardAnalysisDay)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    applicationStartMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
