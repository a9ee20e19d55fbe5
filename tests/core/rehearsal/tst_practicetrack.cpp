#include "FakeSpeechSynthesizer.h"
#include "TestPlay.h"
#include "VoxFiles.h"
#include "core/audio/Tones.h"
#include "core/rehearsal/PracticeTrack.h"
#include "core/speech/PlaySettings.h"
#include "core/speech/SpeechCache.h"

#include <QTemporaryDir>
#include <QTest>

#include <sndfile.h>

using namespace tiradex;

namespace {
constexpr int Rate = 22050;
using Samples = std::vector<qint16>;

PcmAudio constant(qint16 value, qint64 frames, int rate = Rate)
{
    return PcmAudio{rate, 1, Samples(size_t(frames), value)};
}

PracticeStep partner(const QString &number, const PcmAudio &audio)
{
    return {false, number, 0, [audio](QString *) { return std::optional<PcmAudio>(audio); }};
}

PracticeStep own(const QString &number, int gap, std::optional<PcmAudio> take = std::nullopt)
{
    PracticeStep s{true, number, gap, nullptr};
    if (take)
        s.audio = [take](QString *) { return take; };
    return s;
}

// The track as one run of samples.
Samples assemble(const std::vector<PracticeStep> &steps, TrackResult *result,
                 const TrackProgress &progress = nullptr, QString *error = nullptr)
{
    Samples out;
    const TrackSink sink = [&out](const PcmAudio &piece, QString *) {
        if (piece.sampleRate != Rate || piece.channels != 1)
            return false;
        out.insert(out.end(), piece.samples.begin(), piece.samples.end());
        return true;
    };
    *result = AssemblePracticeTrack(steps, Rate, BeepSound(), sink, progress, error);
    return out;
}

// The pieces one after the other.
Samples joined(const QList<Samples> &pieces)
{
    Samples all;
    for (const Samples &piece : pieces)
        all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

// Scene 1.1: PORTIA 1, NERISSA 2, PORTIA 3, NERISSA 4, with NERISSA the actor.
struct PlayFixture
{
    QTemporaryDir dir;
    Module1 state;
    TestPlay play{state, dir.path()};
    FakeSpeechSynthesizer fake;
    SpeechCache cache{SpeechCache::FolderFor(state.PlayFolder), fake};
    explicit PlayFixture(const QList<TestPlay::Scene> &scenes = {
                             TestPlay::numberedScene(1, 1, 1, 4, {"PORTIA", "NERISSA"})})
    {
        play.writeStore(scenes);
    }
    // A take of `ms` (a tone) with the duration record `seconds`.
    void record(int number, const QString &character, qint64 ms, int seconds)
    {
        const QByteArray record = "1,1," + QByteArray::number(seconds) + "\r\n";
        QVERIFY(WriteVox(state, Module1::ReplyBaseName(number, character), ToneWav(ms), record));
    }
};
} // namespace

class TestPracticeTrack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Partner takes, then a beep and the gap of each own reply (and his own
    // take in answer mode); a take at half the rate comes out twice as long.
    void trackLaysRepliesBeepsAndGapsSampleExactly_data()
    {
        QTest::addColumn<bool>("answers");
        QTest::newRow("gaps only") << false;
        QTest::newRow("answer mode") << true;
    }
    void trackLaysRepliesBeepsAndGapsSampleExactly()
    {
        QFETCH(bool, answers);
        const PcmAudio a = constant(1000, 300);
        const PcmAudio b = constant(2000, 77);
        const PcmAudio mine = constant(3000, 123);
        std::vector<PracticeStep> steps{
            partner("0001", a), own("0002", 2, answers ? std::optional(mine) : std::nullopt),
            partner("0003", b), own("0004", 1), partner("0005", constant(-500, 40, Rate / 2))};
        TrackResult result;
        const Samples track = assemble(steps, &result);
        QCOMPARE(result, TrackResult::Done);
        const Samples beep = BeepSound().samples;
        QVERIFY(track ==
                joined({a.samples, beep, Samples(2 * Rate, 0), answers ? mine.samples : Samples(),
                        b.samples, beep, Samples(Rate, 0), Samples(80, -500)}));
    }

    void cancelAndFailureStopTheTrack()
    {
        std::vector<PracticeStep> steps{partner("0001", constant(1, 10)), own("0002", 1),
                                        partner("0003", constant(1, 10))};
        QList<int> seen;
        TrackResult result;
        assemble(steps, &result, [&seen](int done, int total) {
            seen.append(done * 10 + total);
            return done < 1;
        });
        QCOMPARE(result, TrackResult::Cancelled);
        QCOMPARE(seen, (QList<int>{3, 13}));

        steps[2].audio = [](QString *e) -> std::optional<PcmAudio> {
            *e = QStringLiteral("broken take");
            return std::nullopt;
        };
        QString error;
        assemble(steps, &result, nullptr, &error);
        QCOMPARE(result, TrackResult::Failed);
        QVERIFY2(error.contains("0003") && error.contains("broken take"), qPrintable(error));
        // A sink that fails on a gap's silence (a full disk) fails the track.
        const TrackSink full = [](const PcmAudio &piece, QString *) {
            return std::any_of(piece.samples.begin(), piece.samples.end(),
                               [](qint16 v) { return v != 0; });
        };
        QCOMPARE(AssemblePracticeTrack({partner("0001", constant(1, 10)), own("0002", 1)}, Rate,
                                       BeepSound(), full, nullptr, &error),
                 TrackResult::Failed);
    }

    void planRefusesMissingRepliesWithoutVoices_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("error");
        QTest::newRow("from NERISSA's 0002") << 1 << "Replies without a recording: 0003-0004-";
        QTest::newRow("past the last") << 4 << "no reply 5";
    }
    void planRefusesMissingRepliesWithoutVoices()
    {
        QFETCH(int, from);
        QFETCH(QString, error);
        PlayFixture f;
        f.record(1, "PORTIA", 500, 0);
        f.record(2, "NERISSA", 3000, 3);
        PracticeRequest request{1, 1, "NERISSA", from, false, false, {}, false};
        QString got;
        QVERIFY(!PlanPracticeTrack(f.state, request, &f.cache, {}, f.fake.voices(), {}, &got));
        QVERIFY2(got.contains(error), qPrintable(got));
        QVERIFY(f.fake.calls.isEmpty());
    }

