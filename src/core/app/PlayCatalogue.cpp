#include "core/app/PlayCatalogue.h"

namespace tiradex {

const QList<PlayCatalogueEntry> &PlayCatalogue()
{
    static const QList<PlayCatalogueEntry> entries = {
        {QStringLiteral("mnumarchandvenise"), QStringLiteral("The merchant of Venice ..."),
         QStringLiteral("merchantvenice"), QStringLiteral("merchantvenice.txt"),
         QStringLiteral("The Merchant of Venice")},
        {QStringLiteral("mnukingjohn"), QStringLiteral("The Life and Death of King John ..."),
         QStringLiteral("kingjohn"), QStringLiteral("kingjohn.txt"),
         QStringLiteral("The Life and Death of King John")},
        {QStringLiteral("mnuverona"), QStringLiteral("Two Gentlemen of Verona ..."),
         QStringLiteral("verone"), QStringLiteral("verone.txt"),
         QStringLiteral("Two Gentlemen of Verona")},
    };
    return entries;
}

const PlayCatalogueEntry *FindPlay(const QString &code)
{
    for (const PlayCatalogueEntry &entry : PlayCatalogue()) {
        if (entry.playCode == code)
            return &entry;
    }
    return nullptr;
}

} // namespace tiradex
