#include "core/playimport/PlayCast.h"

#include <algorithm>
#include <climits>

namespace tiradex {

namespace {

// A reply file is "_NNNN_" + name + ".txt"; file systems allow 255 bytes.
constexpr qsizetype MaxNameBytes = 200;

QString WithoutFinalStop(QString text)
{
    text = text.trimmed();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.trimmed();
}

// The quoted-record form has no escape: a double quote would end the field.
QString Sanitised(const QString &text)
{
    QString clean = CollapseWhitespace(text);
    clean.replace(QLatin1Char('"'), QLatin1Char('\''));
    return clean;
}

struct PendingEntry
{
    CastEntry entry;
    int personaIndex = INT_MAX; // INT_MAX: the cast list lacks it
    int combined = 0;           // 1 for an entry of speakers speaking together
    int firstSpeech = 0;
    bool described = false;
};

const SpeakerRule *FindRule(const QList<SpeakerRule> &rules, const QString &speaker)
{
    for (const SpeakerRule &rule : rules) {
        if (speaker == QLatin1String(rule.speaker))
            return &rule;
    }
    return nullptr;
}

QString Key(const QStringList &speakers)
{
    return speakers.join(QLatin1Char('\n'));
}

class CastBuilder
{
public:
    CastBuilder(const PlayDocument &play, const QList<SpeakerRule> &rules)
        : m_play(play), m_rules(rules)
    {
    }

    std::optional<PlayCast> build(QString *error, bool checked)
    {
        int speechIndex = 0;
        QList<QPair<QStringList, int>> groups;
        for (const PlayAct &act : m_play.acts) {
            for (const PlayScene &scene : act.scenes) {
                for (const SceneEvent &event : scene.events) {
                    if (!event.isSpeech)
                        continue;
                    for (const QString &speaker : event.speech.speakers) {
                        if (!addSpeaker(speaker, speechIndex, error))
                            return std::nullopt;
                    }
                    if (event.speech.speakers.size() > 1)
                        groups.append({event.speech.speakers, speechIndex});
                    ++speechIndex;
                }
            }
        }
        for (const auto &group : groups)
            addGroup(group.first, group.second);

        std::stable_sort(m_pending.begin(), m_pending.end(),
                         [](const PendingEntry &a, const PendingEntry &b) {
                             if (a.personaIndex != b.personaIndex)
                                 return a.personaIndex < b.personaIndex;
                             if (a.combined != b.combined)
                                 return a.combined < b.combined;
                             return a.firstSpeech < b.firstSpeech;
                         });
        for (const PendingEntry &pending : m_pending)
            m_cast.entries.append(pending.entry);
        if (checked && !checkNames(error))
            return std::nullopt;
        return m_cast;
    }

private:
    int findPersona(const SpeakerRule *rule, const QString &speaker) const
    {
        for (qsizetype i = 0; i < m_play.personae.size(); ++i) {
            const QString &text = m_play.personae.at(i).text;
            const bool match = rule ? text.startsWith(QLatin1String(rule->persona))
                                    : PersonaHead(text).compare(speaker, Qt::CaseInsensitive) == 0;
            if (match)
                return int(i);
        }
        return -1;
    }

    PendingEntry *findPending(const QString &name)
    {
        for (PendingEntry &pending : m_pending) {
            if (pending.entry.name == name)
                return &pending;
        }
        return nullptr;
    }

    bool addSpeaker(const QString &speaker, int speechIndex, QString *error)
    {
        if (m_cast.entryOfSpeakers.contains(speaker))
            return true;
        const SpeakerRule *rule = FindRule(m_rules, speaker);
        const QString name =
            Sanitised(rule && rule->entry ? QString::fromUtf8(rule->entry) : speaker.toUpper());
        int persona = -1;
        if (!rule || rule->persona) {
            persona = findPersona(rule, speaker);
            if (persona < 0 && rule) {
                if (error)
                    *error = QStringLiteral("The rule for %1 names the persona \"%2\", which the "
                                            "cast list lacks.")
                                 .arg(speaker, QString::fromUtf8(rule->persona));
                return false;
            }
        }
        PendingEntry candidate;
        candidate.entry.name = name;
        candidate.firstSpeech = speechIndex;
        candidate.described = true;
        if (rule && rule->status) {
            candidate.entry.status = Sanitised(QString::fromUtf8(rule->status));
        } else if (persona >= 0) {
            const Persona &p = m_play.personae.at(persona);
            QString status = PersonaStatus(p);
            const QString head = PersonaHead(p.text);
            // An alias hides the persona's own name: show it in the status.
            if (head.compare(name, Qt::CaseInsensitive) != 0 && !status.startsWith(head))
                status = head + QStringLiteral(", ") + status;
            candidate.entry.status = Sanitised(status);
        } else {
            candidate.entry.status = UndescribedSpeakerStatus();
            candidate.described = false;
            m_cast.undescribedSpeakers.append(speaker);
        }
        if (persona >= 0)
            candidate.personaIndex = persona;

        m_cast.entryOfSpeakers.insert(speaker, name);
        if (PendingEntry *existing = findPending(name)) {
            // Another spelling of a character already listed.
            existing->personaIndex = std::min(existing->personaIndex, candidate.personaIndex);
            if (!existing->described && candidate.described) {
                existing->entry.status = candidate.entry.status;
                existing->described = true;
            }
            return true;
        }
        m_pending.append(candidate);
        return true;
    }

