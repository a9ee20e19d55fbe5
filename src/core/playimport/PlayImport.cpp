#include "core/playimport/PlayImport.h"

#include "core/app/FileIo.h"
#include "core/app/Module1.h"
#include "core/app/TextCodec.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace tiradex {

namespace {

// Bytes that no text holds: a NUL, or control characters in a share no
// typed play has. A stray control character in a name is mended instead.
int BinaryLine(const QByteArray &source)
{
    const qsizetype sample = qMin<qsizetype>(source.size(), 64 * 1024);
    qsizetype controls = 0;
    for (qsizetype i = 0; i < sample; ++i) {
        const auto c = static_cast<unsigned char>(source.at(i));
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f')
            ++controls;
    }
    qsizetype at = source.indexOf('\0');
    if (at < 0 && controls * 100 > sample)
        at = 0;
    if (at < 0)
        return 0;
    return int(source.left(at).count('\n')) + 1;
}

QString Cleaned(const QString &text)
{
    QString clean;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            clean += QLatin1Char('\'');
        else if (c.category() != QChar::Other_Control)
            clean += c;
    }
    return clean.simplified();
}

bool StartsWithHeadingWord(const QString &name)
{
    return name.startsWith(QLatin1String("ACT"), Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String("SCENE"), Qt::CaseInsensitive);
}

// Edit distance with swapped neighbours counting one, stopping early: true
// when `a` and `b` differ by one letter added, dropped, changed or swapped.
bool OneEditApart(const QString &a, const QString &b)
{
    if (a == b || qAbs(a.size() - b.size()) > 1)
        return false;
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a.at(i) == b.at(i))
        ++i;
    if (a.size() == b.size()) {
        const bool swapped = i + 1 < a.size() && a.at(i) == b.at(i + 1) && a.at(i + 1) == b.at(i);
        return QStringView(a).mid(i + (swapped ? 2 : 1)) ==
               QStringView(b).mid(i + (swapped ? 2 : 1));
    }
    const QString &longer = a.size() > b.size() ? a : b;
    const QString &shorter = a.size() > b.size() ? b : a;
    return QStringView(longer).mid(i + 1) == QStringView(shorter).mid(i);
}

// "1 act", "2 acts", "1 reply", "3 replies".
QString Counted(int n, const char *noun)
{
    QString word = QLatin1String(noun);
    if (n != 1)
        word = word.endsWith(QLatin1Char('y')) ? word.chopped(1) + QStringLiteral("ies")
                                               : word + QLatin1Char('s');
    return QStringLiteral("%1 %2").arg(n).arg(word);
}

void AddIssue(QList<ImportIssue> &issues, int line, ImportIssue::Severity severity,
              const QString &text)
{
    issues.append({line, severity, text});
}

} // namespace

PlayImport PlayImport::fromFile(const QString &path)
{
    QString error;
    const std::optional<QByteArray> bytes = ReadWholeFile(path, MaxSourceBytes, &error);
    if (!bytes) {
        PlayImport import;
        import.m_title = QFileInfo(path).completeBaseName();
        AddIssue(import.m_issues, 0, ImportIssue::Error, error);
        return import;
    }
    return fromBytes(*bytes, path);
}

PlayImport PlayImport::fromBytes(const QByteArray &source, const QString &fileName)
{
    PlayImport import;
    import.checkSource(source);
    if (import.m_issues.isEmpty()) {
        const QByteArray start = source.left(256).trimmed();
        import.m_xml = start.startsWith('<') || start.startsWith("\xEF\xBB\xBF<");
        if (import.m_xml)
            import.readXml(source);
        else
            import.readText(source);
    }
    if (import.m_read) {
        import.m_cast = BuildCastUnchecked(import.m_play);
        import.mendNames();
    }
    QString title = Cleaned(import.m_title).left(MaxTitleLength).trimmed();
    if (title.isEmpty())
        title = Cleaned(QFileInfo(fileName).completeBaseName()).left(MaxTitleLength);
    if (title.isEmpty())
        title = QStringLiteral("Untitled play");
    import.m_title = title;
    return import;
}

