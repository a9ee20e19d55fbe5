#include "core/playimport/PlayTextReader.h"

#include "core/app/Module1.h"

namespace tiradex {

namespace {

// Beyond this the report only counts: a file of junk must not make a list
// of a million entries.
constexpr int MaxListedIssues = 1000;
constexpr int MaxSpeakerLength = 80;

bool StartsWithWord(const QString &trimmed, QLatin1String word)
{
    if (!trimmed.startsWith(word))
        return false;
    return trimmed.size() == word.size() || !trimmed.at(word.size()).isLetter();
}

// "PROLOGUE", "Epilogue.", "INDUCTION": a part outside the acts.
bool IsPartHeading(const QString &trimmed)
{
    QString word = trimmed;
    while (word.endsWith(QLatin1Char('.')) || word.endsWith(QLatin1Char(':')))
        word.chop(1);
    for (const char *part : {"PROLOGUE", "EPILOGUE", "INDUCTION"}) {
        if (word.compare(QLatin1String(part), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString SpeakerName(QString trimmed)
{
    while (trimmed.endsWith(QLatin1Char('.')) || trimmed.endsWith(QLatin1Char(':')))
        trimmed.chop(1);
    return trimmed.trimmed();
}

class TextReader
{
public:
    PlayTextRead read(const QString &text)
    {
        int lineNumber = 0;
        qsizetype pos = 0;
        while (pos <= text.size()) {
            qsizetype end = text.indexOf(QLatin1Char('\n'), pos);
            if (end < 0)
                end = text.size();
            QString line = text.mid(pos, end - pos);
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            pos = end + 1;
            ++lineNumber;
            readLine(line, lineNumber);
            if (end == text.size())
                break;
        }
        finish();
        return std::move(m_result);
    }

private:
    void issue(int line, ImportIssue::Severity severity, const QString &text)
    {
        if (m_listed < MaxListedIssues) {
            m_result.issues.append({line, severity, text});
            ++m_listed;
            return;
        }
        ++m_unlisted;
        if (severity == ImportIssue::Error)
            m_unlistedError = true;
    }

    void readLine(const QString &line, int number)
    {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            return;
        if (StartsWithWord(trimmed, QLatin1String("ACT"))) {
            openAct(trimmed, number);
            return;
        }
        if (m_acts == 0 && !IsPartHeading(trimmed)) {
            if (m_result.titleLine.isEmpty()) {
                m_result.titleLine = trimmed;
                issue(number, ImportIssue::Note,
                      QStringLiteral("before the first act: taken as the title"));
            } else {
                issue(number, ImportIssue::Note,
                      QStringLiteral("before the first act: not part of the play"));
            }
            return;
        }
        if (StartsWithWord(trimmed, QLatin1String("SCENE")) || IsPartHeading(trimmed)) {
            if (m_acts == 0) { // a prologue before the first act opens it
                openAct(QStringLiteral("ACT I"), number);
                m_prologueAct = true;
            }
            openScene(trimmed, number);
            return;
        }
        if (m_skipping)
            return;
        if (IsSpeakerLine(trimmed)) {
            openReply(SpeakerName(trimmed), number);
            return;
        }
        if (!m_speech) {
            // A direction of the scene before its first reply, or between replies.
            if (!m_scene)
                openScene(QString(), number);
            if (m_scene) {
                SceneEvent event;
                event.direction = trimmed;
                m_scene->events.append(event);
            }
            return;
        }
        SpeechItem item;
        item.pieces.append({false, trimmed});
        m_speech->items.append(item);
    }

    void openAct(const QString &heading, int number)
    {
        if (m_prologueAct) {
            // The act a prologue opened is the first act proper.
            m_prologueAct = false;
            m_result.play.acts.last().title = heading;
            m_scene = nullptr;
            m_speech = nullptr;
            return;
        }
        ++m_acts;
        m_scene = nullptr;
        m_speech = nullptr;
        m_skipping = m_acts > Module1::MaxActs;
        if (m_skipping) {
            issue(number, ImportIssue::Error,
                  QStringLiteral("act %1: a play has at most %2 acts")
                      .arg(m_acts)
                      .arg(Module1::MaxActs));
            return;
        }
        m_result.play.acts.append({heading, {}});
    }

    // `heading` "" for the scene an act gets when its replies come first.
    void openScene(const QString &heading, int number)
    {
        m_speech = nullptr;
        if (m_acts > Module1::MaxActs)
            return;
        PlayAct &act = m_result.play.acts.last();
        if (act.scenes.size() >= Module1::MaxScenesPerAct) {
            m_skipping = true;
            m_scene = nullptr;
            issue(number, ImportIssue::Error,
                  QStringLiteral("scene %1 of %2: an act has at most %3 scenes")
                      .arg(QString::number(act.scenes.size() + 1), act.title,
                           QString::number(Module1::MaxScenesPerAct)));
            return;
        }
        m_skipping = false;
        QString title = heading;
        if (title.isEmpty()) {
            title = QStringLiteral("SCENE %1").arg(act.scenes.size() + 1);
            issue(number, ImportIssue::Note,
                  QStringLiteral("no scene heading in %1: its replies form a scene of their own")
                      .arg(act.title));
        }
        act.scenes.append({title, {}});
        m_scene = &act.scenes.last();
    }

    void openReply(const QString &speaker, int number)
    {
        if (!m_scene)
            openScene(QString(), number);
        if (!m_scene)
            return;
        ++m_replies;
        if (m_replies > Module1::MaxReplies) {
            if (m_replies == Module1::MaxReplies + 1)
                m_firstExtraReply = number;
            m_speech = nullptr;
            m_sink.items.clear();
            m_speech = &m_sink; // its text is read and dropped
            return;
        }
        SceneEvent event;
        event.isSpeech = true;
        event.speech.speakers = QStringList{speaker};
        event.speech.line = number;
        m_scene->events.append(event);
        m_speech = &m_scene->events.last().speech;
    }

    void finish()
    {
        if (m_replies > Module1::MaxReplies)
            issue(m_firstExtraReply, ImportIssue::Error,
                  QStringLiteral("reply %1 and the %2 after it: a play has at most %3 replies")
                      .arg(Module1::MaxReplies + 1)
                      .arg(m_replies - Module1::MaxReplies - 1)
                      .arg(Module1::MaxReplies));
        if (m_acts == 0)
            m_result.issues.append({0, ImportIssue::Error,
                                    QStringLiteral("no act heading (a line starting with \"ACT\"): "
                                                   "nothing to import")});
        if (m_unlisted > 0)
            m_result.issues.append(
                {0, m_unlistedError ? ImportIssue::Error : ImportIssue::Note,
                 QStringLiteral("and %1 more lines like those above").arg(m_unlisted)});
    }

    PlayTextRead m_result;
    PlayScene *m_scene = nullptr;
    Speech *m_speech = nullptr;
    Speech m_sink;
    bool m_skipping = false;
    bool m_prologueAct = false;
    int m_acts = 0;
    int m_replies = 0;
    int m_firstExtraReply = 0;
    int m_listed = 0;
    int m_unlisted = 0;
    bool m_unlistedError = false;
};

} // namespace

bool IsSpeakerLine(const QString &trimmed)
{
    if (trimmed.size() > MaxSpeakerLength || trimmed.startsWith(QLatin1Char('[')) ||
        trimmed.startsWith(QLatin1Char('(')))
        return false;
    int letters = 0;
    for (const QChar c : trimmed) {
        if (c.isLower())
            return false;
        if (c.isLetter())
            ++letters;
    }
    return letters >= 2;
}

PlayTextRead ReadPlayText(const QString &text)
{
    return TextReader().read(text);
}

} // namespace tiradex
