#include "core/play/PlayTextCheck.h"
#include "core/play/PlayTree.h"

#include <QTest>

using namespace tiradex;

class TestPlayTree : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void treeFollowsTreeviewRecords()
    {
        const QList<ActNode> tree = BuildActTree({{1, 3}, {2, 2}, {3, 0}});
        QCOMPARE(tree.size(), 3);
        QCOMPARE(tree.at(0).key, QStringLiteral("A1"));
        QCOMPARE(tree.at(0).text, QStringLiteral("ACT 1"));
        QCOMPARE(tree.at(0).sceneTexts, (QStringList{"SCENE 1", "SCENE 2", "SCENE 3"}));
        QCOMPARE(tree.at(1).key, QStringLiteral("A2"));
        QCOMPARE(tree.at(1).sceneTexts, (QStringList{"SCENE 1", "SCENE 2"}));
        QVERIFY(tree.at(2).sceneTexts.isEmpty());
    }

    void hostileCountsStayBounded()
    {
        const QList<ActNode> tree = BuildActTree({{1, 2000000000}, {2, -5}});
        QCOMPARE(tree.at(0).sceneTexts.size(), 99);
        QCOMPARE(tree.at(0).sceneTexts.last(), QStringLiteral("SCENE 99"));
        QVERIFY(tree.at(1).sceneTexts.isEmpty());
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
        QCOMPARE(CharactersMessage({QStringLiteral("HAMLET"), QStringLiteral("HORATIO")},
                                   {QStringLiteral("prince"), QStringLiteral("his friend")}),
                 QStringLiteral("Characters :\r\n\r\nHAMLET - prince\r\nHORATIO - his friend\r\n"));
        QCOMPARE(CharactersMessage({}, {}), QStringLiteral("Characters :\r\n\r\n"));
    }

    void checkReportsNamesRunningIntoText()
    {
        const QStringList lines =
            QStringLiteral(
                "HAMLET Before the acts, ignored.\nACT I.\nSCENE I. A platform.\nHAMLET\n"
                "  Hamlet  \nHamlet. Who's there?\nNothing here.\n   \n"
                "SCENE II. A room.\nHORATIO, aside\nACT II.\nSCENE I. A plain.\n"
                " horatio   well")
                .split(QLatin1Char('\n'));
        const QStringList characters{QStringLiteral("HAMLET"), QStringLiteral("HORATIO"),
                                     QString()};
        QCOMPARE(CheckPlayTextLines(lines, characters),
                 QStringLiteral("ACT 01\r\nSCENE 01\r\nHamlet. Who's there?\r\n\r\n"
                                "ACT 01\r\nSCENE 02\r\nHORATIO, aside\r\n\r\n"
                                "ACT 02\r\nSCENE 01\r\n horatio   well\r\n\r\n"));
    }

    void checkTakesFirstNameOnly()
    {
        // "LORD" comes first and is a prefix of the line: the line is reported
        // even though "LORD BASSANIO" would match it exactly.
        QCOMPARE(CheckPlayTextLines({QStringLiteral("ACT 1"), QStringLiteral("SCENE 1"),
                                     QStringLiteral("LORD BASSANIO")},
                                    {QStringLiteral("LORD"), QStringLiteral("LORD BASSANIO")}),
                 QStringLiteral("ACT 01\r\nSCENE 01\r\nLORD BASSANIO\r\n\r\n"));
        QCOMPARE(CheckPlayTextLines({QStringLiteral("ACT 1"), QStringLiteral("SCENE 1"),
                                     QStringLiteral("LORD BASSANIO")},
                                    {QStringLiteral("LORD BASSANIO"), QStringLiteral("LORD")}),
                 QString());
    }
};

QTEST_GUILESS_MAIN(TestPlayTree)
#include "tst_playtree.moc"
