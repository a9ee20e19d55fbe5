#pragma once

#include "core/audio/PcmAudio.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tiradex {

// Turns text into speech. The program's implementation speaks with Flite on
// the actor's own machine; tests use a fake. Implementations must allow one
// call at a time from any thread (the rehearsal prepares speech on a worker
// thread while a take plays).
class SpeechSynthesizer
{
public:
    virtual ~SpeechSynthesizer() = default;

    // The voices this synthesizer offers, in a fixed order; never empty for
    // a working synthesizer.
    virtual QStringList voices() const = 0;

    // `text` spoken by `voice` (one of voices()) as mono 16-bit samples at the
    // voice's own rate. Fails, with a sentence in *error, for an unknown
    // voice or a failure of the synthesizer. Text with nothing to say gives
    // an empty sound, not a failure.
    virtual std::optional<PcmAudio> synthesize(const QString &text, const QString &voice,
                                               QString *error) = 0;
};

} // namespace tiradex
