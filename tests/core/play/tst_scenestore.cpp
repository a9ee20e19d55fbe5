#include "StoreTree.h"
#include "core/play/SceneStore.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

namespace {

Module1 playIn(const QTemporaryDir &dir)
{
    Module1 state;
    state.StartUp(dir.path());
    state.PlayFolder = state.AppFolder + QStringLiteral("play");
    QDir().mkpath(state.PlayFolder);
    return state;
}

} // namespace

class TestSceneStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        QTest::newRow("commas inside quotes belong to the text")
            << QByteArray("\"Yes, my lord, I will.\"\r\n") << false
            << QStringLiteral("Yes, my lord, I will. ");
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
        const auto text = ReadReplyText(path, keepLineBreaks, &error);
        QVERIFY2(text, qPrintable(error));
        QCOMPARE(*text, expected);
    }

    void missingFilesAreReportedByName()
    {
        QTemporaryDir dir;
        const Module1 state = playIn(dir);
        const QString reply = state.ReplyTextPath(1, 1, QStringLiteral("_0001_KENT"));
        QString errors[3];
        QVERIFY(!ReadReplyText(reply, true, &errors[0]) && !ReadHeadIni(state, &errors[1]) &&
                !ReadTreeviewIni(state, &errors[2]));
        QVERIFY2(errors[0].contains(reply) && errors[1].contains(state.HeadIniPath()) &&
                     errors[2].contains(state.TreeviewIniPath()),
                 qPrintable(errors[0] + errors[1] + errors[2]));
    }

    void indexFilesReadBack()
    {
        QTemporaryDir dir;
        const Module1 state = playIn(dir);
        QVERIFY(WriteTestFile(state.HeadIniPath(), "1,2,\"SCENE II.  Belmont, a room\"\r\n"
                                                   "2,1,\"SCENE II. \"The Sign\", an inn\"\r\n"));
        QVERIFY(WriteTestFile(state.TreeviewIniPath(), "1,2\r\n3,0\r\n"));
        QStringList read;
        for (const SceneHeader &scene : ReadHeadIni(state).value_or(QList<SceneHeader>()))
            read << QStringLiteral("%1,%2,%3").arg(scene.act).arg(scene.scene).arg(scene.header);
        for (const ActRecord &act : ReadTreeviewIni(state).value_or(QList<ActRecord>()))
            read << QStringLiteral("%1,%2").arg(act.act).arg(act.sceneCount);
        QCOMPARE(read, (QStringList{"1,2,SCENE II.  Belmont, a room",
                                    "2,1,SCENE II. \"The Sign\", an inn", "1,2", "3,0"}));
    }

    void treeviewCountsScenesPerAct_data()
    {
        QTest::addColumn<QList<int>>("headActs"); // the act of each head.ini record
        QTest::addColumn<int>("actCount");
        QTest::addColumn<QList<int>>("expected"); // act, count, act, count, ...
        QTest::newRow("first act of five scenes")
            << QList<int>{1, 1, 1, 1, 1} << 1 << QList<int>{1, 5};
        QTest::newRow("three acts")
            << QList<int>{1, 1, 2, 3, 3, 3} << 3 << QList<int>{1, 2, 2, 1, 3, 3};
        // Counted by the act's own number, an act without scenes no longer
        // shifts the later acts onto the wrong folders.
        QTest::newRow("act without scene keeps later acts in place")
            << QList<int>{1, 3, 3} << 3 << QList<int>{1, 1, 2, 0, 3, 2};
        QTest::newRow("last act without scene is listed")
            << QList<int>{1, 1} << 2 << QList<int>{1, 2, 2, 0};
        QTest::newRow("no act at all") << QList<int>{} << 0 << QList<int>{1, 0};
    }
    void treeviewCountsScenesPerAct()
    {
        QFETCH(QList<int>, headActs);
        QFETCH(int, actCount);
        QFETCH(QList<int>, expected);
        QList<SceneHeader> scenes;
        for (int act : headActs)
            scenes.append({act, 1, QStringLiteral("SCENE")});
        QList<int> flat;
        for (const ActRecord &record : TreeviewFromHead(scenes, actCount))
            flat << record.act << record.sceneCount;
        QCOMPARE(flat, expected);
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

QTEST_GUILESS_MAIN(TestSceneStore)
#include "tst_scenestore.moc"
