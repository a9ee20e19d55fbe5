#pragma once

#include <QByteArray>

#include <QString>

namespace tiradex {

class SoundInput;

// Feeds the recorder's scope from a SoundInput: start, read the latest
// block, stop.
class SoundMeter
{
public:
    static constexpr int ScopeLength = 4035;    // samples per block and per drawing
    static constexpr int CopyAreaLength = 5001; // indexes 0 to 5000

    explicit SoundMeter(SoundInput &input);
    ~SoundMeter();
    SoundMeter(const SoundMeter &) = delete;
    SoundMeter &operator=(const SoundMeter &) = delete;

    // Opens and starts the input; true when it runs (also when it already
    // ran). When the input cannot open, returns false with the platform's
    // text in `error`, for the window to show.
    bool StartMeter(QString *error);
    // When a block is done, copies it into the copy area, queues it again
    // and returns true. Returns false at once when no block is done yet
    // (the copy area keeps the previous block): it never waits, so the
    // window never freezes.
    bool ReadMeter();
    // Stops and closes the input; does nothing when it is not running.
    void StopMeter();
    bool MeterRunning() const { return m_running; }
    // The last block read, in the first ScopeLength bytes; 128 (silence)
    // before any block.
    const QByteArray &copyArea() const { return m_copyArea; }

private:
    SoundInput &m_input;
    bool m_running = false;
    QByteArray m_copyArea;
    QByteArray m_block;
};

} // namespace tiradex
