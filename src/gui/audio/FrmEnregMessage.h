#pragma once

#include "gui/audio/FrmEnregMessageUi.h"

#include "core/audio/RecorderEngine.h"
#include "core/play/CurrentReply.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <memory>

class QCloseEvent;
class QThread;

namespace tiradex {

class Dialogs;
class PlayWindowHost;
class MediaDevice;
class Module1;
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

    FrmEnregMessageUi &controls() { return m_ui; }
    const RecorderEngine &engine() const { return m_engine; }
    MediaDevice &MMControl1() { return *m_device; }
    SoundMeter &meter() { return *m_meter; }
    // True from the finish step until its archive is written.
    bool packaging() const { return m_packaging != nullptr; }
    // Waits for the finish step's archive and completes the step; nothing
    // when no archive is being written.
    void waitForPackaging();
    bool HidePosition() const { return m_engine.hidePosition(); }
    // The samples drawn last (5001 entries; the first 4035 are drawn).
    const QByteArray &ScopeSamples() const { return m_scopeSamples; }

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
    // Shows the engine's state: the controls enabled, the finishing timer,
    // and RecordingActive.
    void applyState();
    void DrawScope();
    QString appFile(const char *name) const;
    // The media device and the input are let go, the scratch files deleted
    // (Cancel, and a close that discards).
    void discardTake();
    void finishTake();
    QWidget *container();

    Module1 &m_state;
    Dialogs &m_dialogs;
    SoundSystem &m_sound;
    PlayWindowHost &m_host;
    CurrentReply m_reply; // the reply recorded
    FrmEnregMessageUi m_ui;
    RecorderEngine m_engine;
    std::unique_ptr<MediaDevice> m_device;
    std::unique_ptr<SoundInput> m_input;
    std::unique_ptr<SoundMeter> m_meter;
    // Writes "temp.vox" away from the window's thread: deflating the longest
    // take takes about a third of a second of processor time.
    std::unique_ptr<QThread> m_packaging;

    QString m_savedCaption;
    QByteArray m_scopeSamples;
    bool m_closingByCommand = false; // Save or Cancel closes the window
};

} // namespace tiradex
