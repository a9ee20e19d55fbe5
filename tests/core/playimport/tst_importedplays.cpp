// The catalogue of imported plays, their codes, and the command line.

#include "TestFiles.h"
#include "ToolRunner.h"
#include "core/app/FileIo.h"
#include "core/app/ImportedPlays.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

using namespace tiradex;

namespace {

// Each play's text file and menu caption.
QStringList Plays(const QString &appFolder)
{
    QStringList plays;
    for (const PlayCatalogueEntry &play : ReadImportedPlays(appFolder))
        plays << play.playTextFile + QLatin1Char('=') + play.menuCaption;
    return plays;
}

// Run in a child process: stores a play while no file may grow past 1 MB,
// so the process dies in the middle of writing the larger catalogue.
int StoreUnderSizeLimit(const QString &appFolder)
{
    const rlimit limit{1024 * 1024, 1024 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    StoreImportedPlay(appFolder, QStringLiteral("Crash"), "ACT I\r\n", "\"A\",\"\"\r\n", nullptr);
    return 0;
}

} // namespace

class TestImportedPlays : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void catalogueSkipsUntrustedRecords_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("plays");
        QTest::newRow("two plays")
            << QByteArray("\"ghent\",\"Ghent\"\r\n\"lear\",\"King Lear\"\r\n")
            << QStringList{"ghent.txt=Ghent ...", "lear.txt=King Lear ..."};
        QTest::newRow("codes that would leave the folder or are not plain")
            << QByteArray("\"../x\",\"X\"\r\n\"Lear\",\"L\"\r\n\"a b\",\"A\"\r\n\"ok\",\"Ok\"\r\n")
            << QStringList{"ok.txt=Ok ..."};
        QTest::newRow("shipped code, repeated code, no title, one field")
            << QByteArray("\"kingjohn\",\"K\"\r\n\"a\",\"A\"\r\n\"a\",\"B\"\r\n\"b\",\"\"\r\n"
                          "\"c\"\r\n")
            << QStringList{"a.txt=A ..."};
        QTest::newRow("a code longer than any made here")
            << "\"" + QByteArray(31, 'x') + "\",\"X\"\r\n\"" + QByteArray(30, 'y') + "\",\"Y\"\r\n"
            << QStringList{QString(30, QLatin1Char('y')) + ".txt=Y ..."};
        QTest::newRow("no file") << QByteArray() << QStringList{};
    }
    void catalogueSkipsUntrustedRecords()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, plays);
        QTemporaryDir dir;
        QVERIFY(file.isEmpty() || WriteTestFile(dir.filePath(ImportedPlaysFileName()), file));
        QCOMPARE(Plays(dir.path()), plays);
    }

    // Each row: title|code, with "lear" and "lear2" listed and a folder "notes".
    void playCodesArePlainAndUnique_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("letters") << "Hamlet|hamlet";
        QTest::newRow("blanks and punctuation") << "Othello, the Moor!|othellothemoor";
        QTest::newRow("accents") << QStringLiteral("Éléonore 2|eleonore2");
        QTest::newRow("nothing left") << "!!! ???|play";
        QTest::newRow("a shipped play's code") << "King John|kingjohn2";
        QTest::newRow("listed already") << "Lear|lear3";
        QTest::newRow("a file of that name") << "Notes|notes2";
        QTest::newRow("long") << QString(40, QLatin1Char('z')) + "|" +
                                     QString(24, QLatin1Char('z'));
    }
    void playCodesArePlainAndUnique()
    {
        QFETCH(QString, row);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("notes")));
        QList<PlayCatalogueEntry> taken(2);
        taken[0].playCode = QStringLiteral("lear");
        taken[1].playCode = QStringLiteral("lear2");
        QCOMPARE(MakePlayCode(row.section(QLatin1Char('|'), 0, 0), dir.path(), taken),
                 row.section(QLatin1Char('|'), 1));
    }

    void storingAddsToTheCatalogue()
    {
        QTemporaryDir dir;
        QString error;
        for (int i = 0; i < 2; ++i)
            QVERIFY2(StoreImportedPlay(dir.path(), QStringLiteral("Lear"), "ACT I\r\n",
                                       "\"A\",\"\"\r\n", &error),
                     qPrintable(error));
        QCOMPARE(Plays(dir.path()), (QStringList{"lear.txt=Lear ...", "lear2.txt=Lear ..."}));
        // The characters file is stored enciphered.
        QVERIFY(ReadTestFile(dir.filePath("lear2.dat")) != "\"A\",\"\"\r\n");
        QCOMPARE(ReadTestFile(dir.filePath("lear2.txt")), QByteArray("ACT I\r\n"));
    }

    void catalogueSurvivesACrashWhileWritten()
    {
        QTemporaryDir dir;
        QByteArray before;
        for (int i = 0; before.size() < 1536 * 1024; ++i)
            before +=
                QStringLiteral("\"play%1\",\"A play of the user, number %1\"\r\n").arg(i).toUtf8();
        QVERIFY(WriteFileAtomically(dir.filePath(ImportedPlaysFileName()), before, nullptr));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--store-under-size-limit"), dir.path()});
        QVERIFY(child.waitForFinished(60000) && child.exitStatus() == QProcess::CrashExit);
        QCOMPARE(ReadTestFile(dir.filePath(ImportedPlaysFileName())), before);
        // The play's own files came first and are whole.
        QVERIFY(QFileInfo::exists(dir.filePath("crash.txt")));
    }

    void commandLineReportsAndStores_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("catalogue");
        const QString play = QStringLiteral(TIRADEX_TEST_DATA_DIR "/playimport/twofaults.txt");
        QTest::newRow("dry run stores nothing")
            << QStringList{play, "--dry-run"} << 0 << "The play can be imported." << QStringList{};
        QTest::newRow("stored under its new title")
            << QStringList{play, "--title", "Ghent"} << 0 << "Stored as ghent"
            << QStringList{"ghent.txt=Ghent ..."};
        QTest::newRow("missing file")
            << QStringList{"/nonexistent/p.txt"} << 1 << "file, error: The file" << QStringList{};
        QTest::newRow("no file") << QStringList{"--dry-run"} << 2 << "" << QStringList{};
    }
    void commandLineReportsAndStores()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QStringList, catalogue);
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        const ToolRun run = runTool(QStringList{"import-play"} + args);
        QCOMPARE(run.exitCode, status);
        QVERIFY2(run.out.contains(output.toUtf8()), run.out.constData());
        QCOMPARE(Plays(home.filePath(QStringLiteral("Tiradex"))), catalogue);
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--store-under-size-limit")
        return StoreUnderSizeLimit(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TestImportedPlays test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_importedplays.moc"
