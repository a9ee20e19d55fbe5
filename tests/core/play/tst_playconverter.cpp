#include "StoreTree.h"
#include "core/play/PlayConverter.h"
#include "core/play/SceneStore.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString DataDir = QStringLiteral(TIRADEX_TEST_DATA_DIR "/convert");

const QStringList SmallPlayCharacters = {
    QStringLiteral("HAMLET"),       QStringLiteral("HORATIO"), QStringLiteral("MARCELLUS"),
    QStringLiteral("FIRST PLAYER"), QStringLiteral("GHOST"),   QStringLiteral("Hamlet")};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// An application folder holding one play text, "play.txt", whose play
// folder is "play".
struct PlayFixture
{
    QTemporaryDir dir;
    Module1 state;

    explicit PlayFixture(const QByteArray &text, bool keepLineBreaks = true)
    {
        state.StartUp(dir.path());
        state.PlayTextFile = QStringLiteral("play.txt");
        state.PlayFolder = state.AppFolder + QStringLiteral("play");
        state.KeepLineBreaks = keepLineBreaks;
        writeFile(textPath(), text);
    }
    QString textPath() const { return state.AppFolder + state.PlayTextFile; }
    ConvertResult convert(const QStringList &characters, const ConvertProgress &progress = {})
    {
        return ConvertPlay(state, characters, progress);
    }
};

QByteArray crlfLines(const QStringList &lines)
{
    QByteArray text;
    for (const QString &line : lines)
        text += line.toUtf8() + "\r\n";
    return text;
}

