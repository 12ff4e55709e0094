#pragma once

#include "core/record/cardstate.h"

#include <QString>

namespace ferlin {

class BusyPointer;
class MessageBox;
class RecordSet;

// The go-to panel's request: the option chosen and the four boxes as typed.
struct GoToRequest {
    enum Option { None = -1, Year = 0, Bulletin = 1, Reference = 2 };
    int option = None;
    QString year;      // Text_An
    QString bulletin;  // Text_Volume
    QString page;      // T_NavPage
    QString reference; // Text_NumRef
};

// What "Aller" did, for the panel to show: the boxes' new texts and whether the panel closes.
struct GoToResult {
    bool closePanel = false; // false after a stop or an error: the panel stays open
    bool moved = false;      // a row was found and the card stands on it
    QString year;            // the boxes' texts afterwards
    QString bulletin;
    QString page;
    QString reference;
};

// The bounds of the go-to panel, fixed by the delivered base.
inline constexpr int FirstYear = 1907;
inline constexpr int LastYear = 2001;
inline constexpr int LastReference = 6773;

// Runs "Aller" of the go-to panel on the card's set (the whole base): finds the row, moves the
// set there, updates `state` (position) and `basePosition`, and shows every message through
// `messages`. The caller then rewrites the rank line and the move buttons from `state`.
GoToResult GoTo(const GoToRequest &request, RecordSet &card, CardState &state, int &basePosition,
                MessageBox &messages, BusyPointer &pointer);

} // namespace ferlin
