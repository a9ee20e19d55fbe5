#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace tiradex {

// One member of an archive being written (used by ZipClass). Everything the
// headers need is fixed by Prepare: stored name, DOS time and date, CRC-32,
// sizes and the raw deflate data, which stay in memory until the member is
// released.
//
// Names and comments are stored one byte per character in Windows-1252;
// characters that code page lacks are stored as "?".
class ZipFile
{
public:
    // Reads the file at `path` and deflates it (raw deflate at zlib's default
    // level, the bytes zlib's compress() yields without its 2-byte header and
    // 4-byte trailer). The stored name becomes the part of `path` after its
    // last "/" (the whole path when it has none); the time and date are the
    // file's last modification in local time. Fails with `error` set when the
    // file is missing, is not a regular file, cannot be read, is empty or is
    // larger than ZipFormat::MaxMemberSize.
    bool Prepare(const QString &path, QString *error);

    // Replaces the stored name; `name` is kept as given.
    void SetName(const QString &name);
    // Sets the member comment written after the central header.
    void SetComment(const QString &comment);

    const QByteArray &StoredName() const { return m_name; }
    const QByteArray &StoredComment() const { return m_comment; }

    // Bytes that WriteLocal / WriteCentral write.
    qint64 LocalSize() const;
    qint64 CentralSize() const;

    // Writes the local header, the name and the compressed data, and
    // remembers `offset` (where the local header starts in the archive) for
    // the central header. False when the device refuses a write.
    bool WriteLocal(QIODevice &out, quint32 offset);
    // Writes the central header, the name and the member comment.
    bool WriteCentral(QIODevice &out) const;

private:
    QByteArray m_name;
    QByteArray m_comment;
    QByteArray m_data; // raw deflate stream
    quint32 m_crc = 0;
    quint32 m_size = 0;
    quint16 m_time = 0;
    quint16 m_date = 0;
    quint32 m_localOffset = 0;
};

} // namespace tiradex
