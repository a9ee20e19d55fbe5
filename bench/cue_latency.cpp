// Cue latency of scene listening on the real sound backend: how long after
// the status update that ends one reply's take the first sample of the next
// reply's take reaches the sound output. Run by bench/cue-latency.sh on the
// private PulseAudio server of the sound check, with a source "heard" that
// records what the speakers play.
//
// A scene of N replies, each recorded as a T-second tone (packaged as the
// recorder packages takes), is listened to from the play window. The output
// is captured from "heard"; the silences between the tones give the cue gaps
// in the output's own clock, and the capture's arrival times map its samples
// onto the program's clock, so each gap splits into the time until the end
// was reported and the time from that report to the next take's first sample.
// Before the listening, the steps of one cue are timed one by one.

#include "FakeDialogs.h"
#include "SpeakerCapture.h"
#include "TestPlay.h"
#include "core/app/Module1.h"
#include "core/audio/PlaybackOps.h"
#include "core/audio/TakePackage.h"
#include "core/audio/WavFile.h"
#include "gui/play/FrmAvare.h"
#include "platform/audio/MediaDevice.h"
#include "platform/audio/QtMediaDevice.h"
#include "platform/audio/QtSoundSystem.h"
#include "platform/audio/WavePlayback.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

using namespace tiradex;

