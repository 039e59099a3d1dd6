// The window's speed targets: shown within 0.5 s of launch, and an Open of a recording,
// drawing included, within 16 ms (one frame). Export image is measured alongside.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWindow>
#include <array>

#include "ui/form1.h"
#include "ui/window_export.h"

namespace {

// Set in main: the time that QApplication took to start, the part of a launch before any
// window exists.
double applicationStartMs = 0;

// Processes events until `form` is shown on the screen.
void waitUntilShown(ritmova::Form1& form) {
    while (!form.windowHandle() || !form.windowHandle()->isExposed()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QApplication::processEvents();
}

// The first window of the process: fonts, style and printer support load here.
void BM_FirstWindowShown(benchmark::State& state) {
    for (auto _ : state) {
        ritmova::Form1 form;
        form.show();
        waitUntilShown(form);
    }
    state.counters["application_start_ms"] = applicationStartMs;
}
BENCHMARK(BM_FirstWindowShown)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_WindowShown(benchmark::State& state) {
    for (auto _ : state) {
        ritmova::Form1 form;
        form.show();
        waitUntilShown(form);
    }
}
BENCHMARK(BM_WindowShown)->Unit(benchmark::kMillisecond);

// Open as the user does it, up to the repainted window.
void BM_OpenRecording(benchmark::State& state) {
    ritmova::Form1 form;
    form.show();
    waitUntilShown(form);
    for (auto _ : state) {
        form.openFile(RITMOVA_EXAMPLE);
        form.repaint();
    }
    if (!form.statusBar()->currentMessage().isEmpty()) state.SkipWithError("the Open failed");
}
BENCHMARK(BM_OpenRecording)->Unit(benchmark::kMillisecond);

// Export image through the shared drawing, in each format, of the window with a recording.
void BM_ExportImage(benchmark::State& state) {
    static const std::array<QString, 3> suffixes{"png", "svg", "pdf"};
    const QString suffix = suffixes.at(static_cast<std::size_t>(state.range(0)));
    ritmova::Form1 form;
    form.show();
    waitUntilShown(form);
    form.openFile(RITMOVA_EXAMPLE);
    QTemporaryDir folder;
    const QString target = folder.filePath("window." + suffix);
    for (auto _ : state) ritmova::ExportWindowImage(*form.centralWidget(), target);
    state.SetLabel(suffix.toStdString());
}
BENCHMARK(BM_ExportImage)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

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
