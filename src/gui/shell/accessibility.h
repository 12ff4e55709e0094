#pragma once

class QWidget;

namespace ferlin {

// Gives every control under `root` an accessible name: a control that shows a caption (a
// label, a button, a frame's title) is named by that caption as it changes; a picture button or
// a picture is named by its tool tip. Screen readers and tests driving the program from outside
// rely on it.
void nameControlsForAccessibility(QWidget *root);

} // namespace ferlin
