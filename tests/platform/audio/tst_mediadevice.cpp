#include "AudioChecks.h"
#include "VirtualMediaDevice.h"
#include "VirtualSoundSystem.h"
#include "core/audio/WavFile.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestMediaDevice : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<VirtualClock> clock_;
    std::unique_ptr<VirtualMediaDevice> device_;

    QString path(const QString &name) const { return dir_.filePath(name); }

    bool openOn(const QString &file)
    {
        device_->sendCommand(QStringLiteral("Close"));
        device_->setNotify(false);
        device_->setWait(true);
        device_->setShareable(false);
        device_->setTimeFormat(QStringLiteral("milliseconds"));
        device_->setDeviceType(QStringLiteral("WaveAudio"));
        device_->setFileName(file);
        return device_->sendCommand(QStringLiteral("Open"));
    }

    void send(const char *command)
    {
        QVERIFY2(device_->sendCommand(QString::fromLatin1(command)),
                 qPrintable(device_->errorString()));
    }

    // Records `ms` into a fresh temp.wav and saves it.
    void recordTake(qint64 ms)
    {
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        send("Record");
        clock_->advance(ms);
        send("Stop");
        send("Save");
    }

    // Positions reported by the status updates while the clock runs `ms`.
    QList<qint64> positionsDuring(qint64 ms)
    {
        QList<qint64> positions;
        auto connection = connect(device_.get(), &MediaDevice::statusUpdate, this,
                                  [&] { positions.append(device_->position()); });
        clock_->advance(ms);
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
        QVERIFY(dir_.isValid());
        QFile::remove(path(QStringLiteral("temp.wav")));
        clock_ = std::make_unique<VirtualClock>();
        device_ = std::make_unique<VirtualMediaDevice>(*clock_);
    }
    void cleanup()
    {
        device_.reset();
        clock_.reset();
    }

    void recordAfterOpenGrowsTakeWithClock()
    {
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        QCOMPARE(device_->length(), qint64(0));
        QSignalSpy updates(device_.get(), &MediaDevice::statusUpdate);
        send("Record");
        clock_->advance(1700);
        QCOMPARE(device_->length(), qint64(1700));
        QCOMPARE(device_->position(), qint64(1700));
        QCOMPARE(updates.count(), 17);
        QVERIFY(!QFile::exists(path(QStringLiteral("temp.wav")))); // not saved yet
    }

    void pauseAndRecordContinueOneTake()
    {
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        send("Record");
        clock_->advance(500);
        send("Pause");
        clock_->advance(300);
        QCOMPARE(device_->length(), qint64(500));
        send("Record");
        clock_->advance(1500);
        send("Stop");
        QCOMPARE(device_->length(), qint64(2000));
        QVERIFY(std::abs(ZeroCrossingFrequency(device_->take()) - 440.0) < 2.0);
    }

    void saveWritesSixteenBitMonoTake()
    {
        recordTake(17900);
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
        device_->setInputAvailable(inputAvailable);
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        if (!inputAvailable) {
            QVERIFY(!device_->sendCommand(QStringLiteral("Record")));
            QVERIFY(device_->errorString().contains(QStringLiteral("input")));
            QCOMPARE(device_->mode(), MediaDevice::Mode::Stopped);
        }
        clock_->advance(2000);
        QVERIFY(!device_->sendCommand(QStringLiteral("Save")));
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
        clock_->advance(1500);
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
        QCOMPARE(device_->length(), length);
        send("Play");
        const QList<qint64> positions = positionsDuring(length + 1000);
        const qsizetype end = positions.indexOf(length);
        QVERIFY2(end >= 0, "no status update reported the end");
        for (qsizetype i = 0; i < end; ++i) {
            QVERIFY(positions[i] < length);
            if (i > 0)
                QVERIFY(positions[i] >= positions[i - 1]);
        }
        QCOMPARE(device_->mode(), MediaDevice::Mode::Stopped);
        QCOMPARE(device_->position(), length);
    }

    void playContinuesFromPausedPositionAndPlayAfterOpenStartsAtZero()
    {
        recordTake(3000);
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        QCOMPARE(device_->position(), qint64(0));
        send("Play");
        clock_->advance(1000);
        send("Pause");
        clock_->advance(700);
        QCOMPARE(device_->position(), qint64(1000));
        send("Play");
        clock_->advance(500);
        QCOMPARE(device_->position(), qint64(1500));
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        QCOMPARE(device_->position(), qint64(0));
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
        QVERIFY(!device_->sendCommand(command));
        QVERIFY(!device_->errorString().isEmpty());
        QVERIFY(device_->sendCommand(QStringLiteral("Close")));
        QVERIFY(device_->errorString().isEmpty());
    }

    void openRefusesWhatItCannotServe_data()
    {
        QTest::addColumn<QString>("deviceType");
        QTest::addColumn<QString>("timeFormat");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("other device type") << "CDAudio"
                                           << "milliseconds"
                                           << "temp.wav";
        QTest::newRow("other time format") << "WaveAudio"
                                           << "frames"
                                           << "temp.wav";
        QTest::newRow("no file name") << "WaveAudio"
                                      << "milliseconds"
                                      << "";
        QTest::newRow("not a WAV file") << "WaveAudio"
                                        << "milliseconds"
                                        << "garbage.wav";
    }
    void openRefusesWhatItCannotServe()
    {
        QFETCH(QString, deviceType);
        QFETCH(QString, timeFormat);
        QFETCH(QString, fileName);
        writeBytes(path(QStringLiteral("garbage.wav")), "this is no sound");
        device_->setDeviceType(deviceType);
        device_->setTimeFormat(timeFormat);
        device_->setFileName(fileName.isEmpty() ? QString() : path(fileName));
        QSignalSpy updates(device_.get(), &MediaDevice::statusUpdate);
        QVERIFY(!device_->sendCommand(QStringLiteral("Open")));
        QVERIFY(!device_->errorString().isEmpty());
        QVERIFY(!device_->isOpen());
        clock_->advance(300);
        QCOMPARE(updates.count(), 0);
    }

    void closeEndsStatusUpdatesAndDropsUnsavedTake()
    {
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        send("Record");
        clock_->advance(400);
        send("Close");
        QSignalSpy updates(device_.get(), &MediaDevice::statusUpdate);
        clock_->advance(500);
        QCOMPARE(updates.count(), 0);
        QCOMPARE(device_->length(), qint64(0));
        QVERIFY(!QFile::exists(path(QStringLiteral("temp.wav"))));
    }

    void recordOnLoadedTakeOfOtherFormatContinuesIt()
    {
        writeBytes(path(QStringLiteral("temp.wav")),
                   HandMadeWav(1, 11025, 8, QByteArray(11025, char(128))));
        QVERIFY(openOn(path(QStringLiteral("temp.wav"))));
        send("Record");
        clock_->advance(500);
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
