#include "core/audio/SampleBlocks.h"

#include <algorithm>

namespace tiradex {

SampleBlocks::SampleBlocks(int blockLength) : m_blockLength(std::max(blockLength, 1))
{
    m_filling.reserve(m_blockLength);
}

void SampleBlocks::push(QByteArrayView samples)
{
    qsizetype offset = 0;
    while (offset < samples.size()) {
        const qsizetype room = m_blockLength - m_filling.size();
        const qsizetype n = std::min(room, samples.size() - offset);
        m_filling.append(samples.data() + offset, n);
        offset += n;
        if (m_filling.size() == m_blockLength) {
            m_completed.swap(m_filling);
            m_filling.clear();
            m_done = true;
        }
    }
}

bool SampleBlocks::take(QByteArray *block)
{
    if (!m_done)
        return false;
    *block = m_completed;
    m_done = false;
    return true;
}

void SampleBlocks::clear()
{
    m_filling.clear();
    m_completed.clear();
    m_done = false;
}

} // namespace tiradex
