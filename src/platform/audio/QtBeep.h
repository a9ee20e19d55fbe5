#pragma once

#include "core/audio/PcmAudio.h"
#include "platform/audio/Beep.h"

#include <QObject>

#include <memory>

class QAudioSink;

namespace tiradex {

class PcmPlaybackStream;

// The cue as a tone (BeepSound) through the default sound output; the
// platform's bell when there is no output or it fails to start.
class QtBeep : public QObject, public Beep
{
    Q_OBJECT

public:
    explicit QtBeep(QObject *parent = nullptr);
    ~QtBeep() override;

    void play() override;

private:
    void stopTone();

    PcmAudio m_tone;
    std::unique_ptr<PcmPlaybackStream> m_stream;
    std::unique_ptr<QAudioSink> m_sink;
};

} // namespace tiradex
