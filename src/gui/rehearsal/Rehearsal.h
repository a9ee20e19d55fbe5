#pragma once

#include "core/rehearsal/RehearsalEngine.h"
#include "gui/audio/ProgressFollower.h"
#include "gui/rehearsal/RehearsalHost.h"

#include <QObject>

#include <memory>

class QTimer;

namespace tiradex {

class Beep;
class Dialogs;
class MediaDevice;
class Module1;
class RehearsalVoices;
struct PlatformServices;

// The rehearsal in the play window: runs the current scene from the current
// reply with the partners' takes on MMControl3, covers the actor's own
// replies, beeps, and waits for Continue (pausing mode) or counts a gap as
// long as the actor's own take ("Non Stop"). The actor may listen to the
// current reply's take on MMControl4 (the prompt) or reveal the text.
//
// The decisions are the RehearsalEngine's; this class plays, counts with
// its gap clock (TimerRepetition), moves through the scene with the play
// window's next reply and hands the engine's controls to the play window,
// which shows them on its rehearsal panel, bar and cover (RehearsalHost).
//
// With "Voices for missing replies" ticked (RehearsalVoices), a partner
// reply without a recording is spoken by a synthetic voice through the same
// device and steps, and an own reply without one gets a gap estimated from
// its text at the actor's pace; every gap of "Non Stop" is tuned.
//
// Sound and time: a partner take that cannot be played is passed over as if
// it had ended, as scene listening does. Leaving the rehearsal stops a
// partner take or a gap first. While a take or the prompt plays or a gap
// runs, PlaybackActive is set, so the play window and the frame refuse to
// close.
//
class Rehearsal : public QObject
{
    Q_OBJECT

public:
    // The voice options go on `voicesFrame`; `services` gives the dialogs,
    // the beep and the synthesizer.
    Rehearsal(RehearsalHost &host, Module1 &state, const PlatformServices &services,
              MediaDevice &partner, MediaDevice &prompt, QWidget &voicesFrame,
              QObject *parent = nullptr);
    ~Rehearsal() override;

    const RehearsalEngine &engine() const { return m_engine; }
    // Synthetic voices and gap tuning on the panel.
    RehearsalVoices &voices() const { return *m_voices; }

public Q_SLOTS:
    // Enter: checks the recordings and the filter, then shows the panel.
    void CmdRepetitionClick();
    // Start: the step on the current reply.
    void CmdDemarRepetitionClick();
    void CmdContinuerRepetitionClick();
    void CmdStopGlobalRepetitionClick();
    // The prompt and its stop.
    void CmdEcouterClick();
    void CmdStopLectureRepetitionClick();
    void CmdVoirTexteClick();
    // "Non Stop": gaps as long as the actor's takes instead of waiting.
    void CheckJuskaFinRepetitionToggled(bool nonStop);
    // A reply picked in the rehearsal's reply list (its position k).
    void ComboNumFichierRepetitionPick(int k);
    // Leave.
    void CmdFinRepetitionClick();
    // One second of the gap (TimerRepetition's tick).
    void TimerRepetitionTick();

private:
    RehearsalReply currentKind() const;
    // Steps on the current reply, passing over partner takes that cannot
    // be played.
    void step();
    bool playPartner();
    void closePartner();
    void closePrompt();
    void partnerDone();
    // The play window's next-reply command, run as no playback is active.
    void nextReply();
    void render();
    void showProgress(const ProgressShown &progress);

    RehearsalHost &m_host;
    Module1 &m_state;
    Dialogs &m_dialogs;
    MediaDevice &m_partner;
    MediaDevice &m_prompt;
    Beep &m_beep;
    ProgressFollower m_partnerProgress;
    ProgressFollower m_promptProgress;
    RehearsalEngine m_engine;
    QTimer *m_timer;
    bool m_panelShown = false;
    bool m_nonStop = false;
    int m_sliderMaximum = 1000; // the rehearsal panel's slider range shown last
    std::unique_ptr<RehearsalVoices> m_voices;
};

} // namespace tiradex
