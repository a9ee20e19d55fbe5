#include "core/transfer/ZipExtractionClass.h"

#include "core/app/TextCodec.h"
#include "core/transfer/TransferTexts.h"
#include "core/transfer/ZipFormat.h"
#include "core/transfer/ZipMember.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <zlib.h>

#include <memory>

namespace tiradex {

using namespace ZipFormat;

namespace {
// True when `name` (separators already "/") names a file inside the folder
// it is extracted to. Checked whatever PreservePath says: such a name only
// comes from a damaged or hostile archive.
bool isSafeName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QChar(0)))
        return false;
    if (name.size() >= 2 && name.at(1) == QLatin1Char(':') && name.at(0).isLetter())
        return false;
    const QStringList parts = name.split(QLatin1Char('/'));
    for (const QString &part : parts) {
        if (part == QLatin1String(".."))
            return false;
    }
    return !parts.last().isEmpty() && parts.last() != QLatin1String(".");
}

// i / total * 100 rounded to the nearest integer, halves to even.
int percentOf(qint64 i, qint64 total)
{
    const qint64 quotient = i * 100 / total;
    const qint64 twiceRemainder = 2 * (i * 100 % total);
    if (twiceRemainder > total || (twiceRemainder == total && quotient % 2 == 1))
        return static_cast<int>(quotient + 1);
    return static_cast<int>(quotient);
}

// Names read as the program reads text: valid UTF-8 sequences as UTF-8 (what
// Info-ZIP and Python store on Linux), every other byte as Windows-1252 (what
// the writer and older installations store). Both separators become "/".
QString decodeName(const QByteArray &bytes)
{
    QString name = DecodeText(bytes);
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name;
}
} // namespace

ZipExtractionClass::ZipExtractionClass(QObject *parent) : QObject(parent) {}

ZipExtractionClass::~ZipExtractionClass()
{
    m_file.close();
}

QString ZipExtractionClass::ZLibVersion() const
{
    const char *version = zlibVersion();
    return version ? QString::fromLatin1(version) : QString();
}

void ZipExtractionClass::CloseZip()
{
    ++m_generation;
    m_endPosition = 0;
    if (m_file.isOpen()) {
        m_file.close();
        Q_EMIT Status(QStringLiteral("Zip Closed"));
    }
}

bool ZipExtractionClass::fail(ErrorNumber number, const QString &text, QString *error)
{
    if (error)
        *error = text;
    Q_EMIT ZipError(number, text);
    return false;
}

bool ZipExtractionClass::OpenZip(const QString &ZipPath, QString *error)
{
    Q_EMIT Status(QStringLiteral("Opening Zip"));
    CloseZip();
    const QFileInfo info(ZipPath);
    if (!info.exists())
        return fail(ArchiveMissing, QStringLiteral("The file %1 doesn't exist").arg(ZipPath),
                    error);
    m_file.setFileName(ZipPath);
    if (!info.isFile() || !m_file.open(QIODevice::ReadOnly))
        return fail(CannotReadArchive, QStringLiteral("Can't read the file %1").arg(ZipPath),
                    error);
    m_path = ZipPath;
    // The end record and its comment fill at most the last 65557 bytes, so
    // that tail is all that needs reading. The search starts where a whole
    // 22-byte record still fits and moves towards the start of the file.
    const qint64 size = m_file.size();
    const qint64 tailStart = qMax<qint64>(0, size - EndRecordSearchSpan);
    QByteArray tail(size - tailStart, Qt::Uninitialized);
    if (ReadArchiveBytes(m_file, tailStart, tail.data(), tail.size())) {
        for (qint64 at = tail.size() - EndRecordSize; at >= 0; --at) {
            if (ReadLe32(tail.constData() + at) == EndSignature) {
                m_endPosition = tailStart + at + 1;
                break;
            }
        }
    }
    if (m_endPosition == 0)
        return fail(NotAZipFile, TransferTexts::ZipNotAZipFile(ZipPath), error);
    Q_EMIT Status(QStringLiteral("Zip Opened"));
    return true;
}

bool ZipExtractionClass::readCentralEntry(qint64 *position, ZipCentralEntry *entry)
{
    char header[CentralHeaderSize];
    if (!ReadArchiveBytes(m_file, *position, header, CentralHeaderSize) ||
        ReadLe32(header) != CentralSignature)
        return false;
    const quint16 nameLength = ReadLe16(header + 28);
    const qint64 variableLength =
        qint64(nameLength) + ReadLe16(header + 30) + ReadLe16(header + 32);
    QByteArray name(nameLength, Qt::Uninitialized);
    if (!ReadArchiveBytes(m_file, *position + CentralHeaderSize, name.data(), nameLength) ||
        *position + CentralHeaderSize + variableLength > m_file.size())
        return false;
    entry->flags = ReadLe16(header + 8);
    entry->method = ReadLe16(header + 10);
    entry->crc = ReadLe32(header + 16);
    entry->compressedSize = ReadLe32(header + 20);
    entry->size = ReadLe32(header + 24);
    entry->localOffset = ReadLe32(header + 42);
    entry->name = decodeName(name);
    *position += CentralHeaderSize + variableLength;
    return true;
}

bool ZipExtractionClass::createFolders(const QString &folder, const QString &name)
{
    const QStringList parts = name.split(QLatin1Char('/'));
    QString path = folder;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        if (parts.at(i).isEmpty())
            continue;
        path += QLatin1Char('/') + parts.at(i);
        if (!QFileInfo(path).isDir() && !QDir().mkdir(path)) {
            Q_EMIT ZipError(CannotCreateFolder,
                            QStringLiteral("Can't create the folder %1").arg(path));
            return false;
        }
    }
    return true;
}

