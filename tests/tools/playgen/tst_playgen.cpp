// The play generator: what the XML reader refuses or places, the cast it
// builds, the play text it writes, and the files it stores.

#include "core/playimport/PlayCast.h"
#include "core/playimport/PlayTextWriter.h"
#include "core/playimport/PlayXml.h"

#include "ConvertedStore.h"
#include "TestFiles.h"
#include "ToolRunner.h"
#include "core/playimport/PlayFiles.h"

#include <QTest>

using namespace tiradex;

namespace {

// The hand-written play of tests/data/playgen: an inline direction, two
// speakers at once, a song heading, an alias ("LADY ROSE" is ROSE), a
// collective persona, a speaker the cast list lacks, lines that equal a
// character's name and lines starting with "ACT" and "SCENE".
QByteArray FixtureXml()
{
    return ReadTestFile(QStringLiteral(TIRADEX_TEST_DATA_DIR "/playgen/fixture.xml"));
}

QList<SpeakerRule> FixtureRules()
{
    return {
        {"DUKE", nullptr, "The DUKE OF ARDEN", nullptr},
        {"LADY ROSE", "ROSE", "ROSE", nullptr},
        {"Guard", nullptr, "Guards, Musicians", "a guard of the castle"},
    };
}

// A play of `acts` acts of `scenes` scenes "SCENE I." each holding one
// speech of line "x" per entry of `speeches`, spoken by its speakers.
PlayDocument PlayOf(const QList<QStringList> &speeches, int acts = 1, int scenes = 1)
{
    PlayScene scene;
    scene.title = QStringLiteral("SCENE I.");
    for (const QStringList &speakers : speeches) {
        SceneEvent event;
        event.isSpeech = true;
        event.speech.speakers = speakers;
        event.speech.items.append({SpeechItem::Line, QString(), {{false, QStringLiteral("x")}}});
        scene.events.append(event);
    }
    PlayDocument play;
    for (int a = 1; a <= acts; ++a)
        play.acts.append({QStringLiteral("ACT %1").arg(a), QList<PlayScene>(scenes, scene)});
    return play;
}

QByteArray Play(const QByteArray &body)
{
    return QByteArray("<?xml version=\"1.0\"?>\n<PLAY><TITLE>T</TITLE>") + body +
           QByteArray("</PLAY>\n");
}

// A play of one act of one scene holding `body`.
QByteArray InScene(const QByteArray &body)
{
    return Play("<ACT><TITLE>ACT I</TITLE><SCENE><TITLE>SCENE I.</TITLE>" + body +
                "</SCENE></ACT>");
}

const char *const OneScene = "<ACT><TITLE>ACT I</TITLE><SCENE><TITLE>SCENE I.</TITLE>"
                             "<SPEECH><SPEAKER>A</SPEAKER><LINE>x</LINE></SPEECH>"
                             "</SCENE></ACT>";

// "NAME=status" of each entry, in order.
QStringList Entries(const PlayCast &cast)
{
    QStringList entries;
    for (const CastEntry &entry : cast.entries)
        entries << entry.name + QLatin1Char('=') + entry.status;
    return entries;
}

PlayCast CastOfA()
{
    PlayCast cast;
    cast.entries.append({QStringLiteral("A"), QStringLiteral("a")});
    cast.entryOfSpeakers.insert(QStringLiteral("A"), QStringLiteral("A"));
    return cast;
}

} // namespace

