// The "tiradex-tool convert" command, run as a separate process.

#include "StoreTree.h"
#include "core/app/Module1.h"
#include "core/cipher/Cipher.h"
#include "core/play/CharactersFile.h"

#include <QTemporaryDir>
#include <QTest>

#include "ToolRunner.h"

using namespace tiradex;

namespace {

const QString DataDir = QStringLiteral(TIRADEX_TEST_DATA_DIR "/convert");

// A folder with the small play's text and its enciphered characters file.
struct ToolFixture
{
    QTemporaryDir dir;
    QString text = dir.filePath(QStringLiteral("smallplay.txt"));
    QString characters = dir.filePath(QStringLiteral("smallplay.dat"));
    QString out = dir.filePath(QStringLiteral("smallplay"));

    ToolFixture()
    {
        QFile::copy(DataDir + QStringLiteral("/smallplay.txt"), text);
        CharactersList list;
        list.names =
            QStringList{"HAMLET", "HORATIO", "MARCELLUS", "FIRST PLAYER", "GHOST", "Hamlet"};
        list.statuses = QStringList{"Prince of Denmark", "friend to Hamlet", "an officer",
                                    "a player",          "the ghost",        "twice listed"};
        QByteArray bytes = FormatCharactersFile(list);
        Module1 state;
        state.StartUp(dir.path());
        BlockCipher(state.KeyChars).encipher(bytes);
        WriteFileBytes(characters, bytes);
    }
    QStringList args() const
    {
        return {QStringLiteral("convert"),
                QStringLiteral("--text"),
                text,
                QStringLiteral("--characters"),
                characters,
                QStringLiteral("--out"),
                out};
    }
};

} // namespace

class TestCmdConvert : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void convertBuildsTheStoreFromEncipheredCharacters()
    {
        ToolFixture fixture;
        const QByteArray enciphered = ReadFileBytes(fixture.characters);
        const ToolRun run = runTool(fixture.args());
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(DiffFromGolden(fixture.out, DataDir, QStringLiteral("smallplay")), QString());
        // Deciphered in memory only.
        QCOMPARE(ReadFileBytes(fixture.characters), enciphered);
    }

    void noLineBreaksRunsReplyLinesTogether()
    {
        ToolFixture fixture;
        const ToolRun run = runTool(fixture.args() << QStringLiteral("--no-line-breaks"));
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(ReadFileBytes(fixture.out + QStringLiteral("/ACT 01/SCENE 01/_0002_HORATIO.txt")),
                 QByteArray("\"Long live the king!\"\r\n\"Act well your part.\"\r\n"
                            "\" ACT as if.\"\r\n"));
    }

    void existingPlayFolderIsReportedAndUntouched()
    {
        ToolFixture fixture;
        QVERIFY(QDir().mkpath(fixture.out + QStringLiteral("/vox")));
        QVERIFY(WriteFileBytes(fixture.out + QStringLiteral("/vox/_0001_HAMLET.vox"), "take"));
        const auto before = SnapshotTreeWithTimes(fixture.out);
        const ToolRun run = runTool(fixture.args());
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains("already converted"), run.out.constData());
        QCOMPARE(SnapshotTreeWithTimes(fixture.out), before);
    }

    void failureGivesOneLineNamingTheCause_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("cause");
        QTest::newRow("missing text") << QStringLiteral("text") << 1 << QStringLiteral("nope.txt");
        QTest::newRow("missing characters file")
            << QStringLiteral("characters") << 1 << QStringLiteral("nope.dat");
        QTest::newRow("more than 99 acts")
            << QStringLiteral("acts") << 1 << QStringLiteral("99 acts");
        QTest::newRow("no --out") << QStringLiteral("out") << 2 << QStringLiteral("--out");
    }
    void failureGivesOneLineNamingTheCause()
    {
        QFETCH(QString, fault);
        QFETCH(int, exitCode);
        QFETCH(QString, cause);
        ToolFixture fixture;
        QStringList args = fixture.args();
        if (fault == QLatin1String("text")) {
            args[2] = fixture.dir.filePath(QStringLiteral("nope.txt"));
        } else if (fault == QLatin1String("characters")) {
            args[4] = fixture.dir.filePath(QStringLiteral("nope.dat"));
        } else if (fault == QLatin1String("acts")) {
            QByteArray text;
            for (int act = 1; act <= 100; ++act)
                text += "ACT\r\nSCENE\r\nHAMLET\r\nWords.\r\n";
            QVERIFY(WriteFileBytes(fixture.text, text));
        } else {
            args = args.mid(0, 5);
        }
        const QStringList entriesBefore = FolderEntries(fixture.dir.path());
        const ToolRun run = runTool(args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(cause.toUtf8()), run.err.constData());
        QVERIFY2(run.err.endsWith('\n') && run.err.count('\n') == 1, run.err.constData());
        QCOMPARE(FolderEntries(fixture.dir.path()), entriesBefore);
    }
};

QTEST_GUILESS_MAIN(TestCmdConvert)
#include "tst_cmdconvert.moc"
