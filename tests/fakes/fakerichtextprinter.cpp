#include "fakes/fakerichtextprinter.h"

#include <QTextDocument>

namespace ferlin {

bool FakeRichTextPrinter::print(const QTextDocument &document, const QTextDocument *selection)
{
    ++m_dialogs;
    m_offeredSelection = selection != nullptr;
    if (!m_accepts)
        return false;
    const QTextDocument &chosen = selection && m_keepsSelection ? *selection : document;
    m_printed.append(chosen.toPlainText());
    return true;
}

} // namespace ferlin
