#pragma once

namespace tiradex {

// A short, clearly audible cue through the sound output.
class Beep
{
public:
    virtual ~Beep() = default;
    // Starts the cue and returns at once; a cue still sounding starts again.
    virtual void play() = 0;
};

} // namespace tiradex
