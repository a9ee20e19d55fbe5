#include "core/reports/DurationCalculation.h"

#include "core/app/FileIo.h"
#include "core/app/Module1.h"
#include "core/audio/VoxFile.h"
#include "core/play/SceneStore.h"
#include "core/reports/ReportTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace tiradex {

namespace {

const QString CrLf = QStringLiteral("\r\n");
// A duration record is one short line; anything larger is not one.
constexpr qint64 MaxRecordBytes = 4096;

// Value `index` of a record's comma- or line-separated values, read as a
// 16-bit number the way list input reads one; 0 when it is missing, not a
// number or outside the 16-bit range.
int recordValue(const QStringList &values, int index)
{
    return Module1::LeadingNumber(values.value(index).trimmed());
}

QStringList sortedEntries(const QString &folder, const QString &pattern)
{
    QStringList names = QDir(folder).entryList({pattern}, QDir::Files, QDir::NoSort);
    // Code-unit order: "_" and the 4-digit reply number lead every name.
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

DurationRecordExtractor DefaultDurationRecordExtractor()
{
    return [](const QString &voxPath, const QString &folder) {
        // The record is read without inflating the take; it goes to the
        // working folder under the reply's base name, never under a name
        // taken from the archive.
        const QString baseName = QFileInfo(voxPath).completeBaseName();
        const std::optional<QByteArray> record = ReadVoxDurationRecord(voxPath, baseName, nullptr);
        if (!record)
            return;
        QFile file(folder + QLatin1Char('/') + baseName + QStringLiteral(".tsd"));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(*record);
    };
}

qint64 RoundHalfEven(qint64 n, qint64 d)
{
    const qint64 q = n / d;
    const qint64 twice = 2 * (n % d);
    if (twice > d || (twice == d && q % 2 != 0))
        return q + 1;
    return q;
}

DurationEstimate EstimateDuration(int records, qint64 totalSeconds, qint64 allTextBytes,
                                  qint64 recordedTextBytes)
{
    DurationEstimate e;
    e.records = records;
    e.totalSeconds = totalSeconds;
    e.allTextBytes = allTextBytes;
    e.recordedTextBytes = recordedTextBytes;
    if (recordedTextBytes <= 0)
        return e;
    // Fixed point with four decimals: every value counts ten-thousandths.
    e.pace = RoundHalfEven(totalSeconds * 10000, recordedTextBytes);
    e.estimatedSeconds = *e.pace * allTextBytes / 10000;
    e.minutes = RoundHalfEven(e.estimatedSeconds, 60);
    return e;
}

QString DurationLine(const QString &recordFileName, const QByteArray &record, int *seconds)
{
    static const QRegularExpression separators(QStringLiteral(",|\r\n|\r|\n"));
    const QStringList values = QString::fromLatin1(record).split(separators);
    const int act = recordValue(values, 0);
    const int scene = recordValue(values, 1);
    *seconds = recordValue(values, 2);
    // The name less its ".tsd", from position 7 on.
    const QString character = recordFileName.mid(6, recordFileName.size() - 6 - 4);
    return QStringLiteral("Act %1 Scene %2 n° %3 - %4 - Duration : %5 s.")
        .arg(QString::number(act), QString::number(scene), Module1::ReplyNumberOf(recordFileName),
             character, QString::number(*seconds));
}

QStringList ListVoxFiles(const Module1 &state)
{
    return sortedEntries(state.VoxFolder(), QStringLiteral("*.vox"));
}

QString DurationWorkingFolder(const Module1 &state)
{
    return state.PlayFolder + QStringLiteral("/temp");
}

QString DurationReport(const QStringList &lines, const DurationEstimate &estimate)
{
    QString text = ReportTexts::durationOfReplies() + CrLf + CrLf;
    for (const QString &line : lines)
        text += line + CrLf;
    const QString lineA = ReportTexts::totalRegisteredReplies() +
                          QString::number(estimate.records) + QStringLiteral(") : ") +
                          QString::number(estimate.totalSeconds) + QStringLiteral(" seconds.");
    const QString lineB = estimate.pace
                              ? ReportTexts::totalLikelyDuration() +
                                    QString::number(estimate.minutes) + QStringLiteral(" minutes.")
                              : ReportTexts::noPace();
    return text + CrLf + CrLf + lineA + CrLf + CrLf + lineB + CrLf + CrLf +
           ReportTexts::precisionNote() + CrLf + ReportTexts::repliesOnlyNote() + CrLf;
}

std::optional<QString> CalculateDurations(const Module1 &state, const QStringList &voxFiles,
                                          const DurationRecordExtractor &extract,
                                          const DurationProgress &progress, QString *error)
{
    if (voxFiles.isEmpty()) {
        if (error)
            *error = ReportTexts::noVoxFile();
        return std::nullopt;
    }
    // From here on a failing step is skipped: whatever cannot be read
    // contributes nothing.
    const QString work = DurationWorkingFolder(state);
    QDir().mkpath(work);
    for (const QString &name : QDir(work).entryList(QDir::Files | QDir::Hidden))
        QFile::remove(work + QLatin1Char('/') + name);

    const int lastVox = int(voxFiles.size()) - 1;
    for (int i = 0; i <= lastVox; ++i) {
        extract(state.VoxFolder() + QLatin1Char('/') + voxFiles.at(i), work);
        if (progress)
            progress(i, lastVox);
    }

    const QStringList records = sortedEntries(work, QStringLiteral("*.tsd"));
    QStringList lines;
    qint64 totalSeconds = 0;
    const int lastRecord = int(records.size()) - 1;
    for (int j = 0; j <= lastRecord; ++j) {
        const QString &name = records.at(j);
        const QByteArray bytes =
            ReadWholeFile(work + QLatin1Char('/') + name, MaxRecordBytes, nullptr)
                .value_or(QByteArray());
        int seconds = 0;
        lines.append(DurationLine(name, bytes, &seconds));
        totalSeconds += seconds;
        if (progress)
            progress(j, lastRecord);
    }

    qint64 allBytes = 0;
    qint64 recordedBytes = 0;
    for (const ActRecord &act : ReadTreeviewIni(state).value_or(QList<ActRecord>())) {
        for (int scene = 1; scene <= act.sceneCount; ++scene) {
            const QString folder = state.SceneFolder(act.act, scene);
            for (const QString &file : ListReplyFiles(folder)) {
                const qint64 size = QFileInfo(folder + QLatin1Char('/') + file).size();
                allBytes += size;
                if (QFileInfo::exists(state.VoxPath(Module1::BaseNameOf(file))))
                    recordedBytes += size;
            }
        }
    }
    return DurationReport(
        lines, EstimateDuration(int(records.size()), totalSeconds, allBytes, recordedBytes));
}

} // namespace tiradex
