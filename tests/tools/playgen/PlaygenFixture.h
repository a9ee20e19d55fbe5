#pragma once

#include "core/playimport/PlayCast.h"

#include "TestFiles.h"

namespace tiradex {

// The hand-written play of tests/data/playgen: an inline direction, two
// speakers at once, a song heading, an alias ("LADY ROSE" is ROSE), a
// collective persona, a speaker the cast list lacks, lines that equal a
// character's name and lines starting with "ACT" and "SCENE".
inline QByteArray PlaygenDataFile(const QString &name)
{
    return ReadTestFile(QStringLiteral(TIRADEX_TEST_DATA_DIR "/playgen/") + name);
}

inline QByteArray FixtureXml()
{
    return PlaygenDataFile(QStringLiteral("fixture.xml"));
}

inline QList<SpeakerRule> FixtureRules()
{
    return {
        {"DUKE", nullptr, "The DUKE OF ARDEN", nullptr},
        {"LADY ROSE", "ROSE", "ROSE", nullptr},
        {"Guard", nullptr, "Guards, Musicians", "a guard of the castle"},
    };
}

// A play of `acts` acts of `scenes` scenes "SCENE I." each holding one
// speech of line "x" per entry of `speeches`, spoken by its speakers.
inline PlayDocument PlayOf(const QList<QStringList> &speeches, int acts = 1, int scenes = 1)
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

} // namespace tiradex
