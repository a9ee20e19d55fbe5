#include "AudioChecks.h"
#include "TestFiles.h"
#include "VirtualMediaDevice.h"
#include "VirtualSoundInput.h"
#include "VirtualSoundSystem.h"
#include "core/audio/WavFile.h"
#include "platform/audio/SoundMeter.h"
#include "platform/audio/WavePlayback.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tiradex;

namespace {
const char *const Modes[] = {"not open", "stopped", "recording", "playing", "paused"};

// 16-bit mono silence of `ms` at 22050 Hz, as a WAV file.
QByteArray Silence(qint64 ms)
{
    return HandMadeWav(1, 22050, 16, QByteArray(PcmAudio::MsToFrames(ms, 22050) * 2, '\0'));
}
} // namespace

class TestMediaDevice : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    VirtualClock m_clock;
    std::unique_ptr<VirtualMediaDevice> m_device;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void init()
    {
        QFile::remove(path(QStringLiteral("temp.wav")));
        m_device = std::make_unique<VirtualMediaDevice>(m_clock);
    }

    // A script of commands on temp.wav as `before` holds it (none when
    // empty): "Load" opens it as the recorder does, "+N" moves the clock N
    // ms, "NoInput" takes the input away, "Type", "Format" and "File" set the
    // device's fields. The outcome: mode, position (as the last status update
    // reported it)/length, status updates, the commands refused, and temp.wav
    // as it is left (its length, format and pitch when it changed).
    void scriptsLeaveTheirOutcome_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("outcome");
        auto row = [](const char *name, const QByteArray &before, const QString &script,
                      const char *outcome) {
            QTest::newRow(name) << before << script << QString::fromLatin1(outcome);
        };
        const QByteArray none;
        const QByteArray old = HandMadeWav(1, 11025, 8, QByteArray(11025, char(200)));
        const QString paused = "Load,Record,+500,Pause,+300";
        row("paused recording keeps its length", none, paused,
            "paused 500/500, 8 updates, no file");
        row("resumed recording is not saved before Save", none, paused + ",Record,+17400",
            "recording 17900/17900, 182 updates, no file");
        row("one take saved as 16-bit mono", none, paused + ",Record,+17400,Stop,Save",
            "stopped 17900/17900, 182 updates, 17900 ms at 22050 Hz, 1 ch, 440 Hz");
        row("no take without an input", none, "NoInput,Load,Record,+2000,Save",
            "stopped 0/0, 20 updates, Record refused, Save refused, no file");
        row("no take without Record", none, "Load,+2000,Save",
            "stopped 0/0, 20 updates, Save refused, no file");
        row("commands on a closed device fail, Close does not", none,
            "Record,Play,Pause,Stop,Save,Close",
            "not open 0/0, 0 updates, Record refused, Play refused, Pause refused, Stop "
            "refused, Save refused, no file");
        row("close ends the updates and drops the unsaved take", none,
            "Load,Record,+400,Close,+500", "not open 400/0, 4 updates, no file");
        row("play resumes where Pause left it", Silence(3000),
            "Load,Play,+1000,Pause,+700,Play,+500",
            "playing 1500/3000, 22 updates, file unchanged");
        row("play after opening again starts at 0", Silence(3000), "Load,Play,+1000,Load,+100",
            "stopped 0/3000, 11 updates, file unchanged");
        row("unchanged old take saved again keeps its bytes", old, "Load,Play,+1500,Stop,Save",
            "stopped 1000/1000, 15 updates, file unchanged");
        // A second of the old take's level, then half a second of the sine:
        // 440 Hz over a third of the take.
        row("recording on an old take continues it in the recording format", old,
            "Load,Record,+500,Stop,Save",
            "stopped 1500/1500, 5 updates, 1500 ms at 22050 Hz, 1 ch, 146 Hz");
        // The end of a playback is reported by a status update.
        row("playback of a 17.9 s take", Silence(17900), "Load,Play,+18900",
            "stopped 17900/17900, 189 updates, file unchanged");
        // 10000 frames at 11025 Hz last 907.03 ms: the length is rounded down.
        row("playback of an 8-bit 11025 Hz take",
            HandMadeWav(1, 11025, 8, QByteArray(10000, char(128))), "Load,Play,+1900",
            "stopped 907/907, 19 updates, file unchanged");
        row("playback of a stereo 44100 Hz take",
            HandMadeWav(2, 44100, 16, QByteArray(4 * 4410, '\0')), "Load,Play,+1100",
            "stopped 100/100, 11 updates, file unchanged");
        row("fields that open", Silence(100), "Type WaveAudio,File,Open",
            "stopped 0/100, 0 updates, file unchanged");
        row("other device type", Silence(100), "Type CDAudio,File,Open,+300",
            "not open 0/0, 0 updates, Open refused, file unchanged");
        row("other time format", Silence(100), "Type WaveAudio,Format frames,File,Open,+300",
            "not open 0/0, 0 updates, Open refused, file unchanged");
        row("no file name", Silence(100), "Type WaveAudio,Open,+300",
            "not open 0/0, 0 updates, Open refused, file unchanged");
        row("not a WAV file", "this is no sound", "Type WaveAudio,File,Open,+300",
            "not open 0/0, 0 updates, Open refused, file unchanged");
    }
    void scriptsLeaveTheirOutcome()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, script);
        QFETCH(QString, outcome);
        if (!before.isEmpty())
            QVERIFY(WriteTestFile(path("temp.wav"), before));
        int updates = 0;
        qint64 reported = 0;
        connect(m_device.get(), &MediaDevice::statusUpdate, this, [&] {
            ++updates;
            reported = m_device->position();
        });
        QStringList parts;
        for (const QString &step : script.split(QLatin1Char(','))) {
            if (step == "NoInput")
                m_device->setInputAvailable(false);
            else if (step.startsWith(QLatin1Char('+')))
                m_clock.advance(step.mid(1).toLongLong());
            else if (step.startsWith("Type "))
                m_device->setDeviceType(step.section(QLatin1Char(' '), 1));
            else if (step.startsWith("Format "))
                m_device->setTimeFormat(step.section(QLatin1Char(' '), 1));
            else if (step == "File")
                m_device->setFileName(path("temp.wav"));
            else if (step == "Load" ? !OpenWaveFile(*m_device, path("temp.wav"))
                                    : !m_device->sendCommand(step))
                parts << step + " refused";
        }
        parts.prepend(QString::asprintf("%s %lld/%lld, %d updates", Modes[int(m_device->mode())],
                                        reported, m_device->length(), updates));
        const QByteArray after = ReadTestFile(path("temp.wav"));
        const PcmAudio saved = ReadWavBytes(after, nullptr).value_or(PcmAudio());
        if (after == "<missing>")
            parts << "no file";
        else if (after == before)
            parts << "file unchanged";
        else
            parts << QString::asprintf("%lld ms at %d Hz, %d ch, %d Hz", saved.durationMs(),
                                       saved.sampleRate, saved.channels,
                                       qRound(ZeroCrossingFrequency(saved)));
        QCOMPARE(parts.join(", "), outcome);
    }

    // Told once per run (the missing input's text reaches the recorder's
    // window).
    void missingOutputIsToldOnce()
    {
        VirtualSoundSystem sound;
        sound.setOutputAvailable(false);
        QCOMPARE(QStringList({sound.missingDevicesNotice(), sound.missingDevicesNotice()}),
                 QStringList({"No sound output device was found: recordings cannot be heard.\n"
                              "Tiradex works on without it. Connect a device and start Tiradex "
                              "again to use it.",
                              ""}));
    }

    // The meter takes the latest block without waiting for one; starting
    // twice opens the input once, stopping twice is harmless, and the
    // meter's end releases the input.
    void meterReadsWithoutWaitingAndReleasesInput()
    {
        VirtualSoundInput input(m_clock);
        input.setGenerator([](qint64 i) { return quint8(i % 251); });
        {
            SoundMeter meter(input);
            QVERIFY(meter.StartMeter(nullptr) && meter.StartMeter(nullptr));
            QVERIFY(!meter.ReadMeter()); // nothing recorded yet: returns at once
            QCOMPARE(meter.copyArea().at(0), char(128));
            m_clock.advance(600); // 4800 samples: the first block (0 .. 4034) is done
            QVERIFY(meter.ReadMeter());
            QCOMPARE(meter.copyArea().size(), SoundMeter::CopyAreaLength);
            for (int i : {0, 1, 4034})
                QCOMPARE(quint8(meter.copyArea().at(i)), quint8(i % 251));
            QVERIFY(!meter.ReadMeter()); // the block was queued again
            meter.StopMeter();
            meter.StopMeter();
            QVERIFY(!input.isOpen() && !meter.MeterRunning() && meter.StartMeter(nullptr));
            QCOMPARE(input.openCount(), 2);
        }
        QVERIFY(!input.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestMediaDevice)
#include "tst_mediadevice.moc"
