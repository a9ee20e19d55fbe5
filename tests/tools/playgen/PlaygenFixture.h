#pragma once

#include "core/playimport/PlayCast.h"

#include "core/app/FileIo.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tiradex {

// The hand-written play of tests/data/playgen: an inline direction, two
// speakers at once, a song heading, an alias ("LADY ROSE" is ROSE), a
// collective persona, a speaker the cast list lacks, lines that equal a
// character's name and lines starting with "ACT" and "SCENE".
inline QByteArray PlaygenDataFile(const QString &name)
{
    return ReadWholeFile(QStringLiteral(TIRADEX_TEST_DATA_DIR "/playgen/") + name, 1 << 20, nullptr)
        .value_or(QByteArray());
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

} // namespace tiradex
