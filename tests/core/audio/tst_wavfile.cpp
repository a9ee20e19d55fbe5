#include "AudioChecks.h"
#include "core/audio/WavFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

Q_DECLARE_METATYPE(std::vector<qint16>)

class TestWavFile : public QObject
{
    Q_OBJECT

private:
    static QByteArray le16Samples(const std::vector<qint16> &values)
    {
        QByteArray bytes;
        for (qint16 v : values)
            AppendLe16(bytes, quint16(v));
        return bytes;
    }

private Q_SLOTS:
    void acceptedInputReadsToSixteenBitSamples_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rate");
        QTest::addColumn<std::vector<qint16>>("samples");
        // 8-bit WAV samples are unsigned with 128 as silence.
        QTest::newRow("8-bit 11 kHz take of older installations")
            << HandMadeWav(1, 11025, 8, QByteArray("\x80\xff\x00\xc0", 4)) << 1 << 11025
            << std::vector<qint16>{0, 127 * 256, -128 * 256, 64 * 256};
        QTest::newRow("16-bit stereo stays interleaved")
            << HandMadeWav(2, 44100, 16, le16Samples({1, -1, 32767, -32768, 100, 200})) << 2
            << 44100 << std::vector<qint16>{1, -1, 32767, -32768, 100, 200};
        QTest::newRow("data chunk shorter than declared")
            << HandMadeWav(1, 22050, 16, le16Samples({5, 6, 7}), 100000) << 1 << 22050
            << std::vector<qint16>{5, 6, 7};
        // Read in blocks of 16384 frames: the one frame of the last block counts.
        std::vector<qint16> ramp(16385);
        for (std::size_t i = 0; i < ramp.size(); ++i)
            ramp[i] = qint16(i % 30000);
        QTest::newRow("one frame past a whole block")
            << HandMadeWav(1, 22050, 16, le16Samples(ramp)) << 1 << 22050 << ramp;
    }
    void acceptedInputReadsToSixteenBitSamples()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, channels);
        QFETCH(int, rate);
        QFETCH(std::vector<qint16>, samples);
        QString error;
        const std::optional<PcmAudio> audio = ReadWavBytes(bytes, &error);
        QVERIFY2(audio, qPrintable(error));
        QCOMPARE(audio->channels, channels);
        QCOMPARE(audio->sampleRate, rate);
        QCOMPARE(audio->samples, samples);
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

    // The written take is a canonical 16-bit WAV file that replaces an older,
    // longer one atomically; a write that cannot happen leaves no file.
    void writeReplacesAtomically_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("written");
        QTest::newRow("over an older take") << "temp.wav" << true;
        QTest::newRow("into a missing folder") << "missing/temp.wav" << false;
    }
    void writeReplacesAtomically()
    {
        QFETCH(QString, name);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        QFile old(dir.filePath(QStringLiteral("temp.wav")));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older take, longer than the new one ...............................");
        old.close();
        PcmAudio audio;
        audio.sampleRate = 22050;
        audio.channels = 1;
        audio.samples = {1, -2, 300};
        QString error;
        QCOMPARE(WriteWavFile(path, audio, &error), written);
        QCOMPARE(error.isEmpty(), written);
        QCOMPARE(QFile::exists(path), written);
        if (written) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), HandMadeWav(1, 22050, 16, le16Samples({1, -2, 300})));
            QCOMPARE(ReadWavFile(path, &error).value_or(PcmAudio()).samples, audio.samples);
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("temp.wav")});
    }
};

QTEST_GUILESS_MAIN(TestWavFile)
#include "tst_wavfile.moc"
