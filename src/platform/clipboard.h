#pragma once

#include <QString>

namespace ferlin {

// The system clipboard, plain text only.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Empties the clipboard, then puts the text on it.
    virtual void setText(const QString &text) = 0;
};

} // namespace ferlin
