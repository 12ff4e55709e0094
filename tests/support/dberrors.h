#pragma once

#include "core/db/dberror.h"

#include <functional>

namespace ferlin::test {

// The number of the DbError that `f` throws, or 0 when it throws none.
inline int dbErrorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const DbError &e) {
        return e.number();
    }
    return 0;
}

} // namespace ferlin::test
