#include "core/play/PlayConverter.h"

#include "core/app/FileIo.h"
#include "core/app/QuotedRecord.h"
#include "core/app/TextCodec.h"
#include "core/play/SceneStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace tiradex {

namespace {

const QChar Blank = QLatin1Char(' ');

bool isBlankLine(QStringView line)
{
    for (const QChar c : line) {
        if (c != Blank)
            return false;
    }
    return true;
}

// Trims the blank character only: tabs and other white space are part of a
// name or a text.
QStringView trimBlanks(QStringView line)
{
    qsizetype start = 0;
    qsizetype end = line.size();
    while (start < end && line.at(start) == Blank)
        ++start;
    while (end > start && line.at(end - 1) == Blank)
        --end;
    return line.mid(start, end - start);
}

// True when something (a folder, a file, even a dangling link) is at `path`.
bool pathTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Moves the finished store to its place. Fails with EEXIST rather than
// replacing anything that appeared at `target` in the meantime (a plain
// rename would silently replace an empty folder).
bool renameNoReplace(const QString &source, const QString &target, int *errorNumber)
{
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(target);
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) {
        *errorNumber = errno;
        return false;
    }
    // File systems without the flag: test, then rename.
#endif
    if (pathTaken(target)) {
        *errorNumber = EEXIST;
        return false;
    }
    if (std::rename(from.constData(), to.constData()) == 0)
        return true;
    *errorNumber = errno;
    return false;
}

// A fresh folder beside `playFolder`, named after it and the converting
// process: ".PLAY.converting-PID-RANDOM". It is removed again (with what it
// holds) unless release() is called.
class StagingFolder
{
public:
    explicit StagingFolder(const QString &playFolder)
    {
        const QFileInfo info(playFolder);
        const QString stem = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                             QStringLiteral(".converting-") +
                             QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-');
        for (int attempt = 0; attempt < 32 && m_path.isEmpty(); ++attempt) {
            const QString candidate =
                stem + QString::number(QRandomGenerator::global()->generate(), 36);
            // mkdir fails when the name exists, so the folder is ours alone.
            if (QDir().mkdir(candidate))
                m_path = candidate;
            else if (!QFileInfo(info.absolutePath()).isDir())
                break;
        }
    }

    // Removes the staging folders of `playFolder` left by conversions whose
    // process has ended without finishing (killed, crashed, power cut).
    // Folders of a process that still runs are left alone.
    static void removeAbandoned(const QString &playFolder)
    {
        const QFileInfo info(playFolder);
        const QRegularExpression pattern(QStringLiteral("^\\.") +
                                         QRegularExpression::escape(info.fileName()) +
                                         QStringLiteral("\\.converting-([0-9]+)-[0-9a-z]+$"));
        const QDir parent(info.absolutePath());
        const QStringList names =
            parent.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks);
        for (const QString &name : names) {
            const QRegularExpressionMatch match = pattern.match(name);
            if (!match.hasMatch())
                continue;
            bool ok = false;
            const qint64 pid = match.captured(1).toLongLong(&ok);
            if (!ok || pid <= 0 || pid > std::numeric_limits<pid_t>::max() ||
                pid == QCoreApplication::applicationPid())
                continue;
            if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
                QDir(parent.filePath(name)).removeRecursively();
        }
    }

    ~StagingFolder()
    {
        if (!m_path.isEmpty())
            QDir(m_path).removeRecursively();
    }
    StagingFolder(const StagingFolder &) = delete;
    StagingFolder &operator=(const StagingFolder &) = delete;

    const QString &path() const { return m_path; }
    void release() { m_path.clear(); }

private:
    QString m_path;
};

// Writes the scene store while the source text is read line by line. The
// records of one reply file are collected and the file is written once,
// when the next text line goes elsewhere or the text ends.
class StoreWriter
{
public:
    StoreWriter(const Module1 &staging, const QString &playFolder, const QString &textPath)
        : m_store(staging), m_playFolder(playFolder), m_textPath(textPath),
          m_recordEnd(staging.KeepLineBreaks ? QStringLiteral("\r\n") : QString())
    {
    }

    bool start()
    {
        return makeFolder(m_store.VoxFolder()) && makeFolder(m_store.PhotosFolder()) &&
               makeFolder(m_store.NotesFolder());
    }

    bool actHeading(int lineNumber)
    {
        if (m_act == Module1::MaxActs) {
            m_error = QStringLiteral("The play text %1 has more than %2 acts (line %3); "
                                     "a play can have at most %2 acts.")
                          .arg(m_textPath, QString::number(Module1::MaxActs),
                               QString::number(lineNumber));
            return false;
        }
        ++m_act;
        m_scene = 0;
        return makeFolder(m_store.ActFolder(m_act));
    }

