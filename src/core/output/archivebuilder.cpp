#include "core/output/archivebuilder.h"

#include "core/db/dberror.h"
#include "core/db/fieldpresentation.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"
#include "core/platform/busypointer.h"
#include "core/platform/messagebox.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <iterator>

namespace ferlin {

namespace {

const QString ThreeBlanks = QStringLiteral("   ");

// The fields an archive writes, and their names in the references' table.
enum Column {
    Title,
    Subtitle,
    Author,
    Number,
    Month,
    Year,
    Volume,
    Page,
    PageCount,
    Domain,
    PointOfView,
    Level,
    Keywords,
    Summary,
    ColumnCount
};
const char16_t *const ColumnNames[ColumnCount] = {
    u"Titre", u"Soustitre",   u"Auteur",  u"Numéro",     u"Mois",    u"An",       u"Volume",
    u"Page",  u"NombrePages", u"Domaine", u"PointdeVue", u"Niveaux", u"MotsCles", u"Resume"};

// Appends pieces at the end of a document. Text of one format is gathered and written in one
// go when the format changes, so that the document grows by long runs; no carriage return
// reaches the document. A line break starts a new paragraph, except within a reference of many
// lines: there it is a line break inside the reference's paragraph, which its last line break
// ends. A paragraph costs the document far more than a line (an archive of the whole base holds
// over a million lines), and the text, shown, printed or written, is the same.
class ArchiveWriter {
public:
    explicit ArchiveWriter(QTextDocument &document) : m_cursor(&document)
    {
        m_cursor.movePosition(QTextCursor::End);
        m_format.setFontWeight(QFont::Normal);
        m_format.setFontItalic(false);
        // One edit: the document is told of the change, and laid out, once at the end, not
        // after each run of text.
        m_cursor.beginEditBlock();
    }
    ~ArchiveWriter()
    {
        flush();
        m_cursor.endEditBlock();
    }

    void text(const QString &piece)
    {
        const auto lineEnd = [](QChar c) { return c == u'\r' || c == u'\n'; };
        if (std::none_of(piece.begin(), piece.end(), lineEnd)) {
            m_pending += piece; // the usual piece: no line end to turn
            return;
        }
        bool afterCr = false;
        for (const QChar c : piece) {
            if (!(c == u'\n' && afterCr)) // the line feed of a CRLF is already written
                m_pending += c == u'\r' || c == u'\n' ? m_break : c;
            afterCr = c == u'\r';
        }
    }
    void newLine() { m_pending += m_break; }

    void beginReference() { m_break = QChar::LineSeparator; }
    void endReference()
    {
        m_break = u'\n';
        if (m_pending.endsWith(QChar::LineSeparator))
            m_pending.back() = u'\n';
    }

    void setBold(bool on)
    {
        flush();
        m_format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    }
    void setItalic(bool on)
    {
        flush();
        m_format.setFontItalic(on);
    }
    // Tab stops for the paragraph being written and those that follow, in twips.
    void setTabStops(const QList<int> &twips)
    {
        flush();
        QList<QTextOption::Tab> tabs;
        for (int position : twips)
            tabs.append(QTextOption::Tab(position / 20.0, QTextOption::LeftTab));
        QTextBlockFormat block = m_cursor.blockFormat();
        block.setTabPositions(tabs);
        m_cursor.setBlockFormat(block);
    }

    void flush()
    {
        if (m_pending.isEmpty())
            return;
        // insertText turns each line feed into a new paragraph with the current block's format.
        m_cursor.insertText(m_pending, m_format);
        m_pending.resize(0); // keeps its room for the next run
    }

private:
    QTextCursor m_cursor;
    QTextCharFormat m_format;
    QString m_pending;
    QChar m_break = u'\n';
};

// The body of one archive over the rows of a basket.
class ArchiveBody {
public:
    ArchiveBody(ArchiveWriter &out, const ArchiveInput &input, RecordSet &rows)
        : m_out(out), m_input(input), m_rows(rows)
    {
        // Only the fields written, and those the table has, are read; each is found in the row
        // once, not at each field of each row.
        for (int c = 0; c < ColumnCount; ++c) {
            const QString name = QString::fromUtf16(ColumnNames[c]);
            m_columns[c] = rows.fieldIndex(name) < 0 ? -1 : int(m_read.size());
            if (m_columns[c] >= 0)
                m_read << name;
        }
    }

    void heading()
    {
        m_out.text(m_input.versionTitle);
        m_out.text(PrintCreditLine);
        m_out.text(m_input.builtAt.toString(QStringLiteral("dd/MM/yy hh:mm")));
        m_out.newLine();
        m_out.setItalic(true);
        m_out.newLine();
        if (m_input.count > 1)
            m_out.text(QStringLiteral("Liste de ") + u' ' + QString::number(m_input.count) +
                       QStringLiteral(" références."));
        else
            m_out.text(QStringLiteral("Une référence."));
        m_out.newLine();
        m_out.setItalic(false);
    }

