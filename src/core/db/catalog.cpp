#include "core/db/catalog.h"

#include "core/db/database.h"
#include "core/db/recordset.h"
#include "core/db/schema.h"

#include <sqlite3.h>

namespace ferlin {

QString lookupTable(LookupList list)
{
    switch (list) {
    case LookupList::SeeAlso:
        return Schema::SeeAlso;
    case LookupList::Keywords:
        return Schema::Keywords;
    case LookupList::Authors:
        return Schema::Authors;
    case LookupList::PointsOfView:
        return Schema::PointsOfView;
    case LookupList::Domains:
        return Schema::Domains;
    }
    return {};
}

QString lookupField(LookupList list)
{
    switch (list) {
    case LookupList::SeeAlso:
        return QStringLiteral("MotVoir");
    case LookupList::Keywords:
        return QStringLiteral("Clé");
    case LookupList::Authors:
        return QStringLiteral("Auteur");
    case LookupList::PointsOfView:
        return QStringLiteral("PtVue");
    case LookupList::Domains:
        return QStringLiteral("Domaine");
    }
    return {};
}

QStringList ReadLookupList(Database &db, LookupList list)
{
    const QString table = lookupTable(list);
    StatementPtr stmt =
        db.prepare(QStringLiteral("SELECT [") + lookupField(list) + QStringLiteral("] FROM [") +
                   table + QStringLiteral("] ORDER BY rowid"));
    QStringList values;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        if (sqlite3_column_type(stmt.get(), 0) == SQLITE_NULL)
            throw DbError(DbErrorCode::InvalidUseOfNull,
                          QStringLiteral("Utilisation incorrecte de Null (table « %1 », ligne %2).")
                              .arg(table)
                              .arg(values.size() + 1));
        values << QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), 0)),
            sqlite3_column_bytes(stmt.get(), 0));
    }
    if (rc != SQLITE_DONE)
        db.fail(rc);
    return values;
}

int CountRows(RecordSet &set)
{
    if (set.isEof())
        return 0;
    set.moveLast();
    return set.recordCount();
}

int BaseCount(RecordSet &articles)
{
    articles.moveLast();
    return articles.recordCount();
}

int CountBasket(Database &db, int basket)
{
    RecordSet set(db, Schema::basketTable(basket));
    return CountRows(set);
}

std::vector<StateBandColours> ReadStateBands(Database &db)
{
    RecordSet set(db, Schema::StateBands);
    std::vector<StateBandColours> rows;
    for (; !set.isEof(); set.moveNext()) {
        if (int(rows.size()) == StateBandBlocks)
            throw DbError(DbErrorCode::SubscriptOutOfRange,
                          QStringLiteral("L'indice n'appartient pas à la sélection : la table "
                                         "« %1 » a plus de %2 lignes.")
                              .arg(Schema::StateBands)
                              .arg(StateBandBlocks));
        StateBandColours row;
        row.referenced = quint32(set.value(QStringLiteral("E_Titre")).toLongLong());
        row.indexed = quint32(set.value(QStringLiteral("E_Auteur")).toLongLong());
        row.fullText = quint32(set.value(QStringLiteral("E_Clef")).toLongLong());
        rows.push_back(row);
    }
    return rows;
}

QDate UpdateDate(const RecordSet &articles)
{
    if (articles.recordCount() == 0 || !articles.hasCurrent())
        return {};
    const QVariant v = articles.value(QStringLiteral("MajDate"));
    if (v.isNull())
        return {};
    bool numeric = false;
    const double days = v.toString().trimmed().toDouble(&numeric);
    if (numeric) // a day count from 30/12/1899, as the original engine stores dates
        return days == 0 ? QDate() : QDate(1899, 12, 30).addDays(qint64(days));
    const QString text = v.toString().trimmed();
    for (const char *format : {"yyyy-MM-dd", "dd/MM/yyyy", "yyyy-MM-ddTHH:mm:ss"}) {
        const QDate date =
            QDate::fromString(text.left(int(qstrlen(format))), QLatin1String(format));
        if (date.isValid())
            return date;
    }
    return {};
}

QString formatUpdateDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace ferlin
