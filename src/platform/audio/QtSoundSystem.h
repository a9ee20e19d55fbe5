#pragma once

#include "platform/audio/QtBeep.h"
#include "platform/audio/SoundSystem.h"

namespace tiradex {

// The sound services on the machine's devices through Qt Multimedia.
class QtSoundSystem : public SoundSystem
{
public:
    std::unique_ptr<MediaDevice> createMediaDevice() override;
    std::unique_ptr<SoundInput> createSoundInput() override;
    Beep &beep() override { return m_beep; }
    QString missingDevices() const override;

private:
    QtBeep m_beep;
};

} // namespace tiradex
