#pragma once

#include <QString>

namespace ferlin {

// What the record card browses: the whole base (mode 1) or a basket (mode 2), its 1-based
// position in that set and the size of the set. Positions and counts are 32-bit.
struct CardState {
    static constexpr int BaseMode = 1;
    static constexpr int BasketMode = 2;

    int mode = BaseMode;
    int position = 1;
    int count = 0;
};

// Which of the four move buttons (first, previous, next, last) are enabled for a position.
struct MoveButtons {
    bool first = false;
    bool previous = false;
    bool next = false;
    bool last = false;
    bool operator==(const MoveButtons &o) const
    {
        return first == o.first && previous == o.previous && next == o.next && last == o.last;
    }
};

// The rank line: a prefix for the mode, then count − position + 1, " / " and count, so that
// the number follows the chronological order of the set.
QString rankLineText(int mode, int position, int count);
// Nothing at 0 or 1 row; first and previous off at the first row; next and last off at the last.
MoveButtons moveButtonsFor(int position, int count);

} // namespace ferlin
