// A read off the GUI thread: a worker thread reads while the GUI thread runs an event loop
// until it ended, showing a progress dialog with Cancel when the read takes a while.
#include "ui/background_read.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <exception>
#include <optional>
#include <thread>

namespace ritmova {
namespace {

constexpr int ProgressSteps = 1000;
constexpr int ProgressUpdateMs = 50;

// A modal dialog: what is being read, a bar following the progress, and Cancel (Escape and
// closing the dialog cancel too).
class ProgressWindow final : public QDialog {
  public:
    ProgressWindow(QWidget* parent, const QString& title, Progress& progress)
        : QDialog(parent), progress_(progress) {
        setWindowTitle("Ritmova");
        setModal(true);
        auto* layout = new QVBoxLayout(this);
        auto* label = new QLabel(title, this);
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label);
        bar_ = new QProgressBar(this);
        bar_->setRange(0, ProgressSteps);
        bar_->setMinimumWidth(320);
        layout->addWidget(bar_);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(this, &QDialog::rejected, this, [this] { progress_.cancel(); });
        connect(&timer_, &QTimer::timeout, this, [this] {
            bar_->setValue(static_cast<int>(std::lround(progress_.fraction() * ProgressSteps)));
        });
        timer_.start(ProgressUpdateMs);
    }

  private:
    Progress& progress_;
    QProgressBar* bar_ = nullptr;
    QTimer timer_;
};

}  // namespace

void ReadInBackground(QWidget* parent, const QString& title,
                      const std::function<void(Progress&)>& read) {
    Progress progress;
    std::exception_ptr thrown;
    QEventLoop loop;
    bool ended = false;    // set on this thread by the worker's last event
    bool delayed = false;  // the read outlasted ProgressDelayMs
    std::thread worker([&] {
        try {
            read(progress);
        } catch (...) {
            thrown = std::current_exception();
        }
        QMetaObject::invokeMethod(
            &loop,
            [&] {
                ended = true;
                loop.quit();
            },
            Qt::QueuedConnection);
    });
    QTimer::singleShot(ProgressDelayMs, &loop, [&] {
        delayed = true;
        loop.quit();
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    std::optional<ProgressWindow> window;
    if (!ended && delayed) {
        if (parent && parent->isVisible()) window.emplace(parent, title, progress).show();
        loop.exec(window ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    // Otherwise the application is quitting: the read stops at its next block.
    if (!ended) progress.cancel();
    worker.join();
    if (!ended) throw Cancelled();
    if (thrown) std::rethrow_exception(thrown);
}

}  // namespace ritmova
