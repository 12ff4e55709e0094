#include "core/db/schema.h"

#include "core/db/database.h"

#include <sqlite3.h>

namespace ferlin::Schema {

QString basketTable(int basket)
{
    return QStringLiteral("TSélection") + QString::number(basket);
}

const QStringList &referenceFields()
{
    static const QStringList fields = {
        QStringLiteral("Rang"),         QStringLiteral("An"),
        QStringLiteral("Numéro"),       QStringLiteral("Mois"),
        QStringLiteral("Volume"),       QStringLiteral("Page"),
        QStringLiteral("NombrePages"),  QStringLiteral("Titre"),
        QStringLiteral("Soustitre"),    QStringLiteral("Auteur"),
        QStringLiteral("Domaine"),      QStringLiteral("PointdeVue"),
        QStringLiteral("Niveaux"),      QStringLiteral("MotsCles"),
        QStringLiteral("Resume"),       QStringLiteral("TexteIntegral"),
        QStringLiteral("Localisation"), QStringLiteral("MajDate")};
    return fields;
}

namespace {

QString referenceColumns()
{
    return QStringLiteral("([Rang] INTEGER NOT NULL, [An] INTEGER, [Numéro] TEXT, [Mois] TEXT, "
                          "[Volume] INTEGER, [Page] INTEGER, [NombrePages] INTEGER, [Titre] TEXT, "
                          "[Soustitre] TEXT, [Auteur] TEXT, [Domaine] TEXT, [PointdeVue] TEXT, "
                          "[Niveaux] TEXT, [MotsCles] TEXT, [Resume] TEXT, [TexteIntegral] TEXT, "
                          "[Localisation] TEXT, [MajDate] TEXT)");
}

} // namespace

QStringList columnsOf(Database &db, const QString &table)
{
    QString quoted = table;
    quoted.replace(u'"', QStringLiteral("\"\""));
    StatementPtr info =
        db.prepare(QStringLiteral("PRAGMA table_info(\"") + quoted + QStringLiteral("\")"));
    QStringList columns;
    while (sqlite3_step(info.get()) == SQLITE_ROW)
        columns << QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 1)));
    return columns;
}

void checkReferenceFields(Database &db)
{
    QStringList tables{Articles};
    for (int n = 1; n <= BasketCount; ++n)
        tables << basketTable(n);
    for (const QString &table : std::as_const(tables)) {
        const QStringList columns = columnsOf(db, table);
        if (columns.isEmpty())
            throw DbError(DbErrorCode::ObjectNotFound,
                          QStringLiteral("La table « %1 » est introuvable dans la base de données.")
                              .arg(table));
        for (const QString &field : referenceFields()) {
            if (!columns.contains(field, Qt::CaseInsensitive))
                throw DbError(
                    DbErrorCode::ObjectNotFound,
                    QStringLiteral("Le champ « %1 » est introuvable dans la table « %2 ».")
                        .arg(field, table));
        }
    }
}

void create(Database &db)
{
    db.execute(QStringLiteral("CREATE TABLE [TArticles] ") + referenceColumns());
    db.execute(QStringLiteral("CREATE UNIQUE INDEX [TArticles_Rang] ON [TArticles] ([Rang])"));
    for (int n = 1; n <= BasketCount; ++n) {
        const QString table = basketTable(n);
        db.execute(QStringLiteral("CREATE TABLE [") + table + QStringLiteral("] ") +
                   referenceColumns());
        db.execute(QStringLiteral("CREATE UNIQUE INDEX [") + table + QStringLiteral("_Rang] ON [") +
                   table + QStringLiteral("] ([Rang])"));
    }
    db.execute(QStringLiteral("CREATE TABLE [TClés] ([Clé] TEXT)"));
    db.execute(QStringLiteral("CREATE TABLE [TVoir] ([MotVoir] TEXT)"));
    db.execute(QStringLiteral("CREATE TABLE [TAuteurs] ([Auteur] TEXT)"));
    db.execute(QStringLiteral("CREATE TABLE [TPointdeVue] ([PtVue] TEXT)"));
    db.execute(QStringLiteral("CREATE TABLE [TDomaine] ([Domaine] TEXT)"));
    db.execute(QStringLiteral("CREATE TABLE [TEtatbase] ([E_Titre] INTEGER, [E_Auteur] INTEGER, "
                              "[E_Clef] INTEGER)"));
}

} // namespace ferlin::Schema
