#pragma once

#include "core/app/Module1.h"

#include <QString>
#include <QStringList>

namespace tiradex {

// Which of a reply's companion files exist in the play folder.
struct ReplyFiles
{
    bool recording = false; // VoxPath
    bool note = false;      // NotePath
    bool photo = false;     // PhotoPath
};

// The files that exist for the reply with base name `baseName`.
ReplyFiles FindReplyFiles(const Module1 &state, const QString &baseName);

// The scene open in the scene view: its act and scene numbers, the list of its
// reply text files (taken once when the scene opens, in name order, hence in
// reply-number order) and the index of the reply shown. Holds no text; the
// window reads the text of the reply it shows.
class SceneCursor
{
public:
    // Opens scene `scene` of act `act` of the open play: lists the reply files
    // of its scene folder and makes the first reply current. A missing or
    // empty folder gives an open scene of no replies.
    void open(const Module1 &state, int act, int scene);
    // Back to "no scene open".
    void close();

    bool isOpen() const { return m_open; }
    int act() const { return m_act; }
    int scene() const { return m_scene; }
    int count() const { return int(m_files.size()); }
    bool isEmpty() const { return m_files.isEmpty(); }
    // Index of the current reply (0-based); 0 when the scene is empty.
    int index() const { return m_index; }
    bool isLast() const { return m_index >= count() - 1; }

    // Makes reply k current. Returns false, and changes nothing, when k is
    // not an index of the list.
    bool setIndex(int k);

    // Entries of the list: "_0057_HUBERT.txt", "_0057_HUBERT", "0057",
    // "HUBERT". Empty strings for an index out of range.
    QString fileName(int k) const;
    QString baseName(int k) const;
    QString replyNumber(int k) const;
    QString character(int k) const;
    // The reply numbers of every entry, in list order.
    QStringList replyNumbers() const;
    const QStringList &fileNames() const { return m_files; }

    // "k+1/count" for the current reply, e.g. "3/41"; "0/0" for an empty scene.
    QString positionText() const;

    // Path of the text file of reply k.
    QString replyTextPath(const Module1 &state, int k) const;
    // The text of reply k, read as the scene store is read; "" when the file
    // cannot be read (for instance removed since the scene was opened).
    QString replyText(const Module1 &state, int k) const;

    // True when reply k has a recording.
    bool hasRecording(const Module1 &state, int k) const;
    // The first index from `from` on whose reply has a recording, or -1.
    int firstRecordedFrom(const Module1 &state, int from) const;

private:
    bool m_open = false;
    int m_act = 0;
    int m_scene = 0;
    int m_index = 0;
    QStringList m_files;
};

} // namespace tiradex
