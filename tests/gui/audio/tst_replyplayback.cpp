#include "PlayWindowFixture.h"
#include "core/audio/PlaybackOps.h"
#include "gui/audio/SceneListener.h"
#include "platform/audio/WavePlayback.h"

#include <QAbstractButton>
#include <QFile>
#include <QMouseEvent>

using namespace tiradex;

// Reply 57 (HUBERT) is the third of six replies, 55 to 60.
class TestReplyPlayback : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;

    // A fresh play shown on reply 57, recorded with `take`, with a note.
    void openOn57(const QByteArray &take)
    {
        f.freshPlay(55, 6);
        TestPlay(*f.state, f.folder(), 1).addNote(57, PlayWindowFixture::Hubert);
        f.record(57, take);
        f.openScene(57);
    }

    // The reply panel's listening buttons that are enabled.
    QString panel() const
    {
        QStringList on;
        for (const char *name : {"CmdLecture", "CmdDelVox", "CmdEcouteGlobalScene"}) {
            if (f.enabled(name))
                on << QLatin1String(name);
        }
        return on.isEmpty() ? QStringLiteral("none") : on.join(QLatin1Char(' '));
    }

    // Scene listening on replies 1 to 6 (HUBERT speaks 1, 3, 5 and ARTHUR
    // 2, 4, 6). Each reply's take has its own length, so the length identifies it:
    // reply n lasts n * 1000 + 100 ms (reply 3 is an 8-bit 11025 Hz take).
    // The window opens on reply `start`.
    void recordReplies(const QList<int> &numbers, int start)
    {
        f.freshPlay(1, 6);
        for (int n : numbers)
            f.record(n, n == 3 ? HandMadeWav(1, 11025, 8, QByteArray(11025 * 3, char(200)))
                               : ToneWav(n * 1000 + 100));
        TestPlay(*f.state, f.folder(), 1).addNote(3, PlayWindowFixture::Hubert);
        f.openScene(start);
    }

    // Runs the clock until the listening ends. Returns each take heard as
    // "position in the scene:length", and checks on every step that the
    // locked controls stay locked.
    QStringList listenToTheEnd()
    {
        QStringList heard;
        VirtualMediaDevice &device = f.device("MMControl2");
        for (int step = 0; step < 1000 && f.state->PlaybackActive; ++step) {
            const QString take = QStringLiteral("%1:%2").arg(
                f.label("LbCompteRepliques").section(QLatin1Char('/'), 0, 0),
                QString::number(device.length()));
            if (device.isOpen() && (heard.isEmpty() || heard.last() != take))
                heard << take;
            if (!f.unlockedDuringPlayback().isEmpty())
                return {"unlocked: " + f.unlockedDuringPlayback().join(' ')};
            f.advance(100);
        }
        return heard;
    }

