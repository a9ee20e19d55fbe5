#include "platform/audio/QtSoundSystem.h"

#include "platform/audio/QtMediaDevice.h"
#include "platform/audio/QtSoundInput.h"

#include <QAudioDevice>
#include <QMediaDevices>

namespace tiradex {

std::unique_ptr<MediaDevice> QtSoundSystem::createMediaDevice()
{
    return std::make_unique<QtMediaDevice>();
}

std::unique_ptr<SoundInput> QtSoundSystem::createSoundInput()
{
    return std::make_unique<QtSoundInput>();
}

QString QtSoundSystem::missingDevices() const
{
    return missingDevicesText(!QMediaDevices::audioInputs().isEmpty(),
                              !QMediaDevices::audioOutputs().isEmpty());
}

} // namespace tiradex
