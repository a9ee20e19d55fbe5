#pragma once

// Builds ZIP archives byte by byte with every field under the test's control,
// so that tests can forge the damaged and hostile archives a reader must
// survive. Independent of the product's writer on purpose.

#include <QByteArray>
#include <QList>
#include <QRegularExpression>
#include <QString>

#include <optional>

#include <zlib.h>

namespace tiradex::ZipTest {

inline void put16(QByteArray &out, quint32 v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

inline void put32(QByteArray &out, quint32 v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

inline quint16 get16(const QByteArray &b, qsizetype at)
{
    return quint16(quint8(b.at(at)) | (quint8(b.at(at + 1)) << 8));
}

inline quint32 get32(const QByteArray &b, qsizetype at)
{
    return quint32(get16(b, at)) | (quint32(get16(b, at + 2)) << 16);
}

inline quint32 crcOf(const QByteArray &data)
{
    return quint32(crc32(0, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
}

// Raw deflate at zlib's default level: qCompress's stream without its
// 4-byte length, 2-byte zlib header and 4-byte Adler-32 trailer.
inline QByteArray rawDeflate(const QByteArray &data)
{
    const QByteArray wrapped = qCompress(data);
    return wrapped.mid(6, wrapped.size() - 10);
}

struct Member
{
    QByteArray name;
    QByteArray content; // uncompressed
    quint16 method = 8;
    quint16 flags = 0;
    // Field overrides; unset means the true value.
    std::optional<QByteArray> data{}; // bytes after the local header
    std::optional<quint32> crc{};
    std::optional<quint32> compressedSize{};
    std::optional<quint32> size{};
    std::optional<quint32> localOffset{};
    quint32 localSignature = 0x04034B50;
    bool zeroLocalSizes = false; // CRC and sizes only in the central header

    QByteArray payload() const
    {
        return data ? *data : method == 8 ? rawDeflate(content) : content;
    }
};

inline Member member(const QByteArray &name, const QByteArray &content, quint16 method = 8)
{
    return Member{.name = name, .content = content, .method = method};
}

struct Archive
{
    Archive() = default;
    Archive(QList<Member> list) : members(std::move(list)) {}

    QList<Member> members;
    QByteArray comment;
    std::optional<quint16> entryCount;
    std::optional<quint32> centralOffset;
    quint16 diskNumber = 0;
    quint16 centralDisk = 0;

    QByteArray build() const
    {
        QByteArray out;
        QByteArray central;
        // Version needed to extra length: the same in both headers, except
        // that the local one may defer CRC and sizes.
        const auto common = [](QByteArray &to, const Member &m, bool zeroSizes) {
            for (const quint32 v : {20u, quint32(m.flags), quint32(m.method), 0x6DADu, 0x3065u})
                put16(to, v);
            put32(to, zeroSizes ? 0 : m.crc.value_or(crcOf(m.content)));
            put32(to, zeroSizes ? 0 : m.compressedSize.value_or(quint32(m.payload().size())));
            put32(to, zeroSizes ? 0 : m.size.value_or(quint32(m.content.size())));
            put16(to, quint32(m.name.size()));
            put16(to, 0);
        };
        for (const Member &m : members) {
            put32(central, 0x02014B50);
            put16(central, 20);
            common(central, m, false);
            for (const quint32 v : {0u, 0u, 32u}) // comment length, disk, internal attributes
                put16(central, v);
            put32(central, 0);
            put32(central, m.localOffset.value_or(quint32(out.size())));
            central.append(m.name);
            put32(out, m.localSignature);
            common(out, m, m.zeroLocalSizes);
            out.append(m.name + m.payload());
        }
        const quint32 centralStart = quint32(out.size());
        out.append(central);
        put32(out, 0x06054B50);
        const quint16 count = entryCount.value_or(quint16(members.size()));
        for (const quint16 v : {diskNumber, centralDisk, count, count})
            put16(out, v);
        put32(out, quint32(central.size()));
        put32(out, centralOffset.value_or(centralStart));
        put16(out, quint32(comment.size()));
        return out + comment;
    }
};

// Reads bytes from hand-written text: hex pairs, "quoted" ASCII text, and
// "#" comments to the end of the line.
inline QByteArray parseHexListing(const QByteArray &text)
{
    static const QRegularExpression token(QStringLiteral("\"([^\"]*)\"|#[^\n]*|([0-9A-Fa-f]{2})"));
    QByteArray out;
    for (const QRegularExpressionMatch &m : token.globalMatch(QString::fromLatin1(text)))
        out += m.hasCaptured(1) ? m.captured(1).toLatin1()
                                : QByteArray::fromHex(m.captured(2).toLatin1());
    return out;
}

} // namespace tiradex::ZipTest
