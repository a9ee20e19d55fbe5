#include "AudioChecks.h"
#include "core/audio/PcmConvert.h"
#include "core/audio/SampleBlocks.h"
#include "core/audio/Tones.h"

#include <QTest>

#include <cmath>

using namespace tiradex;

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

// The bytes of `value` as the machine holds it.
template <class T> QByteArray bytesOf(T value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), sizeof value);
}
} // namespace

class TestPcmConvert : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void resamplerInterpolatesBetweenInputs()
    {
        const std::vector<float> input = {0.0f, 1.0f, 0.0f};
        const std::vector<float> out = resampleInPieces(input, 1, 4, 3);
        const std::vector<float> expected = {0.0f,  0.25f, 0.5f,  0.75f, 1.0f,
                                             0.75f, 0.5f,  0.25f, 0.0f};
        QCOMPARE(out, expected);
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

    void decodingMapsEachFormatToFullScale_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        QTest::addColumn<float>("expected");
        QTest::newRow("8-bit silence") << bytesOf(quint8(128)) << int(SampleFormat::UInt8) << 0.0f;
        QTest::newRow("8-bit lowest") << bytesOf(quint8(0)) << int(SampleFormat::UInt8) << -1.0f;
        QTest::newRow("32-bit half")
            << bytesOf(qint32(1 << 30)) << int(SampleFormat::Int32) << 0.5f;
        QTest::newRow("float NaN is silence")
            << bytesOf(std::nanf("")) << int(SampleFormat::Float) << 0.0f;
        QTest::newRow("float beyond full scale clips")
            << bytesOf(7.0f) << int(SampleFormat::Float) << 1.0f;
    }
    void decodingMapsEachFormatToFullScale()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QFETCH(float, expected);
        std::vector<float> out;
        DecodeSamples(bytes, SampleFormat(format), &out);
        QCOMPARE(out.size(), std::size_t(1));
        QCOMPARE(out[0], expected);
    }

    void captureConverterAveragesChannelsAndKeepsPartialFrames()
    {
        // Stereo 16-bit frames (100, 300) and (-50, -150), split inside a frame.
        QByteArray bytes;
        for (qint16 v : {100, 300, -50, -150})
            AppendLe(bytes, v);
        MonoCaptureConverter converter(PcmFormat{22050, 2, SampleFormat::Int16}, 22050);
        std::vector<qint16> out;
        converter.push(bytes.left(3), &out);
        converter.push(bytes.mid(3), &out);
        const std::vector<qint16> expected = {200, -100};
        QCOMPARE(out, expected);
    }

    void elevenKilohertzTakeConvertsToRecordingFormatAtSamePitch()
    {
        const PcmAudio old = SineTone(440.0, 2000, 11025, 0.5, 0);
        const PcmAudio converted = ConvertToMono(old, 22050);
        QCOMPARE(converted.sampleRate, 22050);
        QVERIFY(std::abs(converted.durationMs() - 2000) <= 1 &&
                std::abs(ZeroCrossingFrequency(converted) - 440.0) < 2.0);
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
            QVERIFY(n > 0);
            QCOMPARE(n % out.bytesPerFrame(), qint64(0)); // frames are never split
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

    void deletionSoundIsShortAndAudible()
    {
        const PcmAudio sound = DeletionSound();
        const auto [low, high] = std::minmax_element(sound.samples.begin(), sound.samples.end());
        // Faded at both ends, so it starts and stops without a click.
        QVERIFY(sound.durationMs() >= 150 && sound.durationMs() <= 500 && *high > 8000 &&
                *low < -8000 && std::abs(sound.samples.front()) < 300 &&
                std::abs(sound.samples.back()) < 300);
    }
};

QTEST_GUILESS_MAIN(TestPcmConvert)
#include "tst_pcmconvert.moc"
