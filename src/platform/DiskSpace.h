#pragma once

#include <QString>

#include <optional>

namespace tiradex {

// Total and free bytes of the volume that holds a path.
class DiskSpace
{
public:
    struct Volume
    {
        qint64 totalBytes = 0;
        qint64 freeBytes = 0;
    };

    virtual ~DiskSpace() = default;

    // Empty when the path's volume cannot be queried.
    virtual std::optional<Volume> query(const QString &path) const = 0;
};

} // namespace tiradex
