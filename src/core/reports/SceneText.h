#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace tiradex {

class Module1;

// A character's name on its name line, and how it is marked.
struct NameMark
{
    qsizetype start = 0;
    qsizetype length = 0;
    bool selected = false; // the selection style and red on top of the name style
};

// The text of a scene or an act as the text windows show it (lines ended by
// CR LF), with the places of the names to mark.
struct MarkedText
{
    QString text;
    QList<NameMark> marks;
};

// What the assembled text shows.
struct SceneTextOptions
{
    QStringList names;         // the play's characters, in list order
    QStringList selected;      // the characters whose name lines are marked red
    bool replyNumbers = false; // name lines as "HUBERT*0057"
};

// Appends one scene to `out`: `header` and CR LF, then for every reply file
// of the scene folder in reply order CR LF, the name line, CR LF and the
// reply's text as the scene view reads it (KeepLineBreaks). A name line
// whose character is one of `options.names` (same case) is marked.
void AppendSceneText(const Module1 &state, int act, int scene, const QString &header,
                     const SceneTextOptions &options, MarkedText &out);

// The scene window's text: the scene under the scene view's heading
// ("ACT n - " and the scene's header text from "head.ini"; empty when the
// scene has no record there), followed by CR LF.
MarkedText SceneWindowText(const Module1 &state, int act, int scene,
                           const SceneTextOptions &options);

// The act window's text: every scene of act `act` listed in "head.ini", in
// its order, under its header text, each followed by CR LF CR LF.
MarkedText ActWindowText(const Module1 &state, int act, const SceneTextOptions &options);

// The captions "TITLE - Act 3 Scene 2" and "TITLE - Act 3".
QString SceneWindowCaption(const QString &playTitle, int act, int scene);
QString ActWindowCaption(const QString &playTitle, int act);

// Fills `document` with the text (one paragraph per line) and its marks:
// names bold, selected names also underlined and red (255, 0, 0).
void FillMarkedDocument(QTextDocument &document, const MarkedText &text);

} // namespace tiradex
