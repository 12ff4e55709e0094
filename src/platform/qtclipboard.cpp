#include "platform/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ferlin {

void QtClipboard::setText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

} // namespace ferlin
