#pragma once

#include "core/import/importcatalogue.h"

#include <QString>

namespace ferlin {

// What a conversion did, in French, one line a fact: the tables and rows read, the baskets kept
// from the former base and the references dropped from them, the base written.
QString importReport(const ImportSummary &summary);

} // namespace ferlin