private Q_SLOTS:
    void cleanup() { f.play.reset(); }

    // Played to its end or stopped in the middle, the take leaves the panel
    // Idle, and no late end arrives from a stopped take.
    void playbackEndsInIdle_data()
    {
        QTest::addColumn<bool>("stop");
        QTest::newRow("to its end") << false;
        QTest::newRow("stopped in the middle") << true;
    }
    void playbackEndsInIdle()
    {
        QFETCH(bool, stop);
        openOn57(ToneWav(17900));
        f.click("CmdLecture");
        QCOMPARE(f.unlockedDuringPlayback(), QStringList());
        QVERIFY(f.state->PlaybackActive && f.enabled("CmdStopLecture"));
        f.advance(12800);
        QCOMPARE(QStringList({f.label("LbEgrene"), QString::number(f.slider()->value()),
                              QString::number(f.slider()->maximum())}),
                 QStringList({"12/17 secondes", "12800", "17900"}));
        if (stop) {
            f.click("CmdStopLecture");
        } else {
            f.advance(5000);
            QVERIFY(f.state->PlaybackActive);
        }
        f.advance(20000);
        QCOMPARE(f.idleDifferences("MMControl1"), QString());
        QCOMPARE(panel(), QStringLiteral("CmdLecture CmdDelVox CmdEcouteGlobalScene"));
        QVERIFY(f.enabled("CmdRecordShow") && f.enabled("CmdNoteExiste"));
        QVERIFY(!f.enabled("CmdPhotoExiste"));
        QCOMPARE(f.device("MMControl1").commandLog(), QStringList({"Open", "Play", "Close"}));
        QCOMPARE(f.device("MMControl1").fileName(), f.state->AppFolder + "temp.wav");
        QCOMPARE(f.device("MMControl2").commandLog(), QStringList());
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    // Listen, or Delete answered Yes or No ("keep"), on reply 57 with a fault
    // on its recording and recordings of `others` beside it: what is told,
    // the panel's listening buttons, and whether the vox file stays. A
    // recording that cannot be played never plays the take of a reply heard
    // before, and the panel does not wait for an end that cannot come.
    void panelFollowsTheDisk_data()
    {
        QTest::addColumn<QString>("click");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QList<int>>("others");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const char *name, const char *click, const char *fault,
                            const QString &outcome, const QList<int> &others = {}) {
            QTest::newRow(name) << QString::fromLatin1(click) << QString::fromLatin1(fault)
                                << others << outcome;
        };
        const QString unplayable = "The Vox file number 0057 cannot be played. | ";
        const QString asked = "Want you delete the file Vox number 0057 ? | ";
        const QString all = "CmdLecture CmdDelVox CmdEcouteGlobalScene | kept";
        row("vox file gone", "listen", "gone", unplayable + "none | gone");
        row("temp.wav is not a WAV file", "listen", "not wav", unplayable + all);
        row("no sound output", "listen", "no output", unplayable + all);
        row("the only recording deleted", "delete", "", asked + "none | gone");
        row("one of several deleted, the rest after", "delete", "",
            asked + "CmdEcouteGlobalScene | gone", {60});
        row("No deletes nothing", "keep", "", asked + all);
        row("vox already gone", "delete", "gone", asked + "none | gone");
        row("vox cannot be removed", "delete", "undeletable",
            asked + "The Vox file number 0057 cannot be deleted. | " + all);
    }
    void panelFollowsTheDisk()
    {
        QFETCH(QString, click);
        QFETCH(QString, fault);
        QFETCH(QList<int>, others);
        QFETCH(QString, outcome);
        openOn57(ToneWav(1000));
        TestPlay(*f.state, f.folder(), 1).addPhoto(57, PlayWindowFixture::Hubert);
        for (int n : others)
            f.record(n, ToneWav(500));
        f.openScene(57);
        // The take of the reply heard before is still there.
        TestPlay::write(f.state->AppFolder + "temp.wav", ToneWav(5000));
        const QString vox = f.state->VoxPath(f.baseName(57));
        if (fault == "gone" || fault == "undeletable")
            QVERIFY(QFile::remove(vox));
        // A path that no file removal takes away, even for root: a folder
        // that is not empty.
        if (fault == "undeletable")
            TestPlay::write(vox + "/inside", "x");
        if (fault == "not wav")
            QVERIFY(WriteVox(*f.state, f.baseName(57), "RIFF....WAVE but nothing more"));
        f.sound.setOutputAvailable(fault != "no output");
        f.dialogs.answers = {click == "delete" ? Dialogs::Answer::Yes : Dialogs::Answer::No};
        f.click(click == "listen" ? "CmdLecture" : "CmdDelVox");
        f.sound.setOutputAvailable(true);
        QCOMPARE((f.dialogs.texts() << panel() << (QFileInfo::exists(vox) ? "kept" : "gone"))
                     .join(" | "),
                 outcome);
        QCOMPARE(f.idleDifferences("MMControl1"), QString());
        QVERIFY(!f.device("MMControl1").commandLog().contains("Play") || fault == "no output");
        QVERIFY(QFile::exists(f.state->NotePath(f.baseName(57))) &&
                QFile::exists(f.state->PhotoPath(f.baseName(57))));
        for (int n : others)
            QVERIFY(QFile::exists(f.state->VoxPath(f.baseName(n))));
    }

    void otherDevicesLeaveTheReplyPanelAlone()
    {
        openOn57(ToneWav(1000));
        QVERIFY(UnpackVox(*f.state, f.baseName(57)));
        for (const char *name : {"MMControl2", "MMControl3", "MMControl4"}) {
            MediaDevice &other = f.device(name);
            QVERIFY(OpenWaveDevice(other, *f.state));
            QVERIFY(other.sendCommand("Play"));
        }
        f.advance(1500);
        QCOMPARE(f.idleDifferences("MMControl1"), QString());
        QCOMPARE(f.label("LbEgreneRepetition"), QString());
        QVERIFY(f.enabled("CmdLecture"));
    }

    // A recording that cannot be played (`broken`: "gone" or "garbage") is
    // passed over: the listening goes on with the next recorded reply and
    // never plays a leftover take.
    void recordedRepliesPlayInOrder_data()
    {
        QTest::addColumn<QList<int>>("recorded");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("broken"); // "reply fault"
        QTest::addColumn<QStringList>("heard");
        const QList<int> some{2, 3, 5};
        QTest::newRow("2, 3, 5 from 1")
            << some << 1 << "" << QStringList({"2:2100", "3:3000", "5:5100"});
        QTest::newRow("2, 3, 5 from 4") << some << 4 << "" << QStringList({"5:5100"});
        QTest::newRow("only 6, from 6") << QList<int>({6}) << 6 << "" << QStringList({"6:6100"});
        QTest::newRow("nothing recorded from the current reply")
            << some << 6 << "" << QStringList();
        QTest::newRow("in the middle, gone") << QList<int>({2, 3, 5, 6}) << 1 << "3 gone"
                                             << QStringList({"2:2100", "5:5100", "6:6100"});
        QTest::newRow("last, not an archive") << QList<int>({2, 3, 5, 6}) << 1 << "6 garbage"
                                              << QStringList({"2:2100", "3:3000", "5:5100"});
    }
    void recordedRepliesPlayInOrder()
    {
        QFETCH(QList<int>, recorded);
        QFETCH(int, start);
        QFETCH(QString, broken);
        QFETCH(QStringList, heard);
        recordReplies(recorded, start);
        const int brokenReply = broken.section(' ', 0, 0).toInt();
        if (broken.endsWith("gone"))
            QFile::remove(f.state->VoxPath(f.baseName(brokenReply)));
        else if (broken.endsWith("garbage"))
            f.putBytesAsVox(brokenReply, "not an archive");
        f.click("CmdEcouteGlobalScene");
        QCOMPARE(f.state->PlaybackActive && f.enabled("CmdStopEcouteScene"), !heard.isEmpty());
        QCOMPARE(listenToTheEnd(), heard);
        QCOMPARE(f.idleDifferences("MMControl2"), QString());
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("6/6"));
        QCOMPARE(f.enabled("CmdLecture"), QFile::exists(f.state->VoxPath(f.baseName(6))));
        QVERIFY(f.enabled("CmdEcouteGlobalScene"));
        QCOMPARE(f.device("MMControl1").commandLog(), QStringList());
        QCOMPARE(f.device("MMControl2").commandLog().isEmpty(), heard.isEmpty());
        QCOMPARE(f.dialogs.texts(),
                 heard.isEmpty() ? QStringList({"No file registered from the current reply. "
                                                "Start again at the beginning of the scene."})
                                 : QStringList());
    }

    // A Stop click waiting in the queue when reply 2 ends is handled after
    // the step that opens reply 3, never inside its unpacking: the listening
    // stops on reply 3 and no late end arrives.
    void stopQueuedWhileNextTakeUnpacksLeavesTheReplyReached()
    {
        recordReplies({2, 3, 5}, 1);
        f.click("CmdEcouteGlobalScene");
        f.advance(2000);
        QCOMPARE(f.label("LbEgrene"), QStringLiteral("2/2 secondes"));
        auto *stop = f.control<QAbstractButton>("CmdStopEcouteScene");
        const QPointF centre = QRectF(stop->rect()).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QCoreApplication::postEvent(
                stop, new QMouseEvent(type, centre, stop->mapToGlobal(centre), Qt::LeftButton,
                                      Qt::LeftButton, Qt::NoModifier));
        }
        f.advance(200); // reply 2 ends, reply 3 is unpacked and opened
        QCoreApplication::processEvents();
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("3/6"));
        QCOMPARE(f.idleDifferences("MMControl2"), QString());
        QVERIFY(f.enabled("CmdLecture") && f.enabled("CmdDelVox"));
        f.advance(20000);
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("3/6"));
        QCOMPARE(f.idleDifferences("MMControl2"), QString());
    }
};

QTEST_MAIN(TestReplyPlayback)
#include "tst_replyplayback.moc"
