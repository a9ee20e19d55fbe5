#include "platform/audio/WavePlayback.h"

#include "core/app/Module1.h"
#include "platform/audio/MediaDevice.h"

namespace tiradex {

bool OpenWaveDevice(MediaDevice &device, const Module1 &state)
{
    device.setNotify(false);
    device.setWait(true);
    device.setShareable(false);
    device.setDeviceType(QStringLiteral("WaveAudio"));
    device.setFileName(state.AppFolder + QStringLiteral("temp.wav"));
    return device.sendCommand(QStringLiteral("Open"));
}

bool OpenWaveFile(MediaDevice &device, const QString &file)
{
    device.sendCommand(QStringLiteral("Close"));
    device.setNotify(false);
    device.setWait(true);
    device.setShareable(false);
    device.setTimeFormat(QStringLiteral("milliseconds"));
    device.setDeviceType(QStringLiteral("WaveAudio"));
    device.setFileName(file);
    return device.sendCommand(QStringLiteral("Open"));
}

} // namespace tiradex
