#pragma once

#include <functional>

class QAbstractItemView;

namespace ferlin {

// Calls `choose` with the row the user chooses in a list or grid: the row clicked, or the
// highlighted row when Enter, Return or Space is pressed in it, so that every choice made with
// the mouse can be made from the keyboard too.
void onRowChosen(QAbstractItemView *view, std::function<void(int row)> choose);

} // namespace ferlin
