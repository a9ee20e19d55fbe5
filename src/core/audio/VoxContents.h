#pragma once

#include "core/audio/PcmAudio.h"

#include <QString>

#include <optional>

namespace tiradex {

// What a vox file holds, read without touching the application folder's
// scratch files (so it may run while a take plays from them).
struct VoxContents
{
    std::optional<PcmAudio> take; // when asked for and readable
    int recordedSeconds = 0;      // the duration record's seconds; 0 without one
    int act = 0;                  // the duration record's act and scene; 0 without
    int scene = 0;
};

// Reads the vox file at `voxPath`, named after its reply's base name: its
// duration record (without inflating the take) and, when `withTake`, its
// take, unpacked into a private temporary folder. A missing or damaged
// record reads as 0 seconds. Fails, with *error, when the file is missing,
// or when the take was asked for and cannot be read.
std::optional<VoxContents> ReadVoxContents(const QString &voxPath, bool withTake, QString *error);

} // namespace tiradex