    void body()
    {
        switch (m_input.type) {
        case ArchiveType::Full:
            forEachRow([this](int k) { fullReference(k); });
            break;
        case ArchiveType::Bibliography:
            m_out.newLine();
            forEachRow([this](int k) { citation(k); });
            break;
        case ArchiveType::TitleList:
            titleListHeading();
            // One line a row: each is a paragraph of its own.
            forEachRow([this](int) { titleLine(); }, false);
            break;
        case ArchiveType::Custom:
            if (m_input.fields.has(PrintField::Criteria))
                criteriaBlock();
            forEachRow([this](int k) { customReference(k); });
            break;
        }
    }

private:
    template <typename Write> void forEachRow(Write write, bool manyLines = true)
    {
        int counter = 1;
        try {
            m_rows.forEachRowTexts(m_read, [&](const QStringList &row) {
                m_row = &row;
                if (manyLines)
                    m_out.beginReference();
                write(counter);
                if (manyLines)
                    m_out.endReference();
                ++counter;
            });
        } catch (const DbError &) {
            // The rows that could be read are written; the build ends there.
        }
        m_row = nullptr;
    }

    // A field of the row being written as text; a field the table lacks gives nothing.
    QString fieldText(Column column) const
    {
        const int index = m_columns[column];
        return m_row && index >= 0 ? m_row->at(index) : QString();
    }
    void field(Column column) { m_out.text(fieldText(column)); }
    void counter(int k, const QString &after)
    {
        m_out.text(QStringLiteral("[") + QString::number(k) + QStringLiteral("]") + after);
    }

    // Step 4 of the full archive, shared with the custom one.
    void authors()
    {
        const QString authors = fieldText(Author);
        m_out.text(QStringLiteral("Auteur(s) : "));
        if (!authors.isEmpty())
            m_out.text(JoinListField(authors));
        m_out.newLine();
    }

    // The list fields, each on its own line when not empty (and, for type 4, ticked).
    void listFields(bool checkTicks)
    {
        struct ListField {
            PrintField tick;
            Column column;
            QString label;
        };
        static const ListField lists[] = {
            {PrintField::Domain, Domain, QStringLiteral("Domaine(s) : ")},
            {PrintField::PointOfView, PointOfView, QStringLiteral("Point(s) de vue : ")},
            {PrintField::Level, Level, QStringLiteral("Niveau : ")},
            {PrintField::Keywords, Keywords, QStringLiteral("Clés : ")},
        };
        for (const ListField &list : lists) {
            if (checkTicks && !m_input.fields.has(list.tick))
                continue;
            const QString value = fieldText(list.column);
            if (value.isEmpty())
                continue;
            m_out.newLine();
            m_out.text(list.label);
            m_out.text(JoinListField(value));
        }
    }

    void fullReference(int k)
    {
        counter(k, QString());
        m_out.newLine();
        m_out.setBold(true);
        m_out.text(QStringLiteral("Titre : "));
        field(Title);
        m_out.newLine();
        m_out.setBold(false);
        const QString subtitle = fieldText(Subtitle);
        if (!subtitle.isEmpty()) {
            m_out.text(QStringLiteral("Sous-titre : ") + subtitle);
            m_out.newLine();
        }
        authors();
        m_out.text(QStringLiteral("N° "));
        field(Number);
        m_out.text(ThreeBlanks);
        field(Month);
        m_out.text(ThreeBlanks);
        field(Year);
        m_out.text(QStringLiteral(", Vol. "));
        field(Volume);
        m_out.text(QStringLiteral(", p. "));
        field(Page);
        m_out.text(ThreeBlanks + QStringLiteral("Nombre de pages : "));
        field(PageCount);
        listFields(false);
        m_out.newLine();
        m_out.text(QStringLiteral("Résumé : "));
        field(Summary);
        m_out.newLine();
    }

    void citation(int k)
    {
        counter(k, QStringLiteral(" "));
        const QString authors = fieldText(Author);
        if (!authors.isEmpty())
            m_out.text(JoinListField(authors) + QStringLiteral(", "));
        field(Title);
        m_out.setItalic(true);
        m_out.text(QStringLiteral(". Kavetol"));
        m_out.setItalic(false);
        m_out.text(QStringLiteral(", "));
        field(Month);
        m_out.text(QStringLiteral(" "));
        field(Year);
        m_out.text(QStringLiteral(", Vol. "));
        field(Volume);
        m_out.text(QStringLiteral(", n° "));
        field(Number);
        m_out.text(QStringLiteral(", p. "));
        field(Page);
        m_out.newLine();
        m_out.newLine();
    }

    void titleListHeading()
    {
        m_out.setTabStops(
            {std::begin(ArchiveTitleListTabStops), std::end(ArchiveTitleListTabStops)});
        m_out.setItalic(true);
        m_out.newLine();
        m_out.text(QStringLiteral("Année\tMois\tNuméro\tTitre de l'article"));
        m_out.setItalic(false);
    }

    void titleLine()
    {
        m_out.newLine();
        field(Year);
        m_out.text(QStringLiteral("\t"));
        m_out.text(BasketMonthCode(fieldText(Month)));
        m_out.text(QStringLiteral("\t"));
        m_out.text(fieldText(Number).trimmed());
        m_out.text(QStringLiteral("\t"));
        field(Title);
    }

