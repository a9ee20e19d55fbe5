#pragma once

#include "core/rehearsal/RehearsalEngine.h"
#include "gui/audio/ProgressFollower.h"

#include <QList>
#include <QObject>

#include <memory>

class Beep;
class Dialogs;
class FrmAvare;
class MediaDevice;
class Module1;
class QShortcut;
class RehearsalVoices;

// The rehearsal in the play window: runs the current scene from the current
// reply with the partners' takes on MMControl3, covers the actor's own
// replies, beeps, and waits for Continue (pausing mode) or counts a gap as
// long as the actor's own take ("Non Stop"). The actor may listen to the
// current reply's take on MMControl4 (the prompt) or reveal the text.
//
// The decisions are the RehearsalEngine's; this class plays, counts,
// moves through the scene with the play window's next-reply command and
// shows the engine's controls on the play window's rehearsal panel and bar.
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
// Keys, while the rehearsal panel is shown: Space Start or Continue,
// Escape Stop (partner take, gap or prompt), P the prompt, R reveal the
// text, N "Non Stop", E end of the rehearsal; Ctrl+R enters it. The tool
// tips of the controls name them.
class Rehearsal : public QObject
{
    Q_OBJECT

public:
    Rehearsal(FrmAvare &window, Module1 &state, Dialogs &dialogs, MediaDevice &partner,
              MediaDevice &prompt, Beep &beep);
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
    void renderPanels(bool shown);
    void setupKeys();

    FrmAvare &m_window;
    Module1 &m_state;
    Dialogs &m_dialogs;
    MediaDevice &m_partner;
    MediaDevice &m_prompt;
    Beep &m_beep;
    ProgressFollower m_partnerProgress;
    ProgressFollower m_promptProgress;
    RehearsalEngine m_engine;
    bool m_panelShown = false;
    QList<QShortcut *> m_panelKeys;
    std::unique_ptr<RehearsalVoices> m_voices;
};
