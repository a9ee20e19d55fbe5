// A rehearsal with synthetic partners on the real sound backend: a shipped
// play with no recording at all, "Voices for missing replies" ticked, run in
// "Non Stop" from one reply of a scene to another without any input, while
// the speakers are recorded from the source "heard". Run by
// bench/voices-latency.sh on the private PulseAudio server of the sound check.
//
// Reported, reply by reply: what the speakers played while a partner spoke
// (its loudness) and, at an own reply, the beep and the loudest sample of
// the gap that follows it. Then the cue latency as bench/cue-latency.sh
// measures it for recorded takes: from the status update that ends one
// partner's speech to the first sample of the next partner's speech at the
// speakers, less the silence Flite puts before the first word.
//   tiradex-voices-rehearsal-probe DATAFOLDER ACT SCENE FROM TO ACTOR
//                                  [GAPFACTOR [SCREENSHOT.png]]
// (FROM and TO count the scene's replies from 1; TO is the last one rehearsed.)

#include "FakeDialogs.h"
#include "SpeakerCapture.h"
#include "TestPlay.h"
#include "core/app/Module1.h"
#include "core/audio/WavFile.h"
#include "core/speech/PlaySettings.h"
#include "gui/play/FrmAvare.h"
#include "gui/rehearsal/Rehearsal.h"
#include "platform/PlatformServices.h"
#include "platform/audio/Beep.h"
#include "platform/audio/QtMediaDevice.h"
#include "platform/audio/QtSoundSystem.h"
#include "platform/speech/FliteSynthesizer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace tiradex;

