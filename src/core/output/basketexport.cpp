#include "core/output/basketexport.h"

#include "core/context/linebreak.h"
#include "core/context/settings.h"
#include "core/db/database.h"
#include "core/db/dberror.h"
#include "core/db/jetdialect.h"
#include "core/db/schema.h"
#include "core/output/basketprint.h"
#include "core/output/exportformats.h"
#include "core/record/textaccess.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <sqlite3.h>

#include <array>
#include <cmath>

namespace ferlin {

namespace {

const std::array<ExportFormatInfo, ExportFormatCount> &formatInfos()
{
    static const std::array<ExportFormatInfo, ExportFormatCount> infos = {{
        {QStringLiteral("bibtex"), QStringLiteral("BibTeX (.bib)"), QStringLiteral("bib")},
        {QStringLiteral("ris"), QStringLiteral("RIS (.ris)"), QStringLiteral("ris")},
        {QStringLiteral("csljson"), QStringLiteral("CSL JSON (.json)"), QStringLiteral("json")},
        {QStringLiteral("csv"), QStringLiteral("CSV (.csv)"), QStringLiteral("csv")},
    }};
    return infos;
}

// The fields that hold one value a line.
bool isListField(const QString &field)
{
    static const QStringList lists = {QStringLiteral("auteur"), QStringLiteral("domaine"),
                                      QStringLiteral("pointdevue"), QStringLiteral("niveaux"),
                                      QStringLiteral("motscles")};
    return lists.contains(field.toLower());
}

// The lines of a list-valued field, each trimmed, the blank ones left out.
QStringList listLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(u'\n')) {
        const QString value = line.trimmed(); // a stored line break is CR LF
        if (!value.isEmpty())
            lines << value;
    }
    return lines;
}

// A whole number written as text ("12", " 12 ", "12.0"); nothing for any other text.
std::optional<qlonglong> wholeNumber(const QString &text)
{
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (ok)
        return n;
    const double d = text.toDouble(&ok);
    if (ok && std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
        return qlonglong(d);
    return std::nullopt;
}

QString lastPage(const QString &page, const QString &pageCount)
{
    const auto first = wholeNumber(page);
    const auto count = wholeNumber(pageCount);
    if (!first || !count || *count < 1)
        return {};
    return QString::number(*first + *count - 1);
}

// The fields a reference is written from, by their names in the base.
enum Field {
    Rang,
    An,
    Volume,
    Numero,
    Mois,
    Page,
    NombrePages,
    Titre,
    Soustitre,
    Resume,
    Auteur,
    MotsCles,
    TexteIntegral,
    FieldCount
};
const char *const FieldNames[FieldCount] = {
    "Rang",  "An",        "Volume", "Numéro", "Mois",     "Page",         "NombrePages",
    "Titre", "Soustitre", "Resume", "Auteur", "MotsCles", "TexteIntegral"};

// The columns of a row, each read once: the fields found by their names, without regard to
// case, when the statement is prepared rather than at every row.
class Columns {
public:
    explicit Columns(sqlite3_stmt *stmt) : m_stmt(stmt)
    {
        const int count = sqlite3_column_count(stmt);
        QStringList names;
        for (int i = 0; i < count; ++i)
            names << QString::fromUtf8(sqlite3_column_name(stmt, i));
        findFields(names);
    }
    // The columns of a record given by its fields' names, without a statement to read.
    explicit Columns(const QStringList &names) : m_stmt(nullptr) { findFields(names); }

    const QStringList &names() const { return m_names; }
    bool isList(int i) const { return m_isList.at(i); }
    // The current row's values as text, an empty field as empty text.
    QStringList read() const
    {
        QStringList values;
        values.reserve(m_names.size());
        for (int i = 0; i < m_names.size(); ++i) {
            const QVariant v = columnValue(m_stmt, i);
            values << (v.isNull() ? QString() : v.toString());
        }
        return values;
    }
    // A field of values read, empty text when the basket has no such column.
    QString field(const QStringList &values, Field f) const
    {
        return m_field[f] < 0 ? QString() : values.value(m_field[f]);
    }

private:
    void findFields(const QStringList &names)
    {
        m_names = names;
        const qsizetype count = names.size();
        m_isList.resize(count);
        for (qsizetype i = 0; i < count; ++i)
            m_isList[i] = isListField(names.at(i));
        for (int f = 0; f < FieldCount; ++f) {
            const QString wanted = QString::fromUtf8(FieldNames[f]);
            m_field[f] = -1;
            for (int i = 0; i < count && m_field[f] < 0; ++i)
                if (m_names.at(i).compare(wanted, Qt::CaseInsensitive) == 0)
                    m_field[f] = i;
        }
    }

    sqlite3_stmt *m_stmt;
    QStringList m_names;
    QList<bool> m_isList;
    int m_field[FieldCount];
};

ExportedReference readReference(const Columns &row, const QStringList &raw,
                                const QString &textsFolder)
{
    ExportedReference r;
    r.values.reserve(raw.size());
    for (int i = 0; i < raw.size(); ++i)
        r.values << (row.isList(i) ? listLines(raw.at(i)).join(LineBreak) : raw.at(i).trimmed());
    r.rank = row.field(raw, Rang).trimmed();
    r.year = row.field(raw, An).trimmed();
    r.volume = row.field(raw, Volume).trimmed();
    r.number = row.field(raw, Numero).trimmed();
    r.month = firstMonthNumber(row.field(raw, Mois));
    r.firstPage = row.field(raw, Page).trimmed();
    if (wholeNumber(r.firstPage))
        r.lastPage = lastPage(r.firstPage, row.field(raw, NombrePages).trimmed());
    const QString title = row.field(raw, Titre).trimmed();
    const QString subtitle = row.field(raw, Soustitre).trimmed();
    r.title = title.isEmpty() || subtitle.isEmpty()
                  ? QString(title + subtitle)
                  : QString(title + QStringLiteral(" : ") + subtitle);
    r.summary = row.field(raw, Resume).trimmed();
    r.authors = listLines(row.field(raw, Auteur));
    r.keywords = listLines(row.field(raw, MotsCles));
    // The path the record card would open, named only when the text is really there.
    const QString fullText = row.field(raw, TexteIntegral);
    if (!textsFolder.isEmpty() && !fullText.trimmed().isEmpty()) {
        const QString file = HardDiskTextPath(textsFolder, fullText);
        if (QFileInfo(file).isFile())
            r.pdfPath = file;
    }
    return r;
}

// Why a file cannot be opened for writing, for the message.
QString openFailureReason(const QString &file)
{
    const QFileInfo info(file);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return QStringLiteral("le dossier « %1 » n'existe pas.")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (info.isDir())
        return QStringLiteral("c'est un dossier.");
    if (!folder.isWritable())
        return QStringLiteral("le dossier « %1 » est protégé en écriture.")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    return QStringLiteral("accès refusé.");
}

} // namespace

