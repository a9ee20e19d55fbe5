#include "platform/audio/SoundSystem.h"

namespace tiradex {

QString SoundSystem::missingDevicesNotice()
{
    if (m_noticeGiven)
        return QString();
    const QString text = missingDevices();
    if (!text.isEmpty())
        m_noticeGiven = true;
    return text;
}

QString SoundSystem::missingDevicesText(bool hasInput, bool hasOutput)
{
    QString text;
    if (!hasInput)
        text = QStringLiteral("No sound input device (microphone) was found: replies cannot be "
                              "recorded.");
    if (!hasOutput) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QStringLiteral("No sound output device was found: recordings cannot be heard.");
    }
    if (!text.isEmpty())
        text += QStringLiteral("\nTiradex works on without it. Connect a device and start "
                               "Tiradex again to use it.");
    return text;
}

} // namespace tiradex
