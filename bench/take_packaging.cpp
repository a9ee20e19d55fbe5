// Time of the recorder's finish step for the longest take (180 s recorded
// plus the finishing second): writing the take as WAV, then packaging it
// with its duration record into "temp.vox". Prints the median and the worst
// of several runs. The take imitates a voice: noise shaped by a syllable
// envelope over a low hum, with pauses, which deflates about as badly as a
// real recording.
// Usage: tiradex-bench-packaging [RUNS]   (default 9)

#include "core/audio/PcmAudio.h"
#include "core/audio/TakePackage.h"
#include "core/audio/WavFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <numbers>

using namespace tiradex;

namespace {
PcmAudio voiceLikeTake(qint64 ms, int rate)
{
    PcmAudio take;
    take.sampleRate = rate;
    take.channels = 1;
    const qint64 frames = PcmAudio::MsToFrames(ms, rate);
    take.samples.resize(std::size_t(frames));
    QRandomGenerator random(57);
    double low = 0.0;
    for (qint64 i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        // Syllables of about 200 ms, a pause of 0.6 s every 4 s.
        const double syllable = std::pow(std::sin(std::numbers::pi * t * 5.0), 2.0);
        const double pause = std::fmod(t, 4.0) > 3.4 ? 0.05 : 1.0;
        low = 0.9 * low + 0.1 * (random.generateDouble() * 2.0 - 1.0);
        const double voice = 0.6 * std::sin(2.0 * std::numbers::pi * 140.0 * t) + 0.8 * low;
        take.samples[std::size_t(i)] = qint16(std::lround(9000.0 * syllable * pause * voice));
    }
    return take;
}

// Median and worst of `times` (nanoseconds) and the median processor time
// (`cpu`, clock ticks): on a busy machine the wall time also holds the time
// the process waited for a processor.
void report(const char *what, QList<qint64> times, QList<std::clock_t> cpu)
{
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-32s wall median %6.1f ms, worst %6.1f ms; processor median %6.1f ms\n", what,
                double(times.at(times.size() / 2)) / 1e6, double(times.last()) / 1e6,
                double(cpu.at(cpu.size() / 2)) * 1000.0 / CLOCKS_PER_SEC);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    QTemporaryDir dir;
    const QString appFolder = dir.path() + QLatin1Char('/');
    const PcmAudio take = voiceLikeTake(181000, 22050);

    QList<qint64> saveTimes;
    QList<qint64> packageTimes;
    QList<std::clock_t> saveCpu;
    QList<std::clock_t> packageCpu;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        std::clock_t cpu = std::clock();
        if (!WriteWavFile(appFolder + QStringLiteral("temp.wav"), take, nullptr))
            return 1;
        saveTimes.append(clock.nsecsElapsed());
        saveCpu.append(std::clock() - cpu);
        clock.restart();
        cpu = std::clock();
        QString error;
        if (PackageTake(appFolder, QStringLiteral("_0057_HUBERT"), 2, 3, take.durationMs(),
                        &error) != PackageResult::Packaged) {
            std::fprintf(stderr, "packaging failed: %s\n", qPrintable(error));
            return 1;
        }
        packageTimes.append(clock.nsecsElapsed());
        packageCpu.append(std::clock() - cpu);
    }
    std::printf("take: %lld ms at %d Hz, WAV %lld bytes, vox %lld bytes; %d runs\n",
                take.durationMs(), take.sampleRate,
                QFileInfo(appFolder + QStringLiteral("temp.wav")).size(),
                QFileInfo(appFolder + QStringLiteral("temp.vox")).size(), runs);
    report("save temp.wav", saveTimes, saveCpu);
    report("package temp.vox (PackageTake)", packageTimes, packageCpu);
    return 0;
}
