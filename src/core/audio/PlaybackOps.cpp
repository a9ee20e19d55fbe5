#include "core/audio/PlaybackOps.h"

#include "core/app/Module1.h"
#include "core/audio/VoxFile.h"

#include <QRegularExpression>

#include <limits>

namespace tiradex {

bool UnpackVox(const Module1 &state, const QString &baseName, QString *error)
{
    state.DeleteScratchFiles();
    return ExtractVoxTake(state.VoxPath(baseName), state.AppFolder, baseName, error);
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
    // The record is read straight from the archive: the take is not inflated.
    state.DeleteScratchFiles();
    const std::optional<QByteArray> record =
        ReadVoxDurationRecord(state.VoxPath(baseName), baseName, nullptr);
    return record ? DurationRecordSeconds(*record) : 0;
}

QString ProgressText(qint64 valueMs, qint64 maximumMs, const QString &suffix)
{
    return QString::number(std::max<qint64>(valueMs, 0) / 1000) + QLatin1Char('/') +
           QString::number(std::max<qint64>(maximumMs, 0) / 1000) + suffix;
}

} // namespace tiradex
