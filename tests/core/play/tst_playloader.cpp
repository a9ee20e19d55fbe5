#include "TestFiles.h"
#include "TestPlay.h"
#include "core/play/PlayLoader.h"
#include "core/play/PlayTextCheck.h"
#include "core/play/PlayTree.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tiradex;

namespace {
const QByteArray SmallText = "THE SMALL PLAY\r\nACT I.\r\nSCENE I. A platform.\r\n"
                             "HAMLET\r\nWho's there?\r\nHORATIO\r\nFriends.\r\n"
                             "SCENE II. A room.\r\nHAMLET\r\nSpeak.\r\n"
                             "ACT II.\r\nSCENE I. A plain.\r\n"
                             "HORATIO\r\nHORATIO, aside, to the audience.\r\n";

// Whether the opening converted, the characters with their statuses, and
// each act's key with its number of scenes.
QString Outcome(const PlayLoadResult &result)
{
    QString text = result.converted ? QStringLiteral("converted") : QStringLiteral("opened");
    for (qsizetype i = 0; i < result.characters.names.size(); ++i)
        text += QStringLiteral(" %1 - %2,")
                    .arg(result.characters.names.at(i), result.characters.statuses.value(i));
    for (const ActNode &act : result.tree)
        text += QStringLiteral(" %1:%2").arg(act.key).arg(act.sceneTexts.size());
    return text + result.error;
}
} // namespace

// Opening a play: its loading, its tree, its headings and its checks.
class TestPlayLoader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Module1 m_state;

    TestPlay freshPlay(bool characters = true)
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        TestPlay play(m_state, m_dir.path());
        if (characters)
            play.writeCharacters({{QStringLiteral("HAMLET"), QStringLiteral("Prince of Denmark")},
                                  {QStringLiteral("HORATIO"), QStringLiteral("friend to Hamlet")}});
        return play;
    }

