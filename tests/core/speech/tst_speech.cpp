#include "FakeSpeechSynthesizer.h"
#include "core/audio/WavFile.h"
#include "core/speech/GapTuning.h"
#include "core/speech/PlaySettings.h"
#include "core/speech/SpeechCache.h"
#include "core/speech/SpokenText.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

class TestSpeech : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stageDirectionsAreNotSpoken_data();
    void stageDirectionsAreNotSpoken();
    void defaultVoiceIsStableAndSpreadsCharacters();
    void gapTuningArithmetic_data();
    void gapTuningArithmetic();
    void paceIsRoundedAsTheDurationsReportRoundsIt_data();
    void paceIsRoundedAsTheDurationsReportRoundsIt();
    void settingsSurviveASaveAndADamagedFile();
    void cacheSynthesizesEachTextOnceAndAChangedTextAgain();
};

void TestSpeech::stageDirectionsAreNotSpoken_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("plain") << "Good morrow,\r\n  my lord."
                           << "Good morrow, my lord.";
    QTest::newRow("direction between words") << "Away![Exit]Now"
                                             << "Away! Now";
    QTest::newRow("leading direction") << "[Aside] Who comes?"
                                       << "Who comes?";
    QTest::newRow("nested") << "Yes [he [laughs]] no"
                            << "Yes no";
    QTest::newRow("unclosed hides the rest") << "Stay [kneeling and"
                                             << "Stay";
    QTest::newRow("stray closing kept") << "a ] b"
                                        << "a ] b";
    QTest::newRow("only directions") << "[Flourish. Exeunt]"
                                     << "";
}

void TestSpeech::stageDirectionsAreNotSpoken()
{
    QFETCH(QString, text);
    QFETCH(QString, spoken);
    QCOMPARE(SpokenText(text), spoken);
}

void TestSpeech::defaultVoiceIsStableAndSpreadsCharacters()
{
    const QStringList voices{"v1", "v2", "v3", "v4"};
    // FNV-1a of the UTF-8 name: fixed for good, or every actor's partners
    // would change voice with an upgrade.
    QCOMPARE(DefaultVoice("PORTIA", voices), DefaultVoice(QString("PORTIA"), voices));
    QCOMPARE(DefaultVoice("", voices), QString("v2"));  // 2166136261 % 4 == 1
    QCOMPARE(DefaultVoice("A", voices), QString("v1")); // 0xc40bf6cc % 4 == 0
    QSet<QString> used;
    for (const char *name : {"ANTONIO", "SALARINO", "SALANIO", "BASSANIO", "LORENZO", "GRATIANO",
                             "PORTIA", "NERISSA", "SHYLOCK", "JESSICA"})
        used.insert(DefaultVoice(QString::fromLatin1(name), voices));
    QVERIFY2(used.size() >= 3, "ten characters share fewer than three voices");
    QCOMPARE(DefaultVoice("PORTIA", {}), QString());

    // A voice chosen in the filter window wins while the machine has it.
    PlaySettings s;
    s.voices.insert("PORTIA", "v3");
    s.voices.insert("NERISSA", "gone");
    QCOMPARE(s.voiceFor("PORTIA", voices), QString("v3"));
    QCOMPARE(s.voiceFor("NERISSA", voices), DefaultVoice("NERISSA", voices));
    QCOMPARE(s.voiceFor("SHYLOCK", voices), DefaultVoice("SHYLOCK", voices));
}

void TestSpeech::gapTuningArithmetic_data()
{
    QTest::addColumn<int>("gap");
    QTest::addColumn<int>("factor");
    QTest::addColumn<int>("extra");
    QTest::addColumn<int>("tuned");
    QTest::newRow("half of 7 rounds up") << 7 << 50 << 0 << 4;
    QTest::newRow("half of 1 stays 1") << 1 << 50 << 0 << 1;
    QTest::newRow("double plus extra") << 7 << 200 << 3 << 17;
    QTest::newRow("1.5 times 3") << 3 << 150 << 0 << 5;
    QTest::newRow("1.3 times 10 plus 1") << 10 << 130 << 1 << 14;
    QTest::newRow("factor above range clamped") << 4 << 900 << 0 << 8;
    QTest::newRow("factor below range clamped") << 4 << 10 << 0 << 2;
    QTest::newRow("extra above range clamped") << 4 << 100 << 60 << 9;
    QTest::newRow("negative extra clamped") << 4 << 100 << -3 << 4;
    QTest::newRow("gap below 1 counts as 1") << 0 << 100 << 2 << 3;
    QTest::newRow("defaults leave a gap") << 7 << 100 << 0 << 7;
    QTest::newRow("defaults leave the longest gap") << 32767 << 100 << 0 << 32767;
}

void TestSpeech::gapTuningArithmetic()
{
    QFETCH(int, gap);
    QFETCH(int, factor);
    QFETCH(int, extra);
    QFETCH(int, tuned);
    QCOMPARE((GapTuning{factor, extra}.apply(gap)), tuned);
}

