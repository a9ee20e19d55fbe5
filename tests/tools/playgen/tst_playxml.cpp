// The fixture play's parsing is checked through its generated text
// (tst_playtext); here, what the reader must refuse.

#include "core/playimport/PlayXml.h"

#include <QTest>

using namespace tiradex;

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
        QTest::newRow("unknown play-level element")
            << Play("<APPENDIX><TITLE>NOTES</TITLE></APPENDIX>") + OneScene;
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
        QVERIFY2(!ParsePlayXml(xml, &error) && error.startsWith(QLatin1String("line ")),
                 qPrintable(error));
    }

    // Where the parts outside the acts land: title of each scene, act by act.
    void prologueEpilogueAndInductionBecomeScenes_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QStringList>("scenes");
        const char *speech = "<SPEECH><SPEAKER>A</SPEAKER><LINE>x</LINE></SPEECH>";
        const QByteArray prologue =
            QByteArray("<PROLOGUE><TITLE>PROLOGUE</TITLE>") + speech + "</PROLOGUE>";
        QTest::newRow("prologue before the first act")
            << Play(prologue + OneScene) << QStringList{"1 PROLOGUE", "1 SCENE I."};
        QTest::newRow("epilogue after the last act, without title")
            << Play(QByteArray(OneScene) + OneScene + "<EPILOGUE>" + speech + "</EPILOGUE>")
            << QStringList{"1 SCENE I.", "2 SCENE I.", "2 EPILOGUE"};
        QTest::newRow("prologue inside an act stays where it stands")
            << Play(QByteArray("<ACT><TITLE>ACT I</TITLE><SCENE><TITLE>SCENE I.</TITLE>") + speech +
                    "</SCENE>" + prologue + "</ACT>")
            << QStringList{"1 SCENE I.", "1 PROLOGUE"};
        QTest::newRow("induction scenes open the first act")
            << Play(QByteArray("<INDUCT><TITLE>INDUCTION</TITLE><SCENE><TITLE>SCENE I.</TITLE>") +
                    speech + "</SCENE></INDUCT>" + OneScene)
            << QStringList{"1 INDUCTION. SCENE I.", "1 SCENE I."};
        QTest::newRow("subhead between speeches")
            << Play(QByteArray("<ACT><TITLE>ACT I</TITLE><SCENE><TITLE>SCENE I.</TITLE>") + speech +
                    "<SUBHEAD>SONG</SUBHEAD>" + speech + "</SCENE></ACT>")
            << QStringList{"1 SCENE I."};
    }
    void prologueEpilogueAndInductionBecomeScenes()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QStringList, scenes);
        QString error;
        const std::optional<PlayDocument> play = ParsePlayXml(xml, &error);
        QVERIFY2(play, qPrintable(error));
        QStringList titles;
        int events = 0;
        for (qsizetype a = 0; a < play->acts.size(); ++a) {
            for (const PlayScene &scene : play->acts.at(a).scenes) {
                titles << QStringLiteral("%1 %2").arg(a + 1).arg(scene.title);
                events += int(scene.events.size());
            }
        }
        QCOMPARE(titles, scenes);
        // Nothing dropped: every speech and direction is an event.
        QCOMPARE(events, int(xml.count("<SPEECH>") + xml.count("<SUBHEAD>")));
    }

    void externalEntityIsNeverRead()
    {
        const QByteArray xml = "<?xml version=\"1.0\"?>\n"
                               "<!DOCTYPE PLAY [<!ENTITY secret SYSTEM \"/etc/hostname\">]>\n"
                               "<PLAY><TITLE>T</TITLE><ACT><TITLE>ACT I</TITLE><SCENE>"
                               "<TITLE>SCENE I.</TITLE><SPEECH><SPEAKER>A</SPEAKER>"
                               "<LINE>&secret;</LINE></SPEECH></SCENE></ACT></PLAY>";
        // Refusing it is as good as reading nothing.
        const std::optional<PlayDocument> play = ParsePlayXml(xml, nullptr);
        QVERIFY(!play ||
                play->acts.at(0).scenes.at(0).events.at(0).speech.items.at(0).pieces.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPlayXml)
#include "tst_playxml.moc"
