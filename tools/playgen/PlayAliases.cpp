#include "PlayAliases.h"

namespace tiradex {

namespace {

// Where a speaker's name is not the head of a persona, or the persona's own
// description reads badly beside the name (it refers to the entry above it),
// the rule says which persona and what status.

const SpeakerRule kMerchantRules[] = {
    {"DUKE", nullptr, "The DUKE OF VENICE", nullptr},
    {"MOROCCO", nullptr, "The PRINCE OF MOROCCO", nullptr},
    {"ARRAGON", nullptr, "The PRINCE OF ARRAGON", nullptr},
    {"BASSANIO", nullptr, "BASSANIO", "friend to Antonio, suitor likewise to Portia"},
    {"TUBAL", nullptr, "TUBAL", "a Jew, friend to Shylock"},
    {"LAUNCELOT", nullptr, "LAUNCELOT GOBBO", nullptr},
    {"GOBBO", nullptr, "OLD GOBBO", nullptr},
    {"NERISSA", nullptr, "NERISSA", "waiting-maid to Portia"},
    {"Servant", nullptr, "Magnificoes of Venice",
     "a servant (to Portia at Belmont, to Antonio in Venice)"},
    {"Clerk", nullptr, "Magnificoes of Venice", "clerk of the Court of Justice"},
    {"ALL", nullptr, nullptr, "everyone on stage, singing together"},
};

const SpeakerRule kKingJohnRules[] = {
    {"KING JOHN", nullptr, "KING JOHN", "King of England"},
    {"PEMBROKE", nullptr, "The Earl of PEMBROKE", nullptr},
    {"ESSEX", nullptr, "The Earl of ESSEX", nullptr},
    {"SALISBURY", nullptr, "The Earl of SALISBURY", nullptr},
    {"BIGOT", nullptr, "The Lord BIGOT", nullptr},
    {"HUBERT", nullptr, "HUBERT DE BURGH", nullptr},
    {"ROBERT", nullptr, "ROBERT FAULCONBRIDGE", nullptr},
    {"BASTARD", nullptr, "PHILIP the BASTARD",
     "Philip the Bastard, half-brother to Robert Faulconbridge"},
    {"GURNEY", nullptr, "JAMES GURNEY", nullptr},
    {"PETER", nullptr, "PETER Of Pomfret", nullptr},
    {"KING PHILIP", nullptr, "PHILIP, King of France", nullptr},
    {"AUSTRIA", nullptr, "LYMOGES, Duke of AUSTRIA", nullptr},
    {"ELINOR", "QUEEN ELINOR", "QUEEN ELINOR", nullptr},
    {"BLANCH", nullptr, "BLANCH of Spain", nullptr},
    {"LADY FAULCONBRIDGE", nullptr, "LADY FAULCONBRIDGE",
     "widow of Sir Robert Faulconbridge, mother to Robert and to Philip the Bastard"},
    {"First Citizen", nullptr, "Lords, Citizens of Angiers",
     "a citizen of Angiers, speaking for the town"},
    {"Messenger", nullptr, "Lords, Citizens of Angiers", "a messenger"},
    {"French Herald", nullptr, "Lords, Citizens of Angiers", "the herald of France"},
    {"English Herald", nullptr, "Lords, Citizens of Angiers", "the herald of England"},
    {"First Executioner", nullptr, nullptr, "one of the executioners who come with Hubert"},
};

const SpeakerRule kTwoGentlemenRules[] = {
    {"DUKE", nullptr, "DUKE OF MILAN", nullptr},
    {"LAUNCE", nullptr, "LAUNCE", "a clownish servant to Proteus"},
    {"First Outlaw", nullptr, "OUTLAWS", "one of the outlaws, with Valentine"},
    {"Second Outlaw", nullptr, "OUTLAWS", "one of the outlaws, with Valentine"},
    {"Third Outlaw", nullptr, "OUTLAWS", "one of the outlaws, with Valentine"},
    {"Outlaws", nullptr, "OUTLAWS", "the outlaws, speaking together"},
};

template <std::size_t N> QList<SpeakerRule> ToList(const SpeakerRule (&rules)[N])
{
    return QList<SpeakerRule>(std::begin(rules), std::end(rules));
}

} // namespace

QList<SpeakerRule> SpeakerRulesFor(const QString &playCode)
{
    if (playCode == QLatin1String("merchantvenice"))
        return ToList(kMerchantRules);
    if (playCode == QLatin1String("kingjohn"))
        return ToList(kKingJohnRules);
    if (playCode == QLatin1String("verone"))
        return ToList(kTwoGentlemenRules);
    return {};
}

} // namespace tiradex