bool ZipExtractionClass::extractEntry(ZipCentralEntry &entry, const QString &folder,
                                      bool preservePath, bool overwrite, ClaimedRanges &claimed)
{
    QString &name = entry.name;
    if (!isSafeName(name)) {
        Q_EMIT ZipError(
            UnsafeName,
            QStringLiteral("The name %1 is not a file name inside %2").arg(name, folder));
        return true;
    }
    if (preservePath) {
        if (!createFolders(folder, name))
            return true;
    } else {
        name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    }
    Q_EMIT Status(QStringLiteral("Extracting .../") + name);
    const QString target = folder + QLatin1Char('/') + name;
    const QFileInfo existing(target);
    if (existing.exists() || existing.isSymLink()) {
        if (!overwrite) {
            Q_EMIT ZipError(FileExists, QStringLiteral("The file %1 already exists").arg(target));
            return true;
        }
        if (!QFile::remove(target)) {
            Q_EMIT ZipError(CannotRemoveFile,
                            QStringLiteral("Can't remove the file %1").arg(target));
            return true;
        }
    }
    switch (ExtractMemberTo(m_file, entry, target, claimed)) {
    case MemberResult::Written:
    case MemberResult::NoLocalHeader:
        return true;
    case MemberResult::UnsupportedMethod:
        Q_EMIT ZipError(UnsupportedMethod,
                        QStringLiteral("The compression Method for %1 is unsupported").arg(name));
        return true;
    case MemberResult::BadData:
        Q_EMIT ZipError(DataChecksumError, QStringLiteral("Data checksum error in %1").arg(target));
        return true;
    case MemberResult::WriteFailed:
        Q_EMIT ZipError(CannotWriteFile, QStringLiteral("Can't write the file %1").arg(target));
        return false;
    }
    return true;
}

std::optional<QList<ZipCentralEntry>> ZipExtractionClass::ReadDirectory(QString *error)
{
    if (m_endPosition == 0) {
        fail(NoZipOpen, TransferTexts::ZipNoneOpen, error);
        return std::nullopt;
    }
    char end[EndRecordSize];
    QList<ZipCentralEntry> entries;
    bool sound = ReadArchiveBytes(m_file, m_endPosition - 1, end, EndRecordSize) &&
                 ReadLe16(end + 4) == ReadLe16(end + 6);
    if (sound) {
        const int total = ReadLe16(end + 10);
        qint64 position = ReadLe32(end + 16);
        entries.resize(total);
        for (int i = 0; i < total && sound; ++i)
            sound = readCentralEntry(&position, &entries[i]);
    }
    if (!sound) {
        fail(NotAZipFile, TransferTexts::ZipNotAZipFile(m_path), error);
        return std::nullopt;
    }
    return entries;
}

MemberResult ZipExtractionClass::ReadMember(const ZipCentralEntry &entry, QIODevice &out,
                                            ClaimedRanges &claimed)
{
    return CopyMemberData(m_file, entry, out, claimed);
}

MemberResult ZipExtractionClass::ExtractMember(const ZipCentralEntry &entry, const QString &target,
                                               ClaimedRanges &claimed)
{
    return ExtractMemberTo(m_file, entry, target, claimed);
}

bool ZipExtractionClass::Extract(const QString &FolderPath, bool PreservePath, bool Overwrite)
{
    if (ZLibVersion().isEmpty())
        return false;
    Q_EMIT Status(QStringLiteral("Extracting Files"));
    if (m_endPosition == 0) {
        Q_EMIT ZipError(NoZipOpen, TransferTexts::ZipNoneOpen);
        return false;
    }
    QString folder = FolderPath;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder)) {
        Q_EMIT ZipError(CannotCreateFolder,
                        QStringLiteral("Can't create the folder %1").arg(folder));
        return false;
    }
    if (folder == QLatin1String("/"))
        folder.clear(); // members then join as "/name"

    char end[EndRecordSize];
    if (!ReadArchiveBytes(m_file, m_endPosition - 1, end, EndRecordSize)) {
        Q_EMIT ZipError(NotAZipFile, TransferTexts::ZipNotAZipFile(m_path));
        return false;
    }
    if (ReadLe16(end + 4) != ReadLe16(end + 6)) {
        Q_EMIT Status(TransferTexts::ZipExtractionComplete);
        return false;
    }
    const int total = ReadLe16(end + 10);
    qint64 position = ReadLe32(end + 16);
    const quint64 generation = m_generation;
    ClaimedRanges claimed;
    for (int i = 1; i <= total; ++i) {
        ZipCentralEntry entry;
        if (!readCentralEntry(&position, &entry)) {
            Q_EMIT ZipError(NotAZipFile, TransferTexts::ZipNotAZipFile(m_path));
            return false;
        }
        if (entry.size >= 1 && !extractEntry(entry, folder, PreservePath, Overwrite, claimed))
            return false;
        // The window repaints meanwhile, but no click or key runs inside the
        // extraction: the caller's step is not re-entered.
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        bool cancel = false;
        Q_EMIT Progress(percentOf(i, total), &cancel);
        // A handler may also have closed or replaced the archive meanwhile.
        if (cancel || generation != m_generation)
            return false;
    }
    Q_EMIT Status(TransferTexts::ZipExtractionComplete);
    return true;
}

} // namespace tiradex