class TestPlaygen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void damagedOrUnknownMarkupIsRefused_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::newRow("not xml") << QByteArray("ACT I\r\nSCENE I.\r\n");
        QTest::newRow("root is not PLAY") << QByteArray("<BOOK><TITLE>T</TITLE></BOOK>");
        QTest::newRow("truncated") << Play(OneScene).left(120);
        QTest::newRow("garbage after the play") << Play(OneScene) + "<PLAY>";
        QTest::newRow("no act") << Play("");
        QTest::newRow("act without scene") << Play("<ACT><TITLE>ACT I</TITLE></ACT>");
        QTest::newRow("unknown play-level element")
            << Play("<APPENDIX><TITLE>NOTES</TITLE></APPENDIX>" + QByteArray(OneScene));
        QTest::newRow("speech without speaker") << InScene("<SPEECH><LINE>x</LINE></SPEECH>");
        QTest::newRow("empty speaker")
            << InScene("<SPEECH><SPEAKER> </SPEAKER><LINE>x</LINE></SPEECH>");
        QTest::newRow("foreign element inside a line")
            << InScene("<SPEECH><SPEAKER>A</SPEAKER><LINE>x <B>y</B></LINE></SPEECH>");
        QTest::newRow("element inside a title")
            << Play("<ACT><TITLE>ACT <I>I</I></TITLE><SCENE><TITLE>SCENE I.</TITLE>"
                    "<SPEECH><SPEAKER>A</SPEAKER><LINE>x</LINE></SPEECH></SCENE></ACT>");
        QTest::newRow("undeclared entity")
            << InScene("<SPEECH><SPEAKER>A</SPEAKER><LINE>x &nbsp; y</LINE></SPEECH>");
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
            << InScene(speech + QByteArray("<SUBHEAD>SONG</SUBHEAD>") + speech)
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

    // Each row: persona text | its group's description | head | status.
    void personaHeadAndStatus_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("several commas") << "TUBAL, a Jew, his friend.||TUBAL|a Jew, his friend";
        QTest::newRow("name alone") << "LADY FAULCONBRIDGE||LADY FAULCONBRIDGE|LADY FAULCONBRIDGE";
        QTest::newRow("final stop of a bare name")
            << "The DUKE OF VENICE.||The DUKE OF VENICE|The DUKE OF VENICE";
        QTest::newRow("group member") << "SALANIO|friends to Antonio and Bassanio.|SALANIO|"
                                         "one of the friends to Antonio and Bassanio";
        QTest::newRow("group with leading the")
            << "PROTEUS|the two Gentlemen.|PROTEUS|one of the two Gentlemen";
        QTest::newRow("own description and group")
            << "ROSE, the elder.|the two sisters.|ROSE|the elder, one of the two sisters";
    }
    void personaHeadAndStatus()
    {
        QFETCH(QString, row);
        const QStringList field = row.split(QLatin1Char('|'));
        QCOMPARE(PersonaHead(field.at(0)) + "|" + PersonaStatus({field.at(0), field.at(1)}),
                 row.section('|', 2));
    }

    // The speakers ("|" between them), the cast list's personae and the
    // rules; the first entry "NAME=status", or "!" and a part of the error.
    void speakerFindsItsPersona_data()
    {
        QTest::addColumn<QString>("speakers");
        QTest::addColumn<QStringList>("personae");
        QTest::addColumn<QList<SpeakerRule>>("rules");
        QTest::addColumn<QString>("entry");
        const QList<SpeakerRule> none;
        QTest::newRow("alias shows the persona's own name")
            << "KING PHILIP" << QStringList{"PHILIP, King of France."}
            << QList<SpeakerRule>{{"KING PHILIP", nullptr, "PHILIP, King", nullptr}}
            << "KING PHILIP=PHILIP, King of France";
        QTest::newRow("part of a name is not its persona")
            << "GOBBO" << QStringList{"LAUNCELOT GOBBO, the clown.", "OLD GOBBO, his father."}
            << none << "GOBBO=" + UndescribedSpeakerStatus();
        QTest::newRow("speaker's letter case does not hide its persona")
            << "Host" << QStringList{"HOST, where Julia lodges."} << none
            << "HOST=where Julia lodges";
        QTest::newRow("quote in a status becomes an apostrophe")
            << "A" << QStringList{}
            << QList<SpeakerRule>{{"A", nullptr, nullptr, "the \"good\" one"}}
            << "A=the 'good' one";
        QTest::newRow("rule naming a missing persona fails")
            << "BASTARD" << QStringList{}
            << QList<SpeakerRule>{{"BASTARD", nullptr, "PHILIP the BASTARD", nullptr}}
            << "!PHILIP the BASTARD";
        QTest::newRow("reads as an act heading") << "ACTOR" << QStringList{} << none << "!";
        QTest::newRow("reads as a scene heading") << "SCENEKEEPER" << QStringList{} << none << "!";
        QTest::newRow("path separator") << "A/B" << QStringList{} << none << "!";
        QTest::newRow("backslash") << "A\\B" << QStringList{} << none << "!";
        QTest::newRow("dot dot") << ".." << QStringList{} << none << "!";
        QTest::newRow("too long for a file name")
            << QString(201, QLatin1Char('A')) << QStringList{} << none << "!";
        QTest::newRow("same but for case as another entry")
            << "A|B" << QStringList{} << QList<SpeakerRule>{{"B", "a", nullptr, "x"}} << "!";
    }
    void speakerFindsItsPersona()
    {
        QFETCH(QString, speakers);
        QFETCH(QStringList, personae);
        QFETCH(QList<SpeakerRule>, rules);
        QFETCH(QString, entry);
        QList<QStringList> speeches;
        for (const QString &speaker : speakers.split(QLatin1Char('|')))
            speeches.append({speaker});
        PlayDocument play = PlayOf(speeches);
        for (const QString &persona : personae)
            play.personae.append({persona, QString()});
        QString error;
        const std::optional<PlayCast> built = BuildCast(play, rules, &error);
        if (entry.startsWith(QLatin1Char('!'))) {
            QVERIFY2(!built && !error.isEmpty() && error.contains(entry.mid(1)), qPrintable(error));
            return;
        }
        QVERIFY2(built, qPrintable(error));
        const bool undescribed = entry.endsWith(UndescribedSpeakerStatus());
        QCOMPARE(Entries(*built) + built->undescribedSpeakers,
                 QStringList{entry} + (undescribed ? QStringList{speakers} : QStringList()));
    }

    void fixtureMatchesTheHandWrittenText()
    {
        QString error;
        const std::optional<PlayDocument> play = ParsePlayXml(FixtureXml(), &error);
        QVERIFY2(play, qPrintable(error));
        const std::optional<PlayCast> cast = BuildCast(*play, FixtureRules(), &error);
        QVERIFY2(cast, qPrintable(error));
        const std::optional<WrittenPlayText> text = WritePlayText(*play, *cast, &error);
        QVERIFY2(text, qPrintable(error));

        QCOMPARE(text->lines.join('\n') + '\n',
                 QString::fromUtf8(ReadTestFile(TIRADEX_TEST_DATA_DIR "/playgen/fixture.txt")));
        // "Tobias", the two capital starts, the quote, "Lily", "All".
        QCOMPARE(text->fixedLines, 6);
    }

    void linesEndWithCrLf()
    {
        QCOMPARE(JoinLinesCrLf({QStringLiteral("ACT I"), QString(), QStringLiteral("\u00e9")}),
                 QByteArray("ACT I\r\n\r\n\xc3\xa9\r\n"));
    }

    void renderLineBracketsDirectionsWherever_data()
    {
        QTest::addColumn<QList<LinePiece>>("pieces");
        QTest::addColumn<QString>("line");
        QTest::newRow("at the start")
            << QList<LinePiece>{{true, "Aside"}, {false, "How like"}} << "[Aside] How like";
        QTest::newRow("in the middle")
            << QList<LinePiece>{{false, "Go,"}, {true, "Kneels"}, {false, "and pray."}}
            << "Go, [Kneels] and pray.";
        QTest::newRow("alone") << QList<LinePiece>{{true, "Reads"}} << "[Reads]";
        QTest::newRow("empty pieces dropped")
            << QList<LinePiece>{{false, ""}, {false, "x"}, {true, ""}} << "x";
    }
    void renderLineBracketsDirectionsWherever()
    {
        QFETCH(QList<LinePiece>, pieces);
        QFETCH(QString, line);
        QCOMPARE(RenderLine(pieces), line);
    }

    // Each row: the line | the line made safe. The fixture's golden text holds
    // lines that equal a name in any case, start with "ACT" or "SCENE" or
    // hold a double quote.
    void safeTextLineOnlyTouchesLinesTheConversionWouldMisread_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("starts with a name") << "Antonio, you are sad|Antonio, you are sad";
        QTest::newRow("equals a two-word name") << "king john|king john--";
        QTest::newRow("act in other case") << "Act well|Act well";
        QTest::newRow("scene in other case") << "Scene of it|Scene of it";
    }
    void safeTextLineOnlyTouchesLinesTheConversionWouldMisread()
    {
        QFETCH(QString, row);
        const QString line = row.section(QLatin1Char('|'), 0, 0);
        bool changed = true;
        const QString safe = SafeTextLine(line, {"GRATIANO", "KING JOHN"}, &changed);
        QCOMPARE(line + "|" + safe + (changed ? " changed" : ""),
                 row + (row.section('|', 1) != line ? " changed" : ""));
    }

    // A one-scene play of speaker A changed as the row says, and a line the
    // text must hold ("!" and a part of the error when it must fail).
    void unusualScenesAreWrittenReadably_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("expected");
        // Two character lines in a row would leave a reply number unused.
        QTest::newRow("speech without text gets a line") << "empty speech"
                                                         << "A|[...]";
        QTest::newRow("scene without speeches keeps its directions in the heading")
            << "directions only"
            << "SCENE I. [Alarums]";
        QTest::newRow("headings without their keywords get them")
            << "bare titles"
            << "ACT The first act||SCENE Elsinore";
        QTest::newRow("unknown speaker fails") << "unknown speaker"
                                               << "!B";
    }
    void unusualScenesAreWrittenReadably()
    {
        QFETCH(QString, change);
        QFETCH(QString, expected);
        PlayDocument play =
            PlayOf(QList<QStringList>(change == QLatin1String("directions only") ? 0 : 2, {"A"}));
        PlayScene &scene = play.acts[0].scenes[0];
        if (change == QLatin1String("empty speech")) {
            scene.events[0].speech.items.clear();
        } else if (change == QLatin1String("directions only")) {
            SceneEvent direction;
            direction.direction = QStringLiteral("Alarums");
            scene.events.append(direction);
        } else if (change == QLatin1String("bare titles")) {
            play.acts[0].title = QStringLiteral("The first act");
            scene.title = QStringLiteral("Elsinore");
        } else {
            scene.events[1].speech.speakers = QStringList{QStringLiteral("B")};
        }
        QString error;
        const std::optional<WrittenPlayText> text = WritePlayText(play, CastOfA(), &error);
        if (expected.startsWith(QLatin1Char('!'))) {
            QVERIFY2(!text && error.contains(expected.mid(1)), qPrintable(error));
            return;
        }
        QVERIFY2(text, qPrintable(error));
        QVERIFY2(text->lines.join(QLatin1Char('|')).contains(expected),
                 qPrintable(text->lines.join(QLatin1Char('|'))));
    }

    void playsTheSceneStoreCannotNumberAreRefused_data()
    {
        QTest::addColumn<int>("acts");
        QTest::addColumn<int>("scenes");
        QTest::addColumn<int>("speeches");
        QTest::addColumn<bool>("fits");
        QTest::newRow("99 acts") << 99 << 1 << 1 << true;
        QTest::newRow("100 acts") << 100 << 1 << 1 << false;
        QTest::newRow("99 scenes") << 1 << 99 << 1 << true;
        QTest::newRow("100 scenes") << 1 << 100 << 1 << false;
        QTest::newRow("9999 speeches") << 1 << 1 << 9999 << true;
        QTest::newRow("10000 speeches") << 1 << 1 << 10000 << false;
    }
    void playsTheSceneStoreCannotNumberAreRefused()
    {
        QFETCH(int, acts);
        QFETCH(int, scenes);
        QFETCH(int, speeches);
        QFETCH(bool, fits);
        QString error;
        QCOMPARE(bool(WritePlayText(PlayOf(QList<QStringList>(speeches, {"A"}), acts, scenes),
                                    CastOfA(), &error)),
                 fits);
        QCOMPARE(error.isEmpty(), fits);
    }

    // The written files decipher and convert.
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
        QCOMPARE(store.characters.statuses.mid(4),
                 (QStringList{"spoken together by ROSE and TOBIAS", "a guard of the castle",
                              "not named in the cast list"}));
        QCOMPARE(QList<qsizetype>({store.replies.size(), store.headings.size()}),
                 (QList<qsizetype>{10, 3}));
    }

    void playCodeThatLeavesTheFolderIsRefused_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("parent") << QStringLiteral("../escaped");
        QTest::newRow("empty") << QString();
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

QTEST_GUILESS_MAIN(TestPlaygen)
#include "tst_playgen.moc"
