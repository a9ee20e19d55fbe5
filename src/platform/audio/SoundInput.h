#pragma once

#include <QByteArray>
#include <QString>

namespace tiradex {

// The sound input of the recorder's scope: 8-bit unsigned mono samples (128
// is silence) at SampleRate per second, cut into blocks of BlockLength
// samples. A block is "done" when it is full; taking it queues it again.
// Independent of the media device that records the take.
class SoundInput
{
public:
    static constexpr int SampleRate = 8000;
    static constexpr int BlockLength = 4035;

    virtual ~SoundInput() = default;

    // Opens the first sound input and starts filling blocks. False, with the
    // platform's text in *error, when it cannot. Opening an open input
    // starts it afresh.
    virtual bool open(QString *error) = 0;
    // Stops and releases the input. Harmless when it is closed.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The done flag: a block has been completed since the last takeBlock().
    virtual bool blockDone() const = 0;
    // Copies the latest completed block (BlockLength bytes) into *block and
    // queues it again; false, *block unchanged, when none is done.
    virtual bool takeBlock(QByteArray *block) = 0;
};

} // namespace tiradex
