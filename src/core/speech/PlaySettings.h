#pragma once

#include "core/speech/GapTuning.h"

#include <QMap>
#include <QString>

#include <optional>

namespace tiradex {

// The actor's choices for one play, kept in a small text file of the play
// folder ("settings.ini"): whether missing replies are spoken by synthetic
// voices, the gap tuning, and the voice chosen for each character.
struct PlaySettings
{
    bool voicesForMissing = false;
    GapTuning tuning;
    QMap<QString, QString> voices; // character -> voice, only those chosen

    // The voice of `character`: the chosen one when it is among `available`,
    // else the stable default.
    QString voiceFor(const QString &character, const QStringList &available) const;

    bool operator==(const PlaySettings &) const = default;
};

// The settings file of the play folder `playFolder`.
QString PlaySettingsPath(const QString &playFolder);

// The settings of the file at `path`. A missing file gives the defaults;
// lines that are not understood are passed over and values out of range are
// brought into range, so a damaged file never stops a rehearsal. Fails only
// for a file that exists and cannot be read (or is larger than 64 KiB).
std::optional<PlaySettings> LoadPlaySettings(const QString &path, QString *error);

// Writes `settings` to `path`, replacing the file atomically.
bool SavePlaySettings(const QString &path, const PlaySettings &settings, QString *error);

} // namespace tiradex
