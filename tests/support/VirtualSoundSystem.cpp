#include "VirtualSoundSystem.h"

namespace tiradex {

std::unique_ptr<MediaDevice> VirtualSoundSystem::createMediaDevice()
{
    auto device = std::make_unique<VirtualMediaDevice>(m_clock);
    device->setInputAvailable(m_hasInput);
    device->setOutputAvailable(m_hasOutput);
    m_devices.append(device.get());
    return device;
}

std::unique_ptr<SoundInput> VirtualSoundSystem::createSoundInput()
{
    auto input = std::make_unique<VirtualSoundInput>(m_clock);
    input->setAvailable(m_hasInput);
    m_inputs.append(input.get());
    return input;
}

void VirtualSoundSystem::setInputAvailable(bool available)
{
    m_hasInput = available;
    for (VirtualMediaDevice *device : mediaDevices())
        device->setInputAvailable(available);
    for (VirtualSoundInput *input : soundInputs())
        input->setAvailable(available);
}

void VirtualSoundSystem::setOutputAvailable(bool available)
{
    m_hasOutput = available;
    for (VirtualMediaDevice *device : mediaDevices())
        device->setOutputAvailable(available);
}

} // namespace tiradex
