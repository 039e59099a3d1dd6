#pragma once

class QInputDialog;

namespace ritmova {

// Go to beat's entry, a spin box limited to the first beats of whole windows, would drop a
// key that takes the number out of its range (5000 typed becomes 500, -5 becomes 5) and would
// quietly put back the last value for a number it can never take (0). Here such a key and
// such an entry are refused aloud: the dialog's label names the entry and the range, and the
// dialog stays open. Call it once the dialog's integer range is set.
void GuardBeatEntry(QInputDialog& dialog);

}  // namespace ritmova
