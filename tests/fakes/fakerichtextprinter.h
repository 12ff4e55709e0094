#pragma once

#include "core/platform/richtextprinter.h"

#include <QStringList>

namespace ferlin {

// Stands for the print dialog and the printer: the test says whether the user prints and
// whether a selection offered stays chosen; the plain text of what was printed is kept.
class FakeRichTextPrinter : public RichTextPrinter {
public:
    void setAccepts(bool accepts) { m_accepts = accepts; }
    void setKeepsSelection(bool keeps) { m_keepsSelection = keeps; }

    bool print(const QTextDocument &document, const QTextDocument *selection) override;

    // The plain text of each document printed.
    const QStringList &printed() const { return m_printed; }
    int dialogsShown() const { return m_dialogs; }
    bool lastOfferedSelection() const { return m_offeredSelection; }

private:
    bool m_accepts = true;
    bool m_keepsSelection = true;
    bool m_offeredSelection = false;
    int m_dialogs = 0;
    QStringList m_printed;
};

} // namespace ferlin
