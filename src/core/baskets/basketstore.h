#pragma once

#include "core/db/database.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace ferlin {

class RecordSet;

// The three baskets' tables: the one place that writes them and that knows their order. Rows
// are copied field by field by name, so that a basket whose columns stand in another order than
// the catalogue's never receives a value in the wrong field.
class BasketStore {
public:
    explicit BasketStore(Database &db) : m_db(db) {}

    // How many writes basket n has been given during the run. Every write of the store raises
    // it, even one that fails and is rolled back, so that a view built from the basket (a list,
    // a set) can tell it may be out of date by comparing it with the value it was built at.
    static quint64 generation(int basket);

    // " ORDER BY An DESC,Numéro DESC,Page DESC": by year, bulletin and page, newest first.
    static const QString &orderClause();
    // "SELECT * FROM TSélectionN" + the order: a basket as its list, prints and archives show it.
    static QString orderedSource(int basket);

    // References given as the values of their fields, named once for all of them.
    struct Rows {
        QStringList fields;
        std::vector<std::vector<QVariant>> values;
    };
    // Every row of a set, in its order, with every field of the set; the set does not move.
    static Rows readRows(const RecordSet &set);

    // Adds rows to a basket in one transaction: a reference the basket already holds (the same
    // Rang) is skipped, any other failure leaves the basket as it was and is thrown. Returns the
    // rows added.
    int addRows(int basket, const Rows &rows);
    // Adds every row of a set in its order, copied within the base (no row passes through the
    // program), with the rules of addRows.
    int addSet(int basket, const RecordSet &set);
    // Adds the current row of a set; DbError 3022 when the basket holds it already.
    void addRow(int basket, const RecordSet &set);
    // Deletes every row of the basket, a reference without a title included, so that a count of
    // 0 is true.
    void empty(int basket);
    // Deletes the current row of a set over a basket's table (the record card's removal); a set
    // over any other table is refused with DbError 3011, the catalogue being read only.
    static void removeCurrent(RecordSet &set);

private:
    Database &m_db;
};

} // namespace ferlin
