#pragma once

#include "gui/audio/FrmEnregMessageUi.h"

#include "core/play/CurrentReply.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <memory>

class Dialogs;
class PlayWindowHost;
class MediaDevice;
class Module1;
class QCloseEvent;
class QThread;
class SoundInput;
class SoundMeter;
class SoundSystem;

// The reply recorder: records a take of the current reply of the play window
// into "temp.wav", packages it with its duration record into "temp.vox",
// plays it back, and saves it as the reply's vox file, deletes it to record
// again, or discards it. Its scope shows the live input while recording.
//
// Closing the window by its own close control while a take is being recorded
// (recording, paused or in its finishing second) is refused with "Stop at
// first the current recording.", so the device never goes on recording
// behind a closed window. Closed in any other state, the window releases the
// media device and the scope's input, and a take that was not saved is
// discarded as Cancel discards it.
class FrmEnregMessage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaxTakeMs = 180000;
    static constexpr int EndMarginMs = 3;

    FrmEnregMessage(Module1 &state, Dialogs &dialogs, SoundSystem &sound, PlayWindowHost &host,
                    QWidget *parent = nullptr);
    ~FrmEnregMessage() override;

    // The reply recorded is the host's current reply when the window is made.
    // Opening: places the window at the left edge, centred vertically in the area that holds
    // it, titles it with the reply's number, and sets RecorderOpen. The play
    // window locks its navigation while the recorder is open (it is opened
    // with ToolWindowRule::LockNavigation).
    void Load();

    FrmEnregMessageUi &controls() { return ui; }
    MediaDevice &MMControl1() { return *device_; }
    SoundMeter &meter() { return *meter_; }
    QString SavedCaption() const { return savedCaption_; }
    // True from the finish step until its archive is written.
    bool packaging() const { return packaging_ != nullptr; }
    // Waits for the finish step's archive and completes the step; nothing
    // when no archive is being written.
    void waitForPackaging();
    bool HidePosition() const { return hidePosition_; }
    // The samples drawn last (5001 entries; the first 4035 are drawn).
    const QByteArray &ScopeSamples() const { return scopeSamples_; }

public Q_SLOTS:
    void CmdRecordClick();
    void CmdPauseRecClick();
    void cmdResumeRecClick();
    // The stop procedure: the take is finished one second later.
    void cmdStopRecordClick();
    void TimerTempoTimer();
    void CmdPlayClick();
    void cmdPauseClick();
    void cmdResumePlayClick();
    void cmdDelWaveClick();
    void CmdEnregClick();
    void CmdCancelClick();
    void CmdStartVolumeClick();
    void CmdStopVolumeClick();
    void Timer1Timer();
    void MMControl1StatusUpdate();
    void Slider1Change();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void openDeviceOn(const QString &file);
    void DrawScope();
    QString appFile(const char *name) const;
    // The media device and the input are let go, the scratch files deleted
    // and RecordingActive cleared (Cancel, and a close that discards).
    void discardTake();
    void finishTake();
    bool takeBeingRecorded() const;
    QWidget *container();

    Module1 &state_;
    Dialogs &dialogs_;
    SoundSystem &sound_;
    PlayWindowHost &host_;
    CurrentReply reply_; // the reply recorded
    FrmEnregMessageUi ui;
    std::unique_ptr<MediaDevice> device_;
    std::unique_ptr<SoundInput> input_;
    std::unique_ptr<SoundMeter> meter_;
    // Writes "temp.vox" away from the window's thread: deflating the longest
    // take takes about a third of a second of processor time.
    std::unique_ptr<QThread> packaging_;

    QString savedCaption_;
    bool hidePosition_ = false;
    int stopTicks_ = 0;
    QByteArray scopeSamples_;
    bool closingByCommand_ = false; // Save or Cancel closes the window
};
