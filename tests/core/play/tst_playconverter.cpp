#include "TestFiles.h"
#include "TestPlay.h"
#include "ToolRunner.h"
#include "core/play/PlayConverter.h"
#include "core/play/SceneStore.h"

#include <QDateTime>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace tiradex;

namespace {

// Every entry under `root`: "d PATH" for a folder, "f PATH" for a file,
// PATH relative to root with "/" separators, mapped to the file's bytes and,
// with `withTimes`, its modification time, to tell that nothing was
// rewritten with the same bytes.
QMap<QString, QByteArray> SnapshotTree(const QString &root, bool withTimes = false)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(root).relativeFilePath(it.next());
        const QFileInfo info = it.fileInfo();
        const QByteArray time =
            withTimes ? "@" + QByteArray::number(info.lastModified().toMSecsSinceEpoch()) : "";
        if (info.isDir() && !info.isSymLink())
            entries.insert(QStringLiteral("d ") + relative, time);
        else
            entries.insert(QStringLiteral("f ") + relative, ReadTestFile(it.filePath()) + time);
    }
    return entries;
}

// The golden store `name` of tests/data/convert as SnapshotTree gives it:
// the entries listed in NAME.tree (folders too, since empty ones cannot live
// in the repository), with the bytes of the files under NAME.expected/.
QMap<QString, QByteArray> GoldenTree(const QString &name)
{
    QMap<QString, QByteArray> golden;
    const QString base = QStringLiteral(TIRADEX_TEST_DATA_DIR "/convert/") + name;
    for (const QString &line : QString::fromUtf8(ReadTestFile(base + ".tree")).split('\n')) {
        if (!line.isEmpty())
            golden.insert(line, line.startsWith(QLatin1String("f "))
                                    ? ReadTestFile(base + ".expected/" + line.mid(2))
                                    : QByteArray());
    }
    return golden;
}

// Names of the entries of a folder (hidden ones included), sorted.
QStringList FolderEntries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

const QString DataDir = QStringLiteral(TIRADEX_TEST_DATA_DIR "/convert");
const QStringList Kent = {QStringLiteral("KENT")};

// An application folder holding one play text whose play folder is "play".
// The text's name holds placeholders, which must reach messages as they are.
struct PlayFixture
{
    QTemporaryDir dir;
    Module1 state;

    explicit PlayFixture(const QByteArray &text, bool keepLineBreaks = true)
    {
        state.StartUp(dir.path());
        state.PlayTextFile = QStringLiteral("play %2 %3.txt");
        state.PlayFolder = state.AppFolder + QStringLiteral("play");
        state.KeepLineBreaks = keepLineBreaks;
        WriteTestFile(textPath(), text);
    }
    QString textPath() const { return state.AppFolder + state.PlayTextFile; }
    ConvertResult convert(const QStringList &characters, const ConvertProgress &progress = {})
    {
        return ConvertPlay(state, characters, progress);
    }
};

// "already " when the folder was left as it was, then acts/scenes/replies
// and the error.
QString Outcome(const ConvertResult &result)
{
    return QStringLiteral("%1%2/%3/%4 %5")
        .arg(result.alreadyConverted ? "already " : "")
        .arg(result.acts)
        .arg(result.scenes)
        .arg(result.replies)
        .arg(result.error);
}

// Lines separated by "|", each ended by CR LF.
QByteArray crlfLines(QByteArray lines)
{
    return lines.replace('|', "\r\n") + "\r\n";
}

// A play of `acts` acts of one scene each but the last, which gets
// `lastActScenes`; the first scene opens with `replies` extra character lines.
QByteArray synthesizedPlay(int acts, int lastActScenes, int replies)
{
    QByteArray text = "A SYNTHESIZED PLAY\r\n";
    for (int a = 1; a <= acts; ++a) {
        text += "ACT " + QByteArray::number(a) + "\r\n";
        for (int s = 1; s <= (a == acts ? lastActScenes : 1); ++s) {
            text += "SCENE " + QByteArray::number(s) + "\r\n";
            if (a == 1 && s == 1)
                text += QByteArray("KENT\r\n").repeated(replies);
            text += "KENT\r\nWords.\r\n";
        }
    }
    return text;
}

} // namespace

