#include "PlayWindowFixture.h"
#include "core/audio/PlaybackOps.h"
#include "platform/audio/WavePlayback.h"

#include <QFile>

using namespace tiradex;

// Reply 57 (HUBERT) is the third of six replies, 55 to 60.
class TestReplyPlayback : public QObject
{
    Q_OBJECT

private:
    PlayWindowFixture f;

    // Plays reply 57 with `take` in a fresh play, or in the play as it
    // stands with `fresh` false.
    void startOnReply57(const QByteArray &take, bool fresh = true)
    {
        if (fresh)
            f.freshPlay(55, 6);
        f.record(57, take);
        f.openScene(57);
        QVERIFY(f.enabled("CmdLecture"));
        f.click("CmdLecture");
    }

private Q_SLOTS:
    void cleanup() { f.play.reset(); }

    void takeShowsProgressAndEndsBackInIdle()
    {
        f.freshPlay(55, 6);
        TestPlay(*f.state, f.folder(), 1).addNote(57, PlayWindowFixture::Hubert);
        startOnReply57(ToneWav(17900), false);
        QVERIFY(f.state->PlaybackActive);
        QVERIFY(f.enabled("CmdStopLecture"));
        QCOMPARE(f.unlockedDuringPlayback(), QStringList());
        QCOMPARE(f.slider()->maximum(), 17900);

        f.advance(12800);
        QCOMPARE(f.slider()->value(), 12800);
        QCOMPARE(f.label("LbEgrene"), QStringLiteral("12/17 secondes"));
        f.advance(5000);
        QCOMPARE(f.label("LbEgrene"), QStringLiteral("17/17 secondes"));
        QVERIFY(f.state->PlaybackActive);
        f.advance(100);
        QCOMPARE(f.idleDifferences("MMControl1"), QString());
        for (const char *name :
             {"CmdLecture", "CmdDelVox", "CmdEcouteGlobalScene", "CmdRecordShow", "CmdNoteExiste"})
            QVERIFY2(f.enabled(name), name);
        QVERIFY(!f.enabled("CmdPhotoExiste"));
        QCOMPARE(f.device("MMControl1").commandLog(), QStringList({"Open", "Play", "Close"}));
        QCOMPARE(f.device("MMControl1").fileName(), f.state->AppFolder + "temp.wav");
        QCOMPARE(f.device("MMControl2").commandLog(), QStringList());
        QVERIFY(f.dialogs.shown.isEmpty());
    }

    void stopInTheMiddleGivesTheSameIdle()
    {
        startOnReply57(ToneWav(17900));
        f.advance(6000);
        f.click("CmdStopLecture");
        QCOMPARE(f.idleDifferences("MMControl1"), QString());
        QVERIFY(f.enabled("CmdLecture"));
        // No late end arrives from the stopped take.
        f.advance(20000);
        QCOMPARE(f.device("MMControl1").commandLog(), QStringList({"Open", "Play", "Close"}));
        QCOMPARE(f.idleDifferences("MMControl1"), QString());
    }

