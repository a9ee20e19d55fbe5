#include "core/playimport/PlayCast.h"
#include "core/playimport/PlayXml.h"

#include "PlaygenFixture.h"

#include <QTest>

namespace {

PlayDocument Fixture()
{
    return ParsePlayXml(FixtureXml(), nullptr).value_or(PlayDocument());
}

// A play of one scene whose speeches have the given speakers.
PlayDocument PlayOf(const QList<QStringList> &speeches, const QList<Persona> &personae = {})
{
    PlayScene scene;
    scene.title = QStringLiteral("SCENE I.");
    for (const QStringList &speakers : speeches) {
        SceneEvent event;
        event.isSpeech = true;
        event.speech.speakers = speakers;
        scene.events.append(event);
    }
    PlayAct act;
    act.title = QStringLiteral("ACT I");
    act.scenes.append(scene);
    PlayDocument play;
    play.personae = personae;
    play.acts.append(act);
    return play;
}

} // namespace

class TestPlayCast : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixtureCastFollowsTheCastListOrder()
    {
        QString error;
        const std::optional<PlayCast> cast = BuildCast(Fixture(), FixtureRules(), &error);
        QVERIFY2(cast, qPrintable(error));
        // Cast list order; the combined entry after its last member; the
        // collective persona's speaker; then the speaker no persona names.
        QCOMPARE(cast->names(), (QStringList{"DUKE", "ROSE", "LILY", "TOBIAS", "ROSE AND TOBIAS",
                                             "GUARD", "ALL"}));
        QStringList statuses;
        for (const CastEntry &entry : cast->entries)
            statuses << entry.status;
        QCOMPARE(statuses, (QStringList{"The DUKE OF ARDEN", "one of the two sisters",
                                        "one of the two sisters", "a locksmith, her suitor",
                                        "spoken together by ROSE and TOBIAS",
                                        "a guard of the castle", "not named in the cast list"}));
        QCOMPARE(cast->undescribedSpeakers, QStringList{"ALL"});
    }

    void personaHeadAndStatus_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("status");
        QTest::newRow("name and description") << "ANTONIO, a merchant of Venice."
                                              << ""
                                              << "ANTONIO"
                                              << "a merchant of Venice";
        QTest::newRow("several commas") << "TUBAL, a Jew, his friend."
                                        << ""
                                        << "TUBAL"
                                        << "a Jew, his friend";
        QTest::newRow("name alone") << "LADY FAULCONBRIDGE"
                                    << ""
                                    << "LADY FAULCONBRIDGE"
                                    << "LADY FAULCONBRIDGE";
        QTest::newRow("final stop of a bare name") << "The DUKE OF VENICE."
                                                   << ""
                                                   << "The DUKE OF VENICE"
                                                   << "The DUKE OF VENICE";
        QTest::newRow("group member") << "SALANIO"
                                      << "friends to Antonio and Bassanio."
                                      << "SALANIO"
                                      << "one of the friends to Antonio and Bassanio";
        QTest::newRow("group with leading the") << "PROTEUS"
                                                << "the two Gentlemen."
                                                << "PROTEUS"
                                                << "one of the two Gentlemen";
        QTest::newRow("own description and group") << "ROSE, the elder."
                                                   << "the two sisters."
                                                   << "ROSE"
                                                   << "the elder, one of the two sisters";
    }
    void personaHeadAndStatus()
    {
        QFETCH(QString, text);
        QFETCH(QString, group);
        QFETCH(QString, head);
        QFETCH(QString, status);
        QCOMPARE(PersonaHead(text), head);
        QCOMPARE(PersonaStatus({text, group}), status);
    }

    void aliasShowsThePersonasOwnNameInTheStatus()
    {
        const PlayDocument play =
            PlayOf({{"KING PHILIP"}}, {{QStringLiteral("PHILIP, King of France."), QString()}});
        const std::optional<PlayCast> cast =
            BuildCast(play, {{"KING PHILIP", nullptr, "PHILIP, King", nullptr}}, nullptr);
        QVERIFY(cast);
        QCOMPARE(cast->entries.at(0).status, QStringLiteral("PHILIP, King of France"));
    }

    void partOfANameDoesNotMatchAPersona()
    {
        // "GOBBO" is inside "LAUNCELOT GOBBO" and "OLD GOBBO" but is neither.
        const PlayDocument play =
            PlayOf({{"GOBBO"}}, {{QStringLiteral("LAUNCELOT GOBBO, the clown."), QString()},
                                 {QStringLiteral("OLD GOBBO, father to Launcelot."), QString()}});
        const std::optional<PlayCast> cast = BuildCast(play, {}, nullptr);
        QVERIFY(cast);
        QCOMPARE(cast->entries.at(0).status, UndescribedSpeakerStatus());
        QCOMPARE(cast->undescribedSpeakers, QStringList{"GOBBO"});
    }

    void speakerCaseDoesNotHideItsPersona()
    {
        const PlayDocument play =
            PlayOf({{"Host"}}, {{QStringLiteral("HOST, where Julia lodges."), QString()}});
        const std::optional<PlayCast> cast = BuildCast(play, {}, nullptr);
        QVERIFY(cast);
        QCOMPARE(cast->entries.at(0).name, QStringLiteral("HOST"));
        QCOMPARE(cast->entries.at(0).status, QStringLiteral("where Julia lodges"));
    }

    void ruleNamingAMissingPersonaFails()
    {
        const PlayDocument play = PlayOf({{"BASTARD"}});
        QString error;
        QVERIFY(!BuildCast(play, {{"BASTARD", nullptr, "PHILIP the BASTARD", nullptr}}, &error));
        QVERIFY2(error.contains(QLatin1String("PHILIP the BASTARD")), qPrintable(error));
    }

    void quoteInAStatusBecomesAnApostrophe()
    {
        const PlayDocument play = PlayOf({{"A"}});
        const std::optional<PlayCast> cast =
            BuildCast(play, {{"A", nullptr, nullptr, "the \"good\" one"}}, nullptr);
        QVERIFY(cast);
        QCOMPARE(cast->entries.at(0).status, QStringLiteral("the 'good' one"));
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
        QVERIFY(!BuildCast(PlayOf(speeches), rules, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPlayCast)
#include "tst_playcast.moc"
