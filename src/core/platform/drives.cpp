#include "core/platform/drives.h"

#include "core/platform/platformerror.h"

#include <utility>

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

QString Drives::driveHoldingDisc(const QString &drive, const QString &label) const
{
    QStringList candidates{drive};
    if (holdsOneDisc(drive))
        candidates += discsBeside(drive);
    for (const QString &candidate : std::as_const(candidates)) {
        try {
            if (volumeLabel(candidate) == label && isReady(candidate))
                return candidate;
        } catch (const PlatformError &) {
            // Not ready, or gone since it was listed: the next one may hold the disc.
        }
    }
    return {};
}

} // namespace ferlin
