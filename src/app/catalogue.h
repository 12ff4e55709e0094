#pragma once

#include "db/database.h"
#include "db/recordset.h"

#include <memory>

namespace ferlin {

// The open base and the record sets bound to screens. The record card's set is the one current
// result set of the program: the search, the basket list and the card all work on it.
struct Catalogue {
    std::unique_ptr<Database> db;
    std::unique_ptr<RecordSet> card;      // the record card's data source
    std::unique_ptr<RecordSet> selection; // the search screen's data source

    bool isOpen() const { return db != nullptr; }
};

} // namespace ferlin
