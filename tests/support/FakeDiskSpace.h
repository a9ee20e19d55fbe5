#pragma once

#include "platform/DiskSpace.h"

#include <QHash>

namespace tiradex {

// Answers from a table of folders; a folder not in it cannot be queried.
class FakeDiskSpace : public DiskSpace
{
public:
    QHash<QString, Volume> volumes; // by the path as it is queried

    std::optional<Volume> query(const QString &path) const override
    {
        return volumes.contains(path) ? std::optional(volumes.value(path)) : std::nullopt;
    }
};

} // namespace tiradex
