#include "core/speech/SpokenText.h"

namespace tiradex {

QString SpokenText(const QString &replyText)
{
    QString kept;
    kept.reserve(replyText.size());
    int depth = 0;
    for (const QChar c : replyText) {
        if (c == QLatin1Char('[')) {
            ++depth;
            // A direction between two words still separates them.
            kept += QLatin1Char(' ');
        } else if (c == QLatin1Char(']') && depth > 0) {
            --depth;
        } else if (depth == 0) {
            kept += c;
        }
    }
    return kept.simplified();
}

QString DefaultVoice(const QString &character, const QStringList &voices)
{
    if (voices.isEmpty())
        return QString();
    // FNV-1a: fixed across Qt versions and runs, unlike qHash's seed.
    quint32 hash = 2166136261u;
    for (const char byte : character.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 16777619u;
    }
    return voices.at(qsizetype(hash % quint32(voices.size())));
}

} // namespace tiradex
