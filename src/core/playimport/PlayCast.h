#pragma once

#include "core/playimport/PlayXml.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tiradex {

// How one speaker of the edition becomes an entry of the characters list,
// where the speaker string alone does not say it. Rules are written by hand
// for each play (PlayAliases.h).
struct SpeakerRule
{
    const char *speaker; // the SPEAKER string as the edition writes it, e.g. "ELINOR"
    // The characters list entry; nullptr for the speaker in upper case.
    // Several speakers naming one entry are one character.
    const char *entry;
    // The start of the PERSONA text that describes the speaker (it places
    // the entry in the list and gives its status); nullptr when the cast
    // list has none.
    const char *persona;
    // The status text; nullptr to derive it from the persona.
    const char *status;
};

// One entry of the characters list.
struct CastEntry
{
    QString name;   // as the play text's character lines write it
    QString status; // shown beside the name by the "Characters ..." menu
};

struct PlayCast
{
    QList<CastEntry> entries; // in characters file order
    // Speakers that neither a rule nor a persona describes: they get a
    // generic status, and the generator reports them.
    QStringList undescribedSpeakers;

    // The entry that a speech with these speakers is filed under: the
    // speaker's entry, or for several speakers their combined entry.
    // "" when the speakers are unknown.
    QString entryFor(const QStringList &speakers) const;
    QStringList names() const;

    QHash<QString, QString> entryOfSpeakers; // key: speakers joined by "\n"
};

// Status of a speaker that the cast list does not name.
QString UndescribedSpeakerStatus();

// The status a persona gives: its description after the first comma, and
// for a member of a group "one of the " + the group's description; the
// persona text itself when it has neither. Final full stops are dropped.
QString PersonaStatus(const Persona &persona);

// The head of a persona: the text before its first comma, without a final
// full stop ("ANTONIO" of "ANTONIO, a merchant of Venice.").
QString PersonaHead(const QString &personaText);

// Builds the characters list of a play: one entry per speaker (or per rule
// entry shared by several speakers), plus one combined entry per set of
// speakers that speak together ("PEMBROKE AND BIGOT", placed after the last
// of them). Entries are ordered by the first persona of the cast list that
// describes them; entries the cast list lacks follow in the order of their
// first speech. Fails when a rule names a persona the cast list lacks, or
// when an entry could not serve as a character line or a file name (two
// entries equal but for letter case, a name starting with "ACT" or "SCENE",
// a path separator, a name over 200 bytes). Double quotes in names and statuses become apostrophes:
// the characters file's records have no escape.
std::optional<PlayCast> BuildCast(const PlayDocument &play, const QList<SpeakerRule> &rules,
                                  QString *error);

// The characters list of a play of the user: as BuildCast without rules,
// but the names are not checked (the import report mends them in view of
// the user).
PlayCast BuildCastUnchecked(const PlayDocument &play);

} // namespace tiradex