    void criteriaBlock()
    {
        const SelectionCriteria &c = m_input.criteria;
        const KeywordCaptions &k = m_input.keywordCaptions;
        m_out.setItalic(true);
        m_out.newLine();
        m_out.text(QStringLiteral("Critères de sélection :"));
        m_out.newLine();
        auto line = [this](const QString &text) {
            m_out.text(text);
            m_out.newLine();
        };
        if (c.keywords)
            line(QStringLiteral("Mots clés : ") + k.first + QStringLiteral("     ET ") +
                 JoinListField(k.et) + QStringLiteral("     OU ") + JoinListField(k.ou) +
                 QStringLiteral("     SAUF ") + JoinListField(k.sauf));
        if (c.years)
            line(QStringLiteral("Année(s) : > ") + c.yearFrom.trimmed() + QStringLiteral(" et < ") +
                 c.yearTo.trimmed());
        if (c.bulletin)
            line(QStringLiteral("Numéro : ") + c.bulletinNumber);
        if (c.level)
            line(QStringLiteral("Niveau : ") + c.levelText);
        if (c.pointOfView)
            line(QStringLiteral("Point de vue : ") + c.pointOfViewText);
        if (c.author)
            line(QStringLiteral("Auteur : ") + c.authorText);
        if (c.domain)
            line(QStringLiteral("Domaine : ") + c.domainText);
        if (c.freeText)
            line(QStringLiteral("Texte libre : ") + c.freeTextValue);
        m_out.setItalic(false);
        m_out.text(QString(21, u'_'));
        m_out.newLine();
        m_out.newLine();
    }

    void customReference(int k)
    {
        const PrintFieldSet &f = m_input.fields;
        m_out.setBold(true);
        if (f.has(PrintField::Numbering))
            counter(k, QStringLiteral(" "));
        else
            m_out.text(QStringLiteral("Titre : "));
        if (f.has(PrintField::Title)) {
            field(Title);
            m_out.newLine();
        }
        m_out.setBold(false);
        if (f.has(PrintField::Subtitle)) {
            const QString subtitle = fieldText(Subtitle);
            if (!subtitle.isEmpty()) {
                m_out.text(QStringLiteral("Sous-titre : ") + subtitle);
                m_out.newLine();
            }
        }
        if (f.has(PrintField::Author))
            authors();
        if (f.has(PrintField::Bulletin)) {
            m_out.text(QStringLiteral("N° : "));
            field(Number);
            m_out.text(ThreeBlanks);
        }
        if (f.has(PrintField::Month)) {
            field(Month);
            m_out.text(ThreeBlanks);
        }
        if (f.has(PrintField::Year)) {
            field(Year);
            m_out.text(QStringLiteral(", "));
        }
        if (f.has(PrintField::Volume)) {
            m_out.text(QStringLiteral("Vol. "));
            field(Volume);
            m_out.text(QStringLiteral(", "));
        }
        if (f.has(PrintField::Page)) {
            m_out.text(QStringLiteral("p. "));
            field(Page);
            m_out.text(ThreeBlanks);
        }
        if (f.has(PrintField::PageCount)) {
            m_out.text(QStringLiteral("Nombre de pages : "));
            field(PageCount);
        }
        listFields(true);
        if (f.has(PrintField::Summary)) {
            m_out.newLine();
            m_out.text(QStringLiteral("Résumé : "));
            field(Summary);
        }
        m_out.newLine();
        m_out.newLine();
    }

    ArchiveWriter &m_out;
    const ArchiveInput &m_input;
    RecordSet &m_rows;
    QStringList m_read;                 // the fields read, those of ColumnNames the table has
    int m_columns[ColumnCount];         // where each is in a row read; -1: the table lacks it
    const QStringList *m_row = nullptr; // the row being written
};

} // namespace

QString EmptyBasketArchiveMessage(int basket)
{
    return QStringLiteral("Le panier ") + QString::number(basket) +
           QStringLiteral(" est actuellement vide");
}

void BuildArchive(QTextDocument &document, const ArchiveInput &input, RecordSet &rows,
                  MessageBox &messages, BusyPointer &pointer)
{
    document.clear();
    if (input.count == 0) {
        messages.show(MessageIcon::Critical, MessageButtons::Ok,
                      EmptyBasketArchiveMessage(input.basket), defaultMessageTitle());
        return;
    }
    BusyPointerGuard busy(pointer);
    // The build is one edit: no undo step per piece.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    {
        // The rows read under one lock, not one each.
        ReadTransaction reading(rows.database());
        ArchiveWriter out(document);
        ArchiveBody archive(out, input, rows);
        archive.heading();
        archive.body();
    }
    document.setUndoRedoEnabled(undo);
}

void BuildArchive(QTextDocument &document, const ArchiveInput &input, Database &db,
                  MessageBox &messages, BusyPointer &pointer)
{
    RecordSet rows(db, Schema::basketTable(input.basket));
    BuildArchive(document, input, rows, messages, pointer);
}

} // namespace ferlin
