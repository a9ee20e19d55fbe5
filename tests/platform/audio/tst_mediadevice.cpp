#include "AudioChecks.h"
#include "VirtualMediaDevice.h"
#include "VirtualSoundSystem.h"
#include "core/audio/WavFile.h"
#include "platform/audio/WavePlayback.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tiradex;

class TestMediaDevice : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<VirtualClock> m_clock;
    std::unique_ptr<VirtualMediaDevice> m_device;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    bool openOn(const QString &file) { return OpenWaveFile(*m_device, file); }

    void send(const char *command)
    {
        QVERIFY2(m_device->sendCommand(QString::fromLatin1(command)),
                 qPrintable(m_device->errorString()));
    }

    // Records `ms` into a fresh temp.wav and saves it.
    void recordTake(qint64 ms)
    {
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        send("Record");
        m_clock->advance(ms);
        send("Stop");
        send("Save");
    }

    // Positions reported by the status updates while the clock runs `ms`.
    QList<qint64> positionsDuring(qint64 ms)
    {
        QList<qint64> positions;
        auto connection = connect(m_device.get(), &MediaDevice::statusUpdate, this,
                                  [&] { positions.append(m_device->position()); });
        m_clock->advance(ms);
        disconnect(connection);
        return positions;
    }

    void writeBytes(const QString &file, const QByteArray &bytes)
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QFile::remove(path(QStringLiteral("temp.wav")));
        m_clock = std::make_unique<VirtualClock>();
        m_device = std::make_unique<VirtualMediaDevice>(*m_clock);
    }
    void cleanup()
    {
        m_device.reset();
        m_clock.reset();
    }

    // Record, Pause and Record again make one take that grows with the
    // clock, not saved before "Save", then written as 16-bit mono.
    void pausedRecordingContinuesOneSavedTake()
    {
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        QCOMPARE(m_device->length(), qint64(0));
        QSignalSpy updates(m_device.get(), &MediaDevice::statusUpdate);
        send("Record");
        m_clock->advance(500);
        send("Pause");
        m_clock->advance(300);
        QCOMPARE(m_device->length(), qint64(500));
        QCOMPARE(updates.count(), 8);
        send("Record");
        m_clock->advance(17400);
        QCOMPARE(m_device->position(), qint64(17900));
        QVERIFY(!QFile::exists(path(QStringLiteral("temp.wav")))); // not saved yet
        send("Stop");
        send("Save");
        QString error;
        const std::optional<PcmAudio> saved = ReadWavFile(path(QStringLiteral("temp.wav")), &error);
        QVERIFY2(saved, qPrintable(error));
        QCOMPARE(saved->channels, 1);
        QCOMPARE(saved->sampleRate, MediaDevice::RecordingRate);
        QCOMPARE(saved->durationMs(), qint64(17900));
        QVERIFY(std::abs(ZeroCrossingFrequency(*saved) - 440.0) < 2.0);
    }

    void takeThatRecordedNothingLeavesNoFile_data()
    {
        QTest::addColumn<bool>("inputAvailable");
        QTest::newRow("no input device") << false;
        QTest::newRow("record never sent") << true;
    }
    void takeThatRecordedNothingLeavesNoFile()
    {
        QFETCH(bool, inputAvailable);
        m_device->setInputAvailable(inputAvailable);
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        if (!inputAvailable) {
            QVERIFY(!m_device->sendCommand(QStringLiteral("Record")));
            QVERIFY(m_device->errorString().contains(QStringLiteral("input")));
            QCOMPARE(m_device->mode(), MediaDevice::Mode::Stopped);
        }
        m_clock->advance(2000);
        QVERIFY(!m_device->sendCommand(QStringLiteral("Save")));
        QVERIFY(!QFile::exists(path(QStringLiteral("temp.wav"))));
    }

    void savingUnchangedTakeKeepsFileBytes()
    {
        // An 8-bit take as older installations made it, played to its end
        // and saved again: the file must stay exactly as it was.
        const QByteArray wav = HandMadeWav(1, 11025, 8, QByteArray(11025, char(200)));
        writeBytes(path(QStringLiteral("temp.wav")), wav);
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        send("Play");
        m_clock->advance(1500);
        send("Stop");
        send("Save");
        QFile file(path(QStringLiteral("temp.wav")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), wav);
    }

    void playbackEndsWithPositionEqualToLength_data()
    {
        QTest::addColumn<QByteArray>("wav");
        QTest::addColumn<qint64>("length");
        PcmAudio take;
        take.sampleRate = 22050;
        take.channels = 1;
        take.samples.assign(std::size_t(PcmAudio::MsToFrames(17900, 22050)), 1000);
        QTest::newRow("17.9 s recorded take") << *EncodeWav16(take, nullptr) << qint64(17900);
        // 10000 frames at 11025 Hz last 907.03 ms: the length is rounded down.
        QTest::newRow("8-bit 11025 Hz take")
            << HandMadeWav(1, 11025, 8, QByteArray(10000, char(128))) << qint64(907);
        QTest::newRow("stereo 44100 Hz")
            << HandMadeWav(2, 44100, 16, QByteArray(4 * 4410, '\0')) << qint64(100);
    }
    void playbackEndsWithPositionEqualToLength()
    {
        QFETCH(QByteArray, wav);
        QFETCH(qint64, length);
        writeBytes(path(QStringLiteral("temp.wav")), wav);
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        QCOMPARE(m_device->length(), length);
        send("Play");
        const QList<qint64> positions = positionsDuring(length + 1000);
        const qsizetype end = positions.indexOf(length);
        QVERIFY2(end >= 0, "no status update reported the end");
        for (qsizetype i = 0; i < end; ++i) {
            QVERIFY(positions[i] < length);
            if (i > 0)
                QVERIFY(positions[i] >= positions[i - 1]);
        }
        QCOMPARE(m_device->mode(), MediaDevice::Mode::Stopped);
        QCOMPARE(m_device->position(), length);
    }

    void playContinuesFromPausedPositionAndPlayAfterOpenStartsAtZero()
    {
        recordTake(3000);
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        QCOMPARE(m_device->position(), qint64(0));
        send("Play");
        m_clock->advance(1000);
        send("Pause");
        m_clock->advance(700);
        QCOMPARE(m_device->position(), qint64(1000));
        send("Play");
        m_clock->advance(500);
        QCOMPARE(m_device->position(), qint64(1500));
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        QCOMPARE(m_device->position(), qint64(0));
    }

    void commandsOnClosedDeviceFail_data()
    {
        QTest::addColumn<QString>("command");
        for (const char *c : {"Record", "Play", "Pause", "Stop", "Save"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void commandsOnClosedDeviceFail()
    {
        QFETCH(QString, command);
        QVERIFY(!m_device->sendCommand(command));
        QVERIFY(!m_device->errorString().isEmpty());
        QVERIFY(m_device->sendCommand(QStringLiteral("Close")));
        QVERIFY(m_device->errorString().isEmpty());
    }

    void openRefusesWhatItCannotServe_data()
    {
        QTest::addColumn<QString>("deviceType");
        QTest::addColumn<QString>("timeFormat");
        QTest::addColumn<QString>("fileName");
        const QString ms = QStringLiteral("milliseconds");
        QTest::newRow("other device type") << QStringLiteral("CDAudio") << ms << "temp.wav";
        QTest::newRow("other time format") << QStringLiteral("WaveAudio") << "frames"
                                           << "temp.wav";
        QTest::newRow("no file name") << QStringLiteral("WaveAudio") << ms << "";
        QTest::newRow("not a WAV file") << QStringLiteral("WaveAudio") << ms << "garbage.wav";
    }
    void openRefusesWhatItCannotServe()
    {
        QFETCH(QString, deviceType);
        QFETCH(QString, timeFormat);
        QFETCH(QString, fileName);
        writeBytes(path(QStringLiteral("garbage.wav")), "this is no sound");
        m_device->setDeviceType(deviceType);
        m_device->setTimeFormat(timeFormat);
        m_device->setFileName(fileName.isEmpty() ? QString() : path(fileName));
        QSignalSpy updates(m_device.get(), &MediaDevice::statusUpdate);
        QVERIFY(!m_device->sendCommand(QStringLiteral("Open")));
        QVERIFY(!m_device->errorString().isEmpty());
        QVERIFY(!m_device->isOpen());
        m_clock->advance(300);
        QCOMPARE(updates.count(), 0);
    }

    void closeEndsStatusUpdatesAndDropsUnsavedTake()
    {
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        send("Record");
        m_clock->advance(400);
        send("Close");
        QSignalSpy updates(m_device.get(), &MediaDevice::statusUpdate);
        m_clock->advance(500);
        QCOMPARE(updates.count(), 0);
        QCOMPARE(m_device->length(), qint64(0));
        QVERIFY(!QFile::exists(path(QStringLiteral("temp.wav"))));
    }

    void recordOnLoadedTakeOfOtherFormatContinuesIt()
    {
        writeBytes(path(QStringLiteral("temp.wav")),
                   HandMadeWav(1, 11025, 8, QByteArray(11025, char(128))));
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        send("Record");
        m_clock->advance(500);
        send("Stop");
        send("Save");
        const std::optional<PcmAudio> saved =
            ReadWavFile(path(QStringLiteral("temp.wav")), nullptr);
        QVERIFY(saved);
        QCOMPARE(saved->sampleRate, MediaDevice::RecordingRate);
        QCOMPARE(saved->durationMs(), qint64(1500));
    }

    void missingDevicesAreToldOnce_data()
    {
        QTest::addColumn<bool>("input");
        QTest::addColumn<bool>("output");
        QTest::addColumn<QString>("textPart");
        QTest::newRow("no input") << false << true << "cannot be recorded";
        QTest::newRow("no output") << true << false << "cannot be heard";
        QTest::newRow("both present") << true << true << "";
    }
    void missingDevicesAreToldOnce()
    {
        QFETCH(bool, input);
        QFETCH(bool, output);
        QFETCH(QString, textPart);
        VirtualSoundSystem sound;
        sound.setInputAvailable(input);
        sound.setOutputAvailable(output);
        const QString first = sound.missingDevicesNotice();
        if (textPart.isEmpty()) {
            QVERIFY(first.isEmpty());
        } else {
            QVERIFY2(first.contains(textPart), qPrintable(first));
            QVERIFY(first.contains(QStringLiteral("works on")));
        }
        QVERIFY(sound.missingDevicesNotice().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMediaDevice)
#include "tst_mediadevice.moc"
