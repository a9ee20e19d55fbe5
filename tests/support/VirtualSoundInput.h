#pragma once

#include "core/audio/AudioTexts.h"
#include "core/audio/SampleBlocks.h"
#include "platform/audio/SoundInput.h"

#include <QObject>

#include <functional>

namespace tiradex {

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
    void close() override
    {
        m_open = false;
        m_blocks.clear();
    }
    bool isOpen() const override { return m_open; }
    bool blockDone() const override { return m_blocks.done(); }
    bool takeBlock(QByteArray *block) override { return m_blocks.take(block); }

    void setAvailable(bool available) { m_available = available; }
    // The sample at a given index since opening.
    void setGenerator(std::function<quint8(qint64)> generator)
    {
        m_generator = std::move(generator);
    }
    int openCount() const { return m_openCount; }

private:
    void onStep(qint64 ms);

    bool m_available = true;
    bool m_open = false;
    int m_openCount = 0;
    qint64 m_sampleIndex = 0;
    std::function<quint8(qint64)> m_generator = [](qint64) { return quint8(128); };
    SampleBlocks m_blocks{BlockLength};
};

} // namespace tiradex