private Q_SLOTS:
    // The first opening converts between the hooks; the next one reads the
    // store, without the play text.
    void openingConvertsOnceThenReadsTheStore()
    {
        TestPlay p = freshPlay();
        p.writePlayText(SmallText);
        const QString charactersFile = m_state.AppFolder + m_state.CharactersFileName();
        const QByteArray enciphered = ReadTestFile(charactersFile);
        QStringList calls;
        PlayLoadHooks hooks;
        hooks.conversionStarts = [&] { calls << QStringLiteral("starts"); };
        hooks.conversionEnds = [&] { calls << QStringLiteral("ends"); };
        const QString first = Outcome(LoadPlay(m_state, hooks));
        QVERIFY(QFile::remove(m_state.AppFolder + m_state.PlayTextFile));
        const QString second = Outcome(LoadPlay(m_state, hooks));
        const QString read =
            QStringLiteral(" HAMLET - Prince of Denmark, HORATIO - friend to Hamlet, A1:2 A2:1");
        QCOMPARE(first + " / " + second, "converted" + read + " / opened" + read);
        QCOMPARE(calls, (QStringList{"starts", "ends"}));
        // The characters file was deciphered in memory only.
        QCOMPARE(ReadTestFile(charactersFile), enciphered);
    }

    void failureGivesOneMessageAndNoTree_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("named");
        QTest::addColumn<bool>("playFolderAfter");
        QTest::newRow("characters file missing") << "dat"
                                                 << "merchantvenice.dat" << false;
        QTest::newRow("characters file lists nobody") << "empty dat"
                                                      << "merchantvenice.dat" << false;
        QTest::newRow("play text missing") << "txt"
                                           << "merchantvenice.txt" << false;
        QTest::newRow("treeview.ini missing") << "treeview"
                                              << "treeview.ini" << true;
        QTest::newRow("characters missing for converted play") << "dat, converted"
                                                               << "merchantvenice.dat" << true;
    }
    void failureGivesOneMessageAndNoTree()
    {
        QFETCH(QString, broken);
        QFETCH(QString, named);
        QFETCH(bool, playFolderAfter);
        TestPlay p = freshPlay(!broken.startsWith(QLatin1String("dat")));
        if (broken == QLatin1String("empty dat"))
            p.writeCharacters({});
        if (broken != QLatin1String("txt"))
            p.writePlayText(SmallText);
        if (broken == QLatin1String("treeview") || broken.endsWith(QLatin1String("converted"))) {
            p.writeStore({TestPlay::numberedScene(1, 1, 1, 2, {QStringLiteral("HAMLET")})});
            QVERIFY(broken != QLatin1String("treeview") ||
                    QFile::remove(m_state.PlayFolder + QStringLiteral("/treeview.ini")));
        }
        const QString outcome = Outcome(LoadPlay(m_state));
        QVERIFY2(
            outcome.startsWith("openedThe play \"The Merchant of Venice\" cannot be opened.") &&
                outcome.contains(named),
            qPrintable(outcome));
        // A failed first opening leaves no store that would never be rebuilt.
        QCOMPARE(QFileInfo::exists(m_state.PlayFolder), playFolderAfter);
    }

    // Within bounds whatever the records say.
    void treeFollowsTreeviewRecords()
    {
        PlayLoadResult result;
        result.tree = BuildActTree({{1, 3}, {2, 2}, {3, 0}, {4, 2000000000}, {5, -5}});
        QCOMPARE(Outcome(result), QStringLiteral("opened A1:3 A2:2 A3:0 A4:99 A5:0"));
        QCOMPARE(result.tree.at(0).text + ": " + result.tree.at(0).sceneTexts.join(", ") + ", " +
                     result.tree.at(3).sceneTexts.last(),
                 QStringLiteral("ACT 1: SCENE 1, SCENE 2, SCENE 3, SCENE 99"));
        QList<ActRecord> many;
        for (int a = 1; a <= 500; ++a)
            many.append({a, 1});
        QCOMPARE(BuildActTree(many).size(), 99);
    }

    void headingTakesFirstMatchingRecord()
    {
        const QList<SceneHeader> headers{{1, 1, QStringLiteral("SCENE I. Venice.")},
                                         {2, 1, QStringLiteral("SCENE I. Belmont.")},
                                         {2, 1, QStringLiteral("SCENE I. duplicate")}};
        QCOMPARE(SceneHeading(headers, 2, 1), QStringLiteral("ACT 2 - SCENE I. Belmont."));
        QVERIFY(!SceneHeading(headers, 1, 2));
    }

    void charactersMessageListsNameDashStatus()
    {
        QCOMPARE(CharactersMessage({"HAMLET", "HORATIO"}, {"prince", "his friend"}) +
                     CharactersMessage({}, {}),
                 QStringLiteral("Characters :\r\n\r\nHAMLET - prince\r\nHORATIO - his friend\r\n"
                                "Characters :\r\n\r\n"));
    }

    void checkReportsNamesRunningIntoText()
    {
        freshPlay(false).writePlayText(
            "HAMLET Before the acts, ignored.\r\nACT I.\r\nSCENE I. A platform.\r\nHAMLET\r\n"
            "  Hamlet  \r\nHamlet. Who's there?\r\nNothing here.\r\n   \r\n"
            "SCENE II. A room.\r\nHORATIO, aside\r\nACT II.\r\nSCENE I. A plain.\r\n"
            " horatio   well\r\n");
        const QStringList characters{"HAMLET", "HORATIO", QString()};
        QString error;
        QCOMPARE(CheckPlayText(m_state, characters, &error).value_or(error),
                 QStringLiteral("ACT 01\r\nSCENE 01\r\nHamlet. Who's there?\r\n\r\n"
                                "ACT 01\r\nSCENE 02\r\nHORATIO, aside\r\n\r\n"
                                "ACT 02\r\nSCENE 01\r\n horatio   well\r\n\r\n"));
        QVERIFY(QFile::remove(m_state.AppFolder + m_state.PlayTextFile));
        QVERIFY(!CheckPlayText(m_state, characters, &error) &&
                error.contains(QStringLiteral("merchantvenice.txt")));
        // "LORD" comes first and is a prefix of the line: the line is reported
        // even though "LORD BASSANIO" would match it exactly.
        const QStringList lord{"ACT 1", "SCENE 1", "LORD BASSANIO"};
        QCOMPARE(CheckPlayTextLines(lord, {"LORD", "LORD BASSANIO"}) + "|" +
                     CheckPlayTextLines(lord, {"LORD BASSANIO", "LORD"}),
                 QStringLiteral("ACT 01\r\nSCENE 01\r\nLORD BASSANIO\r\n\r\n|"));
    }
};

QTEST_GUILESS_MAIN(TestPlayLoader)
#include "tst_playloader.moc"
