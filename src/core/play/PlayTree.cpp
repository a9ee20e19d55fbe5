#include "core/play/PlayTree.h"

#include "core/app/Module1.h"

namespace tiradex {

QList<ActNode> BuildActTree(const QList<ActRecord> &records)
{
    QList<ActNode> tree;
    for (const ActRecord &record : records) {
        if (tree.size() >= Module1::MaxActs)
            break;
        ActNode node;
        node.act = record.act;
        node.key = QLatin1Char('A') + QString::number(record.act);
        node.text = QStringLiteral("ACT ") + QString::number(record.act);
        const int scenes = qBound(0, record.sceneCount, int(Module1::MaxScenesPerAct));
        for (int s = 1; s <= scenes; ++s)
            node.sceneTexts.append(QStringLiteral("SCENE ") + QString::number(s));
        tree.append(node);
    }
    return tree;
}

std::optional<QString> SceneHeading(const QList<SceneHeader> &headers, int act, int scene)
{
    for (const SceneHeader &h : headers) {
        if (h.act == act && h.scene == scene)
            return QStringLiteral("ACT ") + QString::number(act) + QStringLiteral(" - ") + h.header;
    }
    return std::nullopt;
}

QString CharactersMessage(const QStringList &names, const QStringList &statuses)
{
    const QString crlf = QStringLiteral("\r\n");
    QString text = QStringLiteral("Characters :") + crlf + crlf;
    for (qsizetype i = 0; i < names.size(); ++i)
        text += names.at(i) + QStringLiteral(" - ") + statuses.value(i) + crlf;
    return text;
}

} // namespace tiradex
