#pragma once

#include "core/platform/clipboard.h"

namespace ferlin {

// The desktop's clipboard through QClipboard.
class QtClipboard : public Clipboard {
public:
    void setText(const QString &text) override;
    void setTextAs(const QString &text, const QStringList &mimeTypes) override;
    void setHtml(const QString &html, const QString &text) override;
};

} // namespace ferlin
