// Rehearses a four-reply scene in non-stop mode through the Qt Multimedia
// backend, from Start to the scene's end without any input, and listens to
// the speakers. Run by pulse-record-play.sh against its private PulseAudio
// server, with a source "rehearsal_heard" that records what the speakers
// play.
//
// The scene is P1 A2 P3 A4 (HUBERT the partner, ARTHUR the actor). Checked:
// the partner takes play in the scene's order, each own reply beeps, and
// each gap lasts as long as its duration record says (within 150 ms), both
// by the program's clock (from the beep to the next step) and at the
// speakers (from the beep's first sample to the next take's). The scene is
// rehearsed TIRADEX_REHEARSAL_RUNS times (3 by default).

#include "FakeDialogs.h"
#include "SpeakerCapture.h"
#include "TestPlay.h"
#include "VoxFiles.h"
#include "WidgetDriver.h"
#include "core/app/Module1.h"
#include "core/audio/TakePackage.h"
#include "core/audio/Tones.h"
#include "core/audio/WavFile.h"
#include "gui/play/FrmAvare.h"
#include "gui/rehearsal/Rehearsal.h"
#include "platform/audio/MediaDevice.h"
#include "platform/audio/QtSoundSystem.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace tiradex;

namespace {
QElapsedTimer Clock;

double nowMs()
{
    return double(Clock.nsecsElapsed()) / 1e6;
}

constexpr qint64 P1Ms = 2000;
constexpr qint64 A2Ms = 3400; // a 3-second gap
constexpr qint64 P3Ms = 1500;
constexpr qint64 A4Ms = 2300; // a 2-second gap
constexpr double GapToleranceMs = 150.0;

// A partner's take: a 1000 Hz tone of `amplitude` with some noise, starting
// at its crest so that its first sample is heard at once. Quiet takes are
// told from mid ones and both from the beep (0.6 of full scale) by their
// loudness at the speakers.
constexpr double Quiet = 5000.0;
constexpr double Mid = 10000.0;
PcmAudio partnerTake(qint64 ms, double amplitude = Quiet)
{
    PcmAudio audio;
    audio.sampleRate = MediaDevice::RecordingRate;
    audio.channels = 1;
    audio.samples.resize(std::size_t(PcmAudio::MsToFrames(ms, audio.sampleRate)));
    quint32 noise = 1;
    for (std::size_t i = 0; i < audio.samples.size(); ++i) {
        const double phase = 2.0 * std::numbers::pi * 1000.0 * double(i) / audio.sampleRate;
        noise = noise * 1103515245u + 12345u;
        audio.samples[i] =
            qint16(amplitude * std::cos(phase) + double(noise >> 16) / 65536.0 * 1000.0 - 500.0);
    }
    return audio;
}

// A sound at the speakers, in milliseconds of the capture.
struct Sound
{
    double startMs = 0;
    double endMs = 0;
    int loudness = 0;    // 0 quiet take, 1 mid take, 2 beep
    double brokenMs = 0; // silence of the output's dropouts inside it
    // What was heard of it, dropouts left out.
    double lengthMs() const { return endMs - startMs - brokenMs; }
};

// The sounds of a capture: stretches above the noise floor separated by at
// least 2 ms of silence, told apart by their peak. Neighbours of the same
// loudness, and scraps shorter than 10 ms, are one sound broken by a
// dropout of the output: consecutive takes differ in loudness.
std::vector<Sound> soundsHeard(const std::vector<qint16> &samples)
{
    const qint64 minSilence = SpeakerCapture::Rate * 2 / 1000;
    const auto ms = [](qint64 i) { return double(i) * 1000.0 / SpeakerCapture::Rate; };
    std::vector<Sound> sounds;
    qint64 first = -1;
    qint64 last = -1;
    int peak = 0;
    const auto close = [&] {
        const int loudness = peak > 14000 ? 2 : peak > (Quiet + Mid) / 2 + 500 ? 1 : 0;
        // A scrap of a few milliseconds is the last of a sound cut by a
        // dropout: too short to reach the sound's peak.
        const bool scrap = last - first < SpeakerCapture::Rate * 10 / 1000;
        if (!sounds.empty() && (sounds.back().loudness == loudness || scrap)) {
            sounds.back().brokenMs += ms(first) - sounds.back().endMs;
            sounds.back().endMs = ms(last + 1);
        } else {
            sounds.push_back({ms(first), ms(last + 1), loudness, 0.0});
        }
    };
    for (qint64 i = 0; i < qint64(samples.size()); ++i) {
        const int level = std::abs(int(samples[std::size_t(i)]));
        if (level <= 300)
            continue;
        if (first >= 0 && i - last > minSilence) {
            close();
            first = -1;
        }
        if (first < 0) {
            first = i;
            peak = 0;
        }
        peak = std::max(peak, level);
        last = i;
    }
    if (first >= 0)
        close();
    return sounds;
}

QString describe(const std::vector<Sound> &sounds)
{
    QStringList parts;
    for (const Sound &s : sounds)
        parts << QStringLiteral("%1+%2%3")
                     .arg(s.startMs, 0, 'f', 0)
                     .arg(s.lengthMs(), 0, 'f', 0)
                     .arg(QLatin1String(s.loudness == 2   ? "b"
                                        : s.loudness == 1 ? "m"
                                                          : "q"));
    return parts.join(QStringLiteral(", "));
}

constexpr double MaxShortfallMs = 10.0;
// Whether `sounds` are the sounds `expected` (loudness, length in ms), in
// order, each within 100 ms of its length and heard no more than
// MaxShortfallMs shorter: a take missing, doubled, cut short or played in
// the wrong place fails.
bool HeardAs(const std::vector<Sound> &sounds, const QList<std::pair<int, double>> &expected)
{
    if (qsizetype(sounds.size()) != expected.size())
        return false;
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        const auto [loudness, ms] = expected[qsizetype(i)];
        // A take cut short at its end loses the actor's last word.
        if (sounds[i].loudness != loudness || std::abs(sounds[i].lengthMs() - ms) > 100.0 ||
            ms - sounds[i].lengthMs() > MaxShortfallMs)
            return false;
    }
    return true;
}

