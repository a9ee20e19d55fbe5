#pragma once

#include "core/speech/GapTuning.h"

#include <QString>

#include <optional>

namespace tiradex {

// The reply the rehearsal stands on, as the rehearsal sees it.
struct RehearsalReply
{
    bool own = false;  // the filtered character's reply: covered, not played
    bool last = false; // the last reply of the scene
    // The cue has a sound to play: the reply's take, or the synthetic voice
    // of a partner's reply nobody recorded.
    bool cueSound = true;
};

enum class RehearsalState
{
    Off,      // the reply panel and main tool bar are shown
    Ready,    // waiting for Start on the current reply
    Partner,  // a partner's take plays
    Turn,     // the actor's own reply, pausing mode: waiting for Continue
    Gap,      // the actor's own reply, non-stop mode: the gap counts down
    Prompt,   // the actor listens to the current reply's take
    SceneEnd, // the last reply is done
};

// How the rehearsal's controls stand.
struct RehearsalControls
{
    // The rehearsal panel and bar in place of the reply panel and main tool
    // bar, the act/scene tree disabled.
    bool panelShown = false;
    bool startShown = false;
    bool continueShown = false;
    bool stopEnabled = false;       // stops a partner take or a gap
    bool promptEnabled = false;     // plays the current reply's take
    bool promptStopEnabled = false; // stops it
    bool revealEnabled = false;     // takes the cover away
    bool replyListEnabled = false;
    bool barEnabled = false; // the rehearsal bar with its "end rehearsal" button
    bool coverShown = false;
    bool countdownShown = false;
    // Sound plays or a gap runs: the play window and the frame refuse to close.
    bool playbackActive = false;
    bool timerRunning = false; // the gap clock, one tick a second
    // Writes a practice track; not while sound plays or a gap runs.
    bool practiceTrackEnabled = false;

    bool operator==(const RehearsalControls &) const = default;
};

// The decisions of a rehearsal: which state it is in, which controls a
// state shows and enables, and the arithmetic of the gap. It plays nothing
// and moves no reply: each event says what the caller is to do next. An
// event that the controls of the state do not offer is refused (returns
// false or nothing) and changes nothing.
//
// The step is the only place where a reply's kind is looked at, and it is
// given the reply each time: the rehearsal never looks ahead, so "Non
// Stop" and the filter act from the next step on.
class RehearsalEngine
{
public:
    // What comes after a partner take, a gap or a turn.
    enum class After
    {
        Advance, // the caller moves to the next reply and steps on it
        SceneEnd // the last reply is done
    };

    // The gap in seconds for a duration record of `recordedSeconds`: the
    // recorded seconds, or 2 for a take under one second (0) or a record
    // that is not a length.
    static int GapLengthFor(int recordedSeconds);

    RehearsalState state() const { return m_state; }
    RehearsalReply reply() const { return m_reply; }
    RehearsalControls controls() const;
    // True after Reveal, until the next step or change of reply.
    bool revealed() const { return m_revealed; }

    // Off -> Ready on `reply`.
    bool enter(RehearsalReply reply);
    // Start, and the step that follows an Advance: Partner for a partner
    // reply (the caller plays its take), Turn for an own reply in pausing
    // mode and Gap in non-stop mode (the caller beeps; for a gap it then
    // hands the recorded duration to startGap()). Nothing when no step can
    // run now.
    std::optional<RehearsalState> step(RehearsalReply reply, bool nonStop);
    // Sets the running gap's length from the duration record (the short gap
    // for a record under a second), tuned by `tuning` (the defaults leave it).
    void startGap(int recordedSeconds, const GapTuning &tuning = GapTuning());
    // The partner take is over.
    std::optional<After> partnerDone();
    // One second of the gap has passed; a result once the gap is over.
    std::optional<After> gapTick();
    // Continue at a turn: true when the caller is to move to the next reply
    // and step on it.
    bool continueTurn();
    // Stops a partner take or a gap -> Ready on the same reply.
    bool stop();
    // The actor listens to the current reply's take.
    bool prompt();
    // The prompt is over or stopped: back to the state it was asked from.
    bool endPrompt();
    bool reveal();
    // Another reply of the scene was picked -> Ready on it.
    bool chooseReply(RehearsalReply reply);
    // Ends the rehearsal (not while the prompt plays); the caller stops
    // whatever plays or counts first.
    bool leave();

    int gapLength() const { return m_gapLength; }
    int gapElapsed() const { return m_gapElapsed; }
    // The countdown under the name during a gap ("7" ... "0"); "" otherwise.
    QString countdownText() const;
    // The gap's progress, "3/7 seconds" after its third second; "" before
    // its first second and outside a gap.
    QString progressText() const { return m_progress; }
    // The progress slider during a gap: value and maximum (seconds).
    int sliderValue() const { return m_sliderValue; }
    int sliderMaximum() const { return m_gapLength; }

private:
    void settle(RehearsalState state);

    RehearsalState m_state = RehearsalState::Off;
    RehearsalState m_beforePrompt = RehearsalState::Ready;
    RehearsalReply m_reply;
    bool m_revealed = false;
    // Whether Ready offers the cue: on entering or picking a reply only for
    // the actor's own reply, after a Stop on either.
    bool m_cueOffered = true;
    int m_gapLength = 0;
    int m_gapElapsed = 0;
    int m_countdown = 0;
    int m_sliderValue = 1;
    QString m_progress;
};

} // namespace tiradex
