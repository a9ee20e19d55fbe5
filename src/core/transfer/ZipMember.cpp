#include "core/transfer/ZipMember.h"

#include "core/transfer/ZipFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <zlib.h>

#include <memory>

namespace tiradex {

using namespace ZipFormat;

namespace {
constexpr qint64 kInputChunk = 128 * 1024;
constexpr qint64 kOutputChunk = 256 * 1024;

// Copies the member's data from the archive's current position to `out`,
// stopping as soon as the output would exceed `size`. Written when exactly
// `size` bytes with the CRC-32 `crc` came out.
class MemberCopy
{
public:
    MemberCopy(QFile &archive, QIODevice &out, quint32 size, quint32 crc)
        : m_archive(archive), m_out(out), m_size(size), m_crc(crc)
    {
    }

    MemberResult stored(qint64 compressedSize)
    {
        if (compressedSize != m_size)
            return MemberResult::BadData;
        const auto buffer = std::make_unique_for_overwrite<char[]>(kOutputChunk);
        qint64 left = compressedSize;
        while (left > 0) {
            const qint64 n = m_archive.read(buffer.get(), qMin(left, kOutputChunk));
            if (n <= 0)
                return MemberResult::BadData;
            left -= n;
            if (!deliver(buffer.get(), n))
                return m_result;
        }
        return finish();
    }

    MemberResult deflated(qint64 compressedSize)
    {
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            return MemberResult::BadData;
        const std::unique_ptr<z_stream, int (*)(z_stream *)> guard(&z, inflateEnd);
        const auto input = std::make_unique_for_overwrite<char[]>(kInputChunk);
        const auto output = std::make_unique_for_overwrite<char[]>(kOutputChunk);
        qint64 left = compressedSize;
        int rc = Z_OK;
        bool outputFull = false; // inflate may hold output without needing input
        while (rc != Z_STREAM_END) {
            if (z.avail_in == 0 && !outputFull) {
                if (left == 0)
                    return MemberResult::BadData; // stream cut short
                const qint64 n = m_archive.read(input.get(), qMin(left, kInputChunk));
                if (n <= 0)
                    return MemberResult::BadData;
                left -= n;
                z.next_in = reinterpret_cast<Bytef *>(input.get());
                z.avail_in = static_cast<uInt>(n);
            }
            z.next_out = reinterpret_cast<Bytef *>(output.get());
            z.avail_out = static_cast<uInt>(kOutputChunk);
            rc = inflate(&z, Z_NO_FLUSH);
            // Z_BUF_ERROR only means "no progress"; with input left and a
            // fresh output buffer that cannot happen to a sound stream.
            if (rc == Z_BUF_ERROR ? z.avail_in != 0 : (rc != Z_OK && rc != Z_STREAM_END))
                return MemberResult::BadData;
            outputFull = z.avail_out == 0;
            if (!deliver(output.get(), kOutputChunk - z.avail_out))
                return m_result;
        }
        return finish();
    }

private:
    bool deliver(const char *data, qint64 length)
    {
        if (length > qint64(m_size) - m_written) {
            m_result = MemberResult::BadData; // more data than declared
            return false;
        }
        if (m_out.write(data, length) != length) {
            m_result = MemberResult::WriteFailed;
            return false;
        }
        m_written += length;
        m_running =
            crc32(m_running, reinterpret_cast<const Bytef *>(data), static_cast<uInt>(length));
        return true;
    }

    MemberResult finish() const
    {
        if (m_written != qint64(m_size) || m_running != m_crc)
            return MemberResult::BadData;
        return MemberResult::Written;
    }

    QFile &m_archive;
    QIODevice &m_out;
    quint32 m_size;
    quint32 m_crc;
    qint64 m_written = 0;
    uLong m_running = crc32(0, nullptr, 0);
    MemberResult m_result = MemberResult::Written;
};
} // namespace

bool ReadArchiveBytes(QFile &archive, qint64 position, char *buffer, qint64 length)
{
    if (position < 0 || length < 0 || position > archive.size() - length)
        return false;
    return archive.seek(position) && archive.read(buffer, length) == length;
}

bool ClaimedRanges::claim(qint64 begin, qint64 end)
{
    auto next = m_ranges.lower_bound(begin);
    if (next != m_ranges.end() && next->first < end)
        return false;
    if (next != m_ranges.begin() && std::prev(next)->second > begin)
        return false;
    m_ranges.emplace(begin, end);
    return true;
}

MemberResult CopyMemberData(QFile &archive, const ZipCentralEntry &entry, QIODevice &out,
                            ClaimedRanges &claimed)
{
    char header[LocalHeaderSize];
    if (!ReadArchiveBytes(archive, entry.localOffset, header, LocalHeaderSize) ||
        ReadLe32(header) != LocalSignature)
        return MemberResult::NoLocalHeader;
    if (entry.method != MethodStored && entry.method != MethodDeflate)
        return MemberResult::UnsupportedMethod;

    const bool deferred = (ReadLe16(header + 6) & FlagDataDescriptor) != 0;
    const quint32 crc = deferred ? entry.crc : ReadLe32(header + 14);
    const qint64 compressedSize = deferred ? entry.compressedSize : ReadLe32(header + 18);
    const qint64 dataStart =
        qint64(entry.localOffset) + LocalHeaderSize + ReadLe16(header + 26) + ReadLe16(header + 28);
    const qint64 dataEnd = dataStart + compressedSize;
    // Every size is checked against what the archive can hold before a byte
    // is written, so a forged header cannot make us fill memory or the disk.
    if (entry.size > MaxMemberSize || dataEnd > archive.size())
        return MemberResult::BadData;
    if (entry.method == MethodDeflate && entry.size > (compressedSize + 1) * MaxDeflateRatio)
        return MemberResult::BadData;
    if (!claimed.claim(entry.localOffset, dataEnd) || !archive.seek(dataStart))
        return MemberResult::BadData;

    MemberCopy copy(archive, out, entry.size, crc);
    return entry.method == MethodStored ? copy.stored(compressedSize)
                                        : copy.deflated(compressedSize);
}

MemberResult ExtractMemberTo(QFile &archive, const ZipCentralEntry &entry, const QString &target,
                             ClaimedRanges &claimed)
{
    // A short fixed name keeps the temporary file creatable whatever the
    // length of the member's own name.
    QTemporaryFile temporary(QFileInfo(target).path() + QStringLiteral("/.unzip-XXXXXX"));
    if (!temporary.open())
        return MemberResult::WriteFailed;
    const MemberResult result = CopyMemberData(archive, entry, temporary, claimed);
    if (result != MemberResult::Written)
        return result; // the temporary file removes itself
    temporary.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (!temporary.flush() || !temporary.rename(target))
        return MemberResult::WriteFailed;
    temporary.setAutoRemove(false);
    return MemberResult::Written;
}

} // namespace tiradex
