#pragma once

#include <QString>

// Whether the file at `path` is a packaged take as the recorder writes it: a
// readable archive whose members all extract cleanly and which holds a
// non-empty "temp.wav" and a duration record ("*.tsd") and nothing else.
// False with *error saying what is wrong. Used on every recording that comes
// from a transfer folder before it takes a place in the play.
bool CheckMediumVox(const QString &path, QString *error);
