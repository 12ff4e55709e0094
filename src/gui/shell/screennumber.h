#pragma once

#include <QColor>
#include <QLabel>
#include <QPalette>

namespace ferlin {

// Shows a screen's number ("F 04", in its corner) in grey. Through the palette, not a style
// sheet: the first style sheet of a run costs a millisecond of the start-up to set up.
inline QLabel *greyScreenNumber(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    label->setPalette(palette);
    return label;
}

} // namespace ferlin
