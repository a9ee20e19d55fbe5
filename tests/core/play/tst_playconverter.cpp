#include "StoreTree.h"
#include "core/play/PlayConverter.h"
#include "core/play/SceneStore.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

using namespace tiradex;

namespace {

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
        QCOMPARE(DiffFromGolden(play.state.PlayFolder, DataDir, QStringLiteral("smallplay")),
                 QString());
    }

    // Reply numbers stay unique, every act keeps its own number in
    // "treeview.ini", and reply records follow KeepLineBreaks, whatever the
    // text puts between headings. The outcome, the reply files, the first
    // one's bytes and "treeview.ini", line ends shown as "|".
    void textBecomesReplyFiles_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("keepLineBreaks");
        QTest::addColumn<QString>("stored");
        const QByteArray twoLines = crlfLines("ACT I.|SCENE I.|KENT|  Two  lines  |of \"text\".");
        const QString kent = QStringLiteral("1/1/1 ACT 01/SCENE 01/_0001_KENT.txt; ");
        QTest::newRow("line breaks kept")
            << twoLines << true << kent + "\"  Two  lines  |\"|\"of \"text\".|\"|; 1,1|";
        QTest::newRow("lines run together")
            << twoLines << false << kent + "\"  Two  lines  \"|\"of \"text\".\"|; 1,1|";
        QTest::newRow("last line without line end")
            << QByteArray("ACT I\r\nSCENE I\r\nKENT\r\nLast words.") << true
            << kent + "\"Last words.|\"|; 1,1|";
        QTest::newRow("Windows-1252 text stored as UTF-8")
            << QByteArray("ACT I\r\nSCENE I\r\n  \xe9lise \r\nD\xe9j\xe0 vu.\r\n") << true
            << QStringLiteral(
                   "1/1/1 ACT 01/SCENE 01/_0001_\u00c9LISE.txt; \"D\u00e9j\u00e0 vu.|\"|; 1,1|");
        QTest::newRow("replies before the act's first scene dropped, numbers used")
            << crlfLines("ACT I|KENT|Too early.|SCENE I|LEAR|In time.") << true
            << "1/1/2 ACT 01/SCENE 01/_0002_LEAR.txt; \"In time.|\"|; 1,1|";
        QTest::newRow("text between a scene heading and its first reply")
            << crlfLines("ACT I|SCENE I|KENT|A.|SCENE II|Stray.|LEAR|B.") << true
            << "1/2/2 ACT 01/SCENE 01/_0001_KENT.txt ACT 01/SCENE 02/_0002_LEAR.txt; \"A.|\"|; "
               "1,2|";
        QTest::newRow("act without scenes in the middle")
            << crlfLines("ACT I|SCENE I|KENT|A.|ACT II|KENT|Lost.|ACT III|SCENE I|LEAR|B.") << true
            << "3/2/3 ACT 01/SCENE 01/_0001_KENT.txt ACT 03/SCENE 01/_0003_LEAR.txt; \"A.|\"|; "
               "1,1|2,0|3,1|";
        QTest::newRow("last act without scenes")
            << crlfLines("ACT I|SCENE I|KENT|A.|ACT II") << true
            << QStringLiteral("2/1/1 ACT 01/SCENE 01/_0001_KENT.txt; \"A.|\"|; 1,1|2,0|");
        QTest::newRow("no act heading gives an empty store")
            << crlfLines("Act one|KENT|Words.") << true << "0/0/0 ; <missing>; 1,0|";
    }
    void textBecomesReplyFiles()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, keepLineBreaks);
        QFETCH(QString, stored);
        PlayFixture play(text, keepLineBreaks);
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
        QTest::newRow("empty folder") << QStringLiteral("empty");
        QTest::newRow("plain file") << QStringLiteral("file");
        QTest::newRow("dangling link") << QStringLiteral("link");
    }
    void existingPlayFolderIsNeverTouched()
    {
        QFETCH(QString, kind);
        PlayFixture play(crlfLines("ACT I|SCENE I|KENT|New words."));
        const QString folder = play.state.PlayFolder;
        if (kind == QLatin1String("store")) {
            QVERIFY(WriteTestFile(play.state.ReplyTextPath(1, 1, QStringLiteral("_0001_KENT")),
                                  "\"Old words.\r\n\"\r\n"));
            QVERIFY(WriteTestFile(play.state.VoxPath(QStringLiteral("_0001_KENT")), "take"));
        } else if (kind == QLatin1String("empty")) {
            QVERIFY(QDir().mkdir(folder));
        } else if (kind == QLatin1String("file")) {
            QVERIFY(WriteTestFile(folder, "not a folder"));
        } else {
            QVERIFY(QFile::link(play.state.AppFolder + QStringLiteral("gone"), folder));
        }
        const auto appBefore = FolderEntries(play.state.AppFolder);
        const auto before = SnapshotTree(folder, true);
        const QByteArray fileBefore = ReadTestFile(folder);
        QTest::qWait(20); // so that a rewrite would show in the times

        QCOMPARE(Outcome(play.convert(Kent)), QStringLiteral("already 0/0/0 "));
        QCOMPARE(SnapshotTree(folder, true), before);
        QCOMPARE(ReadTestFile(folder), fileBefore);
        QCOMPARE(FolderEntries(play.state.AppFolder), appBefore);
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
        const auto acts = ReadTreeviewIni(play.state);
        QVERIFY(acts && acts->size() == 99);
        QCOMPARE(acts->last().act * 100 + acts->last().sceneCount, 9999);
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
        QVERIFY(child > 0 && ::waitpid(child, &status, 0) == child);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 3);
        const QStringList entries = FolderEntries(play.state.AppFolder);
        QCOMPARE(entries.size(), 2);
        QVERIFY2(entries.first().startsWith(QStringLiteral(".play.converting-%1-").arg(child)),
                 qPrintable(entries.first()));

        // Folders that are not a dead process's staging of this play stay.
        const QStringList others = {
            QStringLiteral(".play.converting-1-live"), // process 1 always runs
            QStringLiteral(".play.converting-notanumber"),
            QStringLiteral(".other.converting-%1-x").arg(child)};
        for (const QString &name : others)
            QVERIFY(QDir().mkdir(play.state.AppFolder + name));

        // The next opening converts again and clears the abandoned store.
        QVERIFY(play.convert(Kent).ok());
        QStringList expected = others + QStringList{"play", "play %2 %3.txt"};
        expected.sort();
        QCOMPARE(FolderEntries(play.state.AppFolder), expected);
    }
};

QTEST_GUILESS_MAIN(TestPlayConverter)
#include "tst_playconverter.moc"
