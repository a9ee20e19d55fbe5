#pragma once

#include <QString>
#include <QThreadPool>

#include <utility>
#include <vector>

namespace tiradex {

class SpeechCache;

// Synthesizes replies ahead of time on one worker thread, into a cache, so
// that the rehearsal finds them on disk when their turn comes. Requests run
// in the order given; a new list replaces what has not started yet. A
// request that fails is left for the caller to meet (and report) when it
// needs that reply.
class SpeechPreparer
{
public:
    explicit SpeechPreparer(SpeechCache &cache);
    // Waits for the reply being synthesized, drops the others.
    ~SpeechPreparer();

    // (reply text, voice) pairs, the nearest first.
    void prepare(const std::vector<std::pair<QString, QString>> &requests);
    // Drops what has not started.
    void cancel();
    // Waits until every request has run (for tests and benchmarks).
    void waitForDone();

private:
    SpeechCache &m_cache;
    QThreadPool m_pool;
};

} // namespace tiradex
