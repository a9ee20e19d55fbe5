#pragma once

namespace tiradex {

enum class RecorderState
{
    Empty,           // no take: at opening and after Delete
    Recording,       // the device records the take
    RecordingPaused, // the recording holds
    Finishing,       // the second after Stop: the device goes on recording
    FinishingAtEnd,  // the second after the end of the range (recording or playback)
    TakeReady,       // the take is finished (packaged when its file was written)
    Playing,         // the take plays
    PlaybackPaused,  // the playback holds
    Closed,          // Save, Cancel or an accepted close ended the window
};

// Which of the recorder's controls are enabled; Cancel always is.
struct RecorderControls
{
    bool record = false;
    bool pauseRecording = false;
    bool resumeRecording = false;
    bool stopRecording = false;
    bool play = false;
    bool pausePlayback = false;
    bool resumePlayback = false;
    bool deleteTake = false;
    bool save = false;
    bool scopeBox = false;    // the "Scope" check box
    bool finishTimer = false; // the one-second timer that finishes a take

    bool operator==(const RecorderControls &) const = default;
};

// The decisions of the reply recorder: its state, which controls a state
// enables, whether a take is being recorded, started or ready to save, and
// what a close request answers. It drives no device and writes no file:
// each accepted event tells the caller to do the event's work. An event
// the state does not offer is refused (returns false) and changes nothing.
class RecorderEngine
{
public:
    enum class CloseAnswer
    {
        Refuse,  // a take is being recorded: "Stop at first the current recording."
        Discard, // a take that was not saved is discarded, then the window closes
        Close,   // nothing to keep
    };

    RecorderState state() const { return m_state; }
    RecorderControls controls() const;
    // A take was started and is not yet saved, discarded or deleted.
    bool takeStarted() const { return m_takeStarted; }
    // The device records (or holds a paused recording) until the finish step.
    bool takeBeingRecorded() const;
    // A finished take was packaged: Play plays it and Save saves it.
    bool takeReady() const { return m_takeReady; }
    // From the finish step until packaged() is told.
    bool packaging() const { return m_packaging; }
    // Position updates leave the slider and the title alone: set by Delete,
    // cleared by Record.
    bool hidePosition() const { return m_hidePosition; }

    bool record();
    bool pauseRecording();
    bool resumeRecording();
    // Stop: the take is finished by the finish step one second later.
    bool stop();
    // The position reached the end of the range while recording or playing:
    // as Stop, and Play and Delete are offered.
    bool endOfRange();
    // The finishing second is over: the caller stops and saves the device
    // and packages the take; packaged() follows.
    bool finishTick();
    // The packaging is done; `written` when the packaged take is there.
    bool packaged(bool written);
    // Plays the packaged take from its start (calls off a finishing second
    // that follows a playback).
    bool play();
    bool pausePlayback();
    bool resumePlayback();
    // Delete answered Yes: the take and its files go, a pending finish step
    // is called off.
    bool deleteTake();
    // Save asked: true when a finished take is ready to be saved, false for
    // "No finished take is ready." (the window stays).
    bool saveRequested() const;
    // The take is saved, or discarded by Cancel: the window closes.
    void saved() { close(); }
    void cancel() { close(); }
    // The window's own close control, or the play window closing it.
    CloseAnswer closeRequested();

private:
    // Pause and resume: from `from` to `to`; any other state refuses.
    bool move(RecorderState from, RecorderState to);
    void close();

    RecorderState m_state = RecorderState::Empty;
    bool m_takeStarted = false;
    bool m_takeReady = false;
    bool m_onDevice = false; // the device records or holds a recording
    bool m_timerArmed = false;
    bool m_packaging = false;
    bool m_hidePosition = false;
};

} // namespace tiradex
