#include "ConvertedStore.h"
#include "PlaygenFixture.h"
#include "ToolRunner.h"
#include "core/playimport/PlayFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

class TestPlayFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The written files decipher and convert into the expected replies.
    void fixtureConvertsIntoTheExpectedReplies()
    {
        QTemporaryDir dir;
        QString error;
        const std::optional<GeneratedPlay> play =
            GeneratePlay(FixtureXml(), FixtureRules(), &error);
        QVERIFY2(play, qPrintable(error));
        QVERIFY2(WritePlayFiles(*play, dir.path(), QStringLiteral("fixture"), &error),
                 qPrintable(error));
        QVERIFY(!ReadTestFile(dir.filePath(QStringLiteral("fixture.dat"))).contains("DUKE"));

        const ConvertedStore store =
            ConvertAndRead(StoredPlayState(dir.path(), QStringLiteral("fixture")));
        QVERIFY2(store.result.ok(), qPrintable(store.result.error));
        QCOMPARE(store.characters.names, (QStringList{"DUKE", "ROSE", "LILY", "TOBIAS",
                                                      "ROSE AND TOBIAS", "GUARD", "ALL"}));
        QCOMPARE(store.scenesPerAct, (QList<int>{2, 1}));
        QCOMPARE(store.headings,
                 (QStringList{"SCENE I.  A street. [Enter ROSE and TOBIAS]",
                              "SCENE II: The castle. [Enter LILY, with Musicians]",
                              "SCENE I.  The street again. [Enter DUKE and LILY]"}));
        const QStringList expected = {
            "1 1 _0001_ROSE.txt Where is the key, Tobias?|Tobias--|[Aside] He hides it, I am "
            "sure.|",
            "1 1 _0002_TOBIAS.txt ACTING as a locksmith, I keep no keys.|[Shows his empty hands]|"
            "SCENES like this one tire me.|[Enter DUKE]|",
            "1 1 _0003_DUKE.txt Peace, both of you. Call the 'guard'.|",
            "1 1 _0004_ROSE AND TOBIAS.txt We obey, my lord.|[Exeunt]|",
            "1 2 _0005_LILY.txt Play, and I will sing.|[Music]|SONG.|Lock and key, lock and key,|"
            "Who keeps the one keeps me.|",
            "1 2 _0006_ALL.txt Who keeps the one keeps me.|",
            "1 2 _0007_GUARD.txt My lord & lady, the key!|",
            "1 2 _0008_LILY.txt Rose!|",
            "2 1 _0009_DUKE.txt Lily--|All is well.|",
            "2 1 _0010_ROSE.txt All--|[Exeunt]|"};
        QStringList replies;
        for (const StoredReply &r : store.replies)
            replies << QStringLiteral("%1 %2 %3 ").arg(r.act).arg(r.scene).arg(r.file) +
                           QString(r.text).replace(QStringLiteral("\r\n"), QStringLiteral("|"));
        QCOMPARE(replies, expected);
    }

    void playCodeThatLeavesTheFolderIsRefused_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("parent") << QStringLiteral("../escaped");
        QTest::newRow("absolute") << QStringLiteral("/tmp/escaped");
        QTest::newRow("empty") << QString();
        QTest::newRow("dot dot") << QStringLiteral("..");
    }
    void playCodeThatLeavesTheFolderIsRefused()
    {
        QFETCH(QString, code);
        QTemporaryDir dir;
        const GeneratedPlay play = GeneratePlay(FixtureXml(), FixtureRules(), nullptr).value();
        QString error;
        QVERIFY(!WritePlayFiles(play, dir.filePath(QStringLiteral("out")), code, &error) &&
                !error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void toolWritesBothFilesAndRefusesBrokenXml()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.xml"));
        const QString broken = dir.filePath(QStringLiteral("broken.xml"));
        QVERIFY(WriteTestFile(good, FixtureXml()) && WriteTestFile(broken, FixtureXml().left(500)));
        const QString out = dir.filePath(QStringLiteral("out"));
        const QStringList args{"playgen", "--code", "fixture", "--out", out, "--xml"};
        QCOMPARE(runTool(args + QStringList{broken}).exitCode, 1);
        QCOMPARE(EntriesUnder(dir.path()), (QStringList{"broken.xml", "good.xml"}));
        QCOMPARE(runTool(QStringList{"playgen", "--out", out, "--xml", good}).exitCode, 2);
        QCOMPARE(runTool(args + QStringList{good}).exitCode, 0);
        QVERIFY(QFileInfo(out + "/fixture.txt").size() > 0 &&
                QFileInfo(out + "/fixture.dat").size() > 0);
    }
};

QTEST_GUILESS_MAIN(TestPlayFiles)
#include "tst_playfiles.moc"