// The scene store: a play text converted into it, by the program or the
// "tiradex-tool convert" command, and read back.
class TestPlayConverter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void smallPlayMatchesHandWrittenStore_data()
    {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("CR LF") << QByteArray("\r\n");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("lone CR") << QByteArray("\r");
    }
    void smallPlayMatchesHandWrittenStore()
    {
        QFETCH(QByteArray, lineEnd);
        PlayFixture play(
            ReadTestFile(DataDir + QStringLiteral("/smallplay.txt")).replace("\r\n", lineEnd));
        const ConvertResult result =
            play.convert({"HAMLET", "HORATIO", "MARCELLUS", "FIRST PLAYER", "GHOST", "Hamlet"});
        QCOMPARE(Outcome(result), QStringLiteral("2/3/7 "));
        QCOMPARE(SnapshotTree(play.state.PlayFolder), GoldenTree(QStringLiteral("smallplay")));
    }

    // Reply numbers stay unique, every act keeps its own number in
    // "treeview.ini", and line breaks are kept, whatever the text puts
    // between headings. The outcome, the reply files, the first
    // one's bytes and "treeview.ini", line ends shown as "|".
    void textBecomesReplyFiles_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("stored");
        const QString kent = QStringLiteral("1/1/1 ACT 01/SCENE 01/_0001_KENT.txt; ");
        QTest::newRow("line breaks kept")
            << crlfLines("ACT I.|SCENE I.|KENT|  Two  lines  |of \"text\".")
            << kent + "\"  Two  lines  |\"|\"of \"text\".|\"|; 1,1|";
        QTest::newRow("last line without line end")
            << QByteArray("ACT I\r\nSCENE I\r\nKENT\r\nLast words.")
            << kent + "\"Last words.|\"|; 1,1|";
        QTest::newRow("Windows-1252 text stored as UTF-8")
            << QByteArray("ACT I\r\nSCENE I\r\n  \xe9lise \r\nD\xe9j\xe0 vu.\r\n")
            << QStringLiteral(
                   "1/1/1 ACT 01/SCENE 01/_0001_\u00c9LISE.txt; \"D\u00e9j\u00e0 vu.|\"|; 1,1|");
        QTest::newRow("replies before the act's first scene dropped, numbers used")
            << crlfLines("ACT I|KENT|Too early.|SCENE I|LEAR|In time.")
            << "1/1/2 ACT 01/SCENE 01/_0002_LEAR.txt; \"In time.|\"|; 1,1|";
        QTest::newRow("text between a scene heading and its first reply")
            << crlfLines("ACT I|SCENE I|KENT|A.|SCENE II|Stray.|LEAR|B.")
            << "1/2/2 ACT 01/SCENE 01/_0001_KENT.txt ACT 01/SCENE 02/_0002_LEAR.txt; \"A.|\"|; "
               "1,2|";
        QTest::newRow("act without scenes in the middle")
            << crlfLines("ACT I|SCENE I|KENT|A.|ACT II|KENT|Lost.|ACT III|SCENE I|LEAR|B.")
            << "3/2/3 ACT 01/SCENE 01/_0001_KENT.txt ACT 03/SCENE 01/_0003_LEAR.txt; \"A.|\"|; "
               "1,1|2,0|3,1|";
        QTest::newRow("last act without scenes")
            << crlfLines("ACT I|SCENE I|KENT|A.|ACT II")
            << QStringLiteral("2/1/1 ACT 01/SCENE 01/_0001_KENT.txt; \"A.|\"|; 1,1|2,0|");
        QTest::newRow("no act heading gives an empty store")
            << crlfLines("Act one|KENT|Words.") << "0/0/0 ; <missing>; 1,0|";
    }
    void textBecomesReplyFiles()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, stored);
        PlayFixture play(text);
        const ConvertResult result = play.convert({"KENT", "LEAR", "\u00c9LISE"});
        QStringList built;
        for (const QString &entry : SnapshotTree(play.state.PlayFolder).keys()) {
            if (entry.endsWith(QLatin1String(".txt")))
                built << entry.mid(2);
        }
        const QString first = play.state.PlayFolder + "/" + built.value(0);
        QCOMPARE(Outcome(result) + built.join(' ') + "; " +
                     QString::fromUtf8(ReadTestFile(first) + "; " +
                                       ReadTestFile(play.state.TreeviewIniPath()))
                         .replace(QStringLiteral("\r\n"), QStringLiteral("|")),
                 stored);
    }

    void existingPlayFolderIsNeverTouched_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("store with user files") << QStringLiteral("store");
        QTest::newRow("dangling link") << QStringLiteral("link");
    }
    void existingPlayFolderIsNeverTouched()
    {
        QFETCH(QString, kind);
        PlayFixture play(crlfLines("ACT I|SCENE I|KENT|New words."));
        if (kind == QLatin1String("store")) {
            QVERIFY(WriteTestFile(play.state.ReplyTextPath(1, 1, QStringLiteral("_0001_KENT")),
                                  "\"Old words.\r\n\"\r\n"));
            QVERIFY(WriteTestFile(play.state.VoxPath(QStringLiteral("_0001_KENT")), "take"));
        } else {
            QVERIFY(
                QFile::link(play.state.AppFolder + QStringLiteral("gone"), play.state.PlayFolder));
        }
        const auto before = SnapshotTree(play.state.AppFolder, true);
        QTest::qWait(20); // so that a rewrite would show in the times
        QCOMPARE(Outcome(play.convert(Kent)), QStringLiteral("already 0/0/0 "));
        QCOMPARE(SnapshotTree(play.state.AppFolder, true), before);
    }

    // Every failure names its cause and leaves nothing in the application
    // folder: no play folder, no staging folder.
    void failureLeavesNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("characters");
        QTest::addColumn<QString>("cause"); // %1: the play text, %2: the application folder
        QTest::newRow("missing text") << "missing" << QByteArray() << Kent << "%1";
        QTest::newRow("a folder in the text's place") << "folder" << QByteArray() << Kent << "%1";
        QTest::newRow("text larger than the bound") << "huge" << QByteArray() << Kent << "%1";
        QTest::newRow("100 acts") << "" << synthesizedPlay(100, 1, 0) << Kent
                                  << "%1 has more than 99 acts";
        QTest::newRow("100 scenes in an act")
            << "" << synthesizedPlay(3, 100, 0) << Kent << "%1 has more than 99 scenes in act 3";
        QTest::newRow("10000 replies")
            << "" << synthesizedPlay(2, 1, 9998) << Kent << "%1 has more than 9999 replies";
        QTest::newRow("character name that is no file name")
            << "" << crlfLines("ACT I|SCENE I|../up|Out.") << QStringList{"../UP"}
            << "\"../UP\" (line 3 of %1)";
        QTest::newRow("missing parent folder")
            << "parent" << crlfLines("ACT I|SCENE I") << QStringList{}
            << "the folder %2no/such does not exist";
    }
    void failureLeavesNothing()
    {
        QFETCH(QString, fault);
        QFETCH(QByteArray, text);
        QFETCH(QStringList, characters);
        QFETCH(QString, cause);
        PlayFixture play(text);
        if (fault == QLatin1String("missing") || fault == QLatin1String("folder")) {
            QVERIFY(QFile::remove(play.textPath()));
            QVERIFY(fault == QLatin1String("missing") || QDir().mkdir(play.textPath()));
        } else if (fault == QLatin1String("huge")) {
            QFile file(play.textPath());
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(MaxPlayTextBytes + 1));
        } else if (fault == QLatin1String("parent")) {
            play.state.PlayFolder = play.state.AppFolder + QStringLiteral("no/such/play");
        }
        const auto appBefore = FolderEntries(play.state.AppFolder);
        const ConvertResult result = play.convert(characters);
        QVERIFY(!result.ok() && !result.alreadyConverted);
        cause.replace(QStringLiteral("%2"), play.state.AppFolder);
        QVERIFY2(result.error.contains(cause.replace(QStringLiteral("%1"), play.textPath())),
                 qPrintable(result.error));
        QCOMPARE(FolderEntries(play.state.AppFolder), appBefore);
    }

    // 99 acts, 99 scenes in the last one, 9999 replies in all; while the text
    // is read, nothing stands at the play folder's name, so a conversion cut
    // short leaves no half store behind.
    void playAtTheLimitsAppearsOnlyWhenComplete()
    {
        PlayFixture play(synthesizedPlay(99, 99, 9999 - 99 - 98));
        int calls = 0;
        int last = -1;
        bool monotonicAndHidden = true;
        const ConvertResult result = play.convert(Kent, [&](int percent) {
            ++calls;
            monotonicAndHidden = monotonicAndHidden && percent >= last && percent <= 100 &&
                                 !QFileInfo::exists(play.state.PlayFolder);
            last = percent;
        });
        QCOMPARE(Outcome(result), QStringLiteral("99/197/9999 "));
        QVERIFY(calls > 10 && monotonicAndHidden && last == 100);
        QVERIFY(QFile::exists(play.state.ReplyTextPath(99, 99, QStringLiteral("_9999_KENT"))));
        QCOMPARE(FolderEntries(play.state.AppFolder), (QStringList{"play", "play %2 %3.txt"}));
    }

    void killedConversionLeavesNoPlayFolderAndIsRedone()
    {
        PlayFixture play(synthesizedPlay(3, 2, 400));
        // A process that dies halfway through its conversion.
        const pid_t child = ::fork();
        if (child == 0) {
            ConvertPlay(play.state, Kent, [](int percent) {
                if (percent >= 50)
                    ::_exit(3);
            });
            ::_exit(0);
        }
        int status = 0;
        QVERIFY(child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                WEXITSTATUS(status) == 3);
        const QStringList entries = FolderEntries(play.state.AppFolder);
        QVERIFY2(entries.size() == 2 &&
                     entries.first().startsWith(QStringLiteral(".play.converting-%1-").arg(child)),
                 qPrintable(entries.join(' ')));

        // Folders that are not a dead process's staging of this play stay.
        // Process 1 always runs.
        const QStringList others = {QStringLiteral(".other.converting-%1-x").arg(child),
                                    ".play.converting-1-live", ".play.converting-notanumber"};
        for (const QString &name : others)
            QVERIFY(QDir().mkdir(play.state.AppFolder + name));

        // The next opening converts again and clears the abandoned store.
        QVERIFY(play.convert(Kent).ok());
        QCOMPARE(FolderEntries(play.state.AppFolder),
                 others + QStringList({"play", "play %2 %3.txt"}));
    }

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
        const QStringList args = {
            "convert", "--text",      "%d/smallplay.txt", "--characters", "%d/merchantvenice.dat",
            "--out",   "%d/smallplay"};
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
        QTest::newRow("missing characters file")
            << QStringList(args).replaceInStrings(".dat", "x.dat") << false << 1
            << "merchantvenicex.dat" << QByteArray("<missing>");
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
        Module1 state;
        QList<QPair<QString, QString>> cast;
        for (const char *name :
             {"HAMLET", "HORATIO", "MARCELLUS", "FIRST PLAYER", "GHOST", "Hamlet"})
            cast.append({QLatin1String(name), QString()});
        TestPlay(state, dir.path()).writeCharacters(cast);
        const QString characters = state.AppFolder + state.CharactersFileName();
        const QByteArray enciphered = ReadTestFile(characters);
        QVERIFY(QFile::copy(DataDir + "/smallplay.txt", dir.filePath("smallplay.txt")));
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
        QCOMPARE(ReadTestFile(characters), enciphered);
        if (exitCode == 0 && !existing)
            QCOMPARE(FolderEntries(dir.filePath(QStringLiteral("smallplay"))),
                     (QStringList{"ACT 01", "ACT 02", "head.ini", "notes", "photos", "treeview.ini",
                                  "vox"}));
        else
            QCOMPARE(SnapshotTree(dir.path(), true), before);
    }

    void replyTextFollowsReadingRule_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("keepLineBreaks");
        QTest::addColumn<QString>("expected");
        QTest::newRow("breaks kept, only blanks before and after trimmed")
            << QByteArray("\"  Who's there?\r\n\"\r\n\" Stand.  \r\n\"\r\n") << true
            << QStringLiteral("Who's there?\r\nStand.  \r\n");
        QTest::newRow("run together, one blank after each record")
            << QByteArray("\"  one  \"\r\n\"two\"\r\n") << false << QStringLiteral("one two ");
        QTest::newRow("tab is not a blank")
            << QByteArray("\"\tIndented \"\r\n") << false << QStringLiteral("\tIndented ");
        QTest::newRow("Windows-1252 bytes of older files")
            << QByteArray("\"Adieu, m\xe9moire.\"\r\n") << false
            << QStringLiteral("Adieu, m\u00e9moire. ");
        QTest::newRow("LF line ends")
            << QByteArray("\"a\n\"\n\"b\n\"\n") << true << QStringLiteral("a\nb\n");
        QTest::newRow("double quotes inside a kept line")
            << QByteArray("\"He said \"no\" twice.\r\n\"\r\n\"\"Go.\"\r\n\"\r\n") << true
            << QStringLiteral("He said \"no\" twice.\r\n\"Go.\"\r\n");
        QTest::newRow("double quotes and commas inside a run-together line")
            << QByteArray("\"Say \"aye\", my lord.\"\r\n") << false
            << QStringLiteral("Say \"aye\", my lord. ");
        QTest::newRow("other files read field by field")
            << QByteArray("\"one\",\"two\"\r\n  \"three\"\r\n") << false
            << QStringLiteral("one two three ");
        QTest::newRow("empty file") << QByteArray() << true << QString();
    }
    void replyTextFollowsReadingRule()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, keepLineBreaks);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("_0001_KENT.txt"));
        QVERIFY(WriteTestFile(path, file));
        QString error;
        QCOMPARE(ReadReplyText(path, keepLineBreaks, &error).value_or(error), expected);
    }

    void headIniReadsBackQuotedHeadings()
    {
        PlayFixture play({});
        const Module1 &state = play.state;
        QVERIFY(WriteTestFile(state.HeadIniPath(), "1,2,\"SCENE II.  Belmont, a room\"\r\n"
                                                   "2,1,\"SCENE II. \"The Sign\", an inn\"\r\n"));
        QStringList read;
        for (const SceneHeader &scene : ReadHeadIni(state).value_or(QList<SceneHeader>()))
            read << QStringLiteral("%1,%2,%3").arg(scene.act).arg(scene.scene).arg(scene.header);
        QCOMPARE(read, (QStringList{"1,2,SCENE II.  Belmont, a room",
                                    "2,1,SCENE II. \"The Sign\", an inn"}));
    }

    void replyFilesListedInReplyOrder()
    {
        QTemporaryDir dir;
        const QString scene = dir.filePath(QStringLiteral("SCENE 01"));
        QVERIFY(QDir().mkdir(scene));
        for (const char *name : {"_0100_CELIA.txt", "_0002_ROSALIND.txt", "_0010_ADAM.txt",
                                 "_0003_LE BEAU.TXT", "_0001_KENT.vox", "readme"})
            QVERIFY(WriteTestFile(scene + QLatin1Char('/') + QLatin1String(name), "\"x\"\r\n"));
        QVERIFY(QDir().mkdir(scene + QStringLiteral("/_0001_FOLDER.txt")));
        QCOMPARE(
            ListReplyFiles(scene),
            (QStringList{QStringLiteral("_0002_ROSALIND.txt"), QStringLiteral("_0003_LE BEAU.TXT"),
                         QStringLiteral("_0010_ADAM.txt"), QStringLiteral("_0100_CELIA.txt")}));
        QCOMPARE(ListReplyFiles(dir.filePath(QStringLiteral("SCENE 02"))), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestPlayConverter)
#include "tst_playconverter.moc"
