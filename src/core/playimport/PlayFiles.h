#pragma once

#include "core/playimport/PlayCast.h"
#include "core/playimport/PlayTextWriter.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tiradex {

// A play generated from the XML edition: its play text and its characters
// file, both ready to write.
struct GeneratedPlay
{
    PlayCast cast;
    QByteArray text;           // the play text, UTF-8, CR LF line ends
    QByteArray charactersFile; // the characters file in clear
    int fixedLines = 0;        // text lines changed so the conversion reads them right
};

// Reads the edition's XML and builds both files with the given speaker
// rules (none for a play of the user; the build-time generator has its own
// for the shipped plays). Fails with *error on
// XML it cannot read and on plays the scene store cannot hold.
std::optional<GeneratedPlay> GeneratePlay(const QByteArray &xml, const QList<SpeakerRule> &rules,
                                          QString *error);

// Both files of a play already read and cast. Fails as WritePlayText does.
std::optional<GeneratedPlay> GeneratePlay(const PlayDocument &play, const PlayCast &cast,
                                          QString *error);

// The characters file enciphered with the program's fixed key, as the play
// loader deciphers it.
QByteArray EncipherCharactersFile(const QByteArray &clear);

// Writes outFolder/playCode.txt and outFolder/playCode.dat (enciphered),
// each replaced atomically; creates outFolder when missing. The code must be
// a plain name (letters, digits, "_", "-").
bool WritePlayFiles(const GeneratedPlay &play, const QString &outFolder, const QString &playCode,
                    QString *error);

} // namespace tiradex
