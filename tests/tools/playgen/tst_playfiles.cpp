#include "ShippedPlay.h"

#include "PlaygenFixture.h"
#include "core/app/Module1.h"
#include "core/play/CharactersFile.h"
#include "core/play/PlayConverter.h"
#include "core/play/SceneStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A state whose application folder holds the play "fixture".
Module1 FixtureState(const QString &appFolder)
{
    Module1 state;
    state.StartUp(appFolder);
    state.PlayCode = QStringLiteral("fixture");
    state.PlayTextFile = QStringLiteral("fixture.txt");
    state.PlayFolder = state.AppFolder + state.PlayCode;
    state.KeepLineBreaks = true;
    return state;
}

QString ToolPath()
{
    return QStringLiteral(TIRADEX_BUILD_DIR "/bin/tiradex-tool");
}

} // namespace

class TestPlayFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void charactersFileDeciphersToTheCharactersList()
    {
        QTemporaryDir dir;
        QString error;
        const std::optional<GeneratedPlay> play =
            GeneratePlay(FixtureXml(), FixtureRules(), &error);
        QVERIFY2(play, qPrintable(error));
        QVERIFY2(WritePlayFiles(*play, dir.path(), QStringLiteral("fixture"), &error),
                 qPrintable(error));

        const Module1 state = FixtureState(dir.path());
        QFile dat(dir.filePath(QStringLiteral("fixture.dat")));
        QVERIFY(dat.open(QIODevice::ReadOnly));
        const QByteArray onDisk = dat.readAll();
        QVERIFY(!onDisk.contains("DUKE")); // stored enciphered
        const std::optional<CharactersList> list = LoadCharactersFile(state, &error);
        QVERIFY2(list, qPrintable(error));
        QCOMPARE(list->names, (QStringList{"DUKE", "ROSE", "LILY", "TOBIAS", "ROSE AND TOBIAS",
                                           "GUARD", "ALL"}));
        QCOMPARE(list->statuses.at(4), QStringLiteral("spoken together by ROSE and TOBIAS"));
    }

    void fixtureConvertsIntoTheExpectedReplies()
    {
        QTemporaryDir dir;
        QString error;
        const std::optional<GeneratedPlay> play =
            GeneratePlay(FixtureXml(), FixtureRules(), &error);
        QVERIFY2(play, qPrintable(error));
        QVERIFY(WritePlayFiles(*play, dir.path(), QStringLiteral("fixture"), &error));
        const Module1 state = FixtureState(dir.path());
        const std::optional<CharactersList> list = LoadCharactersFile(state, &error);
        QVERIFY2(list, qPrintable(error));
        const ConvertResult converted = ConvertPlay(state, list->names);
        QVERIFY2(converted.status == ConvertStatus::Converted, qPrintable(converted.error));
        QCOMPARE(converted.replies, 10);

        // Reply files of each scene, with their text as the reader gives it.
        struct Reply
        {
            int act;
            int scene;
            const char *file;
            const char *text;
        };
        const Reply expected[] = {
            {1, 1, "_0001_ROSE.txt",
             "Where is the key, Tobias?\r\nTobias--\r\n[Aside] He hides it, I am sure.\r\n"},
            {1, 1, "_0002_TOBIAS.txt",
             "ACTING as a locksmith, I keep no keys.\r\n[Shows his empty hands]\r\n"
             "SCENES like this one tire me.\r\n[Enter DUKE]\r\n"},
            {1, 1, "_0003_DUKE.txt", "Peace, both of you. Call the 'guard'.\r\n"},
            {1, 1, "_0004_ROSE AND TOBIAS.txt", "We obey, my lord.\r\n[Exeunt]\r\n"},
            {1, 2, "_0005_LILY.txt",
             "Play, and I will sing.\r\n[Music]\r\nSONG.\r\nLock and key, lock and key,\r\n"
             "Who keeps the one keeps me.\r\n"},
            {1, 2, "_0006_ALL.txt", "Who keeps the one keeps me.\r\n"},
            {1, 2, "_0007_GUARD.txt", "My lord & lady, the key!\r\n"},
            {1, 2, "_0008_LILY.txt", "Rose!\r\n"},
            {2, 1, "_0009_DUKE.txt", "Lily--\r\nAll is well.\r\n"},
            {2, 1, "_0010_ROSE.txt", "All--\r\n[Exeunt]\r\n"},
        };
        QStringList allFiles;
        for (int act = 1; act <= 2; ++act) {
            for (int scene = 1; scene <= 2; ++scene)
                allFiles << ListReplyFiles(state.SceneFolder(act, scene));
        }
        QCOMPARE(allFiles.size(), qsizetype(std::size(expected)));
        for (const Reply &reply : expected) {
            const QString path = state.SceneFolder(reply.act, reply.scene) + QLatin1Char('/') +
                                 QString::fromUtf8(reply.file);
            const std::optional<QString> text = ReadReplyText(path, true, &error);
            QVERIFY2(text, qPrintable(error));
            QCOMPARE(*text, QString::fromUtf8(reply.text));
        }

        const std::optional<QList<SceneHeader>> head = ReadHeadIni(state, &error);
        QVERIFY2(head, qPrintable(error));
        QCOMPARE(head->size(), 3);
        QCOMPARE(head->at(0).header, QStringLiteral("SCENE I.  A street. [Enter ROSE and TOBIAS]"));
        QCOMPARE(head->at(1).header,
                 QStringLiteral("SCENE II: The castle. [Enter LILY, with Musicians]"));
        QCOMPARE(head->at(2).act, 2);
        const std::optional<QList<ActRecord>> acts = ReadTreeviewIni(state, &error);
        QVERIFY2(acts, qPrintable(error));
        QCOMPARE(acts->size(), 2);
        QCOMPARE(acts->at(0).sceneCount, 2);
        QCOMPARE(acts->at(1).sceneCount, 1);
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
        const QString out = dir.filePath(QStringLiteral("out"));
        const std::optional<GeneratedPlay> play =
            GeneratePlay(FixtureXml(), FixtureRules(), nullptr);
        QVERIFY(play);
        QString error;
        QVERIFY(!WritePlayFiles(*play, out, code, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void toolWritesBothFilesAndRefusesBrokenXml()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.xml"));
        const QString broken = dir.filePath(QStringLiteral("broken.xml"));
        QFile goodFile(good);
        QVERIFY(goodFile.open(QIODevice::WriteOnly));
        goodFile.write(FixtureXml());
        goodFile.close();
        QFile brokenFile(broken);
        QVERIFY(brokenFile.open(QIODevice::WriteOnly));
        brokenFile.write(FixtureXml().left(500));
        brokenFile.close();

        const QString out = dir.filePath(QStringLiteral("out"));
        QCOMPARE(QProcess::execute(ToolPath(),
                                   {QStringLiteral("playgen"), QStringLiteral("--xml"), broken,
                                    QStringLiteral("--code"), QStringLiteral("fixture"),
                                    QStringLiteral("--out"), out}),
                 1);
        QVERIFY(!QFileInfo::exists(out + QStringLiteral("/fixture.txt")));
        QCOMPARE(QProcess::execute(ToolPath(), {QStringLiteral("playgen"), QStringLiteral("--xml"),
                                                good, QStringLiteral("--out"), out}),
                 2);
        QCOMPARE(
            QProcess::execute(ToolPath(), {QStringLiteral("playgen"), QStringLiteral("--xml"), good,
                                           QStringLiteral("--code"), QStringLiteral("fixture"),
                                           QStringLiteral("--out"), out}),
            0);
        QVERIFY(QFileInfo(out + QStringLiteral("/fixture.txt")).size() > 0);
        QVERIFY(QFileInfo(out + QStringLiteral("/fixture.dat")).size() > 0);
    }
};

QTEST_GUILESS_MAIN(TestPlayFiles)
#include "tst_playfiles.moc"
