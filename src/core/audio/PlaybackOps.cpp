#include "core/audio/PlaybackOps.h"

#include "core/app/FileIo.h"
#include "core/app/Module1.h"
#include "core/transfer/ZipExtractionClass.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <limits>

namespace {
const QString TakeName = QStringLiteral("temp.wav");
// A duration record is one short line; anything longer is not one.
constexpr qint64 MaxRecordBytes = 4096;
} // namespace

bool UnpackVox(const Module1 &state, const QString &baseName, QString *error)
{
    state.DeleteScratchFiles();
    const QString voxPath = state.VoxPath(baseName);
    QString firstError;
    {
        ZipExtractionClass reader;
        QObject::connect(&reader, &ZipExtractionClass::ZipError, &reader,
                         [&firstError](int, const QString &text) {
                             if (firstError.isEmpty())
                                 firstError = text;
                         });
        if (reader.OpenZip(voxPath))
            reader.Extract(state.AppFolder, true, true);
        reader.CloseZip();
    }
    const QFileInfo take(state.AppFolder + TakeName);
    if (take.isFile() && take.size() > 0)
        return true;
    if (error) {
        *error = !firstError.isEmpty()
                     ? firstError
                     : QStringLiteral("The file %1 holds no recording").arg(voxPath);
    }
    return false;
}

int DurationRecordSeconds(const QByteArray &record)
{
    // A line end ends a value as a comma does; CR LF is one line end.
    static const QRegularExpression separators(QStringLiteral(",|\r\n|\r|\n"));
    const QStringList values = QString::fromLatin1(record).split(separators);
    if (values.size() < 3)
        return 0;
    const QString value = values.at(2).trimmed();
    qsizetype end = 0;
    if (end < value.size() && (value[end] == QLatin1Char('-') || value[end] == QLatin1Char('+')))
        ++end;
    while (end < value.size() && value[end].isDigit())
        ++end;
    bool ok = false;
    const qint64 seconds = value.left(end).toLongLong(&ok);
    if (!ok || seconds < std::numeric_limits<qint16>::min() ||
        seconds > std::numeric_limits<qint16>::max())
        return 0;
    return int(seconds);
}

int ReadReplyDuration(const Module1 &state, const QString &baseName)
{
    // UnpackVox clears the scratch files first. The record is read even when
    // the archive holds no take.
    UnpackVox(state, baseName);
    const std::optional<QByteArray> record =
        ReadWholeFile(state.AppFolder + baseName + QStringLiteral(".tsd"), MaxRecordBytes, nullptr);
    state.DeleteScratchFiles();
    return record ? DurationRecordSeconds(*record) : 0;
}

QString ProgressText(qint64 valueMs, qint64 maximumMs, const QString &suffix)
{
    return QString::number(std::max<qint64>(valueMs, 0) / 1000) + QLatin1Char('/') +
           QString::number(std::max<qint64>(maximumMs, 0) / 1000) + suffix;
}
