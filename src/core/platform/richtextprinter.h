#pragma once

class QTextDocument;

namespace ferlin {

// Prints formatted text (the archive window) on a printer the user chooses in the print
// dialog. The dialog offers no page range; when a selection is given it offers "selection"
// and starts with it chosen.
class RichTextPrinter {
public:
    virtual ~RichTextPrinter() = default;

    // Prints the selection when the user keeps that choice, the whole document otherwise.
    // False when the user cancels the dialog. Throws PlatformError 482 when printing fails.
    virtual bool print(const QTextDocument &document, const QTextDocument *selection) = 0;
};

} // namespace ferlin
