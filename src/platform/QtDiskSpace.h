#pragma once

#include "platform/DiskSpace.h"

namespace tiradex {

// Disk space from QStorageInfo.
class QtDiskSpace : public DiskSpace
{
public:
    std::optional<Volume> query(const QString &path) const override;
};

} // namespace tiradex
