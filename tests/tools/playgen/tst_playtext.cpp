#include "core/playimport/PlayCast.h"
#include "core/playimport/PlayTextWriter.h"
#include "core/playimport/PlayXml.h"

#include "PlaygenFixture.h"

#include <QTest>

namespace {

PlayScene SceneOf(int speeches)
{
    PlayScene scene;
    scene.title = QStringLiteral("SCENE I.");
    for (int i = 0; i < speeches; ++i) {
        SceneEvent event;
        event.isSpeech = true;
        event.speech.speakers = QStringList{QStringLiteral("A")};
        SpeechItem line;
        line.pieces = {{false, QStringLiteral("x")}};
        event.speech.items.append(line);
        scene.events.append(event);
    }
    return scene;
}

PlayDocument PlayOf(int acts, int scenesPerAct, int speechesPerScene)
{
    PlayDocument play;
    for (int a = 0; a < acts; ++a) {
        PlayAct act;
        act.title = QStringLiteral("ACT %1").arg(a + 1);
        for (int s = 0; s < scenesPerAct; ++s)
            act.scenes.append(SceneOf(speechesPerScene));
        play.acts.append(act);
    }
    return play;
}

PlayCast CastOfA()
{
    PlayCast cast;
    cast.entries.append({QStringLiteral("A"), QStringLiteral("a")});
    cast.entryOfSpeakers.insert(QStringLiteral("A"), QStringLiteral("A"));
    return cast;
}

} // namespace

class TestPlayText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixtureMatchesTheHandWrittenText()
    {
        QString error;
        const std::optional<PlayDocument> play = ParsePlayXml(FixtureXml(), &error);
        QVERIFY2(play, qPrintable(error));
        const std::optional<PlayCast> cast = BuildCast(*play, FixtureRules(), &error);
        QVERIFY2(cast, qPrintable(error));
        const std::optional<PlayTextResult> text = WritePlayText(*play, *cast, &error);
        QVERIFY2(text, qPrintable(error));

        const QStringList expected =
            QString::fromUtf8(PlaygenDataFile(QStringLiteral("fixture.txt")))
                .split(QLatin1Char('\n'));
        QStringList got = text->lines;
        got.append(QString()); // the golden file ends with a line end
        for (qsizetype i = 0; i < qMin(got.size(), expected.size()); ++i)
            QCOMPARE(got.at(i), expected.at(i));
        QCOMPARE(got.size(), expected.size());
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

    void safeTextLineOnlyTouchesLinesTheConversionWouldMisread_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("safe");
        QTest::newRow("plain") << "In sooth, I know not why I am so sad:"
                               << "In sooth, I know not why I am so sad:";
        QTest::newRow("starts with a name") << "Antonio, you are sad"
                                            << "Antonio, you are sad";
        QTest::newRow("name and punctuation") << "Gratiano!"
                                              << "Gratiano!";
        QTest::newRow("equals a name") << "Gratiano"
                                       << "Gratiano--";
        QTest::newRow("equals a name in other case") << "gRaTiAnO"
                                                     << "gRaTiAnO--";
        QTest::newRow("equals a two-word name") << "king john"
                                                << "king john--";
        QTest::newRow("capital ACT") << "ACTION is eloquence"
                                     << " ACTION is eloquence";
        QTest::newRow("capital SCENE") << "SCENES past"
                                       << " SCENES past";
        QTest::newRow("act in other case") << "Act well"
                                           << "Act well";
        QTest::newRow("scene in other case") << "Scene of it"
                                             << "Scene of it";
        QTest::newRow("double quote") << "say \"no\""
                                      << "say 'no'";
    }
    void safeTextLineOnlyTouchesLinesTheConversionWouldMisread()
    {
        QFETCH(QString, line);
        QFETCH(QString, safe);
        const QStringList entries = {QStringLiteral("GRATIANO"), QStringLiteral("KING JOHN")};
        bool changed = true;
        QCOMPARE(SafeTextLine(line, entries, &changed), safe);
        QCOMPARE(changed, safe != line);
    }

    void speechWithoutTextStillGetsALine()
    {
        // Two character lines in a row would leave a reply number unused.
        PlayDocument play = PlayOf(1, 1, 2);
        play.acts[0].scenes[0].events[0].speech.items.clear();
        const std::optional<PlayTextResult> text = WritePlayText(play, CastOfA(), nullptr);
        QVERIFY(text);
        const qsizetype first = text->lines.indexOf(QStringLiteral("A"));
        QVERIFY(first > 0);
        QCOMPARE(text->lines.at(first + 1), QStringLiteral("[...]"));
    }

    void sceneWithoutSpeechesKeepsItsDirectionsInTheHeading()
    {
        PlayDocument play = PlayOf(1, 1, 0);
        SceneEvent direction;
        direction.direction = QStringLiteral("Alarums");
        play.acts[0].scenes[0].events.append(direction);
        const std::optional<PlayTextResult> text = WritePlayText(play, CastOfA(), nullptr);
        QVERIFY(text);
        QCOMPARE(text->lines.last(), QStringLiteral("SCENE I. [Alarums]"));
    }

    void headingsWithoutTheirKeywordGetIt()
    {
        PlayDocument play = PlayOf(1, 1, 1);
        play.acts[0].title = QStringLiteral("The first act");
        play.acts[0].scenes[0].title = QStringLiteral("Elsinore");
        const std::optional<PlayTextResult> text = WritePlayText(play, CastOfA(), nullptr);
        QVERIFY(text);
        QVERIFY(text->lines.contains(QStringLiteral("ACT The first act")));
        QVERIFY(text->lines.contains(QStringLiteral("SCENE Elsinore")));
    }

    void unknownSpeakerFails()
    {
        PlayDocument play = PlayOf(1, 1, 1);
        play.acts[0].scenes[0].events[0].speech.speakers = QStringList{QStringLiteral("B")};
        QString error;
        QVERIFY(!WritePlayText(play, CastOfA(), &error));
        QVERIFY2(error.contains(QLatin1String("B")), qPrintable(error));
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
        QCOMPARE(bool(WritePlayText(PlayOf(acts, scenes, speeches), CastOfA(), &error)), fits);
        QCOMPARE(error.isEmpty(), fits);
    }
};

QTEST_GUILESS_MAIN(TestPlayText)
#include "tst_playtext.moc"
