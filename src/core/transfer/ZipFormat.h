#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QtGlobal>

namespace tiradex {

// The single-disk ZIP layout that the archive writer produces and the reader
// accepts: local header + name + data per member, then the central directory,
// then the end record. Every number is little-endian.
namespace ZipFormat {

constexpr quint32 LocalSignature = 0x04034B50;
constexpr quint32 CentralSignature = 0x02014B50;
constexpr quint32 EndSignature = 0x06054B50;

constexpr int LocalHeaderSize = 30;
constexpr int CentralHeaderSize = 46;
constexpr int EndRecordSize = 22;
// Names, extra fields and comments have 16-bit length fields.
constexpr int MaxFieldLength = 0xFFFF;
// How far from the end of the file an end record can begin: the record
// itself plus the longest archive comment.
constexpr int EndRecordSearchSpan = EndRecordSize + MaxFieldLength;

constexpr quint16 MethodStored = 0;
constexpr quint16 MethodDeflate = 8;
// General purpose flag bit 3: CRC and sizes follow the data and the local
// header holds zeros; the central header holds the true values.
constexpr quint16 FlagDataDescriptor = 0x0008;

// The largest member (uncompressed) that is written or extracted. A take of
// the longest allowed length is a few tens of megabytes; anything larger is
// refused instead of filling memory or the disk.
constexpr qint64 MaxMemberSize = qint64(1) << 30;
// Deflate cannot expand data by more than this factor (1032:1 is its limit),
// so a declared size beyond it cannot come from the stored data.
constexpr qint64 MaxDeflateRatio = 1032;

// A modification time in the DOS form of the headers.
struct DosDateTime
{
    quint16 time = 0; // hour * 2048 + minute * 32 + second / 2
    quint16 date = 0; // (year - 1980) * 512 + month * 32 + day
};

// The DOS time and date of `local` (a local date and time). Dates before
// 1 January 1980 become that day at 00:00:00, dates after 2107 (the last year
// the 7-bit year field holds) become 31 December 2107 23:59:58.
DosDateTime ToDosDateTime(const QDateTime &local);

inline quint16 ReadLe16(const char *p)
{
    const auto *b = reinterpret_cast<const unsigned char *>(p);
    return static_cast<quint16>(b[0] | (b[1] << 8));
}

inline quint32 ReadLe32(const char *p)
{
    const auto *b = reinterpret_cast<const unsigned char *>(p);
    return quint32(b[0]) | (quint32(b[1]) << 8) | (quint32(b[2]) << 16) | (quint32(b[3]) << 24);
}

inline void AppendLe16(QByteArray &out, quint16 value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

inline void AppendLe32(QByteArray &out, quint32 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(static_cast<char>((value >> shift) & 0xFF));
}

} // namespace ZipFormat

} // namespace tiradex
