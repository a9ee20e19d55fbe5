#pragma once

// A synthesizer for the tests: every character of the text lasts 10 ms at
// 8000 Hz, and each voice speaks a constant sample of its own (100 for the
// first voice, 200 for the second, ...), so a test can tell who spoke what
// and for how long. Records every call.

#include "core/speech/SpeechSynthesizer.h"

#include <QMutex>
#include <QMutexLocker>

namespace tiradex {

class FakeSpeechSynthesizer : public SpeechSynthesizer
{
public:
    static constexpr int Rate = 8000;
    static constexpr int FramesPerChar = 80;

    QStringList voices() const override { return m_voices; }

    std::optional<PcmAudio> synthesize(const QString &text, const QString &voice,
                                       QString *error) override
    {
        QMutexLocker lock(&m_mutex);
        calls.append(voice + QLatin1Char(':') + text);
        const qsizetype index = m_voices.indexOf(voice);
        if (index < 0 || failing) {
            if (error)
                *error = QStringLiteral("no voice %1").arg(voice);
            return std::nullopt;
        }
        PcmAudio audio{Rate, 1, {}};
        audio.samples.assign(size_t(text.size() * FramesPerChar), SampleOf(voice, m_voices));
        return audio;
    }

    static qint16 SampleOf(const QString &voice, const QStringList &voices)
    {
        return qint16(100 * (voices.indexOf(voice) + 1));
    }

    QStringList m_voices{QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")};
    QStringList calls; // "voice:text" in order
    bool failing = false;

private:
    QMutex m_mutex;
};

} // namespace tiradex
