#pragma once

#include <QIcon>

namespace ferlin {

enum class MoveIcon { First, Previous, Next, Last, Clipboard, Empty, Transfer };

// The pictures of the screens' small picture buttons (moves, clipboard, emptying, transfer),
// drawn with plain shapes.
QIcon moveIcon(MoveIcon which);

} // namespace ferlin