const ExportFormatInfo &exportFormatInfo(ExportFormat format)
{
    return formatInfos().at(size_t(format));
}

std::optional<ExportFormat> exportFormatNamed(const QString &name)
{
    for (int i = 0; i < ExportFormatCount; ++i) {
        if (formatInfos().at(size_t(i)).name.compare(name, Qt::CaseInsensitive) == 0)
            return ExportFormat(i);
    }
    return std::nullopt;
}

QString withExportExtension(const QString &file, ExportFormat format)
{
    const QString suffix = u'.' + exportFormatInfo(format).extension;
    return file.endsWith(suffix, Qt::CaseInsensitive) ? file : file + suffix;
}

namespace {

// The words that begin a family name ("Le Gall", "De La Tour", "d'Amico" written apart).
bool isParticle(const QString &word)
{
    static const QStringList particles = {
        QStringLiteral("le"),  QStringLiteral("la"),  QStringLiteral("les"),
        QStringLiteral("de"),  QStringLiteral("du"),  QStringLiteral("des"),
        QStringLiteral("d'"),  QStringLiteral("d’"),  QStringLiteral("da"),
        QStringLiteral("di"),  QStringLiteral("del"), QStringLiteral("della"),
        QStringLiteral("dos"), QStringLiteral("das"), QStringLiteral("van"),
        QStringLiteral("von"), QStringLiteral("der"), QStringLiteral("den"),
        QStringLiteral("ten"), QStringLiteral("ter"), QStringLiteral("mac")};
    return particles.contains(word.toLower());
}

} // namespace

PersonName splitPersonName(const QString &name)
{
    const QStringList words = name.simplified().split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 2)
        return {words.value(0), {}};
    // Only particles before the last word: the whole is a family name ("Le Gall", "Van Gogh").
    qsizetype particles = 0;
    while (particles < words.size() - 1 && isParticle(words.at(particles)))
        ++particles;
    if (particles == words.size() - 1)
        return {words.join(u' '), {}};
    // "Nom Prénom": the given name is the last word, whole when hyphenated; every word before
    // it belongs to the family name.
    return {words.mid(0, words.size() - 1).join(u' '), words.last()};
}

int firstMonthNumber(const QString &month)
{
    static const QStringList names = {
        QStringLiteral("janvier"), QStringLiteral("février"),  QStringLiteral("mars"),
        QStringLiteral("avril"),   QStringLiteral("mai"),      QStringLiteral("juin"),
        QStringLiteral("juillet"), QStringLiteral("août"),     QStringLiteral("septembre"),
        QStringLiteral("octobre"), QStringLiteral("novembre"), QStringLiteral("décembre")};
    const QString first = month.section(u'-', 0, 0).trimmed().toLower();
    return int(names.indexOf(first)) + 1;
}

