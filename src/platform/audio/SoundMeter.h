#pragma once

#include <QByteArray>

class Dialogs;
class QWidget;
class SoundInput;

// Feeds the recorder's scope from a SoundInput: start, read the latest
// block, stop.
class SoundMeter
{
public:
    static constexpr int ScopeLength = 4035;    // samples per block and per drawing
    static constexpr int CopyAreaLength = 5001; // indexes 0 to 5000

    SoundMeter(SoundInput &input, Dialogs &dialogs);
    ~SoundMeter();
    SoundMeter(const SoundMeter &) = delete;
    SoundMeter &operator=(const SoundMeter &) = delete;

    // Opens and starts the input; true when it runs (also when it already
    // ran). When the input cannot open, shows its text in an OK message and
    // returns false.
    bool StartMeter(QWidget *parent);
    // When a block is done, copies it into the copy area, queues it again
    // and returns true. Returns false at once when no block is done yet
    // (the copy area keeps the previous block): it never waits, so the
    // window never freezes.
    bool ReadMeter();
    // Stops and closes the input; does nothing when it is not running.
    void StopMeter();
    bool MeterRunning() const { return running_; }
    // The last block read, in the first ScopeLength bytes; 128 (silence)
    // before any block.
    const QByteArray &copyArea() const { return copyArea_; }

private:
    SoundInput &input_;
    Dialogs &dialogs_;
    bool running_ = false;
    QByteArray copyArea_;
    QByteArray block_;
};
