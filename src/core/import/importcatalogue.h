#pragma once

#include "core/import/basketcarryover.h"
#include "core/import/rowsource.h"

#include <QString>

#include <functional>
#include <vector>

namespace ferlin {

// Where a conversion stands, told after every few hundred rows and at the end of each table.
struct ImportProgress {
    QString table;        // the table being read, as the program names it
    qint64 tableDone = 0; // its rows read so far
    qint64 tableRows = 0; // the rows it holds
    qint64 done = 0;      // rows read of every table to read
    qint64 total = 0;
};
using ImportProgressHandler = std::function<void(const ImportProgress &)>;

struct TableRead {
    QString table;
    qint64 rows = 0;
};

// What a conversion did.
struct ImportSummary {
    QString source;                // as the source names itself
    QString destination;           // the base written
    std::vector<TableRead> tables; // read from the source, in the order read
    // The base replaced an existing one, whose baskets were kept (the source's were not read).
    bool basketsCarried = false;
    BasketCarries baskets{};
};

// Converts the catalogue held by `source` into the base at `destination`: the tables and fields
// the program reads, with the schema of the program's own bases. The new base is written beside
// the destination, checked (integrity, every table's rows as many as the source holds) and only
// then put in its place. When a base is already there, its baskets are kept: the references the
// new edition still has, with their new values. A source lacking a table or field is refused
// with DbError 3011 before anything is written; any failure leaves the former base (or none).
ImportSummary ImportCatalogue(RowSource &source, const QString &destination,
                              const ImportProgressHandler &progress = {});

// A value as the program's bases hold it: a date as "yyyy-MM-dd" (followed by "THH:mm:ss" when
// it has a time of day), the engine's zero date (30/12/1899 at midnight, an empty date) as 0, a
// whole number as an integer, True and False as 1 and 0; anything else unchanged.
QVariant storedValue(const QVariant &value);

} // namespace ferlin
