#include "core/transfer/ZipFile.h"

#include "core/app/TextCodec.h"
#include "core/transfer/ZipFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <zlib.h>

#include <memory>

namespace tiradex {

using namespace ZipFormat;

namespace {
constexpr quint16 kVersion = 20;
constexpr quint16 kFlags = 2;
constexpr quint16 kInternalAttributes = 32;
constexpr qint64 kReadChunk = 1 << 20;

struct DeflateStream
{
    z_stream z{};
    bool ready = false;
    ~DeflateStream()
    {
        if (ready)
            deflateEnd(&z);
    }
};
} // namespace

bool ZipFile::Prepare(const QString &path, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("The file %1 does not exist.").arg(path));
    if (!info.isFile())
        return fail(QStringLiteral("%1 is not a file.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read the file %1: %2").arg(path, file.errorString()));
    if (file.size() > MaxMemberSize)
        return fail(QStringLiteral("The file %1 is too large for an archive member (%2 bytes, at "
                                   "most %3).")
                        .arg(path)
                        .arg(file.size())
                        .arg(MaxMemberSize));

    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    SetName(slash < 0 ? path : path.mid(slash + 1));
    const DosDateTime dos = ToDosDateTime(info.lastModified());
    m_time = dos.time;
    m_date = dos.date;

    // Raw deflate (negative window bits) gives the stream that compress()
    // would wrap in its header and trailer; fed in chunks, deflate produces
    // the same bytes as in one call, without holding the whole file.
    DeflateStream stream;
    if (deflateInit2(&stream.z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        return fail(QStringLiteral("The compressor could not be started."));
    stream.ready = true;

    const qint64 expected = file.size();
    QByteArray data;
    data.resize(static_cast<qsizetype>(deflateBound(&stream.z, static_cast<uLong>(expected))));
    const auto chunk = std::make_unique_for_overwrite<char[]>(kReadChunk);
    uLong crc = crc32(0, nullptr, 0);
    qint64 total = 0;
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
        const qint64 n = file.read(chunk.get(), kReadChunk);
        if (n < 0)
            return fail(
                QStringLiteral("Cannot read the file %1: %2").arg(path, file.errorString()));
        total += n;
        if (total > MaxMemberSize)
            return fail(QStringLiteral("The file %1 grew beyond %2 bytes while it was read.")
                            .arg(path)
                            .arg(MaxMemberSize));
        crc = crc32(crc, reinterpret_cast<const Bytef *>(chunk.get()), static_cast<uInt>(n));
        flush = (n == 0) ? Z_FINISH : Z_NO_FLUSH;
        stream.z.next_in = reinterpret_cast<Bytef *>(chunk.get());
        stream.z.avail_in = static_cast<uInt>(n);
        int rc = Z_OK;
        do {
            if (stream.z.total_out == static_cast<uLong>(data.size()))
                data.resize(data.size() + data.size() / 2 + 4096);
            stream.z.next_out = reinterpret_cast<Bytef *>(data.data()) + stream.z.total_out;
            stream.z.avail_out = static_cast<uInt>(data.size() - stream.z.total_out);
            rc = deflate(&stream.z, flush);
            if (rc == Z_STREAM_ERROR)
                return fail(QStringLiteral("The file %1 could not be compressed.").arg(path));
        } while (stream.z.avail_in > 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
    }
    if (total == 0)
        return fail(QStringLiteral("The file %1 is empty; an archive member needs at least one "
                                   "byte.")
                        .arg(path));
    data.resize(static_cast<qsizetype>(stream.z.total_out));
    data.squeeze();
    m_data = std::move(data);
    m_crc = static_cast<quint32>(crc);
    m_size = static_cast<quint32>(total);
    return true;
}

void ZipFile::SetName(const QString &name)
{
    m_name = EncodeWindows1252(name);
}

void ZipFile::SetComment(const QString &comment)
{
    m_comment = EncodeWindows1252(comment);
}

qint64 ZipFile::LocalSize() const
{
    return LocalHeaderSize + m_name.size() + m_data.size();
}

qint64 ZipFile::CentralSize() const
{
    return CentralHeaderSize + m_name.size() + m_comment.size();
}

namespace {
// The fields that the local and the central header share, from "version
// needed to extract" to "extra field length".
void appendCommonFields(QByteArray &out, quint16 time, quint16 date, quint32 crc,
                        quint32 compressed, quint32 size, quint16 nameLength)
{
    AppendLe16(out, kVersion);
    AppendLe16(out, kFlags);
    AppendLe16(out, MethodDeflate);
    AppendLe16(out, time);
    AppendLe16(out, date);
    AppendLe32(out, crc);
    AppendLe32(out, compressed);
    AppendLe32(out, size);
    AppendLe16(out, nameLength);
    AppendLe16(out, 0);
}
} // namespace

bool ZipFile::WriteLocal(QIODevice &out, quint32 offset)
{
    m_localOffset = offset;
    QByteArray header;
    header.reserve(LocalHeaderSize + m_name.size());
    AppendLe32(header, LocalSignature);
    appendCommonFields(header, m_time, m_date, m_crc, static_cast<quint32>(m_data.size()), m_size,
                       static_cast<quint16>(m_name.size()));
    header.append(m_name);
    return out.write(header) == header.size() && out.write(m_data) == m_data.size();
}

bool ZipFile::WriteCentral(QIODevice &out) const
{
    QByteArray header;
    header.reserve(CentralHeaderSize + m_name.size() + m_comment.size());
    AppendLe32(header, CentralSignature);
    AppendLe16(header, kVersion); // made by: version 2.0, high byte 0
    appendCommonFields(header, m_time, m_date, m_crc, static_cast<quint32>(m_data.size()), m_size,
                       static_cast<quint16>(m_name.size()));
    AppendLe16(header, static_cast<quint16>(m_comment.size()));
    AppendLe16(header, 0); // disk number start
    AppendLe16(header, kInternalAttributes);
    AppendLe32(header, 0); // external attributes
    AppendLe32(header, m_localOffset);
    header.append(m_name);
    header.append(m_comment);
    return out.write(header) == header.size();
}

} // namespace tiradex
