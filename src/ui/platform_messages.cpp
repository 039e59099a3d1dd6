#include "ui/platform_messages.h"

#include <QtGlobal>

namespace ritmova {
namespace {

QtMessageHandler previousHandler = nullptr;

void filteredMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (IsPlatformNoise(message)) return;
    if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

bool IsPlatformNoise(const QString& message) {
    return message == "This plugin does not support propagateSizeHints()" ||
           message.startsWith("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to ");
}

void SilencePlatformNoise() {
    static const bool installed = [] {
        previousHandler = qInstallMessageHandler(filteredMessage);
        return true;
    }();
    (void)installed;
}

}  // namespace ritmova
