#include "platform/audio/SoundMeter.h"

#include "platform/audio/SoundInput.h"

#include <algorithm>
#include <cstring>

namespace tiradex {

SoundMeter::SoundMeter(SoundInput &input) : m_input(input), m_copyArea(CopyAreaLength, char(128)) {}

SoundMeter::~SoundMeter()
{
    StopMeter();
}

bool SoundMeter::StartMeter(QString *error)
{
    if (m_running)
        return true;
    if (!m_input.open(error))
        return false;
    m_running = true;
    return true;
}

bool SoundMeter::ReadMeter()
{
    if (!m_running || !m_input.takeBlock(&m_block))
        return false;
    const qsizetype n = std::min<qsizetype>(m_block.size(), ScopeLength);
    std::memcpy(m_copyArea.data(), m_block.constData(), std::size_t(n));
    return true;
}

void SoundMeter::StopMeter()
{
    if (!m_running)
        return;
    m_running = false;
    m_input.close();
}

} // namespace tiradex
