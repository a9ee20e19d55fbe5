#pragma once

#include "core/transfer/ZipFile.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace tiradex {

// A ZIP archive being built: members are added one by one (each read and
// deflated at once and kept in memory), then the archive is written in one
// go. Layout per member: local header, stored name, raw deflate data; then
// the central directory in the same order; then the end record and the
// archive comment. Single disk, no extra fields, no data descriptors, no
// ZIP64.
//
// Names and comments are stored one byte per character in Windows-1252;
// characters that code page lacks are stored as "?".
//
// Failures are returned as false; errorString() then tells why.
class ZipClass
{
public:
    // Number of members added so far.
    int FileCount() const { return static_cast<int>(m_members.size()); }

    // Sets the archive comment written after the end record. A comment
    // longer than 65535 bytes makes WriteZip fail.
    void SetComment(const QString &comment);

    // Adds the file at `FilePath` as the next member. An empty `filename`
    // stores the member under the part of `FilePath` after its last "/";
    // otherwise `filename` is stored as given. A non-empty `Comment` becomes
    // the member comment. Returns false and adds nothing when the file is
    // missing, unreadable, empty or too large, when a name or comment is
    // longer than 65535 bytes, or when the archive already has 65535 members.
    bool AddFile(const QString &FilePath, const QString &filename = QString(),
                 const QString &Comment = QString());

    // Writes the archive to `FilePath`. When a file exists there and
    // `Overwrite` is false, nothing is written and the result is false. The
    // archive is written to a temporary file in the target's folder and
    // renamed over the target once complete, so a failed write leaves any
    // previous file untouched and never a partial archive. The members stay,
    // so a second call writes the same archive again. False also when the
    // archive would exceed the 4 GiB that its 32-bit offsets can address.
    bool WriteZip(const QString &FilePath, bool Overwrite = false);

    // Why the last AddFile or WriteZip failed.
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &text);

    std::vector<std::unique_ptr<ZipFile>> m_members;
    QByteArray m_comment;
    QString m_error;
};

} // namespace tiradex
