#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtEndian>

namespace tiradex {

// The member names of a ZIP archive in the order of its local headers:
// signature PK\3\4, compressed size at offset 18, name length at 26, extra
// length at 28, name at 30, then the data.
inline QStringList LocalHeaderNames(const QByteArray &zip)
{
    QStringList names;
    qsizetype at = 0;
    while (at + 30 <= zip.size() && zip.mid(at, 4) == QByteArray("PK\x03\x04", 4)) {
        const auto *header = reinterpret_cast<const uchar *>(zip.constData() + at);
        const quint32 compressed = qFromLittleEndian<quint32>(header + 18);
        const quint16 nameLength = qFromLittleEndian<quint16>(header + 26);
        const quint16 extraLength = qFromLittleEndian<quint16>(header + 28);
        names.append(QString::fromLatin1(zip.mid(at + 30, nameLength)));
        at += 30 + nameLength + extraLength + compressed;
    }
    return names;
}

} // namespace tiradex