// A play of `acts` acts with `scenesPerAct` scenes each (the last act gets
// `lastActScenes`), and `replies` character lines spread over the first
// scene, the last of which has one text line.
QByteArray synthesizedPlay(int acts, int lastActScenes, int replies)
{
    QByteArray text = "A SYNTHESIZED PLAY\r\n";
    for (int a = 1; a <= acts; ++a) {
        text += "ACT " + QByteArray::number(a) + "\r\n";
        const int scenes = a == acts ? lastActScenes : 1;
        for (int s = 1; s <= scenes; ++s) {
            text += "SCENE " + QByteArray::number(s) + "\r\n";
            if (a == 1 && s == 1) {
                for (int r = 1; r <= replies; ++r)
                    text += "KENT\r\n";
            }
            text += "KENT\r\nWords.\r\n";
        }
    }
    return text;
}

} // namespace

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
        QByteArray text = readFile(DataDir + QStringLiteral("/smallplay.txt"));
        QVERIFY(text.contains("\r\n"));
        text.replace("\r\n", lineEnd);
        PlayFixture play(text);
        const ConvertResult result = play.convert(SmallPlayCharacters);
        QCOMPARE(result.error, QString());
        QCOMPARE(result.status, ConvertStatus::Converted);
        QCOMPARE(result.acts, 2);
        QCOMPARE(result.scenes, 3);
        QCOMPARE(result.replies, 7);
        const auto golden = GoldenTree(DataDir, QStringLiteral("smallplay"));
        QVERIFY(!golden.isEmpty());
        const auto built = SnapshotTree(play.state.PlayFolder);
        QCOMPARE(built.keys(), golden.keys());
        for (auto it = golden.cbegin(); it != golden.cend(); ++it)
            QCOMPARE(built.value(it.key()), it.value());
    }

    void lastLineWithoutLineEndIsKept()
    {
        PlayFixture play("ACT I\r\nSCENE I\r\nKENT\r\nLast words.");
        QCOMPARE(play.convert({QStringLiteral("KENT")}).status, ConvertStatus::Converted);
        QCOMPARE(readFile(play.state.ReplyTextPath(1, 1, QStringLiteral("_0001_KENT"))),
                 QByteArray("\"Last words.\r\n\"\r\n"));
    }

    void recordsFollowKeepLineBreaks_data()
    {
        QTest::addColumn<bool>("keepLineBreaks");
        QTest::addColumn<QByteArray>("expectedFile");
        QTest::addColumn<QString>("expectedText");
        QTest::newRow("kept") << true
                              << QByteArray("\"  Two  lines  \r\n\"\r\n\"of \"text\".\r\n\"\r\n")
                              << QStringLiteral("Two  lines  \r\nof \"text\".\r\n");
        QTest::newRow("run together")
            << false << QByteArray("\"  Two  lines  \"\r\n\"of \"text\".\"\r\n")
            << QStringLiteral("Two  lines of \"text\". ");
    }
    void recordsFollowKeepLineBreaks()
    {
        QFETCH(bool, keepLineBreaks);
        QFETCH(QByteArray, expectedFile);
        QFETCH(QString, expectedText);
        PlayFixture play(crlfLines({"ACT I.", "SCENE I. Elsinore.", "HAMLET", "  Two  lines  ",
                                    "of \"text\".", "HORATIO", "Yes."}),
                         keepLineBreaks);
        QCOMPARE(play.convert({QStringLiteral("HAMLET"), QStringLiteral("HORATIO")}).status,
                 ConvertStatus::Converted);
        const QString path = play.state.ReplyTextPath(1, 1, QStringLiteral("_0001_HAMLET"));
        QCOMPARE(readFile(path), expectedFile);
        QCOMPARE(ReadReplyText(path, keepLineBreaks).value_or(QStringLiteral("<unread>")),
                 expectedText);
    }

    void windows1252TextIsStoredAsUtf8()
    {
        // "\xc9LISE" is ÉLISE and "\xe9lise" élise in Windows-1252.
        PlayFixture play("ACT I\r\nSCENE I\r\n  \xe9lise \r\nD\xe9j\xe0 vu.\r\n");
        QCOMPARE(play.convert({QStringLiteral("\u00c9LISE")}).status, ConvertStatus::Converted);
        QCOMPARE(readFile(play.state.ReplyTextPath(1, 1, QStringLiteral("_0001_\u00c9LISE"))),
                 QByteArray("\"D\xc3\xa9j\xc3\xa0 vu.\r\n\"\r\n"));
    }

    void repliesOfAnActBeforeItsFirstSceneAreDropped()
    {
        PlayFixture play(crlfLines({"ACT I", "KENT", "Too early.", "SCENE I", "LEAR", "In time."}));
        const ConvertResult result = play.convert({QStringLiteral("KENT"), QStringLiteral("LEAR")});
        QCOMPARE(result.status, ConvertStatus::Converted);
        QCOMPARE(result.replies, 2);
        QCOMPARE(FolderEntries(play.state.ActFolder(1)), QStringList{QStringLiteral("SCENE 01")});
        QCOMPARE(FolderEntries(play.state.SceneFolder(1, 1)),
                 QStringList{QStringLiteral("_0002_LEAR.txt")});
    }

    // Reply numbers stay unique and every act keeps its own number in
    // "treeview.ini", whatever the text puts between headings.
    void unusualStructureKeepsStoreConsistent_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("replyFiles");
        QTest::addColumn<QByteArray>("treeview");
        QTest::newRow("text between a scene heading and its first reply")
            << QStringList{"ACT I", "SCENE I", "KENT", "A.", "SCENE II", "Stray.", "LEAR", "B."}
            << QStringList{"ACT 01/SCENE 01/_0001_KENT.txt", "ACT 01/SCENE 02/_0002_LEAR.txt"}
            << QByteArray("1,2\r\n");
        QTest::newRow("act without scenes in the middle")
            << QStringList{"ACT I", "SCENE I", "KENT",    "A.",   "ACT II", "KENT",
                           "Lost.", "ACT III", "SCENE I", "LEAR", "B."}
            << QStringList{"ACT 01/SCENE 01/_0001_KENT.txt", "ACT 03/SCENE 01/_0003_LEAR.txt"}
            << QByteArray("1,1\r\n2,0\r\n3,1\r\n");
        QTest::newRow("last act without scenes")
            << QStringList{"ACT I", "SCENE I", "KENT", "A.", "ACT II"}
            << QStringList{"ACT 01/SCENE 01/_0001_KENT.txt"} << QByteArray("1,1\r\n2,0\r\n");
    }
    void unusualStructureKeepsStoreConsistent()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, replyFiles);
        QFETCH(QByteArray, treeview);
        PlayFixture play(crlfLines(lines));
        QCOMPARE(play.convert({QStringLiteral("KENT"), QStringLiteral("LEAR")}).status,
                 ConvertStatus::Converted);
        QStringList built;
        for (const QString &entry : SnapshotTree(play.state.PlayFolder).keys()) {
            if (entry.endsWith(QLatin1String(".txt")))
                built << entry.mid(2);
        }
        QCOMPARE(built, replyFiles);
        QCOMPARE(readFile(play.state.TreeviewIniPath()), treeview);
    }

    void textWithoutActHeadingGivesAnEmptyStore()
    {
        PlayFixture play("Act one\r\nKENT\r\nWords.\r\n");
        const ConvertResult result = play.convert({QStringLiteral("KENT")});
        QCOMPARE(result.status, ConvertStatus::Converted);
        QCOMPARE(result.replies, 0);
        QCOMPARE(readFile(play.state.HeadIniPath()), QByteArray());
        QCOMPARE(readFile(play.state.TreeviewIniPath()), QByteArray("1,0\r\n"));
    }

    void existingPlayFolderIsNeverTouched_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("store with user files") << QStringLiteral("store");
        QTest::newRow("empty folder") << QStringLiteral("empty");
        QTest::newRow("plain file") << QStringLiteral("file");
        QTest::newRow("dangling link") << QStringLiteral("link");
    }
    void existingPlayFolderIsNeverTouched()
    {
        QFETCH(QString, kind);
        PlayFixture play(crlfLines({"ACT I", "SCENE I", "KENT", "New words."}));
        const QString folder = play.state.PlayFolder;
        if (kind == QLatin1String("store")) {
            QVERIFY(QDir().mkpath(play.state.SceneFolder(1, 1)));
            QVERIFY(QDir().mkpath(play.state.VoxFolder()));
            QVERIFY(writeFile(play.state.HeadIniPath(), "1,1,\"SCENE OLD\"\r\n"));
            QVERIFY(writeFile(play.state.ReplyTextPath(1, 1, QStringLiteral("_0001_KENT")),
                              "\"Old words.\r\n\"\r\n"));
            QVERIFY(writeFile(play.state.VoxPath(QStringLiteral("_0001_KENT")), "user take"));
            QVERIFY(writeFile(folder + QStringLiteral("/my notes.txt"), "mine"));
        } else if (kind == QLatin1String("empty")) {
            QVERIFY(QDir().mkdir(folder));
        } else if (kind == QLatin1String("file")) {
            QVERIFY(writeFile(folder, "not a folder"));
        } else {
            QVERIFY(QFile::link(play.state.AppFolder + QStringLiteral("gone"), folder));
        }
        const auto appBefore = FolderEntries(play.state.AppFolder);
        const auto before = SnapshotTreeWithTimes(folder);
        const QByteArray fileBefore = readFile(folder);
        const auto kindOf = [&] {
            const QFileInfo info(folder);
            return QStringList{info.isSymLink() ? "link" : "", info.isDir() ? "dir" : "",
                               info.isFile() ? "file" : ""};
        };
        const QStringList kindBefore = kindOf();
        QTest::qWait(20); // so that a rewrite would show in the times

        const ConvertResult result = play.convert({QStringLiteral("KENT")});
        QCOMPARE(result.status, ConvertStatus::AlreadyConverted);
        QCOMPARE(SnapshotTreeWithTimes(folder), before);
        QCOMPARE(readFile(folder), fileBefore);
        QCOMPARE(kindOf(), kindBefore);
        QCOMPARE(FolderEntries(play.state.AppFolder), appBefore);
    }

    void unreadableTextCreatesNoPlayFolder_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << QStringLiteral("missing");
        QTest::newRow("a folder in its place") << QStringLiteral("folder");
        QTest::newRow("larger than the bound") << QStringLiteral("huge");
    }
    void unreadableTextCreatesNoPlayFolder()
    {
        QFETCH(QString, kind);
        PlayFixture play("ACT I\r\nSCENE I\r\n");
        QFile::remove(play.textPath());
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(play.textPath()));
        } else if (kind == QLatin1String("huge")) {
            QFile file(play.textPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(MaxPlayTextBytes + 1)); // sparse: costs no disk
        }
        const auto appBefore = FolderEntries(play.state.AppFolder);
        const ConvertResult result = play.convert({QStringLiteral("KENT")});
        QCOMPARE(result.status, ConvertStatus::Failed);
        QVERIFY2(result.error.contains(play.textPath()), qPrintable(result.error));
        QCOMPARE(FolderEntries(play.state.AppFolder), appBefore);
    }

    void playBeyondLimitsIsRefusedLeavingNothing_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("cause");
        QTest::newRow("100 acts") << synthesizedPlay(100, 1, 0) << QStringLiteral("99 acts");
        QTest::newRow("100 scenes in an act")
            << synthesizedPlay(3, 100, 0) << QStringLiteral("99 scenes in act 3");
        QTest::newRow("10000 replies")
            << synthesizedPlay(2, 1, 9998) << QStringLiteral("9999 replies");
    }
    void playBeyondLimitsIsRefusedLeavingNothing()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, cause);
        PlayFixture play(text);
        // Placeholders in a file name must reach the message as they are.
        const QString oddName = QStringLiteral("play %2 %3.txt");
        QVERIFY(QFile::rename(play.textPath(), play.state.AppFolder + oddName));
        play.state.PlayTextFile = oddName;
        const auto appBefore = FolderEntries(play.state.AppFolder);
        const ConvertResult result = play.convert({QStringLiteral("KENT")});
        QCOMPARE(result.status, ConvertStatus::Failed);
        QVERIFY2(result.error.contains(cause), qPrintable(result.error));
        QVERIFY2(result.error.contains(play.textPath()), qPrintable(result.error));
        QCOMPARE(FolderEntries(play.state.AppFolder), appBefore);
    }

    void playAtTheLimitsConverts()
    {
        // 99 acts, 99 scenes in the last one, 9999 replies in all.
        PlayFixture play(synthesizedPlay(99, 99, 9999 - 99 - 98));
        const ConvertResult result = play.convert({QStringLiteral("KENT")});
        QCOMPARE(result.error, QString());
        QCOMPARE(result.status, ConvertStatus::Converted);
        QCOMPARE(result.replies, 9999);
        QVERIFY(QFile::exists(play.state.ReplyTextPath(99, 99, QStringLiteral("_9999_KENT"))));
        const auto acts = ReadTreeviewIni(play.state);
        QVERIFY(acts);
        QCOMPARE(acts->size(), 99);
        QCOMPARE(acts->last().act, 99);
        QCOMPARE(acts->last().sceneCount, 99);
    }

    void storeAppearsOnlyWhenComplete()
    {
        // While the text is read, nothing stands at the play folder's name:
        // a conversion cut short there would leave no half store behind.
        QByteArray text = synthesizedPlay(3, 2, 400);
        PlayFixture play(text);
        int calls = 0;
        int last = -1;
        bool monotonic = true;
        bool hidden = true;
        const auto result = play.convert({QStringLiteral("KENT")}, [&](int percent) {
            ++calls;
            monotonic = monotonic && percent >= last && percent <= 100;
            last = percent;
            hidden = hidden && !QFileInfo::exists(play.state.PlayFolder);
        });
        QCOMPARE(result.status, ConvertStatus::Converted);
        QVERIFY(calls > 10);
        QVERIFY(monotonic);
        QCOMPARE(last, 100);
        QVERIFY(hidden);
        QCOMPARE(FolderEntries(play.state.AppFolder),
                 (QStringList{QStringLiteral("play"), QStringLiteral("play.txt")}));
    }

    void killedConversionLeavesNoPlayFolderAndIsRedone()
    {
        PlayFixture play(synthesizedPlay(3, 2, 400));
        // A process that dies halfway through its conversion.
        const pid_t child = ::fork();
        if (child == 0) {
            ConvertPlay(play.state, {QStringLiteral("KENT")}, [](int percent) {
                if (percent >= 50)
                    ::_exit(3);
            });
            ::_exit(0);
        }
        QVERIFY(child > 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 3);
        QVERIFY(!QFileInfo::exists(play.state.PlayFolder));
        const QString abandoned = QStringLiteral(".play.converting-%1-").arg(child);
        QStringList entries = FolderEntries(play.state.AppFolder);
        QCOMPARE(entries.size(), 2);
        QVERIFY2(entries.first().startsWith(abandoned), qPrintable(entries.first()));

        // Folders that are not a dead process's staging of this play stay.
        const QStringList others = {
            QStringLiteral(".play.converting-1-live"), // process 1 always runs
            QStringLiteral(".play.converting-notanumber"),
            QStringLiteral(".other.converting-%1-x").arg(child)};
        for (const QString &name : others)
            QVERIFY(QDir().mkdir(play.state.AppFolder + name));

        // The next opening converts again and clears the abandoned store.
        QCOMPARE(play.convert({QStringLiteral("KENT")}).status, ConvertStatus::Converted);
        entries = FolderEntries(play.state.AppFolder);
        QCOMPARE(entries.size(), 5);
        for (const QString &name : others)
            QVERIFY(entries.contains(name));
        QVERIFY(entries.contains(QStringLiteral("play")));
    }

    void characterNameThatIsNoFileNameIsRefused()
    {
        PlayFixture play(crlfLines({"ACT I", "SCENE I", "../up", "Out of the folder."}));
        const auto appBefore = FolderEntries(play.state.AppFolder);
        const ConvertResult result = play.convert({QStringLiteral("../UP")});
        QCOMPARE(result.status, ConvertStatus::Failed);
        QVERIFY2(result.error.contains(QStringLiteral("\"../UP\"")), qPrintable(result.error));
        QCOMPARE(FolderEntries(play.state.AppFolder), appBefore);
    }

    void missingParentFolderIsReported()
    {
        PlayFixture play(crlfLines({"ACT I", "SCENE I"}));
        play.state.PlayFolder = play.state.AppFolder + QStringLiteral("no/such/play");
        const ConvertResult result = play.convert({});
        QCOMPARE(result.status, ConvertStatus::Failed);
        QVERIFY2(result.error.contains(play.state.AppFolder + QStringLiteral("no/such")),
                 qPrintable(result.error));
        QVERIFY(!QFileInfo::exists(play.state.AppFolder + QStringLiteral("no")));
    }
};

QTEST_GUILESS_MAIN(TestPlayConverter)
#include "tst_playconverter.moc"
