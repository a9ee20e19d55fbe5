#pragma once

#include <QString>
#include <QStringList>

namespace tiradex {

// What a synthetic voice says of a reply's text: the text without its stage
// directions (anything in square brackets, the brackets included; an
// unclosed bracket hides the rest), with runs of white space made one blank
// and the ends trimmed.
QString SpokenText(const QString &replyText);

// The voice a character gets when none was chosen for it: a stable rule
// (a hash of the name's UTF-8 bytes over `voices`), the same on every
// machine and in every session. "" when `voices` is empty.
QString DefaultVoice(const QString &character, const QStringList &voices);

} // namespace tiradex
