#pragma once

#include "core/platform/lineprinter.h"

#include <QFont>
#include <QStringList>

#include <memory>

class QPainter;
class QPrinter;

namespace ferlin {

// The family actually used for a requested font: itself when installed, otherwise its metric
// twin when that is installed ("Times New Roman" -> "Liberation Serif", "Arial" ->
// "Liberation Sans", "Courier New" -> "Liberation Mono"), otherwise the requested name (the
// font system then picks the nearest).
QString printerFontFamily(const QString &requested, const QStringList &installedFamilies);

// The line printer on QPrinter: the default printer (CUPS) or a PDF file.
class QtLinePrinter : public LinePrinter {
public:
    QtLinePrinter();
    ~QtLinePrinter() override;
    QtLinePrinter(const QtLinePrinter &) = delete;
    QtLinePrinter &operator=(const QtLinePrinter &) = delete;

    bool hasDefaultPrinter() const override;
    void beginDocument(const QString &pdfFile) override;
    void setFont(const QString &family, double pointSize) override;
    void printLine(const QString &text) override;
    void endDocument() override;

    // The margins of a PDF, in millimetres.
    static constexpr double PdfMargin = 10;

    // Pages of the current or last document.
    int pageCount() const { return m_pages; }

private:
    void applyFont();
    void printOneLine(const QString &text);
    void printFittingLine(const QString &text);

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    QString m_family = QStringLiteral("Times New Roman");
    double m_pointSize = 9;
    qreal m_y = 0;
    int m_pages = 0;
};

} // namespace ferlin
