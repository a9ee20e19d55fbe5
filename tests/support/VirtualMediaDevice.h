#pragma once

#include "platform/audio/MediaDevice.h"

#include <QStringList>

namespace tiradex {

class VirtualClock;

// A media device on a VirtualClock: a recording grows by exactly the time
// the clock moves while it records, filled with a known signal (a sine of
// 440 Hz at half of full scale, continuous across pauses); a
// playback moves by the time the clock moves, and ends exactly at the
// take's length. Every step of the clock brings one status update while the
// device is open. Inputs and outputs can be taken away to try the failures.
class VirtualMediaDevice : public MediaDevice
{
    Q_OBJECT

public:
    explicit VirtualMediaDevice(VirtualClock &clock, QObject *parent = nullptr);
    ~VirtualMediaDevice() override { closeDevice(); }

    void setInputAvailable(bool available) { m_inputAvailable = available; }
    void setOutputAvailable(bool available) { m_outputAvailable = available; }
    // Every command sent, in order, as sent.
    QStringList commandLog() const { return m_log; }
    void clearCommandLog() { m_log.clear(); }

protected:
    bool beginCapture(QString *error) override;
    void endCapture() override { m_capturing = false; }
    bool beginPlayback(const PcmAudio &take, qint64 fromFrame, QString *error) override;
    qint64 playedFrames() const override;
    void endPlayback() override { m_playing = false; }
    void setStatusUpdates(bool) override {}
    void commandSent(const QString &command) override { m_log.append(command); }

private:
    void onStep(qint64 ms);

    bool m_inputAvailable = true;
    bool m_outputAvailable = true;
    QStringList m_log;

    bool m_capturing = false;
    qint64 m_captureMs = 0;     // of the running capture
    qint64 m_captureFrames = 0; // of the running capture
    qint64 m_signalFrame = 0;   // phase of the known signal

    bool m_playing = false;
    int m_playRate = 0;
    qint64 m_playedMs = 0;
    qint64 m_framesToPlay = 0;
};

} // namespace tiradex
