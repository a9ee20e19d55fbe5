// Records and plays takes through the Qt Multimedia backend of the media
// device on whatever sound server the environment names, from the device
// up to the recorder and the play window. Run by
// pulse-record-play.sh against a private PulseAudio server whose default
// source is a 440 Hz sine and whose default sink is a null sink.

#include "ArchiveChecks.h"
#include "AudioChecks.h"
#include "FakeDialogs.h"
#include "TestPlay.h"
#include "WidgetDriver.h"
#include "core/audio/WavFile.h"
#include "core/transfer/ZipExtractionClass.h"
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
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace tiradex;

namespace {
struct Update
{
    qint64 atMs;
    qint64 position;
    qint64 length;
};

void openDevice(MediaDevice &device, const QString &file)
{
    QVERIFY2(OpenWaveFile(device, file), qPrintable(device.errorString()));
}

qint64 median(QList<qint64> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}
} // namespace

class PulseRecordPlay : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // Plays `file` to its end and checks the status updates the way the
    // progress displays read them.
    void playToEnd(const QString &file, const char *label)
    {
        QtMediaDevice device;
        openDevice(device, file);
        const qint64 length = device.length();
        QVERIFY(length > 0);
        QList<Update> updates;
        QElapsedTimer clock;
        connect(&device, &MediaDevice::statusUpdate, this, [&] {
            updates.append({clock.elapsed(), device.position(), device.length()});
        });
        clock.start();
        QVERIFY2(device.sendCommand(QStringLiteral("Play")), qPrintable(device.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(!updates.isEmpty() && updates.last().position == length,
                                 int(length + 10000));
        // Positions rise below the length until one update reports the
        // length exactly; the updates after it (the device is still open)
        // stay there.
        qsizetype end = 0;
        while (updates[end].position != length)
            ++end;
        const qint64 endMs = updates[end].atMs;
        for (qsizetype i = 0; i < updates.size(); ++i) {
            QVERIFY(i < end ? updates[i].position < length : updates[i].position == length);
            QCOMPARE(updates[i].length, length);
            if (i > 0)
                QVERIFY(updates[i].position >= updates[i - 1].position);
        }
        QCOMPARE(device.mode(), MediaDevice::Mode::Stopped);
        QList<qint64> gaps;
        for (qsizetype i = 1; i <= end; ++i)
            gaps.append(updates[i].atMs - updates[i - 1].atMs);
        // Played in real time, not dropped: the end comes no sooner than the
        // take lasts (less a little for the output's clock).
        QVERIFY2(endMs >= length * 9 / 10, qPrintable(QString::number(endMs)));
        qInfo("%s: take %lld ms, end reported after %lld ms, %lld status updates, median gap %lld "
              "ms",
              label, length, endMs, qint64(end + 1), median(gaps));
        device.sendCommand(QStringLiteral("Close"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(!QMediaDevices::defaultAudioInput().isNull(), "no sound input: is the server up?");
        QVERIFY(!QMediaDevices::defaultAudioOutput().isNull());
        QtSoundSystem system;
        QCOMPARE(system.missingDevices(), QString());
    }

    void recordsTwoSecondsOfTheSine()
    {
        const QString file = m_dir.filePath(QStringLiteral("temp.wav"));
        QtMediaDevice device;
        openDevice(device, file);
        QElapsedTimer clock;
        clock.start();
        QVERIFY2(device.sendCommand(QStringLiteral("Record")), qPrintable(device.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT(device.length() > 0, 5000);
        const qint64 firstSampleMs = clock.elapsed();
        QTRY_VERIFY_WITH_TIMEOUT(device.length() >= 2000, 10000);
        const qint64 twoSecondsMs = clock.elapsed();
        QVERIFY(device.sendCommand(QStringLiteral("Stop")));
        QVERIFY2(device.sendCommand(QStringLiteral("Save")), qPrintable(device.errorString()));
        const qint64 length = device.length();
        device.sendCommand(QStringLiteral("Close"));

        QString error;
        const std::optional<PcmAudio> take = ReadWavFile(file, &error);
        QVERIFY2(take, qPrintable(error));
        QCOMPARE(take->channels, 1);
        QCOMPARE(take->sampleRate, MediaDevice::RecordingRate);
        QCOMPARE(take->durationMs(), length);
        QVERIFY2(length >= 2000 && length <= 2500, qPrintable(QString::number(length)));
        const double frequency = ZeroCrossingFrequency(*take);
        QVERIFY2(std::abs(frequency - 440.0) < 5.0, qPrintable(QString::number(frequency)));
        qInfo("record: first samples %lld ms after Record; 2 s of sound after %lld ms; take %lld "
              "ms at %.1f Hz",
              firstSampleMs, twoSecondsMs, length, frequency);
    }

    void recordedTakePlaysToItsEnd()
    {
        const QString file = m_dir.filePath(QStringLiteral("temp.wav"));
        QVERIFY(QFile::exists(file));
        playToEnd(file, "play recorded take");
    }

    void eightBitElevenKilohertzTakePlaysToItsEnd()
    {
        // As older installations recorded: converted for the output on the fly.
        QByteArray data;
        for (int i = 0; i < 11025 * 3 / 2; ++i)
            data.append(char(128 + (i / 12 % 2 ? 60 : -60)));
        const QString file = m_dir.filePath(QStringLiteral("old.wav"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(HandMadeWav(1, 11025, 8, data));
        out.close();
        playToEnd(file, "play 8-bit 11025 Hz take");
    }

    void pausedPlaybackResumesWhereItStopped()
    {
        QtMediaDevice device;
        openDevice(device, m_dir.filePath(QStringLiteral("temp.wav")));
        QVERIFY(device.sendCommand(QStringLiteral("Play")));
        QTest::qWait(700);
        QVERIFY(device.sendCommand(QStringLiteral("Pause")));
        const qint64 paused = device.position();
        QVERIFY2(paused > 200 && paused < device.length(), qPrintable(QString::number(paused)));
        QTest::qWait(300);
        QCOMPARE(device.position(), paused);
        QVERIFY(device.sendCommand(QStringLiteral("Play")));
        QTRY_VERIFY_WITH_TIMEOUT(device.position() > paused + 100, 3000);
        device.sendCommand(QStringLiteral("Close"));
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
        const QString vox = state.VoxPath(QStringLiteral("_0001_HUBERT"));
        QFile archive(vox);
        QVERIFY(archive.open(QIODevice::ReadOnly));
        QCOMPARE(LocalHeaderNames(archive.readAll()),
                 (QStringList{QStringLiteral("temp.wav"), QStringLiteral("_0001_HUBERT.tsd")}));
        ZipExtractionClass reader;
        QVERIFY(reader.OpenZip(vox));
        QVERIFY(reader.Extract(app.filePath(QStringLiteral("out")), true, true));
        reader.CloseZip();
        const std::optional<PcmAudio> take =
            ReadWavFile(app.filePath(QStringLiteral("out/temp.wav")), nullptr);
        QVERIFY(take);
        // Recorded until Stop plus the finishing second.
        QVERIFY2(take->durationMs() >= 2400, qPrintable(QString::number(take->durationMs())));
        QVERIFY(std::abs(ZeroCrossingFrequency(*take) - 440.0) < 5.0);
        QVERIFY(!state.RecordingActive);
        QVERIFY(!state.RecorderOpen);

        // The saved reply plays from the play window to its natural end,
        // with its progress shown.
        QTRY_VERIFY(IsEnabled(&window, "CmdLecture"));
        QStringList progress;
        connect(window.MMControl1(), &MediaDevice::statusUpdate, this, [&] {
            const QString text = LabelText(&window, "LbEgrene");
            if (!text.isEmpty() && (progress.isEmpty() || progress.last() != text))
                progress << text;
        });
        QElapsedTimer clock;
        clock.start();
        Click(&window, "CmdLecture");
        QVERIFY(state.PlaybackActive);
        const qint64 length = window.MMControl1()->length();
        QTRY_VERIFY_WITH_TIMEOUT(!state.PlaybackActive, int(length + 10000));
        QVERIFY2(clock.elapsed() >= length * 9 / 10, qPrintable(QString::number(clock.elapsed())));
        const QString seconds = QString::number(length / 1000);
        QCOMPARE(progress.first(), QStringLiteral("0/%1 secondes").arg(seconds));
        QVERIFY2(progress.contains(QStringLiteral("1/%1 secondes").arg(seconds)),
                 qPrintable(progress.join(',')));
        QVERIFY(!window.MMControl1()->isOpen());
        QCOMPARE(Control<QSlider>(&window, "Slider1")->value(), 1);
        QCOMPARE(LabelText(&window, "LbEgrene"), QString());
        QVERIFY(IsEnabled(&window, "CmdLecture"));
        QCOMPARE(dialogs.texts(), QStringList());
    }
};

QTEST_MAIN(PulseRecordPlay)
#include "pulse_record_play.moc"
