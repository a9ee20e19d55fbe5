// What the import makes of a play of the user, before and after storing;
// the catalogue of imported plays, their codes, and the command line.

#include "ConvertedStore.h"
#include "TestFiles.h"
#include "ToolRunner.h"
#include "core/app/FileIo.h"
#include "core/app/ImportedPlays.h"
#include "core/playimport/PlayImport.h"

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

// The counts acts/scenes/replies, the characters with their replies, the
// lines of the issues ("!" for an error), whether the play can be imported.
QString Outcome(const PlayImport &import)
{
    QString text =
        QStringLiteral("%1/%2/%3").arg(import.acts()).arg(import.scenes()).arg(import.replies());
    for (const PlayImport::Character &c : import.characters())
        text += QStringLiteral(" %1:%2").arg(c.name).arg(c.replies);
    text += QLatin1Char(';');
    for (const ImportIssue &issue : import.issues())
        text += QStringLiteral(" %1%2")
                    .arg(issue.line)
                    .arg(issue.severity == ImportIssue::Error ? "!" : "");
    return text + (import.canImport() ? "; importable" : "; refused");
}

QByteArray Xml(const char *personae, const char *acts)
{
    return QByteArray("<?xml version=\"1.0\"?>\n<PLAY><TITLE>The Play</TITLE>\n<PERSONAE>") +
           personae + "</PERSONAE>\n" + acts + "</PLAY>\n";
}

} // namespace

