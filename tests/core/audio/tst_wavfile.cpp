#include "AudioChecks.h"
#include "core/audio/WavFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestWavFile : public QObject
{
    Q_OBJECT

private:
    static QByteArray le16Samples(std::initializer_list<qint16> values)
    {
        QByteArray bytes;
        for (qint16 v : values)
            AppendLe16(bytes, quint16(v));
        return bytes;
    }

private Q_SLOTS:
    void eightBitElevenKilohertzTakeOfOlderInstallationsReads()
    {
        // 8-bit WAV samples are unsigned with 128 as silence.
        const QByteArray wav = HandMadeWav(1, 11025, 8, QByteArray("\x80\xff\x00\xc0", 4));
        QString error;
        const std::optional<PcmAudio> audio = ReadWavBytes(wav, &error);
        QVERIFY2(audio, qPrintable(error));
        QCOMPARE(audio->sampleRate, 11025);
        QCOMPARE(audio->channels, 1);
        const std::vector<qint16> expected = {0, 127 * 256, -128 * 256, 64 * 256};
        QCOMPARE(audio->samples, expected);
    }

    void sixteenBitStereoKeepsInterleavedSamples()
    {
        const QByteArray wav =
            HandMadeWav(2, 44100, 16, le16Samples({1, -1, 32767, -32768, 100, 200}));
        const std::optional<PcmAudio> audio = ReadWavBytes(wav, nullptr);
        QVERIFY(audio);
        QCOMPARE(audio->channels, 2);
        QCOMPARE(audio->frames(), qint64(3));
        const std::vector<qint16> expected = {1, -1, 32767, -32768, 100, 200};
        QCOMPARE(audio->samples, expected);
    }

    void dataChunkShorterThanDeclaredYieldsSamplesPresent()
    {
        const QByteArray wav = HandMadeWav(1, 22050, 16, le16Samples({5, 6, 7}), 100000);
        const std::optional<PcmAudio> audio = ReadWavBytes(wav, nullptr);
        QVERIFY(audio);
        const std::vector<qint16> expected = {5, 6, 7};
        QCOMPARE(audio->samples, expected);
    }

    void unacceptableInputIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("empty") << QByteArray() << "not a sound file";
        QTest::newRow("text") << QByteArray("RIFF? no, just words in a file") << "not a sound file";
        QByteArray au(".snd");
        for (quint32 v : {24u, 4u, 3u, 8000u, 1u}) { // header size, data size, 16-bit, rate, mono
            char b[4];
            qToBigEndian(v, b);
            au.append(b, 4);
        }
        au.append(4, '\0');
        QTest::newRow("Sun AU is not WAV") << au << "not a WAV file";
        QTest::newRow("rate too low")
            << HandMadeWav(1, 500, 16, le16Samples({1, 2})) << "sample rate of 500 Hz";
        QTest::newRow("rate too high")
            << HandMadeWav(1, 400000, 16, le16Samples({1, 2})) << "sample rate of 400000 Hz";
        QTest::newRow("too many channels")
            << HandMadeWav(9, 8000, 16, QByteArray(18 * 4, '\0')) << "9 channels";
    }
    void unacceptableInputIsRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, errorPart);
        QString error;
        QVERIFY(!ReadWavBytes(bytes, &error));
        QVERIFY2(error.contains(errorPart), qPrintable(error));
    }

    void sampleLimitHoldsWhateverTheHeaderClaims()
    {
        // The header claims 2 GB of data; memory follows the samples present.
        const QByteArray wav = HandMadeWav(1, 8000, 8, QByteArray(300, char(128)), 0x7ffffff0);
        WavLimits limits;
        limits.maxSamples = 200;
        QString error;
        QVERIFY(!ReadWavBytes(wav, &error, limits));
        QVERIFY2(error.contains(QStringLiteral("too long")), qPrintable(error));
        limits.maxSamples = 300;
        const std::optional<PcmAudio> audio = ReadWavBytes(wav, &error, limits);
        QVERIFY2(audio, qPrintable(error));
        QCOMPARE(audio->frames(), qint64(300));
    }

    void encodedTakeIsCanonicalSixteenBitWav()
    {
        PcmAudio audio;
        audio.sampleRate = 22050;
        audio.channels = 1;
        audio.samples = {1, -2, 300};
        const std::optional<QByteArray> bytes = EncodeWav16(audio, nullptr);
        QVERIFY(bytes);
        QCOMPARE(*bytes, HandMadeWav(1, 22050, 16, le16Samples({1, -2, 300})));
    }

    void writeReplacesExistingFileAndLeavesNoTemporary()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("temp.wav"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older take, longer than the new one ...............................");
        old.close();
        PcmAudio audio;
        audio.sampleRate = 8000;
        audio.channels = 1;
        audio.samples = {10, 20};
        QString error;
        QVERIFY2(WriteWavFile(path, audio, &error), qPrintable(error));
        const std::optional<PcmAudio> back = ReadWavFile(path, &error);
        QVERIFY(back);
        QCOMPARE(back->samples, audio.samples);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("temp.wav")});
    }

    void writeIntoMissingFolderFailsWithoutFile()
    {
        QTemporaryDir dir;
        PcmAudio audio;
        audio.sampleRate = 8000;
        audio.channels = 1;
        audio.samples = {1};
        const QString path = dir.filePath(QStringLiteral("missing/temp.wav"));
        QString error;
        QVERIFY(!WriteWavFile(path, audio, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestWavFile)
#include "tst_wavfile.moc"
