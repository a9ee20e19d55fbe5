#pragma once

#include <QString>

namespace tiradex {

// The texts of the synthetic voices' options, in one place for the windows
// that show them.
namespace SpeechTexts {

// The option that lets a synthetic voice speak the replies nobody recorded.
inline QString VoicesForMissingReplies()
{
    return QStringLiteral("Voices for missing replies");
}
// The play's settings (voices, filter) could not be written; `error` says why.
inline QString SettingsNotSaved(const QString &error)
{
    return QStringLiteral("The settings of the play cannot be saved.\r\n") + error;
}

} // namespace SpeechTexts

} // namespace tiradex