void PlayImport::checkSource(const QByteArray &source)
{
    if (source.trimmed().isEmpty()) {
        AddIssue(m_issues, 0, ImportIssue::Error, QStringLiteral("the file is empty"));
        return;
    }
    if (const int line = BinaryLine(source))
        AddIssue(m_issues, line, ImportIssue::Error,
                 QStringLiteral("binary data: the file is neither a play text nor a play in XML"));
}

void PlayImport::readXml(const QByteArray &source)
{
    QString error;
    std::optional<PlayDocument> play = ParsePlayXml(source, &error);
    if (!play) {
        // "line N: why"
        static const QRegularExpression lineOf(QStringLiteral("^line (\\d+): (.*)$"));
        const QRegularExpressionMatch match = lineOf.match(error);
        if (match.hasMatch())
            AddIssue(m_issues, match.captured(1).toInt(), ImportIssue::Error,
                     QStringLiteral("XML: ") + match.captured(2));
        else
            AddIssue(m_issues, 0, ImportIssue::Error, QStringLiteral("XML: ") + error);
        return;
    }
    m_play = std::move(*play);
    m_title = m_play.title;
    m_read = true;

    // The limits of the scene store's numbering, which the XML does not know.
    if (m_play.acts.size() > Module1::MaxActs)
        AddIssue(m_issues, 0, ImportIssue::Error,
                 QStringLiteral("%1 acts: a play has at most %2 acts")
                     .arg(m_play.acts.size())
                     .arg(Module1::MaxActs));
    int speeches = 0;
    for (const PlayAct &act : m_play.acts) {
        if (act.scenes.size() > Module1::MaxScenesPerAct)
            AddIssue(m_issues, 0, ImportIssue::Error,
                     QStringLiteral("%1 has %2 scenes: an act has at most %3 scenes")
                         .arg(act.title)
                         .arg(act.scenes.size())
                         .arg(Module1::MaxScenesPerAct));
        for (const PlayScene &scene : act.scenes) {
            for (const SceneEvent &event : scene.events) {
                if (event.isSpeech && ++speeches == Module1::MaxReplies + 1)
                    AddIssue(m_issues, event.speech.line, ImportIssue::Error,
                             QStringLiteral("speech %1 and after: a play has at most %2 replies")
                                 .arg(speeches)
                                 .arg(Module1::MaxReplies));
            }
        }
    }
}

void PlayImport::readText(const QByteArray &source)
{
    PlayTextRead read = ReadPlayText(DecodeText(source));
    m_issues = std::move(read.issues);
    m_play = std::move(read.play);
    m_title = read.titleLine;
    m_read = !m_play.acts.isEmpty();
}

QString PlayImport::NameFault(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("it is empty");
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("a file name cannot hold it");
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("it holds a control character");
    }
    if (name.contains(QLatin1Char('"')))
        return QStringLiteral("it holds a double quote");
    if (name.size() > MaxNameLength)
        return QStringLiteral("it is longer than %1 characters").arg(MaxNameLength);
    if (StartsWithHeadingWord(name))
        return QStringLiteral("the play text would read it as an act or scene heading");
    if (name != name.trimmed())
        return QStringLiteral("it starts or ends with a blank");
    return QString();
}

QString PlayImport::MendedName(const QString &name)
{
    QString mended = name;
    mended.replace(QLatin1Char('/'), QLatin1Char('-'));
    mended.replace(QLatin1Char('\\'), QLatin1Char('-'));
    mended = Cleaned(mended);
    if (mended == QLatin1String(".") || mended == QLatin1String(".."))
        mended.clear();
    if (mended.isEmpty())
        mended = QStringLiteral("UNNAMED");
    if (StartsWithHeadingWord(mended))
        mended.prepend(QStringLiteral("THE "));
    return mended.left(MaxNameLength).trimmed();
}

