#include "WavePlayback.h"

#include "MediaDevice.h"
#include "app/Module1.h"

bool OpenWaveDevice(MediaDevice &device, const Module1 &state)
{
    device.setNotify(false);
    device.setWait(true);
    device.setShareable(false);
    device.setDeviceType(QStringLiteral("WaveAudio"));
    device.setFileName(state.AppFolder + QStringLiteral("temp.wav"));
    return device.sendCommand(QStringLiteral("Open"));
}
