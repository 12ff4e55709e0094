#pragma once

#include "core/search/runsearch.h"

namespace ferlin {

class ScreenHost;

// What a search asks of the screens, answered by the record card, the basket list and the
// counts of the frame: the search screen and the full-text search place their results alike.
SearchViews SearchViewsOf(ScreenHost &host);

} // namespace ferlin