QString ExportedReference::key() const
{
    QString key = QStringLiteral("kavetol") + year + u'_' + rank;
    // A key is read up to its first comma or blank: only letters, digits and "_" are kept.
    key.removeIf([](QChar c) { return !(c.isLetterOrNumber() && c.unicode() < 128) && c != u'_'; });
    return key;
}

QString exportTextsFolder(const Settings &settings)
{
    return settings.textsOnHardDisk ? settings.hardDiskFolder : QString();
}

BasketExport ReadBasketForExport(Database &db, int basket, const QString &textsFolder, int limit)
{
    BasketExport result;
    // The basket list's own statement and order. One statement reads every row from one
    // snapshot of the base: a change made meanwhile cannot tear the file.
    StatementPtr stmt = db.prepare(translateJetSql(BasketPrintSource(basket)));
    const Columns row(stmt.get());
    result.fields = row.names();
    int rc = SQLITE_DONE;
    while ((limit < 0 || int(result.references.size()) < limit) &&
           (rc = sqlite3_step(stmt.get())) == SQLITE_ROW)
        result.references.push_back(readReference(row, row.read(), textsFolder));
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        db.fail(rc);
    return result;
}

BasketExport ExportOfRecord(const QStringList &fields, const QStringList &values,
                            const QString &textsFolder)
{
    BasketExport result;
    result.fields = fields;
    result.references.push_back(readReference(Columns(fields), values, textsFolder));
    return result;
}

QByteArray FormatExport(ExportFormat format, const BasketExport &basket,
                        const ExportOptions &options)
{
    switch (format) {
    case ExportFormat::BibTeX:
        return WriteBibTeX(basket);
    case ExportFormat::Ris:
        return WriteRis(basket);
    case ExportFormat::CslJson:
        return WriteCslJson(basket);
    case ExportFormat::Csv:
        return WriteCsv(basket, options.csvSeparator);
    }
    return {};
}

ExportError::ExportError(QString message)
    : m_message(std::move(message)), m_what(m_message.toUtf8())
{
}

void WriteFileAtomically(const QString &file, const QByteArray &bytes)
{
    const QString shown = QDir::toNativeSeparators(file);
    // A temporary file beside the target, renamed over it on commit; on any failure it is
    // removed and the target is left alone.
    QSaveFile out(file);
    // Unbuffered, each write's count is checked here: through its buffer, QSaveFile takes a
    // short write (the disk full halfway) for a whole one and commits a truncated file.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw ExportError(QStringLiteral("Le fichier « %1 » ne peut pas être écrit : %2")
                              .arg(shown, openFailureReason(file)));
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 n = out.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written < bytes.size() || !out.commit()) {
        const QString reason = out.error() == QFileDevice::ResourceError
                                   ? QStringLiteral("le disque est plein")
                                   : QStringLiteral("l'écriture a échoué");
        throw ExportError(QStringLiteral("L'export n'a pas pu être écrit dans « %1 » : %2. Aucun "
                                         "fichier n'a été créé ni modifié sous ce nom.")
                              .arg(shown, reason));
    }
}

BasketExport ReadBasketToShare(Database &db, int basket, const QString &textsFolder,
                               const QString &what)
{
    if (basket < 1 || basket > Schema::BasketCount)
        throw ExportError(QStringLiteral("Il n'y a pas de panier n° %1 : les paniers sont "
                                         "numérotés de 1 à 3.")
                              .arg(basket));
    BasketExport read;
    try {
        read = ReadBasketForExport(db, basket, textsFolder);
    } catch (const DbError &error) {
        throw ExportError(QStringLiteral("Le panier n° %1 n'a pas pu être lu : %2")
                              .arg(QString::number(basket), error.description()));
    }
    if (read.references.empty())
        throw ExportError(
            QStringLiteral("Le panier n° %1 est vide : il n'y a rien à %2.").arg(basket).arg(what));
    return read;
}

int ExportBasket(Database &db, int basket, ExportFormat format, const QString &file,
                 const QString &textsFolder, const ExportOptions &options)
{
    const BasketExport read =
        ReadBasketToShare(db, basket, textsFolder, QStringLiteral("exporter"));
    WriteFileAtomically(file, FormatExport(format, read, options));
    return int(read.references.size());
}

QString exportDoneMessage(int count, const QString &file)
{
    const QString shown = QDir::toNativeSeparators(file);
    if (count == 1)
        return QStringLiteral("1 référence exportée dans « %1 ».").arg(shown);
    return QStringLiteral("%1 références exportées dans « %2 ».")
        .arg(QString::number(count), shown);
}

} // namespace ferlin
