#include "core/import/cataloguetables.h"

#include "core/db/catalog.h"
#include "core/db/dberror.h"
#include "core/db/schema.h"

namespace ferlin {

namespace {

QString quoted(const QString &name)
{
    return QStringLiteral("« ") + name + QStringLiteral(" »");
}

// The index of `name` among `names`, case ignored; -1 when it is not there.
int indexOf(const QStringList &names, const QString &name)
{
    for (int i = 0; i < names.size(); ++i)
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

const std::vector<CatalogueTable> &catalogueTables()
{
    static const std::vector<CatalogueTable> tables = [] {
        std::vector<CatalogueTable> list;
        list.push_back({Schema::Articles, Schema::referenceFields()});
        for (LookupList lookup : LookupLoadOrder)
            list.push_back({lookupTable(lookup), {lookupField(lookup)}});
        list.push_back(
            {Schema::StateBands,
             {QStringLiteral("E_Titre"), QStringLiteral("E_Auteur"), QStringLiteral("E_Clef")}});
        for (int n = 1; n <= Schema::BasketCount; ++n)
            list.push_back({Schema::basketTable(n), Schema::referenceFields(), n});
        return list;
    }();
    return tables;
}

std::vector<SourceTable> findCatalogueTables(RowSource &source)
{
    const QStringList sourceTables = source.tables();
    std::vector<SourceTable> found;
    QStringList missing;
    for (const CatalogueTable &table : catalogueTables()) {
        const int t = indexOf(sourceTables, table.name);
        if (t < 0) {
            missing << QStringLiteral("la table ") + quoted(table.name);
            continue;
        }
        SourceTable entry{&table, sourceTables.at(t), {}};
        QStringList columnNames;
        for (const SourceColumn &column : source.columns(entry.sourceName))
            columnNames << column.name;
        for (const QString &field : table.fields) {
            const int c = indexOf(columnNames, field);
            if (c < 0)
                missing << QStringLiteral("le champ ") + quoted(field) +
                               QStringLiteral(" de la table ") + quoted(table.name);
            entry.columnOf.push_back(c);
        }
        found.push_back(std::move(entry));
    }
    if (!missing.isEmpty())
        throw DbError(DbErrorCode::ObjectNotFound,
                      QStringLiteral("Il manque dans ") + quoted(source.name()) +
                          QStringLiteral(" : ") + missing.join(QStringLiteral(" ; ")) + u'.');
    return found;
}

} // namespace ferlin
