#pragma once

#include "platform/audio/MediaDevice.h"

#include <QElapsedTimer>
#include <QTimer>

#include <memory>
#include <optional>

class QAudioSink;
class QAudioSource;
class QIODevice;

namespace tiradex {

class MonoCaptureConverter;
class PcmPlaybackStream;

// The media device on the machine's default sound input and output through
// Qt Multimedia (PulseAudio or PipeWire on a Linux desktop). Recording asks
// the input for 16-bit mono at RecordingRate and converts whatever format
// the input insists on; playback asks the output for the take's own format
// and converts on the fly when the output wants another.
class QtMediaDevice : public MediaDevice
{
    Q_OBJECT

public:
    explicit QtMediaDevice(QObject *parent = nullptr);
    ~QtMediaDevice() override;

protected:
    bool beginCapture(QString *error) override;
    void endCapture() override;
    bool beginPlayback(const PcmAudio &take, qint64 fromFrame, QString *error) override;
    qint64 playedFrames() const override;
    void endPlayback() override;
    void setStatusUpdates(bool on) override;

private:
    void readCaptured();
    void onStatusTimer();
    void onSinkStateChanged();
    // Ends the playback once the whole take has been heard (or the output
    // failed or stalled); true when it ended now.
    bool checkPlaybackEnd();

    QTimer m_statusTimer;
    // The input delivers its data without a readyRead now and then (seen
    // with Qt 6.4 on PulseAudio), so it is also read on this timer.
    QTimer m_capturePoll;
    // Looks closely for the end once all data went to the output, so the
    // end is reported within a few milliseconds of the last sample heard.
    QTimer m_drainPoll;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice *m_sourceIo = nullptr;
    std::unique_ptr<MonoCaptureConverter> m_converter;
    std::vector<qint16> m_converted;

    std::unique_ptr<PcmPlaybackStream> m_stream;
    std::unique_ptr<QAudioSink> m_sink;
    int m_takeRate = 0;
    qint64 m_framesToPlay = 0;
    qint64 m_drainLimitMs = 0;
    QElapsedTimer m_drainClock;    // runs once all data went to the output
    QElapsedTimer m_progressClock; // since the heard position last moved
    qint64 m_lastPlayed = -1;
};

} // namespace tiradex
