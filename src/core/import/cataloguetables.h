#pragma once

#include "core/import/rowsource.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace ferlin {

// A table of the catalogue that the program reads, with the fields it needs, as the program
// names them.
struct CatalogueTable {
    QString name;
    QStringList fields;
    int basket = 0; // 1 to 3 for a basket table, else 0
};

// Every table converted from the published base, in the order of conversion: TArticles, the
// five pick-list tables in the order the start-up loads them, TEtatbase and the three baskets.
const std::vector<CatalogueTable> &catalogueTables();

// A catalogue table found in a source: its name there and, for each of its fields, the index
// of the source's column that holds it.
struct SourceTable {
    const CatalogueTable *table = nullptr;
    QString sourceName;
    std::vector<int> columnOf;
};

// Finds every catalogue table and field in the source, names matched without regard to case as
// the Jet engine matches them. Whatever is missing is named at once in one DbError 3011 (a base
// of another structure).
std::vector<SourceTable> findCatalogueTables(RowSource &source);

} // namespace ferlin
