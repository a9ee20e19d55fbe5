#include "VirtualSoundInput.h"

#include "VirtualClock.h"

VirtualSoundInput::VirtualSoundInput(VirtualClock &clock, QObject *parent) : QObject(parent)
{
    connect(&clock, &VirtualClock::stepped, this, &VirtualSoundInput::onStep);
}

bool VirtualSoundInput::open(QString *error)
{
    if (!available_) {
        *error = unavailableText();
        return false;
    }
    open_ = true;
    ++openCount_;
    sampleIndex_ = 0;
    blocks_.clear();
    return true;
}

void VirtualSoundInput::close()
{
    open_ = false;
    blocks_.clear();
}

void VirtualSoundInput::onStep(qint64 ms)
{
    if (!open_)
        return;
    QByteArray samples;
    const qint64 count = ms * SampleRate / 1000;
    samples.reserve(count);
    for (qint64 i = 0; i < count; ++i)
        samples.append(char(generator_(sampleIndex_++)));
    blocks_.push(samples);
}
