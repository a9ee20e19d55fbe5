#include "FakeSpeechSynthesizer.h"
#include "TestPlay.h"
#include "core/audio/WavFile.h"
#include "core/speech/GapTuning.h"
#include "core/speech/PlaySettings.h"
#include "core/speech/SpeechCache.h"
#include "core/speech/SpokenText.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

class TestSpeech : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stageDirectionsAreNotSpoken_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("spoken");
        auto row = [](const char *name, const char *text, const char *spoken) {
            QTest::newRow(name) << QString::fromLatin1(text) << QString::fromLatin1(spoken);
        };
        row("plain", "Good morrow,\r\n  my lord.", "Good morrow, my lord.");
        row("direction between words", "Away![Exit]Now", "Away! Now");
        row("leading direction", "[Aside] Who comes?", "Who comes?");
        row("nested", "Yes [he [laughs]] no", "Yes no");
        row("unclosed hides the rest", "Stay [kneeling and", "Stay");
        row("stray closing kept", "a ] b", "a ] b");
    }
    void stageDirectionsAreNotSpoken()
    {
        QFETCH(QString, text);
        QFETCH(QString, spoken);
        QCOMPARE(SpokenText(text), spoken);
    }

    void defaultVoiceIsStableAndSpreadsCharacters()
    {
        const QStringList voices{"v1", "v2", "v3", "v4"};
        // FNV-1a of the UTF-8 name: fixed for good, or every actor's partners
        // would change voice with an upgrade.
        QCOMPARE(DefaultVoice("", voices), QString("v2"));  // 2166136261 % 4 == 1
        QCOMPARE(DefaultVoice("A", voices), QString("v1")); // 0xc40bf6cc % 4 == 0
        QCOMPARE(DefaultVoice("PORTIA", {}), QString());

        // A voice chosen in the filter window wins while the machine has it.
        PlaySettings s;
        s.voices.insert("PORTIA", "v3");
        s.voices.insert("NERISSA", "gone");
        QCOMPARE(
            QStringList({s.voiceFor("PORTIA", voices), s.voiceFor("NERISSA", voices),
                         s.voiceFor("SHYLOCK", voices)}),
            QStringList({"v3", DefaultVoice("NERISSA", voices), DefaultVoice("SHYLOCK", voices)}));
    }

    void gapTuningArithmetic_data()
    {
        QTest::addColumn<int>("gap");
        QTest::addColumn<int>("factor");
        QTest::addColumn<int>("extra");
        QTest::addColumn<int>("tuned");
        QTest::newRow("half of 7 rounds up") << 7 << 50 << 0 << 4;
        QTest::newRow("half of 1 stays 1") << 1 << 50 << 0 << 1;
        QTest::newRow("1.3 times 10 plus 1") << 10 << 130 << 1 << 14;
        QTest::newRow("factor above range clamped") << 4 << 900 << 0 << 8;
        QTest::newRow("factor below range clamped") << 4 << 10 << 0 << 2;
        QTest::newRow("extra above range clamped") << 4 << 100 << 60 << 9;
        QTest::newRow("negative extra clamped") << 4 << 100 << -3 << 4;
        QTest::newRow("gap below 1 counts as 1") << 0 << 100 << 2 << 3;
        QTest::newRow("defaults leave the longest gap") << 32767 << 100 << 0 << 32767;
    }
    void gapTuningArithmetic()
    {
        QFETCH(int, gap);
        QFETCH(int, factor);
        QFETCH(int, extra);
        QFETCH(int, tuned);
        QCOMPARE((GapTuning{factor, extra}.apply(gap)), tuned);
    }

    // Seconds per ten thousand bytes, kept to four decimals as the durations
    // report rounds it; "measured" false falls back to 0.065 s a byte.
    void paceIsRoundedAsTheDurationsReportRoundsIt_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<qint64>("textBytes");
        QTest::addColumn<QString>("pace"); // tenThousandths, measured, estimate
        QTest::newRow("12 s over 300 bytes") << 12LL << 300LL << 9000LL << "400 1 360";
        QTest::newRow("four decimals kept") << 10LL << 3000LL << 1000LL << "33 1 3";
        QTest::newRow("half rounds up") << 1LL << 20000LL << 10000LL << "1 1 1";
        QTest::newRow("takes under a second count as nothing")
            << 0LL << 300LL << 100LL << "650 0 6";
        QTest::newRow("no text bytes") << 5LL << 0LL << 40LL << "650 0 2";
    }
    void paceIsRoundedAsTheDurationsReportRoundsIt()
    {
        QFETCH(qint64, seconds);
        QFETCH(qint64, bytes);
        QFETCH(qint64, textBytes);
        QFETCH(QString, pace);
        const SpeakingPace p = SpeakingPace::FromRecordings(seconds, bytes);
        QCOMPARE(QStringLiteral("%1 %2 %3")
                     .arg(p.tenThousandths)
                     .arg(p.measured)
                     .arg(p.secondsFor(textBytes)),
                 pace);
    }

    void settingsSurviveASaveAndADamagedFile()
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

        // Bad lines are passed over, values out of range clamped.
        TestPlay::write(path, "garbage\r\ngap-factor-percent=999\r\ngap-extra-seconds=x\r\n"
                              "voice=,beta\r\nvoices-for-missing=1\r\nvoice=NERISSA,alpha\r\n");
        PlaySettings damaged;
        damaged.voicesForMissing = true;
        damaged.tuning = {200, 0};
        damaged.voices.insert("NERISSA", "alpha");
        QCOMPARE(LoadPlaySettings(path, &error), damaged);

        // An oversized file is refused with a reason.
        TestPlay::write(path, QByteArray(100 * 1024, 'x'));
        QVERIFY(!LoadPlaySettings(path, &error) && !error.isEmpty());
    }

    void cacheSynthesizesEachTextOnceAndAChangedTextAgain()
    {
        QTemporaryDir dir;
        FakeSpeechSynthesizer fake;
        SpeechCache cache(SpeechCache::FolderFor(dir.path()), fake);
        QString error;
        const std::optional<PcmAudio> first = cache.speech("Hello [bows] there", "beta", &error);
        QVERIFY2(first, qPrintable(error));
        QCOMPARE(first->samples,
                 std::vector<qint16>(11 * FakeSpeechSynthesizer::FramesPerChar, 200));
        // The same spoken words again, and from a second cache on the same
        // folder; then another voice and other words.
        QVERIFY(cache.speech("Hello  there", "beta", &error));
        SpeechCache again(SpeechCache::FolderFor(dir.path()), fake);
        QVERIFY(again.prepare("Hello there", "beta", &error));
        QVERIFY(cache.prepare("Hello there", "gamma", &error));
        QVERIFY(cache.prepare("Hello here", "beta", &error));
        QCOMPARE(fake.calls,
                 (QStringList{"beta:Hello there", "gamma:Hello there", "beta:Hello here"}));

        fake.failing = true;
        error.clear();
        QVERIFY(!cache.prepare("Something new", "beta", &error) && !error.isEmpty());
        QVERIFY(!QFile::exists(cache.pathFor("Something new", "beta")));

        // Nothing to say: 300 ms of silence, no synthesis.
        const std::optional<PcmAudio> silence = cache.speech("[Exeunt]", "alpha", &error);
        QVERIFY2(silence, qPrintable(error));
        QCOMPARE(fake.calls.size(), 4); // the three above and the failed one
        QCOMPARE(silence->samples,
                 std::vector<qint16>(size_t(PcmAudio::MsToFrames(300, silence->sampleRate)), 0));
    }
};

QTEST_GUILESS_MAIN(TestSpeech)
#include "tst_speech.moc"
