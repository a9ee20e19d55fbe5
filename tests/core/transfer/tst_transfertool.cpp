#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private Q_SLOTS:
    void commandsPrintTheMessagesAndTellWhetherAFileMoved_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QStringList>("medium"); // files in the transfer folder afterwards
        const QStringList play{"--play", "app/kingjohn"};
        QTest::newRow("export without a folder")
            << (QStringList{"export"} + play + QStringList{"--character", "HUBERT", "--vox"}) << 2
            << QStringList() << QStringList();
        QTest::newRow("unknown option")
            << (QStringList{"import", "--from", "stick", "--force"} + play) << 2 << QStringList()
            << QStringList{"_0002_ARTHUR.not"};
        QTest::newRow("export of one character's notes")
            << (QStringList{"export"} + play +
                QStringList{"--to", "stick", "--character", "HUBERT", "--notes", "--photos"})
            << 0 << QStringList{"No file to transfer. ", "Transfer ended !"}
            << QStringList{"_0001_HUBERT.not"};
        QTest::newRow("export without category")
            << (QStringList{"export"} + play +
                QStringList{"--to", "stick", "--character", "HUBERT"})
            << 1 << QStringList{"You must notch at least one category of files for the transfer. "}
            << QStringList();
        QTest::newRow("import of files the play has")
            << (QStringList{"import"} + play +
                QStringList{"--from", "stick", "--character", "ARTHUR", "--notes"})
            << 1 << QStringList{"No file to be imported. "} << QStringList{"_0002_ARTHUR.not"};
        QTest::newRow("import with replace")
            << (QStringList{"import"} + play +
                QStringList{"--from", "stick", "--character", "ARTHUR", "--notes", "--replace"})
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

        QProcess tool;
        tool.setWorkingDirectory(m_dir.path());
        tool.start(QStringLiteral(TIRADEX_BUILD_DIR "/bin/tiradex-tool"), args);
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), exitCode);
        QCOMPARE(QString::fromUtf8(tool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 out);
        QCOMPARE(QDir(path("stick")).entryList(QDir::Files), medium);
        QFile note(path("app/kingjohn/notes/_0002_ARTHUR.not"));
        QVERIFY(note.open(QIODevice::ReadOnly));
        QCOMPARE(note.readAll(),
                 QByteArray(args.contains("--replace") ? "new note two" : "note two"));
    }
};

QTEST_GUILESS_MAIN(TestTransferTool)
#include "tst_transfertool.moc"
