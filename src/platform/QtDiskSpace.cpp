#include "platform/QtDiskSpace.h"

#include <QStorageInfo>

namespace tiradex {

std::optional<DiskSpace::Volume> QtDiskSpace::query(const QString &path) const
{
    const QStorageInfo info(path);
    if (path.isEmpty() || !info.isValid() || !info.isReady())
        return std::nullopt;
    return Volume{info.bytesTotal(), info.bytesAvailable()};
}

} // namespace tiradex