    void addGroup(const QStringList &speakers, int speechIndex)
    {
        if (m_cast.entryOfSpeakers.contains(Key(speakers)))
            return;
        QStringList names;
        PendingEntry candidate;
        candidate.combined = 1;
        candidate.firstSpeech = speechIndex;
        candidate.personaIndex = -1;
        for (const QString &speaker : speakers) {
            const QString name = m_cast.entryOfSpeakers.value(speaker);
            names.append(name);
            if (const PendingEntry *member = findPending(name))
                candidate.personaIndex = std::max(candidate.personaIndex, member->personaIndex);
        }
        candidate.entry.name = names.join(QStringLiteral(" AND "));
        candidate.entry.status =
            QStringLiteral("spoken together by ") + names.join(QStringLiteral(" and "));
        m_cast.entryOfSpeakers.insert(Key(speakers), candidate.entry.name);
        if (!findPending(candidate.entry.name))
            m_pending.append(candidate);
    }

    bool checkNames(QString *error) const
    {
        QStringList seen;
        for (const CastEntry &entry : m_cast.entries) {
            const QString &name = entry.name;
            QString fault;
            if (name.isEmpty())
                fault = QStringLiteral("is empty");
            else if (name.startsWith(QLatin1String("ACT")) ||
                     name.startsWith(QLatin1String("SCENE")))
                fault = QStringLiteral("would be read as an act or scene heading");
            else if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
                     name == QLatin1String(".") || name == QLatin1String(".."))
                fault = QStringLiteral("cannot be part of a file name");
            else if (name.toUtf8().size() > MaxNameBytes)
                fault = QStringLiteral("is too long for a file name");
            else if (seen.contains(name, Qt::CaseInsensitive))
                fault = QStringLiteral("equals another entry but for letter case");
            if (!fault.isEmpty()) {
                if (error)
                    *error = QStringLiteral("The character \"%1\" %2.").arg(name, fault);
                return false;
            }
            seen.append(name);
        }
        return true;
    }

    const PlayDocument &m_play;
    const QList<SpeakerRule> &m_rules;
    QList<PendingEntry> m_pending;
    PlayCast m_cast;
};

} // namespace

QString PlayCast::entryFor(const QStringList &speakers) const
{
    return entryOfSpeakers.value(Key(speakers));
}

QStringList PlayCast::names() const
{
    QStringList list;
    for (const CastEntry &entry : entries)
        list.append(entry.name);
    return list;
}

QString UndescribedSpeakerStatus()
{
    return QStringLiteral("not named in the cast list");
}

QString PersonaHead(const QString &personaText)
{
    const qsizetype comma = personaText.indexOf(QLatin1Char(','));
    return WithoutFinalStop(comma < 0 ? personaText : personaText.left(comma));
}

QString PersonaStatus(const Persona &persona)
{
    const qsizetype comma = persona.text.indexOf(QLatin1Char(','));
    QString own = comma < 0 ? QString() : WithoutFinalStop(persona.text.mid(comma + 1));
    QString group = WithoutFinalStop(persona.groupDescription);
    if (group.startsWith(QLatin1String("the "), Qt::CaseInsensitive))
        group = group.mid(4);
    if (!group.isEmpty())
        group = QStringLiteral("one of the ") + group;
    if (!own.isEmpty() && !group.isEmpty())
        return own + QStringLiteral(", ") + group;
    if (!own.isEmpty() || !group.isEmpty())
        return own + group;
    return WithoutFinalStop(persona.text);
}

std::optional<PlayCast> BuildCast(const PlayDocument &play, const QList<SpeakerRule> &rules,
                                  QString *error)
{
    return CastBuilder(play, rules).build(error, true);
}

PlayCast BuildCastUnchecked(const PlayDocument &play)
{
    // Without rules nothing can fail but the name checks, which are skipped.
    return *CastBuilder(play, {}).build(nullptr, false);
}

} // namespace tiradex
