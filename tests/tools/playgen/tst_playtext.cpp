#include "core/playimport/PlayCast.h"
#include "core/playimport/PlayTextWriter.h"
#include "core/playimport/PlayXml.h"

#include "PlaygenFixture.h"

#include <QTest>

using namespace tiradex;

namespace {

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
        const std::optional<WrittenPlayText> text = WritePlayText(*play, *cast, &error);
        QVERIFY2(text, qPrintable(error));

        QCOMPARE(text->lines.join('\n') + '\n',
                 QString::fromUtf8(PlaygenDataFile(QStringLiteral("fixture.txt"))));
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

    // Each row: the line | the line made safe.
    void safeTextLineOnlyTouchesLinesTheConversionWouldMisread_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("plain") << "In sooth, I know not why|In sooth, I know not why";
        QTest::newRow("starts with a name") << "Antonio, you are sad|Antonio, you are sad";
        QTest::newRow("name and punctuation") << "Gratiano!|Gratiano!";
        QTest::newRow("equals a name") << "Gratiano|Gratiano--";
        QTest::newRow("equals a name in other case") << "gRaTiAnO|gRaTiAnO--";
        QTest::newRow("equals a two-word name") << "king john|king john--";
        QTest::newRow("capital ACT") << "ACTION is eloquence| ACTION is eloquence";
        QTest::newRow("capital SCENE") << "SCENES past| SCENES past";
        QTest::newRow("act in other case") << "Act well|Act well";
        QTest::newRow("scene in other case") << "Scene of it|Scene of it";
        QTest::newRow("double quote") << "say \"no\"|say 'no'";
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
        QTest::newRow("act heading without its keyword gets it") << "bare titles"
                                                                 << "ACT The first act";
        QTest::newRow("scene heading without its keyword gets it") << "bare titles"
                                                                   << "SCENE Elsinore";
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
};

QTEST_GUILESS_MAIN(TestPlayText)
#include "tst_playtext.moc"
