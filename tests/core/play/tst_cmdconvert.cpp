// The "tiradex-tool convert" command, run as a separate process.

#include "StoreTree.h"
#include "core/app/Module1.h"
#include "core/cipher/Cipher.h"
#include "core/play/CharactersFile.h"

#include <QTemporaryDir>
#include <QTest>

#include "ToolRunner.h"

using namespace tiradex;

class TestCmdConvert : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // In a folder ("%d") with the small play's text and its enciphered
    // characters file: the command's exit code, a part of its one-line
    // message (on the standard error when it fails), and HORATIO's reply
    // ("" when no store may be built).
    void commandConvertsOrNamesTheCause_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("horatio");
        const QStringList args = {"convert",          "--text", "%d/smallplay.txt", "--characters",
                                  "%d/smallplay.dat", "--out",  "%d/smallplay"};
        QTest::newRow("converted") << args << false << 0 << "2 acts, 3 scenes, 7 replies"
                                   << QByteArray("\"Long live the king!\r\n\"\r\n"
                                                 "\"Act well your part.\r\n\"\r\n"
                                                 "\" ACT as if.\r\n\"\r\n");
        QTest::newRow("lines run together")
            << args + QStringList{"--no-line-breaks"} << false << 0 << "Converted"
            << QByteArray("\"Long live the king!\"\r\n\"Act well your part.\"\r\n"
                          "\" ACT as if.\"\r\n");
        QTest::newRow("play folder exists")
            << args << true << 0 << "already converted" << QByteArray("\"Mine.\"\r\n");
        QTest::newRow("missing text") << QStringList(args).replaceInStrings(".txt", "x.txt")
                                      << false << 1 << "smallplayx.txt" << QByteArray("<missing>");
        QTest::newRow("missing characters file")
            << QStringList(args).replaceInStrings(".dat", "x.dat") << false << 1 << "smallplayx.dat"
            << QByteArray("<missing>");
        QTest::newRow("no --out") << args.mid(0, 5) << false << 2 << "--out is missing"
                                  << QByteArray("<missing>");
    }
    void commandConvertsOrNamesTheCause()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, existing);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QFETCH(QByteArray, horatio);
        QTemporaryDir dir;
        args.replaceInStrings(QStringLiteral("%d"), dir.path());
        const QString reply =
            dir.filePath(QStringLiteral("smallplay/ACT 01/SCENE 01/_0002_HORATIO.txt"));
        CharactersList list;
        list.names =
            QStringList{"HAMLET", "HORATIO", "MARCELLUS", "FIRST PLAYER", "GHOST", "Hamlet"};
        list.statuses = QStringList(6, QStringLiteral("someone"));
        QByteArray enciphered = FormatCharactersFile(list);
        Module1 state;
        state.StartUp(dir.path());
        BlockCipher(state.KeyChars).encipher(enciphered);
        QVERIFY(WriteTestFile(dir.filePath(QStringLiteral("smallplay.dat")), enciphered) &&
                QFile::copy(QStringLiteral(TIRADEX_TEST_DATA_DIR "/convert/smallplay.txt"),
                            dir.filePath(QStringLiteral("smallplay.txt"))));
        if (existing)
            QVERIFY(WriteTestFile(reply, horatio));
        const auto before = SnapshotTree(dir.path(), true);

        const ToolRun run = runTool(args);
        QCOMPARE(run.exitCode, exitCode);
        const QByteArray said = exitCode == 0 ? run.out + run.err : run.err;
        QVERIFY2(said.contains(message.toUtf8()) && said.count('\n') == 1 && said.endsWith('\n'),
                 said.constData());
        QCOMPARE(ReadTestFile(reply), horatio);
        // The characters file is deciphered in memory only.
        QCOMPARE(ReadTestFile(dir.filePath(QStringLiteral("smallplay.dat"))), enciphered);
        if (exitCode == 0 && !existing)
            QCOMPARE(FolderEntries(dir.filePath(QStringLiteral("smallplay"))),
                     (QStringList{"ACT 01", "ACT 02", "head.ini", "notes", "photos", "treeview.ini",
                                  "vox"}));
        else
            QCOMPARE(SnapshotTree(dir.path(), true), before);
    }
};

QTEST_GUILESS_MAIN(TestCmdConvert)
#include "tst_cmdconvert.moc"
