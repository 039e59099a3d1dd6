#pragma once

#include <QString>
#include <functional>

#include "common/progress.h"

class QWidget;

namespace ritmova {

// How long a read runs before its progress dialog shows: a short read shows none.
inline constexpr int ProgressDelayMs = 300;

// Runs `read` on a thread of its own while this thread goes on handling events, so that the
// window stays responsive, and returns once it ended. For its first ProgressDelayMs the
// user's input waits; then, when `parent` is on the screen, a modal dialog titled `title`
// shows how far the read came, with Cancel. Rethrows what `read` threw; Cancel (or the
// application quitting) makes it throw Cancelled.
void ReadInBackground(QWidget* parent, const QString& title,
                      const std::function<void(Progress&)>& read);

}  // namespace ritmova
