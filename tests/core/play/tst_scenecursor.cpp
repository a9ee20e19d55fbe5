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

    TestPlay play(const QList<TestPlay::Scene> &scenes)
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        TestPlay p(m_state, m_dir.path());
        p.writeStore(scenes);
        return p;
    }

private Q_SLOTS:
    void entriesFollowReplyNumbersNotSpeakers()
    {
        play({{1,
               2,
               QStringLiteral("SCENE II."),
               {{12, QStringLiteral("ZED"), {QStringLiteral("z")}},
                {13, QStringLiteral("FIRST LORD"), {QStringLiteral("a")}},
                {9, QStringLiteral("ANNA"), {QStringLiteral("b")}}}}});
        SceneCursor cursor;
        cursor.open(m_state, 1, 2);
        const QString opened = QStringLiteral("%1 %2 %3 %4 %5")
                                   .arg(cursor.isOpen())
                                   .arg(cursor.replyNumbers().join(','), cursor.character(2),
                                        cursor.baseName(2), cursor.positionText());
        QCOMPARE(opened, QStringLiteral("1 0009,0012,0013 FIRST LORD _0013_FIRST LORD 1/3"));
        QVERIFY(cursor.setIndex(2));
        QCOMPARE(cursor.positionText() + (cursor.isLast() ? " last" : ""), "3/3 last");
        // An index outside the scene changes nothing and names nothing.
        for (const int k : {-1, 3}) {
            QVERIFY2(!cursor.setIndex(k) && cursor.fileName(k).isEmpty() &&
                         cursor.character(k).isEmpty(),
                     qPrintable(QString::number(k)));
        }
        QCOMPARE(cursor.index(), 2);
    }

    void recordingsAreFoundFromTheGivenReplyOn()
    {
        TestPlay p = play({TestPlay::numberedScene(1, 1, 1, 6, {"P", "A"})});
        p.addRecording(2, "A");
        p.addRecording(5, "P");
        p.addNote(3, "P");
        p.addPhoto(4, "A");
        // A recording filed under another speaker's name belongs to no reply here.
        p.addRecording(6, "P");
        SceneCursor cursor;
        cursor.open(m_state, 1, 1);
        QCOMPARE(
            QList<int>({cursor.firstRecordedFrom(m_state, 0), cursor.firstRecordedFrom(m_state, 2),
                        cursor.firstRecordedFrom(m_state, 5)}),
            QList<int>({1, 4, -1}));
        QVERIFY(cursor.hasRecording(m_state, 4) && !cursor.hasRecording(m_state, 3));
        QString files;
        for (int k = 0; k < cursor.count(); ++k) {
            const ReplyFiles f = FindReplyFiles(m_state, cursor.baseName(k));
            files += QStringLiteral("%1%2%3 ").arg(f.recording).arg(f.note).arg(f.photo);
        }
        QCOMPARE(files, QStringLiteral("000 100 010 001 100 000 "));
    }
};

QTEST_GUILESS_MAIN(TestSceneCursor)
#include "tst_scenecursor.moc"
