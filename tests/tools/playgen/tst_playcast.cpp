#include "core/playimport/PlayCast.h"
#include "core/playimport/PlayXml.h"

#include "PlaygenFixture.h"

#include <QTest>

using namespace tiradex;

namespace {

// "NAME=status" of each entry, in order.
QStringList Entries(const PlayCast &cast)
{
    QStringList entries;
    for (const CastEntry &entry : cast.entries)
        entries << entry.name + QLatin1Char('=') + entry.status;
    return entries;
}

} // namespace

class TestPlayCast : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixtureCastFollowsTheCastListOrder()
    {
        QString error;
        const std::optional<PlayCast> cast = BuildCast(
            ParsePlayXml(FixtureXml(), nullptr).value_or(PlayDocument()), FixtureRules(), &error);
        QVERIFY2(cast, qPrintable(error));
        // Cast list order; the combined entry after its last member; the
        // collective persona's speaker; then the speaker no persona names.
        QCOMPARE(
            Entries(*cast) + cast->undescribedSpeakers,
            (QStringList{"DUKE=The DUKE OF ARDEN", "ROSE=one of the two sisters",
                         "LILY=one of the two sisters", "TOBIAS=a locksmith, her suitor",
                         "ROSE AND TOBIAS=spoken together by ROSE and TOBIAS",
                         "GUARD=a guard of the castle", "ALL=not named in the cast list", "ALL"}));
    }

    // Each row: persona text | its group's description | head | status.
    void personaHeadAndStatus_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("name and description")
            << "ANTONIO, a merchant of Venice.||ANTONIO|a merchant of Venice";
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

    // One speaker, the cast list's personae and at most one rule; the entry
    // "NAME=status", or "!" and a part of the error.
    void speakerFindsItsPersona_data()
    {
        QTest::addColumn<QString>("speaker");
        QTest::addColumn<QStringList>("personae");
        QTest::addColumn<QStringList>("rule"); // speaker, entry, persona, status ("": none)
        QTest::addColumn<QString>("entry");
        QTest::newRow("alias shows the persona's own name")
            << "KING PHILIP" << QStringList{"PHILIP, King of France."}
            << QStringList{"KING PHILIP", "", "PHILIP, King", ""}
            << "KING PHILIP=PHILIP, King of France";
        QTest::newRow("part of a name is not its persona")
            << "GOBBO" << QStringList{"LAUNCELOT GOBBO, the clown.", "OLD GOBBO, his father."}
            << QStringList{} << "GOBBO=" + UndescribedSpeakerStatus();
        QTest::newRow("speaker's letter case does not hide its persona")
            << "Host" << QStringList{"HOST, where Julia lodges."} << QStringList{}
            << "HOST=where Julia lodges";
        QTest::newRow("quote in a status becomes an apostrophe")
            << "A" << QStringList{} << QStringList{"A", "", "", "the \"good\" one"}
            << "A=the 'good' one";
        QTest::newRow("rule naming a missing persona fails")
            << "BASTARD" << QStringList{} << QStringList{"BASTARD", "", "PHILIP the BASTARD", ""}
            << "!PHILIP the BASTARD";
    }
    void speakerFindsItsPersona()
    {
        QFETCH(QString, speaker);
        QFETCH(QStringList, personae);
        QFETCH(QStringList, rule);
        QFETCH(QString, entry);
        QList<Persona> cast;
        for (const QString &persona : personae)
            cast.append({persona, QString()});
        QList<QByteArray> ruleBytes;
        for (const QString &field : rule)
            ruleBytes << field.toUtf8();
        const auto field = [&ruleBytes](int k) {
            return ruleBytes.at(k).isEmpty() ? nullptr : ruleBytes.at(k).constData();
        };
        QList<SpeakerRule> rules;
        if (!rule.isEmpty())
            rules.append({field(0), field(1), field(2), field(3)});
        QString error;
        PlayDocument play = PlayOf({{speaker}});
        play.personae = cast;
        const std::optional<PlayCast> built = BuildCast(play, rules, &error);
        if (entry.startsWith(QLatin1Char('!'))) {
            QVERIFY2(!built && error.contains(entry.mid(1)), qPrintable(error));
            return;
        }
        QVERIFY2(built, qPrintable(error));
        QCOMPARE(Entries(*built) + built->undescribedSpeakers,
                 QStringList{entry} + (entry.endsWith(UndescribedSpeakerStatus())
                                           ? QStringList{speaker}
                                           : QStringList()));
    }

    void namesTheConversionCannotUseAreRefused_data()
    {
        QTest::addColumn<QStringList>("speakers");
        QTest::addColumn<QString>("entry");
        QTest::newRow("reads as an act heading") << QStringList{"ACTOR"} << QString();
        QTest::newRow("reads as a scene heading") << QStringList{"SCENEKEEPER"} << QString();
        QTest::newRow("path separator") << QStringList{"A/B"} << QString();
        QTest::newRow("backslash") << QStringList{"A\\B"} << QString();
        QTest::newRow("dot dot") << QStringList{".."} << QString();
        QTest::newRow("too long for a file name")
            << QStringList{QString(201, QLatin1Char('A'))} << QString();
        QTest::newRow("same but for case") << QStringList{"A", "B"} << QStringLiteral("a");
    }
    void namesTheConversionCannotUseAreRefused()
    {
        QFETCH(QStringList, speakers);
        QFETCH(QString, entry);
        QList<QStringList> speeches;
        for (const QString &speaker : speakers)
            speeches.append({speaker});
        // An entry given: a rule renames the last speaker to it.
        const QByteArray speakerBytes = speakers.last().toUtf8();
        const QByteArray entryBytes = entry.toUtf8();
        QList<SpeakerRule> rules;
        if (!entry.isEmpty())
            rules.append({speakerBytes.constData(), entryBytes.constData(), nullptr, "x"});
        QString error;
        QVERIFY(!BuildCast(PlayOf(speeches), rules, &error) && !error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPlayCast)
#include "tst_playcast.moc"