constexpr int QuietTake = 0;
constexpr int MidTake = 1;
constexpr int TheBeep = 2;
constexpr double BeepMs = 180.0;
// The sounds expected at the speakers: loudness and length in ms.
using Heard = QList<std::pair<int, double>>;
} // namespace

class PulseRehearsal : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;
    FakeDialogs m_dialogs;
    QtSoundSystem m_sound;

    static int runs()
    {
        const int runs = qEnvironmentVariableIntValue("TIRADEX_REHEARSAL_RUNS");
        return runs > 0 ? runs : 3;
    }

    // Rehearses scene `scene` of act 1 in non-stop mode from its first
    // reply to its end, without any input after Start, and checks the
    // gaps by the program's clock and at the speakers, and the sounds heard.
    void rehearse(int scene, const QList<double> &gaps, const Heard &heard)
    {
        // Closing the play window forgets the filter.
        m_state.FilterCharacter = QStringLiteral("ARTHUR");
        FrmAvare window(m_state, m_dialogs);
        window.setSoundSystem(&m_sound);
        QVERIFY(window.Load());
        window.show();
        auto *tree = Control<QTreeWidget>(&window, "TreeView1");
        ClickNode(tree, TreeNode(tree, "ACT 1", QStringLiteral("SCENE %1").arg(scene)));
        // The gaps by the program's clock: from entering the gap (the beep)
        // to leaving it (the next take, or the scene's end).
        std::vector<double> gapStarts, gapEnds;
        RehearsalState last = RehearsalState::Off;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            const RehearsalState now = window.rehearsal()->engine().state();
            if (now != last && now == RehearsalState::Gap)
                gapStarts.push_back(nowMs());
            if (now != last && last == RehearsalState::Gap)
                gapEnds.push_back(nowMs());
            last = now;
        });
        poll.start(1);

        SpeakerCapture capture(Clock);
        QVERIFY2(capture.start("rehearsal_heard"), "no source rehearsal_heard");
        QTest::qWait(300);
        Click(&window, "CmdRepetition");
        Control<QCheckBox>(&window, "CheckJuskaFinRepetition")->setChecked(true);
        Click(&window, "CmdDemarRepetition");
        QTRY_VERIFY_WITH_TIMEOUT(window.rehearsal()->engine().state() == RehearsalState::SceneEnd,
                                 30000);
        QTest::qWait(400);
        capture.stop();
        QCOMPARE(m_dialogs.texts(), QStringList());
        QCOMPARE(gapEnds.size(), std::size_t(gaps.size()));
        for (std::size_t b = 0; b < gapEnds.size(); ++b) {
            const double gap = gapEnds[b] - gapStarts[b];
            QVERIFY2(std::abs(gap - gaps[qsizetype(b)]) <= GapToleranceMs,
                     qPrintable(QString::number(gap)));
        }
        const std::vector<Sound> sounds = soundsHeard(capture.samples);
        const QByteArray described = describe(sounds).toLatin1();
        QVERIFY2(HeardAs(sounds, heard), described);
        for (std::size_t k = 0, b = 0; k + 1 < sounds.size(); ++k) {
            if (sounds[k].loudness == TheBeep) {
                const double heardGap = sounds[k + 1].startMs - sounds[k].startMs;
                QVERIFY2(std::abs(heardGap - gaps[qsizetype(b++)]) <= GapToleranceMs, described);
            }
        }
        qInfo("heard %s", described.constData());
        Click(&window, "CmdFinRepetition");
        QVERIFY(window.close());
    }

    void recordTake(int number, const QString &character, const PcmAudio &take)
    {
        QVERIFY(WriteVox(m_state, Module1::ReplyBaseName(number, character),
                         EncodeWav16(take, nullptr).value_or(QByteArray()),
                         DurationRecordLine(1, 1, take.durationMs())));
    }