    bool sceneHeading(QStringView line, int lineNumber)
    {
        if (m_scene == Module1::MaxScenesPerAct) {
            m_error = QStringLiteral("The play text %1 has more than %2 scenes in act %3 "
                                     "(line %4); an act can have at most %2 scenes.")
                          .arg(m_textPath, QString::number(Module1::MaxScenesPerAct),
                               QString::number(m_act), QString::number(lineNumber));
            return false;
        }
        ++m_scene;
        ++m_sceneCount;
        m_replyFile.clear();
        m_scenes.append({m_act, m_scene, line.toString()});
        m_headIni += FormatRecord({RecordField::number(m_act), RecordField::number(m_scene),
                                   RecordField::text(line.toString())});
        return makeFolder(m_store.SceneFolder(m_act, m_scene));
    }

    bool characterLine(const QString &character, int lineNumber)
    {
        if (m_reply == Module1::MaxReplies) {
            m_error = QStringLiteral("The play text %1 has more than %2 replies (line %3); "
                                     "a play can have at most %2 replies.")
                          .arg(m_textPath, QString::number(Module1::MaxReplies),
                               QString::number(lineNumber));
            return false;
        }
        if (character.contains(QLatin1Char('/')) || character.contains(QChar(0))) {
            m_error = QStringLiteral("The character name \"%1\" (line %2 of %3) cannot be part "
                                     "of a file name.")
                          .arg(character, QString::number(lineNumber), m_textPath);
            return false;
        }
        ++m_reply;
        // Nothing is written yet: a character line followed by no text line
        // leaves its number unused.
        m_replyFile = Module1::ReplyBaseName(m_reply, character);
        return true;
    }

    bool textLine(QStringView line)
    {
        // Lines before the first character line of a scene (or of the play),
        // or in an act before its first scene heading, have no reply to go
        // to and are dropped: giving them the previous scene's last reply
        // name would make two replies share one number.
        if (m_replyFile.isEmpty() || m_scene == 0)
            return true;
        const QString path = m_store.ReplyTextPath(m_act, m_scene, m_replyFile);
        if (path != m_pendingPath) {
            if (!flush())
                return false;
            m_pendingPath = path;
        }
        m_pending += FormatRecord({RecordField::text(line.toString() + m_recordEnd)});
        return true;
    }

    bool finish()
    {
        if (!flush())
            return false;
        QByteArray treeview;
        for (const ActRecord &act : TreeviewFromHead(m_scenes, m_act))
            treeview +=
                FormatRecord({RecordField::number(act.act), RecordField::number(act.sceneCount)});
        return writeFile(m_store.HeadIniPath(), m_headIni) &&
               writeFile(m_store.TreeviewIniPath(), treeview);
    }

    const QString &error() const { return m_error; }
    int acts() const { return m_act; }
    int scenes() const { return m_sceneCount; }
    int replies() const { return m_reply; }

private:
    bool flush()
    {
        if (m_pendingPath.isEmpty())
            return true;
        const bool written = writeFile(m_pendingPath, m_pending);
        m_pendingPath.clear();
        m_pending.clear();
        return written;
    }

    // Creates the file at `path` (appending if it exists) and writes `bytes`.
    // Plain system calls: a store has thousands of small files, and QFile
    // adds a status query and a seek to each. The staging folder is thrown
    // away on failure, so no atomic replacement is needed here: the whole
    // store becomes visible at once by the final rename.
    bool writeFile(const QString &path, const QByteArray &bytes)
    {
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
        if (fd < 0)
            return writeFailed(path, errno);
        const char *data = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                const int cause = n < 0 ? errno : ENOSPC;
                ::close(fd);
                return writeFailed(path, cause);
            }
            data += n;
            left -= n;
        }
        if (::close(fd) != 0 && errno != EINTR)
            return writeFailed(path, errno);
        return true;
    }

    bool writeFailed(const QString &path, int cause)
    {
        m_error = QStringLiteral("Cannot write the file %1: %2")
                      .arg(shown(path), QString::fromLocal8Bit(std::strerror(cause)));
        return false;
    }

    bool makeFolder(const QString &path)
    {
        if (QDir().mkdir(path))
            return true;
        m_error = QStringLiteral("Cannot create the folder %1.").arg(shown(path));
        return false;
    }

    // A path of the staging folder as it will read once the store is in place.
    QString shown(const QString &path) const
    {
        return m_playFolder + path.mid(m_store.PlayFolder.size());
    }

    Module1 m_store; // PlayFolder is the staging folder
    QString m_playFolder;
    QString m_textPath;
    QString m_recordEnd;
    QString m_error;
    int m_act = 0;   // acts seen; the current act's number
    int m_scene = 0; // scenes seen in the current act; 0 before its first
    int m_sceneCount = 0;
    int m_reply = 0; // the last reply number given
    QString m_replyFile;
    QString m_pendingPath;
    QByteArray m_pending;
    QByteArray m_headIni;
    QList<SceneHeader> m_scenes;
};