void TestSpeech::paceIsRoundedAsTheDurationsReportRoundsIt_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("pace");
    QTest::addColumn<bool>("measured");
    QTest::addColumn<qint64>("textBytes");
    QTest::addColumn<int>("estimate");
    QTest::newRow("12 s over 300 bytes")
        << qint64(12) << qint64(300) << qint64(400) << true << qint64(9000) << 360;
    QTest::newRow("four decimals kept")
        << qint64(10) << qint64(3000) << qint64(33) << true << qint64(1000) << 3;
    QTest::newRow("half rounds up")
        << qint64(1) << qint64(20000) << qint64(1) << true << qint64(10000) << 1;
    QTest::newRow("nothing recorded")
        << qint64(0) << qint64(0) << qint64(650) << false << qint64(100) << 6;
    QTest::newRow("takes under a second count as nothing")
        << qint64(0) << qint64(300) << qint64(650) << false << qint64(100) << 6;
    QTest::newRow("no text bytes")
        << qint64(5) << qint64(0) << qint64(650) << false << qint64(40) << 2;
}

void TestSpeech::paceIsRoundedAsTheDurationsReportRoundsIt()
{
    QFETCH(qint64, seconds);
    QFETCH(qint64, bytes);
    QFETCH(qint64, pace);
    QFETCH(bool, measured);
    QFETCH(qint64, textBytes);
    QFETCH(int, estimate);
    const SpeakingPace p = SpeakingPace::FromRecordings(seconds, bytes);
    QCOMPARE(p.tenThousandths, pace);
    QCOMPARE(p.measured, measured);
    QCOMPARE(p.secondsFor(textBytes), estimate);
}

void TestSpeech::settingsSurviveASaveAndADamagedFile()
{
    QTemporaryDir dir;
    const QString path = PlaySettingsPath(dir.path());
    QString error;
    QCOMPARE(LoadPlaySettings(path, &error), PlaySettings()); // no file: defaults

    PlaySettings s;
    s.voicesForMissing = true;
    s.tuning = {150, 2};
    s.voices.insert("PORTIA", "beta");
    s.voices.insert("LE DUC", "gamma");
    QVERIFY2(SavePlaySettings(path, s, &error), qPrintable(error));
    QCOMPARE(LoadPlaySettings(path, &error), s);

    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("garbage\r\ngap-factor-percent=999\r\ngap-extra-seconds="
               "x\r\nvoice=,beta\r\n"
               "voices-for-missing=1\r\nvoice=NERISSA,alpha\r\n");
    file.close();
    const std::optional<PlaySettings> damaged = LoadPlaySettings(path, &error);
    QVERIFY(damaged);
    QVERIFY(damaged->voicesForMissing);
    QCOMPARE(damaged->tuning, (GapTuning{200, 0}));
    QCOMPARE(damaged->voices.size(), 1);
    QCOMPARE(damaged->voices.value("NERISSA"), QString("alpha"));

    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(100 * 1024, 'x'));
    file.close();
    QVERIFY(!LoadPlaySettings(path, &error));
    QVERIFY(!error.isEmpty());
}

void TestSpeech::cacheSynthesizesEachTextOnceAndAChangedTextAgain()
{
    QTemporaryDir dir;
    FakeSpeechSynthesizer fake;
    SpeechCache cache(SpeechCache::FolderFor(dir.path()), fake);
    QString error;
    const std::optional<PcmAudio> first = cache.speech("Hello [bows] there", "beta", &error);
    QVERIFY2(first, qPrintable(error));
    QCOMPARE(fake.calls, QStringList{"beta:Hello there"});
    QCOMPARE(first->frames(), qint64(11 * FakeSpeechSynthesizer::FramesPerChar));
    QCOMPARE(first->samples.front(), qint16(200));

    // The same spoken words again, and from a second cache on the same folder.
    QVERIFY(cache.speech("Hello  there", "beta", &error));
    SpeechCache again(SpeechCache::FolderFor(dir.path()), fake);
    QVERIFY(again.prepare("Hello there", "beta", &error));
    QCOMPARE(fake.calls.size(), 1);

    QVERIFY(cache.prepare("Hello there", "gamma", &error));
    QVERIFY(cache.prepare("Hello here", "beta", &error));
    QCOMPARE(fake.calls, (QStringList{"beta:Hello there", "gamma:Hello there", "beta:Hello here"}));

    fake.failing = true;
    error.clear();
    QVERIFY(!cache.prepare("Something new", "beta", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(cache.pathFor("Something new", "beta")));

    // Nothing to say: a short silence, no synthesis.
    const std::optional<PcmAudio> silence = cache.speech("[Exeunt]", "alpha", &error);
    QVERIFY2(silence, qPrintable(error));
    QCOMPARE(fake.calls.size(), 4); // the three above and the failed one
    QCOMPARE(silence->durationMs(), qint64(300));
    QVERIFY(std::all_of(silence->samples.begin(), silence->samples.end(),
                        [](qint16 v) { return v == 0; }));
}

QTEST_GUILESS_MAIN(TestSpeech)
#include "tst_speech.moc"
