#pragma once

class QWidget;

namespace ferlin {

// Gives every control under `root` an accessible name: its caption, or its tool tip for a
// picture button, so that screen readers and tests driving the program from outside find it.
// Call again after captions change.
void nameControlsForAccessibility(QWidget *root);

} // namespace ferlin
