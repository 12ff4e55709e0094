#pragma once

#include <QIcon>

namespace ferlin {

enum class MoveIcon { First, Previous, Next, Last, Clipboard };

// The pictures of the record card's move and clipboard buttons, drawn with plain shapes.
QIcon moveIcon(MoveIcon which);

} // namespace ferlin
