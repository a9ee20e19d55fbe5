#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace tiradex {

// Cuts a stream of 8-bit samples into blocks of a fixed length and keeps
// the most recent complete block with a "done" flag, as a scope reads them:
// a block is done when it is full; taking it clears the flag, and the
// samples that follow go into the next block. When the reader is slower
// than the input, older complete blocks are dropped, so memory stays at two
// blocks.
class SampleBlocks
{
public:
    explicit SampleBlocks(int blockLength);

    void push(QByteArrayView samples);
    bool done() const { return m_done; }
    // Copies the done block into *block and clears the flag; false (and
    // *block unchanged) when no block is done.
    bool take(QByteArray *block);
    // Forgets everything (an input that is reopened starts afresh).
    void clear();

private:
    int m_blockLength;
    QByteArray m_filling;
    QByteArray m_completed;
    bool m_done = false;
};

} // namespace tiradex
