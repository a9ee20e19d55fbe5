#pragma once

#include "core/audio/PcmAudio.h"

#include <QMutex>
#include <QString>

#include <optional>

namespace tiradex {

class SpeechSynthesizer;

// Synthesized replies kept on disk, one WAV file per spoken text and voice,
// named after a hash of both: a scene is synthesized once, and a reply
// whose text changed is synthesized again under a new name. Safe to use
// from several threads at once; synthesis itself runs one at a time.
class SpeechCache
{
public:
    // Speech is kept in `folder` (created when needed), made by `synthesizer`.
    SpeechCache(const QString &folder, SpeechSynthesizer &synthesizer);

    // The cache folder of the play folder `playFolder`.
    static QString FolderFor(const QString &playFolder);

    const QString &folder() const { return m_folder; }
    // The file that holds (or will hold) `replyText` spoken by `voice`.
    QString pathFor(const QString &replyText, const QString &voice) const;

    // Makes sure the speech of `replyText` by `voice` is on disk and returns
    // its path: synthesized when missing (stage directions left out), read
    // from the cache otherwise. A text with nothing to say gives a short
    // silence. Fails, with *error, when synthesis or writing fails.
    std::optional<QString> prepare(const QString &replyText, const QString &voice, QString *error);
    // The speech itself, prepared first when needed.
    std::optional<PcmAudio> speech(const QString &replyText, const QString &voice, QString *error);

private:
    QString m_folder;
    SpeechSynthesizer &m_synthesizer;
    QMutex m_mutex;
};

} // namespace tiradex
