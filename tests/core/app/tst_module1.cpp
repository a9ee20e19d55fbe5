#include "core/app/Module1.h"
#include "core/app/ShippedData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

    void startUpFillsKeyCharsFromFixedKey()
    {
        Module1 state;
        state.StartUp(QStringLiteral("/x"));
        const QByteArray key("VORTELANVORTELANVORTELANVORTELAN");
        for (int i = 0; i < 32; ++i)
            QCOMPARE(int(state.KeyChars[i]), int(uchar(key.at(i))));
    }

    void selectPlaySetsStateFromCatalogue()
    {
        Module1 state;
        state.StartUp(QStringLiteral("/app"));
        QCOMPARE(PlayCatalogue().size(), 3);
        const PlayCatalogueEntry *john = FindPlay(QStringLiteral("kingjohn"));
        QVERIFY(john);
        QCOMPARE(john->menuCaption, QStringLiteral("The Life and Death of King John ..."));
        QCOMPARE(john->windowTitle, QStringLiteral("The Life and Death of King John"));
        state.SelectPlay(*john);
        QCOMPARE(state.PlayCode, QStringLiteral("kingjohn"));
        QCOMPARE(state.PlayTextFile, QStringLiteral("kingjohn.txt"));
        QCOMPARE(state.PlayFolder, QStringLiteral("/app/kingjohn"));
        QVERIFY(state.KeepLineBreaks);
        QCOMPARE(state.CharactersFileName(), QStringLiteral("kingjohn.dat"));
        QCOMPARE(PlayCatalogue().at(0).menuCaption, QStringLiteral("The merchant of Venice ..."));
        QCOMPARE(PlayCatalogue().at(2).playTextFile, QStringLiteral("verone.txt"));
    }

    void padNumberPadsShortNumbersOnly_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one digit act") << 3 << 2 << "03";
        QTest::newRow("two digit act") << 12 << 2 << "12";
        QTest::newRow("reply 1") << 1 << 4 << "0001";
        QTest::newRow("reply 57") << 57 << 4 << "0057";
        QTest::newRow("reply 123") << 123 << 4 << "0123";
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
        for (const QString &name : scratch) {
            QFile f(state.AppFolder + name);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QFile keep(state.AppFolder + QStringLiteral("del.wav"));
        QVERIFY(keep.open(QIODevice::WriteOnly));
        keep.close();
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
        auto write = [](const QString &path, const QByteArray &bytes) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        write(data.filePath(QStringLiteral("merchantvenice.txt")), "shipped");
        write(data.filePath(QStringLiteral("del.wav")), "sound");
        write(app.filePath(QStringLiteral("del.wav")), "user's own");
        QVERIFY(QDir(data.path()).mkdir(QStringLiteral("help")));
        write(data.filePath(QStringLiteral("help/scene.png")), "picture");
        write(data.filePath(QStringLiteral("help/about.png")), "new picture");
        QVERIFY(QDir(app.path()).mkdir(QStringLiteral("help")));
        write(app.filePath(QStringLiteral("help/about.png")), "user's picture");
        QString error;
        QVERIFY2(InstallShippedFiles(data.path(), app.path() + QStringLiteral("/sub"), &error),
                 qPrintable(error));
        QVERIFY(InstallShippedFiles(data.path(), app.path(), &error));
        QFile kept(app.filePath(QStringLiteral("del.wav")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("user's own"));
        QVERIFY(QFile::exists(app.filePath(QStringLiteral("merchantvenice.txt"))));
        QVERIFY(QFile::exists(app.filePath(QStringLiteral("sub/merchantvenice.txt"))));
        QVERIFY(QFile::exists(app.filePath(QStringLiteral("sub/help/scene.png"))));
        QFile picture(app.filePath(QStringLiteral("help/about.png")));
        QVERIFY(picture.open(QIODevice::ReadOnly));
        QCOMPARE(picture.readAll(), QByteArray("user's picture"));
        QVERIFY(QFile::exists(app.filePath(QStringLiteral("help/scene.png"))));
    }
};

QTEST_GUILESS_MAIN(TestModule1)
#include "tst_module1.moc"
