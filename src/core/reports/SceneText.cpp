#include "core/reports/SceneText.h"

#include "core/app/Module1.h"
#include "core/play/PlayTree.h"
#include "core/play/SceneStore.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace tiradex {

namespace {
const QString CrLf = QStringLiteral("\r\n");
} // namespace

void AppendSceneText(const Module1 &state, int act, int scene, const QString &header,
                     const SceneTextOptions &options, MarkedText &out)
{
    out.text += header + CrLf;
    const QString folder = state.SceneFolder(act, scene);
    for (const QString &file : ListReplyFiles(folder)) {
        const QString character = Module1::CharacterOf(file);
        out.text += CrLf;
        // Only the name lines are marked, never a name inside a reply's text.
        if (options.names.contains(character)) {
            out.marks.append(
                {out.text.size(), character.size(), options.selected.contains(character)});
        }
        out.text += character;
        if (options.replyNumbers)
            out.text += QLatin1Char('*') + Module1::ReplyNumberOf(file);
        out.text += CrLf;
        out.text += ReadReplyText(folder + QLatin1Char('/') + file, state.KeepLineBreaks)
                        .value_or(QString());
    }
}

MarkedText SceneWindowText(const Module1 &state, int act, int scene,
                           const SceneTextOptions &options)
{
    const std::optional<QList<SceneHeader>> headers = ReadHeadIni(state);
    const QString heading =
        headers ? SceneHeading(*headers, act, scene).value_or(QString()) : QString();
    MarkedText out;
    AppendSceneText(state, act, scene, heading, options, out);
    out.text += CrLf;
    return out;
}

MarkedText ActWindowText(const Module1 &state, int act, const SceneTextOptions &options)
{
    MarkedText out;
    for (const SceneHeader &record : ReadHeadIni(state).value_or(QList<SceneHeader>())) {
        if (record.act != act)
            continue;
        AppendSceneText(state, act, record.scene, record.header, options, out);
        out.text += CrLf + CrLf;
    }
    return out;
}

QString SceneWindowCaption(const QString &playTitle, int act, int scene)
{
    return QStringLiteral("%1 - Act %2 Scene %3").arg(playTitle).arg(act).arg(scene);
}

QString ActWindowCaption(const QString &playTitle, int act)
{
    return QStringLiteral("%1 - Act %2").arg(playTitle).arg(act);
}

void FillMarkedDocument(QTextDocument &document, const MarkedText &text)
{
    // The document takes one paragraph per line: every CR LF becomes one
    // paragraph separator, so the marks move back by one per line end
    // before them.
    document.clear();
    QTextCursor cursor(&document);
    QString shown = text.text;
    shown.replace(CrLf, QStringLiteral("\n"));
    cursor.insertText(shown);
    auto shownPosition = [&text](qsizetype position) {
        return int(position - text.text.left(position).count(CrLf));
    };
    for (const NameMark &mark : text.marks) {
        QTextCharFormat format;
        format.setFontWeight(QFont::Bold);
        if (mark.selected) {
            format.setFontUnderline(true);
            format.setForeground(QColor(255, 0, 0));
        }
        const int start = shownPosition(mark.start);
        cursor.setPosition(start);
        cursor.setPosition(start + int(mark.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
}

} // namespace tiradex
