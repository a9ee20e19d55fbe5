#include "core/speech/SpeechPreparer.h"

#include "core/speech/SpeechCache.h"

namespace tiradex {

SpeechPreparer::SpeechPreparer(SpeechCache &cache) : m_cache(cache)
{
    // One at a time: the synthesizer takes one call at a time anyway, and
    // the nearest reply must be ready first.
    m_pool.setMaxThreadCount(1);
}

SpeechPreparer::~SpeechPreparer()
{
    cancel();
    m_pool.waitForDone();
}

void SpeechPreparer::prepare(const std::vector<std::pair<QString, QString>> &requests)
{
    cancel();
    for (const auto &[text, voice] : requests) {
        SpeechCache *cache = &m_cache;
        m_pool.start([cache, text = text, voice = voice] { cache->prepare(text, voice, nullptr); });
    }
}

void SpeechPreparer::cancel()
{
    m_pool.clear();
}

void SpeechPreparer::waitForDone()
{
    m_pool.waitForDone();
}

} // namespace tiradex
