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

PcmAudio constant(qint16 value, qint64 frames, int rate = Rate)
{
    PcmAudio a{rate, 1, {}};
    a.samples.assign(size_t(frames), value);
    return a;
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
std::vector<qint16> assemble(const std::vector<PracticeStep> &steps, TrackResult *result,
                             const TrackProgress &progress = nullptr, QString *error = nullptr)
{
    std::vector<qint16> out;
    const TrackSink sink = [&out](const PcmAudio &piece, QString *) {
        if (piece.sampleRate != Rate || piece.channels != 1)
            return false;
        out.insert(out.end(), piece.samples.begin(), piece.samples.end());
        return true;
    };
    *result = AssemblePracticeTrack(steps, Rate, BeepSound(), sink, progress, error);
    return out;
}

// True when `track` holds `piece` at `at`.
bool holdsAt(const std::vector<qint16> &track, size_t at, const std::vector<qint16> &piece)
{
    return at + piece.size() <= track.size() &&
           std::equal(piece.begin(), piece.end(), track.begin() + qsizetype(at));
}

std::optional<std::vector<qint16>> readSoundFile(const QString &path, SF_INFO *info)
{
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, info);
    if (!file)
        return std::nullopt;
    std::vector<qint16> samples(size_t(info->frames * info->channels));
    const sf_count_t got = sf_readf_short(file, samples.data(), info->frames);
    sf_close(file);
    samples.resize(size_t(got * info->channels));
    return samples;
}
} // namespace

class TestPracticeTrack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trackLaysRepliesBeepsAndGapsSampleExactly_data();
    void trackLaysRepliesBeepsAndGapsSampleExactly();
    void cancelAndFailureStopTheTrack();
    void planRefusesMissingRepliesWithoutVoices();
    void planSpeaksMissingPartnersAndEstimatesOwnGaps();
    void wholeActPlaysSceneAfterScene();
    void writtenFileReadsBack_data();
    void writtenFileReadsBack();
    void cancelledOrRefusedExportLeavesNoFile();
};

void TestPracticeTrack::trackLaysRepliesBeepsAndGapsSampleExactly_data()
{
    QTest::addColumn<bool>("answers");
    QTest::newRow("gaps only") << false;
    QTest::newRow("answer mode") << true;
}

void TestPracticeTrack::trackLaysRepliesBeepsAndGapsSampleExactly()
{
    QFETCH(bool, answers);
    const PcmAudio a = constant(1000, 300);
    const PcmAudio b = constant(2000, 77);
    const PcmAudio mine = constant(3000, 123);
    // A partner recorded at half the rate is doubled in length.
    const PcmAudio slow = constant(-500, 40, Rate / 2);
    std::vector<PracticeStep> steps{partner("0001", a),
                                    own("0002", 2, answers ? std::optional(mine) : std::nullopt),
                                    partner("0003", b), own("0004", 1), partner("0005", slow)};
    TrackResult result;
    const std::vector<qint16> track = assemble(steps, &result);
    QCOMPARE(result, TrackResult::Done);

    const std::vector<qint16> beep = BeepSound().samples;
    const size_t silence2 = 2 * Rate;
    const size_t silence1 = 1 * Rate;
    size_t at = 0;
    QVERIFY(holdsAt(track, at, a.samples));
    at += a.samples.size();
    QVERIFY2(holdsAt(track, at, beep), "no beep at the first own reply");
    at += beep.size();
    QVERIFY(holdsAt(track, at, std::vector<qint16>(silence2, 0)));
    at += silence2;
    if (answers) {
        QVERIFY2(holdsAt(track, at, mine.samples), "own take not after the gap");
        at += mine.samples.size();
    }
    QVERIFY(holdsAt(track, at, b.samples));
    at += b.samples.size();
    QVERIFY(holdsAt(track, at, beep));
    at += beep.size();
    QVERIFY(holdsAt(track, at, std::vector<qint16>(silence1, 0)));
    at += silence1;
    QCOMPARE(track.size(), at + 80);
    QVERIFY(std::all_of(track.begin() + qsizetype(at), track.end(),
                        [](qint16 s) { return s == -500; }));
}

