// Records and plays takes through the Qt Multimedia backend of the media
// device on whatever sound server the environment names, from the device
// up to the recorder and the play window. Run by
// pulse-record-play.sh against a private PulseAudio server whose default
// source is a 440 Hz sine and whose default sink is a null sink.

#include "FakeDialogs.h"
#include "TestPlay.h"
#include "VoxFiles.h"
#include "WidgetDriver.h"
#include "core/audio/PlaybackOps.h"
#include "core/audio/WavFile.h"
#include "gui/audio/FrmEnregMessage.h"
#include "gui/play/FrmAvare.h"
#include "platform/audio/QtMediaDevice.h"
#include "platform/audio/QtSoundInput.h"
#include "platform/audio/QtSoundSystem.h"
#include "platform/audio/WavePlayback.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

class PulseRecordPlay : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    const QString m_take = m_dir.filePath(QStringLiteral("temp.wav"));

    // Plays `file` to its end and checks the status updates the way the
    // progress displays read them: positions rise below the length until
    // one update reports the length exactly; those after it (the device is
    // still open) stay there.
    void playToEnd(const QString &file)
    {
        QtMediaDevice device;
        QVERIFY2(OpenWaveFile(device, file), qPrintable(device.errorString()));
        const qint64 length = device.length();
        QList<qint64> positions;
        connect(&device, &MediaDevice::statusUpdate, this,
                [&] { positions.append(device.length() == length ? device.position() : -1); });
        QElapsedTimer clock;
        clock.start();
        QVERIFY2(device.sendCommand(QStringLiteral("Play")), qPrintable(device.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(positions.contains(length), int(length + 10000));
        // Played in real time, not dropped: the end comes no sooner than the
        // take lasts (less a little for the output's clock).
        QVERIFY2(clock.elapsed() >= length * 9 / 10, qPrintable(QString::number(clock.elapsed())));
        const qsizetype end = positions.indexOf(length);
        for (qsizetype i = 1; i < positions.size(); ++i)
            QVERIFY(positions[i] >= positions[i - 1] && (i >= end) == (positions[i] == length));
        QVERIFY(length > 0 && device.mode() == MediaDevice::Mode::Stopped);
        qInfo("take %lld ms, end reported after %lld ms", length, clock.elapsed());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!QMediaDevices::defaultAudioInput().isNull(), "no sound input: is the server up?");
        QVERIFY(m_dir.isValid() && !QMediaDevices::defaultAudioOutput().isNull());
        QCOMPARE(QtSoundSystem().missingDevices(), QString());
    }

    void recordsTwoSecondsOfTheSine()
    {
        QtMediaDevice device;
        QVERIFY2(OpenWaveFile(device, m_take), qPrintable(device.errorString()));
        QElapsedTimer clock;
        clock.start();
        QVERIFY2(device.sendCommand(QStringLiteral("Record")), qPrintable(device.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(device.length() > 0, 5000);
        const qint64 firstSampleMs = clock.elapsed();
        QTRY_VERIFY_WITH_TIMEOUT(device.length() >= 2000, 10000);
        QVERIFY(device.sendCommand(QStringLiteral("Stop")));
        QVERIFY2(device.sendCommand(QStringLiteral("Save")), qPrintable(device.errorString()));
        const qint64 length = device.length();
        const PcmAudio take = ReadWavFile(m_take, nullptr).value_or(PcmAudio());
        QCOMPARE(QList<qint64>({take.channels, take.sampleRate, take.durationMs()}),
                 QList<qint64>({1, MediaDevice::RecordingRate, length}));
        QVERIFY2(length >= 2000 && length <= 2500, qPrintable(QString::number(length)));
        const double frequency = ZeroCrossingFrequency(take);
        QVERIFY2(std::abs(frequency - 440.0) < 5.0, qPrintable(QString::number(frequency)));
        qInfo("first samples %lld ms after Record; take %lld ms at %.1f Hz", firstSampleMs, length,
              frequency);
    }

    void recordedTakePlaysToItsEnd() { playToEnd(m_take); }

    void eightBitElevenKilohertzTakePlaysToItsEnd()
    {
        // As older installations recorded: converted for the output on the fly.
        TestPlay::write(m_dir.filePath(QStringLiteral("old.wav")),
                        HandMadeWav(1, 11025, 8, QByteArray(11025 * 3 / 2, char(200))));
        playToEnd(m_dir.filePath(QStringLiteral("old.wav")));
    }

    void pausedPlaybackResumesWhereItStopped()
    {
        QtMediaDevice device;
        QVERIFY(OpenWaveFile(device, m_take) && device.sendCommand(QStringLiteral("Play")));
        QTest::qWait(700);
        QVERIFY(device.sendCommand(QStringLiteral("Pause")));
        const qint64 paused = device.position();
        QVERIFY2(paused > 200 && paused < device.length(), qPrintable(QString::number(paused)));
        QTest::qWait(300);
        QCOMPARE(device.position(), paused);
        QVERIFY(device.sendCommand(QStringLiteral("Play")));
        QTRY_VERIFY_WITH_TIMEOUT(device.position() > paused + 100, 3000);
    }

    void scopeInputDeliversEightBitBlocksOfTheSine()
    {
        QtSoundInput input;
        QString error;
        QVERIFY2(input.open(&error), qPrintable(error));
        QByteArray block;
        QTRY_VERIFY_WITH_TIMEOUT(input.blockDone(), 5000);
        QVERIFY(input.takeBlock(&block));
        input.close();
        input.close();
        QCOMPARE(block.size(), SoundInput::BlockLength);
        int crossings = 0;
        for (int i = 1; i < block.size(); ++i)
            if ((quint8(block[i - 1]) < 128) != (quint8(block[i]) < 128))
                ++crossings;
        // 4035 samples at 8000 Hz last 504 ms: a 440 Hz sine crosses 443 times.
        QVERIFY2(std::abs(crossings - 443) < 15, qPrintable(QString::number(crossings)));
    }

    void recorderWindowRecordsAndSavesReply()
    {
        // The whole road on the real devices: the play window's record
        // button, Record, Stop, the finishing second, Play to the end, Save.
        QTemporaryDir app;
        Module1 state;
        TestPlay play(state, app.path());
        play.writeCharacters({{QStringLiteral("HUBERT"), QStringLiteral("a chamberlain")}});
        play.writeStore({TestPlay::numberedScene(1, 1, 1, 2, {QStringLiteral("HUBERT")})});
        FakeDialogs dialogs;
        QtSoundSystem sound;
        FrmAvare window(state, dialogs);
        window.setSoundSystem(&sound);
        QVERIFY(window.Load());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.OpenScene(TreeNode(Control<QTreeWidget>(&window, "TreeView1"),
                                  QStringLiteral("ACT 1"), QStringLiteral("SCENE 1")));
        Click(&window, "CmdRecordShow");
        FrmEnregMessage *recorder = window.recorder();
        QVERIFY(recorder);
        Click(recorder, "CmdRecord");
        QTRY_VERIFY_WITH_TIMEOUT(recorder->MMControl1().length() >= 1500, 10000);
        Click(recorder, "cmdStopRecord");
        QTRY_VERIFY_WITH_TIMEOUT(IsEnabled(recorder, "CmdPlay"), 5000); // finished
        QVERIFY(QFile::exists(state.AppFolder + QStringLiteral("temp.vox")));
        Click(recorder, "CmdPlay");
        QTRY_VERIFY_WITH_TIMEOUT(recorder->controls().TimerTempo->isActive(), 10000); // the end
        QTRY_VERIFY_WITH_TIMEOUT(
            !recorder->controls().TimerTempo->isActive() && !recorder->packaging(), 5000);
        Click(recorder, "CmdEnreg");
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(!state.RecordingActive && !state.RecorderOpen);
        QVERIFY(UnpackVox(state, QStringLiteral("_0001_HUBERT")));
        const std::optional<PcmAudio> take =
            ReadWavFile(state.AppFolder + QStringLiteral("temp.wav"), nullptr);
        // Recorded until Stop plus the finishing second.
        QVERIFY(take);
        QVERIFY2(take->durationMs() >= 2400, qPrintable(QString::number(take->durationMs())));
        QVERIFY(std::abs(ZeroCrossingFrequency(*take) - 440.0) < 5.0);

        // The saved reply plays from the play window to its natural end.
        QTRY_VERIFY(IsEnabled(&window, "CmdLecture"));
        Click(&window, "CmdLecture");
        QVERIFY(state.PlaybackActive);
        QTRY_VERIFY_WITH_TIMEOUT(!state.PlaybackActive, int(take->durationMs()) + 10000);
        QCOMPARE(LabelText(&window, "LbEgrene"), QString());
        QVERIFY(IsEnabled(&window, "CmdLecture") && !window.MMControl1()->isOpen());
        QCOMPARE(dialogs.texts(), QStringList());
    }
};

QTEST_MAIN(PulseRecordPlay)
#include "pulse_record_play.moc"