    // Answer mode with voices: PORTIA's missing 0003 is spoken in her
    // chosen voice, NERISSA's recorded 0002 comes after its tuned gap, her
    // missing 0004 gets a gap estimated at her pace and no take.
    void planSpeaksMissingPartnersAndEstimatesOwnGaps()
    {
        PlayFixture f;
        f.record(1, "PORTIA", 500, 0);
        f.record(2, "NERISSA", 7900, 7);
        PlaySettings settings;
        settings.voices.insert("PORTIA", "gamma");
        const auto textBytes = [&f](int number) {
            return QFileInfo(f.state.ReplyTextPath(1, 1, Module1::ReplyBaseName(number, "NERISSA")))
                .size();
        };
        const SpeakingPace pace = MeasureActorPace(f.state, "NERISSA");
        PracticeRequest request{1, 1, "NERISSA", 0, true, true, {150, 1}, false};
        QString error;
        const auto steps =
            PlanPracticeTrack(f.state, request, &f.cache, settings, f.fake.voices(), pace, &error);
        QVERIFY2(steps, qPrintable(error));
        QString plan;
        for (const PracticeStep &s : *steps)
            plan += QStringLiteral("%1%2 ").arg(s.own ? "own" : "partner").arg(s.gapSeconds);
        const int estimated = GapTuning{150, 1}.apply(std::max(1, pace.secondsFor(textBytes(4))));
        QCOMPARE(plan, QStringLiteral("partner0 own12 partner0 own%1 ").arg(estimated));

        TrackResult result;
        const Samples track = assemble(*steps, &result);
        QCOMPARE(result, TrackResult::Done);
        QCOMPARE(f.fake.calls, QStringList{"gamma:Text of reply 3."});
        const qint16 gamma = FakeSpeechSynthesizer::SampleOf("gamma", f.fake.voices());
        const qint64 spoken = qint64(QString("Text of reply 3.").size()) *
                              FakeSpeechSynthesizer::FramesPerChar * Rate /
                              FakeSpeechSynthesizer::Rate;
        const qint64 before = qint64(Rate) / 2 + qint64(BeepSound().samples.size()) + 12 * Rate +
                              qint64(7.9 * Rate); // 0001, beep, gap, own take 0002
        QCOMPARE(Samples(track.begin() + before, track.begin() + before + spoken),
                 Samples(size_t(spoken), gamma));
    }