void TestPracticeTrack::cancelAndFailureStopTheTrack()
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
}

namespace {
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
    void record(int number, const QString &character, qint64 ms, int seconds)
    {
        const QByteArray record = "1,1," + QByteArray::number(seconds) + "\r\n";
        QVERIFY(WriteVox(state, Module1::ReplyBaseName(number, character), ToneWav(ms), record));
    }
};
} // namespace

void TestPracticeTrack::planRefusesMissingRepliesWithoutVoices()
{
    PlayFixture f;
    f.record(1, "PORTIA", 500, 0);
    f.record(2, "NERISSA", 3000, 3);
    PracticeRequest request{1, 1, "NERISSA", 0, false, false, {}, false};
    QString error;
    QVERIFY(!PlanPracticeTrack(f.state, request, &f.cache, {}, f.fake.voices(), {}, &error));
    QCOMPARE(error, QString("Replies without a recording: 0003-0004-"));

    request.fromIndex = 4;
    QVERIFY(!PlanPracticeTrack(f.state, request, &f.cache, {}, f.fake.voices(), {}, &error));
    QVERIFY(error.contains("no reply 5"));

    request.fromIndex = 1; // from NERISSA's 0002: 0003 and 0004 still missing
    QVERIFY(!PlanPracticeTrack(f.state, request, &f.cache, {}, f.fake.voices(), {}, &error));
    QVERIFY(f.fake.calls.isEmpty());
}

void TestPracticeTrack::planSpeaksMissingPartnersAndEstimatesOwnGaps()
{
    PlayFixture f;
    f.record(1, "PORTIA", 500, 0);
    f.record(2, "NERISSA", 7900, 7);
    // 0003 (PORTIA) and 0004 (NERISSA) have no recording.
    PlaySettings settings;
    settings.voices.insert("PORTIA", "gamma");
    const qint64 ownBytes =
        QFileInfo(f.state.ReplyTextPath(1, 1, Module1::ReplyBaseName(4, "NERISSA"))).size();
    const SpeakingPace pace = MeasureActorPace(f.state, "NERISSA");
    QVERIFY(pace.measured);
    const qint64 recordedBytes =
        QFileInfo(f.state.ReplyTextPath(1, 1, Module1::ReplyBaseName(2, "NERISSA"))).size();
    QCOMPARE(pace.tenThousandths, SpeakingPace::FromRecordings(7, recordedBytes).tenThousandths);

    PracticeRequest request{1, 1, "NERISSA", 0, true, true, {150, 1}, false};
    QString error;
    const auto steps =
        PlanPracticeTrack(f.state, request, &f.cache, settings, f.fake.voices(), pace, &error);
    QVERIFY2(steps, qPrintable(error));
    QCOMPARE(steps->size(), size_t(4));
    QVERIFY(!(*steps)[0].own && (*steps)[1].own && !(*steps)[2].own && (*steps)[3].own);
    QCOMPARE((*steps)[1].gapSeconds, (7 * 150 + 50) / 100 + 1);
    QCOMPARE((*steps)[3].gapSeconds,
             (GapTuning{150, 1}.apply(std::max(1, pace.secondsFor(ownBytes)))));

    TrackResult result;
    const std::vector<qint16> track = assemble(*steps, &result);
    QCOMPARE(result, TrackResult::Done);
    // The missing partner spoke in its chosen voice; the actor never did.
    QCOMPARE(f.fake.calls, QStringList{"gamma:Text of reply 3."});
    const qint16 gamma = FakeSpeechSynthesizer::SampleOf("gamma", f.fake.voices());
    QVERIFY(std::find(track.begin(), track.end(), gamma) != track.end());
    // Answer mode: his recorded take after the first gap, none after the
    // estimated one. 0.5 s + beep + gap + 7.9 s + spoken + beep + gap.
    const qint64 spoken = qint64(QString("Text of reply 3.").size()) *
                          FakeSpeechSynthesizer::FramesPerChar * Rate / FakeSpeechSynthesizer::Rate;
    const qint64 expected = qint64(Rate) / 2 + 2 * qint64(BeepSound().samples.size()) +
                            qint64((*steps)[1].gapSeconds + (*steps)[3].gapSeconds) * Rate +
                            qint64(7.9 * Rate) + spoken;
    QCOMPARE(qint64(track.size()), expected);
}

