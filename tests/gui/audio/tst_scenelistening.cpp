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
    // The window opens on reply `start`.
    void recordReplies(const QList<int> &numbers, int start)
    {
        f.freshPlay(1, 6);
        for (int n : numbers)
            f.record(n, n == 3 ? OldEightBitWav(11025 * 3) : ToneWav(n * 1000 + 100));
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

    // Stop leaves the reply reached, also when its click waits in the queue
    // as reply 2 ends: it is handled after the step that opens reply 3,
    // never inside its unpacking.
    void stopLeavesTheReplyReached_data()
    {
        QTest::addColumn<bool>("queued");
        QTest::newRow("clicked while reply 3 plays") << false;
        QTest::newRow("queued while reply 3 is unpacked") << true;
    }
    void stopLeavesTheReplyReached()
    {
        QFETCH(bool, queued);
        recordReplies({2, 3, 5}, 1);
        f.click("CmdEcouteGlobalScene");
        f.advance(queued ? 2000 : 2100 + 1000);
        auto *stop = f.control<QAbstractButton>("CmdStopEcouteScene");
        const QPointF centre = QRectF(stop->rect()).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QCoreApplication::postEvent(
                stop, new QMouseEvent(type, centre, stop->mapToGlobal(centre), Qt::LeftButton,
                                      Qt::LeftButton, Qt::NoModifier));
        }
        if (queued)
            f.advance(200); // reply 2 ends, reply 3 is unpacked and opened
        else
            QCOMPARE(f.label("LbEgrene"), QStringLiteral("1/3 secondes"));
        QCoreApplication::processEvents();
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("3/6"));
        QCOMPARE(f.idleDifferences("MMControl2"), QString());
        QVERIFY(f.enabled("CmdLecture") && f.enabled("CmdDelVox"));
        f.advance(20000);
        QCOMPARE(f.label("LbCompteRepliques"), QStringLiteral("3/6"));
        QCOMPARE(f.idleDifferences("MMControl2"), QString());
    }
};

QTEST_MAIN(TestSceneListening)
#include "tst_scenelistening.moc"
