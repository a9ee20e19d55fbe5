#pragma once

#include <QString>

#include <memory>

namespace tiradex {

class Beep;
class MediaDevice;
class SoundInput;

// Makes the sound services for the windows: media devices, the scope's
// input and the cue. The program has one; tests use the virtual one.
class SoundSystem
{
public:
    virtual ~SoundSystem() = default;

    virtual std::unique_ptr<MediaDevice> createMediaDevice() = 0;
    virtual std::unique_ptr<SoundInput> createSoundInput() = 0;
    virtual Beep &beep() = 0;
    // What the machine lacks, in sentences for the user; "" when it has a
    // sound input and a sound output.
    virtual QString missingDevices() const = 0;

    // missingDevices() the first time something is missing, "" afterwards,
    // so the user is told once per run and the program goes on without.
    QString missingDevicesNotice();

protected:
    static QString missingDevicesText(bool hasInput, bool hasOutput);

private:
    bool m_noticeGiven = false;
};

} // namespace tiradex
