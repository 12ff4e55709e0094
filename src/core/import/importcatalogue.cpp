#include "core/import/importcatalogue.h"

#include "core/db/database.h"
#include "core/db/schema.h"
#include "core/import/cataloguetables.h"
#include "core/import/workfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#include <cmath>
#include <optional>

namespace ferlin {

namespace {

// How often the progress is told, in rows.
constexpr qint64 ProgressStep = 256;
// Doubles up to this are whole numbers exactly.
constexpr double LargestExactInteger = 9007199254740992.0;

// Tells the progress as the rows go by.
class ProgressCounter {
public:
    ProgressCounter(const ImportProgressHandler &handler, qint64 total) : m_handler(handler)
    {
        m_state.total = total;
    }

    void startTable(const QString &table, qint64 rows)
    {
        m_state.table = table;
        m_state.tableDone = 0;
        m_state.tableRows = rows;
        tell();
    }
    void row()
    {
        ++m_state.tableDone;
        ++m_state.done;
        if (m_state.tableDone % ProgressStep == 0)
            tell();
    }
    void endTable() { tell(); }

private:
    void tell()
    {
        if (m_handler)
            m_handler(m_state);
    }

    const ImportProgressHandler &m_handler;
    ImportProgress m_state;
};

QString insertStatement(const CatalogueTable &table)
{
    QStringList marks;
    for (int i = 0; i < table.fields.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("INSERT INTO [") + table.name + QStringLiteral("] ([") +
           table.fields.join(QStringLiteral("],[")) + QStringLiteral("]) VALUES (") +
           marks.join(u',') + u')';
}

DbError damagedSource(const QString &source, const QString &what)
{
    return DbError(DbErrorCode::UnrecognizedFormat,
                   QStringLiteral("Le fichier « %1 » est endommagé : %2.").arg(source, what));
}

// Control characters other than the tab and line breaks are no text of the catalogue: they
// come from bytes read where no text lies.
bool hasControlCharacters(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString)
        return false;
    for (const QChar c : value.toString()) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0x7F)
            return true;
    }
    return false;
}