void PlayImport::mendNames()
{
    // Statuses of a play text say where the character first speaks; the
    // XML's speakers without a persona are reported.
    QHash<QString, QString> firstPlace;
    int actNumber = 0;
    for (const PlayAct &act : m_play.acts) {
        ++actNumber;
        int sceneNumber = 0;
        for (const PlayScene &scene : act.scenes) {
            ++sceneNumber;
            for (const SceneEvent &event : scene.events) {
                if (!event.isSpeech)
                    continue;
                const QString entry = m_cast.entryFor(event.speech.speakers);
                if (!firstPlace.contains(entry))
                    firstPlace.insert(entry, QStringLiteral("first speaks in act %1, scene %2")
                                                 .arg(actNumber)
                                                 .arg(sceneNumber));
                if (event.speech.items.isEmpty())
                    AddIssue(m_issues, event.speech.line, ImportIssue::Note,
                             QStringLiteral("%1 speaks no line here: the reply holds \"[...]\"")
                                 .arg(entry));
            }
        }
    }
    for (CastEntry &entry : m_cast.entries) {
        if (entry.status == UndescribedSpeakerStatus()) {
            if (m_xml)
                AddIssue(m_issues, firstLineOf(entry.name), ImportIssue::Note,
                         QStringLiteral("the speaker %1 is not in the cast list: "
                                        "a character of its own")
                             .arg(entry.name));
            entry.status = firstPlace.value(entry.name);
        }
    }
    std::stable_sort(m_issues.begin(), m_issues.end(),
                     [](const ImportIssue &a, const ImportIssue &b) { return a.line < b.line; });

    for (qsizetype i = 0; i < m_cast.entries.size(); ++i) {
        const QString name = m_cast.entries.at(i).name;
        const QString fault = NameFault(name);
        if (fault.isEmpty())
            continue;
        QString mended = MendedName(name);
        // Never merge two characters behind the user's back.
        for (int n = 2; m_cast.names().contains(mended, Qt::CaseInsensitive); ++n)
            mended = MendedName(name).left(MaxNameLength - 3) + QStringLiteral(" %1").arg(n);
        renameEntry(name, mended);
        m_mended.append({firstLineOf(mended), ImportIssue::Note,
                         QStringLiteral("the name \"%1\" cannot be used (%2): it becomes \"%3\"")
                             .arg(Cleaned(name), fault, mended)});
        m_mendedNames.append(mended);
    }
}

int PlayImport::firstLineOf(const QString &entry) const
{
    for (const PlayAct &act : m_play.acts) {
        for (const PlayScene &scene : act.scenes) {
            for (const SceneEvent &event : scene.events) {
                if (event.isSpeech && m_cast.entryFor(event.speech.speakers) == entry)
                    return event.speech.line;
            }
        }
    }
    return 0;
}

void PlayImport::renameEntry(const QString &from, const QString &to)
{
    for (CastEntry &entry : m_cast.entries) {
        if (entry.name == from)
            entry.name = to;
    }
    for (auto it = m_cast.entryOfSpeakers.begin(); it != m_cast.entryOfSpeakers.end(); ++it) {
        if (it.value() == from)
            it.value() = to;
    }
}

bool PlayImport::setTitle(const QString &title, QString *error)
{
    const QString clean = Cleaned(title);
    QString fault;
    if (clean.isEmpty())
        fault = QStringLiteral("The play needs a title.");
    else if (clean.size() > MaxTitleLength)
        fault = QStringLiteral("A title has at most %1 characters.").arg(MaxTitleLength);
    if (!fault.isEmpty()) {
        if (error)
            *error = fault;
        return false;
    }
    m_title = clean;
    return true;
}

QList<PlayImport::Character> PlayImport::characters() const
{
    QHash<QString, int> replies;
    for (const PlayAct &act : m_play.acts) {
        for (const PlayScene &scene : act.scenes) {
            for (const SceneEvent &event : scene.events) {
                if (event.isSpeech)
                    ++replies[m_cast.entryFor(event.speech.speakers)];
            }
        }
    }
    QList<Character> list;
    for (const CastEntry &entry : m_cast.entries)
        list.append({entry.name, entry.status, replies.value(entry.name)});
    return list;
}

bool PlayImport::renameCharacter(int index, const QString &name, QString *error)
{
    if (index < 0 || index >= m_cast.entries.size()) {
        if (error)
            *error = QStringLiteral("No character is chosen.");
        return false;
    }
    const QString wanted = name.simplified();
    const QString fault = NameFault(wanted);
    if (!fault.isEmpty()) {
        if (error)
            *error = QStringLiteral("The name \"%1\" cannot be used: %2.").arg(wanted, fault);
        return false;
    }
    const QString old = m_cast.entries.at(index).name;
    for (qsizetype other = 0; other < m_cast.entries.size(); ++other) {
        if (other != index &&
            m_cast.entries.at(other).name.compare(wanted, Qt::CaseInsensitive) == 0) {
            // Two spellings of one character: the replies go to the other.
            m_cast.entries.removeAt(index);
            renameEntry(old, m_cast.entries.at(other > index ? other - 1 : other).name);
            return true;
        }
    }
    renameEntry(old, wanted);
    return true;
}

