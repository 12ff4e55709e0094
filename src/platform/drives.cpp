#include "platform/drives.h"

#include "platform/platformerror.h"

namespace ferlin {

bool Drives::isReady(const QString &drive) const
{
    try {
        rootPath(drive);
        return true;
    } catch (const PlatformError &) {
        return false;
    }
}

} // namespace ferlin
