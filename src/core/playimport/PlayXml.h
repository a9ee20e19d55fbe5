#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tiradex {

// A play as the XML edition marks it up (PLAY, PERSONAE, ACT, SCENE, SPEECH,
// LINE, STAGEDIR, SUBHEAD). Texts are whitespace-collapsed (runs of blanks,
// tabs and line breaks become one blank, the ends are trimmed), except the
// titles and the setting, which keep their inner blanks as the edition
// spaces them ("SCENE I.  Venice. A street.").

// A piece of a LINE: spoken text, or a stage direction standing inside it.
struct LinePiece
{
    bool direction = false;
    QString text;
};

// What a speech holds besides its speakers, in document order.
struct SpeechItem
{
    enum Kind
    {
        Line,
        Direction,
        Subhead
    };
    Kind kind = Line;
    QString text;            // Direction and Subhead
    QList<LinePiece> pieces; // Line
};

struct Speech
{
    QStringList speakers; // one, or several when they speak together
    int line = 0;         // line of the source where the speech starts
    QList<SpeechItem> items;
};

// A speech, or a stage direction standing between speeches.
struct SceneEvent
{
    bool isSpeech = false;
    Speech speech;     // when isSpeech
    QString direction; // otherwise
};

struct PlayScene
{
    QString title; // "SCENE I.  Venice. A street."
    QList<SceneEvent> events;
};

struct PlayAct
{
    QString title; // "ACT I"
    QList<PlayScene> scenes;
};

// One PERSONA of the cast list; members of a PGROUP share its description.
struct Persona
{
    QString text;             // "ANTONIO, a merchant of Venice."
    QString groupDescription; // the PGROUP's GRPDESCR, "" outside a group
};

struct PlayDocument
{
    QString title;
    QStringList frontMatter; // the FM paragraphs (the edition's credit)
    QString personaeTitle;   // "Dramatis Personae"
    QList<Persona> personae;
    QString sceneDescription; // SCNDESCR
    QString subtitle;         // PLAYSUBT
    QList<PlayAct> acts;
};

// Collapses whitespace runs to one blank and trims the ends.
QString CollapseWhitespace(const QString &text);

// Turns tabs and line breaks into blanks and trims the ends; inner runs of
// blanks stay.
QString HeadingWhitespace(const QString &text);

// Reads a play. A PROLOGUE or EPILOGUE becomes a scene of its own where it
// stands: inside an act, or at play level at the front of the first act
// (prologue) or the end of the last act (epilogue). An INDUCT at play level
// puts its scenes, titled "INDUCTION. SCENE I. ...", at the front of the
// first act, so the acts keep the play's own numbers. A SUBHEAD between
// speeches reads as a stage direction. Any other element out of place is
// refused rather than dropped, so no text is ever lost silently. No DTD is read and no external
// entity is resolved. On failure returns std::nullopt and sets *error to a
// sentence with the line number.
std::optional<PlayDocument> ParsePlayXml(const QByteArray &xml, QString *error);

} // namespace tiradex
