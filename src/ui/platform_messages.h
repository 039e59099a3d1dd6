#pragma once

#include <QString>

namespace ritmova {

// Whether a message of the toolkit's tells of nothing wrong: the offscreen plugin, on which an
// export runs, says "This plugin does not support propagateSizeHints()" whenever a window's
// size limits are set, and a session without XDG_RUNTIME_DIR (a console login, a container)
// gets a runtime folder of Qt's choosing, which an export does not use.
bool IsPlatformNoise(const QString& message);

// Keeps such messages off standard error; every other message goes where it went before.
void SilencePlatformNoise();

}  // namespace ritmova
