#include "gui/platform/qtrichtextprinter.h"

#include "core/platform/platformerror.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace ferlin {

bool QtRichTextPrinter::print(const QTextDocument &document, const QTextDocument *selection)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, m_parent ? m_parent.data() : QApplication::activeWindow());
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile |
                                                       QAbstractPrintDialog::PrintShowPageSize |
                                                       QAbstractPrintDialog::PrintCollateCopies;
    if (selection) {
        options |= QAbstractPrintDialog::PrintSelection;
        printer.setPrintRange(QPrinter::Selection);
    }
    dialog.setOptions(options);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printOn(printer, document, selection);
    return true;
}

void QtRichTextPrinter::printOn(QPrinter &printer, const QTextDocument &document,
                                const QTextDocument *selection)
{
    const bool onlySelection = selection && printer.printRange() == QPrinter::Selection;
    (onlySelection ? *selection : document).print(&printer);
    if (printer.printerState() == QPrinter::Error)
        throw PlatformError(PlatformErrorCode::PrinterError);
}

} // namespace ferlin
