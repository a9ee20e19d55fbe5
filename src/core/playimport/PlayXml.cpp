#include "core/playimport/PlayXml.h"

#include <QXmlStreamReader>

namespace tiradex {

QString CollapseWhitespace(const QString &text)
{
    return text.simplified();
}

QString HeadingWhitespace(const QString &text)
{
    QString heading = text;
    for (QChar &c : heading) {
        if (c.isSpace())
            c = QLatin1Char(' ');
    }
    return heading.trimmed();
}

namespace {

// Recursive-descent reader over the edition's fixed element tree. Each read
// function is entered on the start tag of its element and returns on its end
// tag; any element out of place raises an error that ends the reading.
class PlayXmlReader
{
public:
    explicit PlayXmlReader(const QByteArray &xml) : m_xml(xml) {}

    std::optional<PlayDocument> read(QString *error)
    {
        PlayDocument play;
        if (m_xml.readNextStartElement()) {
            if (m_xml.name() == QLatin1String("PLAY"))
                readPlay(play);
            else
                refuse();
            // Read to the end so that damage after the play is noticed too.
            while (!m_xml.atEnd())
                m_xml.readNext();
        } else if (!m_xml.hasError()) {
            m_xml.raiseError(QStringLiteral("The document holds no PLAY element."));
        }
        if (!m_xml.hasError())
            checkComplete(play);
        if (m_xml.hasError()) {
            if (error)
                *error =
                    QStringLiteral("line %1: %2").arg(m_xml.lineNumber()).arg(m_xml.errorString());
            return std::nullopt;
        }
        return play;
    }

private:
    bool at(const char *name) const { return m_xml.name() == QLatin1String(name); }

    void refuse()
    {
        m_xml.raiseError(QStringLiteral("Unexpected element <%1>.").arg(m_xml.name().toString()));
    }

    QString text()
    {
        return CollapseWhitespace(
            m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement));
    }

    QString heading()
    {
        return HeadingWhitespace(m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement));
    }

    void readPlay(PlayDocument &play)
    {
        // Scenes standing before the first act join its front.
        QList<PlayScene> opening;
        while (m_xml.readNextStartElement()) {
            if (at("TITLE")) {
                play.title = heading();
            } else if (at("FM")) {
                readFrontMatter(play);
            } else if (at("PERSONAE")) {
                readPersonae(play);
            } else if (at("SCNDESCR")) {
                play.sceneDescription = heading();
            } else if (at("PLAYSUBT")) {
                play.subtitle = heading();
            } else if (at("ACT")) {
                readAct(play);
                if (!opening.isEmpty()) {
                    play.acts.last().scenes = opening + play.acts.last().scenes;
                    opening.clear();
                }
            } else if (at("PROLOGUE") || at("EPILOGUE")) {
                const QString fallback = m_xml.name().toString();
                PlayAct into;
                readScene(into, fallback);
                if (play.acts.isEmpty())
                    opening += into.scenes;
                else
                    play.acts.last().scenes += into.scenes;
            } else if (at("INDUCT")) {
                opening += readInduction();
            } else {
                refuse();
            }
        }
        if (!opening.isEmpty() && !m_xml.hasError()) {
            // A play of prologue alone: one act holds it.
            play.acts.append({QStringLiteral("ACT I"), opening});
        }
    }

    QList<PlayScene> readInduction()
    {
        PlayAct induction;
        QString title = QStringLiteral("INDUCTION");
        PlayScene loose; // speeches standing in the induction without a scene
        while (m_xml.readNextStartElement()) {
            if (at("TITLE"))
                title = heading();
            else if (at("SCENE"))
                readScene(induction, QString());
            else if (!readSceneItem(loose))
                refuse();
        }
        if (!loose.events.isEmpty()) {
            loose.title = title;
            induction.scenes.prepend(loose);
        }
        for (PlayScene &scene : induction.scenes) {
            if (scene.title != title)
                scene.title = title + QStringLiteral(". ") + scene.title;
        }
        return induction.scenes;
    }

    void readFrontMatter(PlayDocument &play)
    {
        while (m_xml.readNextStartElement()) {
            if (at("P"))
                play.frontMatter.append(text());
            else
                refuse();
        }
    }

