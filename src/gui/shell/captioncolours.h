#pragma once

#include <QColor>
#include <QWidget>

namespace ferlin {

// The caption colours of the screens' choices: a box, option or label that is on is drawn in
// pure blue, one that is off in mid grey.
inline const QColor CaptionOn(0x00, 0x00, 0xFF);
inline const QColor CaptionOff(0x80, 0x80, 0x80);

inline void paintCaption(QWidget *w, const QColor &colour)
{
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    w->setPalette(palette);
}

} // namespace ferlin
