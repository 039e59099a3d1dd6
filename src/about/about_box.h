#pragma once

class QWidget;

namespace ritmova {

// Shows the About box modeless, creating and loading it only if it does not exist yet; a
// second call while it is open shows the same window.
void ShowAboutBox(QWidget* parent);

}  // namespace ritmova
