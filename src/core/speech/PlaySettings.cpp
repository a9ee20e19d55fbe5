#include "core/speech/PlaySettings.h"

#include "core/app/FileIo.h"
#include "core/speech/SpokenText.h"

#include <QFileInfo>

namespace tiradex {

namespace {
constexpr qint64 MaxSettingsBytes = 64 * 1024;
const QString VoicesKey = QStringLiteral("voices-for-missing");
const QString FactorKey = QStringLiteral("gap-factor-percent");
const QString ExtraKey = QStringLiteral("gap-extra-seconds");
const QString VoiceKey = QStringLiteral("voice");
} // namespace

QString PlaySettings::voiceFor(const QString &character, const QStringList &available) const
{
    const QString chosen = voices.value(character);
    if (!chosen.isEmpty() && available.contains(chosen))
        return chosen;
    return DefaultVoice(character, available);
}

QString PlaySettingsPath(const QString &playFolder)
{
    return playFolder + QStringLiteral("/settings.ini");
}

std::optional<PlaySettings> LoadPlaySettings(const QString &path, QString *error)
{
    PlaySettings settings;
    if (!QFileInfo::exists(path))
        return settings;
    const std::optional<QByteArray> bytes = ReadWholeFile(path, MaxSettingsBytes, error);
    if (!bytes)
        return std::nullopt;
    const QStringList lines = QString::fromUtf8(*bytes).split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 1);
        bool ok = false;
        if (key == VoicesKey) {
            settings.voicesForMissing = value == QStringLiteral("1");
        } else if (key == FactorKey) {
            const int n = value.toInt(&ok);
            if (ok)
                settings.tuning.factorPercent = n;
        } else if (key == ExtraKey) {
            const int n = value.toInt(&ok);
            if (ok)
                settings.tuning.extraSeconds = n;
        } else if (key == VoiceKey) {
            // voice=CHARACTER,VOICE: a character name holds no comma.
            const qsizetype comma = value.lastIndexOf(QLatin1Char(','));
            if (comma > 0 && comma + 1 < value.size())
                settings.voices.insert(value.left(comma), value.mid(comma + 1));
        }
    }
    settings.tuning = settings.tuning.clamped();
    return settings;
}

bool SavePlaySettings(const QString &path, const PlaySettings &settings, QString *error)
{
    const GapTuning tuning = settings.tuning.clamped();
    QString text;
    text += VoicesKey + QLatin1Char('=') + (settings.voicesForMissing ? u'1' : u'0') +
            QStringLiteral("\r\n");
    text += FactorKey + QLatin1Char('=') + QString::number(tuning.factorPercent) +
            QStringLiteral("\r\n");
    text +=
        ExtraKey + QLatin1Char('=') + QString::number(tuning.extraSeconds) + QStringLiteral("\r\n");
    for (auto it = settings.voices.cbegin(); it != settings.voices.cend(); ++it)
        text += VoiceKey + QLatin1Char('=') + it.key() + QLatin1Char(',') + it.value() +
                QStringLiteral("\r\n");
    return WriteFileAtomically(path, text.toUtf8(), error);
}

} // namespace tiradex
