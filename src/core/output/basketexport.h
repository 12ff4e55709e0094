#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <exception>
#include <optional>
#include <vector>

namespace ferlin {

class Database;
struct Settings;

// ---------------------------------------------------------------------------------------------
// Taking a basket into a reference manager or a spreadsheet.

enum class ExportFormat { BibTeX, Ris, CslJson, Csv };
inline constexpr int ExportFormatCount = 4;

struct ExportFormatInfo {
    QString name;      // as the command line names it: "bibtex", "ris", "csljson", "csv"
    QString caption;   // as the dialog shows it: "BibTeX (.bib)"
    QString extension; // without its dot: "bib"
};
const ExportFormatInfo &exportFormatInfo(ExportFormat format);
// The format a command-line name stands for, without regard to case.
std::optional<ExportFormat> exportFormatNamed(const QString &name);
// The file with the format's extension added when it does not already end with it (in any
// case): "liste" and "liste.txt" give "liste.bib" and "liste.txt.bib", "LISTE.BIB" stays.
QString withExportExtension(const QString &file, ExportFormat format);

// What is chosen beside the format: the separator of a CSV file's values, ";" as spreadsheets
// in French expect it (their decimal separator is the comma), or ",".
struct ExportOptions {
    QChar csvSeparator = u';';
};
// The separators a CSV file may have, the default first.
inline const QString CsvSeparators = QStringLiteral(";,");

// A person as reference managers want one, from a "Nom Prénom" line: the last word is the given
// name (hyphenated names stay whole) and the words before it the family name, so that particles
// and names of several words stay together ("Le Gall Lucien", "De La Tour Jean"); a single word,
// or particles and one word, is a family name alone.
struct PersonName {
    QString family;
    QString given; // empty for a name of one word
};
PersonName splitPersonName(const QString &name);

// The number of the first month that a "Mois" text names ("mars", "janvier-février" gives 1),
// without regard to case; 0 when it names none.
int firstMonthNumber(const QString &month);

// One reference of a basket as the formats write it, every value trimmed.
struct ExportedReference {
    QString rank;         // Rang
    QString year;         // An
    QString volume;       // Volume
    QString number;       // Numéro
    int month = 0;        // from Mois; 0 when it names no month
    QString firstPage;    // Page
    QString lastPage;     // Page + NombrePages - 1 when both are numbers; else empty
    QString title;        // Titre, then " : " and Soustitre when there is one
    QString summary;      // Resume, its line breaks as stored
    QStringList authors;  // Auteur, one a line
    QStringList keywords; // MotsCles, one a line
    QString pdfPath;      // the text on the hard disk, when it is there; else empty
    QStringList values;   // every field of the record, in the order of the basket's columns

    // "kavetol" + year + "_" + Rang: unique within a basket, and the same on every export.
    QString key() const;
};

// A basket read for an export: its columns and its references in the basket list's order.
struct BasketExport {
    QStringList fields; // the names of the record's fields, as the base spells them
    std::vector<ExportedReference> references;
};

// The folder of the texts' hard-disk copy when the texts are read from it; empty when they are
// read from the discs (an export then names no PDF).
QString exportTextsFolder(const Settings &settings);

// Reads basket n in the basket list's order, in one pass; only its first `limit` references
// when `limit` is not negative. Throws DbError.
BasketExport ReadBasketForExport(Database &db, int basket, const QString &textsFolder,
                                 int limit = -1);
// One record as an export of one reference: its fields' names and their values in the same
// order (the record card's current reference, Schema::referenceFields()).
BasketExport ExportOfRecord(const QStringList &fields, const QStringList &values,
                            const QString &textsFolder);

// Basket n read to be exported or copied; throws ExportError, in French, for a basket that does
// not exist, cannot be read or is empty ("il n'y a rien à " + what).
BasketExport ReadBasketToShare(Database &db, int basket, const QString &textsFolder,
                               const QString &what);

// The bytes of the file in a format.
QByteArray FormatExport(ExportFormat format, const BasketExport &basket,
                        const ExportOptions &options = {});

// A failed export, told in French.
class ExportError : public std::exception {
public:
    explicit ExportError(QString message);
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QByteArray m_what;
};

// Writes the file through a temporary file beside it, renamed over the name only once whole:
// a failure (a full disk, a folder that cannot be written) leaves any former file as it was and
// no partial file under the name. Throws ExportError.
void WriteFileAtomically(const QString &file, const QByteArray &bytes);

// Exports basket n into `file` (taken as given: the caller adds the extension); returns the
// number of references written. An empty basket, a database failure and a write failure throw
// ExportError.
int ExportBasket(Database &db, int basket, ExportFormat format, const QString &file,
                 const QString &textsFolder, const ExportOptions &options = {});

// "12 références exportées dans « liste.bib »."
QString exportDoneMessage(int count, const QString &file);

} // namespace ferlin