    // A recording that cannot be played never plays the take of a reply
    // heard before, and the panel does not wait for an end that cannot come.
    void unplayableRecordingEndsInIdleWithAMessage_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("voxStays");
        QTest::newRow("vox file gone") << "gone" << false;
        QTest::newRow("temp.wav is not a WAV file") << "not wav" << true;
        QTest::newRow("no sound output") << "no output" << true;
    }
    void unplayableRecordingEndsInIdleWithAMessage()
    {
        QFETCH(QString, fault);
        QFETCH(bool, voxStays);
        f.freshPlay(55, 6);
        f.record(57, ToneWav(1000));
        f.openScene(57);
        // The take of the reply heard before is still there.
        TestPlay::write(f.state->AppFolder + "temp.wav", ToneWav(5000));
        if (fault == "gone")
            QFile::remove(f.state->VoxPath(f.baseName(57)));
        else if (fault == "not wav")
            QVERIFY(WriteVox(*f.state, f.baseName(57), "RIFF....WAVE but nothing more"));
        f.sound.setOutputAvailable(fault != "no output");

        f.click("CmdLecture");
        f.sound.setOutputAvailable(true);
        QCOMPARE(f.dialogs.texts(), QStringList({"The Vox file number 0057 cannot be played."}));
        QCOMPARE(f.idleDifferences("MMControl1"), QString());
        QVERIFY(!f.device("MMControl1").commandLog().contains("Play") || fault == "no output");
        QCOMPARE(f.enabled("CmdLecture"), voxStays);
        QCOMPARE(f.enabled("CmdDelVox"), voxStays);
        QCOMPARE(f.enabled("CmdEcouteGlobalScene"), voxStays);
    }

    void deletingLeavesSceneListeningByTheRemainingRecordings_data()
    {
        QTest::addColumn<QList<int>>("others");
        QTest::addColumn<bool>("sceneListening");
        QTest::newRow("the only recording") << QList<int>() << false;
        QTest::newRow("one of several, the rest after") << QList<int>({60}) << true;
    }
    void deletingLeavesSceneListeningByTheRemainingRecordings()
    {
        QFETCH(QList<int>, others);
        QFETCH(bool, sceneListening);
        f.freshPlay(55, 6);
        TestPlay testPlay(*f.state, f.folder(), 1);
        testPlay.addNote(57, PlayWindowFixture::Hubert);
        testPlay.addPhoto(57, PlayWindowFixture::Hubert);
        for (int n : others)
            f.record(n, ToneWav(500));
        f.record(57, ToneWav(500));
        f.openScene(57);
        f.dialogs.answers = {Dialogs::Answer::Yes};
        f.click("CmdDelVox");
        QCOMPARE(f.dialogs.texts(), QStringList({"Want you delete the file Vox number 0057 ?"}));
        QVERIFY(!QFile::exists(f.state->VoxPath(f.baseName(57))));
        QVERIFY(QFile::exists(f.state->NotePath(f.baseName(57))));
        QVERIFY(QFile::exists(f.state->PhotoPath(f.baseName(57))));
        QVERIFY(!f.enabled("CmdLecture"));
        QVERIFY(!f.enabled("CmdDelVox"));
        QCOMPARE(f.enabled("CmdEcouteGlobalScene"), sceneListening);
        for (int n : others)
            QVERIFY(QFile::exists(f.state->VoxPath(f.baseName(n))));
    }

    void noAtTheQuestionDeletesNothing()
    {
        f.freshPlay(55, 6);
        f.record(57, ToneWav(500));
        f.openScene(57);
        f.dialogs.answers = {Dialogs::Answer::No};
        f.click("CmdDelVox");
        QCOMPARE(f.dialogs.texts(), QStringList({"Want you delete the file Vox number 0057 ?"}));
        QVERIFY(QFile::exists(f.state->VoxPath(f.baseName(57))));
        for (const char *name : {"CmdLecture", "CmdDelVox", "CmdEcouteGlobalScene"})
            QVERIFY2(f.enabled(name), name);
    }

    void deletingFollowsTheDisk_data()
    {
        QTest::addColumn<bool>("alreadyGone");
        QTest::newRow("vox already gone") << true;
        QTest::newRow("vox cannot be removed") << false;
    }
    void deletingFollowsTheDisk()
    {
        QFETCH(bool, alreadyGone);
        f.freshPlay(55, 6);
        f.record(57, ToneWav(500));
        f.openScene(57);
        const QString vox = f.state->VoxPath(f.baseName(57));
        QVERIFY(QFile::remove(vox));
        if (!alreadyGone) {
            // A path that no file removal takes away, even for root: a folder
            // that is not empty.
            QVERIFY(QDir().mkpath(vox));
            TestPlay::write(vox + "/inside", "x");
        }
        f.dialogs.answers = {Dialogs::Answer::Yes};
        f.click("CmdDelVox");
        QStringList expected = {"Want you delete the file Vox number 0057 ?"};
        if (!alreadyGone)
            expected << "The Vox file number 0057 cannot be deleted.";
        QCOMPARE(f.dialogs.texts(), expected);
        QCOMPARE(f.enabled("CmdLecture"), !alreadyGone);
        QCOMPARE(f.enabled("CmdDelVox"), !alreadyGone);
        QCOMPARE(f.enabled("CmdEcouteGlobalScene"), !alreadyGone);
    }

    void otherDevicesLeaveTheReplyPanelAlone()
    {
        f.freshPlay(55, 6);
        f.record(57, ToneWav(1000));
        f.openScene(57);
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
};

QTEST_MAIN(TestReplyPlayback)
#include "tst_replyplayback.moc"
