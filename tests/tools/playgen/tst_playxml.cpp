// The fixture play's parsing is checked through its generated text
// (tst_playtext); here, what the reader must refuse.

#include "PlayXml.h"

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
    void smallestPlayIsRead()
    {
        QString error;
        const std::optional<PlayDocument> play = ParsePlayXml(Play(OneScene), &error);
        QVERIFY2(play, qPrintable(error));
        QCOMPARE(play->acts.at(0).scenes.at(0).events.size(), 1);
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
