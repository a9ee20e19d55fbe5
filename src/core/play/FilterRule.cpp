#include "core/play/FilterRule.h"

FilterDecision DecideFilter(const QString &filterCharacter, const QString &character)
{
    if (filterCharacter.isEmpty())
        return {};
    if (filterCharacter == character)
        return {FilterDecision::Record::Enable, FilterDecision::NameColour::Red};
    return {FilterDecision::Record::Disable, FilterDecision::NameColour::Black};
}

bool RecordAllowed(const QString &filterCharacter, const QString &character)
{
    return filterCharacter.isEmpty() || filterCharacter == character;
}
