#pragma once

#include "core/audio/PcmAudio.h"

#include <QObject>
#include <QString>

namespace tiradex {

// A media device for WAV files, driven by named commands:
//
//   "Open"   opens the file of the file name setting: an existing WAV file is
//            loaded (any encoding that WavFile reads), a missing one gives an
//            empty take. Fails when the device type is not "WaveAudio", the
//            time format not milliseconds, or the file cannot be read. An open
//            device is closed first.
//   "Record" records from the sound input, appending to the take (after
//            Pause or Stop it continues the same take). Recording is 16-bit
//            mono at RecordingRate; a loaded take of another format is
//            converted first.
//   "Pause"  pauses recording or playback; "Record" or "Play" continues.
//   "Play"   plays from the current position: the start after "Open", the
//            paused position after "Pause".
//   "Stop"   ends recording or playback; the position stays where it is.
//   "Save"   writes the take to the file as 16-bit PCM WAV, atomically. A
//            take that was not changed since "Open" is already in its file
//            and is not written again; an empty take is never written (the
//            command fails), so a take that recorded nothing leaves no file.
//   "Close"  ends everything and releases the sound devices; unsaved
//            samples are dropped.
//
// While the device is open, statusUpdate() is emitted about every
// StatusPeriodMs. Length and position are in milliseconds, rounded down; the
// position of a playback is the sound actually heard, and it equals the
// length only once the whole take has been played: the status update that
// follows the end of a playback reports position == length exactly.
//
// Notification, wait and shareable are kept as settings of the next "Open";
// this device completes every command before returning and never sends
// completion notifications.
class MediaDevice : public QObject
{
    Q_OBJECT

public:
    enum class Mode
    {
        NotOpen,
        Stopped,
        Recording,
        Playing,
        Paused
    };

    static constexpr int RecordingRate = 22050;
    static constexpr int StatusPeriodMs = 100;
    // A take stops growing at this length, so a recording left running
    // cannot eat the memory.
    static constexpr qint64 MaxTakeMs = 10 * 60 * 1000;

    explicit MediaDevice(QObject *parent = nullptr);
    ~MediaDevice() override;

    void setNotify(bool on) { m_notify = on; }
    void setWait(bool on) { m_wait = on; }
    void setShareable(bool on) { m_shareable = on; }
    void setDeviceType(const QString &type) { m_deviceType = type; }
    void setFileName(const QString &path) { m_fileName = path; }
    // "milliseconds" (or "ms"); other formats make the next "Open" fail.
    void setTimeFormat(const QString &format) { m_timeFormat = format; }

    bool notify() const { return m_notify; }
    bool wait() const { return m_wait; }
    bool shareable() const { return m_shareable; }
    QString deviceType() const { return m_deviceType; }
    QString fileName() const { return m_fileName; }
    QString timeFormat() const { return m_timeFormat; }

    // Runs the command named (case-insensitive). Returns false, with
    // errorString() saying why, for an unknown command, a command that needs
    // an open device, or a device failure; the state is then unchanged.
    bool sendCommand(const QString &command);

    qint64 length() const;
    qint64 position() const;
    Mode mode() const { return m_mode; }
    bool isOpen() const { return m_mode != Mode::NotOpen; }
    // The text of the last failed command.
    QString errorString() const { return m_error; }
    // The take as it stands (for checks and analysis).
    const PcmAudio &take() const { return m_take; }

Q_SIGNALS:
    void statusUpdate();

protected:
    // Starts capturing at RecordingRate, mono; samples then arrive through
    // appendCaptured() until endCapture(). False with *error when the input
    // cannot start.
    virtual bool beginCapture(QString *error) = 0;
    // Hands over every sample captured so far, then stops the input.
    virtual void endCapture() = 0;
    // Starts playing `take` from `fromFrame`; the take stays unchanged until
    // endPlayback(). False with *error when the output cannot start.
    virtual bool beginPlayback(const PcmAudio &take, qint64 fromFrame, QString *error) = 0;
    // Frames of the take heard since beginPlayback().
    virtual qint64 playedFrames() const = 0;
    virtual void endPlayback() = 0;
    // Turns the periodic status updates on (device opened) or off (closed).
    virtual void setStatusUpdates(bool on) = 0;
    // Every command sent, for devices that keep a log.
    virtual void commandSent(const QString &command) { Q_UNUSED(command) }

    void appendCaptured(const qint16 *samples, qsizetype count);
    // Called by the backend once every frame of the playback has been heard:
    // the position becomes the length and the device stops.
    void playbackFinished();
    qint64 playFromFrame() const { return m_playFrom; }
    void emitStatusUpdate() { Q_EMIT statusUpdate(); }
    // Closes the device; backends call it from their destructor, while
    // their hooks still exist.
    void closeDevice();

private:
    bool open();
    bool record();
    bool pause();
    bool play();
    bool stop();
    bool save();
    bool fail(const QString &text);
    qint64 currentFrame() const;

    bool m_notify = false;
    bool m_wait = true;
    bool m_shareable = false;
    QString m_deviceType;
    QString m_fileName;
    QString m_timeFormat = QStringLiteral("milliseconds");

    Mode m_mode = Mode::NotOpen;
    PcmAudio m_take;
    bool m_modified = false;
    qint64 m_positionFrame = 0; // when not playing
    qint64 m_playFrom = 0;      // start frame of the running playback
    QString m_error;
};

} // namespace tiradex
