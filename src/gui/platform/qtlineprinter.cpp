#include "gui/platform/qtlineprinter.h"

#include "core/platform/platformerror.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <utility>

namespace ferlin {

namespace {

PlatformError printerError(const QString &description)
{
    return PlatformError(PlatformErrorCode::PrinterError, description);
}

} // namespace

QString printerFontFamily(const QString &requested, const QStringList &installedFamilies)
{
    const auto installed = [&](const QString &family) {
        return installedFamilies.contains(family, Qt::CaseInsensitive);
    };
    if (installed(requested))
        return requested;
    static const std::pair<const char *, const char *> twins[] = {
        {"Times New Roman", "Liberation Serif"},
        {"Arial", "Liberation Sans"},
        {"Courier New", "Liberation Mono"},
    };
    for (const auto &[family, twin] : twins) {
        if (requested.compare(QLatin1String(family), Qt::CaseInsensitive) == 0 &&
            installed(QLatin1String(twin)))
            return QLatin1String(twin);
    }
    return requested;
}

QtLinePrinter::QtLinePrinter() = default;

QtLinePrinter::~QtLinePrinter()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

bool QtLinePrinter::hasDefaultPrinter() const
{
    return !QPrinterInfo::defaultPrinter().isNull();
}

void QtLinePrinter::beginDocument(const QString &pdfFile)
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    if (pdfFile.isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            throw printerError(QStringLiteral("Aucune imprimante par défaut n'est installée"));
        m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(pdfFile);
        // A PDF is printed later on some printer: margins that any printer can print.
        m_printer->setPageMargins(QMarginsF(PdfMargin, PdfMargin, PdfMargin, PdfMargin),
                                  QPageLayout::Millimeter);
    }
    m_printer->setDocName(QStringLiteral("Ferlin 4"));
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_painter.reset();
        m_printer.reset();
        throw printerError(QStringLiteral("L'impression n'a pas pu commencer"));
    }
    m_y = 0;
    m_pages = 1;
    applyFont();
}

void QtLinePrinter::setFont(const QString &family, double pointSize)
{
    m_family = family;
    m_pointSize = pointSize;
    if (m_painter && m_painter->isActive())
        applyFont();
}

void QtLinePrinter::applyFont()
{
    QFont font(printerFontFamily(m_family, QFontDatabase::families()));
    font.setPointSizeF(m_pointSize);
    m_painter->setFont(QFont(font, m_printer.get()));
}

void QtLinePrinter::printLine(const QString &text)
{
    if (!m_painter || !m_painter->isActive())
        throw printerError(QStringLiteral("Aucun document n'est en cours d'impression"));
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    const QStringList lines = plain.split(QLatin1Char('\n'));
    for (const QString &line : lines)
        printOneLine(line);
}

void QtLinePrinter::printOneLine(const QString &text)
{
    // A line wider than the page goes on over the next lines instead of being cut at the
    // paper's edge: broken after the last blank that fits, or anywhere in an endless word.
    const QFontMetricsF metrics(m_painter->font(), m_printer.get());
    const qreal width = m_painter->viewport().width();
    QString rest = text;
    while (metrics.horizontalAdvance(rest) > width && rest.size() > 1) {
        qsizetype fits = 1, tooLong = rest.size(); // the longest start that fits, by halves
        while (tooLong - fits > 1) {
            const qsizetype middle = (fits + tooLong) / 2;
            (metrics.horizontalAdvance(rest.left(middle)) <= width ? fits : tooLong) = middle;
        }
        const qsizetype blank = rest.left(fits + 1).lastIndexOf(u' ');
        const qsizetype cut = blank > 0 ? blank + 1 : fits;
        printFittingLine(rest.left(cut));
        rest = rest.mid(cut);
    }
    printFittingLine(rest);
}

void QtLinePrinter::printFittingLine(const QString &text)
{
    const QFontMetricsF metrics(m_painter->font(), m_printer.get());
    const qreal height = metrics.lineSpacing();
    const QRect page = m_painter->viewport();
    if (m_y > 0 && m_y + height > page.height()) {
        if (!m_printer->newPage())
            throw printerError(QStringLiteral("L'imprimante n'a pas pu changer de page"));
        m_y = 0;
        ++m_pages;
    }
    m_painter->drawText(QRectF(0, m_y, page.width(), height),
                        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs,
                        text);
    m_y += height;
    if (m_printer->printerState() == QPrinter::Error)
        throw printerError(PlatformError::standardDescription(PlatformErrorCode::PrinterError));
}

void QtLinePrinter::endDocument()
{
    if (!m_painter)
        return;
    const bool ended = m_painter->end();
    const bool failed = !ended || m_printer->printerState() == QPrinter::Error;
    m_painter.reset();
    m_printer.reset();
    if (failed)
        throw printerError(PlatformError::standardDescription(PlatformErrorCode::PrinterError));
}

} // namespace ferlin
