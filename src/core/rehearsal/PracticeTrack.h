#pragma once

#include "core/audio/PcmAudio.h"
#include "core/speech/GapTuning.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace tiradex {

class Module1;
class SpeechCache;
struct PlaySettings;

// One reply of a practice track. A partner reply brings its voice; an own
// reply brings the gap the actor has to speak in and, in answer mode, his
// take to hear after it.
struct PracticeStep
{
    bool own = false;
    QString number;     // the reply number, for messages
    int gapSeconds = 0; // own replies: the tuned gap
    // Partner: its sound (a failure stops the track). Own: his take for
    // answer mode, or nothing; may be empty (no sound after the gap).
    std::function<std::optional<PcmAudio>(QString *error)> audio;
};

enum class TrackResult
{
    Done,
    Cancelled,
    Failed // *error says why
};

// Told after each reply (`done` of `total`); returns false to cancel.
using TrackProgress = std::function<bool(int done, int total)>;
// Receives the track in consecutive pieces of mono audio at the track's rate.
using TrackSink = std::function<bool(const PcmAudio &piece, QString *error)>;

// Lays out `steps` in order at `sampleRate`: a partner's sound as it is
// (made mono at the track's rate), an own reply as `beep`, then silence of
// exactly gapSeconds, then his take when the step brings one.
TrackResult AssemblePracticeTrack(const std::vector<PracticeStep> &steps, int sampleRate,
                                  const PcmAudio &beep, const TrackSink &sink,
                                  const TrackProgress &progress, QString *error);

// What to put on a practice track.
struct PracticeRequest
{
    int act = 0;
    int scene = 0;
    QString character; // the actor's own character
    int fromIndex = 0; // first reply, 0-based in the scene
    bool answers = false;
    bool voices = false; // missing replies: partners synthesized, own gaps estimated
    GapTuning tuning;
    // Every scene of the act in order, each from its first reply (`scene`
    // and `fromIndex` are then not used).
    bool wholeAct = false;
};

// The steps of a practice track of a scene (or a whole act) of the open play
// of `state`.
// Recorded replies use their takes and duration records. Without
// `request.voices` every reply must be recorded; with it, a partner reply
// without a recording is spoken from `cache` in its character's voice
// (`settings` and `availableVoices` choose it) and an own reply without one
// gets a gap estimated at `pace`. Fails with *error naming the missing
// replies, an empty scene or act, or a start past the scene's end.
std::optional<std::vector<PracticeStep>>
PlanPracticeTrack(const Module1 &state, const PracticeRequest &request, SpeechCache *cache,
                  const PlaySettings &settings, const QStringList &availableVoices,
                  const SpeakingPace &pace, QString *error);

// The actor's pace over every reply of `character` recorded in the play of
// `state`: recorded seconds over the bytes of those replies' texts; the
// default pace when he has recorded nothing.
SpeakingPace MeasureActorPace(const Module1 &state, const QString &character);

// The gap of an own reply: its recorded seconds (or, without a recording,
// the estimate from its text bytes at `pace`), the short gap for less than
// a second, then tuned.
int OwnGapSeconds(std::optional<int> recordedSeconds, qint64 textBytes, const SpeakingPace &pace,
                  const GapTuning &tuning);

// Assembles `steps` into the sound file `path` (format by its extension),
// written under a temporary name and renamed when complete; a cancelled or
// failed export leaves no file behind.
TrackResult WritePracticeTrack(const QString &path, const std::vector<PracticeStep> &steps,
                               const TrackProgress &progress, QString *error);

} // namespace tiradex
