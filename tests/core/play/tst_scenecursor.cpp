#include "TestPlay.h"
#include "core/play/SceneCursor.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

class TestSceneCursor : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;

    TestPlay play()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        return TestPlay(m_state, m_dir.path());
    }

private Q_SLOTS:
    void entriesFollowReplyNumbersNotSpeakers()
    {
        TestPlay p = play();
        p.writeStore({{1,
                       2,
                       QStringLiteral("SCENE II."),
                       {{12, QStringLiteral("ZED"), {QStringLiteral("z")}},
                        {13, QStringLiteral("FIRST LORD"), {QStringLiteral("a")}},
                        {9, QStringLiteral("ANNA"), {QStringLiteral("b")}}}}});
        SceneCursor cursor;
        cursor.open(m_state, 1, 2);
        QVERIFY(cursor.isOpen());
        QCOMPARE(cursor.count(), 3);
        QCOMPARE(cursor.replyNumbers(), (QStringList{"0009", "0012", "0013"}));
        QCOMPARE(cursor.character(2), QStringLiteral("FIRST LORD"));
        QCOMPARE(cursor.baseName(2), QStringLiteral("_0013_FIRST LORD"));
        QCOMPARE(cursor.positionText(), QStringLiteral("1/3"));
        QVERIFY(cursor.setIndex(2));
        QCOMPARE(cursor.positionText(), QStringLiteral("3/3"));
        QVERIFY(cursor.isLast());
    }

    void indexOutsideTheSceneChangesNothing_data()
    {
        QTest::addColumn<int>("k");
        QTest::newRow("before the first") << -1;
        QTest::newRow("past the last") << 4;
    }
    void indexOutsideTheSceneChangesNothing()
    {
        QFETCH(int, k);
        TestPlay p = play();
        p.writeStore({TestPlay::numberedScene(1, 1, 1, 4, {QStringLiteral("A")})});
        SceneCursor cursor;
        cursor.open(m_state, 1, 1);
        QVERIFY(cursor.setIndex(1));
        QVERIFY(!cursor.setIndex(k));
        QCOMPARE(cursor.index(), 1);
        QVERIFY(cursor.fileName(k).isEmpty());
        QVERIFY(cursor.character(k).isEmpty());
    }

    void recordingsAreFoundFromTheGivenReplyOn()
    {
        TestPlay p = play();
        const QStringList speakers{QStringLiteral("P"), QStringLiteral("A")};
        p.writeStore({TestPlay::numberedScene(1, 1, 1, 6, speakers)});
        p.addRecording(2, QStringLiteral("A"));
        p.addRecording(5, QStringLiteral("P"));
        p.addNote(3, QStringLiteral("P"));
        p.addPhoto(4, QStringLiteral("A"));
        SceneCursor cursor;
        cursor.open(m_state, 1, 1);
        QCOMPARE(cursor.firstRecordedFrom(m_state, 0), 1);
        QCOMPARE(cursor.firstRecordedFrom(m_state, 2), 4);
        QCOMPARE(cursor.firstRecordedFrom(m_state, 5), -1);
        QVERIFY(cursor.hasRecording(m_state, 4));
        QVERIFY(!cursor.hasRecording(m_state, 3));

        const ReplyFiles third = FindReplyFiles(m_state, cursor.baseName(2));
        QVERIFY(!third.recording && third.note && !third.photo);
        const ReplyFiles fourth = FindReplyFiles(m_state, cursor.baseName(3));
        QVERIFY(!fourth.recording && !fourth.note && fourth.photo);
        // A recording filed under another speaker's name belongs to no reply here.
        p.addRecording(6, QStringLiteral("P"));
        QCOMPARE(cursor.firstRecordedFrom(m_state, 5), -1);
    }
};

QTEST_GUILESS_MAIN(TestSceneCursor)
#include "tst_scenecursor.moc"
