#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"
#include "ToolRunner.h"

using namespace tiradex;

// "tiradex-tool zip", "unzip", "export" and "import": checks outside the
// test suite rely on their arguments, output lines and exit status.
class TestTransferTool : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(WriteTestFile(path("x/temp.wav"), "RIFF take") &&
                WriteTestFile(path("y/_0001_ANTONIO.tsd"), "1,1,4\r\n") &&
                WriteTestFile(path("a/b/c.txt"), "nested") &&
                WriteTestFile(path("kept/temp.wav"), "mine"));
        QCOMPARE(runTool({"zip", path("take.vox"), path("x/temp.wav"), path("y/_0001_ANTONIO.tsd")})
                         .exitCode +
                     runTool({"zip", path("nested.zip"), path("a/b/c.txt")}).exitCode,
                 0);
        // The writer stores bare names; renaming the member (same length)
        // gives it a folder.
        QVERIFY(WriteTestFile(path("nested.zip"),
                              ReadTestFile(path("nested.zip")).replace("c.txt", "b/c.t")));
    }

    // D/ in arguments, texts and files stands for the scratch folder. Before
    // each transfer the play holds notes 1 (HUBERT) and 2 (ARTHUR) and the
    // medium "stick" a newer note 2. `files` holds "path=content" after the
    // run; an empty `out` is not checked, nor `err` of a transfer (it holds
    // the volume's figures).
    void commandsTellTheirOutcome_data()
    {
        QTest::addColumn<QString>("command"); // the arguments, separated by blanks
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out"); // lines separated by "|"
        QTest::addColumn<QString>("err");
        QTest::addColumn<QStringList>("files");
        const QString note2 = "D/app/kingjohn/notes/_0002_ARTHUR.not=";
        QTest::newRow("unzip prints each status")
            << "unzip D/take.vox D/out" << 0
            << "Opening Zip|Zip Opened|Extracting Files|Extracting .../temp.wav|"
               "Extracting .../_0001_ANTONIO.tsd|Extraction Complete|Zip Closed"
            << "" << QStringList{"D/out/temp.wav=RIFF take", "D/out/_0001_ANTONIO.tsd=1,1,4\r\n"};
        QTest::newRow("unzip fails on any error")
            << "unzip D/take.vox D/kept --no-overwrite" << 1 << ""
            << "ZipError 11: The file D/kept/temp.wav already exists"
            << QStringList{"D/kept/temp.wav=mine", "D/kept/_0001_ANTONIO.tsd=1,1,4\r\n"};
        QTest::newRow("unzip flat") << "unzip D/nested.zip D/flat --flat" << 0 << ""
                                    << "" << QStringList{"D/flat/c.t=nested"};
        QTest::newRow("unknown option")
            << "import --from D/stick --force --play D/app/kingjohn" << 2 << ""
            << "" << QStringList{note2 + "note two"};
        QTest::newRow("export of one character's notes")
            << "export --play D/app/kingjohn --to D/stick --character HUBERT --notes --photos" << 0
            << "No file to transfer. |Transfer ended !"
            << "" << QStringList{"D/stick/_0001_HUBERT.not=note one"};
        QTest::newRow("import of files the play has")
            << "import --play D/app/kingjohn --from D/stick --character ARTHUR --notes" << 1
            << "No file to be imported. "
            << "" << QStringList{note2 + "note two"};
        QTest::newRow("import with replace")
            << "import --play D/app/kingjohn --from D/stick --character ARTHUR --notes --replace"
            << 0 << "Finished importation !"
            << "" << QStringList{note2 + "new note two"};
    }
    void commandsTellTheirOutcome()
    {
        QFETCH(QString, command);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QStringList, files);
        QDir(path("app")).removeRecursively();
        QDir(path("stick")).removeRecursively();
        QVERIFY(WriteTestFile(path("app/kingjohn/notes/_0001_HUBERT.not"), "note one") &&
                WriteTestFile(path("app/kingjohn/notes/_0002_ARTHUR.not"), "note two") &&
                WriteTestFile(path("app/kingjohn/vox/.keep"), "") &&
                WriteTestFile(path("stick/_0002_ARTHUR.not"), "new note two"));
        const QString root = m_dir.path() + '/';
        const ToolRun run = runTool(command.replace("D/", root).split(' '));
        const auto lines = [](const QByteArray &text) {
            return QString::fromLocal8Bit(text).split('\n', Qt::SkipEmptyParts).join('|');
        };
        QCOMPARE(run.exitCode, exitCode);
        if (!out.isEmpty())
            QCOMPARE(lines(run.out), out);
        if (exitCode != 2 && command.startsWith("unzip"))
            QCOMPARE(lines(run.err), err.replace("D/", root));
        for (const QString &file : files.replaceInStrings("D/", root)) {
            const qsizetype equals = file.indexOf('=');
            QCOMPARE(ReadTestFile(file.left(equals)), file.mid(equals + 1).toUtf8());
        }
    }
};

QTEST_GUILESS_MAIN(TestTransferTool)
#include "tst_transfertool.moc"
