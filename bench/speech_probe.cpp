// Speech and practice-track figures (bench/speech.sh runs it):
//   tiradex-bench-speech synth PLAYFOLDER ACT SCENE
//     speaks every reply of the scene with its character's voice and prints
//     seconds of speech, CPU seconds and their ratio;
//   tiradex-bench-speech export OUTDIR MINUTES
//     lays out a scene of MINUTES minutes of generated takes as a practice
//     track to OUTDIR/track.wav and OUTDIR/track.ogg, prints the wall time of
//     each, and leaves OUTDIR/samples.wav (the same samples) for the peers;
//   tiradex-bench-speech cue PLAYFOLDER ACT SCENE
//     the work done between two replies of a rehearsal before the next one
//     can play: a spoken reply found in the speech cache and put in place as
//     "temp.wav", against a recorded take unpacked from its vox file.

#include "core/app/FileIo.h"
#include "core/app/Module1.h"
#include "core/audio/PlaybackOps.h"
#include "core/audio/TakePackage.h"
#include "core/audio/Tones.h"
#include "core/audio/WavFile.h"
#include "core/play/SceneCursor.h"
#include "core/rehearsal/PracticeTrack.h"
#include "core/speech/SpeechCache.h"
#include "core/speech/SpokenText.h"
#include "platform/speech/FliteSynthesizer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace tiradex;

namespace {
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The play's state and the scene, as the play window opens them.
void openScene(Module1 &state, SceneCursor &scene, const QString &playFolder, int act,
               int sceneNumber)
{
    state.StartUp(QFileInfo(playFolder).absolutePath());
    state.PlayFolder = QDir::cleanPath(QFileInfo(playFolder).absoluteFilePath());
    state.KeepLineBreaks = true;
    scene.open(state, act, sceneNumber);
}

int synth(const QString &playFolder, int act, int sceneNumber)
{
    Module1 state;
    SceneCursor scene;
    openScene(state, scene, playFolder, act, sceneNumber);
    FliteSynthesizer flite;
    const QStringList voices = flite.voices();
    // Load every voice before timing: loading is paid once per session.
    for (const QString &voice : voices)
        flite.synthesize(QStringLiteral("Ready."), voice, nullptr);
    double speech = 0;
    const double start = cpuSeconds();
    for (int k = 0; k < scene.count(); ++k) {
        const QString text = SpokenText(scene.replyText(state, k));
        QString error;
        const std::optional<PcmAudio> audio =
            flite.synthesize(text, DefaultVoice(scene.character(k), voices), &error);
        if (!audio) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        speech += double(audio->frames()) / audio->sampleRate;
    }
    const double cpu = cpuSeconds() - start;
    std::printf("replies %d speech_s %.1f cpu_s %.2f ratio %.1f\n", scene.count(), speech, cpu,
                speech / cpu);
    return 0;
}

int exportTrack(const QString &outDir, int minutes)
{
    // Partner takes of 6 s and own gaps of 4 s, alternating, to `minutes`.
    const int rate = 22050;
    const PcmAudio take = SineTone(220, 6000, rate, 0.4, 20);
    std::vector<PracticeStep> steps;
    double length = 0;
    for (int i = 0; length < minutes * 60.0; ++i) {
        if (i % 2 == 0) {
            steps.push_back({false, QString::number(i), 0,
                             [&take](QString *) { return std::optional<PcmAudio>(take); }});
            length += 6.0;
        } else {
            steps.push_back({true, QString::number(i), 4, nullptr});
            length += 4.0 + BeepSound().durationMs() / 1000.0;
        }
    }
    QString error;
    for (const char *name : {"track.wav", "track.ogg"}) {
        QElapsedTimer timer;
        timer.start();
        if (WritePracticeTrack(outDir + QLatin1Char('/') + QLatin1String(name), steps, nullptr,
                               &error) != TrackResult::Done) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        std::printf("%s audio_s %.1f wall_s %.3f ratio %.0f\n", name, length,
                    timer.nsecsElapsed() / 1e9, length / (timer.nsecsElapsed() / 1e9));
    }
    // The same samples for the peers.
    PcmAudio all{rate, 1, {}};
    const TrackSink sink = [&all](const PcmAudio &piece, QString *) {
        all.samples.insert(all.samples.end(), piece.samples.begin(), piece.samples.end());
        return true;
    };
    AssemblePracticeTrack(steps, rate, BeepSound(), sink, nullptr, &error);
    return WriteWavFile(outDir + QStringLiteral("/samples.wav"), all, &error) ? 0 : 1;
}
double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

int cue(const QString &playFolder, int act, int sceneNumber)
{
    Module1 state;
    SceneCursor scene;
    openScene(state, scene, playFolder, act, sceneNumber);
    FliteSynthesizer flite;
    SpeechCache cache(SpeechCache::FolderFor(state.PlayFolder), flite);
    const QStringList voices = flite.voices();
    std::vector<double> spoken;
    std::vector<double> recorded;
    QString error;
    for (int k = 0; k < scene.count(); ++k) {
        const QString text = scene.replyText(state, k);
        const QString voice = DefaultVoice(scene.character(k), voices);
        // Prepared ahead, as the rehearsal does while the previous reply plays.
        const std::optional<PcmAudio> audio = cache.speech(text, voice, &error);
        if (!audio)
            return 1;
        QElapsedTimer timer;
        timer.start();
        state.DeleteScratchFiles();
        const std::optional<QString> path = cache.prepare(text, voice, &error);
        if (!path ||
            !CopyFileAtomically(*path, state.AppFolder + QStringLiteral("temp.wav"), &error))
            return 1;
        spoken.push_back(timer.nsecsElapsed() / 1e6);
        // The same sound as a recorded take in a vox file.
        const QString base = scene.baseName(k);
        WriteWavFile(state.AppFolder + QStringLiteral("temp.wav"), *audio, &error);
        if (PackageTake(state.AppFolder, base, act, sceneNumber, audio->durationMs(), &error) !=
                PackageResult::Packaged ||
            !SavePackagedTake(state.AppFolder, state.VoxPath(base), &error))
            return 1;
        timer.restart();
        UnpackVox(state, base, &error);
        recorded.push_back(timer.nsecsElapsed() / 1e6);
        QFile::remove(state.VoxPath(base));
    }
    state.DeleteScratchFiles();
    std::printf("replies %d spoken_median_ms %.2f recorded_median_ms %.2f\n", scene.count(),
                median(spoken), median(recorded));
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args.at(1) == QStringLiteral("synth"))
        return synth(args.at(2), args.at(3).toInt(), args.at(4).toInt());
    if (args.size() == 5 && args.at(1) == QStringLiteral("cue"))
        return cue(args.at(2), args.at(3).toInt(), args.at(4).toInt());
    if (args.size() == 4 && args.at(1) == QStringLiteral("export"))
        return exportTrack(args.at(2), args.at(3).toInt());
    std::fprintf(stderr, "usage: %s synth PLAYFOLDER ACT SCENE | export OUTDIR MINUTES\n", argv[0]);
    return 2;
}
