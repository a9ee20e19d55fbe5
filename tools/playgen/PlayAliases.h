#pragma once

#include "core/playimport/PlayCast.h"

#include <QList>
#include <QString>

namespace tiradex {

// The hand-written speaker rules of the shipped plays, by play code
// ("merchantvenice", "kingjohn", "verone"). Other codes have none: their
// speakers are matched against the cast list by name alone.
QList<SpeakerRule> SpeakerRulesFor(const QString &playCode);

} // namespace tiradex
