#include "PlayWindowFixture.h"
#include "gui/audio/SceneListener.h"

#include <QAbstractButton>
#include <QFile>
#include <QMouseEvent>

using namespace tiradex;

// A scene of six replies, 1 to 6: HUBERT speaks 1, 3, 5 and ARTHUR 2, 4, 6.
class TestSceneListening : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;

    // Each reply's take has its own length, so the length identifies it:
    // reply n lasts n * 1000 + 100 ms (reply 3 is an 8-bit 11025 Hz take).
    static qint64 takeLength(int n) { return n == 3 ? 3000 : n * 1000 + 100; }
    void recordReplies(const QList<int> &numbers)
    {
        for (int n : numbers)
            f.record(n, n == 3 ? OldEightBitWav(11025 * 3) : ToneWav(takeLength(n)));
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
            if (!f.unlockedDuringPlayback().isEmpty()) {
                qWarning("unlocked while listening: %s",
                         qPrintable(f.unlockedDuringPlayback().join(' ')));
                return {"unlocked"};
            }
            f.advance(100);
        }
        return heard;
    }

private Q_SLOTS:
    void cleanup() { f.play.reset(); }

    void recordedRepliesPlayInOrder_data()
    {
        QTest::addColumn<QList<int>>("recorded");
        QTest::addColumn<int>("start");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("2, 3, 5 from 1")
            << QList<int>({2, 3, 5}) << 1 << QStringList({"2:2100", "3:3000", "5:5100"});
        QTest::newRow("2, 3, 5 from 4") << QList<int>({2, 3, 5}) << 4 << QStringList({"5:5100"});
        QTest::newRow("only 6, from 6") << QList<int>({6}) << 6 << QStringList({"6:6100"});
    }
    void recordedRepliesPlayInOrder()
    {
        QFETCH(QList<int>, recorded);
        QFETCH(int, start);
        QFETCH(QStringList, heard);
        f.freshPlay(1, 6);
        recordReplies(recorded);
        TestPlay(*f.state, f.folder(), 1).addNote(3, PlayWindowFixture::Hubert);
        f.openScene(start);
        f.click("CmdEcouteGlobalScene");
        QVERIFY(f.state->PlaybackActive);
        QVERIFY(f.enabled("CmdStopEcouteScene"));
        QCOMPARE(listenToTheEnd(), heard);
        QCOMPARE(f.idleDifferences("MMControl2"), QString());
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("6/6"));
        QCOMPARE(f.enabled("CmdLecture"), recorded.contains(6));
        QVERIFY(f.enabled("CmdEcouteGlobalScene"));
        QVERIFY(f.play->sceneListener()->LastReplyStarted() == recorded.contains(6));
        QCOMPARE(f.device("MMControl1").commandLog(), QStringList());
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void nothingRecordedFromCurrentReplyIsToldAndChangesNothing()
    {
        f.freshPlay(1, 6);
        recordReplies({2, 3, 5});
        f.openScene(6);
        f.click("CmdEcouteGlobalScene");
        QCOMPARE(f.dialogs.texts(),
                 QStringList({"No file registered from the current reply. Start again at the "
                              "beginning of the scene."}));
        QCOMPARE(f.idleDifferences("MMControl2"), QString());
        QCOMPARE(f.device("MMControl2").commandLog(), QStringList());
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("6/6"));
        QVERIFY(f.enabled("CmdEcouteGlobalScene"));
    }

    void stopInTheMiddleLeavesTheReplyPlaying()
    {
        f.freshPlay(1, 6);
        recordReplies({2, 3, 5});
        f.openScene(1);
        f.click("CmdEcouteGlobalScene");
        f.advance(2100 + 1000); // into reply 3
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("3/6"));
        QCOMPARE(f.label("LbEgrene"), QStringLiteral("1/3 secondes"));
        f.click("CmdStopEcouteScene");
        QCOMPARE(f.idleDifferences("MMControl2"), QString());
        QVERIFY(f.enabled("CmdLecture"));
        QVERIFY(f.enabled("CmdDelVox"));
        f.advance(20000);
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("3/6"));
        QCOMPARE(f.idleDifferences("MMControl2"), QString());
    }

    void stopClickedWhileNextTakeUnpacksIsNotRunInsideIt()
    {
        // A click waiting in the queue when reply 2 ends must be handled
        // after the step that opens reply 3, never inside its unpacking.
        f.freshPlay(1, 6);
        recordReplies({2, 3, 5});
        f.openScene(1);
        f.click("CmdEcouteGlobalScene");
        f.advance(2000);
        auto *stop = f.play->findChild<QAbstractButton *>(QStringLiteral("CmdStopEcouteScene"));
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
        QVERIFY(!f.device("MMControl2").isOpen());
    }

    // A recording that cannot be played is passed over: the listening goes
    // on with the next recorded reply and never plays a leftover take.
    void unplayableRecordingIsPassedOver_data()
    {
        QTest::addColumn<int>("broken");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("in the middle, gone")
            << 3 << "gone" << QStringList({"2:2100", "5:5100", "6:6100"});
        QTest::newRow("last, not an archive")
            << 6 << "garbage" << QStringList({"2:2100", "3:3000", "5:5100"});
    }
    void unplayableRecordingIsPassedOver()
    {
        QFETCH(int, broken);
        QFETCH(QString, fault);
        QFETCH(QStringList, heard);
        f.freshPlay(1, 6);
        recordReplies({2, 3, 5, 6});
        f.openScene(1);
        if (fault == "gone")
            QFile::remove(f.state->VoxPath(f.baseName(broken)));
        else
            f.putBytesAsVox(broken, "not an archive");
        f.click("CmdEcouteGlobalScene");
        QCOMPARE(listenToTheEnd(), heard);
        QCOMPARE(f.idleDifferences("MMControl2"), QString());
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("6/6"));
        QVERIFY(f.dialogs.shown.isEmpty());
    }
};

QTEST_MAIN(TestSceneListening)
#include "tst_scenelistening.moc"
