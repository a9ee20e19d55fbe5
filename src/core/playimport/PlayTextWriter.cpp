#include "core/playimport/PlayTextWriter.h"

#include "core/app/Module1.h"
#include "core/app/TextCodec.h"

#include <algorithm>

namespace tiradex {

namespace {

// Title page lines only need to keep the conversion from starting early.
QString SafeTitleLine(const QString &line)
{
    return line.startsWith(QLatin1String("ACT")) ? QLatin1Char(' ') + line : line;
}

QString Unquoted(QString text)
{
    text.replace(QLatin1Char('"'), QLatin1Char('\''));
    return text;
}

QString Heading(const QString &title, const QString &keyword)
{
    const QString text = Unquoted(HeadingWhitespace(title));
    return text.startsWith(keyword) ? text : keyword + QLatin1Char(' ') + text;
}

class TextBuilder
{
public:
    TextBuilder(const PlayDocument &play, const PlayCast &cast) : m_play(play), m_cast(cast)
    {
        m_entries = cast.names();
    }

    std::optional<WrittenPlayText> build(QString *error)
    {
        if (!checkLimits(error))
            return std::nullopt;
        writeTitlePage();
        for (const PlayAct &act : m_play.acts) {
            m_result.lines << QString() << Heading(act.title, QStringLiteral("ACT"));
            for (const PlayScene &scene : act.scenes) {
                if (!writeScene(scene, error))
                    return std::nullopt;
            }
        }
        return m_result;
    }

private:
    bool checkLimits(QString *error) const
    {
        QString fault;
        int speeches = 0;
        if (m_play.acts.size() > Module1::MaxActs)
            fault = QStringLiteral("more than %1 acts").arg(Module1::MaxActs);
        for (const PlayAct &act : m_play.acts) {
            if (act.scenes.size() > Module1::MaxScenesPerAct)
                fault = QStringLiteral("more than %1 scenes in %2")
                            .arg(Module1::MaxScenesPerAct)
                            .arg(act.title);
            for (const PlayScene &scene : act.scenes) {
                for (const SceneEvent &event : scene.events)
                    speeches += event.isSpeech ? 1 : 0;
            }
        }
        if (speeches > Module1::MaxReplies)
            fault = QStringLiteral("more than %1 speeches").arg(Module1::MaxReplies);
        if (fault.isEmpty())
            return true;
        if (error)
            *error =
                QStringLiteral("The play has %1, which the scene store cannot number.").arg(fault);
        return false;
    }

    void writeTitlePage()
    {
        QStringList page;
        page << m_play.title << QString();
        page << m_play.frontMatter << QString();
        page << (m_play.personaeTitle.isEmpty() ? QStringLiteral("Dramatis Personae")
                                                : m_play.personaeTitle)
             << QString();
        for (qsizetype i = 0; i < m_play.personae.size(); ++i) {
            const Persona &persona = m_play.personae.at(i);
            page << persona.text;
            const bool groupEnds =
                i + 1 == m_play.personae.size() ||
                m_play.personae.at(i + 1).groupDescription != persona.groupDescription;
            if (!persona.groupDescription.isEmpty() && groupEnds)
                page << QStringLiteral("    ") + persona.groupDescription;
        }
        if (!m_play.sceneDescription.isEmpty())
            page << QString() << m_play.sceneDescription;
        for (const QString &line : page)
            m_result.lines << SafeTitleLine(line);
    }

    void addText(const QString &line)
    {
        bool changed = false;
        m_result.lines << SafeTextLine(line, m_entries, &changed);
        if (changed)
            ++m_result.fixedLines;
    }

    bool writeScene(const PlayScene &scene, QString *error)
    {
        // The directions before the first speech (the entrance) join the
        // heading: a text line there would be filed under the previous
        // scene's last reply. In a scene of directions only, all of them do.
        QString heading = Heading(scene.title, QStringLiteral("SCENE"));
        const auto first = std::find_if(scene.events.cbegin(), scene.events.cend(),
                                        [](const SceneEvent &event) { return event.isSpeech; });
        for (auto it = scene.events.cbegin(); it != first; ++it)
            heading += QLatin1Char(' ') + Unquoted(Bracketed(it->direction));
        m_result.lines << QString() << heading;

        for (auto it = first; it != scene.events.cend(); ++it) {
            const SceneEvent &event = *it;
            if (!event.isSpeech) {
                addText(Bracketed(event.direction));
                continue;
            }
            const QString entry = m_cast.entryFor(event.speech.speakers);
            if (entry.isEmpty()) {
                if (error)
                    *error =
                        QStringLiteral("No character for the speaker %1 in %2.")
                            .arg(event.speech.speakers.join(QStringLiteral(" + ")), scene.title);
                return false;
            }
            m_result.lines << QString() << entry;
            const qsizetype before = m_result.lines.size();
            for (const SpeechItem &item : event.speech.items)
                writeItem(item);
            // A character line followed by another would leave a gap in the
            // reply numbers: a speech always gets a text line.
            if (m_result.lines.size() == before)
                addText(Bracketed(QStringLiteral("...")));
        }
        return true;
    }

    void writeItem(const SpeechItem &item)
    {
        switch (item.kind) {
        case SpeechItem::Line: {
            const QString line = RenderLine(item.pieces);
            if (!line.isEmpty())
                addText(line);
            break;
        }
        case SpeechItem::Direction:
            addText(Bracketed(item.text));
            break;
        case SpeechItem::Subhead:
            if (!item.text.isEmpty())
                addText(item.text);
            break;
        }
    }

    const PlayDocument &m_play;
    const PlayCast &m_cast;
    QStringList m_entries;
    WrittenPlayText m_result;
};

} // namespace

std::optional<WrittenPlayText> WritePlayText(const PlayDocument &play, const PlayCast &cast,
                                             QString *error)
{
    return TextBuilder(play, cast).build(error);
}

QByteArray JoinLinesCrLf(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return EncodeText(text);
}

QString Bracketed(const QString &direction)
{
    return QLatin1Char('[') + direction + QLatin1Char(']');
}

QString RenderLine(const QList<LinePiece> &pieces)
{
    QStringList parts;
    for (const LinePiece &piece : pieces) {
        if (!piece.text.isEmpty())
            parts << (piece.direction ? Bracketed(piece.text) : piece.text);
    }
    return parts.join(QLatin1Char(' '));
}

QString SafeTextLine(const QString &line, const QStringList &entries, bool *changed)
{
    QString safe = Unquoted(line);
    if (safe.startsWith(QLatin1String("ACT")) || safe.startsWith(QLatin1String("SCENE")))
        safe.prepend(QLatin1Char(' '));
    const QString trimmed = safe.trimmed();
    for (const QString &entry : entries) {
        if (trimmed.compare(entry, Qt::CaseInsensitive) == 0) {
            safe += QStringLiteral("--");
            break;
        }
    }
    if (changed)
        *changed = safe != line;
    return safe;
}

} // namespace tiradex