class TestPlayImport : public QObject
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
    }
    void catalogueSkipsUntrustedRecords()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, plays);
        QTemporaryDir dir;
        QVERIFY(WriteTestFile(dir.filePath(ImportedPlaysFileName()), file));
        QCOMPARE(Plays(dir.path()), plays);
    }

    // Each row: title|code, with "lear" and "lear2" listed and a folder "notes".
    void playCodesArePlainAndUnique_data()
    {
        QTest::addColumn<QString>("row");
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

    // Each row: the source and its outcome: acts/scenes/replies, the
    // characters with their replies, the lines of the issues ("!" for an
    // error), whether it can be imported.
    void reportCountsPlacesAndListsEveryLine_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("prologue before the first act is a scene of act 1")
            << QByteArray("My Play\nPrologue.\nCHORUS\nTwo households.\nACT I\nSCENE I\n"
                          "ROMEO\nHi.\nACT II\nSCENE I\nROMEO\nBye.\n")
            << "2/3/3 CHORUS:1 ROMEO:2; 1; importable";
        QTest::newRow("epilogue after the last act is its last scene")
            << QByteArray("ACT I\nSCENE I\nPUCK\nHo.\nEPILOGUE\nPUCK\nIf we shadows.\n")
            << "1/2/2 PUCK:2;; importable";
        QTest::newRow("lines before the first act are listed, the first is the title")
            << QByteArray("Title\r\nBy someone\r\n\r\nACT I\r\nSCENE I\r\nA. B.\r\nx\r\n")
            << "1/1/1 A. B:1; 1 2; importable";
        QTest::newRow("replies before any scene heading get a scene of their own")
            << QByteArray("ACT I\nHAMLET\nx\nSCENE II\nHAMLET\ny\n")
            << "1/2/2 HAMLET:2; 2; importable";
        QTest::newRow("text before the first speaker of a scene stays as a direction")
            << QByteArray("ACT I\nSCENE I\nEnter Hamlet.\nHAMLET\nx\n")
            << "1/1/1 HAMLET:1;; importable";
        QTest::newRow("reply without text is kept and listed")
            << QByteArray("ACT I\nSCENE I\nHAMLET\nHORATIO\nx\n")
            << "1/1/2 HAMLET:1 HORATIO:1; 3; importable";
        QTest::newRow("unsafe names are mended, never merged")
            << QByteArray("ACT I\nSCENE I\nA/B\nx\nA-B\ny\nACTOR\nz\nQ\x01R\nw\n" +
                          QByteArray(70, 'N') + "\nv\n")
            << "1/1/5 A-B 2:1 A-B:1 THE ACTOR:1 QR:1 " + QString(60, QLatin1Char('N')) +
                   ":1; 3 7 9 11; importable";
        QTest::newRow("empty file") << QByteArray(" \r\n\r\n") << "0/0/0; 0!; refused";
        QTest::newRow("no act heading")
            << QByteArray("Hello\nHAMLET\nx\n") << "0/0/0; 0! 1 2 3; refused";
        QTest::newRow("binary file") << QByteArray("ACT I\nSCENE I\n\x7f"
                                                   "ELF\0\0\x01\x02",
                                                   22)
                                     << "0/0/0; 3!; refused";
        QTest::newRow("control characters without a NUL") << QByteArray("\n\x01\x02\x03\x04\x05\x06"
                                                                        "ACT I\nSCENE I\nA\x07"
                                                                        "B\nx\n")
                                                          << "0/0/0; 1!; refused";
        QTest::newRow("one control character in a long text is no binary")
            << QByteArray("ACT I\nSCENE I\nJO\x1b"
                          "HN\n") +
                   QByteArray(120, 'w') + '\n'
            << "1/1/1 JOHN:1; 3; importable";
        QTest::newRow("xml speaker not in the cast list, prologue and epilogue")
            << Xml("<PERSONA>HAMLET, prince.</PERSONA>",
                   "<PROLOGUE><SPEECH><SPEAKER>CHORUS</SPEAKER><LINE>a</LINE></SPEECH>"
                   "</PROLOGUE>\n<ACT><TITLE>ACT I</TITLE><SCENE><TITLE>SCENE I</TITLE>\n"
                   "<SPEECH><SPEAKER>HAMLET</SPEAKER><LINE>b</LINE></SPEECH>\n"
                   "<SPEECH><SPEAKER>HAMLTE</SPEAKER><LINE>c</LINE></SPEECH>\n"
                   "</SCENE></ACT>\n<EPILOGUE><SPEECH><SPEAKER>HAMLET</SPEAKER>"
                   "<LINE>d</LINE></SPEECH></EPILOGUE>\n")
            << "1/3/4 HAMLET:2 CHORUS:1 HAMLTE:1; 4 7 7; importable";
        QTest::newRow("xml scene of stage directions only")
            << Xml("<PERSONA>HAMLET, prince.</PERSONA>",
                   "<ACT><TITLE>ACT I</TITLE><SCENE><TITLE>SCENE I</TITLE>\n"
                   "<SPEECH><SPEAKER>HAMLET</SPEAKER><LINE>a</LINE></SPEECH></SCENE>\n"
                   "<SCENE><TITLE>SCENE II</TITLE><STAGEDIR>Thunder.</STAGEDIR>\n"
                   "<STAGEDIR>Exeunt.</STAGEDIR></SCENE>\n<SCENE><TITLE>SCENE III</TITLE>\n"
                   "<SPEECH><SPEAKER>HAMLET</SPEAKER><LINE>b</LINE></SPEECH></SCENE></ACT>\n")
            << "1/3/2 HAMLET:2;; importable";
        QTest::newRow("damaged xml names its line")
            << QByteArray("<PLAY>\n<TITLE>T</TITLE>\n<ACT>\n</PLAY>\n") << "0/0/0; 4!; refused";
    }
    void reportCountsPlacesAndListsEveryLine()
    {
        QFETCH(QByteArray, source);
        QFETCH(QString, outcome);
        const PlayImport import = PlayImport::fromBytes(source, QStringLiteral("dir/file.txt"));
        QCOMPARE(Outcome(import), outcome);
        const QString report = import.reportText();
        for (const ImportIssue &issue : import.issues())
            QVERIFY2(report.contains(issue.text), qPrintable(report));
        QCOMPARE(bool(import.build(nullptr)), import.canImport());
    }

    void twoSpellingsMergeIntoOneCharacter()
    {
        QTemporaryDir dir;
        PlayImport import =
            PlayImport::fromFile(QStringLiteral(TIRADEX_TEST_DATA_DIR "/playimport/twofaults.txt"));
        // The title, a line before the act, JOST spelled like JOOST, the mended name.
        QCOMPARE(import.title() + ": " + Outcome(import),
                 "The Tailor of Ghent: 1/2/6 MARTEN:2 JOOST:2 JOST:1 MARTEN-JOOST:1; 1 2 19 27; "
                 "importable");
        QVERIFY(import.renameCharacter(2, QStringLiteral("joost"), nullptr));
        QVERIFY(import.renameCharacter(2, QStringLiteral("MARTEN AND JOOST"), nullptr));
        QVERIFY(import.setTitle(QStringLiteral("  The \"Tailor\"  "), nullptr));
        // The mended name was renamed: its note is gone.
        QCOMPARE(import.title() + ": " + Outcome(import),
                 "The 'Tailor': 1/2/6 MARTEN:2 JOOST:3 MARTEN AND JOOST:1; 1 2; importable");

        const std::optional<GeneratedPlay> play = import.build(nullptr);
        QVERIFY(play);
        QString error;
        const std::optional<PlayCatalogueEntry> entry =
            StoreImportedPlay(dir.path(), import.title(), play->text, play->charactersFile, &error);
        QVERIFY2(entry, qPrintable(error));
        QCOMPARE(entry->playCode, QStringLiteral("thetailor"));
        const ConvertedStore converted =
            ConvertAndRead(StoredPlayState(dir.path(), entry->playCode));
        QVERIFY2(converted.result.ok(), qPrintable(converted.result.error));
        QCOMPARE(converted.scenesPerAct, QList<int>{2});
        QStringList files;
        for (const StoredReply &reply : converted.replies)
            files << reply.file;
        QCOMPARE(files,
                 (QStringList{"_0001_MARTEN.txt", "_0002_JOOST.txt", "_0003_MARTEN.txt",
                              "_0004_JOOST.txt", "_0005_JOOST.txt", "_0006_MARTEN AND JOOST.txt"}));
    }

    void unusableNamesAndTitlesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << " ";
        QTest::newRow("slash") << "A/B";
        QTest::newRow("backslash") << "A\\B";
        QTest::newRow("control") << "A\x01"
                                    "B";
        QTest::newRow("quote") << "A\"B";
        QTest::newRow("61 characters") << QString(61, QLatin1Char('X'));
        QTest::newRow("act heading") << "Actor";
        QTest::newRow("scene heading") << "SCENE SHIFTER";
    }
    void unusableNamesAndTitlesAreRefused()
    {
        QFETCH(QString, name);
        PlayImport import =
            PlayImport::fromBytes("ACT I\nSCENE I\nHAMLET\nx\n", QStringLiteral("f.txt"));
        QString error;
        QVERIFY(!import.renameCharacter(0, name, &error) && !error.isEmpty());
        QCOMPARE(Outcome(import), QStringLiteral("1/1/1 HAMLET:1;; importable"));
        QVERIFY(import.renameCharacter(0, QString(60, QLatin1Char('X')), nullptr));
        QVERIFY(!import.renameCharacter(1, QStringLiteral("B"), &error));
        QVERIFY(!import.setTitle(QStringLiteral(" \t "), &error) &&
                !import.setTitle(QString(121, QLatin1Char('t')), &error));
        QCOMPARE(import.title(), QStringLiteral("f"));
    }

    // Too many replies: listed with the line of the first one past the
    // limit, and nothing of a 20 MB text makes the import hang.
    void hugeTextIsReportedQuickly_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("firstError");
        QByteArray play = "ACT I\nSCENE I\n";
        int replies = 0;
        for (; play.size() < 20 * 1024 * 1024; ++replies)
            play += (replies % 2 ? "HAMLET\n" : "OPHELIA\n") + QByteArray(60, 'w') + '\n';
        QTest::newRow("20 MB of replies")
            << play
            << QStringLiteral("line 20001, error: reply 10000 and the %1 after it: a play has at "
                              "most 9999 replies")
                   .arg(replies - 10000);
        QByteArray junk(20 * 1024 * 1024, 'x');
        for (qsizetype i = 50; i < junk.size(); i += 51)
            junk[i] = '\n';
        QTest::newRow("20 MB before any act") << junk << "file, error: no act heading";
        QByteArray xml = "<PLAY><TITLE>T</TITLE><ACT><TITLE>ACT I</TITLE><SCENE><TITLE>S</TITLE>\n";
        for (int i = 0; i < 10001; ++i)
            xml += "<SPEECH><SPEAKER>A</SPEAKER><LINE>x</LINE></SPEECH>\n";
        QTest::newRow("xml of 10001 speeches") << xml + "</SCENE></ACT></PLAY>\n"
                                               << "line 10001, error: speech 10000 and after";
    }
    void hugeTextIsReportedQuickly()
    {
        QFETCH(QByteArray, source);
        QFETCH(QString, firstError);
        const PlayImport import = PlayImport::fromBytes(source, QStringLiteral("big.txt"));
        const QString report = import.reportText();
        QVERIFY2(!import.canImport() && report.contains(firstError), qPrintable(report.right(400)));
        QVERIFY(import.issues().size() <= 1002 &&
                (import.isXml() || import.replies() <= Module1::MaxReplies));
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--store-under-size-limit")
        return StoreUnderSizeLimit(QString::fromLocal8Bit(argv[2]));
    QCoreApplication app(argc, argv);
    TestPlayImport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_playimport.moc"
