#pragma once

#include <QString>

namespace tiradex {

// Whether the file at `path` is the packaged take of the reply `baseName`:
// a readable archive holding a non-empty "temp.wav" whose data inflate to
// their recorded size and CRC, and the duration record `baseName` + ".tsd".
// Other members are never read (as in playback). Nothing is written. False
// with *error saying what is wrong. Used on every recording that comes from
// a transfer folder before it takes a place in the play.
bool CheckMediumVox(const QString &path, const QString &baseName, QString *error);

} // namespace tiradex