bool isFilled(const QVariant &value)
{
    return !value.isNull() && !(value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

// The fields that no table of a published base leaves empty in every row: a field that comes
// back so was not read from the file.
const QStringList &fieldsNeverAllEmpty(const QString &table)
{
    static const std::vector<std::pair<QString, QStringList>> fields = {
        {QStringLiteral("TArticles"),
         {QStringLiteral("Rang"), QStringLiteral("An"), QStringLiteral("Titre"),
          QStringLiteral("Auteur")}},
        {QStringLiteral("TClés"), {QStringLiteral("Clé")}},
        {QStringLiteral("TVoir"), {QStringLiteral("MotVoir")}},
        {QStringLiteral("TAuteurs"), {QStringLiteral("Auteur")}},
        {QStringLiteral("TPointdeVue"), {QStringLiteral("PtVue")}},
        {QStringLiteral("TDomaine"), {QStringLiteral("Domaine")}},
    };
    static const QStringList none;
    for (const auto &[name, list] : fields)
        if (name == table)
            return list;
    return none;
}

// A table needs this many rows before an empty field means damage.
constexpr qint64 RowsForEmptyCheck = 2;

qint64 copyTable(Database &db, RowSource &source, const SourceTable &from,
                 ProgressCounter &progress)
{
    const CatalogueTable &table = *from.table;
    StatementPtr insert = db.prepare(insertStatement(table));
    std::vector<bool> filled(from.columnOf.size(), false);
    qint64 rows = 0;
    source.readRows(from.sourceName, [&](const QVariantList &values) {
        for (size_t i = 0; i < from.columnOf.size(); ++i) {
            const QVariant value = values.value(from.columnOf[i]);
            if (hasControlCharacters(value))
                throw damagedSource(source.name(),
                                    QStringLiteral("le champ « %1 » de la table « %2 » contient "
                                                   "des caractères de contrôle (ligne %3)")
                                        .arg(table.fields.at(int(i)), table.name)
                                        .arg(rows + 1));
            if (!filled[i] && isFilled(value))
                filled[i] = true;
            bindValue(insert.get(), int(i) + 1, storedValue(value));
        }
        const int rc = sqlite3_step(insert.get());
        if ((rc & 0xFF) == SQLITE_CONSTRAINT)
            throw damagedSource(source.name(),
                                QStringLiteral("la ligne %1 de la table « %2 » reprend le Rang "
                                               "d'une autre ou en est privée")
                                    .arg(rows + 1)
                                    .arg(table.name));
        if (rc != SQLITE_DONE)
            db.fail(rc);
        sqlite3_reset(insert.get());
        ++rows;
        progress.row();
    });
    if (rows >= RowsForEmptyCheck)
        for (const QString &field : fieldsNeverAllEmpty(table.name)) {
            const qsizetype i = table.fields.indexOf(field);
            if (i >= 0 && !filled[size_t(i)])
                throw damagedSource(source.name(),
                                    QStringLiteral("le champ « %1 » de la table « %2 » est vide "
                                                   "dans ses %3 lignes")
                                        .arg(field, table.name)
                                        .arg(rows));
        }
    return rows;
}

qint64 storedRows(Database &db, const QString &table)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM [") + table + u']').toLongLong();
}

DbError countMismatch(const QString &source, const QString &table, qint64 expected, qint64 got)
{
    return DbError(DbErrorCode::UnrecognizedFormat,
                   QStringLiteral("La table « %1 » de « %2 » annonce %3 lignes, mais %4 ont été "
                                  "converties : la conversion est abandonnée.")
                       .arg(table, source)
                       .arg(expected)
                       .arg(got));
}

// The new base passes SQLite's own check, and every table holds what was read into it.
void checkConversion(Database &db, const ImportSummary &summary)
{
    const QString verdict = db.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
    if (verdict != QStringLiteral("ok"))
        throw DbError(SQLITE_CORRUPT,
                      QStringLiteral("La base convertie ne passe pas le contrôle d'intégrité "
                                     "(%1) : la conversion est abandonnée.")
                          .arg(verdict));
    for (const TableRead &read : summary.tables) {
        const qint64 stored = storedRows(db, read.table);
        if (stored != read.rows)
            throw countMismatch(summary.source, read.table, read.rows, stored);
    }
    if (!summary.basketsCarried)
        return;
    for (int n = 1; n <= Schema::BasketCount; ++n) {
        const qint64 stored = storedRows(db, Schema::basketTable(n));
        const int kept = summary.baskets[size_t(n - 1)].kept;
        if (stored != kept)
            throw countMismatch(summary.destination, Schema::basketTable(n), kept, stored);
    }
}

} // namespace

QVariant storedValue(const QVariant &value)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        const QTime time = when.time();
        if (when.date() == QDate(1899, 12, 30) && time == QTime(0, 0))
            return qlonglong(0);
        return time == QTime(0, 0) ? when.date().toString(QStringLiteral("yyyy-MM-dd"))
                                   : when.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
    }
    case QMetaType::Double: {
        const double number = value.toDouble();
        if (std::isfinite(number) && std::trunc(number) == number &&
            std::fabs(number) <= LargestExactInteger)
            return qlonglong(number);
        return number;
    }
    case QMetaType::Bool:
        return qlonglong(value.toBool() ? 1 : 0);
    default:
        return value;
    }
}

ImportSummary ImportCatalogue(RowSource &source, const QString &destination,
                              const ImportProgressHandler &progress)
{
    // Every check of the source comes before anything is written.
    const std::vector<SourceTable> tables = findCatalogueTables(source);
    WorkFile work(destination);

    ImportSummary summary;
    summary.source = source.name();
    summary.destination = QDir::toNativeSeparators(QFileInfo(destination).absoluteFilePath());
    std::optional<BasketRangs> former;
    if (QFileInfo::exists(destination))
        former = ReadFormerBaskets(destination);
    summary.basketsCarried = former.has_value();

    std::vector<const SourceTable *> toRead;
    std::vector<qint64> declared;
    qint64 total = 0;
    for (const SourceTable &table : tables) {
        if (former && table.table->basket)
            continue;
        toRead.push_back(&table);
        declared.push_back(source.rowCount(table.sourceName));
        total += declared.back();
    }

    {
        auto db = Database::create(work.path());
        // Nothing of the work file is worth keeping after a crash: no journal on disk, no
        // waiting for the disk until it is complete (it is flushed once, when installed).
        db->executeBound(QStringLiteral("PRAGMA journal_mode=MEMORY"), {});
        db->executeBound(QStringLiteral("PRAGMA synchronous=OFF"), {});
        Transaction transaction(*db);
        Schema::create(*db);
        ProgressCounter counter(progress, total);
        for (size_t i = 0; i < toRead.size(); ++i) {
            const QString &name = toRead[i]->table->name;
            counter.startTable(name, declared[i]);
            const qint64 rows = copyTable(*db, source, *toRead[i], counter);
            counter.endTable();
            if (rows != declared[i])
                throw countMismatch(summary.source, name, declared[i], rows);
            summary.tables.push_back({name, rows});
        }
        if (former)
            summary.baskets = CarryBaskets(*db, *former);
        transaction.commit();
        db->compact();
        checkConversion(*db, summary);
    }
    work.install();
    return summary;
}

} // namespace ferlin
