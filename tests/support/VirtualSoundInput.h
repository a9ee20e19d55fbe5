#pragma once

#include "core/audio/SampleBlocks.h"
#include "platform/audio/SoundInput.h"

#include <QObject>

#include <functional>

class VirtualClock;

// The scope's input on a VirtualClock: 8 samples per millisecond of clock
// time, from a generator that tests choose (silence, 128, by default). It
// can be made unavailable to try the failure, and counts its openings.
class VirtualSoundInput : public QObject, public SoundInput
{
    Q_OBJECT

public:
    explicit VirtualSoundInput(VirtualClock &clock, QObject *parent = nullptr);

    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool blockDone() const override { return blocks_.done(); }
    bool takeBlock(QByteArray *block) override { return blocks_.take(block); }

    void setAvailable(bool available) { available_ = available; }
    // The sample at a given index since opening.
    void setGenerator(std::function<quint8(qint64)> generator)
    {
        generator_ = std::move(generator);
    }
    int openCount() const { return openCount_; }
    // The platform's text of the failed opening.
    static QString unavailableText() { return QStringLiteral("No sound input device was found."); }

private:
    void onStep(qint64 ms);

    bool available_ = true;
    bool open_ = false;
    int openCount_ = 0;
    qint64 sampleIndex_ = 0;
    std::function<quint8(qint64)> generator_ = [](qint64) { return quint8(128); };
    SampleBlocks blocks_{BlockLength};
};
