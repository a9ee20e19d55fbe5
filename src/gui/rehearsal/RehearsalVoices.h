#pragma once

#include "core/speech/GapTuning.h"
#include "core/speech/PlaySettings.h"

#include <QObject>
#include <QString>

#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;
class QDoubleSpinBox;
class QSpinBox;
class QWidget;

namespace tiradex {

class Dialogs;
class Module1;
class SceneCursor;
class SpeechCache;
class SpeechPreparer;
class SpeechSynthesizer;

// What the rehearsal adds for an actor alone: synthetic voices for partner
// replies nobody recorded, estimated gaps for his own replies not recorded
// yet, and the tuning of every gap. Its controls sit on the rehearsal panel
// `panel` (a grid, on a row of their own); the choices are kept per play in
// the play folder's settings file. With the box unticked and the tuning at
// its defaults the rehearsal behaves as without it. Owned by the rehearsal;
// its controls belong to the panel.
class RehearsalVoices : public QObject
{
    Q_OBJECT

public:
    // `synthesizer` may be null: the voices are then not offered.
    RehearsalVoices(QWidget *panel, Module1 &state, Dialogs &dialogs,
                    SpeechSynthesizer *synthesizer);
    ~RehearsalVoices() override;

    QCheckBox *ChkVoix = nullptr;               // "Voices for missing replies"
    QDoubleSpinBox *SpinFacteurPause = nullptr; // gap factor, 0.5 to 2.0
    QSpinBox *SpinPausePlus = nullptr;          // extra seconds, 0 to 5
    QPushButton *CmdPiste = nullptr;            // practice track of the scene
    QCheckBox *ChkActeEntier = nullptr;         // ... or of the whole act
    QComboBox *ComboFormatPiste = nullptr;      // its format (file extension)

    // Reads the open play's settings into the controls.
    void loadSettings();
    // True when missing replies are to be voiced (ticked, and speech works).
    bool active() const;
    GapTuning tuning() const { return m_settings.tuning; }

    // At the start of a rehearsal of `scene`: measures the actor's pace and
    // starts synthesizing the missing partner replies from the current one.
    void enter(const SceneCursor &scene);
    // After a move to the current reply of `scene`: keeps the preparation
    // ahead of it.
    void prepareAhead(const SceneCursor &scene);
    // The gap, in seconds before tuning, for the actor's reply k of `scene`
    // that has no recording: its text length at his pace.
    int estimatedSeconds(const SceneCursor &scene, int k) const;
    // Puts the speech of partner reply k of `scene` in the application
    // folder as "temp.wav" (the scratch files cleared first), so that it
    // plays as a take does. False, with *error, when it cannot be made.
    bool unpackSpeech(const SceneCursor &scene, int k, QString *error);

    // Writes the practice track of `scene` from its current reply (or of its
    // whole act, when ChkActeEntier is ticked) for the actor's character
    // into a folder the user picks, named after the play, act, scene and
    // reply, with a progress dialog that can cancel.
    void exportPracticeTrack(const SceneCursor &scene);

private:
    void save();
    void applyToControls();
    bool ensureCache();

    Module1 &m_state;
    Dialogs &m_dialogs;
    SpeechSynthesizer *m_synthesizer;
    PlaySettings m_settings;
    QString m_settingsFolder; // the play folder m_settings belong to
    SpeakingPace m_pace;
    std::unique_ptr<SpeechCache> m_cache;
    std::unique_ptr<SpeechPreparer> m_preparer;
    bool m_applying = false;
};

} // namespace tiradex
