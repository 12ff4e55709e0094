#pragma once

#include "core/platform/lineprinter.h"
#include "core/platform/platformerror.h"

#include <QList>
#include <QStringList>

#include <optional>

namespace ferlin {

// Records the documents printed: where they went, the font and every line as given.
class FakeLinePrinter : public LinePrinter {
public:
    struct Document {
        QString pdfFile; // empty: the default printer
        QString fontFamily;
        double pointSize = 0;
        QStringList lines;
        bool ended = false;
    };

    void setHasDefaultPrinter(bool has) { m_hasDefaultPrinter = has; }
    // The call numbered `line` (from 0) to printLine of every later document fails with a
    // printer error; that line is not recorded.
    void failAtLine(std::optional<int> line) { m_failingLine = line; }

    bool hasDefaultPrinter() const override { return m_hasDefaultPrinter; }
    void beginDocument(const QString &pdfFile) override;
    void setFont(const QString &family, double pointSize) override;
    void printLine(const QString &text) override;
    void endDocument() override;

    const QList<Document> &documents() const { return m_documents; }
    // The lines of the last document.
    QStringList lines() const;

private:
    Document &current();

    QList<Document> m_documents;
    QString m_family;
    double m_pointSize = 0;
    bool m_open = false;
    int m_callsInDocument = 0;
    bool m_hasDefaultPrinter = true;
    std::optional<int> m_failingLine;
};

} // namespace ferlin