void TestPracticeTrack::wholeActPlaysSceneAfterScene()
{
    // Act 1: scene 1 PORTIA 1, NERISSA 2; scene 2 PORTIA 3, NERISSA 4. Act 2 stays off.
    // Takes of 1.1 to 1.5 s; NERISSA's records say 3 and 5 seconds.
    PlayFixture f({TestPlay::numberedScene(1, 1, 1, 2, {"PORTIA", "NERISSA"}),
                   TestPlay::numberedScene(1, 2, 3, 2, {"PORTIA", "NERISSA"}),
                   TestPlay::numberedScene(2, 1, 5, 1, {"PORTIA"})});
    for (int n = 1; n <= 5; ++n)
        f.record(n, n % 2 ? "PORTIA" : "NERISSA", 1000 + 100 * n, n + 1);
    // The scene and the start are those of the window; the whole act ignores them.
    PracticeRequest request{1, 2, "NERISSA", 1, false, false, {}, true};
    QString error;
    const auto steps = PlanPracticeTrack(f.state, request, nullptr, {}, {}, {}, &error);
    QVERIFY2(steps, qPrintable(error));
    QCOMPARE(steps->size(), size_t(4));
    TrackResult result;
    const std::vector<qint16> track = assemble(*steps, &result);
    QCOMPARE(result, TrackResult::Done);
    const std::vector<qint16> beep = BeepSound().samples;
    const size_t secondBeep = size_t(PcmAudio::MsToFrames(1100, Rate)) + beep.size() + 3 * Rate +
                              size_t(PcmAudio::MsToFrames(1300, Rate));
    QVERIFY(holdsAt(track, size_t(PcmAudio::MsToFrames(1100, Rate)), beep));
    QVERIFY(holdsAt(track, secondBeep, beep));
    QCOMPARE(track.size(), secondBeep + beep.size() + 5 * Rate);

    request.act = 3;
    QVERIFY(!PlanPracticeTrack(f.state, request, nullptr, {}, {}, {}, &error));
    QCOMPARE(error, QString("The act 3 holds no reply"));
}

void TestPracticeTrack::writtenFileReadsBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("exact");
    QTest::newRow("wav") << "track.wav" << (SF_FORMAT_WAV | SF_FORMAT_PCM_16) << true;
    QTest::newRow("flac") << "track.FLAC" << (SF_FORMAT_FLAC | SF_FORMAT_PCM_16) << true;
    QTest::newRow("ogg") << "track.ogg" << (SF_FORMAT_OGG | SF_FORMAT_VORBIS) << false;
}

void TestPracticeTrack::writtenFileReadsBack()
{
    QFETCH(QString, name);
    QFETCH(int, format);
    QFETCH(bool, exact);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("previous");
    old.close();
    PcmAudio tone = SineTone(440, 1000, Rate, 0.5, 10);
    std::vector<PracticeStep> steps{partner("0001", tone), own("0002", 1)};
    QString error;
    QCOMPARE(WritePracticeTrack(path, steps, nullptr, &error), TrackResult::Done);
    SF_INFO info{};
    const std::optional<std::vector<qint16>> samples = readSoundFile(path, &info);
    QVERIFY2(samples, sf_strerror(nullptr));
    QCOMPARE(info.format, format);
    QCOMPARE(info.channels, 1);
    QCOMPARE(info.samplerate, Rate);
    const qint64 frames = Rate + qint64(BeepSound().samples.size()) + Rate;
    QCOMPARE(qint64(samples->size()), frames);
    if (exact)
        QVERIFY(holdsAt(*samples, 0, tone.samples));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
}

void TestPracticeTrack::cancelledOrRefusedExportLeavesNoFile()
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

QTEST_GUILESS_MAIN(TestPracticeTrack)
#include "tst_practicetrack.moc"
