#include "gui/platform/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace ferlin {

void QtClipboard::setText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void QtClipboard::setTextAs(const QString &text, const QStringList &mimeTypes)
{
    auto *data = new QMimeData;
    for (const QString &type : mimeTypes) {
        if (type == PlainTextMimeType)
            data->setText(text);
        else
            data->setData(type, text.toUtf8());
    }
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setMimeData(data); // the clipboard owns it
}

void QtClipboard::setHtml(const QString &html, const QString &text)
{
    auto *data = new QMimeData;
    data->setHtml(html);
    data->setText(text);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setMimeData(data); // the clipboard owns it
}

} // namespace ferlin