    // The scene and the start are those of the window; the whole act
    // ignores them and plays its scenes in order (act 2 stays off).
    void wholeActPlaysSceneAfterScene()
    {
        PlayFixture f({TestPlay::numberedScene(1, 1, 1, 2, {"PORTIA", "NERISSA"}),
                       TestPlay::numberedScene(1, 2, 3, 2, {"PORTIA", "NERISSA"}),
                       TestPlay::numberedScene(2, 1, 5, 1, {"PORTIA"})});
        for (int n = 1; n <= 5; ++n)
            f.record(n, n % 2 ? "PORTIA" : "NERISSA", 1000 + 100 * n, n + 1);
        PracticeRequest request{1, 2, "NERISSA", 1, false, false, {}, true};
        QString error;
        const auto steps = PlanPracticeTrack(f.state, request, nullptr, {}, {}, {}, &error);
        QVERIFY2(steps, qPrintable(error));
        TrackResult result;
        const Samples track = assemble(*steps, &result);
        const auto tone = [](qint64 ms) { return size_t(PcmAudio::MsToFrames(ms, Rate)); };
        const Samples beeped = BeepSound().samples;
        const size_t beep = beeped.size();
        // 1.1 s, beep, 3 s (0002's record), 1.3 s, beep, 5 s (0004's record).
        QCOMPARE(track.size(), tone(1100) + beep + 3 * Rate + tone(1300) + beep + 5 * Rate);
        QVERIFY(std::equal(beeped.begin(), beeped.end(),
                           track.begin() + qsizetype(tone(1100) + beep + 3 * Rate + tone(1300))));

        request.act = 3;
        QVERIFY(!PlanPracticeTrack(f.state, request, nullptr, {}, {}, {}, &error));
        QCOMPARE(error, QString("The act 3 holds no reply"));
    }

    // The format follows the name; an old file of that name is replaced.
    void writtenFileReadsBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("format");
        QTest::newRow("wav") << "track.wav" << (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        QTest::newRow("flac") << "track.FLAC" << (SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
        QTest::newRow("ogg") << "track.ogg" << (SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    }
    void writtenFileReadsBack()
    {
        QFETCH(QString, name);
        QFETCH(int, format);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        TestPlay::write(path, "previous");
        const PcmAudio tone = SineTone(440, 1000, Rate, 0.5, 10);
        QString error;
        QCOMPARE(WritePracticeTrack(path, {partner("0001", tone), own("0002", 1)}, nullptr, &error),
                 TrackResult::Done);
        SF_INFO info{};
        SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
        QVERIFY2(file, sf_strerror(nullptr));
        Samples samples(size_t(info.frames));
        samples.resize(size_t(sf_readf_short(file, samples.data(), info.frames)));
        sf_close(file);
        QCOMPARE(QList<int>({info.format, info.channels, info.samplerate, int(samples.size())}),
                 QList<int>({format, 1, Rate, Rate + int(BeepSound().samples.size()) + Rate}));
        if (format != (SF_FORMAT_OGG | SF_FORMAT_VORBIS)) // lossless
            QVERIFY(std::equal(tone.samples.begin(), tone.samples.end(), samples.begin()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
    }

    void cancelledOrRefusedExportLeavesNoFile()
    {
        QTemporaryDir dir;
        std::vector<PracticeStep> steps{partner("0001", constant(5, 100)), own("0002", 1)};
        QString error;
        QCOMPARE(WritePracticeTrack(
                     dir.filePath("t.wav"), steps, [](int done, int) { return done == 0; }, &error),
                 TrackResult::Cancelled);
        QCOMPARE(WritePracticeTrack(dir.filePath("t.xyz"), steps, nullptr, &error),
                 TrackResult::Failed);
        QVERIFY(error.contains("t.xyz"));
        QCOMPARE(WritePracticeTrack(dir.filePath("no/such/folder/t.wav"), steps, nullptr, &error),
                 TrackResult::Failed);
        QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPracticeTrack)
#include "tst_practicetrack.moc"
