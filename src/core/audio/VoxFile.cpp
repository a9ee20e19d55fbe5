#include "core/audio/VoxFile.h"

#include "core/transfer/ZipExtractionClass.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace tiradex {

namespace {
const QString TakeMember = QStringLiteral("temp.wav");
// A duration record is one short line; anything longer is not one.
constexpr quint32 MaxRecordBytes = 4096;

QString recordName(const QString &baseName)
{
    return baseName + QStringLiteral(".tsd");
}

// The archive open in `reader` and its directory.
struct OpenVox
{
    ZipExtractionClass reader;
    QList<ZipCentralEntry> entries;

    // False with *error set when the file is not a readable archive.
    bool open(const QString &voxPath, QString *error)
    {
        if (!reader.OpenZip(voxPath, error))
            return false;
        std::optional<QList<ZipCentralEntry>> directory = reader.ReadDirectory(error);
        if (!directory)
            return false;
        entries = std::move(*directory);
        return true;
    }

    // The first member whose whole name is `name`, letter case aside (vox
    // files from systems that ignore case).
    const ZipCentralEntry *find(const QString &name) const
    {
        for (const ZipCentralEntry &entry : entries) {
            if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
                return &entry;
        }
        return nullptr;
    }
};

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

QString damaged(const QString &voxPath, const QString &member)
{
    return QStringLiteral("Data checksum error in %1 of %2").arg(member, voxPath);
}
} // namespace

bool ExtractVoxTake(const QString &voxPath, const QString &folder, const QString &baseName,
                    QString *error)
{
    OpenVox vox;
    if (!vox.open(voxPath, error))
        return false;
    ClaimedRanges claimed;
    // The record is written even when the take is missing or damaged: it is
    // readable on its own.
    const QString record = recordName(baseName);
    if (const ZipCentralEntry *entry = vox.find(record); entry && entry->size <= MaxRecordBytes) {
        QFile::remove(folder + record);
        vox.reader.ExtractMember(*entry, folder + record, claimed);
    }
    const ZipCentralEntry *take = vox.find(TakeMember);
    if (!take || take->size == 0) {
        setError(error, QStringLiteral("The file %1 holds no recording").arg(voxPath));
        return false;
    }
    QFile::remove(folder + TakeMember);
    const MemberResult result = vox.reader.ExtractMember(*take, folder + TakeMember, claimed);
    if (result == MemberResult::WriteFailed) {
        setError(error, QStringLiteral("Can't write the file %1").arg(folder + TakeMember));
        return false;
    }
    if (result != MemberResult::Written) {
        setError(error, damaged(voxPath, TakeMember));
        return false;
    }
    return true;
}

std::optional<QByteArray> ReadVoxDurationRecord(const QString &voxPath, const QString &baseName,
                                                QString *error)
{
    OpenVox vox;
    if (!vox.open(voxPath, error))
        return std::nullopt;
    const QString record = recordName(baseName);
    const ZipCentralEntry *entry = vox.find(record);
    if (!entry) {
        setError(error, QStringLiteral("The file %1 holds no %2").arg(voxPath, record));
        return std::nullopt;
    }
    if (entry->size > MaxRecordBytes) {
        setError(error, damaged(voxPath, record));
        return std::nullopt;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ClaimedRanges claimed;
    if (vox.reader.ReadMember(*entry, buffer, claimed) != MemberResult::Written) {
        setError(error, damaged(voxPath, record));
        return std::nullopt;
    }
    return bytes;
}

} // namespace tiradex
