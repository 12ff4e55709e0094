#include "core/output/basketprint.h"

#include "core/baskets/basketstore.h"
#include "core/db/dberror.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"
#include "core/platform/lineprinter.h"
#include "core/platform/platformerror.h"

namespace ferlin {

namespace {

constexpr qsizetype Width = PrintLineWidth;
// References in a row that may fail before the print gives up.
constexpr int MaxFailuresInARow = 3;

bool isBreakCharacter(QChar c)
{
    for (char16_t b : PrintBreakCharacters) {
        if (b != 0 && c == QChar(b))
            return true;
    }
    return false;
}

// A number written with one leading space in place of a plus sign (" 1985", "-3").
QString signedNumber(qlonglong n)
{
    return n < 0 ? QString::number(n) : QStringLiteral(" ") + QString::number(n);
}

// A numeric field of the current row; an empty field counts as 0.
qlonglong numberField(const RecordSet &set, const QString &field)
{
    const QVariant v = set.value(field);
    if (v.isNull())
        return 0;
    const QString text = v.toString().trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const double n = text.toDouble(&ok);
    if (!ok)
        throw DbError(DbErrorCode::TypeMismatch, QStringLiteral("Type incompatible"));
    return qlonglong(n);
}

void sendAll(const QStringList &lines, const PrintLineSink &sink)
{
    for (const QString &line : lines)
        sink(line);
}

const QString ThreeSpaces = QStringLiteral("   ");

} // namespace

// ---------------------------------------------------------------------------------------------

QStringList WrapForPrint(const QString &text)
{
    QStringList lines;
    qsizetype i = 0; // 0-based start of the next piece
    while (i < text.size()) {
        QString piece = text.mid(i, Width);
        qsizetype next = i + Width;
        const qsizetype lineFeed = piece.indexOf(QChar(u'\n'));
        if (lineFeed >= 0) {
            // The line feed ends the line; a carriage return just before it goes with it.
            next = i + lineFeed + 1;
            qsizetype kept = lineFeed;
            if (kept > 0 && piece.at(kept - 1) == QChar(u'\r'))
                --kept;
            piece.truncate(kept);
        } else if (piece.size() == Width) {
            qsizetype end = piece.size();
            while (end > 0 && !isBreakCharacter(piece.at(end - 1)))
                --end;
            // With no break character at all the piece is cut at full width.
            if (end > 0) {
                next = i + end;
                piece.truncate(end);
            }
        }
        lines.append(piece);
        i = next;
    }
    return lines;
}

QStringList OneLineForPrint(const QString &text)
{
    // Longer than a line, it would be cut at the paper's edge: wrapped like the long fields.
    return text.size() <= Width ? QStringList{text} : WrapForPrint(text);
}

QStringList WrapFlatForPrint(const QString &text)
{
    QString flat = text;
    flat.replace(QChar(u'\n'), QChar(u'/'));
    return WrapForPrint(flat);
}

// ---------------------------------------------------------------------------------------------

const PrintFieldInfo &printFieldInfo(PrintField field)
{
    static const std::array<PrintFieldInfo, PrintFieldCount> table{{
        {QStringLiteral("Check_titre"), QStringLiteral("Titre"), QStringLiteral("Titre"),
         QStringLiteral("Prn_Titre")},
        {QStringLiteral("Check_Soustitre"), QStringLiteral("Sous-titre"),
         QStringLiteral("Soustitre"), QStringLiteral("Prn_Soustitre")},
        {QStringLiteral("Check_auteur"), QStringLiteral("Auteur(s)"), QStringLiteral("Auteur"),
         QStringLiteral("Prn_Auteur")},
        {QStringLiteral("Check_numéro"), QStringLiteral("Numéro"), QStringLiteral("Numéro"),
         QStringLiteral("Prn_Numero")},
        {QStringLiteral("Check_volume"), QStringLiteral("Volume"), QStringLiteral("Volume"),
         QStringLiteral("Prn_Volume")},
        {QStringLiteral("Check_An"), QStringLiteral("Année"), QStringLiteral("An"),
         QStringLiteral("Prn_An")},
        {QStringLiteral("Check_Mois"), QStringLiteral("Mois"), QStringLiteral("Mois"),
         QStringLiteral("Prn_Mois")},
        {QStringLiteral("Check_Page"), QStringLiteral("Page"), QStringLiteral("Page"),
         QStringLiteral("Prn_Page")},
        {QStringLiteral("Check_NbPages"), QStringLiteral("Nombres de pages"),
         QStringLiteral("NombrePages"), QStringLiteral("Prn_NbPages")},
        {QStringLiteral("Check_domaine"), QStringLiteral("Domaine(s)"), QStringLiteral("Domaine"),
         QStringLiteral("Prn_Domaine")},
        {QStringLiteral("Check_PtVue"), QStringLiteral("Point(s) de vue"),
         QStringLiteral("PointdeVue"), QStringLiteral("Prn_PtVue")},
        {QStringLiteral("Check_niveau"), QStringLiteral("Niveau(x)"), QStringLiteral("Niveaux"),
         QStringLiteral("Prn_Niveau")},
        {QStringLiteral("Check_MotsCles"), QStringLiteral("Mots clés"), QStringLiteral("MotsCles"),
         QStringLiteral("Prn_MotsCles")},
        {QStringLiteral("Check_Resume"), QStringLiteral("Résumé"), QStringLiteral("Resume"),
         QStringLiteral("Prn_Resume")},
        {QStringLiteral("Check_criteres"), QStringLiteral("Critères de sélection"), QString(),
         QStringLiteral("Prn_Criteres")},
        {QStringLiteral("Check_Num"), QString(), QString(), QStringLiteral("Prn_Numerotation")},
    }};
    return table.at(size_t(field));
}

void PrintFieldSet::setAllFields(bool on)
{
    for (int f = 0; f < PrintDataFieldCount; ++f)
        flags[size_t(f)] = on;
}

QString ToggleAllCaption(bool tickAllToggle)
{
    return tickAllToggle ? QStringLiteral("Décocher tous les champs")
                         : QStringLiteral("Cocher tous les champs");
}

QString ToggleAllPrintFields(PrintFieldSet &fields, bool &tickAllToggle)
{
    fields.setAllFields(!tickAllToggle);
    tickAllToggle = !tickAllToggle;
    return ToggleAllCaption(tickAllToggle);
}

QString printTypeCaption(PrintType type)
{
    switch (type) {
    case PrintType::Standard:
        return QStringLiteral("Impression standard");
    case PrintType::Custom:
        return QStringLiteral("Impression  personnalisée");
    case PrintType::Bibliography:
        return QStringLiteral("Impression \"bibliographie\"");
    case PrintType::TitleList:
        return QStringLiteral("Impression liste des titres");
    }
    return QString();
}

// ---------------------------------------------------------------------------------------------

QString BasketPrintSource(int basket)
{
    return BasketStore::orderedSource(basket);
}

QString EmptyBasketPrintMessage(int basket)
{
    return QStringLiteral("Impression impossible : le panier ") + QString::number(basket) +
           QStringLiteral(" est vide");
}

void PrintBasketHeading(const BasketPrintJob &job, const PrintLineSink &sink)
{
    sink(job.versionTitle + PrintCreditLine +
         job.printedAt.toString(QStringLiteral("dd/MM/yy hh:mm")));
    sink(QStringLiteral(" "));
    sink(job.generalTitle);
    sink(QString());

    if (job.fields.has(PrintField::Criteria)) {
        const SelectionCriteria &c = job.criteria;
        const KeywordCaptions &k = job.keywordCaptions;
        sink(QStringLiteral("Critères de sélection :"));
        if (c.keywords) {
            sendAll(OneLineForPrint(QStringLiteral("Mots clés : ") + k.first), sink);
            sendAll(WrapFlatForPrint(QStringLiteral("     ET ") + k.et), sink);
            sendAll(WrapFlatForPrint(QStringLiteral("     OU ") + k.ou), sink);
            sendAll(WrapFlatForPrint(QStringLiteral("     SAUF ") + k.sauf), sink);
        }
        if (c.years) {
            sendAll(WrapFlatForPrint(QStringLiteral("Année(s) : > ") + c.yearFrom.trimmed() +
                                     QStringLiteral(" et < ") + c.yearTo.trimmed()),
                    sink);
        }
        if (c.bulletin)
            sendAll(WrapFlatForPrint(QStringLiteral("Numéro :") + c.bulletinNumber), sink);
        if (c.level)
            sendAll(WrapFlatForPrint(QStringLiteral("Niveau :") + c.levelText), sink);
        if (c.pointOfView) {
            sendAll(WrapFlatForPrint(QStringLiteral("Point(s) de vue : ") + c.pointOfViewText),
                    sink);
        }
        if (c.author)
            sendAll(WrapFlatForPrint(QStringLiteral("Auteur :") + c.authorText), sink);
        if (c.domain)
            sendAll(WrapFlatForPrint(QStringLiteral("Domaine : ") + c.domainText), sink);
        if (c.freeText)
            sendAll(OneLineForPrint(QStringLiteral("Texte libre : ") + c.freeTextValue), sink);
        sink(QString(27, QChar(u'_')));
    }

    sink(signedNumber(job.count) + (job.count <= 1
                                        ? QStringLiteral(" référence dans le panier.")
                                        : QStringLiteral(" références dans le panier.")));
    sink(QString(29, QChar(u'_')));
}

QStringList BasketHeadingLines(const BasketPrintJob &job)
{
    QStringList lines;
    PrintBasketHeading(job, [&lines](const QString &line) { lines.append(line); });
    return lines;
}

QString ReferenceNumbersLine(const RecordSet &references, const PrintFieldSet &fields)
{
    QString line;
    if (fields.has(PrintField::Bulletin)) {
        const QString number = references.text(QStringLiteral("Numéro"));
        if (!number.isEmpty())
            line += QStringLiteral("Numéro : ") + number + ThreeSpaces;
    }
    if (fields.has(PrintField::Month))
        line += references.text(QStringLiteral("Mois")) + QStringLiteral(" ");
    if (fields.has(PrintField::Year)) {
        const qlonglong year = numberField(references, QStringLiteral("An"));
        if (year != 0)
            line += signedNumber(year) + QStringLiteral(", ");
    }
    if (fields.has(PrintField::Volume)) {
        const qlonglong volume = numberField(references, QStringLiteral("Volume"));
        if (volume != 0)
            line += QStringLiteral("Volume ") + signedNumber(volume) + QStringLiteral(", ");
    }
    if (fields.has(PrintField::Page))
        line += QStringLiteral("p. ") + references.text(QStringLiteral("Page")) + ThreeSpaces;
    if (fields.has(PrintField::PageCount)) {
        line += QStringLiteral("Nombre de pages : ");
        const qlonglong pages = numberField(references, QStringLiteral("NombrePages"));
        if (pages != 0)
            line += signedNumber(pages);
    }
    return line;
}

void PrintReference(const RecordSet &references, const PrintFieldSet &fields,
                    const PrintLineSink &sink)
{
    const auto field = [&references](const char *name) {
        return references.text(QString::fromUtf8(name));
    };
    if (fields.has(PrintField::Title))
        sendAll(WrapForPrint(QStringLiteral("Titre : ") + field("Titre")), sink);
    if (fields.has(PrintField::Subtitle))
        sendAll(WrapForPrint(QStringLiteral("Sous-titre : ") + field("Soustitre")), sink);
    if (fields.has(PrintField::Author))
        sendAll(WrapFlatForPrint(QStringLiteral("Auteur(s) : ") + field("Auteur")), sink);
    sink(ReferenceNumbersLine(references, fields));
    if (fields.has(PrintField::Domain))
        sendAll(WrapFlatForPrint(QStringLiteral("Domaine(s) : ") + field("Domaine")), sink);
    if (fields.has(PrintField::PointOfView)) {
        sendAll(WrapFlatForPrint(QStringLiteral("Point(s) de vue : ") + field("PointdeVue")), sink);
    }
    sink(fields.has(PrintField::Level)
             ? QStringLiteral("Niveau(x) : ") + field("Niveaux") + ThreeSpaces
             : QString());
    if (fields.has(PrintField::Keywords))
        sendAll(WrapFlatForPrint(QStringLiteral("Clés : ") + field("MotsCles")), sink);
    if (fields.has(PrintField::Summary))
        sendAll(WrapForPrint(QStringLiteral("Résumé : ") + field("Resume")), sink);
    sink(QString(16, QChar(u'-')));
}

QStringList ReferenceLines(const RecordSet &references, const PrintFieldSet &fields)
{
    QStringList lines;
    PrintReference(references, fields, [&lines](const QString &line) { lines.append(line); });
    return lines;
}

BasketPrintResult PrintBasket(const BasketPrintJob &job, RecordSet &references,
                              LinePrinter &printer)
{
    BasketPrintResult result;
    if (job.count <= 0)
        return result;

    const PrintLineSink toPrinter = [&printer](const QString &line) { printer.printLine(line); };
    printer.setFont(PrintFontFamily, PrintFontSize);
    printer.beginDocument(job.pdfFile);
    PrintBasketHeading(job, toPrinter);

    int failuresInARow = 0;
    for (references.moveFirst(); !references.isEof(); references.moveNext()) {
        try {
            PrintReference(references, job.fields, toPrinter);
            ++result.printed;
            failuresInARow = 0;
        } catch (const PlatformError &) {
            ++result.failed;
            if (++failuresInARow >= MaxFailuresInARow) {
                references.moveFirst();
                throw;
            }
        } catch (const DbError &) {
            ++result.failed;
            if (++failuresInARow >= MaxFailuresInARow) {
                references.moveFirst();
                throw;
            }
        }
    }
    references.moveFirst();

    printer.printLine(QStringLiteral("Fin de la sélection."));
    printer.endDocument();
    return result;
}

BasketPrintResult PrintBasket(const BasketPrintJob &job, Database &db, LinePrinter &printer)
{
    RecordSet references(db, BasketPrintSource(job.basket));
    return PrintBasket(job, references, printer);
}

} // namespace ferlin
