#include "PlayXml.h"

#include "PlaygenFixture.h"

#include <QTest>

namespace {

QByteArray Play(const char *body)
{
    return QByteArray("<?xml version=\"1.0\"?>\n<PLAY><TITLE>T</TITLE>") + body +
           QByteArray("</PLAY>\n");
}

const char *const OneScene = "<ACT><TITLE>ACT I</TITLE><SCENE><TITLE>SCENE I.</TITLE>"
                             "<SPEECH><SPEAKER>A</SPEAKER><LINE>x</LINE></SPEECH>"
                             "</SCENE></ACT>";

} // namespace

class TestPlayXml : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixtureGivesActsScenesAndSpeechesInOrder()
    {
        QString error;
        const std::optional<PlayDocument> play = ParsePlayXml(FixtureXml(), &error);
        QVERIFY2(play, qPrintable(error));
        QCOMPARE(play->title, QStringLiteral("The Tragedy of the Lost Key"));
        QCOMPARE(play->frontMatter.size(), 2);
        QCOMPARE(play->acts.size(), 2);
        QCOMPARE(play->acts.at(0).title, QStringLiteral("ACT I"));
        QCOMPARE(play->acts.at(0).scenes.size(), 2);
        QCOMPARE(play->acts.at(1).scenes.size(), 1);
        const PlayScene &first = play->acts.at(0).scenes.at(0);
        // Scene-level events: entrance, 2 speeches, a direction, 2 speeches, exit.
        QCOMPARE(first.events.size(), 7);
        QVERIFY(!first.events.at(0).isSpeech);
        QVERIFY(first.events.at(1).isSpeech);
        QCOMPARE(first.events.at(5).speech.speakers,
                 (QStringList{QStringLiteral("ROSE"), QStringLiteral("TOBIAS")}));
    }

    void headingsKeepTheEditionsDoubleBlank()
    {
        const std::optional<PlayDocument> play = ParsePlayXml(FixtureXml(), nullptr);
        QVERIFY(play);
        QCOMPARE(play->acts.at(0).scenes.at(0).title, QStringLiteral("SCENE I.  A street."));
        QCOMPARE(play->sceneDescription, QStringLiteral("SCENE  A town and its castle."));
    }

    void wrappedDirectionIsCollapsedToOneLine()
    {
        const std::optional<PlayDocument> play = ParsePlayXml(FixtureXml(), nullptr);
        QVERIFY(play);
        QCOMPARE(play->acts.at(0).scenes.at(0).events.at(0).direction,
                 QStringLiteral("Enter ROSE and TOBIAS"));
    }

    void inlineDirectionIsAPieceOfItsLineAndTheTextIsTrimmed()
    {
        const std::optional<PlayDocument> play = ParsePlayXml(FixtureXml(), nullptr);
        QVERIFY(play);
        const Speech &rose = play->acts.at(0).scenes.at(0).events.at(1).speech;
        QCOMPARE(rose.items.size(), 3);
        const QList<LinePiece> &pieces = rose.items.at(2).pieces;
        QCOMPARE(pieces.size(), 2);
        QVERIFY(pieces.at(0).direction);
        QCOMPARE(pieces.at(0).text, QStringLiteral("Aside"));
        QVERIFY(!pieces.at(1).direction);
        QCOMPARE(pieces.at(1).text, QStringLiteral("He hides it, I am sure."));
    }

    void speechKeepsDirectionsAndSongHeadingsInPlace()
    {
        const std::optional<PlayDocument> play = ParsePlayXml(FixtureXml(), nullptr);
        QVERIFY(play);
        const Speech &lily = play->acts.at(0).scenes.at(1).events.at(1).speech;
        QCOMPARE(lily.items.size(), 5);
        QCOMPARE(lily.items.at(1).kind, SpeechItem::Direction);
        QCOMPARE(lily.items.at(1).text, QStringLiteral("Music"));
        QCOMPARE(lily.items.at(2).kind, SpeechItem::Subhead);
        QCOMPARE(lily.items.at(2).text, QStringLiteral("SONG."));
        QCOMPARE(lily.items.at(3).kind, SpeechItem::Line);
    }

    void entityIsDecoded()
    {
        const std::optional<PlayDocument> play = ParsePlayXml(FixtureXml(), nullptr);
        QVERIFY(play);
        const Speech &guard = play->acts.at(0).scenes.at(1).events.at(3).speech;
        QCOMPARE(guard.items.at(0).pieces.at(0).text, QStringLiteral("My lord & lady, the key!"));
    }

    void groupDescriptionGoesToItsMembersOnly()
    {
        const std::optional<PlayDocument> play = ParsePlayXml(FixtureXml(), nullptr);
        QVERIFY(play);
        QCOMPARE(play->personae.size(), 5);
        QCOMPARE(play->personae.at(0).text, QStringLiteral("The DUKE OF ARDEN."));
        QCOMPARE(play->personae.at(0).groupDescription, QString());
        QCOMPARE(play->personae.at(1).groupDescription, QStringLiteral("the two sisters."));
        QCOMPARE(play->personae.at(2).groupDescription, QStringLiteral("the two sisters."));
        QCOMPARE(play->personae.at(3).groupDescription, QString());
    }

    void damagedOrUnknownMarkupIsRefused_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("not xml") << QByteArray("ACT I\r\nSCENE I.\r\n");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("root is not PLAY") << QByteArray("<BOOK><TITLE>T</TITLE></BOOK>");
        QTest::newRow("truncated") << Play(OneScene).left(120);
        QTest::newRow("garbage after the play") << Play(OneScene) + "<PLAY>";
        QTest::newRow("no act") << Play("");
        QTest::newRow("act without scene") << Play("<ACT><TITLE>ACT I</TITLE></ACT>");
        QTest::newRow("prologue would be lost")
            << Play("<PROLOGUE><TITLE>PROLOGUE</TITLE></PROLOGUE>") + OneScene;
        QTest::newRow("speech without speaker")
            << Play("<ACT><TITLE>ACT I</TITLE><SCENE><TITLE>SCENE I.</TITLE>"
                    "<SPEECH><LINE>x</LINE></SPEECH></SCENE></ACT>");
        QTest::newRow("empty speaker")
            << Play("<ACT><TITLE>ACT I</TITLE><SCENE><TITLE>SCENE I.</TITLE>"
                    "<SPEECH><SPEAKER> </SPEAKER><LINE>x</LINE></SPEECH></SCENE></ACT>");
        QTest::newRow("foreign element inside a line")
            << Play("<ACT><TITLE>ACT I</TITLE><SCENE><TITLE>SCENE I.</TITLE>"
                    "<SPEECH><SPEAKER>A</SPEAKER><LINE>x <B>y</B></LINE></SPEECH>"
                    "</SCENE></ACT>");
        QTest::newRow("element inside a title")
            << Play("<ACT><TITLE>ACT <I>I</I></TITLE><SCENE><TITLE>SCENE I.</TITLE>"
                    "<SPEECH><SPEAKER>A</SPEAKER><LINE>x</LINE></SPEECH></SCENE></ACT>");
        QTest::newRow("undeclared entity")
            << Play("<ACT><TITLE>ACT I</TITLE><SCENE><TITLE>SCENE I.</TITLE>"
                    "<SPEECH><SPEAKER>A</SPEAKER><LINE>x &nbsp; y</LINE></SPEECH>"
                    "</SCENE></ACT>");
    }
    void damagedOrUnknownMarkupIsRefused()
    {
        QFETCH(QByteArray, xml);
        QString error;
        QVERIFY(!ParsePlayXml(xml, &error));
        QVERIFY2(error.startsWith(QLatin1String("line ")), qPrintable(error));
    }

    void externalEntityIsNeverRead()
    {
        const QByteArray xml = "<?xml version=\"1.0\"?>\n"
                               "<!DOCTYPE PLAY [<!ENTITY secret SYSTEM \"/etc/hostname\">]>\n"
                               "<PLAY><TITLE>T</TITLE><ACT><TITLE>ACT I</TITLE><SCENE>"
                               "<TITLE>SCENE I.</TITLE><SPEECH><SPEAKER>A</SPEAKER>"
                               "<LINE>&secret;</LINE></SPEECH></SCENE></ACT></PLAY>";
        const std::optional<PlayDocument> play = ParsePlayXml(xml, nullptr);
        if (!play)
            return; // refusing it is as good
        const SpeechItem &line = play->acts.at(0).scenes.at(0).events.at(0).speech.items.at(0);
        QVERIFY(line.pieces.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPlayXml)
#include "tst_playxml.moc"
