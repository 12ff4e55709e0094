#pragma once

#include "core/db/database.h"
#include "core/db/recordset.h"

#include <memory>

namespace ferlin {

// The open base and the record sets bound to screens. The record card's set is the one current
// result set of the program: the search, the basket list and the card all work on it.
struct Catalogue {
    std::unique_ptr<Database> db;
    // The record card's data source, opened and moved by the card browser alone
    // (record/cardbrowser.h), which the screens and operations ask.
    std::unique_ptr<RecordSet> card;
    std::unique_ptr<RecordSet> selection; // the search screen's data source

    bool isOpen() const { return db != nullptr; }

    // DataSélec pointed at a table, opened again only when it pointed at another one.
    RecordSet &selectionOn(const QString &table)
    {
        if (!selection || selection->tableName() != table)
            selection = db->openRecordSet(table);
        return *selection;
    }
    // DataSélec read again from its table (the start-up's count of a basket).
    RecordSet &reloadSelection(const QString &table)
    {
        selection = db->openRecordSet(table);
        return *selection;
    }
};

} // namespace ferlin
