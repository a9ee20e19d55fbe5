#include "core/reports/ReplyStatistics.h"

#include "core/app/FileIo.h"
#include "core/app/Module1.h"
#include "core/app/QuotedRecord.h"
#include "core/app/TextCodec.h"
#include "core/play/SceneStore.h"
#include "core/reports/ReportTexts.h"

#include <QFileInfo>

namespace tiradex {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// One record per scene and character: 99 * 99 scenes of a few hundred
// characters stay far below this.
constexpr qint64 MaxCacheBytes = 64 * 1024 * 1024;

QString twoDigits(int n)
{
    return Module1::PadNumber(n, 2);
}

// The number of a field as the report writes it: no leading zeros.
QString plainNumber(const QString &field)
{
    return QString::number(Module1::LeadingNumber(field));
}

} // namespace

std::optional<QList<StatRecord>> CountReplies(const Module1 &state, const QStringList &names,
                                              QString *error)
{
    const std::optional<QList<ActRecord>> acts = ReadTreeviewIni(state, error);
    if (!acts)
        return std::nullopt;
    QList<StatRecord> records;
    for (const ActRecord &act : *acts) {
        for (int scene = 1; scene <= act.sceneCount; ++scene) {
            QStringList characters;
            for (const QString &file : ListReplyFiles(state.SceneFolder(act.act, scene)))
                characters.append(Module1::CharacterOf(file));
            for (const QString &name : names) {
                int count = 0;
                for (const QString &character : characters) {
                    if (character.compare(name, Qt::CaseInsensitive) == 0)
                        ++count;
                }
                records.append(
                    {twoDigits(act.act), twoDigits(scene), name, QString::number(count)});
            }
        }
    }
    return records;
}

QByteArray FormatStatCache(const QList<StatRecord> &records)
{
    QByteArray bytes;
    for (const StatRecord &r : records) {
        bytes += FormatRecord({RecordField::text(r.act), RecordField::text(r.scene),
                               RecordField::text(r.name), RecordField::text(r.count)});
    }
    return bytes;
}

QList<StatRecord> ParseStatCache(const QString &text)
{
    QList<StatRecord> records;
    for (const QStringList &fields : ParseRecords(text))
        records.append({fields.value(0), fields.value(1), fields.value(2), fields.value(3)});
    return records;
}

QString StatCachePath(const Module1 &state)
{
    return state.PlayFolder + QStringLiteral("/stat.txt");
}

std::optional<QList<StatRecord>> LoadStatCache(const Module1 &state, const QStringList &names,
                                               QString *error)
{
    const QString path = StatCachePath(state);
    if (!QFileInfo::exists(path)) {
        const std::optional<QList<StatRecord>> counted = CountReplies(state, names, error);
        if (!counted)
            return std::nullopt;
        // Written whole or not at all: a cache is trusted by every later
        // opening, so a half one must never be left behind.
        if (!WriteFileAtomically(path, FormatStatCache(*counted), error))
            return std::nullopt;
    }
    const std::optional<QByteArray> bytes = ReadWholeFile(path, MaxCacheBytes, error);
    if (!bytes)
        return std::nullopt;
    return ParseStatCache(DecodeText(*bytes));
}

QString StatisticsReport(const QList<StatRecord> &records, const QStringList &names)
{
    QList<int> totals(names.size(), 0);
    int actCounter = 0;
    int sceneCounter = 0;
    QString report = ReportTexts::distributionOfReplies();
    for (const StatRecord &r : records) {
        const int act = Module1::LeadingNumber(r.act);
        const int scene = Module1::LeadingNumber(r.scene);
        const int count = Module1::LeadingNumber(r.count);
        // The counters take the record's numbers, so an act or scene that
        // has no record (an act without scenes) does not repeat the
        // headers of the one after it.
        if (act != actCounter) {
            report += CrLf + CrLf + QStringLiteral("ACT ") + QString::number(act) + CrLf;
            actCounter = act;
            sceneCounter = 0;
        }
        if (scene != sceneCounter) {
            report += CrLf + QStringLiteral("SCENE ") + QString::number(scene) + CrLf;
            sceneCounter = scene;
        }
        if (count > 0) {
            report += r.name + QStringLiteral(" (") + r.count + QStringLiteral(") - ");
            const qsizetype k = names.indexOf(r.name);
            if (k >= 0)
                totals[k] += count;
        }
    }

    report += CrLf + CrLf + ReportTexts::totalForEveryCharacter() + CrLf + CrLf;
    int grandTotal = 0;
    for (qsizetype k = 0; k < names.size(); ++k) {
        report += names.at(k) + QStringLiteral(" : ") + QString::number(totals.at(k)) + CrLf;
        grandTotal += totals.at(k);
    }
    report +=
        CrLf + ReportTexts::totalOfReplies() + QString::number(grandTotal) + CrLf + CrLf + CrLf;

    report += ReportTexts::distributionByCharacter() + CrLf;
    for (const QString &name : names) {
        report += CrLf + CrLf + name + CrLf;
        int characterAct = 0;
        for (const StatRecord &r : records) {
            if (r.name != name || Module1::LeadingNumber(r.count) <= 0)
                continue;
            const int act = Module1::LeadingNumber(r.act);
            if (act != characterAct) {
                characterAct = act;
                report += CrLf + QStringLiteral("ACT ") + QString::number(act) + CrLf;
            }
            report += QStringLiteral("SCENE ") + plainNumber(r.scene) + QStringLiteral(" (") +
                      r.count + QStringLiteral(") - ");
        }
    }
    report += CrLf + CrLf;
    return report;
}

} // namespace tiradex
