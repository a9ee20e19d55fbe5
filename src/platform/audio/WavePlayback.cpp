#include "platform/audio/WavePlayback.h"

#include "core/app/Module1.h"
#include "platform/audio/MediaDevice.h"

bool OpenWaveDevice(MediaDevice &device, const Module1 &state)
{
    device.setNotify(false);
    device.setWait(true);
    device.setShareable(false);
    device.setDeviceType(QStringLiteral("WaveAudio"));
    device.setFileName(state.AppFolder + QStringLiteral("temp.wav"));
    return device.sendCommand(QStringLiteral("Open"));
}
