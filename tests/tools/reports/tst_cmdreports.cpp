// The report commands of tiradex-tool, run as a separate process on a play
// folder: the same texts as the windows show.

#include "ReportsFixture.h"
#include "VoxFiles.h"

#include <QTest>

#include "ToolRunner.h"

using namespace tiradex;

class TestCmdReports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each row: the command and its options after --play (and --characters),
    // whether reply 2 is recorded; then the exit code and the start of the
    // standard output and error, joined by "|".
    void commandsPrintTheReports_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("stats") << QStringList{"stats"} << false
                               << "0|" + Golden("two-acts.stats.txt") + "|";
        QTest::newRow("durations without a vox file fail on the standard error")
            << QStringList{"durations"} << false << QByteArray("1||No registered Vox file.\n");
        QTest::newRow("durations")
            << QStringList{"durations"} << true
            << QByteArray("0|Duration of the replies.\r\n\r\nAct 1 Scene 1 n\xC2\xB0 0002 - B - "
                          "Duration : 5 s.\r\n\r\n\r\nTotal of the registered replies (1) : 5 "
                          "seconds.\r\n");
        QTest::newRow("scene with numbers")
            << QStringList{"scene-text", "--act", "1", "--scene", "2", "--numbers"} << false
            << QByteArray("0|ACT 1 - SCENE 2. Somewhere.\r\n\r\nA*0004\r\nText of reply 4.\r\n\r\n"
                          "A*0005\r\nText of reply 5.\r\n\r\nA*0006\r\nText of reply 6.\r\n\r\n|");
        QTest::newRow("act") << QStringList{"scene-text", "--act", "2"} << false
                             << QByteArray(
                                    "0|SCENE 1. Somewhere.\r\n\r\nB\r\nText of reply 7.\r\n\r\n"
                                    "B\r\nText of reply 8.\r\n\r\nB\r\nText of reply 9.\r\n\r\n"
                                    "B\r\nText of reply 10.\r\n\r\n\r\n|");
    }

    void commandsPrintTheReports()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, expected);
        ReportsFixture f;
        f.play.writeStore(ReportsFixture::twoActs());
        f.play.writeCharacters({{"A", "a part"}, {"B", "another"}});
        const QString characters = f.state.AppFolder + f.state.CharactersFileName();
        const QByteArray enciphered = ReadTestFile(characters);
        QFETCH(bool, recorded);
        if (recorded)
            WriteVox(f.state, "_0002_B", ToneWav(20), QByteArray("1,1,5\r\n"));
        const ToolRun run = runTool(
            QStringList{args[0], "--play", f.state.PlayFolder} +
            (args[0] == "durations" ? QStringList() : QStringList{"--characters", characters}) +
            args.mid(1));
        QCOMPARE((QByteArray::number(run.exitCode) + '|' + run.out + '|' + run.err)
                     .left(expected.size()),
                 expected);
        // The stats cache is written, the characters file left alone.
        QCOMPARE(ReadTestFile(f.state.PlayFolder + "/stat.txt"),
                 args[0] == "stats" ? Golden("two-acts.stat.txt") : "<missing>");
        QCOMPARE(ReadTestFile(characters), enciphered);
    }
};

QTEST_GUILESS_MAIN(TestCmdReports)
#include "tst_cmdreports.moc"