    void readPersonae(PlayDocument &play)
    {
        while (m_xml.readNextStartElement()) {
            if (at("TITLE"))
                play.personaeTitle = heading();
            else if (at("PERSONA"))
                play.personae.append({text(), QString()});
            else if (at("PGROUP"))
                readGroup(play);
            else
                refuse();
        }
    }

    void readGroup(PlayDocument &play)
    {
        const qsizetype first = play.personae.size();
        QString description;
        while (m_xml.readNextStartElement()) {
            if (at("PERSONA"))
                play.personae.append({text(), QString()});
            else if (at("GRPDESCR"))
                description = text();
            else
                refuse();
        }
        for (qsizetype i = first; i < play.personae.size(); ++i)
            play.personae[i].groupDescription = description;
    }

    void readAct(PlayDocument &play)
    {
        PlayAct act;
        while (m_xml.readNextStartElement()) {
            if (at("TITLE"))
                act.title = heading();
            else if (at("SCENE"))
                readScene(act, QString());
            else if (at("PROLOGUE") || at("EPILOGUE"))
                readScene(act, m_xml.name().toString());
            else
                refuse();
        }
        play.acts.append(act);
    }

    // A SCENE, PROLOGUE or EPILOGUE; `fallbackTitle` names one without TITLE.
    void readScene(PlayAct &act, const QString &fallbackTitle)
    {
        PlayScene scene;
        scene.title = fallbackTitle;
        while (m_xml.readNextStartElement()) {
            if (at("TITLE"))
                scene.title = heading();
            else if (!readSceneItem(scene))
                refuse();
        }
        act.scenes.append(scene);
    }

    // A speech or a direction of a scene; false for any other element.
    bool readSceneItem(PlayScene &scene)
    {
        SceneEvent event;
        if (at("SPEECH")) {
            event.isSpeech = true;
            event.speech = readSpeech();
        } else if (at("STAGEDIR") || at("SUBHEAD")) {
            event.direction = text();
        } else {
            return false;
        }
        scene.events.append(event);
        return true;
    }

    Speech readSpeech()
    {
        Speech speech;
        speech.line = int(m_xml.lineNumber());
        while (m_xml.readNextStartElement()) {
            if (at("SPEAKER")) {
                speech.speakers.append(text());
            } else if (at("LINE")) {
                SpeechItem item;
                item.pieces = readLine();
                speech.items.append(item);
            } else if (at("STAGEDIR") || at("SUBHEAD")) {
                SpeechItem item;
                item.kind = at("STAGEDIR") ? SpeechItem::Direction : SpeechItem::Subhead;
                item.text = text();
                speech.items.append(item);
            } else {
                refuse();
            }
        }
        if (!m_xml.hasError() && (speech.speakers.isEmpty() || speech.speakers.contains(QString())))
            m_xml.raiseError(QStringLiteral("A SPEECH without a named SPEAKER."));
        return speech;
    }

    // Mixed content: text runs and STAGEDIR elements. Adjacent character
    // tokens (split by entity references or comments) form one run.
    QList<LinePiece> readLine()
    {
        QList<LinePiece> pieces;
        QString run;
        const auto flush = [&] {
            const QString collapsed = CollapseWhitespace(run);
            if (!collapsed.isEmpty())
                pieces.append({false, collapsed});
            run.clear();
        };
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::Characters:
                run += m_xml.text();
                break;
            case QXmlStreamReader::StartElement:
                if (!at("STAGEDIR")) {
                    refuse();
                    return pieces;
                }
                flush();
                pieces.append({true, text()});
                break;
            case QXmlStreamReader::EndElement:
                flush();
                return pieces;
            case QXmlStreamReader::EntityReference:
                m_xml.raiseError(
                    QStringLiteral("Undeclared entity &%1;.").arg(m_xml.name().toString()));
                return pieces;
            default:
                break;
            }
        }
        return pieces;
    }

    void checkComplete(const PlayDocument &play)
    {
        if (play.acts.isEmpty()) {
            m_xml.raiseError(QStringLiteral("The play has no ACT."));
            return;
        }
        for (const PlayAct &act : play.acts) {
            if (act.scenes.isEmpty()) {
                m_xml.raiseError(QStringLiteral("%1 has no SCENE.").arg(act.title));
                return;
            }
        }
    }

    QXmlStreamReader m_xml;
};

} // namespace

std::optional<PlayDocument> ParsePlayXml(const QByteArray &xml, QString *error)
{
    return PlayXmlReader(xml).read(error);
}

} // namespace tiradex