private Q_SLOTS:
    void initTestCase()
    {
        Clock.start();
        TestPlay play(m_state, m_dir.path(), 1);
        play.writeCharacters(
            {{"HUBERT", "a chamberlain"}, {"ARTHUR", "a duke"}, {"PHILIP", "a king"}});
        TestPlay::Scene partners = TestPlay::numberedScene(1, 2, 5, 4, {"HUBERT", "PHILIP"});
        partners.replies.last().character = QStringLiteral("ARTHUR");
        play.writeStore({TestPlay::numberedScene(1, 1, 1, 4, {"HUBERT", "ARTHUR"}), partners});
        recordTake(1, QStringLiteral("HUBERT"), partnerTake(P1Ms));
        recordTake(2, QStringLiteral("ARTHUR"), partnerTake(A2Ms));
        recordTake(3, QStringLiteral("HUBERT"), partnerTake(P3Ms, Mid));
        recordTake(4, QStringLiteral("ARTHUR"), partnerTake(A4Ms));
        recordTake(5, QStringLiteral("HUBERT"), partnerTake(1000));
        recordTake(6, QStringLiteral("PHILIP"), partnerTake(1200, Mid));
        recordTake(7, QStringLiteral("HUBERT"), partnerTake(1000));
        recordTake(8, QStringLiteral("ARTHUR"), partnerTake(1000));
    }

    // Each partner take must be heard whole and in the scene's order, each
    // own reply beeps, and each gap (beep to the next step) lasts as long as
    // its duration record says, by the program's clock and at the speakers.
    void sceneRunsAsRecorded_data()
    {
        QTest::addColumn<int>("scene");
        QTest::addColumn<QList<double>>("gaps"); // after each beep, in ms
        QTest::addColumn<Heard>("heard");
        QTest::newRow("P1 A2 P3 A4")
            << 1 << QList<double>{3000, 2000}
            << Heard{{QuietTake, P1Ms}, {TheBeep, BeepMs}, {MidTake, P3Ms}, {TheBeep, BeepMs}};
        QTest::newRow("three partners, then the actor")
            << 2 << QList<double>{1000}
            << Heard{{QuietTake, 1000}, {MidTake, 1200}, {QuietTake, 1000}, {TheBeep, BeepMs}};
    }
    void sceneRunsAsRecorded()
    {
        QFETCH(int, scene);
        QFETCH(QList<double>, gaps);
        QFETCH(Heard, heard);
        for (int i = 0; i < runs() && !QTest::currentTestFailed(); ++i)
            rehearse(scene, gaps, heard);
    }
};

QTEST_MAIN(PulseRehearsal)
#include "pulse_rehearsal.moc"
