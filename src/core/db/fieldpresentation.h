#pragma once

#include <QString>

namespace ferlin {

// A list-valued field (one value per line) on one line: each line break becomes " ; ".
// A stored carriage return + line feed counts as one break, so no stray carriage return is left.
QString JoinListField(const QString &text);

// The month code of a month text ("janvier-février" gives "01-02"); exact match only, an empty
// code for any other text.
QString BasketMonthCode(const QString &month);

// Whether the text holds a run of characters without a blank longer than any word (`longest`).
// Text views lay such a run out at word boundaries in a time that grows with its square, so they
// show it unwrapped or wrapped anywhere.
bool HasUnbrokenRun(const QString &text, int longest = 200);

} // namespace ferlin
