#include "TestPlay.h"
#include "core/play/SceneCursor.h"
#include "core/rehearsal/RehearsalEntry.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

using Verdict = RehearsalEntry::Verdict;
Q_DECLARE_METATYPE(Verdict)

class TestRehearsalEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Act 1, scene 2: replies 1 to 8 spoken in turn by PORTIA and NERISSA,
    // recorded except for the numbers in `unrecorded`. The recordings are
    // checked first (unless voices stand in for them), then the filter.
    void entryIsCheckedInOrder_data()
    {
        QTest::addColumn<QList<int>>("unrecorded");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("scene"); // 0: none open, 5: no such folder
        QTest::addColumn<bool>("voices");
        QTest::addColumn<Verdict>("verdict");
        QTest::addColumn<QString>("message");
        const QString missing = "All the Vox files must be present to use the function "
                                "'Rehearsal'\r\nMissing Vox files (ACT 1 - SCENE 2) :\r\n";
        QTest::newRow("missing recordings listed")
            << QList<int>{3, 7} << "PORTIA" << 2 << false << Verdict::MissingRecordings
            << missing + "0003-0007-";
        QTest::newRow("missing recordings before the missing filter")
            << QList<int>{8} << "" << 2 << false << Verdict::MissingRecordings << missing + "0008-";
        QTest::newRow("voices stand in for missing recordings")
            << QList<int>{3} << "PORTIA" << 2 << true << Verdict::Allowed << "";
        QTest::newRow("no filter")
            << QList<int>{} << "" << 2 << false << Verdict::NoFilter
            << "You have to create a filter before using the function of rehearsal";
        // Every reply is then a partner's.
        QTest::newRow("filter on a character not in the scene")
            << QList<int>{} << "SHYLOCK" << 2 << false << Verdict::Allowed << "";
        QTest::newRow("scene without replies")
            << QList<int>{} << "PORTIA" << 5 << false << Verdict::NoReply << "";
        QTest::newRow("no scene open")
            << QList<int>{} << "PORTIA" << 0 << false << Verdict::NoReply << "";
    }
    void entryIsCheckedInOrder()
    {
        QFETCH(QList<int>, unrecorded);
        QFETCH(QString, filter);
        QFETCH(int, scene);
        QFETCH(bool, voices);
        QFETCH(Verdict, verdict);
        QFETCH(QString, message);
        QTemporaryDir dir;
        Module1 state;
        TestPlay play(state, dir.path());
        const TestPlay::Scene s = TestPlay::numberedScene(1, 2, 1, 8, {"PORTIA", "NERISSA"});
        play.writeStore({s});
        for (const TestPlay::Reply &r : s.replies) {
            if (!unrecorded.contains(r.number))
                play.addRecording(r.number, r.character);
        }
        state.FilterCharacter = filter;
        SceneCursor cursor;
        if (scene)
            cursor.open(state, 1, scene);
        const RehearsalEntry entry = CheckRehearsalEntry(
            state, cursor, "ACT 1", QStringLiteral("SCENE %1").arg(scene), voices);
        QCOMPARE(entry.verdict, verdict);
        QCOMPARE(entry.message, message);
    }
};

QTEST_GUILESS_MAIN(TestRehearsalEntry)
#include "tst_rehearsalentry.moc"
