#pragma once

#include "core/app/Module1.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tiradex {

// The developer check of a play text: lists the lines that begin with a
// character's name but go on with more text, which the conversion takes for
// text lines although they were probably meant to open a reply.
//
// Lines are classed as the conversion classes them (nothing before the first
// act heading, blank lines skipped, "ACT" and "SCENE" headings counted). For
// every other line, the first name of `characters` that the trimmed,
// upper-cased line begins with is taken; when the trimmed line is longer than
// that name, the report gets the act label ("ACT 01"), the scene label
// ("SCENE 02"), the line, each followed by CR LF, and one more CR LF.
QString CheckPlayTextLines(const QStringList &lines, const QStringList &characters);

// The same check on the open play's text (AppFolder + PlayTextFile).
// std::nullopt and *error when the text cannot be read.
std::optional<QString> CheckPlayText(const Module1 &state, const QStringList &characters,
                                     QString *error);

} // namespace tiradex
