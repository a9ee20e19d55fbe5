#include "platform/speech/FliteSynthesizer.h"

#include <QMutexLocker>

#include <flite/flite.h>

#include <map>

extern "C" {
cst_voice *register_cmu_us_kal(const char *voxdir);
cst_voice *register_cmu_us_kal16(const char *voxdir);
cst_voice *register_cmu_us_awb(const char *voxdir);
cst_voice *register_cmu_us_rms(const char *voxdir);
cst_voice *register_cmu_us_slt(const char *voxdir);
void unregister_cmu_us_kal(cst_voice *voice);
void unregister_cmu_us_kal16(cst_voice *voice);
void unregister_cmu_us_awb(cst_voice *voice);
void unregister_cmu_us_rms(cst_voice *voice);
void unregister_cmu_us_slt(cst_voice *voice);
}

namespace tiradex {

namespace {
struct VoiceEntry
{
    const char *name;
    cst_voice *(*load)(const char *);
    void (*unload)(cst_voice *);
};

// Distinct voices first, so that the stable choice over them gives the
// characters of a scene different voices as often as it can.
const VoiceEntry Entries[] = {
    {"cmu_us_kal", register_cmu_us_kal, unregister_cmu_us_kal},
    {"cmu_us_awb", register_cmu_us_awb, unregister_cmu_us_awb},
    {"cmu_us_rms", register_cmu_us_rms, unregister_cmu_us_rms},
    {"cmu_us_slt", register_cmu_us_slt, unregister_cmu_us_slt},
    {"cmu_us_kal16", register_cmu_us_kal16, unregister_cmu_us_kal16},
};
} // namespace

struct FliteSynthesizer::Voices
{
    std::map<QString, cst_voice *> loaded;
};

FliteSynthesizer::FliteSynthesizer() : m_voices(std::make_unique<Voices>())
{
    flite_init();
}

FliteSynthesizer::~FliteSynthesizer()
{
    for (const VoiceEntry &entry : Entries) {
        const auto it = m_voices->loaded.find(QString::fromLatin1(entry.name));
        if (it != m_voices->loaded.end())
            entry.unload(it->second);
    }
}

QStringList FliteSynthesizer::voices() const
{
    QStringList names;
    for (const VoiceEntry &entry : Entries)
        names.append(QString::fromLatin1(entry.name));
    return names;
}

std::optional<PcmAudio> FliteSynthesizer::synthesize(const QString &text, const QString &voice,
                                                     QString *error)
{
    QMutexLocker lock(&m_mutex);
    cst_voice *v = nullptr;
    const auto it = m_voices->loaded.find(voice);
    if (it != m_voices->loaded.end()) {
        v = it->second;
    } else {
        for (const VoiceEntry &entry : Entries) {
            if (voice == QLatin1String(entry.name)) {
                v = entry.load(nullptr);
                if (v)
                    m_voices->loaded[voice] = v;
            }
        }
    }
    if (!v) {
        if (error)
            *error = QStringLiteral("The voice \"%1\" is not available").arg(voice);
        return std::nullopt;
    }
    PcmAudio audio;
    const QByteArray utf8 = text.simplified().toUtf8();
    if (utf8.isEmpty())
        return PcmAudio{16000, 1, {}};
    cst_wave *wave = flite_text_to_wave(utf8.constData(), v);
    if (!wave || wave->num_channels != 1 || wave->sample_rate <= 0) {
        if (wave)
            delete_wave(wave);
        if (error)
            *error = QStringLiteral("The voice \"%1\" could not speak the text").arg(voice);
        return std::nullopt;
    }
    audio.sampleRate = wave->sample_rate;
    audio.channels = 1;
    audio.samples.assign(wave->samples, wave->samples + wave->num_samples);
    delete_wave(wave);
    return audio;
}

} // namespace tiradex
