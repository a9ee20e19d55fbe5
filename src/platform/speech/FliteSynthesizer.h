#pragma once

#include "core/speech/SpeechSynthesizer.h"

#include <QMutex>

#include <memory>

namespace tiradex {

// Speech with Flite, on this machine, with the English voices that Debian
// ships: cmu_us_kal (8 kHz diphones), cmu_us_kal16, cmu_us_awb, cmu_us_rms
// and cmu_us_slt. Voices are loaded on first use; calls are taken one at a
// time (Flite keeps shared state).
class FliteSynthesizer : public SpeechSynthesizer
{
public:
    FliteSynthesizer();
    ~FliteSynthesizer() override;

    QStringList voices() const override;
    std::optional<PcmAudio> synthesize(const QString &text, const QString &voice,
                                       QString *error) override;

private:
    struct Voices;
    std::unique_ptr<Voices> m_voices;
    QMutex m_mutex;
};

} // namespace tiradex
