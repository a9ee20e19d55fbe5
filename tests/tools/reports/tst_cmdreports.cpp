// The report commands of tiradex-tool, run as a separate process on a play
// folder: the same texts as the windows show.

#include "ReportsFixture.h"
#include "VoxFiles.h"

#include <QFileInfo>
#include <QTest>

#include "ToolRunner.h"

using namespace tiradex;

class TestCmdReports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statsBuildsTheCacheAndPrintsTheReport()
    {
        ReportsFixture f;
        f.play.writeStore(ReportsFixture::twoActs());
        f.play.writeCharacters({{"A", "a part"}, {"B", "another"}});
        const QString characters = f.state.AppFolder + f.state.CharactersFileName();
        const QByteArray enciphered = ReadBytes(characters);
        const ToolRun run =
            runTool({"stats", "--play", f.state.PlayFolder, "--characters", characters});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, Golden("two-acts.stats.txt"));
        QCOMPARE(ReadBytes(f.state.PlayFolder + "/stat.txt"), Golden("two-acts.stat.txt"));
        QCOMPARE(ReadBytes(characters), enciphered);
    }

    // Without a vox file the failure goes to the standard error.
    void durationsPrintsTheResultOrFails()
    {
        ReportsFixture f;
        f.play.writeStore(ReportsFixture::twoActs());
        ToolRun run = runTool({"durations", "--play", f.state.PlayFolder});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.trimmed(), QByteArray("No registered Vox file."));

        WriteVox(f.state, "_0002_B", ToneWav(20), QByteArray("1,1,5\r\n"));
        run = runTool({"durations", "--play", f.state.PlayFolder});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("Duration of the replies.\r\n\r\n"
                                   "Act 1 Scene 1 n\xC2\xB0 0002 - B - Duration : 5 s.\r\n"));
        QVERIFY(run.out.contains("Total of the registered replies (1) : 5 seconds.\r\n"));
    }

    void sceneTextPrintsSceneOrAct_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("scene with numbers")
            << QStringList{"--act", "1", "--scene", "2", "--numbers"}
            << QByteArray("ACT 1 - SCENE 2. A place.\r\n\r\nA*0004\r\nWords of 4.\r\n\r\n"
                          "A*0005\r\nWords of 5.\r\n\r\nA*0006\r\nWords of 6.\r\n\r\n");
        QTest::newRow("act") << QStringList{"--act", "2"}
                             << QByteArray("SCENE 1. A place.\r\n\r\nB\r\nWords of 7.\r\n\r\n"
                                           "B\r\nWords of 8.\r\n\r\nB\r\nWords of 9.\r\n\r\n"
                                           "B\r\nWords of 10.\r\n\r\n\r\n");
    }
    void sceneTextPrintsSceneOrAct()
    {
        QFETCH(QStringList, extra);
        ReportsFixture f;
        f.play.writeStore(ReportsFixture::twoActs());
        f.play.writeCharacters({{"A", "a part"}, {"B", "another"}});
        const ToolRun run =
            runTool(QStringList{"scene-text", "--play", f.state.PlayFolder, "--characters",
                                f.state.AppFolder + f.state.CharactersFileName()} +
                    extra);
        QCOMPARE(run.exitCode, 0);
        QTEST(run.out, "expected");
    }
};

QTEST_GUILESS_MAIN(TestCmdReports)
#include "tst_cmdreports.moc"
