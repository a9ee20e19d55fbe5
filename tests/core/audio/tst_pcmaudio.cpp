#include "AudioChecks.h"
#include "TestFiles.h"
#include "core/audio/PcmConvert.h"
#include "core/audio/SampleBlocks.h"
#include "core/audio/Tones.h"
#include "core/audio/WavFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace tiradex;

Q_DECLARE_METATYPE(std::vector<qint16>)

namespace {
std::vector<float> resampleInPieces(const std::vector<float> &input, int inRate, int outRate,
                                    qsizetype piece)
{
    LinearResampler resampler(inRate, outRate);
    std::vector<float> out;
    for (qsizetype i = 0; i < qsizetype(input.size()); i += piece)
        resampler.push(input.data() + i, std::min(piece, qsizetype(input.size()) - i), &out);
    return out;
}

// 16-bit samples as this little-endian machine holds them and WAV files store them.
QByteArray le16Samples(const std::vector<qint16> &values)
{
    return QByteArray(reinterpret_cast<const char *>(values.data()), qsizetype(values.size()) * 2);
}

// The bytes of `value` as the machine holds it.
template <class T> QByteArray bytesOf(T value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), sizeof value);
}
} // namespace

class TestPcmAudio : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resamplerInterpolatesBetweenInputs()
    {
        QCOMPARE(resampleInPieces({0.0f, 1.0f, 0.0f}, 1, 4, 3),
                 (std::vector<float>{0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 0.75f, 0.5f, 0.25f, 0.0f}));
    }

    // Ten seconds in give ten seconds out, to a few samples, however the
    // input is cut into pieces.
    void resamplerNeitherDependsOnPiecesNorDrifts_data()
    {
        QTest::addColumn<int>("inRate");
        QTest::addColumn<int>("outRate");
        QTest::addColumn<int>("piece");
        QTest::newRow("11025 to 48000 by 1") << 11025 << 48000 << 1;
        QTest::newRow("11025 to 48000 by 4096") << 11025 << 48000 << 4096;
        QTest::newRow("48000 to 22050 by 13") << 48000 << 22050 << 13;
        QTest::newRow("44100 to 8000 by 1000") << 44100 << 8000 << 1000;
    }
    void resamplerNeitherDependsOnPiecesNorDrifts()
    {
        QFETCH(int, inRate);
        QFETCH(int, outRate);
        QFETCH(int, piece);
        std::vector<float> input(std::size_t(inRate) * 10);
        for (std::size_t i = 0; i < input.size(); ++i)
            input[i] = float(std::sin(double(i) * 0.05));
        const std::vector<float> out = resampleInPieces(input, inRate, outRate, piece);
        QCOMPARE(out, resampleInPieces(input, inRate, outRate, qsizetype(input.size())));
        QVERIFY2(std::abs(qint64(out.size()) - outRate * 10) <= 5,
                 qPrintable(QString::number(out.size())));
    }

    // 8-bit silence and lowest, 32-bit half, float NaN (silence) and
    // beyond full scale (clipped).
    void decodingMapsEachFormatToFullScale()
    {
        std::vector<float> out;
        DecodeSamples(bytesOf(quint8(128)) + bytesOf(quint8(0)), SampleFormat::UInt8, &out);
        DecodeSamples(bytesOf(qint32(1 << 30)), SampleFormat::Int32, &out);
        DecodeSamples(bytesOf(std::nanf("")) + bytesOf(7.0f), SampleFormat::Float, &out);
        QCOMPARE(out, (std::vector<float>{0.0f, -1.0f, 0.5f, 0.0f, 1.0f}));
    }

    void captureConverterAveragesChannelsAndKeepsPartialFrames()
    {
        // Stereo 16-bit frames (100, 300) and (-50, -150), split inside a frame.
        const QByteArray bytes = le16Samples({100, 300, -50, -150});
        MonoCaptureConverter converter(PcmFormat{22050, 2, SampleFormat::Int16}, 22050);
        std::vector<qint16> out;
        converter.push(bytes.left(3), &out);
        converter.push(bytes.mid(3), &out);
        QCOMPARE(out, (std::vector<qint16>{200, -100}));
    }

    // Each output frame from the requested one holds the mono sample in
    // every channel.
    void playbackStreamCopiesMonoFromRequestedFrame_data()
    {
        QTest::addColumn<int>("channels");
        QTest::addColumn<bool>("asFloat");
        QTest::addColumn<int>("from");
        QTest::newRow("mono output from frame 50") << 1 << false << 50;
        QTest::newRow("stereo output from frame 50") << 2 << false << 50;
        QTest::newRow("stereo float output") << 2 << true << 0;
    }
    void playbackStreamCopiesMonoFromRequestedFrame()
    {
        QFETCH(int, channels);
        QFETCH(bool, asFloat);
        QFETCH(int, from);
        PcmAudio audio;
        audio.sampleRate = 22050;
        audio.channels = 1;
        QByteArray expected;
        for (int i = 0; i < 100; ++i) {
            audio.samples.push_back(qint16(i * 256 - 9000));
            for (int c = 0; c < channels && i >= from; ++c)
                expected += asFloat ? bytesOf(float(i * 256 - 9000) / 32768.0f)
                                    : bytesOf(qint16(i * 256 - 9000));
        }
        const SampleFormat format = asFloat ? SampleFormat::Float : SampleFormat::Int16;
        PcmPlaybackStream stream(audio, from, PcmFormat{22050, channels, format});
        QCOMPARE(stream.readAll(), expected);
        QVERIFY(stream.atEnd());
    }

    void playbackStreamKeepsDurationWhenRateChanges()
    {
        const PcmAudio old = SineTone(440.0, 1500, 11025, 0.5, 0);
        const PcmFormat out{48000, 2, SampleFormat::Int16};
        PcmPlaybackStream stream(old, 0, out);
        qint64 total = 0;
        char buffer[1000];
        while (!stream.atEnd()) {
            const qint64 n = stream.read(buffer, sizeof buffer);
            QVERIFY(n > 0 && n % out.bytesPerFrame() == 0); // frames are never split
            total += n;
        }
        const qint64 expected = old.frames() * 48000 / 11025;
        QVERIFY2(std::abs(total / out.bytesPerFrame() - expected) <= 5,
                 qPrintable(QString::number(total)));
    }

    // A block is taken only when full; a slow reader gets the latest one.
    void blocksAreWholeAndLatest()
    {
        SampleBlocks blocks(4);
        QByteArray block("unchanged");
        QStringList seen;
        for (const char *pushed : {"abc", "de", "", "fghiijjk", ""}) {
            blocks.push(pushed);
            const bool done = blocks.done();
            seen << QStringLiteral("%1 %2 %3").arg(done).arg(blocks.take(&block)).arg(block);
        }
        QCOMPARE(seen,
                 QStringList({"0 0 unchanged", "1 1 abcd", "0 0 abcd", "1 1 iijj", "0 0 iijj"}));
    }

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
        QVERIFY(WriteTestFile(dir.filePath(QStringLiteral("temp.wav")), QByteArray(100, 'o')));
        PcmAudio audio;
        audio.sampleRate = 22050;
        audio.channels = 1;
        audio.samples = {1, -2, 300};
        QString error;
        QCOMPARE(WriteWavFile(dir.filePath(name), audio, &error), written);
        QCOMPARE(error.isEmpty(), written);
        QCOMPARE(ReadTestFile(dir.filePath(QStringLiteral("temp.wav"))),
                 written ? HandMadeWav(1, 22050, 16, le16Samples({1, -2, 300}))
                         : QByteArray(100, 'o'));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("temp.wav")});
    }
};

QTEST_GUILESS_MAIN(TestPcmAudio)
#include "tst_pcmaudio.moc"
