#include "core/audio/VoxContents.h"

#include "core/audio/PlaybackOps.h"
#include "core/audio/VoxFile.h"
#include "core/audio/WavFile.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace tiradex {

namespace {
int recordValue(const QByteArray &record, int index)
{
    const QStringList values = QString::fromLatin1(record).split(QLatin1Char(','));
    return index < values.size() ? values.at(index).trimmed().toInt() : 0;
}
} // namespace

std::optional<VoxContents> ReadVoxContents(const QString &voxPath, bool withTake, QString *error)
{
    if (!QFileInfo(voxPath).isFile()) {
        if (error)
            *error = QStringLiteral("The file %1 doesn't exist").arg(voxPath);
        return std::nullopt;
    }
    const QString baseName = QFileInfo(voxPath).completeBaseName();
    VoxContents contents;
    // A vox file without a duration record still has a take to play.
    const std::optional<QByteArray> record = ReadVoxDurationRecord(voxPath, baseName, nullptr);
    if (record) {
        contents.recordedSeconds = DurationRecordSeconds(*record);
        contents.act = recordValue(*record, 0);
        contents.scene = recordValue(*record, 1);
    }
    if (!withTake)
        return contents;
    QTemporaryDir folder;
    if (!folder.isValid()) {
        if (error)
            *error = QStringLiteral("No temporary folder can be made: ") + folder.errorString();
        return std::nullopt;
    }
    QString takeError;
    if (ExtractVoxTake(voxPath, folder.path() + QLatin1Char('/'), baseName, &takeError))
        contents.take = ReadWavFile(folder.filePath(QStringLiteral("temp.wav")), &takeError);
    if (!contents.take) {
        if (error)
            *error =
                QStringLiteral("The recording in %1 cannot be read: %2").arg(voxPath, takeError);
        return std::nullopt;
    }
    return contents;
}

} // namespace tiradex