// Finds the list entry that a trimmed line names, ignoring case; the first
// entry in list order wins when several match.
class CharacterMatcher
{
public:
    explicit CharacterMatcher(const QStringList &characters)
    {
        for (const QString &name : characters) {
            const QString key = name.toCaseFolded();
            if (!m_byKey.contains(key))
                m_byKey.insert(key, name);
        }
    }
    const QString *find(QStringView trimmedLine) const
    {
        const auto it = m_byKey.constFind(trimmedLine.toString().toCaseFolded());
        return it == m_byKey.constEnd() ? nullptr : &it.value();
    }

private:
    QHash<QString, QString> m_byKey;
};

// Reads the lines of `text` and feeds them to `writer`. Lines end with
// CR LF, LF or a lone CR.
bool convertLines(const QString &text, const QStringList &characters, StoreWriter &writer,
                  const ConvertProgress &progress)
{
    const CharacterMatcher matcher(characters);
    const QStringView all(text);
    bool started = false;
    int lineNumber = 0;
    int lastPercent = -1;
    qsizetype pos = 0;
    while (pos < all.size()) {
        qsizetype end = pos;
        while (end < all.size() && all.at(end) != QLatin1Char('\r') &&
               all.at(end) != QLatin1Char('\n'))
            ++end;
        const QStringView line = all.mid(pos, end - pos);
        pos = end;
        if (pos < all.size() && all.at(pos) == QLatin1Char('\r')) {
            ++pos;
            if (pos < all.size() && all.at(pos) == QLatin1Char('\n'))
                ++pos;
        } else if (pos < all.size()) {
            ++pos; // LF
        }
        ++lineNumber;

        if (progress) {
            const int percent = int(pos * 100 / all.size());
            if (percent != lastPercent) {
                lastPercent = percent;
                progress(percent);
            }
        }

        if (line.startsWith(QLatin1String("ACT")))
            started = true;
        if (!started || isBlankLine(line))
            continue;
        bool ok = true;
        if (line.startsWith(QLatin1String("ACT"))) {
            ok = writer.actHeading(lineNumber);
        } else if (line.startsWith(QLatin1String("SCENE"))) {
            ok = writer.sceneHeading(line, lineNumber);
        } else if (const QString *character = matcher.find(trimBlanks(line))) {
            ok = writer.characterLine(*character, lineNumber);
        } else {
            ok = writer.textLine(line);
        }
        if (!ok)
            return false;
    }
    return true;
}

ConvertResult failure(const QString &error)
{
    ConvertResult result;
    // A failure always carries a message, so that it never reads as success.
    result.error =
        error.isEmpty() ? QStringLiteral("The play text could not be converted.") : error;
    return result;
}

} // namespace

ConvertResult ConvertPlay(const Module1 &state, const QStringList &characters,
                          const ConvertProgress &progress)
{
    if (state.PlayFolder.isEmpty())
        return failure(QStringLiteral("No play folder is set."));
    if (pathTaken(state.PlayFolder)) {
        ConvertResult result;
        result.alreadyConverted = true;
        return result;
    }

    // The text is read whole before anything is created, so a missing or
    // unreadable text leaves no play folder behind.
    const QString textPath = state.AppFolder + state.PlayTextFile;
    QString error;
    std::optional<QByteArray> bytes = ReadWholeFile(textPath, MaxPlayTextBytes, &error);
    if (!bytes)
        return failure(error);
    const QString text = DecodeText(*bytes);
    bytes.reset();

    const QString parent = QFileInfo(state.PlayFolder).absolutePath();
    if (!QFileInfo(parent).isDir())
        return failure(QStringLiteral("Cannot create the play folder %1: the folder %2 does not "
                                      "exist.")
                           .arg(state.PlayFolder, parent));
    StagingFolder::removeAbandoned(state.PlayFolder);
    StagingFolder staging(state.PlayFolder);
    if (staging.path().isEmpty())
        return failure(QStringLiteral("Cannot create the play folder %1: the folder %2 cannot "
                                      "be written.")
                           .arg(state.PlayFolder, parent));

    Module1 stagingState = state;
    stagingState.PlayFolder = staging.path();
    StoreWriter writer(stagingState, state.PlayFolder, textPath);
    if (!writer.start() || !convertLines(text, characters, writer, progress) || !writer.finish())
        return failure(writer.error());

    int errorNumber = 0;
    if (!renameNoReplace(staging.path(), state.PlayFolder, &errorNumber)) {
        ConvertResult result;
        if (errorNumber == EEXIST || errorNumber == ENOTEMPTY) {
            // Another conversion finished first; its store stands.
            result.alreadyConverted = true;
            return result;
        }
        return failure(
            QStringLiteral("Cannot create the play folder %1: %2")
                .arg(state.PlayFolder, QString::fromLocal8Bit(std::strerror(errorNumber))));
    }
    staging.release();
    if (progress && text.isEmpty())
        progress(100);

    ConvertResult result;
    result.acts = writer.acts();
    result.scenes = writer.scenes();
    result.replies = writer.replies();
    return result;
}

} // namespace tiradex
