#pragma once

#include "core/audio/PcmAudio.h"

#include <QAudioDevice>
#include <QAudioFormat>

namespace tiradex {

// Translations between Qt's audio formats and the core's, and the choice of
// the format to open a device with.

PcmFormat ToPcmFormat(const QAudioFormat &format);
QAudioFormat ToQAudioFormat(const PcmFormat &format);

// `wanted` when `device` accepts it, otherwise the device's preferred
// format (the data are then converted). An invalid format means the device
// offers nothing usable.
QAudioFormat ChooseFormat(const QAudioDevice &device, const PcmFormat &wanted);

} // namespace tiradex