namespace {
QElapsedTimer Clock;

double nowMs()
{
    return double(Clock.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void printRow(const char *what, const std::vector<double> &values)
{
    if (values.empty()) {
        std::printf("%-52s   (no values)\n", what);
        return;
    }
    std::printf("%-52s %8.1f ms  (min %.1f, max %.1f, n=%zu)\n", what, median(values),
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()), values.size());
}

// The sound system of the program, with a first look at every status
// update of its media devices: the time of each update that reports a
// playback's end, before the play window's handler runs.
class ProbeSoundSystem : public QtSoundSystem
{
public:
    std::vector<double> endUpdates;

    std::unique_ptr<MediaDevice> createMediaDevice() override
    {
        auto device = std::make_unique<QtMediaDevice>();
        MediaDevice *raw = device.get();
        QObject::connect(raw, &MediaDevice::statusUpdate, raw, [this, raw] {
            if (raw->isOpen() && raw->length() > 0 && raw->position() == raw->length() &&
                raw->objectName() == QLatin1String("MMControl2"))
                endUpdates.push_back(nowMs());
        });
        return device;
    }
};

// A stretch of sound in the capture, [first, last] sample, with its loudness.
struct Stretch
{
    qint64 first = 0;
    qint64 last = 0;
    bool loud = false; // the takes of odd replies are louder than those of even ones
};

// The takes heard: the stretches of sound (separated by at least 2 ms of
// silence), where neighbours of the same loudness are one take broken by a
// dropout of the output. `dropouts` receives the length of each break.
std::vector<Stretch> takesHeard(const std::vector<qint16> &s, int rate,
                                std::vector<double> *dropouts)
{
    const qint64 minSilence = rate * 2 / 1000;
    std::vector<Stretch> stretches;
    std::vector<int> peaks;
    qint64 quietSince = -1;
    for (qint64 i = 0; i < qint64(s.size()); ++i) {
        const int level = std::abs(int(s[std::size_t(i)]));
        if (level <= 300) {
            if (quietSince < 0)
                quietSince = i;
            continue;
        }
        if (stretches.empty() || (quietSince >= 0 && i - quietSince >= minSilence)) {
            stretches.push_back({i, i, false});
            peaks.push_back(0);
        }
        stretches.back().last = i;
        peaks.back() = std::max(peaks.back(), level);
        quietSince = -1;
    }
    std::vector<Stretch> takes;
    for (std::size_t k = 0; k < stretches.size(); ++k) {
        Stretch stretch = stretches[k];
        stretch.loud = peaks[k] > 13000;
        if (!takes.empty() && takes.back().loud == stretch.loud) {
            dropouts->push_back(double(stretch.first - takes.back().last) * 1000.0 / rate);
            takes.back().last = stretch.last;
        } else {
            takes.push_back(stretch);
        }
    }
    return takes;
}

// A take of `seconds`: a 1000 Hz tone, louder for odd replies, with noise.
PcmAudio tone(int seconds, bool loud)
{
    PcmAudio audio;
    audio.sampleRate = MediaDevice::RecordingRate;
    audio.channels = 1;
    audio.samples.resize(std::size_t(seconds) * std::size_t(audio.sampleRate));
    quint32 noise = 1;
    for (std::size_t i = 0; i < audio.samples.size(); ++i) {
        // Starts at the crest, so the first sample is already loud; the
        // noise keeps the take as hard to pack as a voice.
        const double phase = 2.0 * std::numbers::pi * 1000.0 * double(i) / audio.sampleRate;
        noise = noise * 1103515245u + 12345u;
        audio.samples[i] = qint16((loud ? 20000.0 : 8000.0) * std::cos(phase) +
                                  double(noise >> 16) / 65536.0 * 4000.0 - 2000.0);
    }
    return audio;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Clock.start();
    const int replies = argc > 1 ? std::max(2, atoi(argv[1])) : 21;
    const int seconds = argc > 2 ? std::max(1, atoi(argv[2])) : 30;

    QTemporaryDir dir;
    Module1 state;
    TestPlay play(state, dir.path(), 1);
    play.writeCharacters({{"HUBERT", "a chamberlain"}, {"ARTHUR", "a duke"}});
    play.writeStore({TestPlay::numberedScene(1, 1, 1, replies, {"HUBERT", "ARTHUR"})});
    const PcmAudio loudTake = tone(seconds, true);
    const PcmAudio softTake = tone(seconds, false);
    for (int n = 1; n <= replies; ++n) {
        const PcmAudio &take = n % 2 ? loudTake : softTake;
        const QString baseName = Module1::ReplyBaseName(n, n % 2 ? "HUBERT" : "ARTHUR");
        QString error;
        if (!WriteWavFile(state.AppFolder + "temp.wav", take, &error) ||
            PackageTake(state.AppFolder, baseName, 1, 1, take.durationMs(), &error) !=
                PackageResult::Packaged ||
            !SavePackagedTake(state.AppFolder, state.VoxPath(baseName), &error)) {
            std::fprintf(stderr, "cannot write the takes: %s\n", qPrintable(error));
            return 1;
        }
    }
    std::printf("%d replies of %d s takes (16-bit mono %d Hz), vox file %lld bytes\n\n", replies,
                seconds, MediaDevice::RecordingRate,
                qint64(QFileInfo(state.VoxPath(Module1::ReplyBaseName(1, "HUBERT"))).size()));

    // The steps of one cue, one by one, on the same takes.
    std::vector<double> unpack, open, play_, firstMove;
    for (int i = 0; i < 20; ++i) {
        QtMediaDevice device;
        const QString baseName =
            Module1::ReplyBaseName(i % replies + 1, i % 2 ? "ARTHUR" : "HUBERT");
        double t = nowMs();
        UnpackVox(state, baseName);
        unpack.push_back(nowMs() - t);
        t = nowMs();
        OpenWaveDevice(device, state);
        open.push_back(nowMs() - t);
        t = nowMs();
        device.sendCommand("Play");
        play_.push_back(nowMs() - t);
        while (device.position() == 0 && nowMs() - t < 3000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            QThread::usleep(200);
        }
        firstMove.push_back(nowMs() - t);
        device.sendCommand("Close");
        QCoreApplication::processEvents();
        QThread::msleep(100);
    }
    std::printf("Steps of one cue, timed alone (20 times):\n");
    printRow("UnpackVox (scratch cleared, archive inflated)", unpack);
    printRow("OpenWaveDevice (WAV read into memory)", open);
    printRow("\"Play\" (output stream created and started)", play_);
    printRow("\"Play\" -> output clock first moves", firstMove);
    std::printf("\n");

    SpeakerCapture capture(Clock, 10, 2);
    if (!capture.start("heard")) {
        std::fprintf(stderr, "no source \"heard\" to record the speakers from\n");
        return 1;
    }
    ProbeSoundSystem sound;
    FakeDialogs dialogs;
    FrmAvare window(state, dialogs);
    window.setSoundSystem(&sound);
    if (!window.Load())
        return 1;
    window.show();
    auto *tree = window.findChild<QTreeWidget *>("TreeView1");
    window.OpenScene(tree->topLevelItem(0)->child(0));
    // The time at which the play window's handler of each end returned:
    // the next take is then started.
    std::vector<double> handled;
    QObject::connect(window.MMControl2(), &MediaDevice::statusUpdate, &window, [&] {
        if (sound.endUpdates.size() > handled.size())
            handled.push_back(nowMs());
    });
    QThread::msleep(300);
    window.findChild<QAbstractButton *>("CmdEcouteGlobalScene")->click();
    while (state.PlaybackActive)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QThread::msleep(300);
    QCoreApplication::processEvents();
    capture.stop();

    std::vector<double> dropouts;
    const std::vector<Stretch> stretches =
        takesHeard(capture.samples, SpeakerCapture::Rate, &dropouts);
    std::printf("Scene listening: %zu takes heard, %zu ends reported\n", stretches.size(),
                sound.endUpdates.size());
    printRow("Dropouts of the output inside takes", dropouts);
    if (stretches.size() != std::size_t(replies) ||
        sound.endUpdates.size() < std::size_t(replies)) {
        std::fprintf(stderr, "the takes heard do not match the scene\n");
        return 1;
    }
    std::vector<double> gap, endReport, handler, cue;
    for (int i = 0; i + 1 < replies; ++i) {
        const double lastHeard = capture.timeOfSample(stretches[std::size_t(i)].last);
        const double nextHeard = capture.timeOfSample(stretches[std::size_t(i) + 1].first);
        const double end = sound.endUpdates[std::size_t(i)];
        gap.push_back(double(stretches[std::size_t(i) + 1].first - stretches[std::size_t(i)].last) *
                      1000.0 / SpeakerCapture::Rate);
        endReport.push_back(end - lastHeard);
        handler.push_back(handled[std::size_t(i)] - end);
        cue.push_back(nextHeard - end);
    }
    printRow("Silence between takes at the output (output clock)", gap);
    printRow("  last sample heard -> end status update", endReport);
    printRow("  end status update -> next take started (handler)", handler);
    printRow("  end status update -> next take's first sample out", cue);
    std::printf("\nCue latency (end status update -> first sample of the next take at the "
                "output), median of %zu: %.1f ms\n",
                cue.size(), median(cue));
    return 0;
}
