#include "core/audio/VoxContents.h"

#include "core/app/FileIo.h"
#include "core/audio/PlaybackOps.h"
#include "core/audio/WavFile.h"
#include "core/transfer/ZipExtractionClass.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
constexpr qint64 MaxRecordBytes = 4096;

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
    QTemporaryDir folder;
    if (!folder.isValid()) {
        if (error)
            *error = QStringLiteral("No temporary folder can be made: ") + folder.errorString();
        return std::nullopt;
    }
    QString firstError;
    bool extracted = false;
    {
        ZipExtractionClass reader;
        QObject::connect(&reader, &ZipExtractionClass::ZipError, &reader,
                         [&firstError](int, const QString &text) {
                             if (firstError.isEmpty())
                                 firstError = text;
                         });
        extracted = reader.OpenZip(voxPath) && reader.Extract(folder.path(), true, true);
        reader.CloseZip();
    }
    if (!extracted) {
        if (error)
            *error = firstError.isEmpty()
                         ? QStringLiteral("The file %1 is not a Zip file").arg(voxPath)
                         : firstError;
        return std::nullopt;
    }
    VoxContents contents;
    const QStringList records =
        QDir(folder.path()).entryList({QStringLiteral("*.tsd")}, QDir::Files, QDir::Name);
    if (!records.isEmpty()) {
        const std::optional<QByteArray> record =
            ReadWholeFile(folder.filePath(records.first()), MaxRecordBytes, nullptr);
        if (record) {
            contents.recordedSeconds = DurationRecordSeconds(*record);
            contents.act = recordValue(*record, 0);
            contents.scene = recordValue(*record, 1);
        }
    }
    if (withTake) {
        QString takeError;
        contents.take = ReadWavFile(folder.filePath(QStringLiteral("temp.wav")), &takeError);
        if (!contents.take) {
            if (error)
                *error = QStringLiteral("The recording in %1 cannot be read: %2")
                             .arg(voxPath, takeError);
            return std::nullopt;
        }
    }
    return contents;
}
