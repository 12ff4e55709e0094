#include "db/schema.h"

#include "db/database.h"

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
