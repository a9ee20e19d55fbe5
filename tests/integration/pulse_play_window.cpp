// Plays a recorded reply from the play window's CmdLecture to its natural
// end through the Qt Multimedia backend. Run by pulse-record-play.sh against
// a private PulseAudio server whose default source is a 440 Hz sine and
// whose default sink is a null sink.

#include "FakeDialogs.h"
#include "TestPlay.h"
#include "WidgetDriver.h"
#include "core/app/Module1.h"
#include "core/audio/TakePackage.h"
#include "gui/play/FrmAvare.h"
#include "platform/audio/MediaDevice.h"
#include "platform/audio/QtSoundSystem.h"
#include "platform/audio/WavePlayback.h"

#include <QElapsedTimer>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

class PulsePlayWindow : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;
    FakeDialogs m_dialogs;
    QtSoundSystem m_sound;

private Q_SLOTS:
    void recordedReplyPlaysFromCmdLectureToItsEnd()
    {
        QVERIFY(m_dir.isValid());
        TestPlay play(m_state, m_dir.path(), 1);
        play.writeCharacters({{"HUBERT", "a chamberlain"}, {"ARTHUR", "a duke"}});
        play.writeStore({TestPlay::numberedScene(1, 1, 1, 3, {"HUBERT", "ARTHUR"})});
        const QString baseName = Module1::ReplyBaseName(1, QStringLiteral("HUBERT"));

        // Two seconds of the sine, recorded and packaged as the recorder does.
        {
            auto recorder = m_sound.createMediaDevice();
            QVERIFY(OpenWaveDevice(*recorder, m_state));
            QVERIFY2(recorder->sendCommand("Record"), qPrintable(recorder->errorString()));
            QTRY_VERIFY_WITH_TIMEOUT(recorder->length() >= 2000, 10000);
            QVERIFY(recorder->sendCommand("Stop"));
            QVERIFY2(recorder->sendCommand("Save"), qPrintable(recorder->errorString()));
            const qint64 length = recorder->length();
            recorder->sendCommand("Close");
            QString error;
            QCOMPARE(PackageTake(m_state.AppFolder, baseName, 1, 1, length, &error),
                     PackageResult::Packaged);
            QVERIFY2(SavePackagedTake(m_state.AppFolder, m_state.VoxPath(baseName), &error),
                     qPrintable(error));
            m_state.DeleteScratchFiles();
        }

        FrmAvare window(m_state, m_dialogs);
        window.setSoundSystem(&m_sound);
        QVERIFY(window.Load());
        window.show();
        auto *tree = Control<QTreeWidget>(&window, "TreeView1");
        ClickNode(tree, TreeNode(tree, "ACT 1", "SCENE 1"));
        QVERIFY(IsEnabled(&window, "CmdLecture"));

        QStringList progress;
        connect(window.MMControl1(), &MediaDevice::statusUpdate, this, [&] {
            const QString text = LabelText(&window, "LbEgrene");
            if (!text.isEmpty() && (progress.isEmpty() || progress.last() != text))
                progress << text;
        });
        QElapsedTimer clock;
        clock.start();
        Click(&window, "CmdLecture");
        QVERIFY(m_state.PlaybackActive);
        const qint64 length = window.MMControl1()->length();
        QVERIFY(length >= 2000);
        QTRY_VERIFY_WITH_TIMEOUT(!m_state.PlaybackActive, int(length + 10000));
        const qint64 endMs = clock.elapsed();

        QVERIFY2(endMs >= length * 9 / 10, qPrintable(QString::number(endMs)));
        QCOMPARE(progress.first(), QStringLiteral("0/2 secondes"));
        QVERIFY2(progress.contains(QStringLiteral("1/2 secondes")), qPrintable(progress.join(',')));
        QVERIFY(!window.MMControl1()->isOpen());
        QCOMPARE(Control<QSlider>(&window, "Slider1")->value(), 1);
        QCOMPARE(LabelText(&window, "LbEgrene"), QString());
        QVERIFY(!IsEnabled(&window, "CmdStopLecture"));
        QVERIFY(IsEnabled(&window, "CmdLecture"));
        QCOMPARE(m_dialogs.texts(), QStringList());
        qInfo("play window: take %lld ms, back in Idle after %lld ms; progress %s", length, endMs,
              qPrintable(progress.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(PulsePlayWindow)
#include "pulse_play_window.moc"
