#include "core/app/Module1.h"
#include "core/app/ShippedData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"

using namespace tiradex;

class TestModule1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpAppendsSeparatorOnlyWhenMissing_data()
    {
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no separator") << "/home/a/.local/share/Tiradex"
                                      << "/home/a/.local/share/Tiradex/";
        QTest::newRow("root keeps its separator") << "/"
                                                  << "/";
        QTest::newRow("trailing separator kept") << "/data/"
                                                 << "/data/";
    }
    void startUpAppendsSeparatorOnlyWhenMissing()
    {
        QFETCH(QString, reported);
        QFETCH(QString, expected);
        Module1 state;
        state.StartUp(reported);
        QCOMPARE(state.AppFolder, expected);
        QCOMPARE(state.AppPathRaw, reported);
    }

    void selectPlaySetsStateFromCatalogue()
    {
        Module1 state;
        state.StartUp(QStringLiteral("/app"));
        const PlayCatalogueEntry *john = FindPlay(QStringLiteral("kingjohn"));
        QVERIFY(john);
        state.SelectPlay(*john);
        QCOMPARE(state.PlayCode, QStringLiteral("kingjohn"));
        QCOMPARE(state.PlayTextFile, QStringLiteral("kingjohn.txt"));
        QCOMPARE(state.PlayFolder, QStringLiteral("/app/kingjohn"));
        QVERIFY(state.KeepLineBreaks);
        QCOMPARE(state.CharactersFileName(), QStringLiteral("kingjohn.dat"));
    }

    void padNumberPadsShortNumbersOnly_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one digit act") << 3 << 2 << "03";
        QTest::newRow("reply 57") << 57 << 4 << "0057";
        QTest::newRow("too long stays") << 12345 << 4 << "12345";
    }
    void padNumberPadsShortNumbersOnly()
    {
        QFETCH(int, n);
        QFETCH(int, width);
        QFETCH(QString, expected);
        QCOMPARE(Module1::PadNumber(n, width), expected);
    }

    void replyPathsFollowTheNamingRule()
    {
        Module1 state;
        state.StartUp(QStringLiteral("/app"));
        state.SelectPlay(PlayCatalogue().at(1));
        const QString base = Module1::ReplyBaseName(57, QStringLiteral("HUBERT"));
        QCOMPARE(base, QStringLiteral("_0057_HUBERT"));
        QCOMPARE(state.ReplyTextPath(3, 12, base),
                 QStringLiteral("/app/kingjohn/ACT 03/SCENE 12/_0057_HUBERT.txt"));
        QCOMPARE(state.SceneFolder(10, 1), QStringLiteral("/app/kingjohn/ACT 10/SCENE 01"));
        QCOMPARE(state.VoxPath(base), QStringLiteral("/app/kingjohn/vox/_0057_HUBERT.vox"));
        QCOMPARE(state.NotePath(base), QStringLiteral("/app/kingjohn/notes/_0057_HUBERT.not"));
        QCOMPARE(state.PhotoPath(base), QStringLiteral("/app/kingjohn/photos/_0057_HUBERT.jp1"));
    }

    void fileNamesDecodeBackToNumberAndCharacter_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("character");
        QTest::newRow("text") << "_0057_HUBERT.txt"
                              << "0057"
                              << "HUBERT";
        QTest::newRow("blank in name") << "_0012_FIRST LORD.vox"
                                       << "0012"
                                       << "FIRST LORD";
        QTest::newRow("underscore in name") << "_0100_A_B.not"
                                            << "0100"
                                            << "A_B";
    }
    void fileNamesDecodeBackToNumberAndCharacter()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, number);
        QFETCH(QString, character);
        QCOMPARE(Module1::ReplyNumberOf(fileName), number);
        QCOMPARE(Module1::CharacterOf(fileName), character);
        QCOMPARE(Module1::BaseNameOf(fileName),
                 QLatin1Char('_') + number + QLatin1Char('_') + character);
    }

    void nodeTextsGiveActAndSceneNumbers()
    {
        QCOMPARE(Module1::ActNumberOfNodeText(QStringLiteral("ACT 1")), 1);
        QCOMPARE(Module1::ActNumberOfNodeText(QStringLiteral("ACT 12")), 12);
        QCOMPARE(Module1::SceneNumberOfNodeText(QStringLiteral("SCENE 7")), 7);
        QCOMPARE(Module1::SceneNumberOfNodeText(QStringLiteral("SCENE")), 0);
        QCOMPARE(Module1::ActNumberOfNodeText(QStringLiteral("ACT x")), 0);
    }

    void closeRefusedWhileSoundRuns_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("idle closes") << false << false << QString();
        QTest::newRow("playing") << true << false << "Stop at first the current reading.";
        QTest::newRow("recording") << false << true << "Stop at first the current recording.";
        QTest::newRow("both: reading first")
            << true << true << "Stop at first the current reading.";
    }
    void closeRefusedWhileSoundRuns()
    {
        QFETCH(bool, playing);
        QFETCH(bool, recording);
        QFETCH(QString, refusal);
        Module1 state;
        state.PlaybackActive = playing;
        state.RecordingActive = recording;
        QCOMPARE(state.CloseRefusal().value_or(QString()), refusal);
        QCOMPARE(state.CloseRefusal().has_value(), !refusal.isEmpty());
    }

    void resetOnPlayCloseDeletesScratchFilesAndClearsFlags()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Module1 state;
        state.StartUp(dir.path());
        const QStringList scratch = {QStringLiteral("temp.wav"), QStringLiteral("temp.vox"),
                                     QStringLiteral("_0001_A.tsd"), QStringLiteral("_0002_B.tsd")};
        for (const QString &name : scratch + QStringList{"del.wav"})
            QVERIFY(WriteTestFile(state.AppFolder + name, "x"));
        state.FilterCharacter = QStringLiteral("HUBERT");
        state.RecordingActive = true;
        state.ResetOnPlayClose();
        for (const QString &name : scratch)
            QVERIFY2(!QFile::exists(state.AppFolder + name), qPrintable(name));
        QVERIFY(QFile::exists(state.AppFolder + QStringLiteral("del.wav")));
        QVERIFY(state.FilterCharacter.isEmpty());
        QVERIFY(!state.RecordingActive);
        // A second reset with nothing to delete is harmless.
        state.ResetOnPlayClose();
    }

    void installingShippedFilesNeverOverwrites()
    {
        QTemporaryDir data;
        QTemporaryDir app;
        for (const char *name :
             {"merchantvenice.txt", "del.wav", "help/scene.png", "help/about.png"})
            QVERIFY(WriteTestFile(data.filePath(name), QByteArray("shipped ") + name));
        QVERIFY(WriteTestFile(app.filePath("del.wav"), "user's own"));
        QVERIFY(WriteTestFile(app.filePath("help/about.png"), "user's picture"));
        QString error;
        QVERIFY2(InstallShippedFiles(data.path(), app.filePath("sub"), &error), qPrintable(error));
        QVERIFY(InstallShippedFiles(data.path(), app.path(), &error));
        QCOMPARE(ReadTestFile(app.filePath("del.wav")), QByteArray("user's own"));
        QCOMPARE(ReadTestFile(app.filePath("help/about.png")), QByteArray("user's picture"));
        for (const char *name : {"merchantvenice.txt", "help/scene.png", "sub/help/scene.png",
                                 "sub/merchantvenice.txt"})
            QVERIFY2(QFile::exists(app.filePath(name)), name);
    }
};

QTEST_GUILESS_MAIN(TestModule1)
#include "tst_module1.moc"