namespace {
QElapsedTimer Clock;

double nowMs()
{
    return double(Clock.nsecsElapsed()) / 1e6;
}

constexpr int Threshold = 300; // a sample above this is sound, as in bench/cue-latency.sh

// One sound sent to the speakers by the rehearsal.
struct Sent
{
    bool beep = false;
    double playMs = 0;
    double endMs = 0;    // partner: its ending status update
    double leadMs = 0;   // partner: the silence before its first word
    double lengthMs = 0; // partner: its length
};

class ProbeBeep : public Beep
{
public:
    ProbeBeep(Beep &beep, std::vector<Sent> &sent) : m_beep(beep), m_sent(sent) {}
    void play() override
    {
        m_sent.push_back({true, nowMs(), 0, 0, 0});
        m_beep.play();
    }

private:
    Beep &m_beep;
    std::vector<Sent> &m_sent;
};

// The partner's device (MMControl3) notes each "Play", with the silence
// before the first word of the sound it plays, and each ending update.
class ProbeDevice : public QtMediaDevice
{
public:
    ProbeDevice(const Module1 &state, std::vector<Sent> &sent) : m_state(state), m_sent(sent)
    {
        connect(this, &MediaDevice::statusUpdate, this, [this] {
            if (objectName() == QLatin1String("MMControl3") && isOpen() && length() > 0 &&
                position() == length() && !m_sent.empty() && !m_sent.back().beep &&
                m_sent.back().endMs == 0)
                m_sent.back().endMs = nowMs();
        });
    }

protected:
    void commandSent(const QString &command) override
    {
        if (objectName() != QLatin1String("MMControl3") ||
            command.compare(QLatin1String("Play"), Qt::CaseInsensitive) != 0)
            return;
        Sent sound{false, nowMs(), 0, 0, double(length())};
        const std::optional<PcmAudio> wav =
            ReadWavFile(m_state.AppFolder + QStringLiteral("temp.wav"), nullptr);
        if (wav) {
            const auto first = std::find_if(wav->samples.begin(), wav->samples.end(),
                                            [](qint16 s) { return std::abs(int(s)) > Threshold; });
            sound.leadMs =
                double(first - wav->samples.begin()) / wav->channels * 1000.0 / wav->sampleRate;
        }
        m_sent.push_back(sound);
    }

private:
    const Module1 &m_state;
    std::vector<Sent> &m_sent;
};

class ProbeSoundSystem : public QtSoundSystem
{
public:
    ProbeSoundSystem(const Module1 &state, std::vector<Sent> &sent)
        : m_state(state), m_sent(sent), m_beep(QtSoundSystem::beep(), sent)
    {
    }
    std::unique_ptr<MediaDevice> createMediaDevice() override
    {
        return std::make_unique<ProbeDevice>(m_state, m_sent);
    }
    Beep &beep() override { return m_beep; }

private:
    const Module1 &m_state;
    std::vector<Sent> &m_sent;
    ProbeBeep m_beep;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The first sample of the capture heard at or after `ms` of the program's clock.
qint64 sampleAt(const SpeakerCapture &capture, double ms)
{
    qint64 low = 0;
    qint64 high = qint64(capture.samples.size());
    while (low < high) {
        const qint64 mid = (low + high) / 2;
        if (capture.timeOfSample(mid) < ms)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

struct Heard
{
    int peak = 0;
    double rms = 0;
    qint64 firstLoud = -1;
};

Heard heardBetween(const SpeakerCapture &capture, double fromMs, double toMs)
{
    Heard h;
    const qint64 a = sampleAt(capture, fromMs);
    const qint64 b = std::min(sampleAt(capture, toMs), qint64(capture.samples.size()));
    double sum = 0;
    for (qint64 i = a; i < b; ++i) {
        const int level = std::abs(int(capture.samples[std::size_t(i)]));
        h.peak = std::max(h.peak, level);
        sum += double(level) * level;
        if (level > Threshold && h.firstLoud < 0)
            h.firstLoud = i;
    }
    h.rms = b > a ? std::sqrt(sum / double(b - a)) : 0.0;
    return h;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Clock.start();
    if (argc < 7) {
        std::fprintf(stderr,
                     "usage: %s DATAFOLDER ACT SCENE FROM TO ACTOR [GAPFACTOR "
                     "[SCREENSHOT.png]]\n",
                     argv[0]);
        return 2;
    }
    const QString data = QString::fromLocal8Bit(argv[1]);
    const int act = atoi(argv[2]);
    const int sceneNumber = atoi(argv[3]);
    const int from = atoi(argv[4]);
    const int to = atoi(argv[5]);
    const QString actor = QString::fromLocal8Bit(argv[6]);
    const double factor = argc > 7 ? atof(argv[7]) : 1.0;
    const QString shot = argc > 8 ? QString::fromLocal8Bit(argv[8]) : QString();

    QTemporaryDir dir;
    Module1 state;
    TestPlay play(state, dir.path(), 0);
    // The shipped play, cut up at its first opening as the program does.
    if (!QFile::copy(data + QLatin1Char('/') + state.PlayTextFile,
                     state.AppFolder + state.PlayTextFile) ||
        !QFile::copy(data + QLatin1Char('/') + state.CharactersFileName(),
                     state.AppFolder + state.CharactersFileName())) {
        std::fprintf(stderr, "no %s in %s\n", qPrintable(state.PlayTextFile), qPrintable(data));
        return 1;
    }
    state.FilterCharacter = actor;

    std::vector<Sent> sent;
    ProbeSoundSystem sound(state, sent);
    FliteSynthesizer flite;
    FakeDialogs dialogs;
    PlatformServices services;
    services.sound = &sound;
    services.speech = &flite;
    FrmAvare window(state, dialogs);
    window.setServices(services);
    if (!window.Load())
        return 1;
    PlaySettings settings;
    settings.voicesForMissing = true;
    settings.tuning.factorPercent = int(factor * 100.0 + 0.5);
    QString error;
    if (!SavePlaySettings(PlaySettingsPath(state.PlayFolder), settings, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    window.resize(1000, 700);
    window.show();
    auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("TreeView1"));
    window.OpenScene(tree->topLevelItem(act - 1)->child(sceneNumber - 1));
    window.ShowReply(from - 1);
    const SceneCursor &scene = window.scene();
    const int last = std::clamp(to, from, scene.count());
    std::printf("%s, act %d scene %d, replies %d to %d of %d, %s the actor, no recording; "
                "gap factor %.1f\n",
                qPrintable(state.PlayCode), act, sceneNumber, from, last, scene.count(),
                qPrintable(actor), factor);
    QStringList order;
    for (int k = from - 1; k < last; ++k)
        order << scene.character(k);

    SpeakerCapture capture(Clock, 10, 2);
    if (!capture.start("heard")) {
        std::fprintf(stderr, "no source \"heard\" to record the speakers from\n");
        return 1;
    }
    QThread::msleep(300);
    window.findChild<QAbstractButton *>(QStringLiteral("CmdRepetition"))->click();
    if (!dialogs.texts().isEmpty()) {
        std::fprintf(stderr, "refused: %s\n", qPrintable(dialogs.texts().join(" / ")));
        return 1;
    }
    window.findChild<QCheckBox *>(QStringLiteral("CheckJuskaFinRepetition"))->setChecked(true);
    window.findChild<QAbstractButton *>(QStringLiteral("CmdDemarRepetition"))->click();
    const RehearsalEngine &engine = window.rehearsal()->engine();
    bool shotTaken = shot.isEmpty();
    const double deadline = nowMs() + 600000.0;
    // Done at the end of the scene or when the step after `last` has begun.
    const auto done = [&] {
        return engine.state() == RehearsalState::SceneEnd || scene.index() >= last;
    };
    while (!done() && nowMs() < deadline) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        // The panel during the first gap.
        if (!shotTaken && engine.state() == RehearsalState::Gap && engine.gapElapsed() >= 1) {
            window.grab().save(shot);
            shotTaken = true;
        }
    }
    const double endMs = nowMs();
    window.findChild<QAbstractButton *>(QStringLiteral("CmdStopGlobalRepetition"))->click();
    QThread::msleep(400);
    QCoreApplication::processEvents();
    capture.stop();
    if (!done()) {
        std::fprintf(stderr, "the rehearsal did not reach reply %d\n", last);
        return 1;
    }
    // What the step after `last` started is not part of the run.
    while (sent.size() > std::size_t(order.size()))
        sent.pop_back();
    if (!dialogs.texts().isEmpty())
        std::printf("messages: %s\n", qPrintable(dialogs.texts().join(" / ")));

    std::printf("\n%-3s %-10s %-7s %9s %9s %8s %8s\n", "#", "character", "sound", "start ms",
                "length ms", "peak", "rms");
    std::vector<double> cue, handler, output, afterGap;
    bool allHeard = true;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        const Sent &s = sent[i];
        const double nextMs = i + 1 < sent.size() ? sent[i + 1].playMs : endMs;
        const QString who = i < std::size_t(order.size()) ? order.at(qsizetype(i)) : "?";
        if (s.beep) {
            const Heard beep = heardBetween(capture, s.playMs, s.playMs + 400);
            const Heard gap = heardBetween(capture, s.playMs + 400, nextMs);
            std::printf("%-3zu %-10s %-7s %9.0f %9.0f %8d %8.0f  then gap: peak %d\n", i + 1,
                        qPrintable(who), "beep", s.playMs, nextMs - s.playMs, beep.peak, beep.rms,
                        gap.peak);
            allHeard = allHeard && beep.peak > 14000 && gap.peak <= Threshold;
            continue;
        }
        const Heard voice = heardBetween(capture, s.playMs, s.endMs > 0 ? s.endMs : nextMs);
        std::printf("%-3zu %-10s %-7s %9.0f %9.0f %8d %8.0f\n", i + 1, qPrintable(who), "voice",
                    s.playMs, s.lengthMs, voice.peak, voice.rms);
        allHeard = allHeard && voice.rms > 500;
        if (voice.firstLoud < 0 || i == 0)
            continue;
        const double latency = capture.timeOfSample(voice.firstLoud) - s.leadMs;
        const Sent &before = sent[i - 1];
        if (!before.beep && before.endMs > 0) {
            cue.push_back(latency - before.endMs);
            handler.push_back(s.playMs - before.endMs);
            output.push_back(latency - s.playMs);
        } else if (before.beep)
            afterGap.push_back(latency - s.playMs);
    }
    const auto row = [](const char *what, const std::vector<double> &v) {
        if (v.empty())
            return;
        std::printf("%-62s %6.1f ms (min %.1f, max %.1f, n=%zu)\n", what, median(v),
                    *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()),
                    v.size());
    };
    std::printf("\n");
    row("Cue latency, partner's end update -> next partner heard", cue);
    row("  end update -> \"Play\" sent (speech put in place, device opened)", handler);
    row("  \"Play\" sent -> first word heard", output);
    row("After a gap, \"Play\" -> partner heard", afterGap);
    std::printf("%s\n", allHeard ? "Every partner reply heard, every own reply a beep then silence"
                                 : "NOT as expected: see the table");
    return allHeard ? 0 : 1;
}
