#pragma once

#include <QString>
#include <QtGlobal>

#include <map>

class QFile;
class QIODevice;

namespace tiradex {

// One entry of an archive's central directory, as the reader uses it. The
// name is decoded (UTF-8 where valid, otherwise Windows-1252) with every
// "\" turned into "/".
struct ZipCentralEntry
{
    quint16 flags = 0;
    quint16 method = 0;
    quint32 crc = 0;
    quint32 compressedSize = 0;
    quint32 size = 0;
    quint32 localOffset = 0;
    QString name;
};

// The byte ranges of the archive (local header to end of data) that members
// extracted so far occupy. Two members sharing bytes is how "zip bombs"
// multiply a small archive into a huge extraction; no honest writer does it.
class ClaimedRanges
{
public:
    // Records [begin, end) and returns true, or returns false when it
    // overlaps a range recorded before.
    bool claim(qint64 begin, qint64 end);

private:
    std::map<qint64, qint64> m_ranges; // begin -> end
};

// Reads `length` bytes at `position` of `archive` into `buffer`; false (and
// nothing read) when the range is not wholly inside the file.
bool ReadArchiveBytes(QFile &archive, qint64 position, char *buffer, qint64 length);

enum class MemberResult
{
    Written,           // the target file now holds the member
    NoLocalHeader,     // no local header signature at the recorded offset
    UnsupportedMethod, // neither stored nor deflate
    BadData,           // sizes impossible, data cut short, overlapping, or CRC mismatch
    WriteFailed,       // the target folder refused the temporary file or the rename
};

// Copies the data of `entry` of `archive` into `out` (at its current
// position), checking sizes and CRC-32 as ExtractMemberTo does. On any
// result but Written, `out` may hold part of the data: the caller discards it.
MemberResult CopyMemberData(QFile &archive, const ZipCentralEntry &entry, QIODevice &out,
                            ClaimedRanges &claimed);

// Extracts `entry` of `archive` to `target`, which must not exist. The data
// stream through a temporary file in the target's folder (at most a few
// hundred kilobytes in memory whatever the member's size) that is renamed to
// `target` only once the size and the CRC-32 have been checked; on any
// failure no file is left. Never reads outside the archive.
//
// The CRC-32 and compressed size come from the local header, or from `entry`
// when the local header defers them to a data descriptor; the uncompressed
// size comes from `entry`. Members larger than ZipFormat::MaxMemberSize, or
// whose declared size the compressed data could not produce, are refused
// before anything is written.
MemberResult ExtractMemberTo(QFile &archive, const ZipCentralEntry &entry, const QString &target,
                             ClaimedRanges &claimed);

} // namespace tiradex
