#pragma once

#include "core/platform/richtextprinter.h"

#include <QPointer>
#include <QWidget>

class QPrinter;

namespace ferlin {

// The print dialog (QPrintDialog) and QTextDocument::print.
class QtRichTextPrinter : public RichTextPrinter {
public:
    explicit QtRichTextPrinter(QWidget *parent = nullptr) : m_parent(parent) {}

    void setParentWidget(QWidget *parent) { m_parent = parent; }

    bool print(const QTextDocument &document, const QTextDocument *selection) override;

    // Prints on a printer already set up: the selection when the printer's range is the
    // selection and there is one, otherwise the whole document.
    static void printOn(QPrinter &printer, const QTextDocument &document,
                        const QTextDocument *selection);

private:
    QPointer<QWidget> m_parent;
};

} // namespace ferlin
