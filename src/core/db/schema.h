#pragma once

#include <QString>
#include <QStringList>

namespace ferlin {

class Database;

// Names of the catalogue's tables and fields, accents included, as the statements use them.
namespace Schema {

inline const QString Articles = QStringLiteral("TArticles");
inline const QString Keywords = QStringLiteral("TClés");
inline const QString SeeAlso = QStringLiteral("TVoir");
inline const QString Authors = QStringLiteral("TAuteurs");
inline const QString PointsOfView = QStringLiteral("TPointdeVue");
inline const QString Domains = QStringLiteral("TDomaine");
inline const QString StateBands = QStringLiteral("TEtatbase");

inline constexpr int BasketCount = 3;
// Basket n (1, 2 or 3) is the table "TSélection" + n.
QString basketTable(int basket);

// The fields of a reference, in the order of TArticles and of the basket tables.
const QStringList &referenceFields();

// The columns of a table, in their order; none when there is no such table.
QStringList columnsOf(Database &db, const QString &table);

// Checks that the catalogue and the three baskets hold every field of a reference (names
// compared without regard to case); throws DbError 3011 naming the first table or field missing.
void checkReferenceFields(Database &db);

// Creates every table of the catalogue, empty: TArticles, the three baskets (same columns in
// the same order, a unique index on Rang) and the lookup tables.
void create(Database &db);

} // namespace Schema

} // namespace ferlin
