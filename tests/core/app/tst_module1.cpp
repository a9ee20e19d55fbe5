#include "core/app/Module1.h"
#include "core/app/ShippedData.h"

#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"

using namespace tiradex;

class TestModule1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each row: a value the state derives (computed here) and what it must be.
    // Padding shows in the paths.
    void namesFollowTheNamingRules_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const auto startUp = [](const QString &reported) {
            Module1 state;
            state.StartUp(reported);
            return state.AppFolder + " | " + state.AppPathRaw;
        };
        QTest::newRow("separator appended") << startUp("/a/Tiradex") << "/a/Tiradex/ | /a/Tiradex";
        QTest::newRow("trailing separator kept") << startUp("/data/") << "/data/ | /data/";
        Module1 s;
        s.StartUp("/app");
        s.SelectPlay(*FindPlay("kingjohn"));
        QTest::newRow("play selected")
            << QStringList{s.PlayCode, s.PlayTextFile, s.PlayFolder, s.CharactersFileName(),
                           s.KeepLineBreaks ? "keep" : "join"}
                   .join(' ')
            << "kingjohn kingjohn.txt /app/kingjohn kingjohn.dat keep";
        QTest::newRow("number too long stays") << Module1::PadNumber(12345, 4) << "12345";
        const QString base = Module1::ReplyBaseName(57, "HUBERT");
        QTest::newRow("reply text")
            << s.ReplyTextPath(3, 12, base) << "/app/kingjohn/ACT 03/SCENE 12/_0057_HUBERT.txt";
        QTest::newRow("vox") << s.VoxPath(base) << "/app/kingjohn/vox/_0057_HUBERT.vox";
        QTest::newRow("note") << s.NotePath(base) << "/app/kingjohn/notes/_0057_HUBERT.not";
        QTest::newRow("photo") << s.PhotoPath(base) << "/app/kingjohn/photos/_0057_HUBERT.jp1";
        const auto decoded = [](const QString &name) {
            return QStringList{Module1::ReplyNumberOf(name), Module1::CharacterOf(name),
                               Module1::BaseNameOf(name)}
                .join('|');
        };
        QTest::newRow("decoded") << decoded("_0057_HUBERT.txt") << "0057|HUBERT|_0057_HUBERT";
        QTest::newRow("decoded, underscore in name")
            << decoded("_0100_A_B.not") << "0100|A_B|_0100_A_B";
        const auto refusal = [](bool playing, bool recording) {
            Module1 state;
            state.PlaybackActive = playing;
            state.RecordingActive = recording;
            return state.CloseRefusal().value_or("<none>");
        };
        QTest::newRow("idle closes") << refusal(false, false) << "<none>";
        QTest::newRow("close while playing")
            << refusal(true, false) << "Stop at first the current reading.";
        QTest::newRow("close while recording")
            << refusal(false, true) << "Stop at first the current recording.";
        QTest::newRow("close while both: reading first")
            << refusal(true, true) << "Stop at first the current reading.";
        QTest::newRow("node texts") << QStringLiteral("%1 %2 %3 %4 %5")
                                           .arg(Module1::ActNumberOfNodeText("ACT 1"))
                                           .arg(Module1::ActNumberOfNodeText("ACT 12"))
                                           .arg(Module1::SceneNumberOfNodeText("SCENE 7"))
                                           .arg(Module1::SceneNumberOfNodeText("SCENE"))
                                           .arg(Module1::ActNumberOfNodeText("ACT x"))
                                    << "1 12 7 0 0";
    }
    void namesFollowTheNamingRules()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void resetOnPlayCloseDeletesScratchFilesAndClearsFlags()
    {
        QTemporaryDir dir;
        Module1 state;
        state.StartUp(dir.path());
        for (const char *name : {"temp.wav", "temp.vox", "_0001_A.tsd", "_0002_B.tsd", "del.wav"})
            WriteTestFile(state.AppFolder + name, "x");
        state.FilterCharacter = "HUBERT";
        state.RecordingActive = true;
        state.ResetOnPlayClose();
        QCOMPARE(EntriesUnder(dir.path()), QStringList{"del.wav"});
        QVERIFY(state.FilterCharacter.isEmpty() && !state.RecordingActive);
    }

    // Into a missing folder, and into one holding the user's own files.
    void installingShippedFilesNeverOverwrites()
    {
        QTemporaryDir data;
        QTemporaryDir app;
        for (const char *name :
             {"merchantvenice.txt", "del.wav", "help/scene.png", "help/about.png"})
            WriteTestFile(data.filePath(name), QByteArray("shipped ") + name);
        WriteTestFile(app.filePath("del.wav"), "user's own");
        WriteTestFile(app.filePath("help/about.png"), "user's own");
        QString error;
        QVERIFY2(InstallShippedFiles(data.path(), app.filePath("sub"), &error) &&
                     InstallShippedFiles(data.path(), app.path(), &error),
                 qPrintable(error));
        QStringList files; // "name=content"; folders left out
        for (const QString &entry : EntriesUnder(app.path()))
            if (QFileInfo(app.filePath(entry)).isFile())
                files.append(entry + "=" + ReadTestFile(app.filePath(entry)));
        QCOMPARE(files, (QStringList{"del.wav=user's own", "help/about.png=user's own",
                                     "help/scene.png=shipped help/scene.png",
                                     "merchantvenice.txt=shipped merchantvenice.txt",
                                     "sub/del.wav=shipped del.wav",
                                     "sub/help/about.png=shipped help/about.png",
                                     "sub/help/scene.png=shipped help/scene.png",
                                     "sub/merchantvenice.txt=shipped merchantvenice.txt"}));
    }
};

QTEST_GUILESS_MAIN(TestModule1)
#include "tst_module1.moc"
