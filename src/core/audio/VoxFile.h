#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tiradex {

// Reading vox files. A vox file is an archive that holds a take under the
// member name "temp.wav" and its duration record under the reply's base name
// with ".tsd". Vox files arrive from other people's media, so they are read
// as untrusted input: only those two members are ever read, matched by their
// bare names (a member with a folder part is not one of them), and written
// under names of our own, never under a name taken from the archive.

// Extracts the take of the vox file `voxPath` to `folder` + "temp.wav" and
// its duration record `baseName` + ".tsd" to `folder` + that name (`folder`
// ends with "/"), replacing files of those names. Every other member is left
// unread; no window event is handled meanwhile. Sizes are bounded and CRCs
// checked; a damaged member is not written. True when a non-empty take was
// written; otherwise *error says why (no vox file, not an archive, no take,
// or a damaged take).
bool ExtractVoxTake(const QString &voxPath, const QString &folder, const QString &baseName,
                    QString *error);

// The duration record `baseName` + ".tsd" of the vox file `voxPath`, read
// into memory without inflating the take. nullopt, with *error set, when the
// file is not a readable archive, holds no such record, the record is
// damaged or longer than a record can be.
std::optional<QByteArray> ReadVoxDurationRecord(const QString &voxPath, const QString &baseName,
                                                QString *error);

} // namespace tiradex
