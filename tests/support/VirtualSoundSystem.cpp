#include "VirtualSoundSystem.h"

#include "VirtualMediaDevice.h"
#include "VirtualSoundInput.h"

std::unique_ptr<MediaDevice> VirtualSoundSystem::createMediaDevice()
{
    auto device = std::make_unique<VirtualMediaDevice>(clock_);
    device->setInputAvailable(hasInput_);
    device->setOutputAvailable(hasOutput_);
    devices_.append(device.get());
    return device;
}

std::unique_ptr<SoundInput> VirtualSoundSystem::createSoundInput()
{
    auto input = std::make_unique<VirtualSoundInput>(clock_);
    input->setAvailable(hasInput_);
    inputs_.append(input.get());
    return input;
}

void VirtualSoundSystem::setInputAvailable(bool available)
{
    hasInput_ = available;
    for (VirtualMediaDevice *device : mediaDevices())
        device->setInputAvailable(available);
    for (VirtualSoundInput *input : soundInputs())
        input->setAvailable(available);
}

void VirtualSoundSystem::setOutputAvailable(bool available)
{
    hasOutput_ = available;
    for (VirtualMediaDevice *device : mediaDevices())
        device->setOutputAvailable(available);
}

QList<VirtualMediaDevice *> VirtualSoundSystem::mediaDevices() const
{
    QList<VirtualMediaDevice *> alive;
    for (const QPointer<VirtualMediaDevice> &device : devices_)
        if (device)
            alive.append(device.data());
    return alive;
}

QList<VirtualSoundInput *> VirtualSoundSystem::soundInputs() const
{
    QList<VirtualSoundInput *> alive;
    for (const QPointer<VirtualSoundInput> &input : inputs_)
        if (input)
            alive.append(input.data());
    return alive;
}
