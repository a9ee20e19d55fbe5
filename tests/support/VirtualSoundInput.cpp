#include "VirtualSoundInput.h"

#include "VirtualClock.h"

namespace tiradex {

VirtualSoundInput::VirtualSoundInput(VirtualClock &clock, QObject *parent) : QObject(parent)
{
    connect(&clock, &VirtualClock::stepped, this, &VirtualSoundInput::onStep);
}

bool VirtualSoundInput::open(QString *error)
{
    if (!m_available) {
        *error = AudioTexts::NoSoundInputDevice();
        return false;
    }
    m_open = true;
    ++m_openCount;
    m_sampleIndex = 0;
    m_blocks.clear();
    return true;
}

void VirtualSoundInput::onStep(qint64 ms)
{
    if (!m_open)
        return;
    QByteArray samples;
    const qint64 count = ms * SampleRate / 1000;
    samples.reserve(count);
    for (qint64 i = 0; i < count; ++i)
        samples.append(char(m_generator(m_sampleIndex++)));
    m_blocks.push(samples);
}

} // namespace tiradex
