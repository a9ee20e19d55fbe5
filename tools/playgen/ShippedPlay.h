#pragma once

#include "core/playimport/PlayFiles.h"

#include <QString>

#include <optional>

namespace tiradex {

// Reads the XML file (at most 16 MB), generates the play with the speaker
// rules of `playCode` and writes it.
std::optional<GeneratedPlay> GeneratePlayFiles(const QString &xmlPath, const QString &playCode,
                                               const QString &outFolder, QString *error);

} // namespace tiradex
