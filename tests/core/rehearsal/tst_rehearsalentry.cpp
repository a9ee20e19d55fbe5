#include "TestPlay.h"
#include "core/play/SceneCursor.h"
#include "core/rehearsal/RehearsalEntry.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

namespace {
const QString Portia = QStringLiteral("PORTIA");
const QString Nerissa = QStringLiteral("NERISSA");
} // namespace

class TestRehearsalEntry : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;
    SceneCursor m_scene;

    // Act 1, scene 2: replies 1 to 8 spoken in turn by PORTIA and NERISSA,
    // recorded except for the numbers in `unrecorded`.
    void openScene(const QList<int> &unrecorded)
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_state = Module1();
        TestPlay play(m_state, m_dir.path());
        const TestPlay::Scene scene = TestPlay::numberedScene(1, 2, 1, 8, {Portia, Nerissa});
        play.writeStore({scene});
        for (const TestPlay::Reply &r : scene.replies) {
            if (!unrecorded.contains(r.number))
                play.addRecording(r.number, r.character);
        }
        m_scene.open(m_state, 1, 2);
    }

private Q_SLOTS:
    void missingRecordingsAreListedWithActAndSceneLabels()
    {
        openScene({3, 7});
        m_state.FilterCharacter = Portia;
        const RehearsalEntry entry = CheckRehearsalEntry(m_state, m_scene, QStringLiteral("ACT 1"),
                                                         QStringLiteral("SCENE 2"));
        QCOMPARE(entry.verdict, RehearsalEntry::Verdict::MissingRecordings);
        QCOMPARE(entry.message,
                 QStringLiteral("All the Vox files must be present to use the function "
                                "'Rehearsal'\r\nMissing Vox files (ACT 1 - SCENE 2) :\r\n"
                                "0003-0007-"));
    }

    // The recordings are checked first: without a filter and with a missing
    // take, the user hears about the take.
    void missingRecordingsComeBeforeTheMissingFilter()
    {
        openScene({8});
        const RehearsalEntry entry = CheckRehearsalEntry(m_state, m_scene, QStringLiteral("ACT 1"),
                                                         QStringLiteral("SCENE 2"));
        QCOMPARE(entry.verdict, RehearsalEntry::Verdict::MissingRecordings);
        QVERIFY(entry.message.endsWith(QStringLiteral(":\r\n0008-")));
    }

    void noFilterIsRefusedWithItsMessage()
    {
        openScene({});
        const RehearsalEntry entry = CheckRehearsalEntry(m_state, m_scene, QStringLiteral("ACT 1"),
                                                         QStringLiteral("SCENE 2"));
        QCOMPARE(entry.verdict, RehearsalEntry::Verdict::NoFilter);
        QCOMPARE(
            entry.message,
            QStringLiteral("You have to create a filter before using the function of rehearsal"));
    }

    // A filter on a character who does not speak in the scene still lets the
    // rehearsal start: every reply is then a partner's.
    void recordedSceneWithAFilterIsAllowed()
    {
        openScene({});
        m_state.FilterCharacter = QStringLiteral("SHYLOCK");
        const RehearsalEntry entry = CheckRehearsalEntry(m_state, m_scene, QStringLiteral("ACT 1"),
                                                         QStringLiteral("SCENE 2"));
        QCOMPARE(entry.verdict, RehearsalEntry::Verdict::Allowed);
        QVERIFY(entry.message.isEmpty());
    }

    void sceneWithoutRepliesOffersNothing()
    {
        openScene({});
        m_state.FilterCharacter = Portia;
        SceneCursor empty;
        empty.open(m_state, 1, 5); // no such folder
        QCOMPARE(
            CheckRehearsalEntry(m_state, empty, QStringLiteral("ACT 1"), QStringLiteral("SCENE 5"))
                .verdict,
            RehearsalEntry::Verdict::NoReply);
        QCOMPARE(CheckRehearsalEntry(m_state, SceneCursor(), QString(), QString()).verdict,
                 RehearsalEntry::Verdict::NoReply);
    }
};

QTEST_GUILESS_MAIN(TestRehearsalEntry)
#include "tst_rehearsalentry.moc"
