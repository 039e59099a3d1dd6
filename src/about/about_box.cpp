#include "about/about_box.h"

namespace ritmova {

void ShowAboutBox(QWidget*) {}

}  // namespace ritmova
