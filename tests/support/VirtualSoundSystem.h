#pragma once

#include "VirtualClock.h"
#include "VirtualMediaDevice.h"
#include "VirtualSoundInput.h"
#include "platform/audio/Beep.h"
#include "platform/audio/SoundSystem.h"

#include <QList>
#include <QPointer>

namespace tiradex {

// Sound services on a VirtualClock for tests: no sound device is touched
// and no real time passes. The devices it makes stay reachable (while they
// live) so a test can drive and inspect the ones a window created.
class VirtualSoundSystem : public SoundSystem
{
public:
    class CountingBeep : public Beep
    {
    public:
        void play() override { ++count; }
        int count = 0;
    };

    std::unique_ptr<MediaDevice> createMediaDevice() override;
    std::unique_ptr<SoundInput> createSoundInput() override;
    Beep &beep() override { return m_beep; }
    QString missingDevices() const override { return missingDevicesText(m_hasInput, m_hasOutput); }

    VirtualClock &clock() { return m_clock; }
    // Applies to the devices made afterwards and to the living ones.
    void setInputAvailable(bool available);
    void setOutputAvailable(bool available);
    // The media devices and inputs made so far that still exist, oldest first.
    QList<VirtualMediaDevice *> mediaDevices() const { return Alive(m_devices); }
    QList<VirtualSoundInput *> soundInputs() const { return Alive(m_inputs); }
    int beepCount() const { return m_beep.count; }

private:
    template <class T> static QList<T *> Alive(const QList<QPointer<T>> &made)
    {
        QList<T *> alive;
        for (const QPointer<T> &object : made) {
            if (object)
                alive.append(object.data());
        }
        return alive;
    }

    VirtualClock m_clock;
    CountingBeep m_beep;
    bool m_hasInput = true;
    bool m_hasOutput = true;
    QList<QPointer<VirtualMediaDevice>> m_devices;
    QList<QPointer<VirtualSoundInput>> m_inputs;
};

} // namespace tiradex
