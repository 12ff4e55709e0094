#pragma once

#include "core/search/criteria.h"

namespace ferlin {

class MessageBox;

struct SelectionCondition {
    QString condition; // the text after "WHERE"; never empty when not rejected
    bool rejected = false;
};

// Checks the ticked criteria in their fixed order and builds the condition text of the search,
// fragment by fragment. Shows one message per ticked criterion whose value is missing and one
// more when no criterion is ticked; the condition is then rejected.
SelectionCondition BuildSelectionCondition(const SelectionCriteria &criteria,
                                           const KeywordChoice &keywords, MessageBox &messages);

} // namespace ferlin
