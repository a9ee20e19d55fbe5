#pragma once

#include "platform/audio/MediaDevice.h"

#include <QStringList>

class VirtualClock;

// A media device on a VirtualClock: a recording grows by exactly the time
// the clock moves while it records, filled with a known signal (a sine of
// signalFrequency() Hz at half of full scale, continuous across pauses); a
// playback moves by the time the clock moves, and ends exactly at the
// take's length. Every step of the clock brings one status update while the
// device is open. Inputs and outputs can be taken away to try the failures.
class VirtualMediaDevice : public MediaDevice
{
    Q_OBJECT

public:
    explicit VirtualMediaDevice(VirtualClock &clock, QObject *parent = nullptr);
    ~VirtualMediaDevice() override;

    void setInputAvailable(bool available) { inputAvailable_ = available; }
    void setOutputAvailable(bool available) { outputAvailable_ = available; }
    void setSignalFrequency(double hz) { signalFrequency_ = hz; }
    double signalFrequency() const { return signalFrequency_; }
    // Every command sent, in order, as sent.
    QStringList commandLog() const { return log_; }
    void clearCommandLog() { log_.clear(); }

protected:
    bool beginCapture(QString *error) override;
    void endCapture() override;
    bool beginPlayback(const PcmAudio &take, qint64 fromFrame, QString *error) override;
    qint64 playedFrames() const override;
    void endPlayback() override;
    void setStatusUpdates(bool) override {}
    void commandSent(const QString &command) override { log_.append(command); }

private:
    void onStep(qint64 ms);

    bool inputAvailable_ = true;
    bool outputAvailable_ = true;
    double signalFrequency_ = 440.0;
    QStringList log_;

    bool capturing_ = false;
    qint64 captureMs_ = 0;     // of the running capture
    qint64 captureFrames_ = 0; // of the running capture
    qint64 signalFrame_ = 0;   // phase of the known signal

    bool playing_ = false;
    int playRate_ = 0;
    qint64 playedMs_ = 0;
    qint64 framesToPlay_ = 0;
};
