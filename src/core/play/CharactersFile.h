#pragma once

#include "core/app/Module1.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tiradex {

// The characters list of a play: names in file order, a status text each.
struct CharactersList
{
    QStringList names;
    QStringList statuses; // same count and order as names
};

// Reads the deciphered characters file: one record per line holding two
// quoted strings, the name and the status text. A record with only a name
// gets an empty status.
CharactersList ParseCharactersText(const QString &text);

// The clear bytes of a characters file for `list` (UTF-8, CR LF).
QByteArray FormatCharactersFile(const CharactersList &list);

// Reads the open play's characters file (AppFolder + CharactersFileName()),
// deciphering it in memory: the enciphered file on disk is never changed.
// On failure returns std::nullopt and sets *error to a sentence naming the file.
std::optional<CharactersList> LoadCharactersFile(const Module1 &state, QString *error);

} // namespace tiradex
