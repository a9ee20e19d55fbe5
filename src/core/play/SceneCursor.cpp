#include "core/play/SceneCursor.h"

#include "core/play/SceneStore.h"

#include <QFileInfo>

namespace tiradex {

ReplyFiles FindReplyFiles(const Module1 &state, const QString &baseName)
{
    ReplyFiles files;
    if (baseName.isEmpty())
        return files;
    files.recording = QFileInfo::exists(state.VoxPath(baseName));
    files.note = QFileInfo::exists(state.NotePath(baseName));
    files.photo = QFileInfo::exists(state.PhotoPath(baseName));
    return files;
}

void SceneCursor::open(const Module1 &state, int act, int scene)
{
    m_open = true;
    m_act = act;
    m_scene = scene;
    m_index = 0;
    m_files = ListReplyFiles(state.SceneFolder(act, scene));
}

void SceneCursor::close()
{
    *this = SceneCursor();
}

bool SceneCursor::setIndex(int k)
{
    if (k < 0 || k >= count())
        return false;
    m_index = k;
    return true;
}

QString SceneCursor::fileName(int k) const
{
    return k >= 0 && k < count() ? m_files.at(k) : QString();
}

QString SceneCursor::baseName(int k) const
{
    const QString name = fileName(k);
    return name.isEmpty() ? QString() : Module1::BaseNameOf(name);
}

QString SceneCursor::replyNumber(int k) const
{
    const QString name = fileName(k);
    return name.isEmpty() ? QString() : Module1::ReplyNumberOf(name);
}

QString SceneCursor::character(int k) const
{
    const QString name = fileName(k);
    return name.isEmpty() ? QString() : Module1::CharacterOf(name);
}

QStringList SceneCursor::replyNumbers() const
{
    QStringList numbers;
    numbers.reserve(m_files.size());
    for (const QString &name : m_files)
        numbers.append(Module1::ReplyNumberOf(name));
    return numbers;
}

QString SceneCursor::positionText() const
{
    if (isEmpty())
        return QStringLiteral("0/0");
    return QString::number(m_index + 1) + QLatin1Char('/') + QString::number(count());
}

QString SceneCursor::replyTextPath(const Module1 &state, int k) const
{
    const QString base = baseName(k);
    return base.isEmpty() ? QString() : state.ReplyTextPath(m_act, m_scene, base);
}

QString SceneCursor::replyText(const Module1 &state, int k) const
{
    const QString path = replyTextPath(state, k);
    if (path.isEmpty())
        return QString();
    return ReadReplyText(path, state.KeepLineBreaks).value_or(QString());
}

bool SceneCursor::hasRecording(const Module1 &state, int k) const
{
    const QString base = baseName(k);
    return !base.isEmpty() && QFileInfo::exists(state.VoxPath(base));
}

int SceneCursor::firstRecordedFrom(const Module1 &state, int from) const
{
    for (int k = qMax(0, from); k < count(); ++k) {
        if (hasRecording(state, k))
            return k;
    }
    return -1;
}

} // namespace tiradex
