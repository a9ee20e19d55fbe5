#include "AudioChecks.h"
#include "core/audio/PcmConvert.h"
#include "core/audio/SampleBlocks.h"
#include "core/audio/Tones.h"

#include <QTest>

#include <cmath>
#include <cstring>

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

std::vector<qint16> int16Samples(const QByteArray &bytes)
{
    std::vector<qint16> samples(std::size_t(bytes.size() / 2));
    std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
    return samples;
}

PcmAudio monoAudio(int rate, std::vector<qint16> samples)
{
    PcmAudio audio;
    audio.sampleRate = rate;
    audio.channels = 1;
    audio.samples = std::move(samples);
    return audio;
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

    void resamplerOutputDoesNotDependOnPieceSizes_data()
    {
        QTest::addColumn<int>("inRate");
        QTest::addColumn<int>("outRate");
        QTest::addColumn<int>("piece");
        QTest::newRow("11025 to 48000 by 1") << 11025 << 48000 << 1;
        QTest::newRow("11025 to 48000 by 7") << 11025 << 48000 << 7;
        QTest::newRow("48000 to 22050 by 13") << 48000 << 22050 << 13;
        QTest::newRow("44100 to 8000 by 1000") << 44100 << 8000 << 1000;
    }
    void resamplerOutputDoesNotDependOnPieceSizes()
    {
        QFETCH(int, inRate);
        QFETCH(int, outRate);
        QFETCH(int, piece);
        std::vector<float> input(5000);
        for (std::size_t i = 0; i < input.size(); ++i)
            input[i] = float(std::sin(double(i) * 0.05));
        QCOMPARE(resampleInPieces(input, inRate, outRate, piece),
                 resampleInPieces(input, inRate, outRate, qsizetype(input.size())));
    }

    void resamplerDoesNotDriftOverLongStream()
    {
        // Ten seconds at 11025 Hz must give ten seconds at 48000 Hz, to the sample.
        const std::vector<float> input(110250, 0.1f);
        const std::vector<float> out = resampleInPieces(input, 11025, 48000, 4096);
        QVERIFY2(std::abs(qint64(out.size()) - 480000) <= 5,
                 qPrintable(QString::number(out.size())));
    }

    void decodingMapsEachFormatToFullScale_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        QTest::addColumn<float>("expected");
        QTest::newRow("8-bit silence")
            << QByteArray(1, char(128)) << int(SampleFormat::UInt8) << 0.0f;
        QTest::newRow("8-bit lowest")
            << QByteArray(1, char(0)) << int(SampleFormat::UInt8) << -1.0f;
        QByteArray i32(4, '\0');
        const qint32 half = 1 << 30;
        std::memcpy(i32.data(), &half, 4);
        QTest::newRow("32-bit half") << i32 << int(SampleFormat::Int32) << 0.5f;
        QByteArray nan(4, '\0');
        const float notANumber = std::nanf("");
        std::memcpy(nan.data(), &notANumber, 4);
        QTest::newRow("float NaN is silence") << nan << int(SampleFormat::Float) << 0.0f;
        QByteArray loud(4, '\0');
        const float tooLoud = 7.0f;
        std::memcpy(loud.data(), &tooLoud, 4);
        QTest::newRow("float beyond full scale clips") << loud << int(SampleFormat::Float) << 1.0f;
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
            AppendLe16(bytes, quint16(v));
        MonoCaptureConverter converter(PcmFormat{22050, 2, SampleFormat::Int16}, 22050);
        std::vector<qint16> out;
        converter.push(bytes.left(3), &out);
        QVERIFY(out.empty());
        converter.push(bytes.mid(3), &out);
        const std::vector<qint16> expected = {200, -100};
        QCOMPARE(out, expected);
    }

    void elevenKilohertzTakeConvertsToRecordingFormatAtSamePitch()
    {
        const PcmAudio old = SineTone(440.0, 2000, 11025, 0.5, 0);
        const PcmAudio converted = ConvertToMono(old, 22050);
        QCOMPARE(converted.sampleRate, 22050);
        QVERIFY(std::abs(converted.durationMs() - 2000) <= 1);
        QVERIFY(std::abs(ZeroCrossingFrequency(converted) - 440.0) < 2.0);
    }

    void playbackStreamStartsAtRequestedFrame_data()
    {
        QTest::addColumn<int>("channels");
        QTest::newRow("mono output") << 1;
        QTest::newRow("stereo output") << 2;
    }
    void playbackStreamStartsAtRequestedFrame()
    {
        QFETCH(int, channels);
        std::vector<qint16> samples;
        for (int i = 0; i < 100; ++i)
            samples.push_back(qint16(i * 256));
        const PcmAudio audio = monoAudio(22050, samples);
        PcmPlaybackStream stream(audio, 50, PcmFormat{22050, channels, SampleFormat::Int16});
        std::vector<qint16> expected;
        for (auto it = samples.begin() + 50; it != samples.end(); ++it)
            expected.insert(expected.end(), std::size_t(channels), *it);
        QCOMPARE(int16Samples(stream.readAll()), expected);
        QVERIFY(stream.atEnd());
    }

    void playbackStreamCopiesMonoToEveryOutputChannel()
    {
        const PcmAudio audio = monoAudio(8000, {1000, -2000, 3000});
        PcmPlaybackStream stream(audio, 0, PcmFormat{8000, 2, SampleFormat::Float});
        const QByteArray bytes = stream.readAll();
        QCOMPARE(bytes.size(), 3 * 2 * 4);
        std::vector<float> values(6);
        std::memcpy(values.data(), bytes.constData(), 24);
        for (int f = 0; f < 3; ++f) {
            QCOMPARE(values[std::size_t(2 * f)], values[std::size_t(2 * f + 1)]);
            QCOMPARE(values[std::size_t(2 * f)], float(audio.samples[std::size_t(f)]) / 32768.0f);
        }
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
        blocks.push("abc");
        QVERIFY(!blocks.done());
        QVERIFY(!blocks.take(&block));
        QCOMPARE(block, QByteArray("unchanged"));
        blocks.push("de");
        QVERIFY(blocks.done());
        QVERIFY(blocks.take(&block));
        QCOMPARE(block, QByteArray("abcd"));
        QVERIFY(!blocks.done());
        blocks.push("fghiijjk");
        QVERIFY(blocks.take(&block));
        QCOMPARE(block, QByteArray("iijj"));
        QVERIFY(!blocks.take(&block));
    }

    void deletionSoundIsShortAndAudible()
    {
        const PcmAudio sound = DeletionSound();
        QVERIFY(sound.durationMs() >= 150 && sound.durationMs() <= 500);
        const auto [low, high] = std::minmax_element(sound.samples.begin(), sound.samples.end());
        QVERIFY(*high > 8000 && *low < -8000);
        // Faded at both ends, so it starts and stops without a click.
        QVERIFY(std::abs(sound.samples.front()) < 300 && std::abs(sound.samples.back()) < 300);
    }
};

QTEST_GUILESS_MAIN(TestPcmConvert)
#include "tst_pcmconvert.moc"
