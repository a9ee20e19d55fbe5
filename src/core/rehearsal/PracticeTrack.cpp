#include "core/rehearsal/PracticeTrack.h"

#include "core/app/Module1.h"
#include "core/audio/PcmConvert.h"
#include "core/audio/SoundFileWriter.h"
#include "core/audio/Tones.h"
#include "core/audio/VoxContents.h"
#include "core/play/SceneCursor.h"
#include "core/rehearsal/RehearsalEngine.h"
#include "core/rehearsal/RehearsalEntry.h"
#include "core/speech/PlaySettings.h"
#include "core/speech/SpeechCache.h"

#include <QDir>
#include <QFileInfo>

namespace tiradex {

namespace {
// The rate of the takes, of the beep and of every track.
constexpr int TrackRate = 22050;
// Silence is handed on in pieces of this many frames, so a long gap needs
// no long buffer.
constexpr qint64 SilenceChunk = 1 << 16;

bool sendSilence(qint64 frames, int rate, const TrackSink &sink, QString *error)
{
    PcmAudio piece{rate, 1, {}};
    while (frames > 0) {
        const qint64 n = std::min(frames, SilenceChunk);
        piece.samples.assign(size_t(n), 0);
        if (!sink(piece, error))
            return false;
        frames -= n;
    }
    return true;
}
} // namespace

TrackResult AssemblePracticeTrack(const std::vector<PracticeStep> &steps, int sampleRate,
                                  const PcmAudio &beep, const TrackSink &sink,
                                  const TrackProgress &progress, QString *error)
{
    const int total = int(steps.size());
    const PcmAudio cue = ConvertToMono(beep, sampleRate);
    for (int i = 0; i < total; ++i) {
        const PracticeStep &step = steps[size_t(i)];
        if (progress && !progress(i, total))
            return TrackResult::Cancelled;
        QString stepError;
        std::optional<PcmAudio> sound;
        if (step.audio)
            sound = step.audio(&stepError);
        if (!step.own && !sound) {
            if (error)
                *error =
                    QStringLiteral("The reply %1 cannot be played: %2").arg(step.number, stepError);
            return TrackResult::Failed;
        }
        if (step.own) {
            if (!sink(cue, error) ||
                !sendSilence(PcmAudio::MsToFrames(qint64(step.gapSeconds) * 1000, sampleRate),
                             sampleRate, sink, error))
                return TrackResult::Failed;
        }
        if (sound && sound->frames() > 0 && !sink(ConvertToMono(*sound, sampleRate), error))
            return TrackResult::Failed;
    }
    if (progress && !progress(total, total))
        return TrackResult::Cancelled;
    return TrackResult::Done;
}

int OwnGapSeconds(std::optional<int> recordedSeconds, qint64 textBytes, const SpeakingPace &pace,
                  const GapTuning &tuning)
{
    const int seconds = recordedSeconds ? *recordedSeconds : pace.secondsFor(textBytes);
    return tuning.apply(RehearsalEngine::GapLengthFor(seconds));
}

SpeakingPace MeasureActorPace(const Module1 &state, const QString &character)
{
    qint64 seconds = 0;
    qint64 bytes = 0;
    const QStringList voxFiles =
        QDir(state.VoxFolder()).entryList({QStringLiteral("*.vox")}, QDir::Files, QDir::Name);
    for (const QString &name : voxFiles) {
        const QString base = Module1::BaseNameOf(name);
        if (Module1::CharacterOf(name) != character)
            continue;
        const std::optional<VoxContents> vox = ReadVoxContents(state.VoxPath(base), false, nullptr);
        if (!vox)
            continue;
        // The duration record says where the reply's text is.
        const QFileInfo text(state.ReplyTextPath(vox->act, vox->scene, base));
        if (!text.isFile())
            continue;
        seconds += vox->recordedSeconds;
        bytes += text.size();
    }
    return SpeakingPace::FromRecordings(seconds, bytes);
}

namespace {
// Appends the steps of replies `from`.. of `scene` to `steps`, and the
// numbers of those that cannot be on the track to `missing`.
void planScene(const Module1 &state, const PracticeRequest &request, const SceneCursor &scene,
               int from, SpeechCache *cache, const PlaySettings &settings,
               const QStringList &availableVoices, const SpeakingPace &pace,
               std::vector<PracticeStep> &steps, QStringList &missing)
{
    for (int k = from; k < scene.count(); ++k) {
        PracticeStep step;
        step.number = scene.replyNumber(k);
        step.own = scene.character(k) == request.character;
        const QString voxPath = state.VoxPath(scene.baseName(k));
        const bool recorded = scene.hasRecording(state, k);
        if (!recorded && (!request.voices || (!step.own && !cache))) {
            missing.append(step.number);
            continue;
        }
        if (step.own) {
            std::optional<int> recordedSeconds;
            if (recorded) {
                const std::optional<VoxContents> vox = ReadVoxContents(voxPath, false, nullptr);
                recordedSeconds = vox ? vox->recordedSeconds : 0;
            }
            step.gapSeconds =
                OwnGapSeconds(recordedSeconds, QFileInfo(scene.replyTextPath(state, k)).size(),
                              pace, request.tuning);
            if (recorded && request.answers) {
                step.audio = [voxPath](QString *e) -> std::optional<PcmAudio> {
                    std::optional<VoxContents> vox = ReadVoxContents(voxPath, true, e);
                    return vox ? vox->take : std::nullopt;
                };
            }
        } else if (recorded) {
            step.audio = [voxPath](QString *e) -> std::optional<PcmAudio> {
                std::optional<VoxContents> vox = ReadVoxContents(voxPath, true, e);
                return vox ? vox->take : std::nullopt;
            };
        } else {
            const QString text = scene.replyText(state, k);
            const QString voice = settings.voiceFor(scene.character(k), availableVoices);
            step.audio = [cache, text, voice](QString *e) { return cache->speech(text, voice, e); };
        }
        steps.push_back(std::move(step));
    }
}
} // namespace

std::optional<std::vector<PracticeStep>>
PlanPracticeTrack(const Module1 &state, const PracticeRequest &request, SpeechCache *cache,
                  const PlaySettings &settings, const QStringList &availableVoices,
                  const SpeakingPace &pace, QString *error)
{
    std::vector<PracticeStep> steps;
    QStringList missing;
    if (request.wholeAct) {
        for (int number = 1; number <= Module1::MaxScenesPerAct; ++number) {
            SceneCursor scene;
            scene.open(state, request.act, number);
            planScene(state, request, scene, 0, cache, settings, availableVoices, pace, steps,
                      missing);
        }
        if (steps.empty() && missing.isEmpty()) {
            if (error)
                *error = QStringLiteral("The act %1 holds no reply").arg(request.act);
            return std::nullopt;
        }
    } else {
        SceneCursor scene;
        scene.open(state, request.act, request.scene);
        if (scene.isEmpty()) {
            if (error)
                *error = QStringLiteral("The scene %1 of act %2 holds no reply")
                             .arg(request.scene)
                             .arg(request.act);
            return std::nullopt;
        }
        if (request.fromIndex < 0 || request.fromIndex >= scene.count()) {
            if (error)
                *error = QStringLiteral("The scene has %1 replies; there is no reply %2")
                             .arg(scene.count())
                             .arg(request.fromIndex + 1);
            return std::nullopt;
        }
        planScene(state, request, scene, request.fromIndex, cache, settings, availableVoices, pace,
                  steps, missing);
    }
    if (!missing.isEmpty()) {
        if (error)
            *error =
                QStringLiteral("Replies without a recording: ") + MissingRecordingsList(missing);
        return std::nullopt;
    }
    return steps;
}

TrackResult WritePracticeTrack(const QString &path, const std::vector<PracticeStep> &steps,
                               const TrackProgress &progress, QString *error)
{
    SoundFileWriter writer;
    if (!writer.open(path, TrackRate, error))
        return TrackResult::Failed;
    const TrackSink sink = [&writer](const PcmAudio &piece, QString *e) {
        return writer.write(piece.samples.data(), qint64(piece.samples.size()), e);
    };
    const TrackResult result =
        AssemblePracticeTrack(steps, TrackRate, BeepSound(), sink, progress, error);
    if (result != TrackResult::Done)
        return result; // the writer removes its temporary file
    return writer.commit(error) ? TrackResult::Done : TrackResult::Failed;
}

} // namespace tiradex
