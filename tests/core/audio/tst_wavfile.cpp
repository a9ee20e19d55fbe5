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
            AppendLe(bytes, v);
        return bytes;
    }

private Q_SLOTS:
    // Accepted input gives its channels, rate and 16-bit samples; refused
    // input an error naming why. Memory follows the samples present, up to
    // the limit, whatever the header claims.
    void readingGivesSamplesOrTheReason_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("maxSamples"); // 0: the default limit
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<std::vector<qint16>>("samples");
        const auto row = [](const char *name, const QByteArray &bytes, const char *outcome,
                            const std::vector<qint16> &samples = {}, int maxSamples = 0) {
            QTest::newRow(name) << bytes << maxSamples << QString::fromLatin1(outcome) << samples;
        };
        // 8-bit WAV samples are unsigned with 128 as silence.
        row("8-bit 11 kHz take of older installations",
            HandMadeWav(1, 11025, 8, QByteArray("\x80\xff\x00\xc0", 4)), "1 ch 11025 Hz",
            {0, 127 * 256, -128 * 256, 64 * 256});
        row("16-bit stereo stays interleaved",
            HandMadeWav(2, 44100, 16, le16Samples({1, -1, 32767, -32768, 100, 200})),
            "2 ch 44100 Hz", {1, -1, 32767, -32768, 100, 200});
        row("data chunk shorter than declared",
            HandMadeWav(1, 22050, 16, le16Samples({5, 6, 7}), 100000), "1 ch 22050 Hz", {5, 6, 7});
        // Read in blocks of 16384 frames: the one frame of the last block counts.
        std::vector<qint16> ramp(16385);
        for (std::size_t i = 0; i < ramp.size(); ++i)
            ramp[i] = qint16(i % 30000);
        row("one frame past a whole block", HandMadeWav(1, 22050, 16, le16Samples(ramp)),
            "1 ch 22050 Hz", ramp);
        const QByteArray huge = HandMadeWav(1, 8000, 8, QByteArray(300, char(128)), 0x7ffffff0);
        row("2 GB claimed, 300 samples present, 300 allowed", huge, "1 ch 8000 Hz",
            std::vector<qint16>(300, 0), 300);
        row("2 GB claimed, 200 allowed", huge, "too long", {}, 200);
        row("empty", QByteArray(), "not a sound file");
        row("text", "RIFF? no, just words in a file", "not a sound file");
        // Header size 24, data size 4, 16-bit, 8000 Hz, mono, then the data.
        row("Sun AU is not WAV",
            ".snd" + QByteArray::fromHex("00000018000000040000000300001f400000000100000000"),
            "not a WAV file");
        row("rate too low", HandMadeWav(1, 500, 16, le16Samples({1, 2})), "sample rate of 500 Hz");
        row("rate too high", HandMadeWav(1, 400000, 16, le16Samples({1, 2})),
            "sample rate of 400000 Hz");
        row("too many channels", HandMadeWav(9, 8000, 16, QByteArray(18 * 4, '\0')), "9 channels");
    }
    void readingGivesSamplesOrTheReason()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, maxSamples);
        QFETCH(QString, outcome);
        QFETCH(std::vector<qint16>, samples);
        WavLimits limits;
        if (maxSamples > 0)
            limits.maxSamples = maxSamples;
        QString error;
        const std::optional<PcmAudio> audio = ReadWavBytes(bytes, &error, limits);
        const QString got =
            audio ? QStringLiteral("%1 ch %2 Hz").arg(audio->channels).arg(audio->sampleRate)
                  : error;
        QVERIFY2(got.contains(outcome), qPrintable(got));
        QCOMPARE(audio.value_or(PcmAudio()).samples, samples);
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
        QFile old(dir.filePath(QStringLiteral("temp.wav")));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(100, 'o')) == 100);
        old.close();
        PcmAudio audio;
        audio.sampleRate = 22050;
        audio.channels = 1;
        audio.samples = {1, -2, 300};
        QString error;
        QCOMPARE(WriteWavFile(dir.filePath(name), audio, &error), written);
        QCOMPARE(error.isEmpty(), written);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), written ? HandMadeWav(1, 22050, 16, le16Samples({1, -2, 300}))
                                        : QByteArray(100, 'o'));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("temp.wav")});
    }
};

QTEST_GUILESS_MAIN(TestWavFile)
#include "tst_wavfile.moc"