int PlayImport::acts() const
{
    return int(m_play.acts.size());
}

int PlayImport::scenes() const
{
    int count = 0;
    for (const PlayAct &act : m_play.acts)
        count += int(act.scenes.size());
    return count;
}

int PlayImport::replies() const
{
    int count = 0;
    for (const Character &character : characters())
        count += character.replies;
    return count;
}

QList<ImportIssue> PlayImport::issues() const
{
    QList<ImportIssue> all = m_issues;
    const QStringList names = m_cast.names();
    for (qsizetype i = 0; i < m_mended.size(); ++i) {
        // A mended name the user has renamed since is no longer news.
        if (names.contains(m_mendedNames.at(i)))
            all.append(m_mended.at(i));
    }
    // A character who speaks little under a name one letter away from
    // another's is most likely a misspelling of it.
    const QList<Character> list = characters();
    if (list.size() <= 500) {
        for (qsizetype i = 0; i < list.size(); ++i) {
            const Character &rare = list.at(i);
            if (rare.replies > 2 || rare.name.size() < 4)
                continue;
            for (qsizetype j = 0; j < list.size(); ++j) {
                const Character &other = list.at(j);
                if (other.replies > rare.replies && OneEditApart(rare.name, other.name)) {
                    all.append({firstLineOf(rare.name), ImportIssue::Note,
                                QStringLiteral("%1 has %2, %3 %4: two spellings of one "
                                               "character? Rename %1 to %3 to merge them")
                                    .arg(rare.name, Counted(rare.replies, "reply"), other.name,
                                         Counted(other.replies, "reply"))});
                    break;
                }
            }
        }
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const ImportIssue &a, const ImportIssue &b) { return a.line < b.line; });
    return all;
}

bool PlayImport::canImport() const
{
    if (!m_read)
        return false;
    for (const ImportIssue &issue : m_issues) {
        if (issue.severity == ImportIssue::Error)
            return false;
    }
    return true;
}

QString PlayImport::reportText() const
{
    QStringList out;
    out << QStringLiteral("Title: %1").arg(m_title);
    out << QStringLiteral("Source: %1")
               .arg(m_xml ? QStringLiteral("a play in XML") : QStringLiteral("a play text"));
    out << QStringLiteral("%1, %2, %3")
               .arg(Counted(acts(), "act"), Counted(scenes(), "scene"),
                    Counted(replies(), "reply"));
    const QList<Character> list = characters();
    out << QString() << QStringLiteral("Characters (%1), with their replies:").arg(list.size());
    for (const Character &character : list)
        out << QStringLiteral("  %1: %2").arg(character.name).arg(character.replies);
    const QList<ImportIssue> all = issues();
    out << QString();
    if (all.isEmpty())
        out << QStringLiteral("Every line is placed.");
    else
        out << QStringLiteral("Lines to look at:");
    int errors = 0;
    for (const ImportIssue &issue : all) {
        const bool isError = issue.severity == ImportIssue::Error;
        errors += isError ? 1 : 0;
        const QString where =
            issue.line > 0 ? QStringLiteral("line %1").arg(issue.line) : QStringLiteral("file");
        out << QStringLiteral("  %1%2: %3")
                   .arg(where, isError ? QStringLiteral(", error") : QString(), issue.text);
    }
    out << QString();
    if (canImport())
        out << QStringLiteral("The play can be imported.");
    else
        out << (errors == 1
                    ? QStringLiteral("The play cannot be imported (1 error).")
                    : QStringLiteral("The play cannot be imported (%1 errors).").arg(errors));
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

std::optional<GeneratedPlay> PlayImport::build(QString *error) const
{
    if (!canImport()) {
        if (error)
            *error = QStringLiteral("The play cannot be imported: see the errors of the report.");
        return std::nullopt;
    }
    PlayDocument play = m_play;
    play.title = m_title;
    return GeneratePlay(play, m_cast, error);
}

} // namespace tiradex
