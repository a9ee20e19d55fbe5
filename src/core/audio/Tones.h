#pragma once

#include "core/audio/PcmAudio.h"

namespace tiradex {

// Sounds that the program makes itself, as mono 16-bit audio.

// A sine tone of `frequency` Hz lasting `durationMs`, with peak `amplitude`
// (0 to 1 of full scale) and a linear fade of `fadeMs` at each end, so that
// it starts and stops without a click.
PcmAudio SineTone(double frequency, int durationMs, int sampleRate, double amplitude, int fadeMs);

// `second` played after `first`; both must share rate and channels.
PcmAudio Concatenate(const PcmAudio &first, const PcmAudio &second);

// The sound of a deleted take ("del.wav"): two short falling notes, about a
// quarter of a second, at 22050 Hz.
PcmAudio DeletionSound();

// The rehearsal's cue: a clear 880 Hz tone of 180 ms at 22050 Hz.
PcmAudio BeepSound();

} // namespace tiradex
