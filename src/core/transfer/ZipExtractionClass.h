#pragma once

#include "core/transfer/ZipMember.h"

#include <QFile>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace tiradex {

// Reads a ZIP archive (stored and deflate members, single disk) and extracts
// all its members into a folder, reporting through the Status, Progress and
// ZipError signals. One archive is open at a time; the file stays open from
// OpenZip until CloseZip (or the reader's end).
//
// Member names are read like the program's text files: valid UTF-8
// sequences as UTF-8, every other byte as one Windows-1252 character. Both
// "/" and "\" in a name separate folders. A name that is absolute, starts with a
// drive letter, climbs out with "..", or has no file part is never written;
// it raises ZipError 14 and the other members are still extracted.
//
// Errors raised through ZipError (the folder in texts is FolderPath without a
// trailing "/"):
//   2  "The file " + archive + " is not a Zip file"  (also a damaged central directory)
//   3  "There is no Zip File Open"
//   4  "The compression Method for " + name + " is unsupported"
//   5  "Data checksum error in " + target   (CRC, sizes or data do not agree)
//   10 "The file " + archive + " doesn't exist"
//   11 "The file " + folder + "/" + name + " already exists"
//   12 "Can't remove the file " + folder + "/" + name
//   13 "Can't create the folder " + folder
//   14 "The name " + name + " is not a file name inside " + folder
//   15 "Can't read the file " + archive
//   16 "Can't write the file " + target
class ZipExtractionClass : public QObject
{
    Q_OBJECT

public:
    enum ErrorNumber
    {
        NotAZipFile = 2,
        NoZipOpen = 3,
        UnsupportedMethod = 4,
        DataChecksumError = 5,
        ArchiveMissing = 10,
        FileExists = 11,
        CannotRemoveFile = 12,
        CannotCreateFolder = 13,
        UnsafeName = 14,
        CannotReadArchive = 15,
        CannotWriteFile = 16,
    };

    explicit ZipExtractionClass(QObject *parent = nullptr);
    // Closes the archive without raising Status.
    ~ZipExtractionClass() override;

    // Closes any open archive, then opens the one at `ZipPath` and looks for
    // its end record in the last 65557 bytes (the record and the longest
    // comment), nearest the end first. True when it was found; otherwise
    // *error (when given) holds the text raised with ZipError. A file that
    // exists but holds no end record stays open until CloseZip, and Extract
    // then reports error 3.
    bool OpenZip(const QString &ZipPath, QString *error = nullptr);

    // Closes the open archive, if any ("Zip Closed"), and forgets its end record.
    void CloseZip();

    // Extracts every member of the open archive into `FolderPath`, which is
    // created (one level) when missing. `PreservePath` keeps the members'
    // folders (creating them under FolderPath); otherwise each member goes
    // directly into FolderPath under the last part of its name. `Overwrite`
    // replaces existing files; otherwise they are left and error 11 raised.
    // Zero-length members are skipped. Each member is written through a
    // temporary file renamed into place, so a failed member leaves no file.
    // Returns false when no archive is open, the folder cannot be created,
    // the archive spans disks, the central directory is damaged, a file
    // cannot be written, or a Progress handler cancels; members that fail
    // with errors 4, 5, 11, 12, 13 or 14 leave the result true.
    bool Extract(const QString &FolderPath, bool PreservePath, bool Overwrite);

    // The members of the open archive as its central directory lists them,
    // read without touching any member's data and without handling events.
    // nullopt when no archive is open (error 3), or when the archive spans
    // disks or its directory is damaged (error 2); *error (when given) then
    // holds the text raised with ZipError.
    std::optional<QList<ZipCentralEntry>> ReadDirectory(QString *error = nullptr);

    // Copies one member listed by ReadDirectory into `out` or into the file
    // `target` (see CopyMemberData and ExtractMemberTo). No signal is raised:
    // the caller reports the result.
    MemberResult ReadMember(const ZipCentralEntry &entry, QIODevice &out, ClaimedRanges &claimed);
    MemberResult ExtractMember(const ZipCentralEntry &entry, const QString &target,
                               ClaimedRanges &claimed);

    // zlib's version text.
    QString ZLibVersion() const;

Q_SIGNALS:
    void Status(const QString &Text);
    // Raised once per member; a handler sets *Cancel to true to stop.
    void Progress(int Percent, bool *Cancel);
    void ZipError(int Number, const QString &Description);

private:
    // Raises ZipError and copies its text to *error when given; false.
    bool fail(ErrorNumber number, const QString &text, QString *error);
    bool readCentralEntry(qint64 *position, ZipCentralEntry *entry);
    // False only when the whole extraction must stop (a write failure).
    bool extractEntry(ZipCentralEntry &entry, const QString &folder, bool preservePath,
                      bool overwrite, ClaimedRanges &claimed);
    bool createFolders(const QString &folder, const QString &name);

    QFile m_file;
    QString m_path;
    qint64 m_endPosition = 0; // 1-based position of the end record; 0 for none
    quint64 m_generation = 0; // changes whenever an archive is opened or closed
};

} // namespace tiradex
