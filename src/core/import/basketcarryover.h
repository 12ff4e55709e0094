#pragma once

#include "core/db/schema.h"

#include <QString>

#include <array>
#include <vector>

namespace ferlin {

class Database;

// The references of the three baskets of a base, by Rang, each basket in its own row order.
using BasketRangs = std::array<std::vector<qint64>, Schema::BasketCount>;

// What became of one basket on the way to a new edition.
struct BasketCarry {
    int kept = 0;    // references the new edition still has
    int dropped = 0; // references it no longer has
};
using BasketCarries = std::array<BasketCarry, Schema::BasketCount>;

// The baskets of the base in use, read before a new edition replaces it. A base that cannot be
// read throws a DbError that says its baskets cannot be kept.
BasketRangs ReadFormerBaskets(const QString &base);

// Fills the empty baskets of `db` with the references of its TArticles that have those Rangs,
// with the new values, in the former order; a Rang the new edition lacks is dropped.
BasketCarries CarryBaskets(Database &db, const BasketRangs &baskets);

} // namespace ferlin
