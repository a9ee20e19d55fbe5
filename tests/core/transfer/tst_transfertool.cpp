#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"
#include "ToolRunner.h"

using namespace tiradex;

// "tiradex-tool export" and "tiradex-tool import": checks outside the test
// suite rely on their arguments, output lines and exit status.
class TestTransferTool : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    void write(const QString &relative, const QByteArray &bytes) const
    {
        QVERIFY(WriteTestFile(path(relative), bytes));
    }

private Q_SLOTS:
    void commandsPrintTheMessagesAndTellWhetherAFileMoved_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QStringList>("medium"); // files in the transfer folder afterwards
        const QStringList play{"--play", "D/app/kingjohn"};
        QTest::newRow("export without a folder")
            << (QStringList{"export"} + play + QStringList{"--character", "HUBERT", "--vox"}) << 2
            << QStringList() << QStringList();
        QTest::newRow("unknown option")
            << (QStringList{"import", "--from", "D/stick", "--force"} + play) << 2 << QStringList()
            << QStringList{"_0002_ARTHUR.not"};
        QTest::newRow("export of one character's notes")
            << (QStringList{"export"} + play +
                QStringList{"--to", "D/stick", "--character", "HUBERT", "--notes", "--photos"})
            << 0 << QStringList{"No file to transfer. ", "Transfer ended !"}
            << QStringList{"_0001_HUBERT.not"};
        QTest::newRow("export without category")
            << (QStringList{"export"} + play +
                QStringList{"--to", "D/stick", "--character", "HUBERT"})
            << 1 << QStringList{"You must notch at least one category of files for the transfer. "}
            << QStringList();
        QTest::newRow("import of files the play has")
            << (QStringList{"import"} + play +
                QStringList{"--from", "D/stick", "--character", "ARTHUR", "--notes"})
            << 1 << QStringList{"No file to be imported. "} << QStringList{"_0002_ARTHUR.not"};
        QTest::newRow("import with replace")
            << (QStringList{"import"} + play +
                QStringList{"--from", "D/stick", "--character", "ARTHUR", "--notes", "--replace"})
            << 0 << QStringList{"Finished importation !"} << QStringList{"_0002_ARTHUR.not"};
    }
    void commandsPrintTheMessagesAndTellWhetherAFileMoved()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QStringList, out);
        QFETCH(QStringList, medium);
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(path("stick"));
        write("app/kingjohn/notes/_0001_HUBERT.not", "note one");
        write("app/kingjohn/notes/_0002_ARTHUR.not", "note two");
        write("app/kingjohn/vox/.keep", "");
        if (args.first() == "import")
            write("stick/_0002_ARTHUR.not", "new note two");

        const ToolRun tool = runTool(args.replaceInStrings("D/", m_dir.path() + '/'));
        QCOMPARE(tool.exitCode, exitCode);
        QCOMPARE(QString::fromUtf8(tool.out).split('\n', Qt::SkipEmptyParts), out);
        QCOMPARE(QDir(path("stick")).entryList(QDir::Files), medium);
        QCOMPARE(ReadTestFile(path("app/kingjohn/notes/_0002_ARTHUR.not")),
                 QByteArray(args.contains("--replace") ? "new note two" : "note two"));
    }
};

QTEST_GUILESS_MAIN(TestTransferTool)
#include "tst_transfertool.moc"
