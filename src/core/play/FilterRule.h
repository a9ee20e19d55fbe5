#pragma once

#include <QString>

// What the character filter (the character the actor plays) decides for the
// reply shown: whether the record button changes and how the speaking
// character's name is coloured. The same decision serves opening a scene and
// moving from reply to reply.
struct FilterDecision
{
    enum class Record
    {
        Unchanged,
        Enable,
        Disable
    };
    enum class NameColour
    {
        Unchanged,
        Red,
        Black
    };
    Record record = Record::Unchanged;
    NameColour colour = NameColour::Unchanged;

    bool operator==(const FilterDecision &) const = default;
};

// No filter: nothing changes. The filtered character speaks: record allowed,
// name red. Another character speaks: record refused, name black.
FilterDecision DecideFilter(const QString &filterCharacter, const QString &character);

// True when a reply of `character` may be recorded: no filter is set, or the
// reply is the filtered character's.
bool RecordAllowed(const QString &filterCharacter, const QString &character);
