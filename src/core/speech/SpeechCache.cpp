#include "core/speech/SpeechCache.h"

#include "core/audio/WavFile.h"
#include "core/speech/SpeechSynthesizer.h"
#include "core/speech/SpokenText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>

namespace tiradex {

namespace {
// What a reply with nothing to say (only stage directions) sounds like.
constexpr int SilenceMs = 300;
constexpr int SilenceRate = 16000;
} // namespace

SpeechCache::SpeechCache(const QString &folder, SpeechSynthesizer &synthesizer)
    : m_folder(folder), m_synthesizer(synthesizer)
{
}

QString SpeechCache::FolderFor(const QString &playFolder)
{
    return playFolder + QStringLiteral("/speech");
}

QString SpeechCache::pathFor(const QString &replyText, const QString &voice) const
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(voice.toUtf8());
    hash.addData(QByteArrayView("\n"));
    hash.addData(SpokenText(replyText).toUtf8());
    return m_folder + QLatin1Char('/') + QString::fromLatin1(hash.result().toHex()) +
           QStringLiteral(".wav");
}

std::optional<QString> SpeechCache::prepare(const QString &replyText, const QString &voice,
                                            QString *error)
{
    const QString path = pathFor(replyText, voice);
    QMutexLocker lock(&m_mutex);
    if (QFileInfo(path).isFile())
        return path;
    const QString spoken = SpokenText(replyText);
    std::optional<PcmAudio> audio;
    if (spoken.isEmpty()) {
        audio = PcmAudio{SilenceRate, 1, {}};
        audio->samples.assign(size_t(PcmAudio::MsToFrames(SilenceMs, SilenceRate)), 0);
    } else {
        audio = m_synthesizer.synthesize(spoken, voice, error);
        if (!audio)
            return std::nullopt;
    }
    if (!QDir().mkpath(m_folder)) {
        if (error)
            *error = QStringLiteral("The folder %1 cannot be created").arg(m_folder);
        return std::nullopt;
    }
    if (!WriteWavFile(path, *audio, error))
        return std::nullopt;
    return path;
}

std::optional<PcmAudio> SpeechCache::speech(const QString &replyText, const QString &voice,
                                            QString *error)
{
    const std::optional<QString> path = prepare(replyText, voice, error);
    if (!path)
        return std::nullopt;
    return ReadWavFile(*path, error);
}

} // namespace tiradex
